#include "calcsettings.h"
#include "cp932.h"
#include "regularfile.h"
#include "settingsparser.h"

#include <QCoreApplication>
#include <QDir>

namespace {

constexpr qsizetype readBlockSize = 64 * 1024;

Error unreadableLine(const QString &path, int line, Error::Code code, Sentence reason)
{
    return Error(code, path,
                 {{"settings",
                   QT_TRANSLATE_NOOP("settings", "%1 の %2 行目を読み込めません。"),
                   {QDir::toNativeSeparators(path), QString::number(line)}},
                  std::move(reason)});
}

Error unreadableLine(const QString &path, const SettingsParser::Fault &fault)
{
    return unreadableLine(path, fault.line, Error::Code::SettingsUnreadable, fault.reason);
}

} // namespace

std::optional<Error> readSettings(const QString &folder, Spaces spaces, CalcSettings &settings)
{
    const QString path = settingsPath(folder);
    auto opened = openRegularFile(path);
    if (const Error *error = std::get_if<Error>(&opened))
        return error->after({"settings",
                             QT_TRANSLATE_NOOP("settings", "%1 を開けません。"),
                             {QDir::toNativeSeparators(path)}});
    QFile &file = *std::get<std::unique_ptr<QFile>>(opened);

    // Filled apart, so that a failed read leaves the caller's record as it was.
    CalcSettings read = settings;
    SettingsParser parser(spaces == Spaces::Trim, read);
    Cp932Decoder decoder;
    QByteArray block(readBlockSize, Qt::Uninitialized);
    for (;;) {
        const qint64 length = file.read(block.data(), block.size());
        if (length < 0)
            return unreadableLine(
                path, parser.line(), Error::Code::Unreadable,
                {"settings",
                 QT_TRANSLATE_NOOP("settings", "ファイルの読み取り中にエラーが起きました（%1）。"),
                 {file.errorString()}});
        if (length == 0)
            break;
        if (const auto fault =
                parser.feed(decoder.decode(QByteArrayView(block.constData(), length))))
            return unreadableLine(path, *fault);
    }
    if (const auto fault = parser.feed(decoder.finish()))
        return unreadableLine(path, *fault);
    if (const auto fault = parser.finish())
        return unreadableLine(path, *fault);
    settings = std::move(read);
    return std::nullopt;
}
