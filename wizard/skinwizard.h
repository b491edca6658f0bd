#pragma once

#include "filechooser.h"
#include "skinrecord.h"

#include <QObject>
#include <memory>

class FinishPage;
class PicturePage;
class StartPage;

// Skinwright: page 1 at start; each successful "次へ" hides its page and shows the next,
// created on first use; no page is shown again. Closing any page, or "終了", ends the run.
// The wizard owns the record and the file chooser and hands them to its pages.
class SkinWizard : public QObject
{
    Q_OBJECT

public:
    // folder: the wizard's own folder, where calc.dat is read and written.
    explicit SkinWizard(const QString &folder);
    ~SkinWizard() override;

    void start();

    const SkinRecord &record() const { return m_record; }

signals:
    void ended();

private:
    void showPicturePage();
    void showFinishPage();

    SkinRecord m_record;
    FileChooser m_chooser;
    std::unique_ptr<StartPage> m_startPage;
    std::unique_ptr<PicturePage> m_picturePage;
    std::unique_ptr<FinishPage> m_finishPage;
};
