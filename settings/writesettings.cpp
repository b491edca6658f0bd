#include "calcsettings.h"
#include "cp932.h"
#include "settingskeys.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <variant>

namespace {

Error unwritable(const QString &path, Sentence reason)
{
    return Error(Error::Code::SettingsUnwritable, path,
                 {{"settings",
                   QT_TRANSLATE_NOOP("settings", "%1 に書き込めません。"),
                   {QDir::toNativeSeparators(path)}},
                  std::move(reason)});
}

QString keyName(const SettingsKey &key)
{
    return QString::fromLatin1(key.name.data(), qsizetype(key.name.size()));
}

QString characterCode(const QString &character)
{
    return QStringLiteral("U+%1")
        .arg(character.toUcs4().value(0, character.front().unicode()), 4, 16, QLatin1Char('0'))
        .toUpper();
}

// The whole file for path, or why one of the values cannot be part of it. Nothing is ever
// replaced by "?" or dropped: a value that cannot be written as it stands is refused.
std::variant<QByteArray, Error> fileContents(const QString &path, const CalcSettings &settings)
{
    QByteArray contents;
    for (const SettingsKey &key : settingsKeys) {
        const QString *text = textField(settings, key);
        const QString value = text ? *text : QString::number(settings.*key.number);
        if (value.contains(u'\r') || value.contains(u'\n'))
            return unwritable(path, {"settings",
                                     QT_TRANSLATE_NOOP("settings", "%1 の値に改行が含まれています。"
                                                                   "値は 1 行で書いてください。"),
                                     {keyName(key)}});
        const Cp932Text encoded = encodeCp932(value);
        if (encoded.unrepresentable)
            return unwritable(
                path, {"settings",
                       QT_TRANSLATE_NOOP("settings", "%1 の値「%2」の文字「%3」(%4) は "
                                                     "Shift-JIS (コードページ 932) で表せません。"),
                       {keyName(key), value, *encoded.unrepresentable,
                        characterCode(*encoded.unrepresentable)}});
        contents += QByteArray(key.name.data(), qsizetype(key.name.size()));
        contents += '=';
        contents += encoded.bytes;
        contents += "\r\n";
    }
    return contents;
}

Sentence whyCreateFailed(const QString &path, const QSaveFile &file)
{
    const QFileInfo folder(QFileInfo(path).absolutePath());
    const QString folderName = QDir::toNativeSeparators(folder.filePath());
    if (!folder.exists())
        return {"settings",
                QT_TRANSLATE_NOOP("settings", "フォルダー %1 がありません。"),
                {folderName}};
    if (!folder.isDir())
        return {"settings",
                QT_TRANSLATE_NOOP("settings", "%1 はフォルダーではありません。"),
                {folderName}};
    if (!folder.isWritable())
        return {"settings",
                QT_TRANSLATE_NOOP("settings", "フォルダー %1 に書き込む権限がありません。"),
                {folderName}};
    if (QFileInfo(path).exists() && !QFileInfo(path).isWritable())
        return {"settings",
                QT_TRANSLATE_NOOP("settings", "ファイルが書き込み禁止になっています。")};
    return {"settings",
            QT_TRANSLATE_NOOP("settings", "ファイルを作れませんでした（%1）。"),
            {file.errorString()}};
}

} // namespace

std::optional<Error> writeSettings(const QString &folder, const CalcSettings &settings)
{
    const QString path = settingsPath(folder);
    const auto contents = fileContents(path, settings);
    if (const Error *error = std::get_if<Error>(&contents))
        return *error;

    const QFileInfo target(path);
    if (target.isDir())
        return unwritable(
            path, {"settings", QT_TRANSLATE_NOOP("settings", "同じ名前のフォルダーがあります。")});
    if (target.exists() && !target.isFile())
        return unwritable(path,
                          {"settings", QT_TRANSLATE_NOOP("settings", "同じ名前の、通常のファイルで"
                                                                     "ないものがあります。")});

    // Written beside the old file and renamed over it at the end, so a failure on the way
    // leaves the previous calc.dat whole. Unbuffered, so that a full disk or a file size limit
    // shows in write(): QSaveFile does not notice a write that fails in its buffer's flush at
    // commit, and would rename a short file over the previous one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return unwritable(path, whyCreateFailed(path, file));
    const QByteArray &bytes = std::get<QByteArray>(contents);
    if (file.write(bytes) != bytes.size() || !file.commit())
        return unwritable(path,
                          {"settings",
                           QT_TRANSLATE_NOOP("settings", "書き込みの途中で失敗しました（%1）。"
                                                         "以前のファイルはそのまま残っています。"),
                           {file.errorString()}});
    return std::nullopt;
}
