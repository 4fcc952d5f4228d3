// The batch page: the date box and its month limit, the day column that follows it, the
// batch over every worker, the toggle, the grid's keys and closing.
#include "editing/batch_page.h"

#include "core/batch_marks.h"
#include "editing/batch_grid.h"
#include "editing/calendar_date_box.h"
#include "editing/input_dialog.h"
#include "editing/worker_list_view.h"
#include "editing/worker_table_model.h"
#include "editing_fixture.h"
#include "tests/app/scripted_prompts.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QTableView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <ostream>

namespace lavodc {
namespace {

// ---- the opening date --------------------------------------------------------------

struct DateCase {
    const char* year;
    const char* month;
    QDate today;
    QDate date;
    bool limited;
};

void PrintTo(const DateCase& c, std::ostream* out)
{
    *out << '"' << c.year << "\" \"" << c.month << "\" on " << c.today.toString(Qt::ISODate).toStdString();
}

class ChooseBatchDateTest : public ::testing::TestWithParam<DateCase> {};

TEST_P(ChooseBatchDateTest, AValidMonthLimitsTheCalendarToItself)
{
    const DateCase& c = GetParam();
    const BatchDateChoice choice = ChooseBatchDate(c.year, c.month, c.today);
    EXPECT_EQ(choice.date, c.date);
    if (c.limited) {
        EXPECT_EQ(choice.first, QDate(c.date.year(), c.date.month(), 1));
        EXPECT_EQ(choice.last, QDate(c.date.year(), c.date.month(), c.date.daysInMonth()));
    } else {
        EXPECT_FALSE(choice.first.isValid());
        EXPECT_FALSE(choice.last.isValid());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Headers, ChooseBatchDateTest,
    ::testing::Values(DateCase{"2010", "01", QDate(2026, 12, 8), QDate(2010, 1, 8), true},
                      // Today's day past the month's end: the month's last day.
                      DateCase{"2026", "02", QDate(2026, 3, 31), QDate(2026, 2, 28), true},
                      DateCase{"2024", "02", QDate(2026, 12, 30), QDate(2024, 2, 29), true},
                      DateCase{"2026", "04", QDate(2026, 5, 31), QDate(2026, 4, 30), true},
                      DateCase{"2026", "12", QDate(2026, 1, 31), QDate(2026, 12, 31), true},
                      // Blank or invalid year or month: today, any date.
                      DateCase{"    ", "02", QDate(2026, 12, 8), QDate(2026, 12, 8), false},
                      DateCase{"2026", "  ", QDate(2026, 12, 8), QDate(2026, 12, 8), false},
                      DateCase{"2026", "13", QDate(2026, 12, 8), QDate(2026, 12, 8), false},
                      DateCase{"2026", "00", QDate(2026, 12, 8), QDate(2026, 12, 8), false},
                      // A month typed with one digit reads with a blank from its box.
                      DateCase{"2026", "2 ", QDate(2026, 12, 8), QDate(2026, 2, 8), true},
                      DateCase{"2026", "2-", QDate(2026, 12, 8), QDate(2026, 12, 8), false},
                      DateCase{"20 6", "02", QDate(2026, 12, 8), QDate(2026, 12, 8), false},
                      DateCase{"0099", "02", QDate(2026, 12, 8), QDate(2026, 12, 8), false}));

// ---- the page ----------------------------------------------------------------------

class BatchPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testing::AddThreeWorkers(table);   // 김철수, 박영희, 이민호
        frame.place(100, 100, 500, 380);
        frame.showPage(TInPutf::Batch);
        page = new BatchPage(frame, table, prompts, [this] { ++modifiedCalls; });
        page->prepare("2010", "01", QDate(2026, 12, 8));
        frame.show();
        frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    }

