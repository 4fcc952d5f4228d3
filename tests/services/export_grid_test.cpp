// Alt+E on a worker table: the clipboard text, the walk, where the workbook goes, the messages.
#include "services/export_grid.h"

#include "core/cp949.h"
#include "services/clipboard_text.h"
#include "services/desktop_export.h"
#include "services/grid_snapshot.h"
#include "tests/app/scripted_prompts.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace lavodc;
using lavodc::testing::ScriptedPrompts;

namespace {

class FakeOpener : public ExportOpener {
public:
    bool OpenWorkbook(const QString& path, QString& reason) override
    {
        opened.push_back(path);
        if (!succeeds)
            reason = failure;
        return succeeds;
    }
    bool succeeds = true;
    QString failure = QStringLiteral("no application for the file type");
    std::vector<QString> opened;
};

class FakeClipboard : public ExportClipboard {
public:
    void SetText(const QString& text) override { texts.push_back(text); }
    std::vector<QString> texts;
};

class CountingListener : public WorkerTableListener {
public:
    void tableChanged() override { ++tables; }
    void rowChanged(int) override { ++rows; }
    void currentChanged(int row) override { currents.push_back(row); }
    int tables = 0;
    int rows = 0;
    std::vector<int> currents;
};

WorkerRow worker(const char* name)
{
    WorkerRow row;
    row.pName = K(name);
    return row;
}

// By name they stand as 가람, 나래, 하윤.
std::vector<WorkerRow> threeWorkers()
{
    WorkerRow hayun = worker("하윤");
    hayun.JmnNo = "900101-1234567";
    hayun.nAddr = K("서울시 중구");
    hayun.nTel = "(042) 123-4567";
    hayun.nName = K("B.철골공");
    hayun.nNal = 3;
    hayun.nDay = 7.5;
    hayun.SmMny = 1234567;
    hayun.nEtc = K("2.부득이한 개인사정");
    hayun.days[0] = hayun.days[1] = hayun.days[30] = std::string(kDayMark);

    WorkerRow garam = worker("가람");
    garam.nName = K("탭\t직종");
    garam.nEtc = K("줄\r\n바꿈");
    garam.nDay = 17;
    garam.days[4] = "v";

    return {hayun, garam, worker("나래")};
}

std::string folderEntries(const QString& folder)
{
    std::string names;
    for (const QString& name : QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                                      QDir::Name))
        names += name.toStdString() + ";";
    return names;
}

class ExportGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(scratch.isValid());
        folder = scratch.path() + QStringLiteral("/Work/");
        ASSERT_TRUE(QDir().mkpath(folder));
        table.Open();
        table.AppendRows(threeWorkers());
    }

    ExportResult exportList(const QString& sheetFileName = QStringLiteral("이름없음.Lvo"),
                            const SheetHeader& header = SheetHeader())
    {
        return ExportGrid(table, WorkerListColumns(), {folder, sheetFileName, header}, prompts, opener, clipboard);
    }

    QTemporaryDir scratch;
    QString folder;
    WorkerTable table;
    ScriptedPrompts prompts;
    FakeOpener opener;
    FakeClipboard clipboard;
};

TEST_F(ExportGridTest, ClipboardTextOfTheWorkerListByteForByte)
{
    const std::string expected =
        K("성    명") + "\t" + K("주민등록번호") + "\t" + K("주                    소    ") + "\t" + K("전화번호") +
        "\t" + K("직        종") + "\t" + K("일수") + "\t" + K("평균시간") + "\t" + K("임금총액") + "\t" +
        K("이 직 사 유") + "\t\r\n" +
        // A tab or a line break inside a value goes as it is and moves what follows when pasted.
        K("가람") + "\t\t\t\t" + K("탭\t직종") + "\t0\t17\t0\t" + K("줄\r\n바꿈") + "\t\r\n" +
        K("나래") + "\t\t\t\t\t0\t0\t0\t\t\r\n" +
        K("하윤") + "\t900101-1234567\t" + K("서울시 중구") + "\t(042) 123-4567\t" + K("B.철골공") +
        "\t3\t7.5\t1234567\t" + K("2.부득이한 개인사정") + "\t\r\n";
    EXPECT_EQ(ClipboardText(TakeGridSnapshot(table, WorkerListColumns())), expected);

    exportList();
    ASSERT_EQ(clipboard.texts.size(), 1u);
    EXPECT_EQ(clipboard.texts[0], QString::fromStdString(fromCp949(expected)));
}

