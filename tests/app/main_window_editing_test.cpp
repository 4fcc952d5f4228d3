// The editing surface as the main window composes it: commands from keys and buttons, the
// header boxes' keys and leave checks, the list and the table's current row.
#include "app/main_window.h"

#include "app/working_copy.h"
#include "app_test_folder.h"
#include "core/cp949.h"
#include "core/quorva_lib.h"
#include "core/sheet.h"
#include "editing/batch_page.h"
#include "editing/day_strip.h"
#include "editing/entry_page.h"
#include "editing/input_dialog.h"
#include "editing/masked_line_edit.h"
#include "editing/worker_commands.h"
#include "editing/worker_list_view.h"
#include "scripted_prompts.h"
#include "tests/editing/editing_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

namespace lavodc {
namespace {

using testing::ScriptedPrompts;
using testing::ScratchProgramFolder;

class MainWindowEditingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WorkerTable::WriteStructure(TemplatePath(folder.path()).toStdString());
        window = std::make_unique<Tmainf>(prompts, folder.path());
        window->show();
        window->activateWindow();
        // Leave checks run on focus changes, which an inactive window does not get.
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        w().workerCommands().runDialog = [this](TInPutf& dialog) {
            ++dialogs;
            lastTitle = dialog.windowTitle();
            lastStrip = dialog.TopTitle->text();
            if (auto* page = dialog.findChild<WorkerEntryPage*>(); page && fillDialog)
                fillDialog(*page);
            if (auto* page = dialog.findChild<BatchPage*>(); page && batchWork)
                batchWork(*page);
            return 0;
        };
    }

    Tmainf& w() { return *window; }
    WorkerTable& table() { return window->sheet().table; }
    void addThree()
    {
        testing::AddThreeWorkers(table());
        w().controller().SetSheetModified(false);
    }
    QString listCell(int row, int column)
    {
        return w().WorkerList->model()->data(w().WorkerList->model()->index(row, column)).toString();
    }

    ScratchProgramFolder folder;
    ScriptedPrompts prompts;
    std::unique_ptr<Tmainf> window;
    int dialogs = 0;
    QString lastTitle;
    QString lastStrip;
    std::function<void(WorkerEntryPage&)> fillDialog;
    std::function<void(BatchPage&)> batchWork;
};

TEST_F(MainWindowEditingTest, F2AddsAWorkerThroughTheEntryDialog)
{
    fillDialog = [](WorkerEntryPage& page) {
        page.EdtpName->setText(QStringLiteral("홍길동"));
        page.EdtJmnNo->setMaskedBytes("850101-1234566");
        page.mOk0->click();
    };
    QTest::keyClick(w().gsName, Qt::Key_F2);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(lastTitle, QStringLiteral("명단등록"));
    EXPECT_EQ(lastStrip, QStringLiteral("     이직 일용근로자 명단 등록"));
    ASSERT_EQ(table().RecordCount(), 1);
    EXPECT_EQ(listCell(0, 0), QStringLiteral("홍길동"));
    EXPECT_EQ(w().CurName->text(), QStringLiteral("홍길동"));
    EXPECT_EQ(w().WorkerList->currentIndex().row(), 0);
    EXPECT_TRUE(w().controller().SheetModified());
    EXPECT_EQ(table().FieldText("cDate"), w().sheet().period);
}

TEST_F(MainWindowEditingTest, ModifyAndDeleteDoNothingOnAnEmptyTable)
{
    QTest::keyClick(w().WorkerList, Qt::Key_F3);
    QTest::keyClick(w().WorkerList, Qt::Key_Delete);
    w().BtnEdt->click();
    w().BtnDel->click();
    EXPECT_EQ(dialogs, 0);
    EXPECT_TRUE(prompts.texts.empty());
    EXPECT_FALSE(w().controller().SheetModified());
}

