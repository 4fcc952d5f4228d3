// Runs the built lavodc-cli pdf on small sheets and reads the PDFs back as a reader would.
#include "core/cp949.h"
#include "core/sheet_file.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

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

Outcome run(const std::string& command)
{
    Outcome outcome;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return outcome;
    std::array<char, 4096> buffer{};
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        outcome.output.append(buffer.data(), n);
    const int status = pclose(pipe);
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

std::string quoted(const fs::path& path)
{
    return "'" + path.string() + "'";
}

std::string withoutBlanks(const std::string& text)
{
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '\n' && c != '\t' && c != '\f' && c != '\r')
            out += c;
    return out;
}

WorkerRow worker(int i)
{
    WorkerRow row;
    row.HCODE = row.SCODE = row.LCODE = 1;
    row.cDate = "2010.01";
    row.pName = toCp949("작업자") + std::to_string(10 + i);
    row.JmnNo = "800101-12345" + std::to_string(10 + i);
    row.nName = toCp949("A.철근원");
    row.nAddr = toCp949("대전 서구 둔산동 123");
    row.nTel = "(042) 123-4567";
    for (int day = 0; day < 17; ++day)
        row.days[day] = std::string(kDayMark);
    row.nNal = 17;
    row.nDay = 8;
    row.SmMny = 1234567;
    return row;
}

class PdfCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("lavodc_pdf_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // `wages` and `hours`, when given, replace the wage and hours of the first workers in turn;
    // `firstName` the first worker's name.
    fs::path writeSheet(int workers, const std::vector<double>& wages = {}, const std::vector<double>& hours = {},
                        const std::string& firstName = "")
    {
        Sheet sheet;
        sheet.period = "2010.01";
        sheet.header.gsName = toCp949("한빛 신축공사");
        sheet.header.gsyear = "2010";
        sheet.header.gmonth = "01";
        sheet.header.cmpNo = "123-45-67890";
        sheet.header.indName = toCp949("한빛건설");
        sheet.header.MgrName = toCp949("김관리");
        sheet.header.MgrJmnNo = "700101-1234567";
        sheet.header.cmpName = toCp949("박대표");
        sheet.table.Open();
        std::vector<WorkerRow> rows;
        for (int i = 0; i < workers; ++i) {
            rows.push_back(worker(i));
            if (static_cast<std::size_t>(i) < wages.size())
                rows.back().SmMny = wages[static_cast<std::size_t>(i)];
            if (static_cast<std::size_t>(i) < hours.size())
                rows.back().nDay = hours[static_cast<std::size_t>(i)];
        }
        if (!firstName.empty() && !rows.empty())
            rows.front().pName = firstName;
        sheet.table.AppendRows(std::move(rows));
        const fs::path path = dir / ("sheet" + std::to_string(workers) + ".Lvo");
        WriteSheetFile(path.string(), sheet);
        return path;
    }

    Outcome pdf(const fs::path& sheet, const fs::path& out, const std::string& options = "")
    {
        return run(quoted(fs::path(LAVODC_BIN_DIR) / "lavodc-cli") + " pdf " + quoted(sheet) + " " + quoted(out) +
                   " " + options);
    }

    fs::path dir;
};