    BatchGrid& grid() { return *page->DayGrid; }
    QLineEdit* dateText() { return page->CmbDay->findChild<QLineEdit*>(); }
    QString dayTitle() { return grid().model()->headerData(0, Qt::Horizontal).toString(); }
    QString cell(int row, int column) { return grid().model()->data(grid().model()->index(row, column)).toString(); }
    std::string day(int row, int dayIndex) const { return RowFieldText(table.RowAt(row), kFirstDayField + dayIndex); }
    QPoint centre(int row, int column) { return grid().visualRect(grid().model()->index(row, column)).center(); }
    void click(int row, int column)
    {
        QTest::mouseClick(grid().viewport(), Qt::LeftButton, Qt::NoModifier, centre(row, column));
    }
    void doubleClick(int row, int column)
    {
        QTest::mouseDClick(grid().viewport(), Qt::LeftButton, Qt::NoModifier, centre(row, column));
    }
    // Keys go where the user's would: to the widget with the focus.
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), k, modifiers);
    }
    // Characters QTest has no key for (Hangul, the mark) as the keyboard sends them.
    void type(const QString& text)
    {
        for (const QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, QString(ch),
                                Qt::NoModifier);
    }
    void markStale(int row, int dayIndex)
    {
        table.MoveTo(row);
        table.Edit();
        table.SetFieldTextAt(kFirstDayField + dayIndex, kDayMark);
        table.Post();
    }

    WorkerTable table;
    testing::ScriptedPrompts prompts;
    TInPutf frame{nullptr};
    BatchPage* page = nullptr;
    int modifiedCalls = 0;
};

TEST_F(BatchPageTest, OpensOnTheHeadersMonthAndTodaysDayWithTheCaretAtTheEnd)
{
    EXPECT_EQ(page->CmbDay->text(), QStringLiteral("2010.01.08"));
    EXPECT_EQ(page->CmbDay->minimumDate(), QDate(2010, 1, 1));
    EXPECT_EQ(page->CmbDay->maximumDate(), QDate(2010, 1, 31));
    EXPECT_EQ(dayTitle(), QStringLiteral("08일"));
    EXPECT_EQ(grid().batchModel()->fieldPosition(0), kFirstDayField + 7);
    EXPECT_EQ(grid().model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("성    명"));
    EXPECT_EQ(grid().columnWidth(3), 115);   // the job column keeps its width
    EXPECT_EQ(QApplication::focusWidget(), page->CmbDay);
    EXPECT_EQ(dateText()->cursorPosition(), 10);
    EXPECT_FALSE(dateText()->hasSelectedText());
    // The current worker is the current line.
    EXPECT_EQ(grid().currentIndex().row(), 0);
    EXPECT_EQ(modifiedCalls, 0);
}

TEST_F(BatchPageTest, TheDayColumnFollowsTheDate)
{
    markStale(2, 30);
    std::vector<int> widths;
    for (int column = 0; column < 5; ++column)
        widths.push_back(grid().columnWidth(column));
    page->CmbDay->setDate(QDate(2010, 1, 31));
    EXPECT_EQ(dayTitle(), QStringLiteral("31일"));
    EXPECT_EQ(grid().batchModel()->fieldPosition(0), kFirstDayField + 30);
    EXPECT_EQ(cell(2, 0), QStringLiteral("√"));
    EXPECT_EQ(cell(0, 0), QString());
    for (int column = 0; column < 5; ++column)   // the widths survive the rebinding
        EXPECT_EQ(grid().columnWidth(column), widths[std::size_t(column)]) << column;
    EXPECT_EQ(QApplication::focusWidget(), page->CmbDay);
    EXPECT_EQ(dateText()->cursorPosition(), 10);
    EXPECT_EQ(modifiedCalls, 0);
}

TEST_F(BatchPageTest, NothingTypedPastedOrScrolledChangesTheDate)
{
    page->CmbDay->setFocus();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("2009.05.03"));
    for (Qt::Key k : {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp,
                      Qt::Key_PageDown, Qt::Key_Minus, Qt::Key_Plus})
        key(k);
    QApplication::clipboard()->setText(QStringLiteral("2010.01.05"));
    key(Qt::Key_A, Qt::ControlModifier);
    key(Qt::Key_V, Qt::ControlModifier);
    key(Qt::Key_Insert, Qt::ShiftModifier);
    key(Qt::Key_Z, Qt::ControlModifier);
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("5"));
    QApplication::sendEvent(QApplication::focusWidget(), &composed);
    QWheelEvent wheel(QPointF(5, 5), page->CmbDay->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(page->CmbDay, &wheel);
    EXPECT_EQ(page->CmbDay->text(), QStringLiteral("2010.01.08"));
    EXPECT_EQ(dayTitle(), QStringLiteral("08일"));
}

