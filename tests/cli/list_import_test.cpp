// lavodc-cli import on lists made to hurt: tiny workbooks that would need gigabytes, lists
// past the limits, broken quotes, amounts no sheet file holds, damaged workbooks. Each run's
// peak memory is measured as the process's own (wait4), under an address-space fuse.
#include "core/cp949.h"
#include "core/sheet_file.h"
#include "tests/support/cli_run.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace lavodc {
namespace {

namespace fs = std::filesystem;

// What a list may cost the import at most, whatever the list.
constexpr long kPeakLimitKb = 200 * 1024;

// Writes workbooks by hand with Python's zipfile: the titles in row 1, then what the kind asks.
const char* const kWorkbookMaker = R"(
import sys, zipfile
kind, path = sys.argv[1], sys.argv[2]
main = 'http://schemas.openxmlformats.org/officeDocument/2006/relationships/'
strings = ['성명', '주민등록번호']
def inline(cell, text): return '<c r="%s" t="inlineStr"><is><t>%s</t></is></c>' % (cell, text)
def worker(r): return inline('A%d' % r, 'w%d' % r) + inline('B%d' % r, '80%04d-1%06d' % (r % 10000, r))
rows = ['<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c></row>']
if kind == 'xfd':           # one cell in the last column on each row
    rows += ['<row r="%d">%s<c r="XFD%d"><v>1</v></c></row>' % (r, worker(r), r) for r in range(2, 1002)]
elif kind == 'shared':      # one string of a megabyte in a cell of every row
    strings.append('x' * (1 << 20))
    rows += ['<row r="%d">%s<c r="C%d" t="s"><v>2</v></c></row>' % (r, worker(r), r) for r in range(2, 1002)]
elif kind == 'bomb':        # a sheet of 60 MB that packs into kilobytes
    rows.append('<row r="2">%s%s</row>' % (worker(2), inline('C2', 'x' * (60 << 20))))
elif kind == 'largest':     # as many workers as a list may have below its titles
    rows += ['<row r="%d">%s</row>' % (r, worker(r)) for r in range(2, 100001)]
elif kind == 'row_overflow':
    rows += ['<row r="2147483647">%s</row>' % worker(2), '<row>%s</row>' % worker(3)]
elif kind == 'entity':      # a damaged part whose parser would quote a character CP949 lacks
    rows.append('<row r="2">%s%s</row>' % (worker(2), inline('C2', '&\U0001F3E0;')))
sst = ''.join('<si><t>%s</t></si>' % s for s in strings)
parts = {
 '[Content_Types].xml': '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"/>',
 '_rels/.rels': '<Relationships><Relationship Id="rId1" Type="%sofficeDocument" Target="xl/workbook.xml"/></Relationships>' % main,
 'xl/workbook.xml': '<workbook xmlns:r="%s"><sheets><sheet name="a" sheetId="1" r:id="rId1"/></sheets></workbook>' % main,
 'xl/_rels/workbook.xml.rels': '<Relationships><Relationship Id="rId1" Type="%sworksheet" Target="worksheets/sheet1.xml"/><Relationship Id="rId2" Type="%ssharedStrings" Target="sharedStrings.xml"/></Relationships>' % (main, main),
 'xl/sharedStrings.xml': '<sst>%s</sst>' % sst,
 'xl/worksheets/sheet1.xml': '<worksheet><sheetData>%s</sheetData></worksheet>' % ''.join(rows),
}
with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    for name, text in parts.items():
        z.writestr(name, text)
)";

class ListImportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("lavodc_lists_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
               "_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        Sheet sheet;
        sheet.table.Open();
        ResetHeader(sheet.header, "2024.05");
        sheet.period = "2024.05";
        SaveSheetFile((dir / "sheet.Lvo").string(), sheet);
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path workbook(const std::string& kind)
    {
        const fs::path path = dir / (kind + ".xlsx");
        std::ofstream(dir / "make_workbook.py") << kWorkbookMaker;
        const std::string command = "/usr/bin/python3 '" + (dir / "make_workbook.py").string() + "' " + kind + " '" +
                                    path.string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
        return path;
    }

    fs::path csv(const std::string& name, const std::function<void(std::ostream&)>& write)
    {
        const fs::path path = dir / name;
        std::ofstream out(path, std::ios::binary);
        write(out);
        return path;
    }

    test::CliRun import(const fs::path& list)
    {
        return test::RunCli({"import", (dir / "sheet.Lvo").string(), list.string(), (dir / "out.Lvo").string()},
                      dir / "output.txt");
    }

    Sheet written()
    {
        Sheet sheet;
        sheet.table.Open();
        OpenSheetFile((dir / "out.Lvo").string(), sheet);
        return sheet;
    }

    fs::path dir;
};

std::string Workers(int count)
{
    return "추가할 근로자: " + std::to_string(count) + "명";
}

// The peak of each run stays below the limit whether the list is taken or refused.
struct MemoryCase {
    std::string label;
    std::string kind;      // a workbook kind, or "csv_..." for the CSV files below
    int exitCode;
    std::string output;    // a part of what it prints
};

void PrintTo(const MemoryCase& c, std::ostream* out) { *out << c.label; }

