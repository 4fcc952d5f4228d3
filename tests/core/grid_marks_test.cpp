#include "core/grid_marks.h"

#include "case_names.h"
#include "core/cp949.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace lavodc {
namespace {

constexpr std::uint32_t bit(int day) { return std::uint32_t(1) << day; }

// ---- which cells a selection covers --------------------------------------------------

struct SelectCase {
    const char* name;
    std::vector<DayBlock> blocks;
    int rowCount;
    DaySelection expected;
};

void PrintTo(const SelectCase& c, std::ostream* out) { *out << c.name; }

class SelectDaysTest : public ::testing::TestWithParam<SelectCase> {};

TEST_P(SelectDaysTest, CoversEachCellOnceAndNothingOutsideTheTable)
{
    const SelectCase& c = GetParam();
    const DaySelection selection = SelectDays(c.blocks, c.rowCount);
    EXPECT_EQ(selection, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, SelectDaysTest,
    ::testing::Values(
        SelectCase{"one cell", {{1, 1, 4, 4}}, 3, {0, bit(4), 0}},
        SelectCase{"a rectangle", {{0, 1, 0, 2}}, 3, {0b111, 0b111, 0}},
        SelectCase{"a whole column", {{0, 2, 30, 30}}, 3, {bit(30), bit(30), bit(30)}},
        SelectCase{"a whole row", {{2, 2, 0, 30}}, 3, {0, 0, 0x7FFFFFFF}},
        SelectCase{"overlapping blocks count once", {{0, 1, 0, 1}, {1, 2, 1, 2}}, 3, {0b011, 0b111, 0b110}},
        SelectCase{"columns added apart", {{0, 2, 3, 3}, {0, 2, 9, 9}}, 3,
                   {bit(3) | bit(9), bit(3) | bit(9), bit(3) | bit(9)}},
        SelectCase{"cut at the table and the 31 days", {{-2, 9, 29, 40}}, 2, {bit(29) | bit(30), bit(29) | bit(30)}},
        SelectCase{"no day in the block", {{0, 2, 31, 33}}, 3, {0, 0, 0}},
        SelectCase{"no rows", {{0, 2, 0, 0}}, 0, {}},
        SelectCase{"no blocks", {}, 2, {0, 0}}));

TEST(SelectedCellCountTest, CountsTheBits)
{
    EXPECT_EQ(SelectedCellCount({}), 0u);
    EXPECT_EQ(SelectedCellCount({0x7FFFFFFF, bit(3), 0}), 32u);
}

// ---- the table the grid marks --------------------------------------------------------

class GridMarksTest : public ::testing::Test {
protected:
    // 가 (days 1 and 2 marked), 나 (day 1 holds stray "x"), 다 and 라 without marks.
    void SetUp() override
    {
        table.Open();
        for (const char* name : {"라", "가", "다", "나"}) {
            table.Append();
            table.SetFieldText("pName", K(name));
            table.SetFieldText("nName", K(name));
            table.Post();
        }
        setDays(0, {{0, kDayMark}, {1, kDayMark}});
        setDays(1, {{0, "x"}});
        table.MoveTo(2);
        table.AddListener(&listener);
    }

    void setDays(int row, const std::vector<std::pair<int, std::string_view>>& days)
    {
        table.MoveTo(row);
        table.Edit();
        for (const auto& [day, text] : days)
            table.SetFieldTextAt(kFirstDayField + day, text);
        table.Post();
        table.RecountDays();
    }
    std::string day(int row, int dayIndex) const { return table.RowAt(row).days[std::size_t(dayIndex)]; }
    double count(int row) const { return table.RowAt(row).nNal; }

    struct Listener : WorkerTableListener {
        void tableChanged() override { ++tables; }
        void rowChanged(int) override { ++rows; }
        void currentChanged(int) override { ++currents; }
        int tables = 0;
        int rows = 0;
        int currents = 0;
    };

    WorkerTable table;
    Listener listener;
};

struct SpaceCase {
    const char* name;
    std::vector<DayBlock> blocks;
    DayFill expected;
};

void PrintTo(const SpaceCase& c, std::ostream* out) { *out << c.name; }

class SpaceFillTest : public GridMarksTest, public ::testing::WithParamInterface<SpaceCase> {};

TEST_P(SpaceFillTest, MarksWhenAnyCellIsNotTheMark)
{
    EXPECT_EQ(SpaceFill(table, SelectDays(GetParam().blocks, table.RecordCount())), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Selections, SpaceFillTest,
    ::testing::Values(SpaceCase{"all marked", {{0, 0, 0, 1}}, DayFill::Clear},
                      SpaceCase{"one marked cell", {{0, 0, 1, 1}}, DayFill::Clear},
                      SpaceCase{"one empty cell", {{2, 2, 5, 5}}, DayFill::Mark},
                      SpaceCase{"marks and an empty cell", {{0, 0, 0, 2}}, DayFill::Mark},
                      // Stray text does not count as a day worked, so it asks for the mark.
                      SpaceCase{"stray text alone", {{1, 1, 0, 0}}, DayFill::Mark},
                      SpaceCase{"marks and stray text", {{0, 1, 0, 0}}, DayFill::Mark},
                      SpaceCase{"marked cells among unselected empty ones", {{0, 0, 0, 0}, {0, 0, 1, 1}},
                                DayFill::Clear}));

TEST_F(GridMarksTest, MarkingAColumnWalksOnceFrozenRecountsAndKeepsTheCurrentRow)
{
    const DayEdit edit = FillDays(table, SelectDays({{0, 3, 0, 0}}, 4), DayFill::Mark);

    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(day(row, 0), kDayMark) << row;
    EXPECT_EQ(count(0), 2);   // already marked: not changed, not part of the step
    EXPECT_EQ(count(1), 1);   // the stray text gave way to the mark
    EXPECT_EQ(count(2), 1);
    EXPECT_EQ(count(3), 1);
    ASSERT_EQ(edit.size(), 3u);
    EXPECT_EQ(edit[0].row, table.BookmarkAt(1));
    EXPECT_EQ(edit[0].before, "x");
    EXPECT_EQ(edit[0].after, kDayMark);
    EXPECT_EQ(edit[1].row, table.BookmarkAt(2));
    EXPECT_EQ(edit[2].row, table.BookmarkAt(3));
    EXPECT_EQ(table.CurrentIndex(), 2);
    // One frozen walk: the views hear of it once, at its end.
    EXPECT_EQ(listener.tables, 1);
    EXPECT_EQ(listener.currents, 1);
    EXPECT_EQ(listener.rows, 0);
}

TEST_F(GridMarksTest, ClearingEmptiesMarksAndStrayTextButChangesNothingTwice)
{
    const DayEdit edit = FillDays(table, SelectDays({{0, 3, 0, 1}}, 4), DayFill::Clear);
    ASSERT_EQ(edit.size(), 3u);
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(day(row, 0), "") << row;
        EXPECT_EQ(day(row, 1), "") << row;
        EXPECT_EQ(count(row), 0) << row;
    }
    listener = {};
    EXPECT_TRUE(FillDays(table, SelectDays({{0, 3, 0, 1}}, 4), DayFill::Clear).empty());
    EXPECT_EQ(listener.tables + listener.rows + listener.currents, 0);
}

TEST_F(GridMarksTest, TheCurrentRowAloneChangesWithoutFreezingTheViews)
{
    const DayEdit edit = FillDays(table, SelectDays({{2, 2, 3, 6}}, 4), DayFill::Mark);
    EXPECT_EQ(edit.size(), 4u);
    EXPECT_EQ(count(2), 4);
    EXPECT_EQ(listener.tables, 0);
    EXPECT_EQ(listener.currents, 0);
    EXPECT_GE(listener.rows, 1);

    // Another worker's row moves the current row, so it runs frozen and comes back.
    listener = {};
    FillDays(table, SelectDays({{3, 3, 3, 3}}, 4), DayFill::Mark);
    EXPECT_EQ(count(3), 1);
    EXPECT_EQ(table.CurrentIndex(), 2);
    EXPECT_EQ(listener.tables, 1);
    EXPECT_EQ(listener.rows, 0);
}

TEST_F(GridMarksTest, AnEmptyOrClosedTableChangesNothing)
{
    WorkerTable empty;
    EXPECT_TRUE(FillDays(empty, {bit(0)}, DayFill::Mark).empty());
    empty.Open();
    EXPECT_TRUE(FillDays(empty, {bit(0)}, DayFill::Mark).empty());
    EXPECT_TRUE(ReplayEdit(empty, {{1, 0, "", "x"}}, Replay::Redo).empty());
    // A selection longer than the table (rows deleted meanwhile) is cut to it.
    EXPECT_EQ(FillDays(table, {0, 0, 0, 0, bit(0), bit(0)}, DayFill::Mark).size(), 0u);
}

// ---- undo and redo -------------------------------------------------------------------

TEST_F(GridMarksTest, UndoPutsBackWhatEachCellHeldAndRedoWhatItWasGiven)
{
    DayEditHistory history;
    EXPECT_FALSE(history.CanUndo());
    EXPECT_TRUE(history.Undo(table).empty());

    history.Record(FillDays(table, SelectDays({{0, 3, 0, 0}}, 4), DayFill::Mark));
    history.Record(FillDays(table, SelectDays({{0, 0, 0, 4}}, 4), DayFill::Clear));
    history.Record({});   // nothing changed: no step
    EXPECT_EQ(count(0), 0);

    DaySelection undone = history.Undo(table);
    EXPECT_EQ(undone, (DaySelection{0b11, 0, 0, 0}));   // the cells the clearing changed
    EXPECT_EQ(day(0, 0), kDayMark);
    EXPECT_EQ(day(0, 1), kDayMark);
    EXPECT_EQ(count(0), 2);

    undone = history.Undo(table);
    EXPECT_EQ(undone, (DaySelection{0, bit(0), bit(0), bit(0)}));
    EXPECT_EQ(day(1, 0), "x");   // the stray text comes back
    EXPECT_EQ(count(1), 0);
    EXPECT_EQ(day(2, 0), "");
    EXPECT_FALSE(history.CanUndo());
    EXPECT_TRUE(history.CanRedo());
    EXPECT_EQ(table.CurrentIndex(), 2);

    EXPECT_EQ(history.Redo(table), (DaySelection{0, bit(0), bit(0), bit(0)}));
    EXPECT_EQ(day(1, 0), kDayMark);
    EXPECT_EQ(count(3), 1);

    // A new step drops what could have been redone.
    history.Record(FillDays(table, SelectDays({{3, 3, 9, 9}}, 4), DayFill::Mark));
    EXPECT_FALSE(history.CanRedo());
    EXPECT_TRUE(history.Redo(table).empty());
    history.Undo(table);
    EXPECT_EQ(day(3, 9), "");
    history.Undo(table);
    EXPECT_EQ(day(1, 0), "x");
    EXPECT_FALSE(history.CanUndo());
}

TEST_F(GridMarksTest, UndoFindsItsWorkersAfterTheOrderChanged)
{
    DayEditHistory history;
    // 나 and 다 get day 10.
    history.Record(FillDays(table, SelectDays({{1, 2, 9, 9}}, 4), DayFill::Mark));
    table.MoveTo(0);
    table.Edit();
    table.SetFieldText("pName", K("하"));   // 가 becomes 하 and moves to the end
    table.Post();
    ASSERT_EQ(table.RowAt(0).pName, K("나"));

    EXPECT_EQ(history.Undo(table), (DaySelection{bit(9), bit(9), 0, 0}));
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(day(row, 9), "") << row;
    EXPECT_EQ(table.RowAt(table.CurrentIndex()).pName, K("하"));
}

TEST_F(GridMarksTest, UndoPassesOverDeletedWorkersAndDropsStepsWithNoneLeft)
{
    DayEditHistory history;
    history.Record(FillDays(table, SelectDays({{2, 3, 5, 5}}, 4), DayFill::Mark));   // 다, 라
    history.Record(FillDays(table, SelectDays({{3, 3, 6, 6}}, 4), DayFill::Mark));   // 라 only
    table.MoveTo(3);
    table.Delete();   // 라

    // The step of 라 alone is gone with him; the one before still undoes 다.
    EXPECT_EQ(history.Undo(table), (DaySelection{0, 0, bit(5)}));
    EXPECT_EQ(day(2, 5), "");
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(history.Redo(table), (DaySelection{0, 0, bit(5)}));
    EXPECT_FALSE(history.CanRedo());

    history.Clear();
    EXPECT_FALSE(history.CanUndo());
    EXPECT_TRUE(history.Undo(table).empty());
    EXPECT_EQ(day(2, 5), kDayMark);
}

} // namespace
} // namespace lavodc
