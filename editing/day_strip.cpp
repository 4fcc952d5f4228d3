#include "editing/day_strip.h"

#include "core/day_marks.h"
#include "core/grid_columns.h"
#include "editing/day_keys.h"
#include "editing/worker_table_model.h"
#include "services/prompts.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

namespace lavodc {

DayStrip::DayStrip(WorkerTable& table, Prompts& prompts, QWidget* parent)
    : QTableView(parent),
      table_(table),
      prompts_(prompts),
      model_(new WorkerTableModel(table, DayStripColumns(), WorkerTableModel::Rows::CurrentOnly, this))
{
    setModel(model_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(true);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    verticalHeader()->hide();
    horizontalHeader()->setDefaultSectionSize(30);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setDefaultSectionSize(18);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    QFont titles = horizontalHeader()->font();
    titles.setBold(true);
    horizontalHeader()->setFont(titles);
    QPalette navy = horizontalHeader()->palette();
    navy.setColor(QPalette::ButtonText, QColor(0, 0, 128));
    navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
    horizontalHeader()->setPalette(navy);
    QFont cells(QStringLiteral("Monospace"));
    cells.setStyleHint(QFont::TypeWriter);
    cells.setFixedPitch(true);
    cells.setPointSize(9);
    setFont(cells);
    horizontalHeader()->setFont(titles);
    QPalette blue = palette();
    blue.setColor(QPalette::Text, Qt::blue);
    setPalette(blue);

    // After the table changes the selection stays on the day it was on.
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        if (current.isValid())
            day_ = current.column();
    });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        selectDay(day_);
        handOnFocusWhenEmpty();
    });
}

int DayStrip::selectedDay() const
{
    return currentIndex().isValid() ? currentIndex().column() : day_;
}

void DayStrip::selectDay(int dayIndex)
{
    if (model_->rowCount() == 0)
        return;
    setCurrentIndex(model_->index(0, qBound(0, dayIndex, kDayCount - 1)));
}

void DayStrip::handOnFocusWhenEmpty()
{
    if (model_->rowCount() == 0 && hasFocus() && focusWhenEmpty_)
        focusWhenEmpty_->setFocus(Qt::OtherFocusReason);
}

void DayStrip::keyPressEvent(QKeyEvent* event)
{
    const std::optional<std::string> typed = TypedDayKey(*event);
    if (!typed) {
        QTableView::keyPressEvent(event);
        return;
    }
    event->accept();
    typeIntoDay(*typed);
}

void DayStrip::typeIntoDay(const std::string& typed)
{
    const std::optional<std::string_view> cell = DayCellAfterTyping(typed);
    if (!cell || !table_.Active() || table_.IsEmpty()) {
        prompts_.Beep();
        return;
    }
    const int day = selectedDay();
    const WorkerRow before = table_.RowAt(table_.CurrentIndex());
    SetDayMark(table_, day, *cell);
    const WorkerRow& after = table_.RowAt(table_.CurrentIndex());
    // A mark moves on as the double-click does; Backspace stays to let the day be typed again.
    if (!cell->empty() && day + 1 < kDayCount)
        selectDay(day + 1);
    if (after.days != before.days || after.nNal != before.nNal)
        emit daysEdited();
}

void DayStrip::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    const QModelIndex clicked = indexAt(event->position().toPoint());
    if (clicked.isValid() && clicked != currentIndex())
        setCurrentIndex(clicked);
    CuntGridDblClick();
}

void DayStrip::CuntGridDblClick()
{
    if (!table_.Active() || table_.IsEmpty()) {
        prompts_.Beep();
        return;
    }
    const int day = selectedDay();
    ToggleDayMark(table_, day);
    setFocus();
    if (day + 1 < kDayCount)
        selectDay(day + 1);
    emit daysEdited();
}

} // namespace lavodc
