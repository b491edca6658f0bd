#pragma once

#include "error.h"

#include <QProcessEnvironment>
#include <QString>
#include <optional>
#include <variant>

// The folder of the user's own picturecalc data, the shelf of skins and its settings:
// ${XDG_DATA_HOME:-~/.local/share}/picturecalc (a relative XDG_DATA_HOME is ignored); an error
// when HOME is not set either.
std::variant<QString, Error> userDataFolder(const QProcessEnvironment &environment);

// Whether the calculator plays its notes: the user's choice 「音を鳴らす」 in the shelf window,
// kept in the shelf's data folder, so it holds however the calculator is started. On unless the
// user turned it off.
bool soundSwitchedOn(const QString &dataFolder);
// Keeps the choice; when it could not be written, says so in the user's words.
std::optional<Error> switchSound(const QString &dataFolder, bool on);
