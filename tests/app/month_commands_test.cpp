#include "app/month_commands.h"

#include "core/cp949.h"
#include "core/sheet_file.h"
#include "services/settings.h"
#include "tests/app/fake_document_view.h"
#include "tests/app/scripted_prompts.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace lavodc {
namespace {

using testing::FakeDocumentView;
using testing::ScriptedPrompts;

std::string native(const QString& path) { return QFile::encodeName(path).toStdString(); }

const QString kUntitledLabel = QStringLiteral("파일명: 이름없음.Lvo");

class MonthCommandsTest : public ::testing::Test {
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
        commands = std::make_unique<MonthCommands>(sheet, *controller, prompts);
        view.boxes.gsName = K("행복 현장");
        view.boxes.gsyear = "2024";
        view.boxes.gmonth = "12";
        view.calls.clear();
    }
    void TearDown() override { SetProgramFolder(startProgramFolder); }

    QString path(const char* name) const { return folder + QLatin1String(name); }

    void addWorker(const char* name, const char* number, const char* reason = "")
    {
        sheet.table.Append();
        sheet.table.SetFieldText("pName", K(name));
        sheet.table.SetFieldText("JmnNo", number);
        sheet.table.SetFieldText("nEtc", K(reason));
        sheet.table.SetFieldText("d05", std::string(kDayMark));
        sheet.table.SetFieldFloat("SmMny", 90000);
        sheet.table.Post();
        controller->SetSheetModified(true);
    }

    QString writeFile(const char* name, const std::string& bytes) const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return path(name);
    }

    QString startProgramFolder = ProgramFolder();
    QTemporaryDir scratch;
    QString folder;
    Sheet sheet;
    FakeDocumentView view;
    ScriptedPrompts prompts;
    std::unique_ptr<DocumentController> controller;
    std::unique_ptr<MonthCommands> commands;
};

TEST_F(MonthCommandsTest, NextMonthAfterCancelOnTheSaveQuestionChangesNothing)
{
    addWorker("홍길동", "800101-1234567");
    prompts.expectSaveQuestion(SaveAnswer::Cancel);

    EXPECT_TRUE(commands->NextMonthClick().isEmpty());

    EXPECT_EQ(sheet.table.RecordCount(), 1);
    EXPECT_EQ(sheet.table.RowAt(0).days[4], std::string(kDayMark));
    EXPECT_EQ(view.boxes.gmonth, "12");
    EXPECT_TRUE(controller->SheetModified());
    EXPECT_TRUE(view.calls.empty());
}

TEST_F(MonthCommandsTest, NextMonthAfterNoMakesAnUntitledChangedSheetOfTheFollowingMonth)
{
    addWorker("홍길동", "800101-1234567");
    addWorker("이순신", "820101-1234567", "2.부득이한 개인사정");
    addWorker("가나다", "830101-1234567");
    prompts.expectSaveQuestion(SaveAnswer::No);

    const QString status = commands->NextMonthClick();

    EXPECT_EQ(status, QStringLiteral("2025년 01월분 새 신고서: 근로자 2명, 이직자 1명 제외"));
    EXPECT_EQ(view.boxes.gsyear, "2025");
    EXPECT_EQ(view.boxes.gmonth, "01");
    EXPECT_EQ(view.boxes.gsName, K("행복 현장"));
    EXPECT_EQ(sheet.period, "2025.01");
    EXPECT_TRUE(controller->IsUntitled());
    EXPECT_EQ(view.fileLabel, kUntitledLabel);
    EXPECT_TRUE(controller->SheetModified());
    EXPECT_TRUE(view.called(QStringLiteral("showByNameOrder")));
    EXPECT_EQ(view.calls.back(), QStringLiteral("focusWorkerList"));
    ASSERT_EQ(sheet.table.RecordCount(), 2);
    EXPECT_EQ(sheet.table.CurrentIndex(), 0);
    EXPECT_EQ(sheet.table.RowAt(0).pName, K("가나다"));
    EXPECT_EQ(sheet.table.RowAt(0).days[4], "");
    EXPECT_EQ(sheet.table.RowAt(0).SmMny, 0);
}

