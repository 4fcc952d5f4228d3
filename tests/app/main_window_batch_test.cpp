// The batch button of the main window: nothing on an empty sheet; otherwise the batch page
// over the header's month, placed over the window, whose marks show at once in the worker
// list and the day strip and mark the sheet as changed.
#include "app/main_window.h"

#include "app/working_copy.h"
#include "app_test_folder.h"
#include "core/sheet.h"
#include "editing/batch_grid.h"
#include "editing/batch_page.h"
#include "editing/calendar_date_box.h"
#include "editing/day_strip.h"
#include "editing/input_dialog.h"
#include "editing/masked_line_edit.h"
#include "editing/worker_commands.h"
#include "editing/worker_list_view.h"
#include "scripted_prompts.h"
#include "tests/editing/editing_fixture.h"

#include <QDate>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace lavodc {
namespace {

class MainWindowBatchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WorkerTable::WriteStructure(TemplatePath(folder.path()).toStdString());
        window = std::make_unique<Tmainf>(prompts, folder.path());
        window->show();
        window->workerCommands().runDialog = [this](TInPutf& dialog) {
            ++dialogs;
            title = dialog.windowTitle();
            strip = dialog.TopTitle->text();
            place = dialog.geometry();
            gridWidth = dialog.findChild<BatchGrid*>()->fullWidth();
            shownPage = dialog.nPage->currentIndex();
            if (work)
                work(*dialog.findChild<BatchPage*>());
            return 0;
        };
    }

    Tmainf& w() { return *window; }
    WorkerTable& table() { return window->sheet().table; }
    QString listCell(int row, int column)
    {
        return w().WorkerList->model()->data(w().WorkerList->model()->index(row, column)).toString();
    }

    testing::ScratchProgramFolder folder;
    testing::ScriptedPrompts prompts;
    std::unique_ptr<Tmainf> window;
    int dialogs = 0;
    QString title;
    QString strip;
    QRect place;
    int gridWidth = 0;
    int shownPage = -1;
    std::function<void(BatchPage&)> work;
};

TEST_F(MainWindowBatchTest, AnEmptySheetOpensNothing)
{
    ASSERT_TRUE(w().BtnGonSuAll->isEnabled());
    w().BtnGonSuAll->click();
    EXPECT_EQ(dialogs, 0);
    EXPECT_FALSE(w().controller().SheetModified());
}

TEST_F(MainWindowBatchTest, TheBatchPageMarksTheChosenDayEverywhereAtOnce)
{
    testing::AddThreeWorkers(table());
    table().MoveTo(1);
    w().controller().SetSheetModified(false);
    // Typed but not yet left: the boxes count, not the period taken when they were last left.
    w().gsyear->setMaskedBytes("2024");
    w().gmonth->setMaskedBytes("02");

    QString opened;
    work = [&opened](BatchPage& page) {
        opened = page.CmbDay->text();
        page.CmbDay->setDate(QDate(2024, 2, 29));
        page.AllDtBtn->click();
    };
    w().BtnGonSuAll->click();

    ASSERT_EQ(dialogs, 1);
    EXPECT_EQ(title, QStringLiteral("일괄처리"));
    EXPECT_EQ(strip, QStringLiteral("     일용직근로자출역일괄처리"));
    EXPECT_EQ(shownPage, int(TInPutf::Batch));
    const QRect main = w().frameGeometry();
    // 380 wide, or as wide as the grid's columns need at the font to show whole.
    EXPECT_EQ(place, QRect(main.left() + 155, main.top() + 100, std::max(380, gridWidth),
                           main.height() - 104 - TInPutf::captionHeight()));
    const int today = QDate::fromString(QString::fromStdString(TodayText()), QStringLiteral("yyyy.MM.dd")).day();
    EXPECT_EQ(opened, QStringLiteral("2024.02.%1").arg(qMin(today, 29), 2, 10, QLatin1Char('0')));

    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(RowFieldText(table().RowAt(row), kFirstDayField + 28), kDayMark) << row;
        EXPECT_EQ(listCell(row, 5), QStringLiteral("1")) << row;   // 일수
    }
    EXPECT_EQ(table().CurrentIndex(), 1);
    EXPECT_EQ(w().WorkerList->currentIndex().row(), 1);
    EXPECT_EQ(w().CuntGrid->model()->data(w().CuntGrid->model()->index(0, 28)).toString(), QStringLiteral("√"));
    EXPECT_TRUE(w().controller().SheetModified());
}

TEST_F(MainWindowBatchTest, AToggleInTheBatchGridMarksTheSheetAsChanged)
{
    testing::AddThreeWorkers(table());
    w().controller().SetSheetModified(false);
    w().gsyear->setMaskedBytes("2010");
    w().gmonth->setMaskedBytes("01");
    work = [](BatchPage& page) {
        page.DayGrid->selectColumn(BatchGrid::kDayColumn);
        page.DayGrid->toggleCurrentDay();
    };
    w().BtnGonSuAll->click();
    EXPECT_EQ(table().RowAt(0).nNal, 1);
    EXPECT_EQ(table().RowAt(1).nNal, 0);
    EXPECT_TRUE(w().controller().SheetModified());
}

} // namespace
} // namespace lavodc
