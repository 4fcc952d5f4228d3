// The month grid driven as a clerk drives it, with the mouse and the keys: toggles, rectangles,
// whole days and whole workers marked and cleared, undo and redo, the recount, and the worker
// list and the day strip following it over the same table, and it them.
#include "editing/month_grid.h"

#include "core/cp949.h"
#include "core/day_marks.h"
#include "editing/day_strip.h"
#include "editing/month_grid_model.h"
#include "editing/month_grid_view.h"
#include "editing/worker_list_view.h"
#include "editing/worker_table_model.h"
#include "editing_fixture.h"
#include "tests/app/scripted_prompts.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <string>

namespace lavodc {
namespace {

constexpr auto None = Qt::NoModifier;
constexpr auto Ctrl = Qt::ControlModifier;
constexpr auto Shift = Qt::ShiftModifier;

struct CountingListener : WorkerTableListener {
    void tableChanged() override { ++tables; }
    void rowChanged(int) override { ++rows; }
    void currentChanged(int) override {}
    int tables = 0;
    int rows = 0;
};

class MonthGridTest : public ::testing::Test {
protected:
    // 김철수, 박영희, 이민호 and 최지훈 in March 2025, whose 1st is a Saturday.
    void SetUp() override
    {
        testing::AddThreeWorkers(table);
        testing::AddWorker(table, {"최지훈", "880808-1234567", "G.목공"});
        table.First();
        grid.showMonth("2025", "03");
        grid.open(QRect(0, 0, 1000, 700));
        ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
        table.AddListener(&listener);
    }
    void TearDown() override { table.RemoveListener(&listener); }

    MonthGridView& view() { return *grid.Grid; }
    static int column(int dayIndex) { return MonthGridModel::kFirstDayColumn + dayIndex; }

    void click(int row, int gridColumn, Qt::KeyboardModifiers modifiers = None)
    {
        QTest::mouseClick(view().viewportOf(gridColumn), Qt::LeftButton, modifiers,
                          view().cellRect(row, gridColumn).center());
    }
    void clickDay(int row, int dayIndex, Qt::KeyboardModifiers modifiers = None)
    {
        click(row, column(dayIndex), modifiers);
    }
    void clickTitle(int dayIndex, Qt::KeyboardModifiers modifiers = None)
    {
        QHeaderView* titles = view().horizontalHeader();
        const int section = column(dayIndex);
        QTest::mouseClick(titles->viewport(), Qt::LeftButton, modifiers,
                          QPoint(titles->sectionViewportPosition(section) + titles->sectionSize(section) / 2,
                                 titles->height() / 2));
    }
    void drag(int fromRow, int fromDay, int toRow, int toDay)
    {
        QWidget* target = view().viewport();
        QTest::mousePress(target, Qt::LeftButton, None, view().cellRect(fromRow, column(fromDay)).center());
        QTest::mouseMove(target, view().cellRect(toRow, column(toDay)).center());
        QTest::mouseRelease(target, Qt::LeftButton, None, view().cellRect(toRow, column(toDay)).center());
    }
    void key(Qt::Key pressed, Qt::KeyboardModifiers modifiers = None)
    {
        QTest::keyClick(&view(), pressed, modifiers);
    }

    std::string day(int row, int dayIndex) const { return table.RowAt(row).days[std::size_t(dayIndex)]; }
    double count(int row) const { return table.RowAt(row).nNal; }
    bool marked(int row, int dayIndex) const { return day(row, dayIndex) == kDayMark; }
    // The day cells of `row` that hold the mark, as a bit set.
    std::uint32_t marks(int row) const
    {
        std::uint32_t bits = 0;
        for (int d = 0; d < kDayCount; ++d)
            if (marked(row, d))
                bits |= std::uint32_t(1) << d;
        return bits;
    }
    QString shown(QAbstractItemModel* model, int row, int gridColumn, int role = Qt::DisplayRole) const
    {
        return model->data(model->index(row, gridColumn), role).toString();
    }
    QString listDays(int row) { return shown(list.model(), row, 5); }   // 일수
    QString stripDay(int dayIndex) { return shown(strip.model(), 0, dayIndex); }
    QString gridCell(int row, int dayIndex) { return shown(view().model(), row, column(dayIndex)); }

