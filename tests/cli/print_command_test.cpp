// lavodc-cli print and printers against a CUPS daemon of the test's own, whose CUPS-PDF
// queue lands each job as a PDF that is read back as a reader would see it.
#include "core/cp949.h"
#include "core/sheet_file.h"
#include "tests/support/cups_test_server.h"
#include "tests/support/page_match.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace lavodc {
namespace {

namespace fs = std::filesystem;
using testing::CommandOutcome;
using testing::CupsTestServer;
using testing::GreyPage;
using testing::Quoted;
using testing::RunCommand;

class PrintCommandCliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LAVODC_REQUIRE_CUPS(server);
        server.ClearOut();
        ASSERT_TRUE(server.Accept(true));
        dir = fs::temp_directory_path() /
              ("lavodc_print_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        sheet = writeSheet(9);
    }
    void TearDown() override
    {
        if (!dir.empty())
            fs::remove_all(dir);
    }

    fs::path writeSheet(int workers)
    {
        Sheet built;
        built.period = "2010.01";
        built.header.gsyear = "2010";
        built.header.gmonth = "01";
        built.header.gsName = toCp949("한빛 신축공사");
        built.table.Open();
        std::vector<WorkerRow> rows(static_cast<std::size_t>(workers));
        for (int i = 0; i < workers; ++i) {
            WorkerRow& row = rows[static_cast<std::size_t>(i)];
            row.HCODE = row.SCODE = row.LCODE = 1;
            row.cDate = "2010.01";
            row.pName = toCp949("작업자") + std::to_string(10 + i);
            row.JmnNo = "800101-12345" + std::to_string(10 + i);
            row.nNal = 1;
            row.nDay = 8;
            row.SmMny = 100000;
            row.days[0] = std::string(kDayMark);
        }
        built.table.AppendRows(std::move(rows));
        const fs::path path = dir / "sheet.Lvo";
        WriteSheetFile(path.string(), built);
        return path;
    }

    CommandOutcome cli(const std::string& arguments)
    {
        return RunCommand(server.Env() + Quoted(fs::path(LAVODC_BIN_DIR) / "lavodc-cli") + " " + arguments);
    }
    CommandOutcome print(const std::string& options)
    {
        return cli("print " + Quoted(sheet) + " " + options);
    }

    CupsTestServer& server = CupsTestServer::Shared();
    fs::path dir;
    fs::path sheet;
};

TEST_F(PrintCommandCliTest, PrintersListsTheQueuesWithTheDefaultMarked)
{
    ASSERT_EQ(RunCommand(server.Env() + "lpadmin -p LavoSpare -E -v file:///dev/null -m raw").exitCode, 0);
    const CommandOutcome listed = cli("printers");
    RunCommand(server.Env() + "lpadmin -x LavoSpare");
    EXPECT_EQ(listed.exitCode, 0) << listed.output;
    EXPECT_NE(listed.output.find("LavoPdf (default)\n"), std::string::npos) << listed.output;
    EXPECT_NE(listed.output.find("LavoSpare\n"), std::string::npos) << listed.output;
    EXPECT_EQ(listed.output.find("LavoSpare (default)"), std::string::npos) << listed.output;
    EXPECT_EQ(cli("printers extra").exitCode, 2);
}

// Where the page header's title box starts, in millimetres from the paper's corner.
struct Corner {
    double left = -1;
    double top = -1;
};

Corner titleBoxCorner(const fs::path& pdf, int dpi)
{
    const GreyPage page = testing::RenderPdfPage(pdf, 1, dpi);
    if (page.width <= 0)
        return {};
    const auto pixel = [dpi](double mm) { return static_cast<int>(std::lround(mm * dpi / 25.4)); };
    const auto mm = [dpi](int px) { return px * 25.4 / dpi; };
    // Down the middle of the title box's left half (clear of the form number), then along
    // the middle of its height.
    const int top = testing::FirstDarkInColumn(page, pixel(60.0));
    const int left = top < 0 ? -1 : testing::FirstDarkInRow(page, top + pixel(6.6));
    return {left < 0 ? -1 : mm(left), top < 0 ? -1 : mm(top)};
}

