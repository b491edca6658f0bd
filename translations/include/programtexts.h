#pragma once

#include <QString>

class Error;
class QTranslator;

// The catalogue's English: not a language the programs speak (they speak Japanese whatever the
// locale), but the glosses the command line puts in brackets after each message.
const QTranslator &englishGlosses();

// An error as the command line tells it: the message, then its gloss in brackets where the
// catalogue has one.
QString commandLineText(const Error &error);
