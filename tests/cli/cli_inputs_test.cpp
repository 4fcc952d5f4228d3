// What lavodc-cli says when an input is wrong: a short quote of it, never the whole input; a
// NUL byte in JSON is an error; --date takes days of the calendar; the workbook library's own
// lines stay out of the way of the program's message.
#include "core/cp949.h"
#include "tests/support/cli_run.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

namespace lavodc {
namespace {

namespace fs = std::filesystem;

class CliInputsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("lavodc_inputs_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
               "_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        return (dir / name).string();
    }

    test::CliRun cli(const std::vector<std::string>& arguments, const std::function<void()>& prepare = {})
    {
        return test::RunCli(arguments, dir / "output.txt", prepare);
    }

    // A sheet of `workers` named workers, built from JSON.
    std::string sheet(int workers)
    {
        std::string json = R"({"header": {"gsyear": "2024", "gmonth": "05"}, "workers": [)";
        for (int i = 0; i < workers; ++i)
            json += std::string(i ? "," : "") + R"({"pName": "홍길동", "nAddr": ")" + std::string(60, 'a') +
                    std::to_string(i) + R"(", "SmMny": 1234567, "d01": "√"})";
        json += "]}";
        const std::string lvo = (dir / "sheet.Lvo").string();
        const test::CliRun built = cli({"build", write("sheet.json", json), lvo});
        EXPECT_EQ(built.exitCode, 0) << built.output;
        return lvo;
    }

    fs::path dir;
};

struct LongInputCase {
    std::string label;
    std::string json;
    std::string quoted;   // what the message quotes of the long part
};

void PrintTo(const LongInputCase& c, std::ostream* out) { *out << c.label; }

class LongInputTest : public CliInputsTest, public ::testing::WithParamInterface<LongInputCase> {};

TEST_P(LongInputTest, AMessageQuotesEightyCharactersOfAnInputAtMost)
{
    const test::CliRun run = cli({"build", write("in.json", GetParam().json), (dir / "out.Lvo").string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find(GetParam().quoted), std::string::npos) << run.output.substr(0, 500);
    EXPECT_LT(run.output.size(), 500u) << run.output.substr(0, 500);
}

const std::string kLong(300000, 'k');
const std::string kEighty = std::string(80, 'k') + "...";

std::string LongInputName(const ::testing::TestParamInfo<LongInputCase>& info) { return info.param.label; }

INSTANTIATE_TEST_SUITE_P(
    Json, LongInputTest,
    ::testing::Values(
        LongInputCase{"worker_field", R"({"workers": [{")" + kLong + R"(": 1}]})",
                      "workers[0] has an unknown field \"" + kEighty + "\""},
        LongInputCase{"header_field", R"({"header": {")" + kLong + R"(": "x"}})",
                      "header has an unknown field \"" + kEighty + "\""},
        LongInputCase{"sheet_field", R"({")" + kLong + R"(": 1})", "unknown field \"" + kEighty + "\""},
        LongInputCase{"string_never_closed", R"({"header": {"gsName": ")" + kLong,
                      "last read: '\"" + std::string(79, 'k') + "...'"},
        LongInputCase{"control_character_after_a_long_text", R"({"header": {"gsName": ")" + kLong + "\x01\"}}",
                      "last read: '\"" + std::string(79, 'k') + "...'"},
        LongInputCase{"number_too_large_for_a_double", R"({"workers": [{"pName": "a", "nDay": 1)" + std::string(300000, '0') + "}]}",
                      "number overflow parsing '1" + std::string(79, '0') + "...'"},
        // Counted in characters, not bytes.
        LongInputCase{"hangul_field", R"({"header": {")" + [] {
                          std::string text;
                          for (int i = 0; i < 1000; ++i)
                              text += "가";
                          return text;
                      }() + R"(": "x"}})",
                      [] {
                          std::string text;
                          for (int i = 0; i < 80; ++i)
                              text += "가";
                          return "\"" + text + "...\"";
                      }()}),
    LongInputName);

TEST_F(CliInputsTest, ANulByteInJsonIsAnError)
{
    const struct {
        std::string json;
        std::string error;
    } cases[] = {
        // The parser took a NUL byte for the end of the text and built what came before.
        {std::string(R"({"workers": [{"pName": "a"}]})") + '\0' + "trailing", "a NUL byte at byte 30"},
        {std::string(R"({"workers": [{"pName": "a)") + '\0' + R"("}]})", "a NUL byte at byte 26"},
        {std::string(R"({"workers": )") + '\0', "a NUL byte at byte 13"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        const std::string out = (dir / "out.Lvo").string();
        const test::CliRun run = cli({"build", write("nul.json", c.json), out});
        EXPECT_EQ(run.exitCode, 1) << run.output;
        EXPECT_NE(run.output.find(c.error + ", which JSON text never holds"), std::string::npos) << run.output;
        EXPECT_FALSE(fs::exists(out));
    }
    // An escaped NUL is a character of a text, as dump writes one.
    EXPECT_EQ(cli({"build", write("escaped.json", R"({"workers": [{"pName": "a\u0000b"}]})"),
                   (dir / "escaped.Lvo").string()})
                  .exitCode,
              0);
}

TEST_F(CliInputsTest, DateTakesOnlyDaysOfTheCalendar)
{
    const std::string lvo = sheet(1);
    for (const char* date : {"9999.99.99", "2024.02.30", "2023.02.29", "2024.13.01", "2024.00.10", "2024.04.31",
                             "0000.01.01", "2100.02.29"}) {
        SCOPED_TRACE(date);
        const test::CliRun run = cli({"pdf", lvo, (dir / "out.pdf").string(), "--date", date});
        EXPECT_EQ(run.exitCode, 2) << run.output;
        EXPECT_NE(run.output.find(std::string("--date needs a day of the calendar, not \"") + date + "\""),
                  std::string::npos)
            << run.output;
        EXPECT_FALSE(fs::exists(dir / "out.pdf"));
    }
    for (const char* date : {"2024.02.29", "2000.02.29", "2024.12.31"}) {
        SCOPED_TRACE(date);
        const test::CliRun run = cli({"pdf", lvo, (dir / "out.pdf").string(), "--date", date});
        EXPECT_EQ(run.exitCode, 0) << run.output;
    }
}

TEST_F(CliInputsTest, TheWorkbookLibrarysOwnLinesDoNotReachTheUser)
{
    const std::string lvo = sheet(300);
    // A disk that fills up: files may not grow past 3 KB, and going past fails instead of ending the run.
    const test::CliRun run = cli({"xlsx", lvo, (dir / "out.xlsx").string()}, [] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit size{3000, 3000};
        ::setrlimit(RLIMIT_FSIZE, &size);
    });
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_EQ(run.output.find("[ERROR]"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.rfind("lavodc-cli xlsx: cannot write " + (dir / "out.xlsx").string() + ": ", 0), 0u)
        << run.output;
    EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
}

} // namespace
} // namespace lavodc