TEST_F(BatchPageTest, TheCalendarIsTitledOpensOnTheDateAndKeepsToTheMonth)
{
    page->CmbDay->showCalendar();
    TitledCalendar* calendar = page->CmbDay->calendar();
    ASSERT_TRUE(calendar->isVisible());
    EXPECT_EQ(calendar->titleStrip()->text(), QStringLiteral("처리일자를 선택하세요."));
    EXPECT_TRUE(calendar->titleStrip()->isVisible());
    EXPECT_EQ(calendar->selectedDate(), QDate(2010, 1, 8));
    EXPECT_EQ(calendar->minimumDate(), QDate(2010, 1, 1));
    EXPECT_EQ(calendar->maximumDate(), QDate(2010, 1, 31));

    calendar->setSelectedDate(QDate(2010, 2, 3));   // outside the month: its last day
    EXPECT_EQ(calendar->selectedDate(), QDate(2010, 1, 31));
    EXPECT_EQ(page->CmbDay->text(), QStringLiteral("2010.01.31"));
    calendar->setSelectedDate(QDate(2010, 1, 20));
    EXPECT_EQ(page->CmbDay->text(), QStringLiteral("2010.01.20"));
    EXPECT_EQ(dayTitle(), QStringLiteral("20일"));
}

TEST_F(BatchPageTest, TheCalendarOpensFromTheKeyboardToo)
{
    page->CmbDay->setFocus();
    key(Qt::Key_F4);
    EXPECT_TRUE(page->CmbDay->calendar()->isVisible());
}

// May 2010 starts on a Saturday and spans six weeks; on its last day a calendar too short
// for them scrolls its weekday row away.
TEST_F(BatchPageTest, EveryWeekRowAndTheWeekdayRowShowInTheCalendar)
{
    page->prepare("2010", "05", QDate(2026, 12, 31));
    ASSERT_EQ(page->CmbDay->text(), QStringLiteral("2010.05.31"));
    for (int points : {9, 13}) {
        frame.setFont(QFont(QStringLiteral("NanumGothic"), points));
        page->CmbDay->showCalendar();
        TitledCalendar* calendar = page->CmbDay->calendar();
        ASSERT_TRUE(calendar->isVisible());
        EXPECT_EQ(calendar->font().pointSize(), points);
        auto* days = calendar->findChild<QTableView*>();
        ASSERT_NE(days, nullptr);
        ASSERT_EQ(days->model()->rowCount(), 7);   // the weekday row and six weeks
        for (int row = 0; row < 7; ++row) {
            EXPECT_GE(days->rowViewportPosition(row), 0) << points << "pt row " << row;
            EXPECT_LE(days->rowViewportPosition(row) + days->rowHeight(row), days->viewport()->height())
                << points << "pt row " << row;
            EXPECT_GE(days->rowHeight(row), days->fontMetrics().height()) << points << "pt row " << row;
        }
        EXPECT_GE(calendar->titleStrip()->width(), calendar->titleStrip()->sizeHint().width());
        calendar->window()->close();
    }
}

TEST_F(BatchPageTest, ADateIsPickedWithTheKeyboardAlone)
{
    page->prepare("2010", "05", QDate(2026, 12, 8));
    QTest::keyClick(frame.windowHandle(), Qt::Key_F4);
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(page->CmbDay->calendar()->isVisible());
    QTest::keyClick(popup->windowHandle(), Qt::Key_Down);    // a week on: the 15th
    QTest::keyClick(popup->windowHandle(), Qt::Key_Right);   // the 16th
    QTest::keyClick(popup->windowHandle(), Qt::Key_Return);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_FALSE(page->CmbDay->calendar()->isVisible());
    EXPECT_EQ(page->CmbDay->text(), QStringLiteral("2010.05.16"));
    EXPECT_EQ(dayTitle(), QStringLiteral("16일"));
    EXPECT_EQ(grid().batchModel()->fieldPosition(0), kFirstDayField + 15);
    EXPECT_TRUE(frame.isVisible());   // Enter was the calendar's, not the dialog's

    // Alt+Down opens it too; Esc closes it and keeps the date.
    QTest::keyClick(frame.windowHandle(), Qt::Key_Down, Qt::AltModifier);
    popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    QTest::keyClick(popup->windowHandle(), Qt::Key_Up);
    QTest::keyClick(popup->windowHandle(), Qt::Key_Escape);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(page->CmbDay->text(), QStringLiteral("2010.05.16"));
    EXPECT_EQ(dayTitle(), QStringLiteral("16일"));
    EXPECT_TRUE(frame.isVisible());
}

