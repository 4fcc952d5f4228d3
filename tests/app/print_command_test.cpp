// The print command and its page, with a recording printer seam and scripted prompts.
#include "app/print_command.h"

#include "app/print_preview.h"
#include "editing/input_dialog.h"
#include "core/cp949.h"
#include "editing/masked_line_edit.h"
#include "report/report_captions.h"
#include "services/settings.h"
#include "tests/app/app_test_folder.h"
#include "tests/app/fake_print_target.h"
#include "tests/app/scripted_prompts.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

#include <memory>
#include <vector>

namespace lavodc {
namespace {

using testing::FakePrintTarget;
using testing::ScratchProgramFolder;
using testing::ScriptedPrompts;

const QRect kMainWindow(100, 50, 1000, 700);

int pdfPageCount(const QByteArray& pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    return static_cast<int>(QString::fromLatin1(pdf).count(page));
}

class PrintCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        table.Open();
        target.table = &table;
        header.gsyear = "2010";
        header.gmonth = "01";
        header.cmpName = K("박대표");
        command = std::make_unique<PrintCommand>(table, [this] { return header; }, prompts, target);
        command->SetStatusSink([this](const QString& text) { statuses.push_back(text); });
    }

    void addWorkers(int count)
    {
        std::vector<WorkerRow> rows(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            rows[static_cast<std::size_t>(i)].pName = "W" + std::to_string(10 + i);
            rows[static_cast<std::size_t>(i)].SmMny = 1000;
        }
        table.AppendRows(std::move(rows));
    }

    // The counting run and the dialog as the print button opens them.
    PrintPage& open(int workers)
    {
        addWorkers(workers);
        EXPECT_TRUE(command->Prepare());
        dialog = command->CreateDialog(kMainWindow, nullptr);
        return *command->Page();
    }

    void writeShifts(const QString& top, const QString& left)
    {
        WriteIniText(QString::fromLatin1(kIniFileName), QStringLiteral("여백"), QStringLiteral("fpTop"), top);
        WriteIniText(QString::fromLatin1(kIniFileName), QStringLiteral("여백"), QStringLiteral("fpLft"), left);
    }

    ScratchProgramFolder folder;
    WorkerTable table;
    SheetHeader header;
    ScriptedPrompts prompts;
    FakePrintTarget target;
    std::unique_ptr<PrintCommand> command;
    std::unique_ptr<QDialog> dialog;
    std::vector<QString> statuses;   // what the status bar was told
};

TEST_F(PrintCommandTest, EmptyTableOpensNothing)
{
    command->SetDialogRunner([](QDialog&) { ADD_FAILURE() << "a dialog opened for an empty table"; });
    command->PrtBtnClick(nullptr);
    EXPECT_FALSE(command->Prepare());
    EXPECT_TRUE(target.jobs.empty());
}

