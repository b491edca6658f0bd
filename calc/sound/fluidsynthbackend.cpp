#include "fluidsynthbackend.h"

#include "fluiderrors.h"
#include "gmsynth.h"
#include "quietsoundlibraries.h"

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
} // namespace

FluidSynthBackend::FluidSynthBackend(QString soundFontPath, QStringList audioDrivers)
    : m_soundFontPath(std::move(soundFontPath)), m_audioDrivers(std::move(audioDrivers))
{
    quietSoundLibraries();
    // FluidSynth's PulseAudio driver gives the stream its role through the environment as it
    // opens. The output may open on a worker while other threads read the environment, and a
    // variable added then can pull the environment from under them; so the role is set here,
    // before any worker starts, and the synthesizer is told to leave the environment alone.
    if (!qEnvironmentVariableIsSet("PULSE_PROP_media.role"))
        qputenv("PULSE_PROP_media.role", QByteArrayLiteral("music"));
}

FluidSynthBackend::~FluidSynthBackend()
{
    close();
}

QStringList FluidSynthBackend::desktopAudioDrivers()
{
    return {QStringLiteral("pipewire"), QStringLiteral("pulseaudio"), QStringLiteral("alsa"),
            QStringLiteral("jack")};
}

int FluidSynthBackend::deviceCount()
{
    return !m_soundFontPath.isEmpty() && QFileInfo(m_soundFontPath).isFile() ? 1 : 0;
}

std::optional<QString> FluidSynthBackend::open(int)
{
    close();
    FluidErrorCapture capture;
    auto synth = std::make_unique<GmSynth>();
    if (synth->isValid()) {
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
    if (!m_audioDriver) {
        QStringList reasons = capture.errors;
        if (reasons.isEmpty())
            reasons << QStringLiteral("音声出力のドライバーがありません。");
        return QStringLiteral("内蔵音源を開けませんでした。\n") + reasons.join('\n');
    }
    synth->loadSoundFont(m_soundFontPath);
    m_synth = std::move(synth);
    return std::nullopt;
}

void FluidSynthBackend::send(const MidiMessage &message)
{
    if (m_synth)
        m_synth->play(message);
}

void FluidSynthBackend::reset()
{
    if (m_synth)
        m_synth->silence();
}

void FluidSynthBackend::close()
{
    // The driver plays the synthesizer from its own thread, so it goes first.
    if (m_audioDriver)
        delete_fluid_audio_driver(m_audioDriver);
    m_audioDriver = nullptr;
    m_synth.reset();
}
