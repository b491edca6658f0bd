#include "singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

// The lock's and the socket's path for a program file, without their ending: one per
// canonical program path.
QString claimPath(const QString &programFile)
{
    const QFileInfo program(programFile);
    const QString canonical = program.canonicalFilePath();
    const QByteArray key = (canonical.isEmpty() ? program.absoluteFilePath() : canonical).toUtf8();
    const QString hash =
        QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex());
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("calc-%1").arg(hash.left(24)));
}

QString lockPath(const QString &path)
{
    return path + QStringLiteral(".lock");
}

QString socketPath(const QString &path)
{
    return path + QStringLiteral(".socket");
}

} // namespace

SingleInstance::SingleInstance(const QString &path) : m_lock(lockPath(path))
{
    // Only a lock whose process is gone is stale, however long a calculator has been running.
    m_lock.setStaleLockTime(0);
}

std::unique_ptr<SingleInstance> SingleInstance::claim(const QString &programFile)
{
    const QString path = claimPath(programFile);
    std::unique_ptr<SingleInstance> instance(new SingleInstance(path));
    if (!instance->m_lock.tryLock(0) && instance->m_lock.error() == QLockFile::LockFailedError)
        return nullptr;
    // The lock is ours, so a socket left by a copy that crashed is no one's.
    QLocalServer::removeServer(socketPath(path));
    instance->m_server.setSocketOptions(QLocalServer::UserAccessOption);
    instance->m_server.listen(socketPath(path));
    return instance;
}

// A later start only knocks: nothing it sends is read.
void SingleInstance::onLaterStart(std::function<void()> comeForward)
{
    QObject::connect(&m_server, &QLocalServer::newConnection, &m_server,
                     [this, comeForward = std::move(comeForward)] {
                         while (QLocalSocket *knock = m_server.nextPendingConnection()) {
                             knock->disconnectFromServer();
                             knock->deleteLater();
                             comeForward();
                         }
                     });
}

void askRunningCopyForward(const QString &programFile)
{
    QLocalSocket knock;
    knock.connectToServer(socketPath(claimPath(programFile)));
    if (knock.waitForConnected(1000))
        knock.disconnectFromServer();
}
