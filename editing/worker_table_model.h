#pragma once
// The worker table as a Qt item model: every row (the worker list, the batch grid) or the
// current row alone (the day strip), over a chosen set of columns. It follows the table
// through the listener interface; a frozen table tells it nothing, and until it does the
// model keeps the row count it last announced. Nothing is edited through it: the grids
// change day marks through the table. A day cell holding stray text (neither empty nor the
// mark) has a pale red ground.

#include "core/grid_columns.h"
#include "core/worker_table.h"

#include <QAbstractTableModel>
#include <QColor>
#include <vector>

namespace lavodc {

// The ground of a day cell that holds stray text.
QColor StrayDayBackground();

class WorkerTableModel : public QAbstractTableModel, public WorkerTableListener {
    Q_OBJECT
public:
    enum class Rows { All, CurrentOnly };

    WorkerTableModel(WorkerTable& table, std::vector<GridColumn> columns, Rows rows,
                     QObject* parent = nullptr);
    ~WorkerTableModel() override;

    WorkerTable& table() { return table_; }
    const std::vector<GridColumn>& columns() const { return columns_; }
    // The batch grid rebinds its day column when its date changes.
    void setColumns(std::vector<GridColumn> columns);
    // The table row a model row shows.
    int tableRow(int modelRow) const;
    int fieldPosition(int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // WorkerTableListener
    void tableChanged() override;
    void rowChanged(int row) override;
    void currentChanged(int row) override;

signals:
    void currentRowChanged(int row);

private:
    int countRows() const;
    bool isDayColumn(int column) const;

    WorkerTable& table_;
    std::vector<GridColumn> columns_;
    std::vector<int> positions_;
    Rows rows_;
    int rowCount_ = 0;
};

} // namespace lavodc