TEST_F(PdfCommandTest, WritesTheFormWithSearchableText)
{
    const fs::path out = dir / "three.pdf";
    const Outcome result = pdf(writeSheet(3), out, "--date 2010.01.27");
    ASSERT_EQ(result.exitCode, 0) << result.output;

    const Outcome info = run("pdfinfo " + quoted(out));
    EXPECT_NE(info.output.find("Pages:           1"), std::string::npos) << info.output;
    EXPECT_NE(info.output.find("842 x 595 pts (A4)"), std::string::npos) << info.output;

    const std::string text = withoutBlanks(run("pdftotext " + quoted(out) + " -").output);
    for (const char* expected : {"[별지제14호의2서식]", "Page:1", "근로내역확인신고서(2010년01월분)",
                                 "한빛신축공사", "김관리", "700101-1234567", "작업자10", "작업자12",
                                 "800101-1234510", "(042)123-4567", "A.철근원", "17일", "8시간", "1,234,567",
                                 "2010년01월27일", "신고인(사업주·대표자):박대표(서명또는인)"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    EXPECT_EQ(text.find("작업자13"), std::string::npos);
}

TEST_F(PdfCommandTest, WagesWiderThanTheirBoxPrintWhole)
{
    const fs::path out = dir / "wages.pdf";
    const Outcome result = pdf(writeSheet(2, {11111103, 99999999999}), out, "--date 2010.01.27");
    ASSERT_EQ(result.exitCode, 0) << result.output;

    const std::string text = withoutBlanks(run("pdftotext " + quoted(out) + " -").output);
    for (const char* expected : {"11,111,103", "99,999,999,999"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " in " << text;
}

TEST_F(PdfCommandTest, ANameCutInsideASyllablePrintsWithoutTheHalfCharacter)
{
    const fs::path out = dir / "cut.pdf";
    // Ten bytes: "A", four syllables and the first byte of a fifth.
    const std::string cut = "A" + toCp949("가나다라마").substr(0, 9);
    ASSERT_EQ(cut.size(), 10u);
    ASSERT_EQ(pdf(writeSheet(1, {}, {}, cut), out, "--date 2010.01.27").exitCode, 0);
    const std::string text = withoutBlanks(run("pdftotext " + quoted(out) + " -").output);
    EXPECT_NE(text.find("A가나다라"), std::string::npos) << text;
    EXPECT_EQ(text.find("\xEF\xBF\xBD"), std::string::npos);
}

TEST_F(PdfCommandTest, HoursWiderThanTheirBoxKeepTheirUnit)
{
    const fs::path out = dir / "hours.pdf";
    const Outcome result = pdf(writeSheet(3, {}, {7.25, 10.5, 8}), out, "--date 2010.01.27");
    ASSERT_EQ(result.exitCode, 0) << result.output;

    const std::string text = withoutBlanks(run("pdftotext " + quoted(out) + " -").output);
    for (const char* expected : {"7.25시간", "10.5시간", "8시간"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " in " << text;
}

TEST_F(PdfCommandTest, ALongAddressAndItsTelephonePrintWhole)
{
    Sheet sheet;
    sheet.period = "2010.01";
    sheet.table.Open();
    WorkerRow row = worker(0);
    row.nAddr = toCp949("경기도 성남시 분당구 정자일로 1234번길 한빛아파트 101동 701호");
    ASSERT_EQ(row.nAddr.size(), 61u);
    row.nTel = "(031)1234-5678";
    WorkerRow longest = worker(1);
    longest.nAddr = toCp949("서울특별시 강남구 테헤란로 12345길 678 한빛타워 오피스텔 1702호 가나다");
    ASSERT_EQ(longest.nAddr.size(), 70u);
    longest.nTel = "(010)9876-5432";
    sheet.table.AppendRows({row, longest});
    const fs::path path = dir / "address.Lvo";
    WriteSheetFile(path.string(), sheet);
    const fs::path out = dir / "address.pdf";
    ASSERT_EQ(pdf(path, out, "--date 2010.01.27").exitCode, 0);

    // Line by line as a reader sees it: the telephone has a line of its own.
    const std::string text = run("pdftotext -layout " + quoted(out) + " -").output;
    const std::string flat = withoutBlanks(text);
    for (const char* expected : {"한빛아파트101동701호", "(031)1234-5678", "1702호가나다", "(010)9876-5432"})
        EXPECT_NE(flat.find(expected), std::string::npos) << expected << " in " << text;
    EXPECT_EQ(flat.find("701호(031)"), std::string::npos) << text;
}

TEST_F(PdfCommandTest, NineWorkersMakeTwoPagesAndARangePrintsPart)
{
    const fs::path sheet = writeSheet(9);
    const fs::path all = dir / "all.pdf";
    ASSERT_EQ(pdf(sheet, all).exitCode, 0);
    EXPECT_NE(run("pdfinfo " + quoted(all)).output.find("Pages:           2"), std::string::npos);

    const fs::path second = dir / "second.pdf";
    const Outcome result = pdf(sheet, second, "--pages 2-2 --top 50 --left -30");
    ASSERT_EQ(result.exitCode, 0) << result.output;
    EXPECT_NE(run("pdfinfo " + quoted(second)).output.find("Pages:           1"), std::string::npos);
    const std::string text = withoutBlanks(run("pdftotext " + quoted(second) + " -").output);
    EXPECT_NE(text.find("Page:2"), std::string::npos);
    EXPECT_NE(text.find("작업자18"), std::string::npos);
    EXPECT_EQ(text.find("작업자17"), std::string::npos);
}

TEST_F(PdfCommandTest, FailuresExitNonZeroAndLeaveNoPdf)
{
    const fs::path sheet = writeSheet(2);
    const fs::path garbage = dir / "garbage.Lvo";
    std::ofstream(garbage) << "not a sheet";
    struct Case {
        std::string sheet;
        std::string out;
        std::string options;
        int exitCode;
    };
    const std::string out = (dir / "out.pdf").string();
    for (const Case& c : {
             Case{(dir / "missing.Lvo").string(), out, "", 1},
             Case{garbage.string(), out, "", 1},
             Case{sheet.string(), (dir / "no" / "such" / "out.pdf").string(), "", 1},
             Case{sheet.string(), out, "--date 2010-01-27", 2},
             Case{sheet.string(), out, "--date", 2},
             Case{sheet.string(), out, "--top 1000", 2},
             Case{sheet.string(), out, "--left x", 2},
             Case{sheet.string(), out, "--pages 3-1", 2},
             Case{sheet.string(), out, "--pages 1-2", 2},
             Case{sheet.string(), out, "--colour red", 2},
         }) {
        const Outcome result = pdf(c.sheet, c.out, c.options);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.sheet << " " << c.options << ": " << result.output;
        EXPECT_NE(result.output.find("lavodc-cli pdf: "), std::string::npos) << result.output;
        EXPECT_FALSE(fs::exists(c.out)) << c.out;
    }
    for (const auto& entry : fs::directory_iterator(dir))
        EXPECT_NE(entry.path().extension(), ".pdf") << entry.path();
}

TEST_F(PdfCommandTest, FailedRunKeepsAnEarlierPdf)
{
    const fs::path out = dir / "kept.pdf";
    std::ofstream(out) << "earlier";
    EXPECT_EQ(pdf(dir / "missing.Lvo", out).exitCode, 1);
    std::ifstream in(out);
    std::string content;
    std::getline(in, content);
    EXPECT_EQ(content, "earlier");
}

TEST_F(PdfCommandTest, RefusesToWriteOverTheSheet)
{
    const fs::path sheet = writeSheet(2);
    const auto size = fs::file_size(sheet);
    const Outcome result = pdf(sheet, dir / "." / sheet.filename());
    EXPECT_EQ(result.exitCode, 2) << result.output;
    EXPECT_EQ(fs::file_size(sheet), size);
}

} // namespace
} // namespace lavodc
