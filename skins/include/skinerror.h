#pragma once

#include <QString>

// Why a skin could not be read, written or found: a sentence in the programs' voice and the
// same in English, which the command line prints in brackets after it.
struct SkinError
{
    QString japanese;
    QString english;

    QString text() const { return japanese + u'(' + english + u')'; }
};
