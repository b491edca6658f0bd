#include "fluidsynthbackend.h"

#include "fluiderrors.h"
#include "gmsynth.h"
#include "pulsesynthstream.h"
#include "quietsoundlibraries.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
QStringList driversThisBuildHas(fluid_settings_t *settings)
{
    QStringList names;
    fluid_settings_foreach_option(settings, "audio.driver", &names,
                                  [](void *data, const char *, const char *option) {
                                      *static_cast<QStringList *>(data) << option;
                                  });
    return names;
}

// In FluidSynth's own words where it gave any.
Error cannotOpen(const QStringList &reasons)
{
    const char *context = "FluidSynthBackend";
    if (reasons.isEmpty())
        return Error(Error::Code::MidiUnavailable, {},
                     {{context, QT_TRANSLATE_NOOP("FluidSynthBackend",
                                                  "内蔵音源を開けませんでした。\n"
                                                  "音声出力のドライバーがありません。")}});
    return Error(Error::Code::MidiUnavailable, {},
                 {{context,
                   QT_TRANSLATE_NOOP("FluidSynthBackend", "内蔵音源を開けませんでした。\n%1"),
                   {reasons.join(u'\n')}}});
}
} // namespace

FluidSynthBackend::FluidSynthBackend(QString soundFontPath, QStringList audioDrivers)
    : m_soundFontPath(std::move(soundFontPath)), m_audioDrivers(std::move(audioDrivers))
{
    quietSoundLibraries();
}

FluidSynthBackend::~FluidSynthBackend()
{
    close();
}

QStringList FluidSynthBackend::desktopAudioDrivers()
{
    return {QStringLiteral("pipewire"), QStringLiteral("alsa"), QStringLiteral("jack")};
}

int FluidSynthBackend::deviceCount()
{
    return !m_soundFontPath.isEmpty() && QFileInfo(m_soundFontPath).isFile() ? 1 : 0;
}

std::optional<Error> FluidSynthBackend::open(int)
{
    close();
    FluidErrorCapture capture;
    auto synth = std::make_unique<GmSynth>();
    if (synth->isValid())
        m_stream = PulseSynthStream::open(synth->synth());
    if (synth->isValid() && !m_stream) {
        const QStringList available = driversThisBuildHas(synth->settings());
        for (const QString &driver : m_audioDrivers) {
            if (!available.contains(driver))
                continue;
            fluid_settings_setstr(synth->settings(), "audio.driver", driver.toLatin1().constData());
            m_audioDriver = new_fluid_audio_driver(synth->settings(), synth->synth());
            if (m_audioDriver)
                break;
        }
    }
    if (!m_stream && !m_audioDriver)
        return cannotOpen(capture.errors);
    synth->loadSoundFont(m_soundFontPath);
    m_synth = std::move(synth);
    return std::nullopt;
}

void FluidSynthBackend::send(const MidiMessage &message)
{
    if (!m_synth)
        return;
    // Only a note makes sound for the stream to play. Until the soundfont is in, the synthesizer
    // is locked and takes none, and the stream, which would wait for it, is not woken.
    if (m_synth->play(message) && m_stream)
        m_stream->wake();
}

void FluidSynthBackend::reset()
{
    if (m_synth)
        m_synth->silence();
}

void FluidSynthBackend::close()
{
    // The output plays the synthesizer from its own thread, so it goes first.
    m_stream.reset();
    if (m_audioDriver)
        delete_fluid_audio_driver(m_audioDriver);
    m_audioDriver = nullptr;
    m_synth.reset();
}
