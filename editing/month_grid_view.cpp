#include "editing/month_grid_view.h"

#include "core/worker_table.h"
#include "editing/month_grid_model.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

namespace lavodc {

namespace {

constexpr int kRowHeight = 20;
constexpr Qt::KeyboardModifiers kCommandModifiers = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

void keepHighlightWhenInactive(QTableView* view)
{
    // The selection stays visible while the clerk works in the main window.
    QPalette colours = view->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    view->setPalette(colours);
}

} // namespace

MonthGridView::MonthGridView(WorkerTable& table, MonthGridModel* model, QWidget* parent)
    : QTableView(parent), table_(table), model_(model), frozen_(new QTableView(this)),
      column_(MonthGridModel::kFirstDayColumn)
{
    setModel(model_);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->viewport()->installEventFilter(this);
    keepHighlightWhenInactive(this);

    // Name and number stay at the left: a second view over the same model and selection,
    // laid over this one's first two columns.
    frozen_->setModel(model_);
    frozen_->setSelectionModel(selectionModel());
    frozen_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    frozen_->setSelectionBehavior(QAbstractItemView::SelectRows);
    frozen_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    frozen_->setFocusPolicy(Qt::NoFocus);
    frozen_->setFrameShape(QFrame::NoFrame);
    frozen_->setWordWrap(false);
    frozen_->setTextElideMode(Qt::ElideNone);
    frozen_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->verticalHeader()->hide();
    frozen_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    frozen_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    frozen_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    frozen_->horizontalHeader()->setSectionsClickable(false);
    frozen_->horizontalHeader()->setHighlightSections(false);
    keepHighlightWhenInactive(frozen_);
    viewport()->stackUnder(frozen_);
    frozen_->show();

    connect(verticalScrollBar(), &QScrollBar::valueChanged, frozen_->verticalScrollBar(), &QScrollBar::setValue);
    connect(frozen_->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(), &QScrollBar::setValue);
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        shapeColumns();
        followTable();
    });
    connect(model_, &WorkerTableModel::currentRowChanged, this, [this] { followTable(); });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { takeCurrentFromSelection(current); });
    shapeColumns();
    followTable();
}

// ---- columns and the frozen part --------------------------------------------------------

void MonthGridView::shapeColumns()
{
    constexpr int kPadding = 12;
    const QFontMetrics cells(font());
    QFont bold = horizontalHeader()->font();
    bold.setBold(true);
    const QFontMetrics titles(bold);
    auto widest = [](const QFontMetrics& metrics, std::initializer_list<QString> texts) {
        int width = 0;
        for (const QString& text : texts)
            width = std::max(width, metrics.horizontalAdvance(text));
        return width;
    };
    // Five Hangul syllables fill a name's ten bytes; a day holds the mark or up to three bytes
    // of stray text.
    const int name = std::max(titles.horizontalAdvance(QStringLiteral("성명")),
                              cells.horizontalAdvance(QStringLiteral("가나다라마")));
    const int number = std::max(titles.horizontalAdvance(QStringLiteral("주민등록번호")),
                                cells.horizontalAdvance(QStringLiteral("888888-8888888")));
    const int day = std::max(widest(titles, {QStringLiteral("31"), QStringLiteral("토")}),
                             widest(cells, {QStringLiteral("√"), QStringLiteral("휴")}));
    const int count = titles.horizontalAdvance(QStringLiteral("근로일수"));

    for (int column = 0; column < model_->columnCount(); ++column) {
        int width = day + 8;
        if (column == MonthGridModel::kNameColumn)
            width = name + kPadding;
        else if (column == MonthGridModel::kNumberColumn)
            width = number + kPadding;
        else if (column == model_->countColumn())
            width = count + kPadding;
        setColumnWidth(column, width);
        frozen_->setColumnWidth(column, width);
        frozen_->setColumnHidden(column, column > MonthGridModel::kNumberColumn);
    }
    const int titleHeight = 2 * titles.lineSpacing() + 6;
    horizontalHeader()->setFixedHeight(titleHeight);
    frozen_->horizontalHeader()->setFixedHeight(titleHeight);
    placeFrozen();
}

int MonthGridView::frozenWidth() const
{
    return columnWidth(MonthGridModel::kNameColumn) + columnWidth(MonthGridModel::kNumberColumn);
}

void MonthGridView::placeFrozen()
{
    frozen_->setGeometry(frameWidth(), frameWidth(), frozenWidth(),
                         viewport()->height() + horizontalHeader()->height());
}

void MonthGridView::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    placeFrozen();
}

void MonthGridView::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        frozen_->setFont(font());
        shapeColumns();
    }
}

int MonthGridView::fullWidth() const
{
    int width = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < model_->columnCount(); ++column)
        width += columnWidth(column);
    return width;
}

