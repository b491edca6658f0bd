#include "skinwizard.h"

#include "finishpage.h"
#include "picturepage.h"
#include "programnames.h"
#include "startpage.h"

#include <QCommandLineParser>
#include <QCoreApplication>

SkinWizard::SkinWizard(const QString &folder)
    : m_record{folder.endsWith(u'/') ? folder : folder + u'/', {}, false},
      m_windowTitle(WizardPage::caption()),
      m_startPage(std::make_unique<StartPage>(m_record, m_chooser))
{
    connect(m_startPage.get(), &WizardPage::nextRequested, this, &SkinWizard::showPicturePage);
    connect(m_startPage.get(), &WizardPage::endRequested, this, &SkinWizard::ended);
}

SkinWizard::~SkinWizard() = default;

QCommandLineOption SkinWizard::editOption()
{
    return {skinwrightEditOption(),
            tr("このフォルダーのスキンを編集します（calc.dat を読み込んで始めます）。")};
}

void SkinWizard::start(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption edit = editOption();
    parser.addOption(edit);
    parser.parse(arguments); // other arguments are not the wizard's to judge
    show(*m_startPage);
    if (!parser.isSet(edit))
        return;
    m_startPage->loadPrevious(); // a calc.dat it cannot read leaves the title empty
    // 「電卓 ｳｨｻﾞｰﾄﾞ - 標準」: the skin as it was called when the run began.
    if (!m_record.settings.title.isEmpty()) {
        m_windowTitle =
            QStringLiteral("%1 - %2").arg(WizardPage::caption(), m_record.settings.title);
        m_startPage->setWindowTitle(m_windowTitle);
    }
}

void SkinWizard::show(WizardPage &page)
{
    page.setWindowTitle(m_windowTitle);
    page.show();
}

void SkinWizard::showPicturePage()
{
    if (!m_picturePage) {
        m_picturePage = std::make_unique<PicturePage>(m_record, m_chooser);
        connect(m_picturePage.get(), &WizardPage::nextRequested, this, &SkinWizard::showFinishPage);
        connect(m_picturePage.get(), &WizardPage::endRequested, this, &SkinWizard::ended);
    }
    show(*m_picturePage);
}

void SkinWizard::showFinishPage()
{
    if (!m_finishPage) {
        m_finishPage = std::make_unique<FinishPage>(m_record);
        connect(m_finishPage.get(), &WizardPage::endRequested, this, &SkinWizard::ended);
    }
    show(*m_finishPage);
}
