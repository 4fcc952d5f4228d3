#pragma once
// Only one running copy: the first copy holds a lock file and listens on a local socket;
// a later copy finds the lock taken and asks the first one, over the socket, to come forward
// or to open the sheet it was started on.

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QLocalSocket;

namespace lavodc {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `key` names the lock file (in the temporary folder) and the local socket;
    // tests pass a key of their own so that two instances can meet in one process.
    explicit SingleInstance(QString key, QObject* parent = nullptr);
    ~SingleInstance() override;

    static QString defaultKey();   // per user, so that two users on one machine do not meet

    // Takes the lock and starts listening; false when another copy holds the lock.
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
    std::unique_ptr<QLockFile> lock_;
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
