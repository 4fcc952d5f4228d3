// "전자신고 파일": the dialog's contents for the sheet on screen, what the clerk fills in, what is
// kept for later months, the workbook written in the table's order, and what is refused. The
// dialog is driven through its widgets; no test waits for it.
#include "app/efile_command.h"

#include "app/efile_dialog.h"
#include "core/cp949.h"
#include "services/efile_code_store.h"
#include "services/settings.h"
#include "services/xlsx_sheet_reader.h"
#include "tests/app/fake_document_view.h"
#include "tests/app/scripted_prompts.h"

#include "tests/support/list_sources.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/stat.h>

namespace lavodc {
namespace {

using testing::FakeDocumentView;
using testing::ScriptedPrompts;

std::string native(const QString& path) { return QFile::encodeName(path).toStdString(); }

class EfileCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(scratch.isValid());
        folder = scratch.path() + QLatin1Char('/');
        SetProgramFolder(folder);
        ASSERT_TRUE(QDir(folder).mkpath(QStringLiteral("Temp")));
        WorkerTable::WriteStructure(native(folder + QStringLiteral("Temp/TmpLdoc.cds")));
        controller = std::make_unique<DocumentController>(sheet, view, prompts, folder);
        ASSERT_TRUE(controller->NewFileClick());
        command = std::make_unique<EfileCommand>(sheet.table, *controller, prompts);
        view.boxes.gsyear = "2026";
        view.boxes.gmonth = "11";
        addWorker("홍길동", "881130-1234568", "A.철근원", {3, 4, 5}, 600000, "(010)9876-5432");
        addWorker("응우옌", "900101-5123456", "U.건설단순노무자", {10}, 130000);
        addWorker("김철수", "750505-1234564", "B.철골공", {1, 31}, 450000, "", "1.회사사정에 의한 이직");
        controller->SetSheetModified(false);
    }
    void TearDown() override { SetProgramFolder(QString()); }

    void addWorker(const char* name, const char* number, const char* job, std::initializer_list<int> days,
                   double wages, const char* tel = "", const char* reason = "")
    {
        sheet.table.Append();
        sheet.table.SetFieldText("pName", K(name));
        sheet.table.SetFieldText("JmnNo", number);
        sheet.table.SetFieldText("nName", K(job));
        sheet.table.SetFieldText("nTel", tel);
        sheet.table.SetFieldText("nEtc", K(reason));
        for (int day : days)
            sheet.table.SetFieldTextAt(kFirstDayField + day - 1, std::string(kDayMark));
        sheet.table.SetFieldFloat("nDay", 8);
        sheet.table.SetFieldFloat("SmMny", wages);
        sheet.table.Post();
    }

    // Runs the command, handing the dialog to `drive` instead of showing it.
    QString run(const std::function<void(EfileDialog&)>& drive)
    {
        bool shown = false;
        const QString status = command->EfileBtnClick(nullptr, [&](EfileDialog& dialog) {
            shown = true;
            drive(dialog);
        });
        EXPECT_TRUE(shown);
        return status;
    }

    static int rowOf(const QTableWidget* grid, const QString& firstColumn)
    {
        for (int row = 0; row < grid->rowCount(); ++row)
            if (grid->item(row, 0)->text() == firstColumn)
                return row;
        return -1;
    }

    QStringList rowsOf(const QString& path) const
    {
        QStringList rows;
        test::KeepAllRows sheet;
        ReadXlsxFirstSheet(native(path), sheet);
        for (const test::KeptRow& row : sheet.rows) {
            QStringList cells;
            for (const std::string& cell : row.cells)
                cells << QString::fromStdString(cell);
            while (!cells.isEmpty() && cells.back().isEmpty())
                cells.removeLast();
            rows << cells.join(QLatin1Char('|'));
        }
        return rows;
    }

    QTemporaryDir scratch;
    QString folder;
    Sheet sheet;
    FakeDocumentView view;
    ScriptedPrompts prompts;
    std::unique_ptr<DocumentController> controller;
    std::unique_ptr<EfileCommand> command;
};

