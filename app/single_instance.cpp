#include "app/single_instance.h"

#include <QDir>
#include <QLocalSocket>

namespace lavodc {

namespace {
const QByteArray kComeForward = "come-forward\n";
}

SingleInstance::SingleInstance(QString key, QObject* parent)
    : QObject(parent), key_(std::move(key))
{
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultKey()
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = QStringLiteral("user");
    return QStringLiteral("lavodc-") + user;
}

bool SingleInstance::tryBecomePrimary()
{
    if (primary_)
        return true;
    auto lock = std::make_unique<QLockFile>(QDir::temp().filePath(key_ + QStringLiteral(".lock")));
    // A lock left by a crashed copy is stale (its process is gone) and is taken over.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return false;
    lock_ = std::move(lock);
    // Holding the lock, any socket of the same name is a leftover of a crashed copy.
    QLocalServer::removeServer(key_);
    server_.listen(key_);
    primary_ = true;
    return true;
}

bool SingleInstance::askPrimaryToComeForward(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(key_);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kComeForward);
    const bool written = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return written;
}

void SingleInstance::acceptConnection()
{
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->canReadLine() && socket->readLine() == kComeForward)
                emit comeForwardRequested();
        });
        if (socket->canReadLine() && socket->readLine() == kComeForward)
            emit comeForwardRequested();
    }
}

bool StartOrHandOver(SingleInstance& instance, const std::function<void()>& tellUser)
{
    if (instance.tryBecomePrimary())
        return true;
    tellUser();
    instance.askPrimaryToComeForward();
    return false;
}

} // namespace lavodc