TEST_F(PrintCommandCliTest, PrintLandsTheFormWhereTheShiftsPutIt)
{
    const CommandOutcome plain = print("--printer LavoPdf --date 2010.01.27 --pages 1-1");
    ASSERT_EQ(plain.exitCode, 0) << plain.output;
    EXPECT_NE(plain.output.find("1 of 2 pages sent to LavoPdf"), std::string::npos) << plain.output;
    auto landed = server.WaitForPdfs(1);
    ASSERT_EQ(landed.size(), 1u);
    const fs::path unshifted = dir / "unshifted.pdf";
    fs::rename(landed[0], unshifted);

    const CommandOutcome shifted = print("--printer LavoPdf --date 2010.01.27 --top 50 --left -30");
    ASSERT_EQ(shifted.exitCode, 0) << shifted.output;
    landed = server.WaitForPdfs(1);
    ASSERT_EQ(landed.size(), 1u);

    const std::string info = RunCommand("pdfinfo " + Quoted(landed[0])).output;
    EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
    EXPECT_NE(RunCommand("pdfinfo " + Quoted(unshifted)).output.find("Pages:           1"), std::string::npos);
    const GreyPage sheetPage = testing::RenderPdfPage(landed[0], 1, 20);
    EXPECT_GT(sheetPage.width, sheetPage.height);   // landscape

    // The title box lies 4.5 mm under the top margin at the left margin: 16 and 18.5 mm from
    // the corner without shifts, 13 and 23.5 mm with 5 mm down and 3 mm left.
    const Corner before = titleBoxCorner(unshifted, 100);
    const Corner after = titleBoxCorner(landed[0], 100);
    EXPECT_NEAR(before.left, 16.0, 0.6);
    EXPECT_NEAR(before.top, 18.5, 0.6);
    EXPECT_NEAR(after.left, 13.0, 0.6);
    EXPECT_NEAR(after.top, 23.5, 0.6);
}

TEST_F(PrintCommandCliTest, UnknownPrinterAndBadOptionsExitNonZeroAndPrintNothing)
{
    struct Case {
        std::string arguments;
        int exitCode;
        std::string message;
    };
    for (const Case& c : {
             Case{"print " + Quoted(sheet) + " --printer Nowhere", 2, "no printer named \"Nowhere\""},
             Case{"print " + Quoted(sheet), 2, "usage: lavodc-cli print"},
             Case{"print " + Quoted(sheet) + " --printer LavoPdf --pages 3-3", 2, "--pages 3-3 goes past the last page (2)"},
             Case{"print " + Quoted(sheet) + " --printer LavoPdf --pages 2-1", 2, "--pages needs 1 <= A <= B"},
             Case{"print " + Quoted(sheet) + " --printer LavoPdf --top abc", 2, "--top needs a whole number"},
             Case{"print " + Quoted(sheet) + " --printer LavoPdf --date 27.01.2010", 2, "--date needs yyyy.mm.dd"},
             Case{"print " + Quoted(dir / "missing.Lvo") + " --printer LavoPdf", 1, "cannot read"},
         }) {
        const CommandOutcome result = cli(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments << ": " << result.output;
        EXPECT_NE(result.output.find("lavodc-cli print: " + c.message), std::string::npos)
            << c.arguments << ": " << result.output;
    }
    EXPECT_FALSE(server.QueueBusy());
    EXPECT_TRUE(fs::is_empty(server.OutFolder()));
}

TEST_F(PrintCommandCliTest, RefusedJobExitsOneWithTheQueuesReason)
{
    ASSERT_TRUE(server.Accept(false));
    const CommandOutcome result = print("--printer LavoPdf");
    ASSERT_TRUE(server.Accept(true));
    EXPECT_EQ(result.exitCode, 1) << result.output;
    EXPECT_NE(result.output.find("lavodc-cli print: LavoPdf did not take the job: "), std::string::npos)
        << result.output;
    EXPECT_EQ(result.output.find("pages sent"), std::string::npos) << result.output;
    EXPECT_FALSE(server.QueueBusy());
    EXPECT_TRUE(fs::is_empty(server.OutFolder()));
}

} // namespace
} // namespace lavodc
