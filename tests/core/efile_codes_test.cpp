// The job table and the codes of foreigners as text files: what is taken, what is refused and
// why, and how the people file is updated without losing what it held.
#include "core/efile_codes.h"

#include "core/cp949.h"
#include "core/safe_save.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>

#include <sys/stat.h>
#include <unistd.h>

namespace lavodc {
namespace {

namespace fs = std::filesystem;

struct ProblemLine {
    int line;
    std::string reason;   // UTF-8
};

template <typename File>
std::vector<ProblemLine> problemsOf(const File& file)
{
    std::vector<ProblemLine> lines;
    for (const CodeFileProblem& problem : file.problems)
        lines.push_back({problem.line, fromCp949(problem.reason)});
    return lines;
}

bool operator==(const ProblemLine& a, const ProblemLine& b) { return a.line == b.line && a.reason == b.reason; }
void PrintTo(const ProblemLine& p, std::ostream* out) { *out << p.line << ": " << p.reason; }

TEST(JobCodeFile, KeysByFirstCharacterOrWholeEntry)
{
    const JobCodeFile file = ParseJobCodes("직종,직종코드\r\n"   // a title line
                                           "A,701\r\n"
                                           "\r\n"
                                           "B.철골공,701\r\n"
                                           "q , 13 \r\n"         // lower case, blanks, the zero a spreadsheet drops
                                           "U.건설단순노무자,706,\r\n");   // an empty cell at the end
    EXPECT_EQ(file.codes, (JobCodes{{"A", "701"}, {"B", "701"}, {"Q", "013"}, {"U", "706"}}));
    EXPECT_TRUE(file.problems.empty());
    // The same in CP949, as a spreadsheet of this locale may save it.
    EXPECT_EQ(ParseJobCodes(K("B.철골공,704\n")).codes, (JobCodes{{"B", "704"}}));
}

TEST(JobCodeFile, LinesThatAreNotTakenAreNamed)
{
    const JobCodeFile file = ParseJobCodes("A,701\n"
                                           "Z,701\n"
                                           "B.철골,701\n"
                                           "C,7O1\n"
                                           "D,7011\n"
                                           "E\n"
                                           "F,701,x\n"
                                           "A,704\n"
                                           "A,701\n");
    EXPECT_EQ(problemsOf(file), (std::vector<ProblemLine>{
        {2, "직종 목록에 없는 직종입니다 (첫 글자 \"A\"나 \"A.철근원\"처럼 씁니다)"},
        {3, "직종 목록에 없는 직종입니다 (첫 글자 \"A\"나 \"A.철근원\"처럼 씁니다)"},
        {4, "직종코드는 숫자 세 자리입니다"},
        {5, "직종코드는 숫자 세 자리입니다"},
        {6, "직종과 직종코드 두 칸이 있어야 합니다"},
        {7, "칸이 셋 이상입니다"},
        {8, "같은 직종에 앞 줄과 다른 코드가 있습니다"},
    }));
    EXPECT_EQ(file.problems[0].quotedUtf8, "Z,701");
    EXPECT_EQ(file.codes, (JobCodes{{"A", "701"}}));
}

TEST(JobCodeFile, AFirstLineWithACodeIsNoTitle)
{
    EXPECT_EQ(ParseJobCodes("G,705\n").codes, (JobCodes{{"G", "705"}}));
    // Only the first line may be a title; a later one is a mistake.
    EXPECT_EQ(problemsOf(ParseJobCodes("G,705\n직종,코드\n")),
              (std::vector<ProblemLine>{{2, "직종 목록에 없는 직종입니다 (첫 글자 \"A\"나 \"A.철근원\"처럼 씁니다)"}}));
}

TEST(PeopleCodeFile, NumbersWithOrWithoutTheHyphenAndCodesInCapitals)
{
    const PeopleCodeFile file = ParsePeopleCodes("주민(외국인)등록번호,국적코드,체류자격코드\n"
                                                 "900101-5123456,250,e-9\n"
                                                 "8501016123457, chn ,H2\n"
                                                 "7001017123458,50,F4\n");
    EXPECT_EQ(file.codes.size(), 3u);
    EXPECT_EQ(file.codes.at("9001015123456").nationality, "250");
    EXPECT_EQ(file.codes.at("9001015123456").stayStatus, "E-9");
    EXPECT_EQ(file.codes.at("8501016123457").nationality, "CHN");
    EXPECT_EQ(file.codes.at("7001017123458").nationality, "050");
    EXPECT_TRUE(file.problems.empty());
}

TEST(PeopleCodeFile, LinesThatAreNotTakenAreNamed)
{
    const PeopleCodeFile file = ParsePeopleCodes("900101-5123456,250,E9\n"
                                                 "90010-15123456,250,E9\n"
                                                 "900101512345,250,E9\n"
                                                 "8501016123457,2500,E9\n"
                                                 "8501016123457,250,9E\n"
                                                 "8501016123457,250,E-9-10\n"
                                                 "8501016123457,250\n"
                                                 "8501016123457,250,E9,x\n"
                                                 "900101-5123456,250,H2\n");
    EXPECT_EQ(problemsOf(file), (std::vector<ProblemLine>{
        {2, "주민(외국인)등록번호는 숫자 13자리입니다"},
        {3, "주민(외국인)등록번호는 숫자 13자리입니다"},
        {4, "국적코드는 영문자나 숫자 세 자리입니다"},
        {5, "체류자격코드는 영문자로 시작하는 다섯 자 이내의 영문자, 숫자, \"-\"입니다"},
        {6, "체류자격코드는 영문자로 시작하는 다섯 자 이내의 영문자, 숫자, \"-\"입니다"},
        {7, "등록번호, 국적코드, 체류자격코드 세 칸이 있어야 합니다"},
        {8, "칸이 넷 이상입니다"},
        {9, "같은 번호에 앞 줄과 다른 코드가 있습니다"},
    }));
    EXPECT_EQ(file.codes.size(), 1u);
}

TEST(CodeFiles, AQuotedLineIsAtMostEightyCharacters)
{
    const JobCodeFile file = ParseJobCodes("A," + std::string(200, '7') + "\n");
    ASSERT_EQ(file.problems.size(), 1u);
    EXPECT_EQ(file.problems[0].quotedUtf8, "A," + std::string(78, '7') + "...");
}

TEST(CodeFiles, AQuoteLeftOpenStopsTheFileThereAndNamesTheLine)
{
    const JobCodeFile jobs = ParseJobCodes("A,701\nB,\"702\nC,703\n");
    EXPECT_EQ(jobs.codes.at("A"), "701");
    EXPECT_EQ(jobs.codes.count("C"), 0u);
    ASSERT_EQ(jobs.problems.size(), 1u);
    EXPECT_EQ(jobs.problems[0].line, 2);
    EXPECT_FALSE(jobs.problems[0].reason.empty());
    // The people file's update keeps such a line as it is.
    const std::string text = PeopleFileText("9001015123456,\"250,E-9\n", {{"8501016123457", {"CHN", "H2"}}});
    EXPECT_TRUE(text.starts_with("9001015123456,\"250,E-9\n")) << text;
}

TEST(CodeFiles, TypedCodes)
{
    EXPECT_EQ(JobCodeOf(" 701 "), "701");
    EXPECT_EQ(JobCodeOf("13"), "013");
    EXPECT_EQ(JobCodeOf(""), "");
    EXPECT_EQ(JobCodeOf("70a"), "");
    EXPECT_EQ(NationalityCodeOf("chn"), "CHN");
    EXPECT_EQ(NationalityCodeOf("CH"), "");   // letters are not padded
    EXPECT_EQ(StayStatusCodeOf("e-9"), "E-9");
    EXPECT_EQ(StayStatusCodeOf("-9"), "");
}

TEST(PeopleFile, UpdatedLinesAreReplacedAndEveryOtherLineKept)
{
    const std::string existing = "주민(외국인)등록번호,국적코드,체류자격코드\r\n"
                                 "9001015123456,250,E9\r\n"
                                 "손으로 쓴 줄\r\n"
                                 "8501016123457,CHN,H2\r\n"
                                 "7001017123458,050,F4";   // no line end
    PeopleCodes updates;
    updates["9001015123456"] = {"250", "E-9"};   // changed
    updates["8501016123457"] = {"", ""};         // cleared: the line goes
    updates["6001015123459"] = {"704", "E9"};    // new
    EXPECT_EQ(PeopleFileText(existing, updates), "주민(외국인)등록번호,국적코드,체류자격코드\r\n"
                                                 "9001015123456,250,E-9\r\n"
                                                 "손으로 쓴 줄\r\n"
                                                 "7001017123458,050,F4\n"
                                                 "6001015123459,704,E9\n");
    // A spreadsheet that saved the file may have quoted the numbers.
    EXPECT_EQ(PeopleFileText("\"9001015123456\",\"250\",\"E9\"\n", {{"9001015123456", {"250", "E-9"}}}),
              "9001015123456,250,E-9\n");
    // A new file has a title line, and reads back as it was written.
    const std::string fresh = PeopleFileText("", {{"9001015123456", {"250", "E9"}}});
    EXPECT_EQ(fresh, "주민(외국인)등록번호,국적코드,체류자격코드\n9001015123456,250,E9\n");
    EXPECT_EQ(ParsePeopleCodes(fresh).codes.at("9001015123456").stayStatus, "E9");
}

class SmallFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("lavodc_efile_codes_" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST_F(SmallFileTest, OnlyASmallRegularFileIsRead)
{
    const fs::path file = dir / "people.csv";
    std::ofstream(file) << "0123456789";
    EXPECT_EQ(ReadSmallRegularFile(file.string(), 10), "0123456789");
    EXPECT_THROW(ReadSmallRegularFile(file.string(), 9), FileError);
    try {
        ReadSmallRegularFile((dir / "none.csv").string(), 10);
        ADD_FAILURE() << "a missing file was read";
    } catch (const FileError& error) {
        EXPECT_EQ(error.code(), ENOENT);
    }
    EXPECT_THROW(ReadSmallRegularFile(dir.string(), 10), FileError);
    // A FIFO is refused at once, with nobody writing to it.
    const fs::path fifo = dir / "fifo.csv";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    auto reading = std::async(std::launch::async, [&fifo] {
        try {
            ReadSmallRegularFile(fifo.string(), 10);
        } catch (const FileError& error) {
            return std::string(error.what());
        }
        return std::string("read");
    });
    ASSERT_EQ(reading.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(reading.get(), kNotARegularFile);
}

} // namespace
} // namespace lavodc
