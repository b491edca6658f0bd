#include "regularfile.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

OpenProblem problemOfErrno(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return {OpenProblem::Fault::Missing};
    case EACCES:
    case EPERM:
        return {OpenProblem::Fault::NoPermission};
    default:
        return {OpenProblem::Fault::Failed, qt_error_string(error)};
    }
}

std::optional<OpenProblem> problemOfKind(mode_t mode)
{
    if (S_ISDIR(mode))
        return OpenProblem{OpenProblem::Fault::Folder};
    if (!S_ISREG(mode))
        return OpenProblem{OpenProblem::Fault::NotRegularFile};
    return std::nullopt;
}

} // namespace

std::variant<std::unique_ptr<QFile>, OpenProblem> openRegularFile(const QString &path)
{
    // O_NOCTTY: a terminal opened by mistake must not become the program's controlling one.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return problemOfErrno(errno);
    struct stat status;
    std::optional<OpenProblem> problem;
    if (::fstat(fd, &status) != 0)
        problem = problemOfErrno(errno);
    else
        problem = problemOfKind(status.st_mode);
    auto file = std::make_unique<QFile>(path);
    if (!problem && !file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        problem = OpenProblem{OpenProblem::Fault::Failed, file->errorString()};
    if (problem) {
        ::close(fd);
        return *problem;
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
