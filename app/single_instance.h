#pragma once
// Only one running copy: the first copy holds a lock file and listens on a local socket, both
// in the user's runtime folder; a later copy finds the lock taken and asks the first one, over
// the socket, to come forward or to open the sheet it was started on.

#include <QLocalServer>
#include <QObject>
#include <QString>

#include <functional>

class QLocalSocket;

namespace lavodc {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `key` names the lock file and the local socket in RuntimeFolder(); tests pass a key of
    // their own so that two instances can meet in one process.
    explicit SingleInstance(QString key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // "lavodc-<numeric user id>": two accounts on one machine never meet, whatever their
    // environment says.
    static QString defaultKey();
    // $XDG_RUNTIME_DIR when it names a folder, else the temporary folder.
    static QString RuntimeFolder();
    QString lockPath() const;

    // Takes the lock and starts listening; false while another running copy holds the lock.
    // The lock is the system's and goes with the process that held it, so a file left behind
    // by a copy that is gone never keeps a later one from starting.
    bool tryBecomePrimary();
    bool isPrimary() const { return primary_; }

    // From a refused copy: asks the running one to come forward. False when no running
    // copy answered within `timeoutMs`.
    bool askPrimaryToComeForward(int timeoutMs = 2000);
    // From a refused copy: hands `path` (absolute) to the running one to open.
    bool askPrimaryToOpen(const QString& path, int timeoutMs = 2000);

signals:
    // The primary copy was asked to come forward by a later copy.
    void comeForwardRequested();
    // A later copy was started on this sheet file.
    void openRequested(const QString& path);

private:
    void acceptConnection();
    void readRequests(QLocalSocket* socket);
    bool send(const QByteArray& request, int timeoutMs);

    QString key_;
    QString folder_;
    QString serverName_;
    int lockFd_ = -1;
    QLocalServer server_;
    bool primary_ = false;
};

// The program entry's rule: true when this copy may run. Otherwise `tellUser` is called
// (the refusal message), the running copy is asked to come forward, and false is returned.
// With a `sheetPath` the running copy is handed the file instead, without the message
// unless no running copy took it.
bool StartOrHandOver(SingleInstance& instance, const std::function<void()>& tellUser,
                     const QString& sheetPath = QString());

} // namespace lavodc
