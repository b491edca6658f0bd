#include "calcsettings.h"
#include "cp932.h"
#include "settingskeys.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <variant>

namespace {

SettingsError writeError(const QString &path, const QString &reason)
{
    return {path, 0, reason, SettingsError::Action::Write};
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

// The whole file, or why one of the values cannot be part of it. Nothing is ever replaced by
// "?" or dropped: a value that cannot be written as it stands is refused.
std::variant<QByteArray, QString> fileContents(const CalcSettings &settings)
{
    QByteArray contents;
    for (const SettingsKey &key : settingsKeys) {
        const QString *text = textField(settings, key);
        const QString value = text ? *text : QString::number(settings.*key.number);
        if (value.contains(u'\r') || value.contains(u'\n'))
            return QStringLiteral("%1 の値に改行が含まれています。値は 1 行で書いてください。")
                .arg(keyName(key));
        const Cp932Text encoded = encodeCp932(value);
        if (encoded.unrepresentable)
            return QStringLiteral("%1 の値「%2」の文字「%3」(%4) は Shift-JIS (コードページ 932) "
                                  "で表せません。")
                .arg(keyName(key), value, *encoded.unrepresentable,
                     characterCode(*encoded.unrepresentable));
        contents += QByteArray(key.name.data(), qsizetype(key.name.size()));
        contents += '=';
        contents += encoded.bytes;
        contents += "\r\n";
    }
    return contents;
}

QString whyCreateFailed(const QString &path, const QSaveFile &file)
{
    const QFileInfo folder(QFileInfo(path).absolutePath());
    if (!folder.exists())
        return QStringLiteral("フォルダー %1 がありません。")
            .arg(QDir::toNativeSeparators(folder.filePath()));
    if (!folder.isDir())
        return QStringLiteral("%1 はフォルダーではありません。")
            .arg(QDir::toNativeSeparators(folder.filePath()));
    if (!folder.isWritable())
        return QStringLiteral("フォルダー %1 に書き込む権限がありません。")
            .arg(QDir::toNativeSeparators(folder.filePath()));
    if (QFileInfo(path).exists() && !QFileInfo(path).isWritable())
        return QStringLiteral("ファイルが書き込み禁止になっています。");
    return QStringLiteral("ファイルを作れませんでした（%1）。").arg(file.errorString());
}

} // namespace

std::optional<SettingsError> writeSettings(const QString &folder, const CalcSettings &settings)
{
    const QString path = settingsPath(folder);
    const auto contents = fileContents(settings);
    if (const auto *reason = std::get_if<QString>(&contents))
        return writeError(path, *reason);

    const QFileInfo target(path);
    if (target.isDir())
        return writeError(path, QStringLiteral("同じ名前のフォルダーがあります。"));
    if (target.exists() && !target.isFile())
        return writeError(path, QStringLiteral("同じ名前の、通常のファイルでないものがあります。"));

    // Written beside the old file and renamed over it at the end, so a failure on the way
    // leaves the previous calc.dat whole. Unbuffered, so that a full disk or a file size limit
    // shows in write(): QSaveFile does not notice a write that fails in its buffer's flush at
    // commit, and would rename a short file over the previous one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return writeError(path, whyCreateFailed(path, file));
    const QByteArray &bytes = std::get<QByteArray>(contents);
    if (file.write(bytes) != bytes.size() || !file.commit())
        return writeError(path,
                          QStringLiteral("書き込みの途中で失敗しました（%1）。以前のファイルは"
                                         "そのまま残っています。")
                              .arg(file.errorString()));
    return std::nullopt;
}