TEST_F(BatchPageTest, TodaysDayPastTheMonthsEndOpensOnItsLastDay)
{
    page->prepare("2026", "02", QDate(2026, 3, 31));
    EXPECT_EQ(page->CmbDay->text(), QStringLiteral("2026.02.28"));
    EXPECT_EQ(dayTitle(), QStringLiteral("28일"));
    page->CmbDay->setDate(QDate(2026, 3, 31));
    EXPECT_EQ(page->CmbDay->text(), QStringLiteral("2026.02.28"));
    page->AllDtBtnClick();
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(day(row, 27), kDayMark);
        EXPECT_EQ(day(row, 30), "");
    }
}

TEST_F(BatchPageTest, WithoutAValidHeaderMonthAnyDateCountsByItsDayAlone)
{
    page->prepare("    ", "  ", QDate(2026, 12, 8));
    EXPECT_EQ(page->CmbDay->text(), QStringLiteral("2026.12.08"));
    page->CmbDay->setDate(QDate(2026, 3, 31));
    EXPECT_EQ(dayTitle(), QStringLiteral("31일"));
    page->AllDtBtn->click();
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(day(row, 30), kDayMark);
}

TEST_F(BatchPageTest, TheBatchMarksEveryWorkerReplacesTypedTextAndKeepsTheCurrentLine)
{
    WorkerListView list(table);
    table.MoveTo(1);
    table.Edit();
    table.SetFieldTextAt(kFirstDayField + 7, "ab");
    table.Post();
    click(1, 1);   // the name of 박영희
    ASSERT_EQ(grid().selectedColumn(), 1);

    page->AllDtBtn->click();
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(day(row, 7), kDayMark) << row;
        EXPECT_EQ(table.RowAt(row).nNal, 1) << row;
        EXPECT_EQ(cell(row, 0), QStringLiteral("√"));
        EXPECT_EQ(cell(row, 4), QStringLiteral("1"));
    }
    EXPECT_EQ(table.CurrentIndex(), 1);
    EXPECT_EQ(grid().currentIndex(), grid().model()->index(1, BatchGrid::kDayColumn));
    EXPECT_EQ(list.currentIndex().row(), 1);
    EXPECT_EQ(modifiedCalls, 1);

    std::vector<WorkerRow> before;
    for (int row = 0; row < 3; ++row)
        before.push_back(table.RowAt(row));
    page->AllDtBtn->click();
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(table.RowAt(row).days, before[std::size_t(row)].days);
        EXPECT_EQ(table.RowAt(row).nNal, before[std::size_t(row)].nNal);
    }
    EXPECT_EQ(table.CurrentIndex(), 1);
    EXPECT_EQ(modifiedCalls, 2);
}

TEST_F(BatchPageTest, ADoubleClickTogglesOnlyInTheDayColumnAndOnlyThatWorker)
{
    doubleClick(2, 1);
    doubleClick(2, 3);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(day(row, 7), "");
    EXPECT_EQ(modifiedCalls, 0);

    doubleClick(2, 0);
    EXPECT_EQ(day(2, 7), kDayMark);
    EXPECT_EQ(table.RowAt(2).nNal, 1);
    EXPECT_EQ(day(0, 7), "");
    EXPECT_EQ(day(1, 7), "");
    EXPECT_EQ(modifiedCalls, 1);
    EXPECT_EQ(grid().currentIndex(), grid().model()->index(2, 0));   // the selection stays

    doubleClick(2, 0);
    EXPECT_EQ(day(2, 7), "");
    EXPECT_EQ(table.RowAt(2).nNal, 0);
    EXPECT_EQ(modifiedCalls, 2);
}

