#include "soundswitch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {
QString switchFile(const QString &dataFolder)
{
    return QDir(dataFolder).filePath(QStringLiteral("sound"));
}
const QByteArray Off = QByteArrayLiteral("off\n");
} // namespace

std::variant<QString, Error> userDataFolder(const QProcessEnvironment &environment)
{
    QString data = environment.value(QStringLiteral("XDG_DATA_HOME"));
    if (!QDir::isAbsolutePath(data)) { // a relative value is to be ignored
        const QString home = environment.value(QStringLiteral("HOME"));
        if (home.isEmpty())
            return Error(
                Error::Code::HomeNotSet, QStringLiteral("HOME"),
                {{"soundswitch", QT_TRANSLATE_NOOP("soundswitch", "HOME が設定されていません。")}});
        data = home + QStringLiteral("/.local/share");
    }
    return QDir::cleanPath(data + QStringLiteral("/picturecalc"));
}

bool soundSwitchedOn(const QString &dataFolder)
{
    QFile file(switchFile(dataFolder));
    return !file.open(QIODevice::ReadOnly) || file.read(Off.size() + 1) != Off;
}

std::optional<Error> switchSound(const QString &dataFolder, bool on)
{
    QSaveFile file(switchFile(dataFolder));
    if (QDir().mkpath(dataFolder) && file.open(QIODevice::WriteOnly) &&
        file.write(on ? QByteArrayLiteral("on\n") : Off) >= 0 && file.commit())
        return std::nullopt;
    return Error(Error::Code::Unwritable, file.fileName(),
                 {{"soundswitch",
                   QT_TRANSLATE_NOOP("soundswitch", "%1 に書き込めません。"),
                   {file.fileName()}}});
}
