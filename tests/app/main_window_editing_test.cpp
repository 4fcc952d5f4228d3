// The editing surface as the main window composes it: commands from keys and buttons, the
// header boxes' keys and leave checks, the list and the table's current row.
#include "app/main_window.h"

#include "app/working_copy.h"
#include "app_test_folder.h"
#include "core/cp949.h"
#include "core/quorva_lib.h"
#include "core/sheet.h"
#include "editing/day_strip.h"
#include "editing/entry_page.h"
#include "editing/input_dialog.h"
#include "editing/masked_line_edit.h"
#include "editing/worker_commands.h"
#include "editing/worker_list_view.h"
#include "scripted_prompts.h"
#include "tests/editing/editing_fixture.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
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
            if (fillDialog)
                fillDialog(*dialog.findChild<WorkerEntryPage*>());
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

} // namespace
} // namespace lavodc
