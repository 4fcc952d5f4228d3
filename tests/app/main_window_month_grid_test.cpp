// The month grid in the main window: "출역표" and Alt+D open its one window over the header's
// month, its marks show in the worker list and the day strip and mark the sheet as changed,
// the window's own keys work in it, and the window goes with the main window.
#include "app/main_window.h"

#include "app/working_copy.h"
#include "app_test_folder.h"
#include "core/sheet.h"
#include "editing/day_strip.h"
#include "editing/masked_line_edit.h"
#include "editing/month_grid.h"
#include "editing/month_grid_model.h"
#include "editing/month_grid_view.h"
#include "editing/worker_list_view.h"
#include "scripted_prompts.h"
#include "tests/editing/editing_fixture.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

namespace lavodc {
namespace {

class MainWindowMonthGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WorkerTable::WriteStructure(TemplatePath(folder.path()).toStdString());
        window = std::make_unique<Tmainf>(prompts, folder.path());
        window->show();
        testing::AddThreeWorkers(table());
        w().gsyear->setMaskedBytes("2025");
        w().gmonth->setMaskedBytes("03");
        w().controller().SetSheetModified(false);
    }

    Tmainf& w() { return *window; }
    WorkerTable& table() { return window->sheet().table; }
    MonthGridModel& gridModel() { return *w().MonthGridWin->gridModel(); }

    testing::ScratchProgramFolder folder;
    testing::ScriptedPrompts prompts;
    std::unique_ptr<Tmainf> window;
};

TEST_F(MainWindowMonthGridTest, TheButtonAndAltDOpenOneWindowOverTheHeadersMonth)
{
    EXPECT_EQ(w().MonthGridBtn->text(), QStringLiteral("출역표"));
    EXPECT_EQ(w().MonthGridWin, nullptr);
    w().MonthGridBtn->click();
    ASSERT_NE(w().MonthGridWin, nullptr);
    MonthGrid* grid = w().MonthGridWin;
    EXPECT_TRUE(grid->isVisible());
    EXPECT_EQ(grid->windowTitle(), QStringLiteral("출역표"));
    EXPECT_EQ(gridModel().columnCount(), 2 + 31 + 1);
    EXPECT_EQ(gridModel().headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("1\n토"));

    QTest::keyClick(grid->Grid, Qt::Key_Escape);
    EXPECT_FALSE(grid->isVisible());
    // From the list, the day strip and the header boxes alike, always the same window.
    for (QWidget* from : std::initializer_list<QWidget*>{w().WorkerList, w().CuntGrid, w().gsName, w().gmonth}) {
        grid->close();
        QTest::keyClick(from, Qt::Key_D, Qt::AltModifier);
        EXPECT_EQ(w().MonthGridWin, grid);
        EXPECT_TRUE(grid->isVisible()) << from->objectName().toStdString();
    }

    // The columns follow the month boxes as the clerk changes them.
    w().gmonth->selectAll();
    QTest::keyClicks(w().gmonth, QStringLiteral("02"));
    EXPECT_EQ(gridModel().columnCount(), 2 + 28 + 1);
    EXPECT_EQ(gridModel().headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("1\n토"));
    w().gsyear->setMaskedBytes("2024");
    EXPECT_EQ(gridModel().columnCount(), 2 + 29 + 1);
}

TEST_F(MainWindowMonthGridTest, AMarkInTheGridShowsInTheListAndTheStripAndChangesTheSheet)
{
    QSignalSpy edited(window.get(), &Tmainf::sheetEdited);
    QTest::keyClick(w().WorkerList, Qt::Key_D, Qt::AltModifier);
    MonthGridView& view = *w().MonthGridWin->Grid;
    table().MoveTo(1);

    // A whole day for everybody: one step, one frozen walk.
    QHeaderView* titles = view.horizontalHeader();
    const int firstDay = MonthGridModel::kFirstDayColumn;
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(titles->sectionViewportPosition(firstDay + 4) + 4, titles->height() / 2));
    QTest::keyClick(&view, Qt::Key_Space);

    EXPECT_TRUE(w().controller().SheetModified());
    EXPECT_EQ(edited.count(), 1);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(table().RowAt(row).nNal, 1) << row;
        EXPECT_EQ(w().WorkerList->model()->data(w().WorkerList->model()->index(row, 5)).toString(),
                  QStringLiteral("1"));
    }
    EXPECT_EQ(table().CurrentIndex(), 1);
    EXPECT_EQ(w().WorkerList->currentIndex().row(), 1);
    EXPECT_EQ(w().CuntGrid->model()->data(w().CuntGrid->model()->index(0, 4)).toString(), QStringLiteral("√"));

    // Undo is a change of the sheet too.
    w().controller().SetSheetModified(false);
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(table().RowAt(0).nNal, 0);
    EXPECT_TRUE(w().controller().SheetModified());
    EXPECT_EQ(edited.count(), 2);

    // The other way round: a toggle in the day strip shows in the grid.
    w().CuntGrid->selectDay(9);
    w().CuntGrid->CuntGridDblClick();
    EXPECT_EQ(view.model()->data(view.model()->index(1, firstDay + 9)).toString(), QStringLiteral("√"));
}

TEST_F(MainWindowMonthGridTest, TheWindowsKeysWorkInTheGridButDeleteRemovesNoWorker)
{
    w().openMonthGrid();
    MonthGridView& view = *w().MonthGridWin->Grid;
    QTest::keyClick(&view, Qt::Key_Delete);
    EXPECT_EQ(table().RecordCount(), 3);
    EXPECT_TRUE(prompts.texts.empty());

    // Alt+N from the grid starts a new sheet, and the grid shows it empty.
    QTest::keyClick(&view, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(table().RecordCount(), 0);
    EXPECT_EQ(view.model()->rowCount(), 0);
}

TEST_F(MainWindowMonthGridTest, TheGridGoesWithTheMainWindow)
{
    w().openMonthGrid();
    QPointer<MonthGrid> grid = w().MonthGridWin;
    window.reset();
    EXPECT_TRUE(grid.isNull());
}

} // namespace
} // namespace lavodc
