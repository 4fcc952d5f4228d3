#pragma once
// The two key maps of the main window: one for the worker list and the day strip, one for
// the header boxes and the sort buttons. Each key press runs at most one command.

#include <QObject>

namespace lavodc {

enum class GridKind { WorkerList, DayStrip };

// What the keys start; the main window implements it.
class EditingCommands {
public:
    virtual ~EditingCommands() = default;
    virtual void help() = 0;
    virtual void addWorker() = 0;
    virtual void modifyWorker() = 0;
    virtual void deleteWorker() = 0;
    virtual void newSheet() = 0;
    virtual void openSheet() = 0;
    virtual void saveSheet() = 0;
    virtual void exportGrid(GridKind grid) = 0;
    virtual void recountAll() = 0;
    virtual void nextMonth() = 0;
    virtual void importWorkers() = 0;
    virtual void openMonthGrid() = 0;
};

// F1 help, F2 add, F3 modify, Delete delete (with any modifiers), Insert consumed;
// Alt+N, Alt+O, Alt+S, Alt+E, Alt+R, Alt+M, Alt+I, Alt+D whenever Alt is held.
class GridKeyMap : public QObject {
    Q_OBJECT
public:
    GridKeyMap(EditingCommands& commands, GridKind grid, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    EditingCommands& commands_;
    GridKind grid_;
};

// F1 help, F2 add, Insert consumed; Alt+N, Alt+O, Alt+S, Alt+M, Alt+I, Alt+D.
class HeaderKeyMap : public QObject {
    Q_OBJECT
public:
    HeaderKeyMap(EditingCommands& commands, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    EditingCommands& commands_;
};

} // namespace lavodc
