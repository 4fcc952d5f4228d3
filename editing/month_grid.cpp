#include "editing/month_grid.h"

#include "core/worker_table.h"
#include "editing/month_grid_model.h"
#include "editing/month_grid_view.h"
#include "services/prompts.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace lavodc {

MonthGrid::MonthGrid(WorkerTable& table, Prompts& prompts, QWidget* owner)
    : QWidget(owner, Qt::Window), table_(table), prompts_(prompts), model_(new MonthGridModel(table, this))
{
    setObjectName(QStringLiteral("MonthGrid"));
    setWindowTitle(QStringLiteral("출역표"));

    Grid = new MonthGridView(table, model_, this);
    Grid->setObjectName(QStringLiteral("MonthGridView"));
    HintLine = new QLabel(QStringLiteral(
        " 누르기: √ 표시/지우기   끌기: 범위 선택   날짜 제목: 그날 전체   스페이스: 표시 또는 지우기   "
        "Delete: 지우기   Ctrl+Z: 되돌리기   Ctrl+Y: 다시   Esc: 닫기"), this);
    HintLine->setObjectName(QStringLiteral("HintLine"));

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(4);
    column->addWidget(Grid, 1);
    column->addWidget(HintLine);

    connect(Grid, &MonthGridView::toggleRequested, this, &MonthGrid::toggleDay);
    connect(Grid, &MonthGridView::fillRequested, this, &MonthGrid::fillSelection);
    connect(Grid, &MonthGridView::clearRequested, this, &MonthGrid::clearSelection);
    connect(Grid, &MonthGridView::undoRequested, this, &MonthGrid::undo);
    connect(Grid, &MonthGridView::redoRequested, this, &MonthGrid::redo);
}

void MonthGrid::showMonth(std::string_view yearText, std::string_view monthText)
{
    model_->showMonth(yearText, monthText);
}

void MonthGrid::open(const QRect& ownerFrame)
{
    if (!placed_) {
        placed_ = true;
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
        const int width = std::min(Grid->fullWidth() + 8, available.width());
        const int height = std::clamp(ownerFrame.height() - 140, 300, std::max(300, available.height()));
        const int left = std::clamp(ownerFrame.left() + (ownerFrame.width() - width) / 2, available.left(),
                                    std::max(available.left(), available.right() - width));
        resize(width, height);
        move(left, ownerFrame.top() + 110);
    }
    show();
    raise();
    activateWindow();
    Grid->setFocus();
}

void MonthGrid::run(const std::function<void()>& change)
{
    try {
        change();
    } catch (const std::exception& error) {
        prompts_.ErrorBox(QString::fromStdString(error.what()));
    }
}

void MonthGrid::fill(const DaySelection& cells, DayFill fill)
{
    if (!table_.Active() || table_.IsEmpty())
        return;
    // Many workers change in one frozen walk, after which every view starts afresh; the grid
    // keeps what was selected and where it was scrolled to.
    const MonthGridView::Place kept = Grid->place();
    DayEdit edit = FillDays(table_, cells, fill);
    if (edit.empty())
        return;
    Grid->restore(kept);
    history_.Record(std::move(edit));
    emit daysEdited();
}

void MonthGrid::toggleDay(int row, int dayIndex)
{
    if (!table_.Active() || row < 0 || row >= table_.RecordCount() || dayIndex < 0)
        return;
    run([&] {
        const DaySelection cell = SelectDays({{row, row, dayIndex, dayIndex}}, table_.RecordCount());
        fill(cell, SpaceFill(table_, cell));
    });
}

void MonthGrid::fillSelection()
{
    run([this] {
        const DaySelection cells = Grid->selectedDays();
        fill(cells, SpaceFill(table_, cells));
    });
}

void MonthGrid::clearSelection()
{
    run([this] { fill(Grid->selectedDays(), DayFill::Clear); });
}

void MonthGrid::replay(bool undo)
{
    run([this, undo] {
        const MonthGridView::Place kept = Grid->place();
        const DaySelection cells = undo ? history_.Undo(table_) : history_.Redo(table_);
        if (cells.empty()) {
            prompts_.Beep();
            return;
        }
        // What was undone or redone is shown selected.
        Grid->restore(kept);
        Grid->selectDays(cells);
        emit daysEdited();
    });
}

void MonthGrid::undo()
{
    replay(true);
}

void MonthGrid::redo()
{
    replay(false);
}

void MonthGrid::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MonthGrid::closeEvent(QCloseEvent* event)
{
    // Undo reaches back to when the window was opened, not further.
    history_.Clear();
    QWidget::closeEvent(event);
}

} // namespace lavodc