TEST_F(ExportGridTest, ClipboardTextOfTheDayStripHoldsEveryDayOfEveryWorker)
{
    const std::string mark(kDayMark);
    std::string expected;
    for (int day = 1; day <= 31; ++day)
        expected += std::to_string(day) + "\t";
    expected += "\r\n";
    expected += "\t\t\t\tv\t" + std::string(26, '\t') + "\r\n";   // 가람: "v" on day 5, as typed
    expected += std::string(31, '\t') + "\r\n";                   // 나래
    expected += mark + "\t" + mark + "\t" + std::string(28, '\t') + mark + "\t\r\n";   // 하윤
    EXPECT_EQ(ClipboardText(TakeGridSnapshot(table, DayStripColumns())), expected);
}

TEST_F(ExportGridTest, TableInTheJobOrderGoesInThatOrder)
{
    table.SetIndexFieldNames(kByJobIndex);
    const GridSnapshot grid = TakeGridSnapshot(table, WorkerListColumns());
    ASSERT_EQ(grid.rowCount, 3u);
    // The empty job first, then "B.철골공", then the job in Hangul.
    EXPECT_EQ(grid.cell(0, 0), K("나래"));
    EXPECT_EQ(grid.cell(1, 0), K("하윤"));
    EXPECT_EQ(grid.cell(2, 0), K("가람"));
}

class ExportCurrentRowTest : public ExportGridTest, public ::testing::WithParamInterface<int> {};

TEST_P(ExportCurrentRowTest, CurrentRowIsTheSameAfterwardsAndTheViewsWakeOnce)
{
    table.MoveTo(GetParam());
    const std::string name = table.FieldText("pName");
    CountingListener listener;
    table.AddListener(&listener);

    const ExportResult result = exportList();

    table.RemoveListener(&listener);
    EXPECT_EQ(result.outcome, ExportOutcome::Opened);
    EXPECT_EQ(table.CurrentIndex(), GetParam());
    EXPECT_EQ(table.FieldText("pName"), name);
    EXPECT_FALSE(table.Frozen());
    // Frozen for the walk: one notice at the end instead of one per row.
    EXPECT_EQ(listener.tables, 1);
    EXPECT_EQ(listener.currents, std::vector<int>{GetParam()});
}

INSTANTIATE_TEST_SUITE_P(EveryRow, ExportCurrentRowTest, ::testing::Values(0, 1, 2));

TEST_F(ExportGridTest, WritesIntoTheWorkFolderOpensItAndBeeps)
{
    const ExportResult result = exportList();

    const QString expected = folder + QStringLiteral("이름없음.xlsx");
    EXPECT_EQ(result.outcome, ExportOutcome::Opened);
    EXPECT_EQ(result.workbookPath, expected);
    EXPECT_EQ(result.statusText, expected);
    EXPECT_EQ(opener.opened, std::vector<QString>{expected});
    EXPECT_EQ(prompts.beeps, 1);
    EXPECT_TRUE(prompts.texts.empty());
    EXPECT_EQ(folderEntries(folder), "이름없음.xlsx;");   // no temporary file left beside it
    QFile file(expected);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(2), QByteArray("PK"));   // a workbook is a zip archive
}

TEST_F(ExportGridTest, EmptyTableDoesNothingAndShowsNothing)
{
    table.DeleteAllRows();
    const ExportResult result = exportList();
    EXPECT_EQ(result.outcome, ExportOutcome::NothingToExport);
    EXPECT_TRUE(result.statusText.isEmpty());
    EXPECT_TRUE(clipboard.texts.empty());
    EXPECT_TRUE(opener.opened.empty());
    EXPECT_EQ(prompts.beeps, 0);
    EXPECT_EQ(folderEntries(folder), "");
}