QWidget* MonthGridView::viewportOf(int column) const
{
    return column <= MonthGridModel::kNumberColumn ? frozen_->viewport() : viewport();
}

QRect MonthGridView::cellRect(int row, int column) const
{
    const QModelIndex index = model_->index(row, column);
    return column <= MonthGridModel::kNumberColumn ? frozen_->visualRect(index) : visualRect(index);
}

// A day moved to with the keys shows right of the frozen columns, not under them.
void MonthGridView::keepRightOfFrozen(const QModelIndex& index)
{
    if (!index.isValid() || index.column() <= MonthGridModel::kNumberColumn)
        return;
    const QRect cell = visualRect(index);
    if (cell.left() < frozenWidth())
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + cell.left() - frozenWidth());
}

void MonthGridView::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    QTableView::scrollTo(index, hint);
    keepRightOfFrozen(index);
}

QModelIndex MonthGridView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    QModelIndex next = QTableView::moveCursor(action, modifiers);
    if (!next.isValid() || model_->days().empty())
        return next;
    // The keys move over the days only.
    const int column = std::clamp(next.column(), int(MonthGridModel::kFirstDayColumn), model_->lastDayColumn());
    if (column != next.column())
        next = model_->index(next.row(), column);
    return next;
}

// ---- the current row ----------------------------------------------------------------------

void MonthGridView::followTable()
{
    if (!table_.Active() || table_.Frozen())
        return;
    const int row = table_.CurrentIndex();
    if (row < 0 || row >= model_->rowCount())
        return;
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.row() == row)
        return;
    const int column = std::clamp(current.isValid() ? current.column() : column_, 0, model_->lastDayColumn());
    const QModelIndex cell = model_->index(row, column);
    following_ = true;
    selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
    scrollTo(cell);
    following_ = false;
}

void MonthGridView::takeCurrentFromSelection(const QModelIndex& current)
{
    if (!current.isValid())
        return;
    column_ = current.column();
    if (following_ || choosingDays_ || table_.Frozen() || !table_.Active())
        return;
    if (current.row() != table_.CurrentIndex() && current.row() < table_.RecordCount())
        table_.MoveTo(current.row());
}

// ---- selection ----------------------------------------------------------------------------

DaySelection MonthGridView::selectedDays() const
{
    std::vector<DayBlock> blocks;
    if (model_->days().empty())
        return {};
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        const int left = std::max(range.left(), int(MonthGridModel::kFirstDayColumn));
        const int right = std::min(range.right(), model_->lastDayColumn());
        if (left > right)
            continue;
        blocks.push_back({range.top(), range.bottom(), model_->dayOfColumn(left), model_->dayOfColumn(right)});
    }
    return SelectDays(blocks, model_->rowCount());
}

