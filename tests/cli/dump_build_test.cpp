// Runs the built lavodc-cli dump and build as a user would.
#include "core/cp949.h"
#include "core/sheet_file.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace lavodc {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string quoted(const std::string& text)
{
    return "'" + text + "'";
}

std::string slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class DumpBuildTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path()
              / ("lavodc_dump_build_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name())
                 + "_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    Outcome cli(const std::vector<std::string>& args) const
    {
        std::string command = quoted(std::string(LAVODC_BIN_DIR) + "/lavodc-cli");
        for (const std::string& arg : args)
            command += " " + quoted(arg);
        const fs::path errPath = dir / "stderr.txt";
        command += " 2>" + quoted(errPath.string());
        Outcome outcome;
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr)
            return outcome;
        std::array<char, 4096> buffer{};
        while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
            outcome.out.append(buffer.data(), n);
        const int status = pclose(pipe);
        outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        outcome.err = slurp(errPath);
        fs::remove(errPath);
        return outcome;
    }

    std::string file(const std::string& name) const { return (dir / name).string(); }

    std::string writeText(const std::string& name, const std::string& text) const
    {
        std::ofstream(file(name), std::ios::binary) << text;
        return file(name);
    }

    // Exactly one line on standard error that names what went wrong.
    static void expectOneErrorLine(const Outcome& outcome, const std::string& mentions)
    {
        EXPECT_NE(outcome.exitCode, 0);
        EXPECT_TRUE(outcome.out.empty()) << outcome.out;
        ASSERT_FALSE(outcome.err.empty());
        EXPECT_EQ(outcome.err.back(), '\n');
        EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << outcome.err;
        EXPECT_NE(outcome.err.find(mentions), std::string::npos) << outcome.err;
    }

    fs::path dir;
};

const char* kSheetJson = R"({
  "header": {"gsName": "서울 신축공사", "gsyear": "2024", "gmonth": "5", "cmpNo": "123-45",
             "indNo": "77", "indName": "건설협회", "MgrName": "홍길동", "MgrJmnNo": "800101",
             "cmpAddr": "서울시 중구", "cmpTel": "02-123-4567", "cmpName": "김대표"},
  "workers": [
    {"pName": "하윤", "nName": "B.철골공", "JmnNo": "900101-1234567", "nTel": "(042) 123-4567",
     "nDay": 7.5, "SmMny": 1234567, "nNal": 9, "d01": "√", "d02": "√", "d31": "√", "d03": "v",
     "HCODE": 4, "cDate": "1999.01"},
    {"pName": "가람", "nName": "A.철근원", "nEtc": "2.부득이한 개인사정"}
  ]
})";

TEST_F(DumpBuildTest, BuildWritesWhatSaveWritesAndDumpShowsWhatOpenHolds)
{
    const std::string lvo = file("out.Lvo");
    const Outcome built = cli({"build", writeText("sheet.json", kSheetJson), lvo});
    ASSERT_EQ(built.exitCode, 0) << built.err;
    EXPECT_TRUE(built.err.empty());

    const std::string bytes = slurp(lvo);
    ASSERT_EQ(bytes.size(), 344u * 5);
    EXPECT_EQ(bytes.substr(12, 8), std::string("\x07") + "2024.5 ");        // period from the boxes
    EXPECT_EQ(bytes.substr(31, 15), std::string("\x0E") + "800101-       "); // masked as the box gives it
    EXPECT_EQ(bytes.substr(344 + 138, 16), std::string("\x0F") + "(  02) 123-4567");
    EXPECT_EQ(bytes.substr(3 * 344 + 20, 5), std::string("\x04") + toCp949("가람"));   // by name
    EXPECT_EQ(bytes.substr(4 * 344, 12), std::string("\1\0\0\0\1\0\0\0\1\0\0\0", 12));   // codes 1, 1, 1
    EXPECT_EQ(bytes.substr(4 * 344 + 12, 8), std::string("\x07") + "2024.5 ");

    const Outcome dumped = cli({"dump", lvo});
    ASSERT_EQ(dumped.exitCode, 0) << dumped.err;
    const Json json = Json::parse(dumped.out);

    const Json& header = json.at("header");
    EXPECT_EQ(header.size(), 11u);
    EXPECT_EQ(header.at("gsName"), "서울 신축공사");
    EXPECT_EQ(header.at("gsyear"), "2024");
    EXPECT_EQ(header.at("gmonth"), "5 ");
    EXPECT_EQ(header.at("MgrJmnNo"), "800101-       ");
    EXPECT_EQ(header.at("cmpTel"), "02-123-4567");   // unbracketed as Open does it
    EXPECT_EQ(header.at("indName"), "건설협회");
    EXPECT_EQ(header.at("cmpName"), "김대표");

    const Json& workers = json.at("workers");
    ASSERT_EQ(workers.size(), 2u);
    EXPECT_EQ(workers[0].at("pName"), "가람");
    EXPECT_EQ(workers[0].at("nEtc"), "2.부득이한 개인사정");
    EXPECT_EQ(workers[0].at("nNal"), 0);
    const Json& w = workers[1];
    EXPECT_EQ(w.size(), 44u);
    EXPECT_EQ(w.begin().key(), "HCODE");
    EXPECT_EQ(w.at("HCODE"), 1);
    EXPECT_EQ(w.at("cDate"), "2024.5 ");
    EXPECT_EQ(w.at("nTel"), "(042) 123-4567");
    EXPECT_EQ(w.at("nNal"), 3);                    // recounted: "v" does not count
    EXPECT_TRUE(w.at("nNal").is_number());
    EXPECT_EQ(w.at("nDay"), 7.5);
    EXPECT_EQ(w.at("SmMny"), 1234567);
    EXPECT_EQ(w.at("d01"), "√");
    EXPECT_EQ(w.at("d03"), "v");
    EXPECT_EQ(w.at("d04"), "");
    EXPECT_EQ(w.at("d31"), "√");
}

