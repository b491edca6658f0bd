#include "filechooser.h"

#include "pictureformats.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// "ｱｲｺﾝ(*.png *.ico)", then all files: a file of an unusual name ("photo.jfif", a download
// without a suffix) is still there to choose, and the calculator judges it by its content.
QList<dialogs::FileFilter> filterOf(SkinFileKind kind, const QString &description)
{
    QStringList patterns;
    for (const PictureFormat &format : formatsFor(kind)) {
        for (const QString &suffix : format.suffixes)
            patterns << QStringLiteral("*.") + suffix;
    }
    const QString pattern = patterns.join(u' ');
    return {{QStringLiteral("%1(%2)").arg(description, pattern), pattern},
            {QCoreApplication::translate("FileChooser", "すべてのﾌｧｲﾙ(*)"), QStringLiteral("*")}};
}

} // namespace

// Pictures that do not exist yet open their parent, the home folder.
FileChooser::FileChooser()
    : m_folder(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation))
{
}

QString FileChooser::choose(QWidget *page, const QList<dialogs::FileFilter> &filters)
{
    const QString path = dialogs::chooseFile(
        page, filters, m_folder, QCoreApplication::translate("FileChooser", "画像の選択"));
    if (!path.isEmpty())
        m_folder = QFileInfo(path).absolutePath();
    return path;
}

QList<dialogs::FileFilter> FileChooser::iconFilter()
{
    return filterOf(SkinFileKind::Icon, QCoreApplication::translate("FileChooser", "ｱｲｺﾝ"));
}

QList<dialogs::FileFilter> FileChooser::pictureFilter()
{
    return filterOf(SkinFileKind::Picture, QCoreApplication::translate("FileChooser", "画像ﾌｧｲﾙ"));
}
