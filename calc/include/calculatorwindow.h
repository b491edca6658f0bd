#pragma once

#include "error.h"

#include <QWidget>
#include <memory>
#include <optional>

class KeySounds;

// The calculator's one window: a backdrop picture with transparent keys on top and the
// readout above them. A key's click is its only way into the engine; the mouse and the
// keyboard both end there, and the digit keys sound while they are held. The engine tells what
// a key did; the window decides which picture that shows.
class CalculatorWindow : public QWidget
{
    Q_OBJECT

public:
    explicit CalculatorWindow(QWidget *parent = nullptr);
    ~CalculatorWindow() override;

    // Reads calc.dat from the program folder and applies title, colours, icon and pictures,
    // then the engine's start state. Returns what is wrong with the skin, if anything; the
    // window must not be shown then.
    std::optional<Error> loadSkin(const QString &folder);
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
    struct Private;
    std::unique_ptr<Private> d;
};
