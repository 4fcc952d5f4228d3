// The day strip: the double-click toggle, typed cells and the empty table.
#include "editing/day_strip.h"

#include "editing_fixture.h"
#include "editing/worker_table_model.h"
#include "tests/app/scripted_prompts.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace lavodc {
namespace {

class DayStripTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testing::AddThreeWorkers(table);
        strip.resize(31 * 30 + 4, 39);
        strip.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&strip));
    }

    void doubleClickDay(int dayIndex)
    {
        const QRect cell = strip.visualRect(strip.model()->index(0, dayIndex));
        QTest::mouseDClick(strip.viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    }
    std::string day(int dayIndex) const { return table.FieldTextAt(kFirstDayField + dayIndex); }

    WorkerTable table;
    testing::ScriptedPrompts prompts;
    DayStrip strip{table, prompts};
};

struct ToggleCase {
    int clickedDay;      // 0-based
    int selectedAfter;
};

class DayToggleTest : public DayStripTest, public ::testing::WithParamInterface<ToggleCase> {};

TEST_P(DayToggleTest, MarksTheDayAndMovesToTheNextOneButNotPastTheLast)
{
    QSignalSpy edited(&strip, &DayStrip::daysEdited);
    doubleClickDay(GetParam().clickedDay);
    EXPECT_EQ(day(GetParam().clickedDay), kDayMark);
    EXPECT_EQ(table.FieldFloat("nNal"), 1);
    EXPECT_EQ(strip.selectedDay(), GetParam().selectedAfter);
    EXPECT_EQ(edited.count(), 1);

    strip.selectDay(GetParam().clickedDay);
    doubleClickDay(GetParam().clickedDay);
    EXPECT_EQ(day(GetParam().clickedDay), "");
    EXPECT_EQ(table.FieldFloat("nNal"), 0);
}

INSTANTIATE_TEST_SUITE_P(Days, DayToggleTest,
                         ::testing::Values(ToggleCase{0, 1}, ToggleCase{29, 30}, ToggleCase{30, 30}));

TEST_F(DayStripTest, TypedTextIsCutToThreeBytesStoredAndCountedOnCommit)
{
    QSignalSpy edited(&strip, &DayStrip::daysEdited);
    strip.setFocus();
    strip.selectDay(5);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("abcd"));
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("abc"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();   // the view commits an Enter once the editor had it
    EXPECT_EQ(day(5), "abc");
    EXPECT_EQ(edited.count(), 1);

    // A typed mark counts at once, before any toggle.
    strip.selectDay(6);
    editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("√"));
    editor->setModified(true);
    strip.commitTypedCell();
    EXPECT_EQ(day(6), kDayMark);
    EXPECT_EQ(table.FieldFloat("nNal"), 1);

    // A cell holding other text becomes the mark on the first double-click.
    doubleClickDay(5);
    EXPECT_EQ(day(5), kDayMark);
    EXPECT_EQ(table.FieldFloat("nNal"), 2);
}

TEST_F(DayStripTest, AnEmptyTableOnlyBeeps)
{
    table.DeleteAllRows();
    QSignalSpy edited(&strip, &DayStrip::daysEdited);
    strip.CuntGridDblClick();
    EXPECT_EQ(prompts.beeps, 1);
    EXPECT_EQ(edited.count(), 0);
}

TEST_F(DayStripTest, TheStripFollowsTheCurrentWorker)
{
    doubleClickDay(3);
    table.Next();
    EXPECT_EQ(strip.model()->data(strip.model()->index(0, 3)).toString(), QString());
    table.First();
    EXPECT_EQ(strip.model()->data(strip.model()->index(0, 3)).toString(), QStringLiteral("√"));
}

} // namespace
} // namespace lavodc
