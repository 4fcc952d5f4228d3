#pragma once
// The batch grid: every worker with the mark of one chosen day in its first column, on the
// same table, rows and current row as the worker list. Only the day column takes typed
// text (at most the 3 bytes of a day mark); a double-click there toggles the mark. Neither
// Insert nor Down on the last worker adds a row.

#include <QTableView>

namespace lavodc {

class DayCellDelegate;
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
    // A mark was toggled, a typed cell committed or Enter recounted a worker.
    void daysEdited();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    friend class BatchCellDelegate;
    void applyWidths();
    void showTableCurrent();
    void takeCurrentFromSelection(const QModelIndex& current);
    // Enter in the day column: a typed text was stored (and counted) already, otherwise the
    // current worker is recounted.
    void enterInDayColumn(bool typed);

    WorkerTable& table_;
    Prompts& prompts_;
    WorkerTableModel* model_;
    DayCellDelegate* delegate_ = nullptr;
    int day_ = 0;
    int column_ = kDayColumn;
    bool following_ = false;
};

} // namespace lavodc
