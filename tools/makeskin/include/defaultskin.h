#pragma once

#include "error.h"

#include <QString>
#include <optional>

// The skin the build puts beside the programs, so that the calculator starts finished-looking
// without a run of the wizard: calc.dat, an icon and thirteen pictures.
namespace makeskin {

// Writes the default skin into folder; the first failure, if any.
std::optional<Error> writeDefaultSkin(const QString &folder);

} // namespace makeskin
