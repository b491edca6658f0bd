#include "keysounds.h"

KeySounds::KeySounds(std::unique_ptr<MidiBackend> output) : m_output(std::move(output)) {}

KeySounds::~KeySounds()
{
    shutDown();
}

void KeySounds::startSetUp()
{
    // Where no thread can be had, the set-up runs when setUp() asks for its message.
    m_setUp =
        std::async(std::launch::async | std::launch::deferred, [this] { return openOutput(); });
}

std::optional<QString> KeySounds::setUp()
{
    if (!m_setUp.valid())
        startSetUp();
    return m_setUp.get();
}

std::optional<QString> KeySounds::openOutput()
{
    std::optional<QString> message;
    if (m_output->deviceCount() != 0) {
        QString errorText;
        m_outputOpen = m_output->open(MidiBackend::DefaultDevice, errorText);
        if (!m_outputOpen)
            message = errorText.isEmpty() ? MidiBackend::OpenFailed : errorText;
    } else {
        message = QStringLiteral("Midi音源がｻﾎﾟｰﾄされていません。");
    }
    send(ProgramChange);
    return message;
}

void KeySounds::noteOn(int offset)
{
    send(noteOnMessage(BaseNote + offset));
}

void KeySounds::noteOff(int offset)
{
    send(noteOffMessage(BaseNote + offset));
}

void KeySounds::shutDown()
{
    if (m_setUp.valid())
        m_setUp.wait();
    if (m_outputOpen) {
        m_output->reset();
        m_output->close();
    }
    m_outputOpen = false;
}

// Messages to an output that never opened go nowhere, as they do to a closed handle.
void KeySounds::send(quint32 message)
{
    if (m_outputOpen)
        m_output->shortMessage(message);
}
