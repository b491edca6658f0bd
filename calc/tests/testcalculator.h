#pragma once

#include "dialogs.h"
#include "frmcalc.h"
#include "keytable.h"
#include "modcalc.h"
#include "recordingmidibackend.h"

#include <QLabel>
#include <QTest>
#include <QTimer>

// A calculator window on a recording MIDI output whose message boxes are answered at once and
// kept. Keys are named by their captions and clicked at the centre of their twip rectangles,
// through the window, as a user's pointer reaches them.
class TestCalculator
{
public:
    TestCalculator()
    {
        sound.setUp();
        midi.messages.clear();
        dialogs::setMessageAnswerer([this](const dialogs::Message &message) {
            messages << message;
            readoutsAtMessages << readout();
        });
    }
    ~TestCalculator() { dialogs::setMessageAnswerer({}); }

    bool show()
    {
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    }

    static QPoint centre(const QString &caption)
    {
        for (const calc::KeyDescription &key : calc::keyTable()) {
            if (QString::fromUtf8(key.caption) == caption)
                return calc::keyRect(key).center();
        }
        qFatal("no key captioned %s", qPrintable(caption));
    }

    void click(const QString &caption, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(window.windowHandle(), button, {}, centre(caption));
    }

    // Captions separated by spaces: "2 + 3 X 4 ＝".
    void clickAll(const QString &captions)
    {
        for (const QString &caption : captions.split(u' ', Qt::SkipEmptyParts))
            click(caption);
    }

    QLabel *label(const char *name) const { return window.findChild<QLabel *>(name); }
    QString readout() const { return label("Readout")->text(); }
    QColor captionColour(const char *name) const
    {
        return label(name)->palette().color(QPalette::WindowText);
    }
    QTimer *timer1() const { return window.findChild<QTimer *>("Timer1"); }

    RecordingMidiBackend::Log midi;
    ModCalc sound{std::make_unique<RecordingMidiBackend>(midi)};
    frmCalc window{sound};
    QList<dialogs::Message> messages;
    QStringList readoutsAtMessages;
};
