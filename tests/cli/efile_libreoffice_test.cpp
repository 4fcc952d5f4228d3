// The e-filing workbook as another spreadsheet program reads it: LibreOffice Calc, headless,
// turns it into CSV, and every value must be the one the sheet gives. Skipped where LibreOffice
// is not installed.
#include "core/csv_reader.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace lavodc {
namespace {

namespace fs = std::filesystem;

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

struct Outcome {
    int exitCode = -1;
    std::string output;
};

Outcome shell(const std::string& command)
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

// The soffice on the PATH, or nothing.
std::string findOffice()
{
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        const fs::path candidate = fs::path(folders.substr(start, end - start)) / "soffice";
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate.string();
        start = end + 1;
    }
    return {};
}

class EfileLibreOfficeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("lavodc_efile_office_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    void write(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

    fs::path dir;
};

TEST_F(EfileLibreOfficeTest, CalcReadsTheValuesTheSheetGives)
{
    const std::string office = findOffice();
    if (office.empty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed; install libreoffice-calc-nogui to run this check";

    // November 2026: 김철수 leaves and has a mark on the 31st, 응우옌 is a foreigner, 무전화 has no
    // telephone and a number with a leading zero.
    write(dir / "sheet.json", R"({"header": {"gsyear": "2026", "gmonth": "11"}, "workers": [
        {"pName": "홍길동", "JmnNo": "881130-1234568", "nName": "A.철근원", "nTel": "(010)9876-5432",
         "nDay": 8, "SmMny": 600000, "d03": "√", "d04": "√", "d05": "√"},
        {"pName": "응우옌", "JmnNo": "900101-5123456", "nName": "U.건설단순노무자", "nTel": "( 02) 555-1234",
         "nDay": 7.5, "SmMny": 130000, "d10": "√"},
        {"pName": "김철수", "JmnNo": "750505-1234564", "nName": "B.철골공", "nTel": "(031)123-4567",
         "nEtc": "1.회사사정에 의한 이직", "nDay": 8, "SmMny": 561111, "d01": "√", "d30": "√", "d31": "√"},
        {"pName": "무전화", "JmnNo": "050101-3123456", "nName": "A.철근원", "nDay": 8, "SmMny": 187037.04, "d02": "√"}
    ]})");
    write(dir / "jobs.csv", "A,701\nB,013\nU,706\n");
    write(dir / "people.csv", "900101-5123456,250,E9\n");
    const std::string cli = quoted(fs::path(LAVODC_BIN_DIR) / "lavodc-cli");
    const Outcome built = shell("QT_QPA_PLATFORM=offscreen " + cli + " build " + quoted(dir / "sheet.json") + " " +
                                quoted(dir / "sheet.Lvo"));
    ASSERT_EQ(built.exitCode, 0) << built.output;
    const Outcome filed = shell(cli + " efile " + quoted(dir / "sheet.Lvo") + " " + quoted(dir / "efile.xlsx") +
                                " --jobs " + quoted(dir / "jobs.csv") + " --people " + quoted(dir / "people.csv") +
                                " --nts 202612");
    ASSERT_EQ(filed.exitCode, 0) << filed.output;

    // A profile of its own, so that a LibreOffice the user runs is neither used nor disturbed;
    // comma, double quotes, UTF-8.
    const Outcome converted =
        shell(quoted(fs::path(office)) + " -env:UserInstallation=file://" + (dir / "profile").string() +
              " --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1' --outdir " + quoted(dir) + " " +
              quoted(dir / "efile.xlsx"));
    ASSERT_EQ(converted.exitCode, 0) << converted.output;
    std::ifstream in(dir / "efile.csv", std::ios::binary);
    ASSERT_TRUE(in) << "no CSV: " << converted.output;
    const std::string csv((std::istreambuf_iterator<char>(in)), {});
    const std::vector<CsvRecord> rows = ReadSmallCsv(csv, ',');
    ASSERT_EQ(rows.size(), 5u) << csv;

    const auto row = [](std::vector<std::string> front, std::vector<int> worked, std::vector<std::string> back) {
        std::vector<std::string> cells = std::move(front);
        for (int day = 1; day <= 31; ++day)
            cells.push_back(std::find(worked.begin(), worked.end(), day) != worked.end() ? "1" : "");
        cells.insert(cells.end(), back.begin(), back.end());
        return cells;
    };
    std::vector<std::string> titles = {"보험구분", "성명", "주민(외국인)등록번호", "국적코드", "체류자격코드",
                                       "전화(지역번호)", "전화(국번)", "전화(뒷번호)", "직종코드"};
    for (int day = 1; day <= 31; ++day)
        titles.push_back(std::to_string(day) + "일");
    for (const char* title : {"근로일수", "일평균근로시간", "보수지급기초일수", "보수총액(과세소득)", "임금총액",
                              "이직사유코드", "보험료부과구분부호", "보험료부과구분사유", "국세청일용근로소득신고여부",
                              "지급월", "총지급액(과세소득)", "비과세소득", "소득세", "지방소득세"})
        titles.push_back(title);
    // By name, as the tool writes the file: 김철수, 무전화, 응우옌, 홍길동.
    const std::vector<std::vector<std::string>> expected = {
        titles,
        row({"5", "김철수", "7505051234564", "100", "", "031", "123", "4567", "013"}, {1, 30},
            {"2", "8", "2", "561111", "561111", "1", "", "", "Y", "202612", "561111", "0", "7048", "704"}),
        row({"5", "무전화", "0501013123456", "100", "", "", "", "", "701"}, {2},
            {"1", "8", "1", "187037.04", "187037.04", "", "", "", "Y", "202612", "187037.04", "0", "1000", "100"}),
        row({"5", "응우옌", "9001015123456", "250", "E9", "02", "555", "1234", "706"}, {10},
            {"1", "7.5", "1", "130000", "130000", "", "", "", "Y", "202612", "130000", "0", "0", "0"}),
        row({"5", "홍길동", "8811301234568", "100", "", "010", "9876", "5432", "701"}, {3, 4, 5},
            {"3", "8", "3", "600000", "600000", "", "", "", "Y", "202612", "600000", "0", "4050", "405"}),
    };
    for (std::size_t r = 0; r < expected.size(); ++r) {
        std::vector<std::string> cells = rows[r].cells;
        cells.resize(expected[r].size());
        EXPECT_EQ(cells, expected[r]) << "row " << r + 1;
        for (std::size_t c = expected[r].size(); c < rows[r].cells.size(); ++c)
            EXPECT_EQ(rows[r].cells[c], "") << "row " << r + 1 << " past BB";
    }
}

} // namespace
} // namespace lavodc
