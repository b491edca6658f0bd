#pragma once

#include "calcengine.h"
#include "calcsettings.h"
#include "keytable.h"

#include <QWidget>
#include <optional>
#include <vector>

class KeyLabel;
class ModCalc;
class QLabel;
class QTimer;
class ReadoutLabel;
class SkinPictures;

// The calculator's one window: a backdrop picture with transparent key labels on top and the
// readout above them. Each key's click handler is its only way into the engine; the mouse and
// the keyboard both end there, and the digit keys sound while they are held.
class frmCalc : public QWidget
{
    Q_OBJECT

public:
    // sound is set up by the caller before the window loads and shut down when it closes.
    explicit frmCalc(ModCalc &sound, QWidget *parent = nullptr);

    // Start-up from the settings file on: reads calc.dat from the program folder and applies
    // title, colours, icon and pictures, then the engine's start state. On failure it says what
    // is wrong and returns false; the window must not be shown then.
    bool Form_Load(const QString &folder);
    // After the window is shown: the key pictures are decoded while the user starts keying.
    void startHolderDecoding();

    void SetKeyColor(const QColor &colour);

    void lbl0_Click();
    void lbl1_Click();
    void lbl2_Click();
    void lbl3_Click();
    void lbl4_Click();
    void lbl5_Click();
    void lbl6_Click();
    void lbl7_Click();
    void lbl8_Click();
    void lbl9_Click();
    void lblDecimal_Click();
    void Operator_Click(int Index);
    void Percent_Click();
    void Zeikomi_Click();
    void Zeinuki_Click();
    void CancelEntry_Click();
    void Cancel_Click();
    void lblCopy_Click();
    void Timer1_Timer();
    void Form_KeyDown(QKeyEvent *event);
    void Form_KeyUp(QKeyEvent *event);

    // The holder whose picture the backdrop shows; None while it shows the start picture.
    calc::Holder backdropHolder() const { return shownHolder; }

signals:
    // Start-up failed, at load or when a key picture failed to decode after the window was
    // shown; the message saying why has been shown. The program ends.
    void startUpAbandoned();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createKeys();
    void click(const calc::KeyDescription &key);
    void showOutcome(const calc::KeyOutcome &outcome);
    void setBackdrop(calc::Holder holder);
    void setCopyColour(QRgb colour);
    void abandonStartUp(const QString &message);

    ModCalc &sound;
    calc::CalcEngine engine;
    CalcSettings settings;
    SkinPictures *pictures = nullptr; // a child, made at start-up

    QLabel *ImgHaikei;
    ReadoutLabel *Readout;
    std::vector<KeyLabel *> keyLabels; // in the order of the key table
    KeyLabel *lblCopy = nullptr;
    QTimer *Timer1;
    std::optional<QString> CopiedText;
    calc::Holder shownHolder = calc::Holder::None;
};