TEST_F(MainWindowEditingTest, ModifyOpensOnTheCurrentWorkerFromF3AndADoubleClick)
{
    addThree();
    table().Next();   // 박영희
    QString shownName;
    fillDialog = [&shownName](WorkerEntryPage& page) { shownName = page.EdtpName->text(); };
    QTest::keyClick(w().WorkerList, Qt::Key_F3);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(lastTitle, QStringLiteral("명단수정"));
    EXPECT_EQ(shownName, QStringLiteral("박영희"));
    const QRect line = w().WorkerList->visualRect(w().WorkerList->model()->index(2, 0));
    QTest::mouseClick(w().WorkerList->viewport(), Qt::LeftButton, Qt::NoModifier, line.center());
    QTest::mouseDClick(w().WorkerList->viewport(), Qt::LeftButton, Qt::NoModifier, line.center());
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(shownName, QStringLiteral("이민호"));
}

TEST_F(MainWindowEditingTest, DeleteAsksOnceAndRemovesOneRow)
{
    addThree();
    prompts.expectConfirm(false);
    QTest::keyClick(w().WorkerList, Qt::Key_Delete);
    EXPECT_EQ(prompts.texts.back(), QStringLiteral(" 정말 삭제하시겠습니까 ??"));
    EXPECT_EQ(table().RecordCount(), 3);
    EXPECT_FALSE(w().controller().SheetModified());

    prompts.expectConfirm(true);
    QTest::keyClick(w().WorkerList, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(table().RecordCount(), 2);
    EXPECT_EQ(prompts.texts.size(), 2u);
    EXPECT_TRUE(w().controller().SheetModified());

    // In the day strip, Delete asks to delete the worker rather than clearing a cell.
    w().CuntGrid->setFocus();
    w().CuntGrid->selectDay(0);
    prompts.expectConfirm(true);
    QTest::keyClick(w().focusWidget(), Qt::Key_Delete);
    EXPECT_EQ(table().RecordCount(), 1);
}

TEST_F(MainWindowEditingTest, AltRRecountsEveryWorkerAndMarksTheSheet)
{
    addThree();
    for (int i = 0; i < 3; ++i) {
        table().MoveTo(i);
        table().Edit();
        table().SetFieldText("d05", std::string(kDayMark));
        table().Post();
    }
    QTest::keyClick(w().WorkerList, Qt::Key_R, Qt::AltModifier);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(table().RowAt(i).nNal, 1);
    EXPECT_TRUE(w().controller().SheetModified());
}

TEST_F(MainWindowEditingTest, ADoubleClickedDayIsAChangeToTheSheet)
{
    addThree();
    const QRect cell = w().CuntGrid->visualRect(w().CuntGrid->model()->index(0, 9));
    QTest::mouseDClick(w().CuntGrid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    EXPECT_EQ(table().FieldText("d10"), kDayMark);
    EXPECT_EQ(listCell(0, 5), QStringLiteral("1"));
    EXPECT_TRUE(w().controller().SheetModified());
}

TEST_F(MainWindowEditingTest, EnterWalksTheHeaderAndMarksTheSheetExceptInTheTelephone)
{
    QWidget* chain[] = {w().gsName, w().gsyear, w().gmonth, w().cmpNo, w().indNo, w().indName,
                        w().MgrName, w().MgrJmnNo, w().cmpAddr, w().cmpTel, w().cmpName, w().WorkerList};
    w().activateWindow();
    for (std::size_t i = 0; i + 1 < std::size(chain); ++i) {
        w().controller().SetSheetModified(false);
        chain[i]->setFocus();
        QTest::keyClick(chain[i], Qt::Key_Return);
        EXPECT_EQ(w().focusWidget(), chain[i + 1]) << chain[i]->objectName().toStdString();
        EXPECT_EQ(w().controller().SheetModified(), chain[i] != w().cmpTel) << chain[i]->objectName().toStdString();
    }
}

TEST_F(MainWindowEditingTest, TheTelephoneTakesDigitsAndDashesOnly)
{
    w().cmpTel->setFocus();
    QTest::keyClicks(w().cmpTel, QStringLiteral("02-12a(3)4 5"));
    EXPECT_EQ(w().cmpTel->text(), QStringLiteral("02-12345"));
}

TEST_F(MainWindowEditingTest, TypingInAHeaderBoxIsAChangeToTheSheet)
{
    w().controller().SetSheetModified(false);
    w().cmpNo->setFocus();
    QTest::keyClicks(w().cmpNo, QStringLiteral("12"));
    EXPECT_TRUE(w().controller().SheetModified());
}

TEST_F(MainWindowEditingTest, LeavingYearOrMonthRebuildsThePeriod)
{
    w().gsyear->setFocus();
    w().gsyear->setMaskedBytes("2010");
    w().gmonth->setMaskedBytes("01");
    w().gmonth->setFocus();
    w().cmpNo->setFocus();
    EXPECT_EQ(w().sheet().period, "2010.01");
    w().gmonth->setMaskedBytes("");
    w().gmonth->setFocus();
    w().cmpNo->setFocus();
    EXPECT_EQ(w().sheet().period, "2010.  ");
}

TEST_F(MainWindowEditingTest, AManagerNumberThatFailsTheCheckIsKeptOnlyOnYes)
{
    w().activateWindow();
    EXPECT_TRUE(w().MgrJmnNoExit());   // blank: no question
    w().MgrJmnNo->setMaskedBytes("800101-1234567");
    prompts.expectConfirm(false);
    w().MgrJmnNo->setFocus();
    QTest::keyClick(w().MgrJmnNo, Qt::Key_Return);
    EXPECT_EQ(prompts.texts.back(), QStringLiteral("올바르지 못한 주민등록입니다. 허용하시겠습니까?"));
    EXPECT_EQ(w().focusWidget(), w().MgrJmnNo);
    prompts.expectConfirm(true);
    QTest::keyClick(w().MgrJmnNo, Qt::Key_Return);
    EXPECT_EQ(w().focusWidget(), w().cmpAddr);
    EXPECT_EQ(w().MgrJmnNo->maskedBytes(), "800101-1234567");
}

TEST_F(MainWindowEditingTest, HeaderBoxesShowTheBeginningAndKeepStoredBytesUntilEdited)
{
    SheetHeader header;
    ResetHeader(header, "2026.11");
    header.gsName = K("아주 긴 공사명이 들어가는 현장입니다 아주 긴 공사명이 들어가는 현장");
    header.cmpName = "A" + K("가가가") + "\xB0";   // cut inside a syllable
    w().pushHeader(header);
    EXPECT_EQ(w().gsName->cursorPosition(), 0);
    EXPECT_EQ(w().cmpName->text(), QStringLiteral("A가가가"));
    SheetHeader pulled;
    w().pullHeader(pulled);
    EXPECT_EQ(pulled.cmpName, header.cmpName);
    // Once edited, the box gives what it shows.
    w().cmpName->setFocus();
    w().cmpName->end(false);
    QTest::keyClick(w().cmpName, Qt::Key_Backspace);
    w().pullHeader(pulled);
    EXPECT_EQ(pulled.cmpName, "A" + K("가가"));
}

TEST_F(MainWindowEditingTest, HeaderBoxesHoldAtMostTheirFieldWidthInBytes)
{
    w().MgrName->setFocus();
    QInputMethodEvent name;
    name.setCommitString(QStringLiteral("가나다라마바"));   // 12 bytes into 10
    QCoreApplication::sendEvent(w().MgrName, &name);
    EXPECT_EQ(w().MgrName->text(), QStringLiteral("가나다라마"));
    // The telephone's stored form must fit its 15 bytes.
    w().cmpTel->setFocus();
    QTest::keyClicks(w().cmpTel, QStringLiteral("02-1234-5678901234"));
    EXPECT_LE(BracketPhone(w().cmpTel->text().toStdString(), 4).size(), 15u);
}

TEST_F(MainWindowEditingTest, ASyllableBeingComposedIsSavedWithTheSheet)
{
    addThree();
    w().gsName->setFocus();
    QInputMethodEvent composing(QStringLiteral("현"), {});
    QCoreApplication::sendEvent(w().gsName, &composing);
    const QString path = folder.path() + QStringLiteral("composed.Lvo");
    prompts.expectSaveFile(path);
    QTest::keyClick(w().gsName, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(w().gsName->text(), QStringLiteral("현"));
    EXPECT_FALSE(w().controller().SheetModified());
    prompts.expectOpenFile(path);
    w().gsName->clear();
    w().controller().SetSheetModified(false);
    QTest::keyClick(w().gsName, Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(w().gsName->text(), QStringLiteral("현"));
}

TEST_F(MainWindowEditingTest, TheListAndTheTableKeepOneCurrentRow)
{
    addThree();
    const QRect line = w().WorkerList->visualRect(w().WorkerList->model()->index(2, 3));
    QTest::mouseClick(w().WorkerList->viewport(), Qt::LeftButton, Qt::NoModifier, line.center());
    EXPECT_EQ(table().CurrentIndex(), 2);
    EXPECT_EQ(w().CurName->text(), QStringLiteral("이민호"));
    w().NavFirst->click();
    EXPECT_EQ(w().WorkerList->currentIndex().row(), 0);
    w().NavNext->click();
    EXPECT_EQ(w().WorkerList->currentIndex().row(), 1);
    w().NavLast->click();
    EXPECT_EQ(w().WorkerList->selectionModel()->selectedRows().value(0).row(), 2);
    w().NavPrior->click();
    EXPECT_EQ(table().CurrentIndex(), 1);
    // Down on the last worker adds nothing.
    w().NavLast->click();
    QTest::keyClick(w().WorkerList, Qt::Key_Down);
    EXPECT_EQ(table().RecordCount(), 3);
    EXPECT_EQ(table().CurrentIndex(), 2);
}

TEST_F(MainWindowEditingTest, TheSortButtonsOrderTheListAndNewPutsNameBack)
{
    addThree();
    w().InDex2->click();
    EXPECT_EQ(table().IndexFieldNames(), std::string(kByJobIndex));
    EXPECT_EQ(listCell(0, 0), QStringLiteral("이민호"));   // A.철근원 first
    EXPECT_FALSE(w().controller().SheetModified());
    w().InDex1->click();
    EXPECT_EQ(listCell(0, 0), QStringLiteral("김철수"));
    w().InDex2->click();
    QTest::keyClick(w().WorkerList, Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(w().InDex1->isChecked());
    EXPECT_EQ(table().IndexFieldNames(), std::string(kByNameIndex));
}

// ---- the focus after commands that change the whole table ----------------------------

enum class WholeTableCommand { Add, Delete, DeleteButton, Recount, Export, Sort, Batch };

struct FocusCase {
    const char* name;
    bool fromHeader;   // the focus in the site name box, otherwise in the worker list
    WholeTableCommand command;
};

void PrintTo(const FocusCase& c, std::ostream* out) { *out << c.name; }

class MainWindowFocusTest : public MainWindowEditingTest, public ::testing::WithParamInterface<FocusCase> {
protected:
    // Keys go where the user's would: to the widget with the focus.
    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, key, modifiers);
    }

    void run(WholeTableCommand command)
    {
        switch (command) {
        case WholeTableCommand::Add:
            fillDialog = [](WorkerEntryPage& page) {
                page.EdtpName->setText(QStringLiteral("홍길동"));
                page.EdtJmnNo->setMaskedBytes("800101-1000001");
                page.mOk0->click();
            };
            press(Qt::Key_F2);
            break;
        case WholeTableCommand::Delete:
            prompts.expectConfirm(true);
            press(Qt::Key_Delete);
            break;
        case WholeTableCommand::DeleteButton:
            prompts.expectConfirm(true);
            w().BtnDel->click();
            break;
        case WholeTableCommand::Recount:
            press(Qt::Key_R, Qt::AltModifier);
            break;
        case WholeTableCommand::Export:
            prompts.expectMessage();   // nothing opens workbooks here
            press(Qt::Key_E, Qt::AltModifier);
            break;
        case WholeTableCommand::Sort:
            w().InDex2->click();
            break;
        case WholeTableCommand::Batch:
            batchWork = [](BatchPage& page) { page.AllDtBtn->click(); };
            w().BtnGonSuAll->click();
            break;
        }
    }
};

TEST_P(MainWindowFocusTest, TheFocusStaysWhereTheUserHadIt)
{
    addThree();
    QWidget* start = GetParam().fromHeader ? static_cast<QWidget*>(w().gsName) : w().WorkerList;
    start->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), start);
    run(GetParam().command);
    EXPECT_EQ(QApplication::focusWidget(), start);
    // The command did run.
    EXPECT_TRUE(prompts.allAnswered());
    switch (GetParam().command) {
    case WholeTableCommand::Add: EXPECT_EQ(table().RecordCount(), 4); break;
    case WholeTableCommand::Delete:
    case WholeTableCommand::DeleteButton: EXPECT_EQ(table().RecordCount(), 2); break;
    case WholeTableCommand::Sort: EXPECT_EQ(table().IndexFieldNames(), std::string(kByJobIndex)); break;
    case WholeTableCommand::Recount:
    case WholeTableCommand::Batch: EXPECT_TRUE(w().controller().SheetModified()); break;
    case WholeTableCommand::Export: break;   // its message box was answered
    }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, MainWindowFocusTest,
    ::testing::Values(FocusCase{"add from the list", false, WholeTableCommand::Add},
                      FocusCase{"add from the header", true, WholeTableCommand::Add},
                      FocusCase{"delete from the list", false, WholeTableCommand::Delete},
                      FocusCase{"delete button from the header", true, WholeTableCommand::DeleteButton},
                      FocusCase{"recount from the list", false, WholeTableCommand::Recount},
                      FocusCase{"export from the list", false, WholeTableCommand::Export},
                      FocusCase{"sort from the list", false, WholeTableCommand::Sort},
                      FocusCase{"sort from the header", true, WholeTableCommand::Sort},
                      FocusCase{"batch from the list", false, WholeTableCommand::Batch},
                      FocusCase{"batch from the header", true, WholeTableCommand::Batch}));

TEST_F(MainWindowFocusTest, ASecondAltEExportsTheListAgain)
{
    addThree();
    w().WorkerList->setFocus();
    for (int i = 0; i < 2; ++i) {
        QApplication::clipboard()->clear();
        prompts.expectMessage();
        press(Qt::Key_E, Qt::AltModifier);
        EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QStringLiteral("성    명\t"))) << i;
        EXPECT_EQ(QApplication::focusWidget(), w().WorkerList) << i;
    }
}