TEST_F(BatchPageTest, NeitherInsertNorDownOnTheLastWorkerAddsARow)
{
    click(0, 1);
    key(Qt::Key_Down);
    EXPECT_EQ(table.CurrentIndex(), 1);
    key(Qt::Key_Down);
    EXPECT_EQ(table.CurrentIndex(), 2);
    key(Qt::Key_Down);
    key(Qt::Key_Insert);
    EXPECT_EQ(table.RecordCount(), 3);
    EXPECT_EQ(table.CurrentIndex(), 2);
    EXPECT_EQ(grid().model()->rowCount(), 3);
    EXPECT_EQ(QApplication::focusWidget(), &grid());

    // Nor a mark typed on the last worker: the selection stays there.
    click(2, 0);
    key(Qt::Key_O);
    EXPECT_EQ(day(2, 7), kDayMark);
    key(Qt::Key_Down);
    EXPECT_EQ(table.RecordCount(), 3);
    EXPECT_EQ(table.CurrentIndex(), 2);
    EXPECT_EQ(QApplication::focusWidget(), &grid());
}

TEST_F(BatchPageTest, TypedCharactersOutsideTheDayColumnAreDiscarded)
{
    std::vector<WorkerRow> before;
    for (int row = 0; row < 3; ++row)
        before.push_back(table.RowAt(row));
    for (int column : {1, 2, 3, 4}) {
        click(0, column);
        // "이" would find 이민호 by keyboard search.
        type(QStringLiteral("이x1"));
        EXPECT_EQ(table.CurrentIndex(), 0) << column;
        EXPECT_EQ(QApplication::focusWidget(), &grid()) << column;
    }
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(table.RowAt(row).pName, before[std::size_t(row)].pName);
        EXPECT_EQ(table.RowAt(row).JmnNo, before[std::size_t(row)].JmnNo);
        EXPECT_EQ(table.RowAt(row).nName, before[std::size_t(row)].nName);
    }
    EXPECT_EQ(modifiedCalls, 0);
}

TEST_F(BatchPageTest, MarksTypedDownTheDayColumnCountAtOnceAndMoveToTheNextWorker)
{
    click(0, 0);
    type(QStringLiteral("o√"));
    EXPECT_EQ(day(0, 7), kDayMark);
    EXPECT_EQ(day(1, 7), kDayMark);
    EXPECT_EQ(table.RowAt(0).nNal, 1);
    EXPECT_EQ(table.RowAt(1).nNal, 1);
    EXPECT_EQ(table.CurrentIndex(), 2);
    EXPECT_EQ(grid().currentIndex(), grid().model()->index(2, BatchGrid::kDayColumn));
    EXPECT_EQ(modifiedCalls, 2);
    EXPECT_EQ(QApplication::focusWidget(), &grid());   // no cell editor

    // Refused: a beep, nothing stored, the selection stays.
    type(QStringLiteral("x"));
    EXPECT_EQ(prompts.beeps, 1);
    EXPECT_EQ(day(2, 7), "");
    EXPECT_EQ(table.CurrentIndex(), 2);
    EXPECT_EQ(modifiedCalls, 2);

    // Backspace empties the cell and stays on the worker.
    click(1, 0);
    key(Qt::Key_Backspace);
    EXPECT_EQ(day(1, 7), "");
    EXPECT_EQ(table.RowAt(1).nNal, 0);
    EXPECT_EQ(table.CurrentIndex(), 1);
    EXPECT_EQ(modifiedCalls, 3);
    EXPECT_TRUE(frame.isVisible());
}

TEST_F(BatchPageTest, StrayTextFromAFileShowsOnAPaleRedGroundUntilMarked)
{
    table.MoveTo(1);
    table.Edit();
    table.SetFieldTextAt(kFirstDayField + 7, "x");
    table.Post();
    const QModelIndex stray = grid().model()->index(1, 0);
    EXPECT_EQ(stray.data(Qt::BackgroundRole), QVariant(StrayDayBackground()));
    EXPECT_EQ(stray.data().toString(), QStringLiteral("x"));
    click(1, 0);
    key(Qt::Key_V);
    EXPECT_EQ(day(1, 7), kDayMark);
    EXPECT_FALSE(grid().model()->index(1, 0).data(Qt::BackgroundRole).isValid());
}

