// The day strip: the double-click toggle, typed marks, the empty table and the focus.
#include "editing/day_strip.h"

#include "core/day_marks.h"
#include "editing_fixture.h"
#include "editing/worker_table_model.h"
#include "tests/app/scripted_prompts.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <ostream>

namespace lavodc {
namespace {

class DayStripTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testing::AddThreeWorkers(table);
        strip.resize(31 * 30 + 4, 39);
        strip.show();
        strip.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&strip));
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

// ---- keys typed into a day -----------------------------------------------------------

struct TypedKeyCase {
    const char* name;
    const char* before;      // UTF-8 text of the day before the key
    int dayIndex;
    Qt::Key key;
    const char* text;        // what the key types
    Qt::KeyboardModifiers modifiers;
    const char* after;       // UTF-8 text of the day after it
    int selectedAfter;
    int beeps;
};

void PrintTo(const TypedKeyCase& c, std::ostream* out) { *out << c.name; }

class TypedKeyTest : public DayStripTest, public ::testing::WithParamInterface<TypedKeyCase> {};

TEST_P(TypedKeyTest, StoresTheMarkOrEmptiesOrBeepsWithoutAnEditor)
{
    const TypedKeyCase& c = GetParam();
    SetDayMark(table, c.dayIndex, K(c.before));
    const double daysBefore = table.FieldFloat("nNal");
    strip.setFocus();
    strip.selectDay(c.dayIndex);
    QSignalSpy edited(&strip, &DayStrip::daysEdited);
    QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), c.key, QString::fromUtf8(c.text), c.modifiers);

    EXPECT_EQ(day(c.dayIndex), K(c.after));
    EXPECT_EQ(table.FieldFloat("nNal"), std::string(c.after) == "√" ? 1 : 0);   // recounted at once
    EXPECT_EQ(strip.selectedDay(), c.selectedAfter);
    EXPECT_EQ(prompts.beeps, c.beeps);
    EXPECT_EQ(edited.count(), table.FieldFloat("nNal") != daysBefore || std::string(c.before) != c.after ? 1 : 0);
    // The strip keeps the keys: no cell editor opens.
    EXPECT_EQ(QApplication::focusWidget(), &strip);
    EXPECT_EQ(strip.findChild<QLineEdit*>(), nullptr);
}

constexpr auto None = Qt::NoModifier;

INSTANTIATE_TEST_SUITE_P(
    Keys, TypedKeyTest,
    ::testing::Values(TypedKeyCase{"o", "", 5, Qt::Key_O, "o", None, "√", 6, 0},
                      TypedKeyCase{"O", "", 5, Qt::Key_O, "O", Qt::ShiftModifier, "√", 6, 0},
                      TypedKeyCase{"v", "", 0, Qt::Key_V, "v", None, "√", 1, 0},
                      TypedKeyCase{"V", "", 0, Qt::Key_V, "V", Qt::ShiftModifier, "√", 1, 0},
                      TypedKeyCase{"one", "", 5, Qt::Key_1, "1", None, "√", 6, 0},
                      TypedKeyCase{"keypad one", "", 5, Qt::Key_1, "1", Qt::KeypadModifier, "√", 6, 0},
                      TypedKeyCase{"space", "", 5, Qt::Key_Space, " ", None, "√", 6, 0},
                      TypedKeyCase{"the mark", "", 5, Qt::Key_unknown, "√", None, "√", 6, 0},
                      // A stray text from a file becomes the mark too.
                      TypedKeyCase{"o over stray", "x", 5, Qt::Key_O, "o", None, "√", 6, 0},
                      TypedKeyCase{"o on the last day", "", 30, Qt::Key_O, "o", None, "√", 30, 0},
                      TypedKeyCase{"backspace", "√", 5, Qt::Key_Backspace, "\b", None, "", 5, 0},
                      TypedKeyCase{"backspace on stray", "ab", 5, Qt::Key_Backspace, "\b", None, "", 5, 0},
                      TypedKeyCase{"x refused", "", 5, Qt::Key_X, "x", None, "", 5, 1},
                      TypedKeyCase{"zero refused", "√", 5, Qt::Key_0, "0", None, "√", 5, 1},
                      TypedKeyCase{"hangul refused", "", 5, Qt::Key_unknown, "오", None, "", 5, 1},
                      // Alt and Ctrl combinations type nothing and do not beep.
                      TypedKeyCase{"alt+o", "", 5, Qt::Key_O, "o", Qt::AltModifier, "", 5, 0},
                      TypedKeyCase{"ctrl+v", "", 5, Qt::Key_V, "v", Qt::ControlModifier, "", 5, 0}));

TEST_F(DayStripTest, ATypedRowOfMarksCountsEveryDay)
{
    strip.setFocus();
    strip.selectDay(0);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("oVo1 "));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(day(i), kDayMark) << i;
    EXPECT_EQ(table.FieldFloat("nNal"), 5);
    EXPECT_EQ(strip.selectedDay(), 5);
    // A double-click on a typed mark clears it, as for any mark.
    doubleClickDay(2);
    EXPECT_EQ(day(2), "");
    EXPECT_EQ(table.FieldFloat("nNal"), 4);
}

TEST_F(DayStripTest, ADoubleClickMarksStrayText)
{
    SetDayMark(table, 5, "ab");
    doubleClickDay(5);
    EXPECT_EQ(day(5), kDayMark);
    EXPECT_EQ(table.FieldFloat("nNal"), 1);
}

TEST_F(DayStripTest, TypingOnAnEmptyTableOnlyBeeps)
{
    table.DeleteAllRows();
    strip.setFocus();
    QSignalSpy edited(&strip, &DayStrip::daysEdited);
    QTest::keyClick(&strip, Qt::Key_O);
    EXPECT_EQ(prompts.beeps, 1);
    EXPECT_EQ(edited.count(), 0);
}

TEST(DayStripFocusTest, TheFocusGoesOnWhenTheLastWorkerGoesFromTheStrip)
{
    WorkerTable table;
    testing::AddThreeWorkers(table);
    testing::ScriptedPrompts prompts;
    QWidget window;
    auto* strip = new DayStrip(table, prompts, &window);
    auto* list = new QLineEdit(&window);   // stands in for the worker list
    strip->setGeometry(0, 0, 31 * 30 + 4, 39);
    list->setGeometry(0, 50, 100, 20);
    strip->setFocusWhenEmpty(list);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    strip->setFocus();
    table.Delete();
    table.Delete();
    EXPECT_EQ(QApplication::focusWidget(), strip);   // one worker left: the strip keeps the focus
    table.Delete();
    EXPECT_EQ(QApplication::focusWidget(), list);

    // Emptied while the focus is elsewhere, nothing moves it.
    testing::AddThreeWorkers(table);
    window.setFocus();
    table.DeleteAllRows();
    EXPECT_EQ(QApplication::focusWidget(), &window);
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
