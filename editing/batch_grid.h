#pragma once
// The batch grid: every worker with the mark of one chosen day in its first column, on the
// same table, rows and current row as the worker list. Only the day column takes keys, through
// the mark rule: a mark moves on to the next worker, Backspace empties the cell, anything else
// is refused with a beep; a double-click there toggles the mark. Neither Insert nor Down on the
// last worker adds a row. The day, name, registration number and day-count columns are as wide
// as their titles and widest values need at the grid's font.

#include <QTableView>

#include <string>

namespace lavodc {

class Prompts;
class WorkerTable;
class WorkerTableModel;

class BatchGrid : public QTableView {
    Q_OBJECT
public:
    static constexpr int kDayColumn = 0;

    BatchGrid(WorkerTable& table, Prompts& prompts, QWidget* parent = nullptr);

    WorkerTableModel* batchModel() const { return model_; }
    // Binds the day column to day `dayIndex` (0 for the 1st .. 30 for the 31st).
    void showDay(int dayIndex);
    int shownDay() const { return day_; }
    // The selected column of the current line.
    int selectedColumn() const;
    void selectColumn(int column);
    // The pixels the grid needs for its columns, its indicator and a scroll bar.
    int fullWidth() const;

    // The double-click: toggles the chosen day of the current worker (a beep on an empty
    // table), only while the day column is selected.
    void toggleCurrentDay();

signals:
    // A mark was toggled or typed, or Enter recounted a worker.
    void daysEdited();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void applyWidths();
    int columnWidthFor(int column) const;
    void showTableCurrent();
    void takeCurrentFromSelection(const QModelIndex& current);
    void typeIntoDay(const std::string& typed);

    WorkerTable& table_;
    Prompts& prompts_;
    WorkerTableModel* model_;
    int day_ = 0;
    int column_ = kDayColumn;
    bool following_ = false;
};

} // namespace lavodc