    WorkerTable table;
    testing::ScriptedPrompts prompts;
    WorkerListView list{table};
    DayStrip strip{table, prompts};
    MonthGrid grid{table, prompts, nullptr};
    CountingListener listener;
};

// ---- the mouse -------------------------------------------------------------------------

TEST_F(MonthGridTest, AClickTogglesADayAndTheListAndTheStripFollow)
{
    QSignalSpy edited(&grid, &MonthGrid::daysEdited);
    clickDay(2, 4);

    EXPECT_TRUE(marked(2, 4));
    EXPECT_EQ(count(2), 1);
    // The clicked worker is the current one everywhere.
    EXPECT_EQ(table.CurrentIndex(), 2);
    EXPECT_EQ(list.currentIndex().row(), 2);
    EXPECT_EQ(listDays(2), QStringLiteral("1"));
    EXPECT_EQ(stripDay(4), QStringLiteral("√"));
    EXPECT_EQ(gridCell(2, 4), QStringLiteral("√"));
    EXPECT_EQ(shown(view().model(), 2, view().gridModel()->countColumn()), QStringLiteral("1"));
    EXPECT_EQ(edited.count(), 1);
    // A single cell of the current worker needs no frozen walk.
    EXPECT_EQ(listener.tables, 0);

    clickDay(2, 4);
    EXPECT_FALSE(marked(2, 4));
    EXPECT_EQ(count(2), 0);
    EXPECT_EQ(stripDay(4), QString());
    EXPECT_EQ(edited.count(), 2);
}

TEST_F(MonthGridTest, ADoubleClickTogglesOnceAsInTheDayStrip)
{
    // The second click comes as a press and a double-click, or as a double-click alone.
    QWidget* target = view().viewport();
    for (const bool secondPress : {true, false}) {
        const int dayIndex = secondPress ? 9 : 10;
        const QPoint at = view().cellRect(1, column(dayIndex)).center();
        QTest::mousePress(target, Qt::LeftButton, None, at);
        QTest::mouseRelease(target, Qt::LeftButton, None, at);
        if (secondPress)
            QTest::mousePress(target, Qt::LeftButton, None, at);
        QTest::mouseDClick(target, Qt::LeftButton, None, at);
        QTest::mouseRelease(target, Qt::LeftButton, None, at);
        EXPECT_TRUE(marked(1, dayIndex)) << secondPress;
    }
    EXPECT_EQ(count(1), 2);
}

TEST_F(MonthGridTest, ADragSelectsARectangleThatSpaceMarksAndThenClears)
{
    clickDay(1, 3);   // one mark inside the rectangle: it is still marked whole
    drag(0, 2, 2, 4);
    QSignalSpy edited(&grid, &MonthGrid::daysEdited);
    key(Qt::Key_Space);

    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(marks(row), 0b11100u) << row;
        EXPECT_EQ(count(row), 3) << row;
    }
    EXPECT_EQ(marks(3), 0u);
    EXPECT_EQ(edited.count(), 1);
    EXPECT_EQ(listener.tables, 1);   // three workers: one frozen walk
    // The rectangle stays selected, so a second Space clears it all.
    EXPECT_EQ(SelectedCellCount(view().selectedDays()), 9u);
    key(Qt::Key_Space);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(marks(row), 0u) << row;
    EXPECT_EQ(count(0), 0);
    EXPECT_EQ(listDays(0), QStringLiteral("0"));
}

TEST_F(MonthGridTest, DayTitlesSelectWholeDaysCtrlAddsAndShiftExtends)
{
    table.MoveTo(1);
    clickTitle(2);
    clickTitle(6, Ctrl);
    key(Qt::Key_Space);
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(marks(row), (1u << 2) | (1u << 6)) << row;
    EXPECT_EQ(listener.tables, 1);
    EXPECT_EQ(table.CurrentIndex(), 1);   // a whole day leaves the current worker alone

    clickTitle(10);
    clickTitle(12, Shift);
    key(Qt::Key_Space);
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(marks(row), (1u << 2) | (1u << 6) | (0b111u << 10)) << row;
        EXPECT_EQ(count(row), 5) << row;
    }
    // The count's title selects nothing.
    QHeaderView* titles = view().horizontalHeader();
    const int countColumn = view().gridModel()->countColumn();
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, None,
                      QPoint(titles->sectionViewportPosition(countColumn) + 5, titles->height() / 2));
    EXPECT_EQ(SelectedCellCount(view().selectedDays()), 12u);
}

TEST_F(MonthGridTest, AClickOnANameSelectsTheWorkersMonthOnly)
{
    grid.showMonth("2023", "02");   // 28 days
    click(3, MonthGridModel::kNameColumn);
    EXPECT_EQ(table.CurrentIndex(), 3);
    key(Qt::Key_Space);
    EXPECT_EQ(marks(3), (1u << 28) - 1);   // the days after the 28th are not shown and stay
    EXPECT_EQ(count(3), 28);
    EXPECT_EQ(marks(2), 0u);
}

