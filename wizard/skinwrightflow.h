#pragma once

#include <QObject>
#include <memory>

class CalcEnd;
class CalcMsi;
class CalcStWiz;
class ModSkinwright;

// The wizard's page flow: page 1 at start; each successful "次へ" hides its page and shows the
// next, created on first use; no page is shown again. Closing any page, or "終了", ends the run.
class SkinwrightFlow : public QObject
{
    Q_OBJECT

public:
    SkinwrightFlow(ModSkinwright &module, const QString &programFolder);
    ~SkinwrightFlow() override;

    void start();

    // The pages created so far (nullptr before), for tests that walk the flow.
    CalcStWiz *page1() const { return stWiz.get(); }
    CalcMsi *page2() const { return msi.get(); }
    CalcEnd *page3() const { return end.get(); }

signals:
    void ended();

private:
    void showPage2();
    void showPage3();

    ModSkinwright &mod;
    std::unique_ptr<CalcStWiz> stWiz;
    std::unique_ptr<CalcMsi> msi;
    std::unique_ptr<CalcEnd> end;
};
