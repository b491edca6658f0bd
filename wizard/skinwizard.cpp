#include "skinwizard.h"

#include "finishpage.h"
#include "picturepage.h"
#include "startpage.h"

SkinWizard::SkinWizard(const QString &folder)
    : m_record{folder.endsWith(u'/') ? folder : folder + u'/', {}, false}, m_chooser(folder),
      m_startPage(std::make_unique<StartPage>(m_record, m_chooser))
{
    connect(m_startPage.get(), &WizardPage::nextRequested, this, &SkinWizard::showPicturePage);
    connect(m_startPage.get(), &WizardPage::endRequested, this, &SkinWizard::ended);
}

SkinWizard::~SkinWizard() = default;

void SkinWizard::start()
{
    m_startPage->show();
}

void SkinWizard::showPicturePage()
{
    if (!m_picturePage) {
        m_picturePage = std::make_unique<PicturePage>(m_record, m_chooser);
        connect(m_picturePage.get(), &WizardPage::nextRequested, this, &SkinWizard::showFinishPage);
        connect(m_picturePage.get(), &WizardPage::endRequested, this, &SkinWizard::ended);
    }
    m_picturePage->show();
}

void SkinWizard::showFinishPage()
{
    if (!m_finishPage) {
        m_finishPage = std::make_unique<FinishPage>(m_record);
        connect(m_finishPage.get(), &WizardPage::endRequested, this, &SkinWizard::ended);
    }
    m_finishPage->show();
}