TEST_F(MonthCommandsTest, NextMonthOfASavedSheetAsksNothingAndLeavesTheFileAlone)
{
    addWorker("홍길동", "800101-1234567");
    prompts.expectSaveFile(path("december.Lvo"));
    ASSERT_TRUE(controller->RnameBtnClick());
    const qint64 savedSize = QFileInfo(path("december.Lvo")).size();

    EXPECT_FALSE(commands->NextMonthClick().isEmpty());

    EXPECT_TRUE(controller->IsUntitled());
    EXPECT_EQ(QFileInfo(path("december.Lvo")).size(), savedSize);
    Sheet reread;
    reread.table.Open();
    OpenSheetFile(native(path("december.Lvo")), reread);
    EXPECT_EQ(reread.header.gmonth, "12");
    EXPECT_EQ(reread.table.RowAt(0).nNal, 1);
}

TEST_F(MonthCommandsTest, NextMonthWithABlankMonthTellsTheUserAndKeepsIt)
{
    view.boxes.gmonth = "  ";
    prompts.expectInfo();

    const QString status = commands->NextMonthClick();

    EXPECT_EQ(prompts.texts.back(), QStringLiteral("년 또는 월이 비었거나 올바르지 않아 그대로 두었습니다."));
    EXPECT_EQ(view.boxes.gmonth, "  ");
    EXPECT_TRUE(status.contains(QStringLiteral("년월 그대로")));
    EXPECT_TRUE(controller->SheetModified());
}

TEST_F(MonthCommandsTest, ImportOffersXlsxAndCsvAndChangesNothingOnNo)
{
    addWorker("기존", "700101-1234567");
    controller->SetSheetModified(false);
    const QString list =
        writeFile("list.csv", "성명,주민등록번호,임금총액\n홍길동,800101-1234560,\n기존2,7001011234567,1500000\n");
    prompts.expectOpenFile(list);
    prompts.expectConfirm(false);

    EXPECT_TRUE(commands->ImportWorkersClick().isEmpty());

    ASSERT_EQ(prompts.dialogs.size(), 1u);
    EXPECT_EQ(prompts.dialogs[0].filter,
              QStringLiteral("근로자 명단 (*.xlsx *.csv);;엑셀 통합 문서 (*.xlsx);;CSV 파일 (*.csv)"));
    EXPECT_EQ(prompts.texts.back(),
              QStringLiteral("추가할 근로자: 1명\n고칠 근로자: 1명 (시트에 있는 주민등록번호: 임금총액만 바꿈)\n"
                             "그중 성명이 시트와 다른 근로자: 1명 (시트의 성명 그대로)\n"
                             "  3행 기존2 (시트: 기존, 700101-1234567)\n\n가져오시겠습니까?"));
    EXPECT_EQ(sheet.table.RecordCount(), 1);
    EXPECT_EQ(sheet.table.RowAt(0).SmMny, 90000);
    EXPECT_FALSE(controller->SheetModified());
}

TEST_F(MonthCommandsTest, ImportOnYesTakesTheWagesAndDaysOfAWorkerInTheSheetAndMarksTheSheet)
{
    addWorker("기존", "700101-1234567");
    addWorker("다른", "710101-1234567");
    controller->SetSheetModified(false);
    prompts.expectOpenFile(writeFile("month.csv", "성명,주민등록번호,임금총액,1일,2일\n기존,700101-1234567,1200000,o,√\n"));
    prompts.expectConfirm(true);

    EXPECT_EQ(commands->ImportWorkersClick(), QStringLiteral("명단에서 근로자 1명을 고쳤습니다"));

    ASSERT_EQ(sheet.table.RecordCount(), 2);
    const WorkerRow& updated = sheet.table.RowAt(0);
    EXPECT_EQ(updated.pName, K("기존"));
    EXPECT_EQ(updated.SmMny, 1200000);
    EXPECT_EQ(updated.days[0], std::string(kDayMark));
    EXPECT_EQ(updated.days[1], std::string(kDayMark));
    EXPECT_EQ(updated.days[4], "");   // the list gives the whole month
    EXPECT_EQ(updated.nNal, 2);
    EXPECT_EQ(sheet.table.RowAt(1).SmMny, 90000);
    EXPECT_EQ(sheet.table.RowAt(1).days[4], std::string(kDayMark));
    EXPECT_TRUE(controller->SheetModified());
}

