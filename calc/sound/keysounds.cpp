#include "keysounds.h"

#include <QCoreApplication>
#include <utility>

ReadySounds SoundSetUp::run(std::unique_ptr<MidiBackend> output)
{
    if (!output)
        return {};
    std::optional<Error> error;
    if (output->deviceCount() == 0)
        error = Error(
            Error::Code::NoMidi, {},
            {{"KeySounds", QT_TRANSLATE_NOOP("KeySounds", "Midi音源がｻﾎﾟｰﾄされていません。")}});
    else
        error = output->open(MidiBackend::DefaultDevice);
    if (error)
        output.reset();
    else
        output->send(KeySounds::ProgramChange);
    return {KeySounds(std::move(output)), error};
}

SoundSetUp::SoundSetUp(std::unique_ptr<MidiBackend> output)
    // Where no thread can be had, the set-up runs when wait() asks for it; with no output,
    // there is nothing to wait for.
    : m_result(
          std::async(output ? std::launch::async | std::launch::deferred : std::launch::deferred,
                     run, std::move(output)))
{
}

ReadySounds SoundSetUp::wait() &&
{
    return m_result.get();
}

KeySounds::KeySounds(std::unique_ptr<MidiBackend> openOutput) : m_output(std::move(openOutput)) {}

KeySounds::KeySounds(KeySounds &&other) noexcept : m_output(std::move(other.m_output)) {}

KeySounds &KeySounds::operator=(KeySounds &&other) noexcept
{
    if (this != &other) {
        shutDown();
        m_output = std::move(other.m_output);
    }
    return *this;
}

KeySounds::~KeySounds()
{
    shutDown();
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
    if (m_output) {
        m_output->reset();
        m_output->close();
    }
    m_output.reset();
}

// Without an open output the messages go nowhere, as they do to a closed handle.
void KeySounds::send(const MidiMessage &message)
{
    if (m_output)
        m_output->send(message);
}
