#pragma once

#include <QString>
#include <optional>

// Copies source to target, replacing target only once the copy is whole, so that a failure
// leaves it as it was. Says why it failed, if it did.
std::optional<QString> copyFile(const QString &source, const QString &target);