TEST_F(PrintCommandTest, CountingRunKeepsTheRowAndGivesThePageCount)
{
    struct Case {
        int workers;
        int pages;
    };
    for (const Case c : {Case{1, 1}, Case{7, 1}, Case{8, 2}, Case{9, 2}, Case{16, 3}}) {
        table.DeleteAllRows();
        addWorkers(c.workers);
        table.MoveTo(c.workers / 2);
        ASSERT_TRUE(command->Prepare());
        EXPECT_EQ(command->PageCount(), c.pages) << c.workers;
        EXPECT_EQ(table.CurrentIndex(), c.workers / 2) << c.workers;
        EXPECT_FALSE(table.Frozen());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

TEST_F(PrintCommandTest, OpeningPlacesTheDialogAndFillsTheBoxes)
{
    writeShifts(QStringLiteral("5"), QStringLiteral("-3"));
    target.current = QStringLiteral("Lobby");
    PrintPage& page = open(8);

    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("인쇄"));
    // The frame drops the system caption and keeps the client area of a 260 x 222 window.
    EXPECT_EQ(dialog->geometry(),
              QRect(100 + (1000 - 280) / 2, 50 + (700 - 275) / 2, 260, 222 - TInPutf::captionHeight()));
    EXPECT_EQ(PrintCommand::DialogPlace(QRect(0, 0, 279, 274)).topLeft(), QPoint(0, 0));   // halvings truncate
    auto* frame = qobject_cast<TInPutf*>(dialog.get());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->TopTitle->text(), QStringLiteral("        출력물의 여백을 확인하세요"));
    EXPECT_EQ(frame->nPage->currentWidget(), frame->shet02);
    EXPECT_TRUE(frame->shet02->isAncestorOf(&page));
    frame->show();
    EXPECT_LE(page.mOk2->mapTo(frame, QPoint(0, page.mOk2->height())).y(), frame->height());   // nothing cut off

    EXPECT_EQ(page.TopEdit2->text(), QStringLiteral("5"));
    EXPECT_EQ(page.LftEdit2->text(), QStringLiteral("-3"));
    EXPECT_EQ(page.prtday->maskedBytes(), report::TodayReportDate());
    EXPECT_EQ(page.FCntEdt2->text(), QStringLiteral("1"));
    EXPECT_EQ(page.LCntEdt2->text(), QStringLiteral("2"));   // 8 workers make two pages
    ASSERT_EQ(page.PrtComb->count(), 2);
    EXPECT_EQ(page.PrtComb->currentText(), QStringLiteral("Lobby"));
    EXPECT_TRUE(page.pCheck->isChecked());
    EXPECT_FALSE(page.FCntEdt2->isEnabled());
    EXPECT_FALSE(page.LCntEdt2->isEnabled());

    QTest::mouseClick(page.pCheck, Qt::LeftButton);
    EXPECT_TRUE(page.FCntEdt2->isEnabled());
    EXPECT_TRUE(page.LCntEdt2->isEnabled());
}

TEST_F(PrintCommandTest, MissingSettingsShowZeroShifts)
{
    PrintPage& page = open(3);
    EXPECT_EQ(page.TopEdit2->text(), QStringLiteral("0"));
    EXPECT_EQ(page.LftEdit2->text(), QStringLiteral("0"));
}

struct ShiftCase {
    const char* top;
    const char* left;
    report::ReportMargins margins;
};

class PrintMarginsTest : public PrintCommandTest, public ::testing::WithParamInterface<ShiftCase> {};

TEST_P(PrintMarginsTest, ShiftsMoveTheMarginsHandedToTheReport)
{
    PrintPage& page = open(3);
    page.TopEdit2->setText(QString::fromLatin1(GetParam().top));
    page.LftEdit2->setText(QString::fromLatin1(GetParam().left));
    QTest::mouseClick(page.mOk2, Qt::LeftButton);
    ASSERT_EQ(target.jobs.size(), 1u);
    const report::ReportMargins& got = target.jobs[0].margins;
    const report::ReportMargins& want = GetParam().margins;
    EXPECT_EQ(got.top, want.top);
    EXPECT_EQ(got.bottom, want.bottom);
    EXPECT_EQ(got.left, want.left);
    EXPECT_EQ(got.right, want.right);
}

INSTANTIATE_TEST_SUITE_P(Shifts, PrintMarginsTest,
                         ::testing::Values(ShiftCase{"0", "0", {140, 100, 160, 100}},
                                           ShiftCase{"5", "-3", {145, 95, 157, 103}},
                                           ShiftCase{"", "", {140, 100, 160, 100}},
                                           ShiftCase{"150", "120", {290, 0, 280, 0}}));

TEST_F(PrintCommandTest, ConfirmedShiftsComeBackInTheNextDialogAndAfterARestart)
{
    PrintPage& page = open(3);
    page.TopEdit2->setText(QStringLiteral("12"));
    page.LftEdit2->setText(QStringLiteral("-7"));
    QTest::mouseClick(page.mOk2, Qt::LeftButton);
    dialog.reset();

    // A new command reads the file afresh, as a new run of the program would.
    PrintCommand next(table, [this] { return header; }, prompts, target);
    ASSERT_TRUE(next.Prepare());
    const auto again = next.CreateDialog(kMainWindow, nullptr);
    EXPECT_EQ(next.Page()->TopEdit2->text(), QStringLiteral("12"));
    EXPECT_EQ(next.Page()->LftEdit2->text(), QStringLiteral("-7"));
    const QByteArray ini = folder.readFile(QStringLiteral("lavocfg.ini"));
    EXPECT_TRUE(ini.contains("fpTop=12")) << ini.constData();
    EXPECT_TRUE(ini.contains("fpLft=-7")) << ini.constData();
}

