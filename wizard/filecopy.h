#pragma once

#include <QString>
#include <optional>

// Whether two regular files hold the same bytes; false when either cannot be read.
bool sameContents(const QString &first, const QString &second);

// Copies source to target, replacing target only once the copy is whole, so that a failure
// leaves it as it was. Says why it failed, if it did.
std::optional<QString> copyFile(const QString &source, const QString &target);