class ListMemoryTest : public ListImportTest, public ::testing::WithParamInterface<MemoryCase> {};

TEST_P(ListMemoryTest, AListIsReadInBoundedMemoryOrRefused)
{
    const MemoryCase& c = GetParam();
    fs::path list;
    if (c.kind == "csv_70_megabytes") {
        list = csv("big.csv", [](std::ostream& out) {
            out << "성명,주민등록번호,비고\n";
            const std::string line = "홍길동,800101-1234567," + std::string(1000, 'x') + "\n";
            for (int i = 0; i < 70 * 1024; ++i)
                out << line;
        });
    } else if (c.kind == "csv_99999_workers" || c.kind == "csv_100000_workers") {
        const int count = c.kind == "csv_99999_workers" ? 99999 : 100000;
        list = csv("workers.csv", [count](std::ostream& out) {
            out << "성명,주민등록번호,주소,전화번호,직종,평균시간,임금총액\n";
            char number[32];
            for (int i = 0; i < count; ++i) {
                std::snprintf(number, sizeof number, "80%04d-1%06d", i % 10000, i);
                out << "근로자" << i << "," << number << ",대전시 서구 둔산동 " << i
                    << ",042-123-4567,A.철근원,8,\"1,234,567\"\n";
            }
        });
    } else {
        list = workbook(c.kind);
    }
    const test::CliRun run = import(list);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.output;
    EXPECT_NE(run.output.find(c.output), std::string::npos) << run.output;
    EXPECT_LT(run.peakKb, kPeakLimitKb) << c.label << ": " << run.peakKb / 1024 << " MB";
    std::printf("[ peak     ] %s: %ld MB\n", c.label.c_str(), run.peakKb / 1024);
}

std::string MemoryCaseName(const ::testing::TestParamInfo<MemoryCase>& info) { return info.param.label; }

INSTANTIATE_TEST_SUITE_P(
    Lists, ListMemoryTest,
    ::testing::Values(
        MemoryCase{"workbook_with_a_cell_in_column_xfd_on_each_row", "xfd", 0, Workers(1000)},
        MemoryCase{"workbook_with_a_megabyte_shared_string_in_every_row", "shared", 1,
                   "명단이 너무 큽니다: 칸의 글자가 모두 64MB를 넘습니다."},
        MemoryCase{"workbook_with_a_sheet_of_60_megabytes", "bomb", 0, Workers(1)},
        MemoryCase{"csv_of_70_megabytes", "csv_70_megabytes", 1, "명단이 너무 큽니다: 칸의 글자가 모두 64MB를 넘습니다."},
        MemoryCase{"workbook_of_99999_workers_and_the_titles", "largest", 0, Workers(99999)},
        MemoryCase{"csv_of_99999_workers_and_the_titles", "csv_99999_workers", 0, Workers(99999)},
        MemoryCase{"csv_of_100000_workers_and_the_titles", "csv_100000_workers", 1,
                   "명단이 너무 큽니다: 100,000행을 넘습니다."}),
    MemoryCaseName);

TEST_F(ListImportTest, AQuoteLeftOpenRefusesTheListNamingItsLine)
{
    const fs::path list = csv("quote.csv", [](std::ostream& out) {
        out << "성명,주민등록번호\n홍길동,800101-1234567\n\"김철수,810101-1234567\n이순신,820101-1234567\n";
    });
    const test::CliRun run = import(list);
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_NE(run.output.find("명단 3번째 줄의 따옴표가 닫히지 않았습니다."), std::string::npos) << run.output;
    EXPECT_FALSE(fs::exists(dir / "out.Lvo"));
}

TEST_F(ListImportTest, RowsWithAmountsNoSheetFileHoldsOrBelowZeroAreRefusedAndNamed)
{
    const fs::path list = csv("amounts.csv", [](std::ostream& out) {
        out << "성명,주민등록번호,평균시간,임금총액\n"
               "가,800101-1234567,1e300,1\n"
               "나,810101-1234567,8,12345678901234567890\n"
               "다,820101-1234567,-8,-150000\n"
               "라,830101-1234567,7.5,2000000\n";
    });
    const test::CliRun run = import(list);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("제외되는 행: 3개 (음수이거나 너무 큰 값 3)"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("2행 가: 음수이거나 너무 큰 값 (평균시간)"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("3행 나: 음수이거나 너무 큰 값 (임금총액)"), std::string::npos) << run.output;
    const Sheet sheet = written();
    ASSERT_EQ(sheet.table.RecordCount(), 1);
    EXPECT_EQ(sheet.table.RowAt(0).pName, K("라"));
    EXPECT_EQ(sheet.table.RowAt(0).nDay, 7.5);
}

TEST_F(ListImportTest, DamagedWorkbooksSayTheyAreDamaged)
{
    for (const char* kind : {"row_overflow", "entity"}) {
        SCOPED_TRACE(kind);
        const test::CliRun run = import(workbook(kind));
        EXPECT_EQ(run.exitCode, 1) << run.output;
        EXPECT_NE(run.output.find("엑셀 통합 문서(.xlsx)를 읽을 수 없습니다: xl/worksheets/sheet1.xml 부분이 손상되었습니다 ("),
                  std::string::npos)
            << run.output;
    }
}

} // namespace
} // namespace lavodc
