#include "shell/RunningCopy.h"

#include <QCryptographicHash>
#include <QLocalSocket>
#include <QStandardPaths>

#include <unistd.h>

namespace qv {

namespace {

// A local connection is made at once, even while the running copy is busy: the wait only bounds a stuck system.
constexpr int kConnectMilliseconds = 2000;

} // namespace

RunningCopy::RunningCopy(const QString &programDir, QObject *parent)
    : QObject(parent)
    , m_lock(programDir + QStringLiteral("quorvel.lock"))
    , m_name(socketName(programDir))
{
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        // Being reached is the whole request: nothing is read or answered.
        while (QLocalSocket *asking = m_server.nextPendingConnection()) {
            asking->disconnectFromServer();
            asking->deleteLater();
            emit comeForwardRequested();
        }
    });
}

bool RunningCopy::claim()
{
    if (!m_lock.tryLock(0))
        return false;
    // Only the lock's holder gets here: a socket left by a copy that crashed is taken over.
    QLocalServer::removeServer(m_name);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    // Without the socket the program still runs; a second start then cannot bring it forward.
    m_server.listen(m_name);
    return true;
}

bool RunningCopy::askToComeForward()
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kConnectMilliseconds))
        return false;
    socket.disconnectFromServer();
    return true;
}

QString RunningCopy::socketName(const QString &programDir)
{
    const QByteArray folder = QCryptographicHash::hash(programDir.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    // In the user's private runtime folder, not the shared temporary one, where
    // another user could take the name first and so keep the copies apart.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return QStringLiteral("%1/quorvel-%2-%3").arg(runtime).arg(::getuid()).arg(QString::fromLatin1(folder));
}

} // namespace qv