TEST_F(MonthCommandsTest, AListThatChangesNothingIsOnlyShownAndLeavesTheSheetUnmodified)
{
    addWorker("기존", "700101-1234567");
    controller->SetSheetModified(false);
    prompts.expectOpenFile(writeFile("same.csv", "성명,주민등록번호,임금총액,5\n기존,700101-1234567,90000,o\n"));
    prompts.expectInfo();

    EXPECT_TRUE(commands->ImportWorkersClick().isEmpty());

    EXPECT_EQ(prompts.texts.back(), QStringLiteral("추가할 근로자: 0명\n고칠 근로자: 0명\n이미 명단과 같은 근로자: 1명\n"
                                                   "근태: 명단의 날짜 칸 1개로 채움 (명단에 없는 날짜는 비움)"));
    EXPECT_FALSE(controller->SheetModified());
}

TEST_F(MonthCommandsTest, ImportOnYesAddsTheWorkersWithTheShownPeriodAndMarksTheSheet)
{
    controller->SetSheetModified(false);
    view.boxes.gmonth = "07";
    const QString list = writeFile("list.csv", "성명;주민등록번호\n홍길동;800101-1234567\n김철수;810101-1234567\n");
    prompts.expectOpenFile(list);
    prompts.expectConfirm(true);

    EXPECT_EQ(commands->ImportWorkersClick(), QStringLiteral("명단에서 근로자 2명을 추가했습니다"));

    ASSERT_EQ(sheet.table.RecordCount(), 2);
    EXPECT_EQ(sheet.table.RowAt(0).pName, K("김철수"));
    EXPECT_EQ(sheet.table.RowAt(0).cDate, "2024.07");
    EXPECT_FALSE(sheet.table.Frozen());
    EXPECT_TRUE(controller->SheetModified());
}

TEST_F(MonthCommandsTest, ImportOfAFileWithoutWorkersOrTitlesOrOfADamagedWorkbookAddsNothing)
{
    prompts.expectOpenFile(writeFile("empty.csv", "성명,주민등록번호\n,800101-1234567\n"));
    prompts.expectInfo();
    EXPECT_TRUE(commands->ImportWorkersClick().isEmpty());
    EXPECT_TRUE(prompts.texts.back().startsWith(QStringLiteral("추가할 근로자: 0명")));

    prompts.expectOpenFile(writeFile("other.csv", "이름,번호\n홍길동,1\n"));
    prompts.expectError();
    EXPECT_TRUE(commands->ImportWorkersClick().isEmpty());
    EXPECT_TRUE(prompts.errors.back().startsWith(QStringLiteral("명단의 제목 줄")));

    prompts.expectOpenFile(writeFile("broken.xlsx", "PK\x03\x04 not really"));
    prompts.expectError();
    EXPECT_TRUE(commands->ImportWorkersClick().isEmpty());
    EXPECT_TRUE(prompts.errors.back().startsWith(QStringLiteral("엑셀 통합 문서(.xlsx)를 읽을 수 없습니다")))
        << prompts.errors.back().toStdString();

    prompts.expectOpenFile(std::nullopt);
    EXPECT_TRUE(commands->ImportWorkersClick().isEmpty());

    EXPECT_TRUE(sheet.table.IsEmpty());
    EXPECT_FALSE(controller->SheetModified());
}

} // namespace
} // namespace lavodc
