#include "shelffiles.h"

#include "processruns.h"
#include "programnames.h"
#include "regularfile.h"
#include "skinmessages.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

QString temporaryPrefix(const QString &stem)
{
    return QStringLiteral(".%1.tmp-%2-").arg(stem).arg(QCoreApplication::applicationPid());
}

void removeLeftovers(const QString &folder)
{
    static const QRegularExpression temporary(QStringLiteral("^\\..*\\.tmp-(\\d+)-"));
    const QDir dir(folder);
    for (const QString &name :
         dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        const QRegularExpressionMatch match = temporary.match(name);
        if (!match.hasMatch())
            continue;
        const qint64 pid = match.captured(1).toLongLong();
        if (processRuns(pid))
            continue; // still at work
        const QString path = dir.filePath(name);
        if (QFileInfo(path).isDir() && !QFileInfo(path).isSymLink())
            QDir(path).removeRecursively();
        else
            QFile::remove(path);
    }
}

std::variant<Placement, Error> moveIntoPlace(const QString &from, const QString &to)
{
    if (::renameat2(AT_FDCWD, QFile::encodeName(from).constData(), AT_FDCWD,
                    QFile::encodeName(to).constData(), RENAME_NOREPLACE) == 0)
        return Placement::Moved;
    if (errno == EEXIST || errno == ENOTEMPTY)
        return Placement::Taken;
    return skinmessages::cannotWrite(QFileInfo(to).path());
}

namespace {

std::optional<struct stat> regularFile(const QString &path)
{
    struct stat status;
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return status;
}

// The regular file path names itself, opened for reading; none for a link, even to a regular
// file. Opened first, then checked to be the file the name leads to without a link, so a name
// swapped for a link at the last moment is refused too.
std::unique_ptr<QFile> openUnlinked(const QString &path)
{
    auto opened = openRegularFile(path);
    auto *file = std::get_if<std::unique_ptr<QFile>>(&opened);
    struct stat got;
    const auto named = regularFile(path);
    if (!file || !named || ::fstat((*file)->handle(), &got) != 0 || got.st_dev != named->st_dev ||
        got.st_ino != named->st_ino)
        return nullptr;
    return std::move(*file);
}

QStringList filesIn(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = QDir(folder).relativeFilePath(it.next());
        if (path != calcProgram() && path != skinwrightProgram())
            files << path;
    }
    files.sort();
    return files;
}

} // namespace

bool sameFile(const QString &first, const QString &second)
{
    const auto a = regularFile(first);
    const auto b = regularFile(second);
    return a && b && a->st_dev == b->st_dev && a->st_ino == b->st_ino;
}

bool sameContent(const QString &first, const QString &second)
{
    const auto one = openUnlinked(first);
    const auto other = openUnlinked(second);
    return one && other && sameContents(*one, *other);
}

bool sameSkin(const QString &first, const QString &second)
{
    const QStringList files = filesIn(first);
    if (files != filesIn(second))
        return false;
    for (const QString &file : files)
        if (!sameContent(QDir(first).filePath(file), QDir(second).filePath(file)))
            return false;
    return true;
}