TEST_F(DumpBuildTest, ADumpBuiltAgainGivesTheSameSheet)
{
    const std::string first = file("first.Lvo");
    ASSERT_EQ(cli({"build", writeText("sheet.json", kSheetJson), first}).exitCode, 0);
    const Outcome dumped = cli({"dump", first});
    ASSERT_EQ(dumped.exitCode, 0);
    const std::string second = file("second.Lvo");
    const Outcome rebuilt = cli({"build", writeText("dumped.json", dumped.out), second});
    ASSERT_EQ(rebuilt.exitCode, 0) << rebuilt.err;
    const Outcome again = cli({"dump", second});
    ASSERT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.out, dumped.out);
}

TEST_F(DumpBuildTest, MissingWorkerFieldsTakeTheValuesOfANewRow)
{
    const std::string lvo = file("blank.Lvo");
    ASSERT_EQ(cli({"build", writeText("blank.json", R"({"workers": [{"pName": "가"}]})"), lvo}).exitCode, 0);
    const Json json = Json::parse(cli({"dump", lvo}).out);
    const Json& w = json.at("workers").at(0);
    EXPECT_EQ(w.at("JmnNo"), "");
    EXPECT_EQ(w.at("SmMny"), 0);
    EXPECT_EQ(w.at("nDay"), 0);
    EXPECT_EQ(w.at("d15"), "");
    EXPECT_EQ(w.at("HCODE"), 1);   // written as 1 whatever the row holds
    EXPECT_EQ(json.at("header").at("gsName"), "");
}

TEST_F(DumpBuildTest, ABytePairThatDoesNotDecodeShowsAsTheReplacementCharacter)
{
    std::string record(344, '\0');
    record[340] = '\x01';
    record[341] = 'N';
    record[20] = 3;
    record.replace(21, 3, "\xFF" "A" "\xB0");   // 0xFF never starts a character; 0xB0 lacks its pair
    const std::string lvo = writeText("odd.Lvo", record);
    const Outcome dumped = cli({"dump", lvo});
    ASSERT_EQ(dumped.exitCode, 0) << dumped.err;
    EXPECT_EQ(Json::parse(dumped.out).at("workers").at(0).at("pName"), "\xEF\xBF\xBD" "A" "\xEF\xBF\xBD");
}

