#pragma once

#include "wizardpage.h"

class FileChooser;
class QButtonGroup;
class QLineEdit;
struct SkinRecord;

// Page 1: the calculator's title, icon, digit and key colours, start picture and tax rate,
// typed in or loaded from the previous calc.dat.
class StartPage : public WizardPage
{
    Q_OBJECT

public:
    StartPage(SkinRecord &record, FileChooser &chooser);

    // 「前回の情報　読込」: the previous calc.dat over what the page holds, or a message.
    void loadPrevious();

private:
    void choose(QLineEdit *field, bool icon);
    void goOn();
    void selectColour(QButtonGroup *group, int index);
    void reportColoursOutOfRange();

    SkinRecord &m_record;
    FileChooser &m_chooser;
    qint16 m_digitColour = 0; // the selected button of the digit colours, stored as Color1
    qint16 m_keyColour = 0;   // the selected button of the key colours, stored as Color2
    QLineEdit *m_title;
    QLineEdit *m_icon;
    QLineEdit *m_startPicture;
    QLineEdit *m_taxRate;
    QButtonGroup *m_digitColours;
    QButtonGroup *m_keyColours;
};
