#include "filecopy.h"

#include "regularfile.h"

#include <QCoreApplication>
#include <QSaveFile>

namespace {

constexpr qint64 ChunkSize = 1 << 16;

// The system's words, which are not ours to translate.
Error failed(Error::Code code, const QString &path, const QString &systemReason)
{
    return Error(code, path, {{"FileCopy", "%1", {systemReason}}});
}

} // namespace

std::optional<Error> copyFile(const QString &source, const QString &target)
{
    // Opened as the calculator opens what the skin names: a FIFO or device put in the file's
    // place is refused instead of waited on.
    auto opened = openRegularFile(source);
    if (const Error *error = std::get_if<Error>(&opened))
        return Error(error->code(), source,
                     {{"FileCopy", QT_TRANSLATE_NOOP("FileCopy", "ｺﾋﾟｰ元のﾌｧｲﾙを開けません。")}});
    QFile &in = *std::get<std::unique_ptr<QFile>>(opened);
    // Unbuffered, so that a full disk shows in write() and never as a short file renamed over
    // the old one at commit.
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failed(Error::Code::Unwritable, target, out.errorString());
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(ChunkSize);
        if (chunk.isEmpty())
            return failed(Error::Code::Unreadable, source, in.errorString());
        if (out.write(chunk) != chunk.size())
            return failed(Error::Code::Unwritable, target, out.errorString());
    }
    if (!out.commit())
        return failed(Error::Code::Unwritable, target, out.errorString());
    return std::nullopt;
}
