#include "app/single_instance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace lavodc {

namespace {
// One request a line; a path travels in Base64, so that any byte of a file name gets through.
const QByteArray kComeForward = "come-forward\n";
const QByteArray kOpenPrefix = "open ";
}

SingleInstance::SingleInstance(QString key, QObject* parent)
    : QObject(parent),
      key_(std::move(key)),
      folder_(RuntimeFolder()),
      serverName_(QDir(folder_).filePath(key_ + QStringLiteral(".socket")))
{
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
}

SingleInstance::~SingleInstance()
{
    server_.close();
    // The file stays: removing it could let a copy that has just opened it lock a file
    // nobody else sees.
    if (lockFd_ >= 0)
        ::close(lockFd_);
}

QString SingleInstance::defaultKey()
{
    return QStringLiteral("lavodc-") + QString::number(::geteuid());
}

QString SingleInstance::RuntimeFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir())
        return QDir::cleanPath(runtime);
    return QDir::tempPath();
}

QString SingleInstance::lockPath() const
{
    return QDir(folder_).filePath(key_ + QStringLiteral(".lock"));
}

bool SingleInstance::tryBecomePrimary()
{
    if (primary_)
        return true;
    const QByteArray path = QFile::encodeName(lockPath());
    int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);   // a lock takes no writing
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    lockFd_ = fd;
    // Holding the lock, any socket of the same name is a leftover of a copy that is gone.
    QLocalServer::removeServer(serverName_);
    server_.listen(serverName_);
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
    socket.connectToServer(serverName_);
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
