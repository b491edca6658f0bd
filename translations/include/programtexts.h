#pragma once

class QTranslator;

// The catalogue's English: not a language the programs speak (they speak Japanese whatever the
// locale), but the glosses the command line puts in brackets after each message.
const QTranslator &englishGlosses();
