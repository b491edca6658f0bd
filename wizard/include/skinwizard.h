#pragma once

#include "filechooser.h"
#include "skinrecord.h"

#include <QCommandLineOption>
#include <QObject>
#include <memory>

class FinishPage;
class PicturePage;
class StartPage;
class WizardPage;

// Skinwright: page 1 at start; each successful "次へ" hides its page and shows the next,
// created on first use; no page is shown again. Closing any page, or "終了", ends the run.
// The wizard owns the record and the file chooser and hands them to its pages. Editing a skin, it
// starts with the skin's calc.dat loaded, and every page names the skin in its title.
class SkinWizard : public QObject
{
    Q_OBJECT

public:
    // folder: the wizard's own folder, where calc.dat is read and written.
    explicit SkinWizard(const QString &folder);
    ~SkinWizard() override;

    // The option that opens the skin of the wizard's folder for editing.
    static QCommandLineOption editOption();

    // Shows page 1; arguments: the program's, as QCoreApplication gives them.
    void start(const QStringList &arguments);

    const SkinRecord &record() const { return m_record; }

signals:
    void ended();

private:
    void show(WizardPage &page);
    void showPicturePage();
    void showFinishPage();

    SkinRecord m_record;
    FileChooser m_chooser;
    QString m_windowTitle;
    std::unique_ptr<StartPage> m_startPage;
    std::unique_ptr<PicturePage> m_picturePage;
    std::unique_ptr<FinishPage> m_finishPage;
};
