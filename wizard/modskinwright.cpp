#include "modskinwright.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

QString ModSkinwright::ChooseFile(QWidget *owner, const QList<dialogs::FileFilter> &filter,
                                  const QString &initialFolder, const QString &title)
{
    const QString path = dialogs::chooseFile(owner, filter, initialFolder, title);
    if (!path.isEmpty())
        QDir::setCurrent(QFileInfo(path).absolutePath());
    return path;
}

void ModSkinwright::SelectAllText()
{
    if (auto *field = qobject_cast<QLineEdit *>(QApplication::focusWidget()))
        field->selectAll();
}

QString ModSkinwright::StripPath(const QString &path)
{
#ifdef Q_OS_WIN
    const qsizetype lastSeparator = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
#else
    const qsizetype lastSeparator = path.lastIndexOf(u'/');
#endif
    return path.mid(lastSeparator + 1);
}

std::optional<SettingsError> ModSkinwright::ReadPrevSettings()
{
    // The reader fills in place and may stop half-way; only a whole read reaches the pages.
    CalcSettings read = WizardSettings;
    if (auto error = ReadSettings(AppPath, false, read))
        return error;
    WizardSettings = read;
    return std::nullopt;
}

QList<dialogs::FileFilter> ModSkinwright::iconFilter()
{
    return {{QStringLiteral("ｱｲｺﾝ(*.ico)"), QStringLiteral("*.ico")}};
}

QList<dialogs::FileFilter> ModSkinwright::pictureFilter()
{
    return {{QStringLiteral("JPEGｲﾒｰｼﾞ(*.jpg)"), QStringLiteral("*.jpg")},
            {QStringLiteral("ﾋﾞｯﾄﾏｯﾌﾟ(*.bmp)"), QStringLiteral("*.bmp")},
            {QStringLiteral("GIFｲﾒｰｼﾞ(*.gif)"), QStringLiteral("*.gif")}};
}
