#pragma once

#include <QStringList>

// The families a font asks for first, then the Japanese families of a Linux desktop that stand
// in for them where they are missing (the designed "ＭＳ Ｐゴシック" is a Windows font).
QStringList japaneseFamilies(const QStringList &preferred);

// "ＭＳ Ｐゴシック" under its Japanese and its English name, then the families standing in for it.
QStringList msPGothicFamilies();