// ---- the keys --------------------------------------------------------------------------

TEST_F(MonthGridTest, ArrowsMoveShiftArrowsExtendAndCtrlOrShiftSpaceWidenTheSelection)
{
    clickDay(0, 0);
    clickDay(0, 0);   // back to empty, the first day selected
    key(Qt::Key_Down);
    EXPECT_EQ(table.CurrentIndex(), 1);
    EXPECT_EQ(list.currentIndex().row(), 1);
    key(Qt::Key_Left);   // the name is not a day: the cursor stays on the first day
    EXPECT_EQ(view().currentIndex().column(), column(0));
    key(Qt::Key_Right, Shift);
    key(Qt::Key_Right, Shift);
    key(Qt::Key_Down, Shift);
    key(Qt::Key_Space);
    EXPECT_EQ(marks(1), 0b111u);
    EXPECT_EQ(marks(2), 0b111u);
    EXPECT_EQ(table.CurrentIndex(), 2);

    // Ctrl+Space: the selection's days for every worker.
    key(Qt::Key_Space, Ctrl);
    EXPECT_EQ(SelectedCellCount(view().selectedDays()), 12u);
    key(Qt::Key_Space);
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(marks(row), 0b111u) << row;

    // Shift+Space: the whole month of the current worker.
    key(Qt::Key_Up);
    key(Qt::Key_Space, Shift);
    EXPECT_EQ(SelectedCellCount(view().selectedDays()), 31u);
    key(Qt::Key_Space);
    EXPECT_EQ(marks(1), 0x7FFFFFFFu);
    EXPECT_EQ(count(1), 31);
}

TEST_F(MonthGridTest, DeleteClearsTheSelectionAndNeverAWorker)
{
    clickTitle(0);
    key(Qt::Key_Space);
    ASSERT_EQ(count(3), 1);
    QSignalSpy edited(&grid, &MonthGrid::daysEdited);
    key(Qt::Key_Delete);
    EXPECT_EQ(table.RecordCount(), 4);
    EXPECT_TRUE(prompts.texts.empty());
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(marks(row), 0u) << row;
    EXPECT_EQ(count(3), 0);
    EXPECT_EQ(edited.count(), 1);
    // Nothing left to clear: no change, no step.
    key(Qt::Key_Delete);
    EXPECT_EQ(edited.count(), 1);
    key(Qt::Key_Z, Ctrl);
    for (int row = 0; row < 4; ++row)
        EXPECT_TRUE(marked(row, 0)) << row;
}

TEST_F(MonthGridTest, StrayTextShowsOnPaleRedAndCountsAsNotMarked)
{
    table.MoveTo(1);
    SetDayMark(table, 5, "x");
    EXPECT_EQ(gridCell(1, 5), QStringLiteral("x"));
    EXPECT_EQ(view().model()->data(view().model()->index(1, column(5)), Qt::BackgroundRole).value<QColor>(),
              StrayDayBackground());

    // A whole day of marks and one stray text: Space marks, the stray text gives way.
    for (int row : {0, 2, 3}) {
        table.MoveTo(row);
        SetDayMark(table, 5, std::string(kDayMark));
    }
    clickTitle(5);
    key(Qt::Key_Space);
    EXPECT_TRUE(marked(1, 5));
    EXPECT_EQ(count(1), 1);
    EXPECT_EQ(view().model()->data(view().model()->index(1, column(5)), Qt::BackgroundRole), QVariant());
    // Undo brings the text back, as it was.
    key(Qt::Key_Z, Ctrl);
    EXPECT_EQ(day(1, 5), "x");
    EXPECT_EQ(count(1), 0);
    EXPECT_TRUE(marked(0, 5));
}

