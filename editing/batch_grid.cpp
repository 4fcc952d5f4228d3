#include "editing/batch_grid.h"

#include "core/batch_marks.h"
#include "core/day_marks.h"
#include "editing/box_text.h"
#include "editing/day_keys.h"
#include "editing/worker_table_model.h"
#include "services/prompts.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>

#include <algorithm>

namespace lavodc {

namespace {

bool isEnter(const QKeyEvent& key)
{
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

// The day column is white unless its cell holds stray text from a file.
class BatchCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() == BatchGrid::kDayColumn && option->backgroundBrush.style() == Qt::NoBrush)
            option->backgroundBrush = Qt::white;
    }
};

// The width a title needs, measured as the header measures its own sections (bold).
int titleWidth(const QHeaderView& header, const QString& title)
{
    QStyleOptionHeader option;
    option.initFrom(&header);
    option.orientation = Qt::Horizontal;
    QFont bold = header.font();
    bold.setBold(true);
    option.fontMetrics = QFontMetrics(bold);
    option.text = title;
    return header.style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), &header).width();
}

// The width a cell needs for `text`, measured as the view's delegate measures its cells,
// and the grid line.
int cellWidth(const QTableView& view, const QString& text)
{
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.widget = &view;
    option.font = view.font();
    option.fontMetrics = view.fontMetrics();
    option.features = QStyleOptionViewItem::HasDisplay;
    option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    option.textElideMode = Qt::ElideNone;
    option.text = text;
    const QSize size = view.style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), &view);
    return size.width() + (view.showGrid() ? 1 : 0);
}

QChar widestDigit(const QFontMetrics& metrics)
{
    QChar widest = u'0';
    for (char16_t digit = u'1'; digit <= u'9'; ++digit)
        if (metrics.horizontalAdvance(QChar(digit)) > metrics.horizontalAdvance(widest))
            widest = QChar(digit);
    return widest;
}

} // namespace

BatchGrid::BatchGrid(WorkerTable& table, Prompts& prompts, QWidget* parent)
    : QTableView(parent),
      table_(table),
      prompts_(prompts),
      model_(new WorkerTableModel(table, BatchGridColumns(0), WorkerTableModel::Rows::All, this))
{
    setModel(model_);
    setItemDelegate(new BatchCellDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
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
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { takeCurrentFromSelection(current); });
    showTableCurrent();
}

int BatchGrid::columnWidthFor(int column) const
{
    const GridColumn& shown = model_->columns()[std::size_t(column)];
    const QHeaderView& header = *horizontalHeader();
    const QString title = ShownText(shown.title);
    if (column == kDayColumn) {
        // Wide enough for every day's title, so that the width stays when the date changes.
        int width = cellWidth(*this, ShownText(kDayMark));
        for (int day = 0; day < kDayCount; ++day)
            width = std::max(width, titleWidth(header, ShownText(BatchGridColumns(day)[kDayColumn].title)));
        return width;
    }
    const QChar digit = widestDigit(fontMetrics());
    int width = titleWidth(header, title);
    if (shown.field == "pName") {
        // Ten bytes: five Hangul syllables or ten Latin letters.
        width = std::max({width, cellWidth(*this, QStringLiteral("가나다라마")), cellWidth(*this, QString(10, u'W'))});
    } else if (shown.field == "JmnNo") {
        width = std::max(width, cellWidth(*this, QString(6, digit) + u'-' + QString(7, digit)));
    } else if (shown.field == "nNal") {
        width = std::max(width, cellWidth(*this, QString(2, digit)));
    } else {
        width = shown.width;
    }
    return width;
}

void BatchGrid::applyWidths()
{
    for (int i = 0; i < model_->columnCount(); ++i)
        setColumnWidth(i, columnWidthFor(i));
}

void BatchGrid::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        applyWidths();
}

int BatchGrid::fullWidth() const
{
    int width = verticalHeader()->width() + 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    for (int i = 0; i < model_->columnCount(); ++i)
        width += columnWidth(i);
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
        // Enter in the day column recounts the current worker.
        if (selectedColumn() == kDayColumn && table_.Active() && !table_.IsEmpty()) {
            table_.RecountDays();
            emit daysEdited();
        }
        event->accept();
        return;
    }
    if (const std::optional<std::string> typed = TypedDayKey(*event)) {
        event->accept();
        // Only the day column takes keys; elsewhere they are discarded without a word.
        if (selectedColumn() == kDayColumn)
            typeIntoDay(*typed);
        return;
    }
    QTableView::keyPressEvent(event);
}

void BatchGrid::typeIntoDay(const std::string& typed)
{
    const std::optional<std::string_view> cell = DayCellAfterTyping(typed);
    if (!cell || !table_.Active() || table_.IsEmpty()) {
        prompts_.Beep();
        return;
    }
    const int row = table_.CurrentIndex();
    const WorkerRow before = table_.RowAt(row);
    SetDayMark(table_, day_, *cell);
    const WorkerRow& after = table_.RowAt(row);
    const bool changed = after.days != before.days || after.nNal != before.nNal;
    // A mark moves on to the next worker, so that a crew is marked by typing down the column;
    // Backspace stays.
    if (!cell->empty() && row + 1 < model_->rowCount())
        setCurrentIndex(model_->index(row + 1, kDayColumn));
    if (changed)
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
    ToggleDayMark(table_, day_);
    emit daysEdited();
}

} // namespace lavodc
