#include "distribution.h"

#include "programnames.h"

QString calcProgramName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("calc.exe");
#else
    return calcProgram();
#endif
}

QStringList filesToDistribute(const CalcSettings &settings, const QString &calcProgram)
{
    QStringList files = {QStringLiteral("calc.dat"), calcProgram, settings.icon};
    QStringList listedPictures;
    for (const QString &picture : settings.keyPictures) {
        if (!listedPictures.contains(picture, Qt::CaseSensitive))
            listedPictures << picture;
    }
    files << listedPictures;
    const auto &keyPictures = settings.keyPictures;
    if (!settings.startPicture.isEmpty() && std::find(keyPictures.begin(), keyPictures.end(),
                                                      settings.startPicture) == keyPictures.end())
        files << settings.startPicture;
    return files;
}