struct NameCase {
    const char* label;
    const char* sheetFileName;
    std::vector<const char*> existing;   // files already in the work folder
    const char* written;
    // The header boxes: site name, year, month.
    const char* site = "";
    const char* year = "";
    const char* month = "";
};

class ExportNameTest : public ExportGridTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(ExportNameTest, TakesTheSheetsNameOrTheNextFreeOneAndReplacesNothing)
{
    const NameCase& c = GetParam();
    for (const char* name : c.existing) {
        QFile file(folder + QString::fromUtf8(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("kept");
    }
    SheetHeader header;
    header.gsName = K(c.site);
    header.gsyear = c.year;
    header.gmonth = c.month;
    const ExportResult result = exportList(QString::fromUtf8(c.sheetFileName), header);

    EXPECT_EQ(result.workbookPath, folder + QString::fromUtf8(c.written));
    EXPECT_TRUE(QFile::exists(result.workbookPath));
    for (const char* name : c.existing) {
        QFile file(folder + QString::fromUtf8(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), QByteArray("kept")) << name;
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), static_cast<int>(c.existing.size() + 1));
}

INSTANTIATE_TEST_SUITE_P(
    Names, ExportNameTest,
    ::testing::Values(
        NameCase{"Untitled", "이름없음.Lvo", {}, "이름없음.xlsx"},
        NameCase{"SavedSheetElsewhere", "/home/kim/현장/5월분.Lvo", {}, "5월분.xlsx"},
        NameCase{"DotsInTheName", "/tmp/a.b.Lvo", {}, "a.b.xlsx"},
        NameCase{"NameTaken", "이름없음.Lvo", {"이름없음.xlsx"}, "이름없음 (2).xlsx"},
        NameCase{"TwoTaken", "이름없음.Lvo", {"이름없음.xlsx", "이름없음 (2).xlsx"}, "이름없음 (3).xlsx"},
        NameCase{"GapIsUsed", "x.Lvo", {"x.xlsx", "x (3).xlsx"}, "x (2).xlsx"},
        // The site and the month name it when the header holds both, titled or not.
        NameCase{"SiteAndMonth", "이름없음.Lvo", {}, "행복아파트 신축공사 2026-11.xlsx", "행복아파트 신축공사", "2026", "11"},
        NameCase{"SiteAndMonthOfASavedSheet", "/home/kim/현장/5월분.Lvo", {}, "행복아파트 신축공사 2026-11.xlsx",
                 "행복아파트 신축공사", "2026", "11"},
        NameCase{"SiteAndMonthTaken", "이름없음.Lvo", {"행복아파트 2026-11.xlsx"}, "행복아파트 2026-11 (2).xlsx",
                 "행복아파트", "2026", "11"},
        NameCase{"BlanksAroundAndOneDigitMonth", "이름없음.Lvo", {}, "한빛 현장 2026-03.xlsx", "  한빛 현장  ", "2026", " 3"},
        NameCase{"CharactersFileNamesCannotHold", "이름없음.Lvo", {}, "A_B_C_D_E_F_G_H_I_ 2026-11.xlsx",
                 "A/B\\C:D*E?F\"G<H>I|", "2026", "11"},
        NameCase{"LeadingDotsAndTrailingDots", "이름없음.Lvo", {}, "현장 2026-11.xlsx", "..현장..", "2026", "11"},
        NameCase{"SiteWithoutMonth", "이름없음.Lvo", {}, "이름없음.xlsx", "행복아파트", "2026", ""},
        NameCase{"MonthWithoutSite", "/tmp/3월.Lvo", {}, "3월.xlsx", "   ", "2026", "11"},
        NameCase{"MonthThatIsNoMonth", "이름없음.Lvo", {}, "이름없음.xlsx", "행복아파트", "2026", "13"},
        NameCase{"YearCutShort", "이름없음.Lvo", {}, "이름없음.xlsx", "행복아파트", "26", "11"},
        NameCase{"NothingLeftOfTheSite", "이름없음.Lvo", {}, "이름없음.xlsx", " ... ", "2026", "11"}),
    [](const ::testing::TestParamInfo<NameCase>& info) { return std::string(info.param.label); });

struct UnwritableCase {
    const char* label;
    const char* folder;       // below the scratch folder
    bool fileAsFolder;        // a file stands where the folder should be
    const char* reason;
};

class ExportUnwritableTest : public ExportGridTest, public ::testing::WithParamInterface<UnwritableCase> {};

TEST_P(ExportUnwritableTest, SaysWhyKeepsTheClipboardAndLeavesNoFile)
{
    const UnwritableCase& c = GetParam();
    const QString target = scratch.path() + QLatin1Char('/') + QString::fromUtf8(c.folder) + QLatin1Char('/');
    if (c.fileAsFolder) {
        QFile file(scratch.path() + QLatin1Char('/') + QString::fromUtf8(c.folder));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const std::string before = folderEntries(scratch.path());
    prompts.expectMessage();

    const ExportResult result = ExportGrid(table, WorkerListColumns(), {target, QStringLiteral("이름없음.Lvo"), SheetHeader()},
                                           prompts, opener, clipboard);

    EXPECT_EQ(result.outcome, ExportOutcome::NotWritten);
    EXPECT_TRUE(result.workbookPath.isEmpty());
    EXPECT_TRUE(result.statusText.isEmpty());
    ASSERT_EQ(prompts.texts.size(), 1u);
    const QString& text = prompts.texts[0];
    EXPECT_TRUE(text.startsWith(QStringLiteral("Excel로 자료를 보내는 중 오류가 발생했습니다.\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8(c.reason))) << text.toStdString();
    EXPECT_TRUE(text.contains(target)) << text.toStdString();
    EXPECT_EQ(clipboard.texts.size(), 1u);
    EXPECT_TRUE(opener.opened.empty());
    EXPECT_EQ(prompts.beeps, 0);
    EXPECT_EQ(folderEntries(scratch.path()), before);
}

// A read-only folder is no test here: the tests run as root, who may write into it.
INSTANTIATE_TEST_SUITE_P(
    Folders, ExportUnwritableTest,
    ::testing::Values(UnwritableCase{"MissingFolder", "Gone/Work", false, "No such file or directory"},
                      UnwritableCase{"FileWhereTheFolderShouldBe", "Work.txt", true, "Not a directory"}),
    [](const ::testing::TestParamInfo<UnwritableCase>& info) { return std::string(info.param.label); });

TEST_F(ExportGridTest, NoApplicationToOpenItSaysWhyAndWhereTheFileLies)
{
    opener.succeeds = false;
    prompts.expectMessage();

    const ExportResult result = exportList();

    const QString path = folder + QStringLiteral("이름없음.xlsx");
    EXPECT_EQ(result.outcome, ExportOutcome::NotOpened);
    EXPECT_EQ(result.workbookPath, path);
    EXPECT_EQ(result.statusText, path);
    ASSERT_EQ(prompts.texts.size(), 1u);
    // Where the workbook lies, in the message itself and not only in the status bar.
    EXPECT_EQ(prompts.texts[0], QStringLiteral("Excel OLE object를 오픈할 수 없습니다.\n") + opener.failure +
                                    QStringLiteral("\n\n통합 문서는 다음 위치에 저장했습니다:\n") + path);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(clipboard.texts.size(), 1u);
    EXPECT_EQ(prompts.beeps, 0);
}

TEST(SystemClipboardTest, HoldsTheTextAsUnicode)
{
    SystemClipboard clipboard;
    const QString text = QStringLiteral("성    명\t일수\t\r\n하윤\t3\t\r\n");
    clipboard.SetText(text);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), text);
}

} // namespace
