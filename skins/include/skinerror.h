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

namespace skinmessages {
// A skin's program (its path as given) that could not be started, from the shelf or the command
// line.
SkinError cannotStart(const QString &program);
} // namespace skinmessages
