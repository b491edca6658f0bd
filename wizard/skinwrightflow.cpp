#include "skinwrightflow.h"

#include "calcend.h"
#include "calcmsi.h"
#include "calcstwiz.h"

SkinwrightFlow::SkinwrightFlow(ModSkinwright &module, const QString &programFolder)
    : mod(module), stWiz(std::make_unique<CalcStWiz>(module, programFolder))
{
    connect(stWiz.get(), &CalcStWiz::nextRequested, this, &SkinwrightFlow::showPage2);
    connect(stWiz.get(), &CalcStWiz::endRequested, this, &SkinwrightFlow::ended);
}

SkinwrightFlow::~SkinwrightFlow() = default;

void SkinwrightFlow::start()
{
    stWiz->show();
}

void SkinwrightFlow::showPage2()
{
    if (!msi) {
        msi = std::make_unique<CalcMsi>(mod);
        connect(msi.get(), &CalcMsi::nextRequested, this, &SkinwrightFlow::showPage3);
        connect(msi.get(), &CalcMsi::endRequested, this, &SkinwrightFlow::ended);
    }
    msi->show();
}

void SkinwrightFlow::showPage3()
{
    if (!end) {
        end = std::make_unique<CalcEnd>(mod);
        connect(end.get(), &CalcEnd::endRequested, this, &SkinwrightFlow::ended);
    }
    end->show();
}
