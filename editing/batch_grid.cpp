#include "editing/batch_grid.h"

#include "core/batch_marks.h"
#include "core/day_marks.h"
#include "editing/day_cell_delegate.h"
#include "editing/worker_table_model.h"
#include "services/prompts.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>

namespace lavodc {

namespace {

bool isEnter(const QKeyEvent& key)
{
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

} // namespace

class BatchCellDelegate : public DayCellDelegate {
public:
    explicit BatchCellDelegate(BatchGrid* grid)
        : DayCellDelegate(grid, [grid] { grid->toggleCurrentDay(); }), grid_(grid) {}

protected:
    void prepareEditor(QLineEdit* editor) const override { editor->setAlignment(Qt::AlignCenter); }

    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        DayCellDelegate::initStyleOption(option, index);
        if (index.column() == BatchGrid::kDayColumn)
            option->backgroundBrush = Qt::white;
    }

    // Enter stores the typed text at once, not queued as the view would, so that the
    // recount that follows sees it.
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && isEnter(*static_cast<QKeyEvent*>(event))) {
            auto* box = qobject_cast<QLineEdit*>(object);
            if (box) {
                const bool typed = box->isModified();
                emit commitData(box);
                emit closeEditor(box, QAbstractItemDelegate::NoHint);
                grid_->enterInDayColumn(typed);
                return true;
            }
        }
        return DayCellDelegate::eventFilter(object, event);
    }

private:
    BatchGrid* grid_;
};

BatchGrid::BatchGrid(WorkerTable& table, Prompts& prompts, QWidget* parent)
    : QTableView(parent),
      table_(table),
      prompts_(prompts),
      model_(new WorkerTableModel(table, BatchGridColumns(0), WorkerTableModel::Rows::All, this))
{
    model_->setDaysEditable(true);
    setModel(model_);
    delegate_ = new BatchCellDelegate(this);
    setItemDelegate(delegate_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    verticalHeader()->setDefaultSectionSize(18);
    verticalHeader()->setFixedWidth(12);
    horizontalHeader()->setFixedHeight(20);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsClickable(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    applyWidths();

    // The current line stays highlighted while the date box or the button has the focus.
    QPalette colours = palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    setPalette(colours);

    connect(model_, &WorkerTableModel::currentRowChanged, this, [this] { showTableCurrent(); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        applyWidths();
        showTableCurrent();
    });
    connect(model_, &WorkerTableModel::dayTyped, this, &BatchGrid::daysEdited);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { takeCurrentFromSelection(current); });
    showTableCurrent();
}

void BatchGrid::applyWidths()
{
    const auto& columns = model_->columns();
    for (int i = 0; i < int(columns.size()); ++i)
        setColumnWidth(i, columns[std::size_t(i)].width);
}

int BatchGrid::fullWidth() const
{
    int width = verticalHeader()->width() + 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    for (const GridColumn& column : model_->columns())
        width += column.width;
    return width;
}

void BatchGrid::showDay(int dayIndex)
{
    day_ = dayIndex;
    model_->setColumns(BatchGridColumns(dayIndex));
}

int BatchGrid::selectedColumn() const
{
    return currentIndex().isValid() ? currentIndex().column() : column_;
}

void BatchGrid::selectColumn(int column)
{
    column_ = column;
    showTableCurrent();
}

void BatchGrid::showTableCurrent()
{
    following_ = true;
    const int row = table_.Active() ? table_.CurrentIndex() : -1;
    if (row < 0 || row >= model_->rowCount()) {
        selectionModel()->clear();
    } else {
        const QModelIndex cell = model_->index(row, column_);
        selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
        scrollTo(cell);
    }
    following_ = false;
}

void BatchGrid::takeCurrentFromSelection(const QModelIndex& current)
{
    if (!current.isValid())
        return;
    column_ = current.column();
    if (following_ || table_.Frozen() || !table_.Active())
        return;
    if (current.row() != table_.CurrentIndex() && current.row() < table_.RecordCount())
        table_.MoveTo(current.row());
}

void BatchGrid::keyPressEvent(QKeyEvent* event)
{
    const int lastRow = model_->rowCount() - 1;
    if (event->key() == Qt::Key_Insert
        || (event->key() == Qt::Key_Down && currentIndex().row() >= lastRow)) {
        event->accept();   // the grid never adds a worker
        return;
    }
    if (isEnter(*event)) {
        if (selectedColumn() == kDayColumn)
            enterInDayColumn(false);
        event->accept();
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint() && selectedColumn() != kDayColumn) {
        event->accept();   // only the day column takes typed text
        return;
    }
    QTableView::keyPressEvent(event);
}

void BatchGrid::enterInDayColumn(bool typed)
{
    // A typed text was stored and counted when the editor committed it.
    if (typed || !table_.Active() || table_.IsEmpty())
        return;
    table_.RecountDays();
    emit daysEdited();
}

void BatchGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    const QModelIndex clicked = indexAt(event->position().toPoint());
    if (clicked.isValid() && clicked != currentIndex())
        setCurrentIndex(clicked);
    toggleCurrentDay();
}

void BatchGrid::toggleCurrentDay()
{
    if (!table_.Active() || table_.IsEmpty()) {
        prompts_.Beep();
        return;
    }
    if (selectedColumn() != kDayColumn)
        return;
    // The open editor shows the old mark; it closes without storing anything.
    if (QWidget* editor = delegate_->openEditor())
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    ToggleDayMark(table_, day_);
    emit daysEdited();
}

} // namespace lavodc
