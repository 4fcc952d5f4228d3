#include "editing/day_strip.h"

#include "core/day_marks.h"
#include "core/grid_columns.h"
#include "editing/day_cell_delegate.h"
#include "editing/worker_table_model.h"
#include "services/prompts.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>

namespace lavodc {

// The strip's editors take its font and colours and its key maps.
class DayStripCellDelegate : public DayCellDelegate {
public:
    explicit DayStripCellDelegate(DayStrip* strip)
        : DayCellDelegate(strip, [strip] { strip->CuntGridDblClick(); }), strip_(strip) {}

protected:
    void prepareEditor(QLineEdit* editor) const override
    {
        editor->setFont(strip_->font());
        editor->setPalette(strip_->palette());
        strip_->installKeyFilters(editor);
    }

private:
    DayStrip* strip_;
};

DayStrip::DayStrip(WorkerTable& table, Prompts& prompts, QWidget* parent)
    : QTableView(parent),
      table_(table),
      prompts_(prompts),
      model_(new WorkerTableModel(table, DayStripColumns(), WorkerTableModel::Rows::CurrentOnly, this))
{
    model_->setDaysEditable(true);
    setModel(model_);
    delegate_ = new DayStripCellDelegate(this);
    setItemDelegate(delegate_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::AnyKeyPressed
                    | QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
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

    connect(model_, &WorkerTableModel::dayTyped, this, &DayStrip::daysEdited);
    // After the table changes the selection stays on the day it was on.
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        if (current.isValid())
            day_ = current.column();
    });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { selectDay(day_); });
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

void DayStrip::addKeyFilter(QObject* filter)
{
    keyFilters_.append(filter);
    installEventFilter(filter);
    if (QWidget* editor = delegate_->openEditor())
        editor->installEventFilter(filter);
}

void DayStrip::installKeyFilters(QWidget* editor)
{
    for (QObject* filter : keyFilters_)
        editor->installEventFilter(filter);
}

void DayStrip::commitTypedCell()
{
    if (QWidget* editor = delegate_->openEditor())
        commitData(editor);
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
    // The open editor shows the old mark; it closes without storing anything.
    if (QWidget* editor = delegate_->openEditor())
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    ToggleDayMark(table_, day);
    setFocus();
    if (day + 1 < kDayCount)
        selectDay(day + 1);
    else
        reopenEditor();
    emit daysEdited();
}

void DayStrip::reopenEditor()
{
    const QModelIndex current = currentIndex();
    if (current.isValid())
        edit(current);
}

} // namespace lavodc
