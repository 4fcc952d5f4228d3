#pragma once
// Sheets the desktop asks for: the file named on the command line at start, and the files
// later copies hand over. Each is opened once the program is idle, so that a request never
// cuts into a dialog or a file being read or written.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

namespace lavodc {

class SingleInstance;
class Tmainf;

// The sheet file named on the command line, made absolute: the first argument after the
// program's name that is not an option (or any after "--"). Empty without one.
QString SheetPathArgument(const QStringList& arguments);

class SheetRequests : public QObject {
    Q_OBJECT
public:
    // Serves `instance`'s requests from later copies: the window comes forward at once,
    // a handed sheet is opened when idle.
    SheetRequests(SingleInstance& instance, Tmainf& window);

    // Opens `path` as soon as no dialog is up and no command runs, after the save question
    // when one is due. A later request replaces one still waiting.
    void openWhenIdle(const QString& path);

private:
    void tryOpen();

    Tmainf& window_;
    QString pending_;
    QTimer retry_;
};

} // namespace lavodc
