#include "singleinstance.h"

#include "processruns.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

// What the shelf writes instead of a proof, which always starts with its window system's name.
const QByteArray EndRequest = "end";

// The lock's or the socket's path for a program file, by its ending: one of each per canonical
// program path.
QString claimFile(const QString &programFile, const QString &ending)
{
    const QFileInfo program(programFile);
    const QString canonical = program.canonicalFilePath();
    const QByteArray key = (canonical.isEmpty() ? program.absoluteFilePath() : canonical).toUtf8();
    const QString hash =
        QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex());
    return QDir(runtimeFolder()).filePath(QStringLiteral("calc-%1.%2").arg(hash.left(24), ending));
}

QString lockFile(const QString &programFile)
{
    return claimFile(programFile, QStringLiteral("lock"));
}

QString socketFile(const QString &programFile)
{
    return claimFile(programFile, QStringLiteral("socket"));
}

} // namespace

QString runtimeFolder(const QString &sessionFolder)
{
    if (!sessionFolder.isEmpty())
        return sessionFolder;
    const QString own = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                        QStringLiteral("/picturecalc/runtime");
    QDir().mkpath(own);
    QFile::setPermissions(own,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return own;
}

SingleInstance::SingleInstance(const QString &programFile) : m_lock(lockFile(programFile))
{
    // Only a lock whose process is gone is stale, however long a calculator has been running.
    m_lock.setStaleLockTime(0);
}

std::unique_ptr<SingleInstance> SingleInstance::claim(const QString &programFile)
{
    std::unique_ptr<SingleInstance> instance(new SingleInstance(programFile));
    if (!instance->m_lock.tryLock(0) && instance->m_lock.error() == QLockFile::LockFailedError)
        return nullptr;
    // With the lock held, a socket left by a copy that crashed is no one's.
    if (instance->m_lock.isLocked()) {
        QLocalServer::removeServer(socketFile(programFile));
        instance->m_server.setSocketOptions(QLocalServer::UserAccessOption);
        instance->m_server.listen(socketFile(programFile));
    }
    // A knock writes its request and hangs up; a request is a short line, more is not read.
    QObject::connect(&instance->m_server, &QLocalServer::newConnection, &instance->m_server,
                     [self = instance.get()] {
                         while (QLocalSocket *knock = self->m_server.nextPendingConnection()) {
                             QObject::connect(knock, &QLocalSocket::disconnected, knock,
                                              [self, knock] {
                                                  constexpr qint64 LongestRequest = 4096;
                                                  self->answer(knock->read(LongestRequest));
                                                  knock->deleteLater();
                                              });
                         }
                     });
    return instance;
}

void SingleInstance::onLaterStart(std::function<void(const QByteArray &proof)> comeForward)
{
    m_comeForward = std::move(comeForward);
}

void SingleInstance::onEndRequest(std::function<void()> end)
{
    m_end = std::move(end);
}

void SingleInstance::answer(const QByteArray &request) const
{
    if (request == EndRequest) {
        if (m_end)
            m_end();
    } else if (m_comeForward) {
        m_comeForward(request);
    }
}

std::optional<qint64> claimHolder(const QString &programFile)
{
    QLockFile lock(lockFile(programFile));
    qint64 pid = 0;
    // A copy that crashed left its lock behind.
    if (!lock.getLockInfo(&pid, nullptr, nullptr) || !processRuns(pid))
        return std::nullopt;
    return pid;
}

namespace {
void knock(const QString &programFile, const QByteArray &request)
{
    QLocalSocket knock;
    knock.connectToServer(socketFile(programFile));
    if (!knock.waitForConnected(1000))
        return;
    knock.write(request);
    knock.waitForBytesWritten(1000);
    knock.disconnectFromServer();
}
} // namespace

void askRunningCopyForward(const QString &programFile, const QByteArray &proof)
{
    knock(programFile, proof);
}

void askRunningCopyToEnd(const QString &programFile)
{
    knock(programFile, EndRequest);
}