void MonthGridView::selectDays(const DaySelection& cells)
{
    QItemSelection selection;
    const int rows = std::min(int(cells.size()), model_->rowCount());
    const int days = int(model_->days().size());
    for (int row = 0; row < rows;) {
        const std::uint32_t mask = cells[std::size_t(row)];
        int last = row;
        while (last + 1 < rows && cells[std::size_t(last + 1)] == mask)
            ++last;
        // Rows that share their days make one block for each run of days.
        for (int day = 0; day < days; ++day) {
            if (!(mask & (std::uint32_t(1) << day)))
                continue;
            int end = day;
            while (end + 1 < days && (mask & (std::uint32_t(1) << (end + 1))))
                ++end;
            selection.select(model_->index(row, model_->columnOfDay(day)),
                             model_->index(last, model_->columnOfDay(end)));
            day = end;
        }
        row = last + 1;
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

QItemSelection MonthGridView::selectionOf(const QList<QRect>& blocks) const
{
    QItemSelection selection;
    const int rows = model_->rowCount();
    const int columns = model_->columnCount();
    for (const QRect& block : blocks) {
        const int top = std::max(block.top(), 0);
        const int bottom = std::min(block.bottom(), rows - 1);
        const int left = std::max(block.left(), 0);
        const int right = std::min(block.right(), columns - 1);
        if (top <= bottom && left <= right)
            selection.select(model_->index(top, left), model_->index(bottom, right));
    }
    return selection;
}

void MonthGridView::widenToDays()
{
    QList<QRect> blocks;
    const int rows = model_->rowCount();
    if (rows == 0 || model_->days().empty())
        return;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        const int left = std::max(range.left(), int(MonthGridModel::kFirstDayColumn));
        const int right = std::min(range.right(), model_->lastDayColumn());
        if (left <= right)
            blocks.append(QRect(left, 0, right - left + 1, rows));
    }
    selectionModel()->select(selectionOf(blocks), QItemSelectionModel::ClearAndSelect);
}

void MonthGridView::widenToLines()
{
    QList<QRect> blocks;
    const int columns = model_->columnCount();
    for (const QItemSelectionRange& range : selectionModel()->selection())
        blocks.append(QRect(0, range.top(), columns, range.height()));
    selectionModel()->select(selectionOf(blocks), QItemSelectionModel::ClearAndSelect);
}

MonthGridView::Place MonthGridView::place() const
{
    Place kept;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        kept.blocks.append(QRect(range.left(), range.top(), range.width(), range.height()));
    kept.currentRow = currentIndex().row();
    kept.currentColumn = currentIndex().column();
    kept.vertical = verticalScrollBar()->value();
    kept.horizontal = horizontalScrollBar()->value();
    return kept;
}

void MonthGridView::restore(const Place& kept)
{
    following_ = true;
    if (kept.currentRow >= 0 && kept.currentRow < model_->rowCount() && kept.currentColumn >= 0
        && kept.currentColumn < model_->columnCount())
        selectionModel()->setCurrentIndex(model_->index(kept.currentRow, kept.currentColumn),
                                          QItemSelectionModel::NoUpdate);
    selectionModel()->select(selectionOf(kept.blocks), QItemSelectionModel::ClearAndSelect);
    verticalScrollBar()->setValue(kept.vertical);
    horizontalScrollBar()->setValue(kept.horizontal);
    following_ = false;
}

// ---- keys and mouse -------------------------------------------------------------------------

void MonthGridView::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    switch (event->key()) {
    case Qt::Key_Space:
        if (modifiers == Qt::NoModifier)
            emit fillRequested();
        else if (modifiers == Qt::ControlModifier)
            widenToDays();
        else if (modifiers == Qt::ShiftModifier)
            widenToLines();
        event->accept();
        return;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        emit clearRequested();
        event->accept();
        return;
    case Qt::Key_Escape:
        event->ignore();   // the window closes
        return;
    case Qt::Key_Insert:
        event->accept();   // the grid never adds a worker
        return;
    default:
        break;
    }
    if (event->matches(QKeySequence::Undo)) {
        emit undoRequested();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Redo) || (event->key() == Qt::Key_Y && modifiers == Qt::ControlModifier)) {
        emit redoRequested();
        event->accept();
        return;
    }
    // A typed letter would jump to a worker by name; the grid takes no text.
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint() && !(modifiers & kCommandModifiers)) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void MonthGridView::mousePressEvent(QMouseEvent* event)
{
    pressed_ = QPersistentModelIndex();
    const QModelIndex index = indexAt(event->position().toPoint());
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier));
    if (event->button() == Qt::LeftButton && plain && model_->dayOfColumn(index.column()) >= 0)
        pressed_ = index;
    QTableView::mousePressEvent(event);
}

void MonthGridView::mouseMoveEvent(QMouseEvent* event)
{
    // Moving off the pressed day makes the click a drag that selects.
    if (pressed_.isValid() && indexAt(event->position().toPoint()) != pressed_)
        pressed_ = QPersistentModelIndex();
    QTableView::mouseMoveEvent(event);
}

void MonthGridView::mouseReleaseEvent(QMouseEvent* event)
{
    QTableView::mouseReleaseEvent(event);
    const QPersistentModelIndex clicked = pressed_;
    pressed_ = QPersistentModelIndex();
    if (event->button() != Qt::LeftButton || !clicked.isValid()
        || indexAt(event->position().toPoint()) != clicked)
        return;
    toggled_ = clicked;
    emit toggleRequested(clicked.row(), model_->dayOfColumn(clicked.column()));
}

void MonthGridView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second click of a double-click on the day the first one toggled does not toggle it
    // back: clerks double-click days in the day strip, and get one toggle there too.
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid() && index == toggled_) {
        pressed_ = QPersistentModelIndex();
        event->accept();
        return;
    }
    QMouseEvent press(QEvent::MouseButtonPress, event->position(), event->scenePosition(),
                      event->globalPosition(), event->button(), event->buttons(), event->modifiers());
    mousePressEvent(&press);
}

bool MonthGridView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != horizontalHeader()->viewport())
        return QTableView::eventFilter(watched, event);
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        // Only a day's title selects its column; the count's title does nothing.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (model_->dayOfColumn(horizontalHeader()->logicalIndexAt(mouse->position().toPoint())) < 0)
            return true;
        // Choosing days puts the cursor on the top line; the current worker stays who he was.
        if (!choosingDays_)
            keptRow_ = currentIndex().row();
        choosingDays_ = true;
    } else if (type == QEvent::MouseButtonRelease && choosingDays_) {
        choosingDays_ = false;
        const int column = currentIndex().column();
        if (keptRow_ >= 0 && keptRow_ < model_->rowCount() && column >= 0)
            selectionModel()->setCurrentIndex(model_->index(keptRow_, column), QItemSelectionModel::NoUpdate);
    }
    return QTableView::eventFilter(watched, event);
}

} // namespace lavodc
