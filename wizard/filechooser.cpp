#include "filechooser.h"

#include <QFileInfo>

QString FileChooser::choose(QWidget *page, const QList<dialogs::FileFilter> &filters)
{
    const QString path = dialogs::chooseFile(page, filters, m_folder, QStringLiteral("画像の選択"));
    if (!path.isEmpty())
        m_folder = QFileInfo(path).absolutePath();
    return path;
}

QList<dialogs::FileFilter> FileChooser::iconFilter()
{
    return {{QStringLiteral("ｱｲｺﾝ(*.ico)"), QStringLiteral("*.ico")}};
}

QList<dialogs::FileFilter> FileChooser::pictureFilter()
{
    return {{QStringLiteral("JPEGｲﾒｰｼﾞ(*.jpg)"), QStringLiteral("*.jpg")},
            {QStringLiteral("ﾋﾞｯﾄﾏｯﾌﾟ(*.bmp)"), QStringLiteral("*.bmp")},
            {QStringLiteral("GIFｲﾒｰｼﾞ(*.gif)"), QStringLiteral("*.gif")}};
}
