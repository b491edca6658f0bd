#include "regularfile.h"

#include <QCoreApplication>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

Error failed(const QString &path, const QString &systemReason)
{
    return Error(Error::Code::Unreadable, path,
                 {{"settings",
                   QT_TRANSLATE_NOOP("settings", "ファイルを開けませんでした（%1）。"),
                   {systemReason}}});
}

Error errorOfErrno(int error, const QString &path)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return Error(Error::Code::FileMissing, path,
                     {{"settings", QT_TRANSLATE_NOOP("settings", "ファイルがありません。")}});
    case EACCES:
    case EPERM:
        return Error(Error::Code::NoPermission, path,
                     {{"settings", QT_TRANSLATE_NOOP("settings", "読み取りの権限がありません。")}});
    default:
        return failed(path, qt_error_string(error));
    }
}

std::optional<Error> errorOfKind(mode_t mode, const QString &path)
{
    if (S_ISDIR(mode))
        return Error(Error::Code::IsFolder, path,
                     {{"settings", QT_TRANSLATE_NOOP(
                                       "settings", "この名前はファイルではなくフォルダーです。")}});
    if (!S_ISREG(mode))
        return Error(Error::Code::NotRegularFile, path,
                     {{"settings",
                       QT_TRANSLATE_NOOP(
                           "settings", "通常のファイルではありません（デバイスやパイプなど）。")}});
    return std::nullopt;
}

} // namespace

std::variant<std::unique_ptr<QFile>, Error> openRegularFile(const QString &path)
{
    // O_NOCTTY: a terminal opened by mistake must not become the program's controlling one.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return errorOfErrno(errno, path);
    struct stat status;
    std::optional<Error> error;
    if (::fstat(fd, &status) != 0)
        error = errorOfErrno(errno, path);
    else
        error = errorOfKind(status.st_mode, path);
    auto file = std::make_unique<QFile>(path);
    if (!error && !file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        error = failed(path, file->errorString());
    if (error) {
        ::close(fd);
        return *error;
    }
    return file;
}

bool sameContents(const QString &first, const QString &second)
{
    auto one = openRegularFile(first);
    auto other = openRegularFile(second);
    auto *a = std::get_if<std::unique_ptr<QFile>>(&one);
    auto *b = std::get_if<std::unique_ptr<QFile>>(&other);
    return a && b && sameContents(**a, **b);
}

bool sameContents(QFile &first, QFile &second)
{
    if (first.size() != second.size())
        return false;
    while (!first.atEnd()) {
        constexpr qint64 ChunkSize = 1 << 16;
        const QByteArray chunk = first.read(ChunkSize);
        if (chunk.isEmpty() || chunk != second.read(ChunkSize))
            return false;
    }
    return true;
}
