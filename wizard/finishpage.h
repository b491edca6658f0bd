#pragma once

#include "wizardpage.h"

class QLabel;
class QListWidget;
class QPushButton;
struct SkinRecord;

// Page 3: writes calc.dat into the wizard's folder, lists the files to hand on with it, and
// tells how the shelf hands them on in one file.
class FinishPage : public WizardPage
{
    Q_OBJECT

public:
    explicit FinishPage(const SkinRecord &record);

private:
    void write();

    const SkinRecord &m_record;
    QLabel *m_message;
    QLabel *m_handOn;
    QLabel *m_shareHint;
    QListWidget *m_files;
    QPushButton *m_write;
    QPushButton *m_end;
};
