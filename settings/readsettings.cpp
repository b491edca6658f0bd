#include "calcsettings.h"
#include "cp932.h"
#include "regularfile.h"
#include "settingsparser.h"

namespace {

constexpr qsizetype readBlockSize = 64 * 1024;

SettingsError readError(const QString &path, int line, const QString &reason)
{
    return {path, line, reason, SettingsError::Action::Read};
}

QString whyNotOpened(const OpenProblem &problem)
{
    switch (problem.fault) {
    case OpenProblem::Fault::Missing:
        return QStringLiteral("ファイルがありません。");
    case OpenProblem::Fault::Folder:
        return QStringLiteral("この名前はファイルではなくフォルダーです。");
    case OpenProblem::Fault::NotRegularFile:
        return QStringLiteral("通常のファイルではありません（デバイスやパイプなど）。");
    case OpenProblem::Fault::NoPermission:
        return QStringLiteral("読み取りの権限がありません。");
    case OpenProblem::Fault::Failed:
        break;
    }
    return QStringLiteral("ファイルを開けませんでした（%1）。").arg(problem.systemReason);
}

} // namespace

std::optional<SettingsError> readSettings(const QString &folder, bool trim, CalcSettings &settings)
{
    const QString path = settingsPath(folder);
    auto opened = openRegularFile(path);
    if (const OpenProblem *problem = std::get_if<OpenProblem>(&opened))
        return readError(path, 0, whyNotOpened(*problem));
    QFile &file = *std::get<std::unique_ptr<QFile>>(opened);

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
        if (const auto fault =
                parser.feed(decoder.decode(QByteArrayView(block.constData(), length))))
            return readError(path, fault->line, fault->reason);
    }
    if (const auto fault = parser.feed(decoder.finish()))
        return readError(path, fault->line, fault->reason);
    if (const auto fault = parser.finish())
        return readError(path, fault->line, fault->reason);
    settings = std::move(read);
    return std::nullopt;
}