TEST_F(EfileCommandTest, TheDialogShowsTheSheetsJobTypesForeignersAndWhatIsMissing)
{
    WriteJobTable(QString::fromLatin1(kIniFileName), {{"A", "701"}});
    run([](EfileDialog& dialog) {
        // Job types as the job list shows them, in the table's order (by name: 김, 응, 홍).
        ASSERT_EQ(dialog.JobGrid->rowCount(), 3);
        EXPECT_EQ(dialog.JobGrid->item(0, 0)->text(), QStringLiteral("B.철골공"));
        EXPECT_EQ(dialog.JobGrid->item(2, 0)->text(), QStringLiteral("A.철근원"));
        EXPECT_EQ(dialog.jobCodeBox(2)->currentText(), QStringLiteral("701"));   // kept from before
        EXPECT_EQ(dialog.jobCodeBox(0)->currentText(), QString());
        // The five examples, each marked as one to check.
        QComboBox* box = dialog.jobCodeBox(0);
        ASSERT_EQ(box->count(), 6);
        for (int i = 1; i < box->count(); ++i)
            EXPECT_TRUE(box->itemText(i).endsWith(QStringLiteral("(예시, 확인 필요)"))) << box->itemText(i).toStdString();
        EXPECT_EQ(box->itemText(5), QStringLiteral("013 건설·채굴·제조·생산 관리자 (예시, 확인 필요)"));
        // Foreigners by name and number.
        ASSERT_EQ(dialog.PeopleGrid->rowCount(), 1);
        EXPECT_EQ(dialog.PeopleGrid->item(0, 0)->text(), QStringLiteral("응우옌"));
        EXPECT_EQ(dialog.PeopleGrid->item(0, 1)->text(), QStringLiteral("900101-5123456"));
        // The options as they start.
        EXPECT_TRUE(dialog.Insurance5->isChecked());
        EXPECT_FALSE(dialog.TaxReport->isChecked());
        EXPECT_FALSE(dialog.PaymentMonth->isEnabled());
        EXPECT_EQ(dialog.PaymentMonth->text(), QStringLiteral("202611"));
        EXPECT_EQ(dialog.SummaryView->toPlainText(), QStringLiteral("근로자 3명, 확인할 것 4건:\n"
                                                                    "김철수: 11월에 없는 31일의 표시를 뺐습니다\n"
                                                                    "응우옌: 외국인의 국적코드와 체류자격코드가 없습니다\n"
                                                                    "B.철골공: 직종코드가 없습니다 (김철수)\n"
                                                                    "U.건설단순노무자: 직종코드가 없습니다 (응우옌)"));
        // The summary follows what is filled in.
        dialog.jobCodeBox(0)->setEditText(QStringLiteral("701"));
        dialog.nationalityBox(0)->setText(QStringLiteral("250"));
        dialog.stayStatusBox(0)->setText(QStringLiteral("e-9"));
        EXPECT_EQ(dialog.SummaryView->toPlainText(), QStringLiteral("근로자 3명, 확인할 것 2건:\n"
                                                                    "김철수: 11월에 없는 31일의 표시를 뺐습니다\n"
                                                                    "U.건설단순노무자: 직종코드가 없습니다 (응우옌)"));
        dialog.CloseBtn->click();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    });
    // Closing keeps nothing.
    EXPECT_TRUE(ReadPeopleFile().codes.empty());
    EXPECT_EQ(ReadJobTable(QString::fromLatin1(kIniFileName)), (JobCodes{{"A", "701"}}));
}

