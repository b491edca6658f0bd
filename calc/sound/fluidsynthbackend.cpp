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
    : soundFontPath(std::move(soundFontPath)), audioDrivers(std::move(audioDrivers))
{
    quietSoundLibraries();
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
    return !soundFontPath.isEmpty() && QFileInfo(soundFontPath).isFile() ? 1 : 0;
}

bool FluidSynthBackend::open(int, QString &errorText)
{
    close();
    FluidErrorCapture capture;
    auto synth = std::make_unique<GmSynth>();
    if (synth->isValid()) {
        const QStringList available = driversThisBuildHas(synth->settings());
        for (const QString &driver : audioDrivers) {
            if (!available.contains(driver))
                continue;
            fluid_settings_setstr(synth->settings(), "audio.driver", driver.toLatin1().constData());
            audioDriver = new_fluid_audio_driver(synth->settings(), synth->synth());
            if (audioDriver)
                break;
        }
    }
    if (!audioDriver) {
        QStringList reasons = capture.errors;
        if (reasons.isEmpty())
            reasons << QStringLiteral("音声出力のドライバーがありません。");
        errorText = QStringLiteral("内蔵音源を開けませんでした。\n") + reasons.join('\n');
        return false;
    }
    synth->loadSoundFont(soundFontPath);
    gm = std::move(synth);
    return true;
}

void FluidSynthBackend::shortMessage(quint32 message)
{
    if (gm)
        gm->play(message);
}

void FluidSynthBackend::reset()
{
    if (gm)
        gm->silence();
}

void FluidSynthBackend::close()
{
    // The driver plays the synthesizer from its own thread, so it goes first.
    if (audioDriver)
        delete_fluid_audio_driver(audioDriver);
    audioDriver = nullptr;
    gm.reset();
}
