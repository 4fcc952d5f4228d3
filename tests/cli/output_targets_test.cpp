// What the commands that write a file (build, pdf, xlsx, efile, next, import) do with what already
// stands at their output path: only a regular file that may be written is replaced, keeping its
// mode and owner, and never one of the command's own inputs.
#include "core/cp949.h"
#include "core/sheet_file.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>

namespace lavodc {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

struct Outcome {
    int exitCode = -1;
    std::string output;
};

Outcome cli(const std::string& arguments)
{
    Outcome outcome;
    const std::string command = "QT_QPA_PLATFORM=offscreen " + quoted(fs::path(LAVODC_BIN_DIR) / "lavodc-cli") + " "
                                + arguments + " 2>&1";
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

std::string slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class OutputTargetsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("lavodc_outputs_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_"
               + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        sheet = dir / "site.Lvo";
        Sheet made;
        made.table.Open();
        ResetHeader(made.header, "2024.05");
        made.header.gsName = K("한빛 신축공사");
        made.table.Append();
        made.table.SetFieldText("pName", K("홍길동"));
        made.table.SetFieldText("JmnNo", "800101-1234567");
        made.table.Post();
        SaveSheetFile(sheet.string(), made);
        list = dir / "list.csv";
        std::ofstream(list, std::ios::binary) << toCp949("성명,주민등록번호,직종\n김철수,750505-1234564,B\n");
        json = dir / "site.json";
        std::ofstream(json, std::ios::binary) << R"({"header": {"gsyear": "2024", "gmonth": "05"}, "workers": []})";
    }
    void TearDown() override { fs::remove_all(dir); }

    // Each command that writes a file, with `out` as its output.
    struct Command {
        const char* name;
        std::function<std::string(const fs::path& out)> arguments;
    };
    std::vector<Command> commands() const
    {
        return {
            {"build", [this](const fs::path& out) { return "build " + quoted(json) + " " + quoted(out); }},
            {"pdf", [this](const fs::path& out) { return "pdf " + quoted(sheet) + " " + quoted(out); }},
            {"xlsx", [this](const fs::path& out) { return "xlsx " + quoted(sheet) + " " + quoted(out); }},
            {"efile", [this](const fs::path& out) { return "efile " + quoted(sheet) + " " + quoted(out); }},
            {"next", [this](const fs::path& out) { return "next " + quoted(sheet) + " " + quoted(out); }},
            {"import",
             [this](const fs::path& out) { return "import " + quoted(sheet) + " " + quoted(list) + " " + quoted(out); }},
        };
    }

    std::set<std::string> entries() const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            names.insert(entry.path().filename().string());
        return names;
    }

    fs::path dir;
    fs::path sheet;
    fs::path list;
    fs::path json;
};

TEST_F(OutputTargetsTest, NothingButAWritableRegularFileIsReplaced)
{
    std::ofstream(dir / "real.txt") << "the linked file";
    struct Target {
        const char* name;
        std::function<void(const fs::path&)> make;
        fs::file_type type;
        bool rootOnly;
    };
    const Target targets[] = {
        // The machine's null device, as a copy of it here: a save must not put a file in its place.
        {"null", [](const fs::path& p) { ASSERT_EQ(::mknod(p.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0); },
         fs::file_type::character, true},
        {"fifo", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0666), 0); }, fs::file_type::fifo, false},
        {"socket",
         [](const fs::path& p) {
             const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
             sockaddr_un address{};
             address.sun_family = AF_UNIX;
             std::strncpy(address.sun_path, p.c_str(), sizeof address.sun_path - 1);
             ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
             ::close(fd);
         },
         fs::file_type::socket, false},
        {"link", [this](const fs::path& p) { fs::create_symlink(dir / "real.txt", p); }, fs::file_type::symlink, false},
        {"read-only",
         [](const fs::path& p) {
             std::ofstream(p) << "kept";
             fs::permissions(p, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
         },
         fs::file_type::regular, false},
    };
    for (const Command& command : commands()) {
        for (const Target& target : targets) {
            if (target.rootOnly && ::geteuid() != 0)
                continue;
            SCOPED_TRACE(std::string(command.name) + " over " + target.name);
            const fs::path out = dir / target.name;
            target.make(out);
            const std::set<std::string> before = entries();
            const Outcome outcome = cli(command.arguments(out));
            EXPECT_EQ(outcome.exitCode, 1) << outcome.output;
            EXPECT_NE(outcome.output.find("lavodc-cli " + std::string(command.name) + ": "), std::string::npos)
                << outcome.output;
            EXPECT_EQ(fs::symlink_status(out).type(), target.type);
            EXPECT_EQ(entries(), before) << "something was left behind";
            fs::remove(out);
        }
    }
    EXPECT_EQ(slurp(dir / "real.txt"), "the linked file");
    EXPECT_EQ(slurp(sheet).size(), 344u * 4);
}

// A private file stays private and stays its owner's, also when the super-user replaces it.
TEST_F(OutputTargetsTest, AReplacedFileKeepsItsModeAndOwner)
{
    const bool root = ::geteuid() == 0;
    for (const Command& command : commands()) {
        SCOPED_TRACE(command.name);
        const fs::path out = dir / (std::string("private.") + command.name);
        std::ofstream(out) << "old";
        ASSERT_EQ(::chmod(out.c_str(), 0600), 0);
        if (root) {
            ASSERT_EQ(::chown(out.c_str(), kNobody, kNobody), 0);
        }
        const Outcome outcome = cli(command.arguments(out));
        ASSERT_EQ(outcome.exitCode, 0) << outcome.output;
        struct stat info {};
        ASSERT_EQ(::stat(out.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0600u);
        if (root) {
            EXPECT_EQ(info.st_uid, kNobody);
            EXPECT_EQ(info.st_gid, kNobody);
        }
        EXPECT_NE(slurp(out), "old");
    }
}

// However the output names an input (the same name, another spelling, another link to it),
// the command refuses before it writes anything.
TEST_F(OutputTargetsTest, AnInputIsNeverTheOutput)
{
    ASSERT_EQ(::link(sheet.c_str(), (dir / "hard link.Lvo").c_str()), 0);
    fs::create_directory(dir / "sub");
    const std::string sheetBytes = slurp(sheet);
    const std::string listBytes = slurp(list);
    const std::string sheetNames[] = {quoted(sheet), quoted(dir / "." / "site.Lvo"),
                                      quoted(dir / "sub" / ".." / "site.Lvo"), quoted(dir / "hard link.Lvo")};
    for (const std::string& out : sheetNames) {
        SCOPED_TRACE(out);
        for (const std::string& arguments : {"next " + quoted(sheet) + " " + out,
                                             "import " + quoted(sheet) + " " + quoted(list) + " " + out,
                                             "pdf " + quoted(sheet) + " " + out, "xlsx " + quoted(sheet) + " " + out,
                                             "efile " + quoted(sheet) + " " + out}) {
            const Outcome outcome = cli(arguments);
            EXPECT_EQ(outcome.exitCode, 2) << arguments << ": " << outcome.output;
        }
    }
    const Outcome overList = cli("import " + quoted(sheet) + " " + quoted(list) + " " + quoted(dir / "." / "list.csv"));
    EXPECT_EQ(overList.exitCode, 2) << overList.output;
    EXPECT_EQ(slurp(sheet), sheetBytes);
    EXPECT_EQ(slurp(list), listBytes);
}

} // namespace
} // namespace lavodc
