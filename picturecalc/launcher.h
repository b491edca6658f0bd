#pragma once

#include "error.h"
#include "shelf.h"

#include <QStringList>
#include <optional>

// What picturecalc does with its command line: everything but the message box.
struct LaunchOutcome
{
    int status = 0;
    // A failure to show in a message box too: the file manager's way of opening a skin has
    // no terminal to read its standard error.
    std::optional<Error> boxed;
    // The shelf to show in its window, when the command asks for it.
    std::optional<Shelf> shelfToShow = std::nullopt;
};

// Runs the command of arguments (the program's own first). A command that starts a program
// replaces this process with it and does not return.
LaunchOutcome launch(const QStringList &arguments);
