// Runs the built lavodc-cli next and import on sheets written here, and reads the results back.
#include "core/cp949.h"
#include "core/quorva_lib.h"
#include "core/sheet_file.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace lavodc {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int exitCode = -1;
    std::string output;   // standard output and error
};

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

Outcome cli(const std::string& arguments)
{
    Outcome outcome;
    const std::string command = quoted(fs::path(LAVODC_BIN_DIR) / "lavodc-cli") + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return outcome;
    std::array<char, 4096> buffer{};
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        outcome.output.append(buffer.data(), n);
    const int status = pclose(pipe);
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

WorkerRow worker(const char* name, const char* number, const char* reason)
{
    WorkerRow row;
    row.HCODE = row.SCODE = row.LCODE = 1;
    row.pName = K(name);
    row.JmnNo = number;
    row.nName = K("A.철근원");
    row.nTel = "(042) 123-4567";
    row.nEtc = K(reason);
    row.days[0] = row.days[9] = std::string(kDayMark);
    row.nDay = 8;
    row.SmMny = 500000;
    return row;
}

class MonthCliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("lavodc_month_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
               std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path writeSheet(const char* name, const char* year, const char* month, std::vector<WorkerRow> rows)
    {
        Sheet sheet;
        sheet.header.gsName = K("한빛 신축공사");
        sheet.header.gsyear = year;
        sheet.header.gmonth = month;
        sheet.period = std::string(year) + "." + month;
        sheet.table.Open();
        sheet.table.AppendRows(std::move(rows));
        const fs::path path = dir / name;
        WriteSheetFile(path.string(), sheet);
        return path;
    }

    fs::path writeText(const char* name, const std::string& bytes)
    {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        return dir / name;
    }

    static Sheet read(const fs::path& path)
    {
        Sheet sheet;
        sheet.table.Open();
        OpenSheetFile(path.string(), sheet);
        return sheet;
    }

    fs::path dir;
};

TEST_F(MonthCliTest, NextWritesTheFollowingMonthWithoutTheLeavers)
{
    const fs::path sheet = writeSheet("dec.Lvo", "2024", "12",
                                      {worker("홍길동", "800101-1234567", ""),
                                       worker("이순신", "820101-1234567", "1.회사사정에 의한 이직")});
    const Outcome outcome = cli("next " + quoted(sheet) + " " + quoted(dir / "jan.Lvo"));
    ASSERT_EQ(outcome.exitCode, 0) << outcome.output;
    EXPECT_EQ(outcome.output, "2025년 01월분 새 신고서: 근로자 1명, 이직자 1명 제외\n");

    const Sheet next = read(dir / "jan.Lvo");
    EXPECT_EQ(next.header.gsyear, "2025");
    EXPECT_EQ(next.header.gmonth, "01");
    EXPECT_EQ(next.header.gsName, K("한빛 신축공사"));
    ASSERT_EQ(next.table.RecordCount(), 1);
    const WorkerRow& row = next.table.RowAt(0);
    EXPECT_EQ(row.pName, K("홍길동"));
    EXPECT_EQ(row.nTel, "(042) 123-4567");
    EXPECT_EQ(row.nNal, 0);
    EXPECT_EQ(row.days[0], "");
    EXPECT_EQ(row.SmMny, 0);
    EXPECT_EQ(row.nDay, 8);
    EXPECT_EQ(read(sheet).table.RecordCount(), 2);   // the source is left alone
}

TEST_F(MonthCliTest, NextWithAnInvalidMonthSaysSoAndKeepsIt)
{
    const fs::path sheet = writeSheet("bad.Lvo", "2024", "13", {worker("홍길동", "800101-1234567", "")});
    const Outcome outcome = cli("next " + quoted(sheet) + " " + quoted(dir / "out.Lvo"));
    ASSERT_EQ(outcome.exitCode, 0) << outcome.output;
    EXPECT_NE(outcome.output.find("년 또는 월이 비었거나 올바르지 않아 그대로 두었습니다."), std::string::npos)
        << outcome.output;
    EXPECT_EQ(read(dir / "out.Lvo").header.gmonth, "13");
}

TEST_F(MonthCliTest, ImportAddsAndUpdatesFromTheListAndPrintsTheSummary)
{
    const fs::path sheet = writeSheet("site.Lvo", "2024", "05", {worker("기존", "700101-1234567", "")});
    const fs::path list = writeText("list.csv", toCp949("성명,주민등록번호,직종,임금총액\n홍길동,800101-1234560,B,\n"
                                                       "기존,7001011234567,B,1200000\n,810101-1234567,A,\n"));
    const Outcome outcome = cli("import " + quoted(sheet) + " " + quoted(list) + " " + quoted(dir / "out.Lvo"));
    ASSERT_EQ(outcome.exitCode, 0) << outcome.output;
    EXPECT_EQ(outcome.output, "추가할 근로자: 1명\n"
                              "고칠 근로자: 1명 (시트에 있는 주민등록번호: 임금총액만 바꿈)\n"
                              "제외되는 행: 1개 (성명 없음 1)\n"
                              "  4행: 성명 없음\n");
    const Sheet out = read(dir / "out.Lvo");
    ASSERT_EQ(out.table.RecordCount(), 2);
    const WorkerRow& updated = out.table.RowAt(0);
    EXPECT_EQ(updated.pName, K("기존"));
    EXPECT_EQ(updated.SmMny, 1200000);
    EXPECT_EQ(updated.nName, K("A.철근원"));   // only the wages come from the list
    EXPECT_EQ(updated.days[9], std::string(kDayMark));
    EXPECT_EQ(out.table.RowAt(1).pName, K("홍길동"));
    EXPECT_EQ(out.table.RowAt(1).nName, K("B.철골공"));
    EXPECT_EQ(out.table.RowAt(1).nDay, 8);
}

TEST_F(MonthCliTest, ImportFailuresExitNonZeroAndWriteNothing)
{
    const fs::path sheet = writeSheet("site.Lvo", "2024", "05", {});
    const fs::path out = dir / "out.Lvo";
    struct Case {
        fs::path list;
        std::string message;
    } cases[] = {
        {writeText("titles.csv", "name,number\nHong,1\n"), "명단의 제목 줄"},
        {writeText("nobody.csv", "성명\n\n"), "no worker to add or update"},
        {writeText("broken.xlsx", "not a zip"), "엑셀 통합 문서(.xlsx)를 읽을 수 없습니다"},
        {dir / "missing.csv", "명단 파일을 열 수 없습니다"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list.string());
        const Outcome outcome = cli("import " + quoted(sheet) + " " + quoted(c.list) + " " + quoted(out));
        EXPECT_EQ(outcome.exitCode, 1);
        EXPECT_NE(outcome.output.find(c.message), std::string::npos) << outcome.output;
        EXPECT_FALSE(fs::exists(out));
    }
    EXPECT_EQ(cli("import " + quoted(sheet)).exitCode, 2);
    EXPECT_EQ(cli("next " + quoted(sheet)).exitCode, 2);
}

} // namespace
} // namespace lavodc