TEST_F(DumpBuildTest, QuotesBackslashesAndControlCharactersComeOutAsValidJsonAndGoBack)
{
    const std::string address = std::string("a\"b\\c") + '\x01' + "d\te\nf";
    std::string record(344, '\0');
    record[340] = '\x01';
    record[341] = 'N';
    record[20] = 1;   // a name, which build requires
    record[21] = 'x';
    record[67] = static_cast<char>(address.size());
    record.replace(68, address.size(), address);
    const Outcome dumped = cli({"dump", writeText("escape.Lvo", record)});
    ASSERT_EQ(dumped.exitCode, 0) << dumped.err;
    EXPECT_NE(dumped.out.find(R"("a\"b\\c\u0001d\te\nf")"), std::string::npos) << dumped.out;
    EXPECT_EQ(Json::parse(dumped.out).at("workers").at(0).at("nAddr"), address);

    const std::string rebuilt = file("rebuilt.Lvo");
    ASSERT_EQ(cli({"build", writeText("escape.json", dumped.out), rebuilt}).exitCode, 0);
    EXPECT_EQ(slurp(rebuilt).substr(3 * 344 + 67, 1 + address.size()), record.substr(67, 1 + address.size()));
}

TEST_F(DumpBuildTest, DumpErrorsAreOneLineAndNonZero)
{
    expectOneErrorLine(cli({"dump", file("absent.Lvo")}), "absent.Lvo");
    expectOneErrorLine(cli({"dump", file("absent.Lvo")}), std::strerror(ENOENT));
    expectOneErrorLine(cli({"dump", dir.string()}), dir.string());
    EXPECT_EQ(cli({"dump"}).exitCode, 2);
    EXPECT_EQ(cli({"dump", "a", "b"}).exitCode, 2);
}

TEST_F(DumpBuildTest, BuildErrorsAreOneLineAndLeaveNoOutputFile)
{
    const struct {
        const char* what;
        std::string json;
        std::string mentions;
    } cases[] = {
        {"bad JSON", R"({"header": {"gsName": "x",})", "not valid JSON"},
        {"not an object", R"([1, 2])", "JSON object"},
        {"a text CP949 cannot hold", R"({"workers": [{"pName": "이😀"}]})", "workers[0].pName"},
        {"a Latin-1 letter CP949 lacks", R"({"header": {"cmpName": "Müller"}})", "header.cmpName"},
        {"a number where a text belongs", R"({"header": {"gsName": 5}})", "header.gsName must be a text"},
        {"a text where an amount belongs", R"({"workers": [{"pName": "a"}, {"pName": "b", "SmMny": "1000"}]})",
         "workers[1].SmMny must be a number"},
        {"a worker without a name", R"({"workers": [{"pName": "a"}, {"nDay": 8}, {"pName": ""}]})",
         "workers[1] has no name (pName)"},
        {"a fraction for a code", R"({"workers": [{"HCODE": 1.5}]})", "workers[0].HCODE"},
        {"a code beyond 32 bits", R"({"workers": [{"SCODE": 3000000000}]})", "workers[0].SCODE"},
        {"an unknown worker field", R"({"workers": [{"pname": "x"}]})", "\"pname\""},
        {"an unknown header field", R"({"header": {"site": "x"}})", "\"site\""},
        {"workers not a list", R"({"workers": {}})", "workers must be a list"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string out = file("out.Lvo");
        expectOneErrorLine(cli({"build", writeText("in.json", c.json), out}), c.mentions);
        EXPECT_FALSE(fs::exists(out));
    }

    expectOneErrorLine(cli({"build", file("absent.json"), file("out.Lvo")}), "absent.json");
    EXPECT_FALSE(fs::exists(file("out.Lvo")));
    // A folder for the input, told as the system's reason like every input that cannot be read.
    expectOneErrorLine(cli({"build", dir.string(), file("out.Lvo")}),
                       "cannot read \"" + dir.string() + "\": " + std::strerror(EISDIR));
    EXPECT_FALSE(fs::exists(file("out.Lvo")));

    // A folder that does not exist for the output.
    expectOneErrorLine(cli({"build", writeText("ok.json", "{}"), file("no/out.Lvo")}), std::strerror(ENOENT));
    EXPECT_EQ(cli({"build", "only-one"}).exitCode, 2);

    // A failed build over an existing file leaves it as it was.
    const std::string existing = writeText("existing.Lvo", "old content");
    expectOneErrorLine(cli({"build", writeText("bad.json", "{"), existing}), "not valid JSON");
    EXPECT_EQ(slurp(existing), "old content");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 4);   // no leftovers
}

TEST_F(DumpBuildTest, DumpRefusesWhatIsNotARegularFileWithoutWaitingForIt)
{
    const std::string fifo = file("pipe.Lvo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A FIFO nobody writes to: reading it would wait for ever; the test's own deadline is ctest's.
    expectOneErrorLine(cli({"dump", fifo}), kNotARegularFile);
    expectOneErrorLine(cli({"dump", "/dev/null"}), kNotARegularFile);
}

TEST_F(DumpBuildTest, BuildRefusesAReadOnlyTargetAndLeavesIt)
{
    const std::string target = writeText("locked.Lvo", "old content");
    bool immutable = false;
    if (::geteuid() != 0) {
        fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    } else {
        // The super-user writes whatever the permissions say: make the file immutable instead.
        const int fd = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
        int flags = 0;
        immutable = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0
                 && (flags |= FS_IMMUTABLE_FL, ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
        if (fd >= 0)
            ::close(fd);
        if (!immutable)
            GTEST_SKIP() << "running as root and the file system has no immutable files";
    }
    const Outcome outcome = cli({"build", writeText("ok.json", kSheetJson), target});
    expectOneErrorLine(outcome, std::strerror(::geteuid() == 0 ? EPERM : EACCES));
    EXPECT_EQ(slurp(target), "old content");
    if (immutable) {
        const int fd = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
        int flags = 0;
        if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        if (fd >= 0)
            ::close(fd);
    }
}

} // namespace
} // namespace lavodc