TEST_F(MonthGridTest, UndoAndRedoWalkTheGridsOwnStepsSinceItWasOpened)
{
    QSignalSpy edited(&grid, &MonthGrid::daysEdited);
    clickDay(0, 0);                 // step 1
    clickTitle(3);
    key(Qt::Key_Space);             // step 2: day 4 for everyone
    drag(1, 10, 2, 11);
    key(Qt::Key_Space);             // step 3
    ASSERT_EQ(edited.count(), 3);

    key(Qt::Key_Z, Ctrl);
    EXPECT_EQ(marks(1), 1u << 3);
    EXPECT_EQ(marks(2), 1u << 3);
    // What was undone shows selected.
    EXPECT_EQ(view().selectedDays(), (DaySelection{0, 0b11u << 10, 0b11u << 10, 0}));
    key(Qt::Key_Z, Ctrl);
    EXPECT_EQ(marks(3), 0u);
    EXPECT_EQ(marks(0), 1u);
    EXPECT_EQ(count(0), 1);
    key(Qt::Key_Y, Ctrl);
    EXPECT_EQ(marks(3), 1u << 3);
    key(Qt::Key_Z, Ctrl | Shift);   // the other redo key
    EXPECT_EQ(marks(1), (1u << 3) | (0b11u << 10));
    EXPECT_EQ(count(1), 3);
    EXPECT_EQ(listDays(1), QStringLiteral("3"));
    EXPECT_EQ(edited.count(), 3 + 4);

    // Nothing more to redo: a beep, no change.
    key(Qt::Key_Y, Ctrl);
    EXPECT_EQ(prompts.beeps, 1);
    EXPECT_EQ(edited.count(), 7);

    // Escape closes the window; opened again, it undoes nothing from before.
    key(Qt::Key_Escape);
    EXPECT_FALSE(grid.isVisible());
    grid.open(QRect(0, 0, 1000, 700));
    key(Qt::Key_Z, Ctrl);
    EXPECT_EQ(prompts.beeps, 2);
    EXPECT_EQ(marks(1), (1u << 3) | (0b11u << 10));
}

// ---- the grid follows the others ----------------------------------------------------------

TEST_F(MonthGridTest, ChangesElsewhereAndTheCurrentWorkerShowInTheGrid)
{
    table.MoveTo(2);
    EXPECT_EQ(view().currentIndex().row(), 2);
    strip.selectDay(7);
    strip.CuntGridDblClick();
    EXPECT_EQ(gridCell(2, 7), QStringLiteral("√"));
    EXPECT_EQ(shown(view().model(), 2, view().gridModel()->countColumn()), QStringLiteral("1"));

    // A worker added in the list's order shows in the grid's.
    testing::AddWorker(table, {"가나다", "010101-3234567", "A.철근원"});
    EXPECT_EQ(view().model()->rowCount(), 5);
    EXPECT_EQ(shown(view().model(), 0, MonthGridModel::kNameColumn), QStringLiteral("가나다"));
    EXPECT_EQ(view().currentIndex().row(), table.CurrentIndex());
    list.selectRow(4);
    EXPECT_EQ(view().currentIndex().row(), 4);
    // Still a day, not a name, under the cursor.
    EXPECT_GE(view().gridModel()->dayOfColumn(view().currentIndex().column()), 0);
}

TEST_F(MonthGridTest, TheDaysFollowTheHeadersMonthWithWeekendTitlesInColour)
{
    MonthGridModel& model = *view().gridModel();
    EXPECT_EQ(model.columnCount(), 2 + 31 + 1);
    EXPECT_EQ(model.headerData(column(0), Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("1\n토"));
    EXPECT_EQ(model.headerData(column(0), Qt::Horizontal, Qt::ForegroundRole).value<QColor>(), SaturdayColour());
    EXPECT_EQ(model.headerData(column(1), Qt::Horizontal, Qt::ForegroundRole).value<QColor>(), SundayColour());
    EXPECT_EQ(model.headerData(column(2), Qt::Horizontal, Qt::ForegroundRole), QVariant());

    grid.showMonth("2024", "02");
    EXPECT_EQ(model.columnCount(), 2 + 29 + 1);
    EXPECT_EQ(model.headerData(column(28), Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("29\n목"));
    EXPECT_EQ(model.headerData(model.countColumn(), Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("근로일수"));

    grid.showMonth("    ", "  ");
    EXPECT_EQ(model.columnCount(), 2 + 31 + 1);
    EXPECT_EQ(model.headerData(column(30), Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("31"));
    EXPECT_EQ(model.headerData(column(0), Qt::Horizontal, Qt::ForegroundRole), QVariant());
}

TEST(MonthGridEmptyTest, AnEmptyTableTakesClicksAndKeysWithoutAChange)
{
    WorkerTable table;
    table.Open();
    testing::ScriptedPrompts prompts;
    MonthGrid grid(table, prompts, nullptr);
    grid.showMonth("2025", "03");
    grid.open(QRect(0, 0, 800, 600));
    QSignalSpy edited(&grid, &MonthGrid::daysEdited);
    QTest::mouseClick(grid.Grid->viewport(), Qt::LeftButton, None, QPoint(5, 5));
    for (Qt::Key pressed : {Qt::Key_Space, Qt::Key_Delete})
        QTest::keyClick(grid.Grid, pressed);
    QTest::keyClick(grid.Grid, Qt::Key_Space, Ctrl);
    grid.toggleDay(0, 0);
    EXPECT_EQ(edited.count(), 0);
    EXPECT_TRUE(prompts.errors.empty());
}

} // namespace
} // namespace lavodc