TEST_F(EfileCommandTest, SavingKeepsTheCodesAndWritesTheWorkbookInTheTablesOrder)
{
    sheet.table.SetIndexFieldNames(kByJobIndex);   // A 홍길동, B 김철수, U 응우옌
    const QString target = folder + QStringLiteral("11월.xlsx");
    prompts.expectConfirm(true);   // the 31st of November is still left out
    prompts.expectSaveFile(target);
    const QString status = run([](EfileDialog& dialog) {
        dialog.jobCodeBox(rowOf(dialog.JobGrid, QStringLiteral("A.철근원")))->setCurrentIndex(1);   // 701, an example
        dialog.jobCodeBox(rowOf(dialog.JobGrid, QStringLiteral("B.철골공")))->setEditText(QStringLiteral(" 705 "));
        dialog.jobCodeBox(rowOf(dialog.JobGrid, QStringLiteral("U.건설단순노무자")))->setEditText(QStringLiteral("706"));
        dialog.nationalityBox(0)->setText(QStringLiteral("250"));
        dialog.stayStatusBox(0)->setText(QStringLiteral("e-9"));
        dialog.Insurance3->click();
        dialog.TaxReport->click();
        EXPECT_TRUE(dialog.PaymentMonth->isEnabled());
        dialog.PaymentMonth->setText(QStringLiteral("202612"));
        dialog.SaveBtn->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    });
    EXPECT_EQ(status, QStringLiteral("전자신고 파일 저장: 11월.xlsx (근로자 3명, 국세청 함께 신고)"));
    EXPECT_EQ(prompts.texts.at(0), QStringLiteral("확인할 것이 1건 있습니다. 그래도 전자신고 파일을 저장할까요?"));
    const FileDialogRequest& request = prompts.dialogs.at(0);
    EXPECT_EQ(request.filter, QStringLiteral("엑셀 통합 문서 (*.xlsx)"));
    EXPECT_EQ(request.defaultSuffix, QStringLiteral("xlsx"));
    EXPECT_EQ(request.proposedName, QStringLiteral("이름없음_전자신고_202611.xlsx"));

    const QStringList rows = rowsOf(target);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_TRUE(rows[0].startsWith(QStringLiteral("보험구분|성명|주민(외국인)등록번호|국적코드|체류자격코드|")));
    EXPECT_TRUE(rows[0].endsWith(QStringLiteral("|소득세|지방소득세")));
    EXPECT_EQ(rows[1], QStringLiteral("3|홍길동|8811301234568|100||010|9876|5432|701|||1|1|1") +
                           QString(26, QLatin1Char('|')) + QStringLiteral("|3|8|3|600000|600000||||Y|202612|600000|0|4050|405"));
    EXPECT_TRUE(rows[2].startsWith(QStringLiteral("3|김철수|7505051234564|100|||||705|1|")));
    EXPECT_TRUE(rows[3].startsWith(QStringLiteral("3|응우옌|9001015123456|250|E-9||||706|")));

    // Kept for the next month: the job table in the settings, the foreigner in the people file.
    EXPECT_EQ(ReadJobTable(QString::fromLatin1(kIniFileName)), (JobCodes{{"A", "701"}, {"B", "705"}, {"U", "706"}}));
    const PeopleCodes people = ReadPeopleFile().codes;
    ASSERT_EQ(people.count("9001015123456"), 1u);
    EXPECT_EQ(people.at("9001015123456").stayStatus, "E-9");
    struct stat info {};
    ASSERT_EQ(::stat(native(PeopleFilePath()).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    // The sheet is only read.
    EXPECT_FALSE(controller->SheetModified());
    EXPECT_EQ(sheet.table.IndexFieldNames(), kByJobIndex);
}

TEST_F(EfileCommandTest, TheNextMonthStartsWithTheCodesKept)
{
    WriteJobTable(QString::fromLatin1(kIniFileName), {{"A", "701"}, {"B", "705"}, {"U", "706"}});
    SavePeopleCodes({{"9001015123456", {"250", "E9"}}});
    const QString target = folder + QStringLiteral("next.xlsx");
    prompts.expectConfirm(true);
    prompts.expectSaveFile(target);
    run([](EfileDialog& dialog) {
        EXPECT_EQ(dialog.nationalityBox(0)->text(), QStringLiteral("250"));
        EXPECT_EQ(dialog.stayStatusBox(0)->text(), QStringLiteral("E9"));
        EXPECT_TRUE(dialog.SummaryView->toPlainText().startsWith(QStringLiteral("근로자 3명, 확인할 것 1건:")));
        dialog.SaveBtn->click();
    });
    EXPECT_TRUE(QFile::exists(target));
}

TEST_F(EfileCommandTest, WhatIsNoCodeIsRefusedBeforeAnythingIsKeptOrAsked)
{
    prompts.expectInfo();
    run([](EfileDialog& dialog) {
        dialog.jobCodeBox(0)->setEditText(QStringLiteral("7O1"));
        dialog.nationalityBox(0)->setText(QStringLiteral("2-"));
        dialog.TaxReport->click();
        dialog.PaymentMonth->setText(QStringLiteral("202613"));
        dialog.SaveBtn->click();
        EXPECT_EQ(dialog.result(), 0);   // still open
        EXPECT_TRUE(dialog.SummaryView->toPlainText().contains(QStringLiteral("코드가 아닙니다: B.철골공 직종코드 \"7O1\"")));
    });
    EXPECT_EQ(prompts.texts.at(0), QStringLiteral("다음 칸을 고친 뒤에 저장하세요.\n"
                                                  "B.철골공 직종코드 \"7O1\"\n"
                                                  "응우옌 국적코드 \"2-\"\n"
                                                  "지급월 \"202613\" (yyyymm)"));
    EXPECT_FALSE(QFile::exists(folder + QLatin1String(kIniFileName)));
    EXPECT_FALSE(QFile::exists(PeopleFilePath()));
}

TEST_F(EfileCommandTest, CancellingTheFileDialogKeepsTheCodesAndLeavesTheDialogOpen)
{
    prompts.expectConfirm(true);
    prompts.expectSaveFile(std::nullopt);
    const QString status = run([](EfileDialog& dialog) {
        dialog.jobCodeBox(0)->setEditText(QStringLiteral("705"));
        dialog.nationalityBox(0)->setText(QStringLiteral("250"));   // half a pair: not kept
        dialog.SaveBtn->click();
        EXPECT_EQ(dialog.result(), 0);
    });
    EXPECT_TRUE(status.isEmpty());
    EXPECT_EQ(ReadJobTable(QString::fromLatin1(kIniFileName)), (JobCodes{{"B", "705"}}));
    EXPECT_FALSE(QFile::exists(PeopleFilePath()));
}

TEST_F(EfileCommandTest, AnswerNoToTheMissingCodesWritesNothing)
{
    prompts.expectConfirm(false);
    const QString status = run([](EfileDialog& dialog) { dialog.SaveBtn->click(); });
    EXPECT_TRUE(status.isEmpty());
    EXPECT_TRUE(QDir(folder).entryList({QStringLiteral("*.xlsx")}, QDir::Files).isEmpty());
}

TEST_F(EfileCommandTest, AFailedSaveIsShownAndTheDialogStaysOpen)
{
    const QString target = folder + QStringLiteral("a folder.xlsx");
    ASSERT_TRUE(QDir(folder).mkdir(QStringLiteral("a folder.xlsx")));
    prompts.expectConfirm(true);
    prompts.expectSaveFile(target);
    prompts.expectError();
    const QString status = run([](EfileDialog& dialog) {
        dialog.SaveBtn->click();
        EXPECT_EQ(dialog.result(), 0);
    });
    EXPECT_TRUE(status.isEmpty());
    EXPECT_EQ(prompts.errors.size(), 1u);
}

TEST_F(EfileCommandTest, AnEmptySheetHasNothingToFile)
{
    sheet.table.DeleteAllRows();
    prompts.expectInfo();
    EXPECT_TRUE(command->EfileBtnClick(nullptr, [](EfileDialog&) { ADD_FAILURE() << "the dialog was shown"; }).isEmpty());
    EXPECT_EQ(prompts.texts.at(0), QStringLiteral("근로자가 없어 전자신고 파일을 만들 수 없습니다."));
}

TEST_F(EfileCommandTest, LinesOfThePeopleFileThatCannotBeReadAreNamedAndKept)
{
    QFile file(PeopleFilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("9001015123456,250,E9\nbroken line\n");
    file.close();
    run([](EfileDialog& dialog) {
        EXPECT_TRUE(dialog.SummaryView->toPlainText().contains(
            QStringLiteral("인적 파일 lavopeople.csv 2행 \"broken line\": 등록번호, 국적코드, 체류자격코드 세 칸이 있어야 합니다")))
            << dialog.SummaryView->toPlainText().toStdString();
        EXPECT_EQ(dialog.nationalityBox(0)->text(), QStringLiteral("250"));
        dialog.CloseBtn->click();
    });
}

} // namespace
} // namespace lavodc
