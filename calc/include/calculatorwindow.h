#pragma once

#include "calcengine.h"
#include "calcsettings.h"
#include "keys.h"
#include "keysounds.h"

#include <QWidget>
#include <optional>
#include <vector>

class KeyButton;
class QLabel;
class QTimer;
class ReadoutLabel;
class SkinPictures;

// The calculator's one window: a backdrop picture with transparent keys on top and the
// readout above them. A key's click is its only way into the engine; the mouse and the
// keyboard both end there, and the digit keys sound while they are held. The engine tells what
// a key did; the window decides which picture that shows.
class CalculatorWindow : public QWidget
{
    Q_OBJECT

public:
    explicit CalculatorWindow(QWidget *parent = nullptr);

    // Reads calc.dat from the program folder and applies title, colours, icon and pictures,
    // then the engine's start state. Returns what is wrong with the skin, if anything; the
    // window must not be shown then.
    std::optional<QString> loadSkin(const QString &folder);
    // The keys stay silent until they are given their sounds, which close with the window.
    void playKeySounds(KeySounds sounds);
    // After the window is shown: the key pictures are decoded while the user starts keying.
    void decodeKeyPictures();

signals:
    // A key picture failed to decode after the window was shown; the message saying why has
    // been shown. The program ends.
    void skinFailed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createKeys();
    void click(const face::Key &key);
    void copyReadout();
    void watchClipboard();
    void showOutcome(const calc::KeyOutcome &outcome);
    void setBackdrop(face::Holder holder);
    void setCaptionColours();
    void setCopyColour(QRgb colour);
    void abandon(const QString &message);

    KeySounds m_sound;
    calc::CalcEngine m_engine;
    CalcSettings m_settings;
    SkinPictures *m_pictures = nullptr; // a child, made when the skin loads

    QLabel *m_backdrop;
    ReadoutLabel *m_readout;
    std::vector<KeyButton *> m_keys; // in the order of the face's key table
    KeyButton *m_copyKey = nullptr;
    QTimer *m_clipboardWatch;
    std::optional<QString> m_copiedText;
};
