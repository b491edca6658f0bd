#include "midibackend.h"

#include <QCoreApplication>

Error MidiBackend::noSuchDevice()
{
    return Error(Error::Code::NoMidi, {},
                 {{"MidiBackend",
                   QT_TRANSLATE_NOOP("MidiBackend", "指定されたMIDI出力が見つかりません。")}});
}

Error MidiBackend::openFailed(const QString &reason)
{
    return Error(Error::Code::MidiUnavailable, {},
                 {{"MidiBackend",
                   QT_TRANSLATE_NOOP("MidiBackend", "MIDI出力を開けませんでした。\n%1"),
                   {reason}}});
}