namespace lavodc {
namespace {

// What the worker list exports comes back as the same workers when it is imported into an
// empty sheet; the day marks are not in the list, so they and their count stay behind.
TEST_F(MonthCliTest, AnExportedWorkerListImportsBackIntoAnEmptySheet)
{
    std::vector<WorkerRow> rows = {worker("홍길동", "800101-1234560", ""),
                                   worker("김철수", "750505-1234564", "2.부득이한 개인사정"),
                                   worker("이영희", "900909-2234561", "")};
    rows[1].nTel = BracketPhone("", 3);   // an empty telephone as the entry dialog stores it
    rows[2].nDay = 7.5;
    rows[2].SmMny = 1234567;
    rows[2].nName = K("U.건설단순노무자");
    rows[2].nAddr = K("대전광역시 서구 둔산로 100");
    const fs::path sheet = writeSheet("crew.Lvo", "2024", "05", rows);
    const fs::path list = dir / "crew.xlsx";
    const Outcome exported = cli("xlsx " + quoted(sheet) + " " + quoted(list));
    ASSERT_EQ(exported.exitCode, 0) << exported.output;

    const fs::path empty = writeSheet("empty.Lvo", "2024", "06", {});
    const Outcome imported = cli("import " + quoted(empty) + " " + quoted(list) + " " + quoted(dir / "out.Lvo"));
    ASSERT_EQ(imported.exitCode, 0) << imported.output;

    const Sheet before = read(sheet);
    const Sheet after = read(dir / "out.Lvo");
    ASSERT_EQ(after.table.RecordCount(), before.table.RecordCount());
    for (int i = 0; i < before.table.RecordCount(); ++i) {
        const WorkerRow& a = before.table.RowAt(i);
        const WorkerRow& b = after.table.RowAt(i);
        EXPECT_EQ(b.pName, a.pName);
        EXPECT_EQ(b.JmnNo, a.JmnNo);
        EXPECT_EQ(b.nName, a.nName);
        EXPECT_EQ(b.nAddr, a.nAddr);
        EXPECT_EQ(b.nTel, a.nTel);
        EXPECT_EQ(b.nEtc, a.nEtc);
        EXPECT_EQ(b.nDay, a.nDay);
        EXPECT_EQ(b.SmMny, a.SmMny);
        EXPECT_EQ(b.cDate, "2024.06");
    }
}

} // namespace
} // namespace lavodc
