#include "calcsettings.h"
#include "cp932.h"
#include "settingsparser.h"

#include <QFile>
#include <QFileInfo>

namespace {

constexpr qsizetype readBlockSize = 64 * 1024;

SettingsError readError(const QString &path, int line, const QString &reason)
{
    return {path, line, reason, SettingsError::Action::Read};
}

// Only a regular file is opened: opening a named pipe could wait for ever, and a device such as
// /dev/zero never ends.
std::optional<QString> whyNotOpenable(const QFileInfo &info)
{
    if (!info.exists())
        return QStringLiteral("ファイルがありません。");
    if (info.isDir())
        return QStringLiteral("この名前はファイルではなくフォルダーです。");
    if (!info.isFile())
        return QStringLiteral("通常のファイルではありません（デバイスやパイプなど）。");
    return std::nullopt;
}

QString whyOpenFailed(const QFileInfo &info, const QFile &file)
{
    if (!info.isReadable())
        return QStringLiteral("読み取りの権限がありません。");
    return QStringLiteral("ファイルを開けませんでした（%1）。").arg(file.errorString());
}

} // namespace

std::optional<SettingsError> readSettings(const QString &folder, bool trim, CalcSettings &settings)
{
    const QString path = settingsPath(folder);
    const QFileInfo info(path);
    if (const auto reason = whyNotOpenable(info))
        return readError(path, 0, *reason);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return readError(path, 0, whyOpenFailed(info, file));

    // Filled apart, so that a failed read leaves the caller's record as it was.
    CalcSettings read = settings;
    SettingsParser parser(trim, read);
    Cp932Decoder decoder;
    QByteArray block(readBlockSize, Qt::Uninitialized);
    for (;;) {
        const qint64 length = file.read(block.data(), block.size());
        if (length < 0)
            return readError(path, parser.line(),
                             QStringLiteral("ファイルの読み取り中にエラーが起きました（%1）。")
                                 .arg(file.errorString()));
        if (length == 0)
            break;
        parser.feed(decoder.decode(QByteArrayView(block.constData(), length)));
        if (parser.fault())
            return readError(path, parser.fault()->line, parser.fault()->reason);
    }
    parser.feed(decoder.finish());
    parser.finish();
    if (parser.fault())
        return readError(path, parser.fault()->line, parser.fault()->reason);
    settings = std::move(read);
    return std::nullopt;
}
