#pragma once

#include <QIcon>
#include <QImage>

// The programs' icons, drawn from the same pictures the desktop menu shows.
enum class ProgramIcon
{
    Calculator,
    Skinwright
};

// The icon at size x size pixels, on a transparent ground.
QImage programIconImage(ProgramIcon icon, int size);

// The icon at the sizes a window manager asks for.
QIcon programIcon(ProgramIcon icon);
