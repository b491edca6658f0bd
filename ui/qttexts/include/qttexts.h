#pragma once

class QCoreApplication;

// The programs speak Japanese whatever the user's locale, and so should the texts Qt itself puts
// in their windows and on their command lines: the file chooser's labels and buttons, the text
// fields' context menu, key names, the lines of --help Qt writes. Without Qt's Japanese
// translation installed they stay in English.
void useJapaneseQtTexts(QCoreApplication &app);
