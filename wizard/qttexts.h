#pragma once

class QCoreApplication;

// The wizard speaks Japanese whatever the user's locale, and so should the texts Qt itself puts
// in its windows: the picture chooser's labels and buttons, the text fields' context menu.
// Without Qt's Japanese translation installed they stay in English.
void useJapaneseQtTexts(QCoreApplication &app);
