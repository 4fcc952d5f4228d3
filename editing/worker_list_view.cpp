#include "editing/worker_list_view.h"

#include "core/grid_columns.h"
#include "editing/worker_table_model.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace lavodc {

void SelectLine(QTableView* view, int row)
{
    QItemSelectionModel* selection = view->selectionModel();
    if (row < 0 || row >= view->model()->rowCount()) {
        selection->clear();
        return;
    }
    const int column = qMax(0, view->currentIndex().column());
    selection->setCurrentIndex(view->model()->index(row, column),
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view->scrollTo(view->model()->index(row, column));
}

WorkerListView::WorkerListView(WorkerTable& table, QWidget* parent)
    : QTableView(parent),
      table_(table),
      model_(new WorkerTableModel(table, WorkerListColumns(), WorkerTableModel::Rows::All, this))
{
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->setDefaultSectionSize(18);
    verticalHeader()->setFixedWidth(12);
    horizontalHeader()->setFixedHeight(20);
    horizontalHeader()->setHighlightSections(false);
    const auto& columns = WorkerListColumns();
    for (int i = 0; i < int(columns.size()); ++i)
        setColumnWidth(i, columns[std::size_t(i)].width);

    connect(model_, &WorkerTableModel::currentRowChanged, this, [this] { showTableCurrent(); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { showTableCurrent(); });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { takeCurrentFromSelection(current); });
}

void WorkerListView::showTableCurrent()
{
    following_ = true;
    SelectLine(this, table_.Active() ? table_.CurrentIndex() : -1);
    following_ = false;
}

void WorkerListView::takeCurrentFromSelection(const QModelIndex& current)
{
    if (following_ || !current.isValid() || table_.Frozen() || !table_.Active())
        return;
    if (current.row() != table_.CurrentIndex() && current.row() < table_.RecordCount())
        table_.MoveTo(current.row());
}

void WorkerListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (indexAt(event->position().toPoint()).isValid()) {
        event->accept();
        emit modifyRequested();
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}

} // namespace lavodc
