#include "singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString singleInstanceLockPath(const QString &programFile)
{
    const QFileInfo program(programFile);
    const QString canonical = program.canonicalFilePath();
    const QByteArray key = (canonical.isEmpty() ? program.absoluteFilePath() : canonical).toUtf8();
    const QString hash =
        QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex());
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("calc-%1.lock").arg(hash.left(24)));
}

std::unique_ptr<QLockFile> claimSingleInstance(const QString &programFile)
{
    auto lock = std::make_unique<QLockFile>(singleInstanceLockPath(programFile));
    // Only a lock whose process is gone is stale, however long a calculator has been running.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0) || lock->error() != QLockFile::LockFailedError)
        return lock;
    return nullptr;
}
