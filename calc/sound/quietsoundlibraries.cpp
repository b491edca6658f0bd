#include "quietsoundlibraries.h"

#include <QByteArray>
#include <alsa/asoundlib.h>
#include <jack/jack.h>

namespace {
void ignoreAlsa(const char *, int, const char *, int, const char *, ...) {}
void ignoreJack(const char *) {}
} // namespace

void quietSoundLibraries()
{
    static const bool done = [] {
        if (!qEnvironmentVariableIsSet("JACK_NO_START_SERVER"))
            qputenv("JACK_NO_START_SERVER", QByteArrayLiteral("1"));
        jack_set_error_function(ignoreJack);
        jack_set_info_function(ignoreJack);
        snd_lib_error_set_handler(ignoreAlsa);
        return true;
    }();
    Q_UNUSED(done);
}
