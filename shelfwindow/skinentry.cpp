#include "skinentry.h"

#include "picturereader.h"

#include <QFileInfo>

SkinEntry readSkinEntry(const QString &folder, const QString &name)
{
    SkinEntry entry{.name = name, .folder = folder, .title = name};
    CalcSettings settings;
    if (const auto error = readSettings(folder, Spaces::Trim, settings)) {
        entry.problem = error->message();
        return entry;
    }
    if (!settings.title.isEmpty())
        entry.title = settings.title;
    entry.settings = settings;
    entry.pictureName = settings.startPicture;
    if (settings.startPicture.isEmpty())
        return entry;

    const auto message = [&settings](const Error &error) {
        return skinFileError(error, SkinFileKind::Picture, settings.startPicture).message();
    };
    const auto found = picturereader::locate(folder, settings.startPicture);
    if (const auto *problem = std::get_if<Error>(&found)) {
        entry.problem = message(*problem);
        return entry;
    }
    const QString path = std::get<QString>(found);
    if (const auto problem = picturereader::check(path, SkinFileKind::Picture)) {
        entry.problem = message(*problem);
        return entry;
    }
    const QFileInfo info(path);
    entry.startPicture = path;
    entry.pictureChanged = info.lastModified();
    entry.pictureBytes = info.size();
    return entry;
}
