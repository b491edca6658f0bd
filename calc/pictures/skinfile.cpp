#include "skinfile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

PictureFault faultOfErrno(int error)
{
    return error == ENOENT || error == ENOTDIR ? PictureFault::Missing : PictureFault::Unreadable;
}

} // namespace

std::variant<std::unique_ptr<QFile>, PictureFault> openSkinFile(const QString &path)
{
    const QByteArray nativePath = QFile::encodeName(path);
    struct stat status;
    if (::stat(nativePath.constData(), &status) != 0)
        return faultOfErrno(errno);
    if (!S_ISREG(status.st_mode))
        return PictureFault::NotRegularFile;

    const int fd = ::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return faultOfErrno(errno);
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return PictureFault::NotRegularFile;
    }
    if (status.st_size == 0) {
        ::close(fd);
        return PictureFault::Empty;
    }

    auto file = std::make_unique<QFile>(path);
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return PictureFault::Unreadable;
    }
    return file;
}