TEST_F(MainWindowFocusTest, AfterTheLastWorkerIsDeletedTheListHasTheFocusAndItsKeysWork)
{
    for (bool fromStrip : {false, true}) {
        testing::AddWorker(table(), {"김철수", "750505-1234567", "A.철근원"});
        testing::AddWorker(table(), {"박영희", "850101-1234566", "B.철골공"});
        QWidget* start = fromStrip ? static_cast<QWidget*>(w().CuntGrid) : w().WorkerList;
        start->setFocus();
        for (int left = 1; left >= 0; --left) {
            prompts.expectConfirm(true);
            press(Qt::Key_Delete);
            EXPECT_EQ(table().RecordCount(), left) << fromStrip;
            EXPECT_EQ(QApplication::focusWidget(), left > 0 ? start : w().WorkerList) << fromStrip;
        }
        const int before = dialogs;
        press(Qt::Key_F2);
        EXPECT_EQ(dialogs, before + 1) << fromStrip;
        EXPECT_EQ(lastTitle, QStringLiteral("명단등록"));
    }
}

TEST_F(MainWindowEditingTest, ATypedMarkCountsAndIsAChangeToTheSheet)
{
    addThree();
    QSignalSpy edited(window.get(), &Tmainf::sheetEdited);
    w().CuntGrid->setFocus();
    w().CuntGrid->selectDay(3);
    QTest::keyClick(w().CuntGrid, Qt::Key_O);
    EXPECT_EQ(edited.count(), 1);   // the recovery copy follows it
    EXPECT_EQ(table().FieldText("d04"), kDayMark);
    EXPECT_EQ(listCell(0, 5), QStringLiteral("1"));
    EXPECT_TRUE(w().controller().SheetModified());
    EXPECT_EQ(w().CuntGrid->selectedDay(), 4);
}

} // namespace
} // namespace lavodc