TEST_F(PrintCommandTest, IncompleteDateIsRefusedWhenTheBoxIsLeft)
{
    PrintPage& page = open(3);
    page.prtday->setMaskedBytes("2010.01.2");
    prompts.expectInfo();
    EXPECT_FALSE(page.prtdayExit());
    EXPECT_EQ(prompts.texts.back(), QStringLiteral("날짜입력 형식이 틀렸습니다. 예)2000.05.27"));

    page.prtday->setMaskedBytes("2010.13.27");   // only the shape is checked
    EXPECT_TRUE(page.prtdayExit());
}

TEST_F(PrintCommandTest, LeavingAnIncompleteDateForAnotherBoxBringsTheFocusBack)
{
    PrintPage& page = open(3);
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    page.prtday->setFocus();
    page.prtday->setMaskedBytes("2010.01");
    prompts.expectInfo();
    page.pCheck->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(prompts.texts.size(), 1u);
    EXPECT_TRUE(page.prtday->hasFocus());
    EXPECT_EQ(page.prtday->cursorPosition(), 10);   // after the last of the mask's ten positions
}

TEST_F(PrintCommandTest, EmptyDatePassesAndPrintsTheWordsAlone)
{
    PrintPage& page = open(3);
    page.prtday->setMaskedBytes("");
    EXPECT_TRUE(page.prtdayExit());
    QTest::mouseClick(page.mOk2, Qt::LeftButton);
    ASSERT_EQ(target.jobs.size(), 1u);
    EXPECT_EQ(fromCp949(target.jobs[0].reportDate), "     년        월        일");
}

