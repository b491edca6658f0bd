#pragma once

#include "holder.h"
#include "wizardpage.h"

#include <array>

class FileChooser;
class QCheckBox;
class QLabel;
class QLineEdit;
struct SkinRecord;

// Page 2: the twelve key pictures, each named by a field with its own chooser, and an optional
// preview of the picture just chosen.
class PicturePage : public WizardPage
{
    Q_OBJECT

public:
    PicturePage(SkinRecord &record, FileChooser &chooser);

private:
    void choose(int field);
    void goOn();
    void showPreview(const QString &name);

    SkinRecord &m_record;
    FileChooser &m_chooser;
    // In the page's order: the digits 0 to 9, the answer, COPY.
    std::array<QLineEdit *, face::HolderCount> m_fields;
    QLabel *m_preview;
    QCheckBox *m_previewShown;
};
