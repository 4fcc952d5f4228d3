#pragma once
// The read-only worker list: one line per worker, a click selects the whole line, and the
// selected line is always the table's current row, whichever side moves it.

#include <QFontMetrics>
#include <QStringList>
#include <QTableView>

namespace lavodc {

class WorkerTable;
class WorkerTableModel;

class WorkerListView : public QTableView {
    Q_OBJECT
public:
    explicit WorkerListView(WorkerTable& table, QWidget* parent = nullptr);

    WorkerTableModel* workerModel() const { return model_; }

signals:
    // A double-click on a worker line.
    void modifyRequested();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Name, number, telephone, days, hours and wages wide enough for the widest value each
    // holds, at the list's font; the row numbers wide enough for the last one.
    void applyWidths();
    void fitRowNumbers();
    void showTableCurrent();
    void takeCurrentFromSelection(const QModelIndex& current);

    WorkerTable& table_;
    WorkerTableModel* model_;
    bool following_ = false;
};

// A column wide enough for its title and for each of `values` (none: `designed`).
int FittedColumnWidth(const QFontMetrics& cells, const QFontMetrics& titles, const QString& title,
                      const QStringList& values, int designed);

// Selects model row `row` of `view` as the whole current line (none for -1).
void SelectLine(QTableView* view, int row);

} // namespace lavodc