TEST_F(PrintCommandTest, PrintingHandsTheCaptionsAndDateAndKeepsTheRowAndDialog)
{
    header.gsName = K("한빛 현장");
    PrintPage& page = open(9);
    table.MoveTo(4);
    page.prtday->setMaskedBytes("2010.01.27");
    dialog->show();
    QTest::mouseClick(page.mOk2, Qt::LeftButton);

    ASSERT_EQ(target.jobs.size(), 1u);
    const FakePrintTarget::Job& job = target.jobs[0];
    EXPECT_EQ(fromCp949(job.title), "근로내역확인신고서 ( 2010 년 01 월분 )");
    EXPECT_EQ(fromCp949(job.reportDate), "2010 년     01 월     27 일");
    EXPECT_EQ(job.pages, (std::vector<int>{1, 2}));
    EXPECT_EQ(job.firstWorkers, (std::vector<std::string>{"W10", "W18"}));   // from the first row on
    EXPECT_TRUE(job.tableFrozen);
    EXPECT_EQ(table.CurrentIndex(), 4);
    EXPECT_FALSE(table.Frozen());
    EXPECT_TRUE(dialog->isVisible());   // stays open for another print
    // Handed to the queue: the status bar says to which printer and which pages.
    EXPECT_EQ(statuses, std::vector<QString>{QStringLiteral("Office 프린터로 2쪽을 보냈습니다 (1~2쪽).")});

    QTest::mouseClick(page.mVde2, Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(PrintCommandTest, RangeThenAllPagesAgain)
{
    PrintPage& page = open(16);
    QTest::mouseClick(page.pCheck, Qt::LeftButton);
    page.FCntEdt2->setText(QStringLiteral("2"));
    page.LCntEdt2->setText(QStringLiteral("3"));
    QTest::mouseClick(page.mOk2, Qt::LeftButton);
    QTest::mouseClick(page.pCheck, Qt::LeftButton);
    QTest::mouseClick(page.mOk2, Qt::LeftButton);

    ASSERT_EQ(target.jobs.size(), 2u);
    EXPECT_EQ(target.jobs[0].pages, (std::vector<int>{2, 3}));
    EXPECT_EQ(target.jobs[0].firstPage, 2);
    EXPECT_EQ(target.jobs[0].lastPage, 3);
    EXPECT_EQ(target.jobs[1].pages, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(target.jobs[1].firstPage, 0);
    EXPECT_EQ(target.jobs[1].lastPage, 0);
    EXPECT_EQ(statuses, (std::vector<QString>{QStringLiteral("Office 프린터로 2쪽을 보냈습니다 (2~3쪽)."),
                                              QStringLiteral("Office 프린터로 3쪽을 보냈습니다 (1~3쪽).")}));
}

struct RangeCase {
    const char* first;
    const char* last;
    const char* message;
};

class PrintRangeTest : public PrintCommandTest, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(PrintRangeTest, UnusablePageBoxSaysSoAndPrintsNothing)
{
    PrintPage& page = open(16);   // three pages
    table.MoveTo(5);
    QTest::mouseClick(page.pCheck, Qt::LeftButton);
    page.FCntEdt2->setText(QString::fromUtf8(GetParam().first));
    page.LCntEdt2->setText(QString::fromUtf8(GetParam().last));
    dialog->show();
    prompts.expectInfo();
    QTest::mouseClick(page.mOk2, Qt::LeftButton);

    EXPECT_TRUE(target.jobs.empty());
    ASSERT_FALSE(prompts.texts.empty());
    EXPECT_TRUE(prompts.texts.back().startsWith(QString::fromUtf8(GetParam().message))) << prompts.texts.back().toStdString();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(table.CurrentIndex(), 5);
    EXPECT_FALSE(table.Frozen());
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, PrintRangeTest,
    ::testing::Values(RangeCase{"", "2", "인쇄범위의 쪽 번호는 숫자로만"}, RangeCase{"1", "1,000", "인쇄범위의 쪽 번호는 숫자로만"},
                      RangeCase{"x", "2", "인쇄범위의 쪽 번호는 숫자로만"}, RangeCase{"0", "1", "인쇄범위가 맞지 않습니다. 1 ~ 3쪽"},
                      RangeCase{"3", "2", "인쇄범위가 맞지 않습니다."}, RangeCase{"2", "4", "인쇄범위가 맞지 않습니다."}),
    [](const ::testing::TestParamInfo<RangeCase>& info) { return "Case" + std::to_string(info.index); });

TEST_F(PrintCommandTest, ChosenPrinterStaysCurrentForTheRun)
{
    PrintPage& page = open(3);
    page.PrtComb->setCurrentIndex(1);
    QTest::mouseClick(page.mOk2, Qt::LeftButton);
    ASSERT_EQ(target.jobs.size(), 1u);
    EXPECT_EQ(target.jobs[0].printer, QStringLiteral("Lobby"));
    EXPECT_EQ(target.CurrentPrinter(), QStringLiteral("Lobby"));
    EXPECT_EQ(statuses, std::vector<QString>{QStringLiteral("Lobby 프린터로 1쪽을 보냈습니다 (1쪽).")});

    dialog = command->CreateDialog(kMainWindow, nullptr);
    EXPECT_EQ(command->Page()->PrtComb->currentText(), QStringLiteral("Lobby"));

    // A typed name that is no entry leaves the current printer as it is.
    command->Page()->PrtComb->setEditText(QStringLiteral("Nowhere"));
    QTest::mouseClick(command->Page()->mOk2, Qt::LeftButton);
    ASSERT_EQ(target.jobs.size(), 2u);
    EXPECT_EQ(target.jobs[1].printer, QStringLiteral("Lobby"));
}

TEST_F(PrintCommandTest, RefusedJobIsReportedWithItsReasonAndNotAsPrinted)
{
    PrintPage& page = open(3);
    table.MoveTo(1);
    target.refuseWith = "The printer is not accepting jobs";
    prompts.expectError();
    const auto choice = page.Choice();
    ASSERT_TRUE(choice);
    EXPECT_FALSE(command->Print(*choice));
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_TRUE(prompts.errors[0].contains(QStringLiteral("The printer is not accepting jobs")));
    EXPECT_TRUE(prompts.errors[0].contains(QStringLiteral("Office")));
    EXPECT_TRUE(statuses.empty());
    EXPECT_EQ(table.CurrentIndex(), 1);
    EXPECT_FALSE(table.Frozen());
}

TEST_F(PrintCommandTest, CancelInTheProgressWindowStopsTheJob)
{
    PrintPage& page = open(20);   // three pages
    target.onPage = [](int) {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* progress = qobject_cast<QProgressDialog*>(widget); progress && progress->isVisible())
                progress->cancel();
    };
    const auto choice = page.Choice();
    ASSERT_TRUE(choice);
    EXPECT_FALSE(command->Print(*choice));
    EXPECT_TRUE(target.jobs.empty());
    EXPECT_TRUE(prompts.errors.empty());
    EXPECT_TRUE(statuses.empty());
    EXPECT_FALSE(table.Frozen());
}

TEST_F(PrintCommandTest, WithoutPrintersConfirmSaysSoWhilePreviewAndPdfWork)
{
    target.names.clear();
    PrintPage& page = open(9);
    EXPECT_EQ(page.PrtComb->count(), 0);
    prompts.expectInfo();
    QTest::mouseClick(page.mOk2, Qt::LeftButton);
    EXPECT_TRUE(target.jobs.empty());
    ASSERT_FALSE(prompts.texts.empty());
    EXPECT_TRUE(prompts.texts.back().startsWith(QStringLiteral("사용할 수 있는 프린터가 없습니다.")));

    int previews = 0;
    command->SetDialogRunner([&](QDialog& shown) {
        auto* preview = qobject_cast<PrintPreview*>(&shown);
        ASSERT_NE(preview, nullptr);
        ++previews;
        EXPECT_FALSE(preview->ShownImage().isNull());
    });
    QTest::mouseClick(page.mPrv2, Qt::LeftButton);
    EXPECT_EQ(previews, 1);

    const QString pdf = folder.path() + QStringLiteral("form.pdf");
    prompts.expectSaveFile(pdf);
    QTest::mouseClick(page.mPdf2, Qt::LeftButton);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(pdfPageCount(file.readAll()), 2);
}

TEST_F(PrintCommandTest, PreviewDrawsOnlyTheShownPageOfTheRangeAndPrintsIt)
{
    PrintPage& page = open(30);   // four pages
    QTest::mouseClick(page.pCheck, Qt::LeftButton);
    page.FCntEdt2->setText(QStringLiteral("2"));
    page.LCntEdt2->setText(QStringLiteral("3"));
    const auto choice = page.Choice();
    ASSERT_TRUE(choice);
    table.MoveTo(7);

    command->SetDialogRunner([&](QDialog& shown) {
        auto& preview = dynamic_cast<PrintPreview&>(shown);
        EXPECT_EQ(preview.CurrentPage(), 2);
        EXPECT_EQ(preview.RenderCount(), 1);
        EXPECT_EQ(preview.ShownImage(), command->RenderPage(*choice, 2, 96.0));   // as the printer gets it
        EXPECT_EQ(preview.PageLabel->text(), QStringLiteral("2 / 3 쪽"));
        EXPECT_FALSE(preview.PriorBtn->isEnabled());
        preview.NextPage();
        preview.NextPage();   // held at the last page of the range
        EXPECT_EQ(preview.CurrentPage(), 3);
        EXPECT_EQ(preview.RenderCount(), 2);
        EXPECT_FALSE(preview.NextBtn->isEnabled());
        const QSize before = preview.ShownImage().size();
        preview.ZoomIn();
        EXPECT_GT(preview.ShownImage().width(), before.width());
        QTest::mouseClick(preview.PrintBtn, Qt::LeftButton);
    });
    EXPECT_TRUE(command->Preview(*choice));
    ASSERT_EQ(target.jobs.size(), 1u);
    EXPECT_EQ(target.jobs[0].pages, (std::vector<int>{2, 3}));
    EXPECT_EQ(table.CurrentIndex(), 7);
    EXPECT_FALSE(table.Frozen());
}

TEST_F(PrintCommandTest, PdfSaveLeavesNoFileWhenCancelledOrUnwritable)
{
    PrintPage& page = open(3);
    const auto choice = page.Choice();
    ASSERT_TRUE(choice);
    prompts.expectSaveFile(std::nullopt);
    EXPECT_FALSE(command->SavePdf(*choice));

    const QString unwritable = folder.path() + QStringLiteral("no/such/folder/form.pdf");
    prompts.expectSaveFile(unwritable);
    prompts.expectError();
    EXPECT_FALSE(command->SavePdf(*choice));
    EXPECT_FALSE(QFile::exists(unwritable));
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_TRUE(prompts.errors[0].startsWith(QStringLiteral("PDF 파일을 저장하지 못했습니다")));
    EXPECT_FALSE(table.Frozen());
}

} // namespace
} // namespace lavodc
