#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>

SingleInstance::SingleInstance(const QString &progsFolder, QObject *parent)
    : QObject(parent), m_progs(progsFolder),
      m_lock(QDir(progsFolder).filePath(QStringLiteral("Kolvane.lock")))
{
    // Only a dead holder makes a lock stale, however long the program runs.
    m_lock.setStaleLockTime(0);
}

bool SingleInstance::acquire()
{
    QDir().mkdir(m_progs);
    const QString where = QFileInfo(m_progs).canonicalFilePath();
    m_serverName =
        QStringLiteral("kolvane-") +
        QString::fromLatin1(
            QCryptographicHash::hash(where.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
    if (!m_lock.tryLock(0)) {
        // A folder where no lock can be made at all is reported by the
        // database checks that follow; only a live holder stops the start.
        if (m_lock.error() == QLockFile::LockFailedError)
            return false;
        return true;
    }
    // A socket left by a killed program would refuse the name.
    QLocalServer::removeServer(m_serverName);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (m_server.listen(m_serverName))
        connect(&m_server, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket *peer = m_server.nextPendingConnection()) {
                connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
                emit wakeRequested();
            }
        });
    return true;
}

void SingleInstance::wakeHolder() const
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (socket.waitForConnected(1000))
        socket.disconnectFromServer();
}
