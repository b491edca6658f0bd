#include "calcsettings.h"
#include "cp932.h"
#include "regularfile.h"
#include "settingsparser.h"

#include <QCoreApplication>
#include <QDir>

namespace {

constexpr qsizetype readBlockSize = 64 * 1024;

// The sentence a line that cannot be read starts with.
Sentence lineUnreadable(const QString &path, int line)
{
    return {"settings",
            QT_TRANSLATE_NOOP("settings", "%1 の %2 行目を読み込めません。"),
            {QDir::toNativeSeparators(path), QString::number(line)}};
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
    SettingsParser parser(path, spaces == Spaces::Trim, read);
    const auto atLine = [&](const Error &fault) {
        return fault.after(lineUnreadable(path, parser.line()));
    };
    Cp932Decoder decoder;
    QByteArray block(readBlockSize, Qt::Uninitialized);
    for (;;) {
        const qint64 length = file.read(block.data(), block.size());
        if (length < 0)
            return atLine(Error(
                Error::Code::Unreadable, path,
                {{"settings",
                  QT_TRANSLATE_NOOP("settings", "ファイルの読み取り中にエラーが起きました（%1）。"),
                  {file.errorString()}}}));
        if (length == 0)
            break;
        if (const auto fault =
                parser.feed(decoder.decode(QByteArrayView(block.constData(), length))))
            return atLine(*fault);
    }
    if (const auto fault = parser.feed(decoder.finish()))
        return atLine(*fault);
    if (const auto fault = parser.finish())
        return atLine(*fault);
    settings = std::move(read);
    return std::nullopt;
}
