#pragma once

#include "error.h"

#include <QString>
#include <optional>

// Copies source to target, replacing target only once the copy is whole, so that a failure
// leaves it as it was. Says why it failed, if it did: the source's open failure (FileMissing,
// NotRegularFile, ...), Unreadable, or Unwritable about the target, in one sentence.
std::optional<Error> copyFile(const QString &source, const QString &target);
