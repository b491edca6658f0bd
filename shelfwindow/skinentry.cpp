#include "skinentry.h"

#include "picturereader.h"

#include <QFileInfo>

SkinEntry readSkinEntry(const QString &folder, const QString &name)
{
    SkinEntry entry{.name = name, .folder = folder, .title = name};
    CalcSettings settings;
    if (const auto error = readSettings(folder, Spaces::Trim, settings)) {
        entry.problem = error;
        return entry;
    }
    if (!settings.title.isEmpty())
        entry.title = settings.title;
    entry.settings = settings;
    entry.pictureName = settings.startPicture;
    if (settings.startPicture.isEmpty())
        return entry;

    const auto pictureError = [&settings](const Error &error) {
        return skinFileError(error, SkinFileKind::Picture, settings.startPicture);
    };
    const auto found = picturereader::locate(folder, settings.startPicture);
    if (const auto *problem = std::get_if<Error>(&found)) {
        entry.problem = pictureError(*problem);
        return entry;
    }
    const QString path = std::get<QString>(found);
    if (const auto problem = picturereader::check(path, SkinFileKind::Picture)) {
        entry.problem = pictureError(*problem);
        return entry;
    }
    const QFileInfo info(path);
    entry.startPicture = path;
    entry.pictureChanged = info.lastModified();
    entry.pictureBytes = info.size();
    return entry;
}
