#include "editing/worker_table_model.h"

#include "core/day_marks.h"
#include "editing/box_text.h"

namespace lavodc {

WorkerTableModel::WorkerTableModel(WorkerTable& table, std::vector<GridColumn> columns, Rows rows,
                                   QObject* parent)
    : QAbstractTableModel(parent), table_(table), rows_(rows)
{
    setColumns(std::move(columns));
    rowCount_ = countRows();
    table_.AddListener(this);
}

WorkerTableModel::~WorkerTableModel()
{
    table_.RemoveListener(this);
}

void WorkerTableModel::setColumns(std::vector<GridColumn> columns)
{
    beginResetModel();
    columns_ = std::move(columns);
    positions_.clear();
    for (const GridColumn& column : columns_)
        positions_.push_back(FieldIndex(column.field));
    endResetModel();
}

int WorkerTableModel::countRows() const
{
    if (!table_.Active())
        return 0;
    if (rows_ == Rows::CurrentOnly)
        return table_.IsEmpty() ? 0 : 1;
    return table_.RecordCount();
}

int WorkerTableModel::tableRow(int modelRow) const
{
    return rows_ == Rows::CurrentOnly ? table_.CurrentIndex() : modelRow;
}

int WorkerTableModel::fieldPosition(int column) const
{
    return column >= 0 && column < int(positions_.size()) ? positions_[std::size_t(column)] : -1;
}

bool WorkerTableModel::isDayColumn(int column) const
{
    const int position = fieldPosition(column);
    return position >= kFirstDayField && position < kFirstDayField + kDayCount;
}

int WorkerTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rowCount_;
}

int WorkerTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QColor StrayDayBackground()
{
    return QColor(255, 200, 200);
}

QVariant WorkerTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount_)
        return {};
    const GridColumn& column = columns_[std::size_t(index.column())];
    if (role == Qt::TextAlignmentRole)
        return column.cells == CellAlignment::Centre ? int(Qt::AlignCenter) : int(Qt::AlignLeft | Qt::AlignVCenter);
    const bool background = role == Qt::BackgroundRole && isDayColumn(index.column());
    if (role != Qt::DisplayRole && role != Qt::EditRole && !background)
        return {};
    // While the table is frozen in a walk, or closed at the end, a repaint must not read a
    // row that is gone.
    if (!table_.Active())
        return {};
    const int row = tableRow(index.row());
    const int position = fieldPosition(index.column());
    if (position < 0 || row < 0 || row >= table_.RecordCount())
        return {};
    const WorkerRow& stored = table_.RowAt(row);
    // Text the mark rule would not have typed: it prints, but it does not count.
    if (background)
        return IsStrayDayText(RowFieldText(stored, position)) ? QVariant(StrayDayBackground()) : QVariant();
    return ShownText(role == Qt::EditRole ? RowFieldText(stored, position) : RowDisplayText(stored, position));
}

QVariant WorkerTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= int(columns_.size()))
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return ShownText(columns_[std::size_t(section)].title);
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}

void WorkerTableModel::tableChanged()
{
    beginResetModel();
    rowCount_ = countRows();
    endResetModel();
}

void WorkerTableModel::rowChanged(int row)
{
    if (rows_ == Rows::CurrentOnly) {
        if (row == table_.CurrentIndex() && rowCount_ > 0)
            emit dataChanged(index(0, 0), index(0, columnCount() - 1));
        return;
    }
    if (row >= 0 && row < rowCount_)
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void WorkerTableModel::currentChanged(int row)
{
    if (rows_ == Rows::CurrentOnly) {
        if (countRows() != rowCount_)
            tableChanged();
        else if (rowCount_ > 0)
            emit dataChanged(index(0, 0), index(0, columnCount() - 1));
    }
    emit currentRowChanged(row);
}

} // namespace lavodc
