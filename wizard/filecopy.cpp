#include "filecopy.h"

#include "regularfile.h"

#include <QSaveFile>

namespace {

constexpr qint64 ChunkSize = 1 << 16;

// Opened as the calculator opens what the skin names: a FIFO or device put in the file's place
// is refused instead of waited on.
std::unique_ptr<QFile> openedForReading(const QString &path)
{
    auto opened = openRegularFile(path);
    if (auto *file = std::get_if<std::unique_ptr<QFile>>(&opened))
        return std::move(*file);
    return nullptr;
}

} // namespace

std::optional<QString> copyFile(const QString &source, const QString &target)
{
    const std::unique_ptr<QFile> in = openedForReading(source);
    if (!in)
        return QStringLiteral("ｺﾋﾟｰ元のﾌｧｲﾙを開けません。");
    // Unbuffered, so that a full disk shows in write() and never as a short file renamed over
    // the old one at commit.
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return out.errorString();
    while (!in->atEnd()) {
        const QByteArray chunk = in->read(ChunkSize);
        if (chunk.isEmpty())
            return in->errorString();
        if (out.write(chunk) != chunk.size())
            return out.errorString();
    }
    if (!out.commit())
        return out.errorString();
    return std::nullopt;
}
