#include "editing/worker_list_view.h"

#include "core/grid_columns.h"
#include "editing/box_text.h"
#include "editing/worker_table_model.h"

#include <QEvent>
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
    setTextElideMode(Qt::ElideNone);   // a narrow column cuts its text, as the form does
    verticalHeader()->setDefaultSectionSize(18);
    verticalHeader()->setFixedWidth(12);
    horizontalHeader()->setFixedHeight(20);
    horizontalHeader()->setHighlightSections(false);
    applyWidths();

    connect(model_, &WorkerTableModel::currentRowChanged, this, [this] { showTableCurrent(); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        fitRowNumbers();
        showTableCurrent();
    });
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(model_, signal, this, [this] { fitRowNumbers(); });
    fitRowNumbers();
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { takeCurrentFromSelection(current); });
}

namespace {

// The widest text a column of the list can show, by field. Address and reason keep the
// widths they were drawn with.
QStringList widestValues(const std::string& field)
{
    if (field == "pName")   // ten bytes: five Hangul syllables or ten letters
        return {QStringLiteral("가나다라마"), QStringLiteral("WWWWWWWWWW")};
    if (field == "JmnNo")
        return {QStringLiteral("888888-8888888")};
    if (field == "nTel")
        return {QStringLiteral("(8888)8888-8888"), QStringLiteral("(888) 888-8888")};
    if (field == "nNal")
        return {QStringLiteral("31")};
    if (field == "nDay")
        return {QStringLiteral("88.88")};
    if (field == "SmMny")
        return {QStringLiteral("888,888,888,888")};
    return {};
}

} // namespace

int FittedColumnWidth(const QFontMetrics& cells, const QFontMetrics& titles, const QString& title,
                      const QStringList& values, int designed)
{
    if (values.isEmpty())
        return designed;
    // Room for the cell's margins on both sides and the grid line.
    constexpr int kCellPadding = 10;
    int widest = titles.horizontalAdvance(title);
    for (const QString& value : values)
        widest = qMax(widest, cells.horizontalAdvance(value));
    return widest + kCellPadding;
}

void WorkerListView::applyWidths()
{
    const auto& columns = WorkerListColumns();
    const QFontMetrics cells(font());
    const QFontMetrics titles(horizontalHeader()->font());
    for (int i = 0; i < int(columns.size()); ++i) {
        const GridColumn& column = columns[std::size_t(i)];
        setColumnWidth(i, FittedColumnWidth(cells, titles, ShownText(column.title), widestValues(column.field),
                                            column.width));
    }
}

void WorkerListView::fitRowNumbers()
{
    const QFontMetrics numbers(verticalHeader()->font());
    const int width = numbers.horizontalAdvance(QString::number(qMax(1, model_->rowCount()))) + 8;
    verticalHeader()->setFixedWidth(qMax(12, width));
}

void WorkerListView::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        applyWidths();
        fitRowNumbers();
    }
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
