#include "app/single_instance.h"

#include <QDir>
#include <QLocalSocket>

namespace lavodc {

namespace {
// One request a line; a path travels in Base64, so that any byte of a file name gets through.
const QByteArray kComeForward = "come-forward\n";
const QByteArray kOpenPrefix = "open ";
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
    return send(kComeForward, timeoutMs);
}

bool SingleInstance::askPrimaryToOpen(const QString& path, int timeoutMs)
{
    return send(kOpenPrefix + path.toUtf8().toBase64() + '\n', timeoutMs);
}

bool SingleInstance::send(const QByteArray& request, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(key_);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(request);
    const bool written = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return written;
}

void SingleInstance::acceptConnection()
{
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequests(socket); });
        readRequests(socket);
    }
}

void SingleInstance::readRequests(QLocalSocket* socket)
{
    while (socket->canReadLine()) {
        const QByteArray line = socket->readLine();
        if (line == kComeForward) {
            emit comeForwardRequested();
        } else if (line.startsWith(kOpenPrefix) && line.endsWith('\n')) {
            const QByteArray encoded = line.mid(kOpenPrefix.size(), line.size() - kOpenPrefix.size() - 1);
            const QString path = QString::fromUtf8(QByteArray::fromBase64(encoded));
            if (!path.isEmpty())
                emit openRequested(path);
        }
    }
}

bool StartOrHandOver(SingleInstance& instance, const std::function<void()>& tellUser,
                     const QString& sheetPath)
{
    if (instance.tryBecomePrimary())
        return true;
    if (!sheetPath.isEmpty() && instance.askPrimaryToOpen(sheetPath))
        return false;
    tellUser();
    instance.askPrimaryToComeForward();
    return false;
}

} // namespace lavodc
