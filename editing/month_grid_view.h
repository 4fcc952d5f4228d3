#pragma once
// The month grid's table: every worker a line, name and registration number held at the left
// while the days scroll, the days of the month and the worked-day count. Its current line is
// the table's current row, whichever side moves it. It turns the mouse and the keys into
// requests for the grid window: a click on a day asks for a toggle, Space for marking or
// clearing the selection, Delete for clearing it, Ctrl+Z and Ctrl+Y for undo and redo. A drag
// selects a rectangle, a click on a day's title the day (Ctrl adds, Shift extends), a click on
// a name the worker's line; Ctrl+Space widens the selection to whole days, Shift+Space to
// whole lines. Escape is left to the window.

#include "core/grid_marks.h"

#include <QList>
#include <QPersistentModelIndex>
#include <QRect>
#include <QTableView>

namespace lavodc {

class MonthGridModel;
class WorkerTable;

class MonthGridView : public QTableView {
    Q_OBJECT
public:
    MonthGridView(WorkerTable& table, MonthGridModel* model, QWidget* parent = nullptr);

    MonthGridModel* gridModel() const { return model_; }
    // The view that holds the name and number columns in place.
    QTableView* frozenView() const { return frozen_; }

    // The selected day cells, by rows in the table's order.
    DaySelection selectedDays() const;
    // Selects exactly `cells`; the current cell stays.
    void selectDays(const DaySelection& cells);
    // Ctrl+Space and Shift+Space.
    void widenToDays();
    void widenToLines();

    // Selection, current cell and scroll place, kept across a change that resets the views.
    struct Place {
        QList<QRect> blocks;   // x: column, y: row
        int currentRow = -1;
        int currentColumn = -1;
        int vertical = 0;
        int horizontal = 0;
    };
    Place place() const;
    void restore(const Place& place);

    // The pixels the columns, the frame and a scroll bar need.
    int fullWidth() const;
    // Where a cell shows, in the viewport of the view that shows it (the frozen one for name
    // and number); for tests that click.
    QWidget* viewportOf(int column) const;
    QRect cellRect(int row, int column) const;

signals:
    void toggleRequested(int row, int dayIndex);
    void fillRequested();
    void clearRequested();
    void undoRequested();
    void redoRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

private:
    void shapeColumns();
    void placeFrozen();
    int frozenWidth() const;
    void keepRightOfFrozen(const QModelIndex& index);
    void followTable();
    void takeCurrentFromSelection(const QModelIndex& current);
    QItemSelection selectionOf(const QList<QRect>& blocks) const;

    WorkerTable& table_;
    MonthGridModel* model_;
    QTableView* frozen_;
    QPersistentModelIndex pressed_;   // a plain press on a day, until it is released or dragged
    QPersistentModelIndex toggled_;   // the day the last click toggled, for its double-click
    int column_ = 0;
    int keptRow_ = -1;            // the current line while a day's title is pressed
    bool choosingDays_ = false;
    bool following_ = false;
};

} // namespace lavodc