TEST_F(BatchPageTest, EnterWithoutTypingRecountsTheCurrentWorker)
{
    markStale(0, 3);
    ASSERT_EQ(table.RowAt(0).nNal, 0);
    click(0, 0);
    key(Qt::Key_Return);
    EXPECT_EQ(table.RowAt(0).nNal, 1);
    EXPECT_EQ(modifiedCalls, 1);

    // Not in another column.
    markStale(1, 3);
    click(1, 2);
    key(Qt::Key_Return);
    EXPECT_EQ(table.RowAt(1).nNal, 0);
    EXPECT_EQ(modifiedCalls, 1);
}

TEST_F(BatchPageTest, EscClosesTheDialogFromTheGridAndFromTheDateBox)
{
    click(0, 1);
    key(Qt::Key_Escape);
    EXPECT_FALSE(frame.isVisible());
    EXPECT_EQ(frame.result(), QDialog::Rejected);

    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    page->CmbDay->setFocus();
    key(Qt::Key_Escape);
    EXPECT_FALSE(frame.isVisible());
}

TEST_F(BatchPageTest, TheCloseButtonStaysNearTheRightEdgeAndCloses)
{
    EXPECT_EQ(page->mExit1->x(), frame.width() - 50);
    frame.resize(420, frame.height());
    EXPECT_EQ(page->mExit1->x(), 420 - 50);
    page->mExit1->click();
    EXPECT_FALSE(frame.isVisible());
}

TEST_F(BatchPageTest, TheGridAndTheTableShareTheCurrentRow)
{
    WorkerListView list(table);
    table.MoveTo(2);
    EXPECT_EQ(grid().currentIndex().row(), 2);
    click(0, 2);
    EXPECT_EQ(table.CurrentIndex(), 0);
    EXPECT_EQ(list.currentIndex().row(), 0);
}

// The widest a name (ten bytes), a registration number and a day count can be, and every
// day's title, show whole at the dialog's font and at a larger one, and no column is cut at
// the page's edge.
class BatchGridWidthTest : public ::testing::TestWithParam<int> {};

TEST_P(BatchGridWidthTest, TitlesAndTheWidestValuesShowWhole)
{
    WorkerTable table;
    testing::AddThreeWorkers(table);
    testing::AddWorker(table, {"WWWWWWWWWW", "888888-8888888", "9.단순노무직근로자"});
    testing::AddWorker(table, {"가나다라마", "000000-0000000", "A.철근원"});
    for (int day = 0; day < kDayCount; ++day)
        MarkDayForEveryone(table, day);   // 31 days each
    testing::ScriptedPrompts prompts;
    TInPutf frame{nullptr};
    frame.setFont(QFont(QStringLiteral("NanumGothic"), GetParam()));
    frame.place(100, 100, 500, 380);
    frame.showPage(TInPutf::Batch);
    auto* page = new BatchPage(frame, table, prompts, [] {});
    page->prepare("2010", "01", QDate(2026, 12, 8));
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));

    BatchGrid& grid = *page->DayGrid;
    for (int day = 1; day <= kDayCount; ++day) {
        page->CmbDay->setDate(QDate(2010, 1, day));
        EXPECT_LE(grid.horizontalHeader()->sectionSizeHint(0), grid.columnWidth(0)) << "day " << day;
    }
    auto& view = static_cast<QAbstractItemView&>(grid);   // the view's own measure of its cells
    for (int column : {0, 1, 2, 4}) {
        EXPECT_LE(grid.horizontalHeader()->sectionSizeHint(column), grid.columnWidth(column)) << column;
        EXPECT_LE(view.sizeHintForColumn(column), grid.columnWidth(column)) << column;
    }
    EXPECT_EQ(grid.columnWidth(3), 115);
    EXPECT_EQ(grid.width(), grid.fullWidth());
    EXPECT_LE(grid.geometry().right(), page->width() - 1);
}

INSTANTIATE_TEST_SUITE_P(Fonts, BatchGridWidthTest, ::testing::Values(9, 12));

TEST(BatchGridEmptyTest, ADoubleClickOnAnEmptyTableOnlyBeeps)
{
    WorkerTable table;
    table.Open();
    testing::ScriptedPrompts prompts;
    BatchGrid grid(table, prompts);
    grid.resize(380, 200);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    QSignalSpy edited(&grid, &BatchGrid::daysEdited);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_EQ(prompts.beeps, 1);
    EXPECT_EQ(edited.count(), 0);
    EXPECT_TRUE(table.IsEmpty());
}

} // namespace
} // namespace lavodc
