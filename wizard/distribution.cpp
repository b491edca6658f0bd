#include "distribution.h"

QString calcProgramName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("calc.exe");
#else
    return QStringLiteral("calc");
#endif
}

QStringList filesToDistribute(const CalcSettings &settings, const QString &calcProgram)
{
    const QStringList keyPictures = {settings.SglBmp1, settings.SglBmp2, settings.SglBmp3,
                                     settings.SglBmp4, settings.SglBmp5, settings.SglBmp6,
                                     settings.SglBmp7, settings.SglBmp8, settings.SglBmp9,
                                     settings.SglBmpA, settings.SglBmpE, settings.SglBmpC};

    QStringList files = {QStringLiteral("calc.dat"), calcProgram, settings.Icon};
    QStringList listedPictures;
    for (const QString &picture : keyPictures) {
        if (!listedPictures.contains(picture, Qt::CaseSensitive))
            listedPictures << picture;
    }
    files << listedPictures;
    if (!settings.StartBmp.isEmpty() && !keyPictures.contains(settings.StartBmp, Qt::CaseSensitive))
        files << settings.StartBmp;
    return files;
}
