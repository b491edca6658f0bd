#pragma once

#include "error.h"

namespace skinmessages {
// A skin's program (its path as given) that could not be started, from the shelf or the command
// line.
Error cannotStart(const QString &program);
} // namespace skinmessages
