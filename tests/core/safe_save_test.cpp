// The one way files are saved: what may be replaced, what the replacing file keeps of the old
// one, what a failed or killed save leaves, and how a save tells a file it no longer knows.
#include "core/cp949.h"
#include "core/ini_file.h"
#include "core/safe_save.h"
#include "core/sheet_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>

#include <grp.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lavodc {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

std::string slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeText(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// What `what` threw, or "" when it went through.
std::string failure(const std::function<void()>& what)
{
    try {
        what();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "";
}

// Runs `what` in a child process as the unprivileged user "nobody" (the super-user becomes it;
// anyone else runs as themselves) and returns what it threw, "" when it went through.
std::string failureAsNobody(const std::function<void()>& what)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        std::string outcome;
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            outcome = "cannot become nobody";
        else
            outcome = failure(what);
        const ssize_t ignored = ::write(channel[1], outcome.data(), outcome.size());
        (void)ignored;
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string outcome;
    char chunk[512];
    for (ssize_t got; (got = ::read(channel[0], chunk, sizeof chunk)) > 0;)
        outcome.append(chunk, static_cast<std::size_t>(got));
    ::close(channel[0]);
    ::waitpid(child, nullptr, 0);
    return outcome;
}

class SafeSaveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() / ("lavodc_safe_save_" + std::string(info->name()) + "_"
                                           + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        sheet.table.Open();
        sheet.header.gsName = K("현장");
        for (int i = 0; i < 3; ++i) {
            sheet.table.Append();
            sheet.table.SetFieldText("pName", K("근로자") + std::to_string(i));
            sheet.table.Post();
        }
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::permissions(dir, fs::perms::owner_all, ignored);
        fs::remove_all(dir, ignored);
    }

    std::set<std::string> entries() const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            names.insert(entry.path().filename().string());
        return names;
    }

    fs::path dir;
    Sheet sheet;
};

TEST_F(SafeSaveTest, OnlyARegularFileIsReplaced)
{
    writeText(dir / "real.Lvo", "the linked file");
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> make;
        fs::file_type type;
        bool rootOnly;
    };
    const Case cases[] = {
        {"fifo.Lvo", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }, fs::file_type::fifo, false},
        {"socket.Lvo",
         [](const fs::path& p) {
             const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
             sockaddr_un address{};
             address.sun_family = AF_UNIX;
             std::strncpy(address.sun_path, p.c_str(), sizeof address.sun_path - 1);
             ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
             ::close(fd);
         },
         fs::file_type::socket, false},
        // The null device, made here: a save over it must not put a file in its place.
        {"null.Lvo", [](const fs::path& p) { ASSERT_EQ(::mknod(p.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0); },
         fs::file_type::character, true},
        {"link.Lvo", [this](const fs::path& p) { fs::create_symlink(dir / "real.Lvo", p); }, fs::file_type::symlink,
         false},
        {"dangling.Lvo", [this](const fs::path& p) { fs::create_symlink(dir / "nowhere.Lvo", p); },
         fs::file_type::symlink, false},
        {"folder.Lvo", [](const fs::path& p) { fs::create_directory(p); }, fs::file_type::directory, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.rootOnly && ::geteuid() != 0)
            continue;
        const fs::path target = dir / c.name;
        c.make(target);
        const std::set<std::string> before = entries();
        EXPECT_NE(failure([&] { SaveSheetFile(target, sheet); }), "");
        EXPECT_NE(failure([&] { WriteWholeFile(target, "bytes"); }), "");
        EXPECT_EQ(fs::symlink_status(target).type(), c.type);
        EXPECT_EQ(entries(), before) << "something was left behind";
    }
    EXPECT_EQ(slurp(dir / "real.Lvo"), "the linked file");
    EXPECT_FALSE(fs::exists(dir / "nowhere.Lvo"));
}

// The target is looked at again when the written file takes its name: what came in its place
// meanwhile is treated as a target found at the start would be.
TEST_F(SafeSaveTest, WhatAppearsAtTheNameWhileSavingIsCheckedToo)
{
    const fs::path target = dir / "late.Lvo";
    {
        SafeSave save(target.string());
        save.write("new", 3);
        ASSERT_EQ(::mkfifo(target.c_str(), 0600), 0);
        EXPECT_EQ(failure([&] { save.commit(); }), kNotARegularFile);
    }
    EXPECT_TRUE(fs::is_fifo(target));
    fs::remove(target);

    SafeSave save(target.string());
    save.write("new", 3);
    writeText(target, "theirs");
    ASSERT_EQ(::chmod(target.c_str(), 0604), 0);
    save.commit();
    EXPECT_EQ(slurp(target), "new");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0604));
    EXPECT_EQ(entries(), std::set<std::string>{"late.Lvo"});
}

// Marked read-only for everybody: refused also for the super-user, whom permissions do not stop.
TEST_F(SafeSaveTest, AFileMarkedReadOnlyIsRefusedForEveryone)
{
    const fs::path target = dir / "read only.Lvo";
    writeText(target, "kept");
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(failure([&] { SaveSheetFile(target, sheet); }), std::strerror(EACCES));
    EXPECT_EQ(failure([&] { WriteWholeFile(target, "new"); }), std::strerror(EACCES));
    EXPECT_EQ(slurp(target), "kept");
    EXPECT_EQ(entries(), std::set<std::string>{"read only.Lvo"});
}

TEST_F(SafeSaveTest, TheReplacingFileKeepsModeOwnerAndGroup)
{
    const fs::path target = dir / "private.Lvo";
    writeText(target, "old");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(target.c_str(), kNobody, kNobody), 0);
    }
    struct stat before {};
    ASSERT_EQ(::stat(target.c_str(), &before), 0);

    const mode_t mask = ::umask(022);
    SaveSheetFile(target, sheet);
    WriteWholeFile(target, "new");
    ::umask(mask);

    struct stat after {};
    ASSERT_EQ(::stat(target.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    if (root) {
        EXPECT_EQ(after.st_uid, kNobody) << "the super-user's save made the user's file its own";
    }
    EXPECT_EQ(slurp(target), "new");
}

// A private file is private whether it is new or replaces a file others could read.
TEST_F(SafeSaveTest, APrivateFileIsTheOwnersAloneAlsoOverAnOpenOne)
{
    const mode_t mask = ::umask(022);
    for (const bool existing : {false, true}) {
        const fs::path target = dir / (existing ? "over.csv" : "new.csv");
        if (existing) {
            writeText(target, "old");
            ASSERT_EQ(::chmod(target.c_str(), 0644), 0);
        }
        SafeSave save(target.string());
        save.makePrivate();
        struct stat during {};
        ASSERT_EQ(::stat(save.temporaryPath().c_str(), &during), 0);
        EXPECT_EQ(during.st_mode & 07777, 0600u) << "while it is written";
        save.write("new", 3);
        save.commit();
        struct stat after {};
        ASSERT_EQ(::stat(target.c_str(), &after), 0);
        EXPECT_EQ(after.st_mode & 07777, 0600u) << (existing ? "replacing" : "new");
        EXPECT_EQ(slurp(target), "new");
    }
    ::umask(mask);
}

// Without the right to give the new file the old one's owner, nothing is replaced.
TEST_F(SafeSaveTest, AnOrdinaryUserCannotTakeOverSomeoneElsesFile)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs the super-user to give the file to another user";
    const fs::path target = dir / "shared.Lvo";
    writeText(target, "someone else's");
    ASSERT_EQ(::chown(target.c_str(), 4242, 4242), 0);
    ASSERT_EQ(::chmod(target.c_str(), 0666), 0);
    ASSERT_EQ(::chmod(dir.c_str(), 0777), 0);

    EXPECT_EQ(failureAsNobody([&] { WriteWholeFile(target, "mine now"); }),
              K("다른 사용자의 파일이라 소유자를 그대로 둘 수 없어서 저장하지 않았습니다. "
                "딴이름으로저장으로 다른 이름에 저장하십시오."));
    EXPECT_EQ(slurp(target), "someone else's");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0666));
    EXPECT_EQ(entries(), std::set<std::string>{"shared.Lvo"});
}

// No in-place writing where the folder takes no new file: a kill or a full disk would leave a
// cut file. The message says why and what to do.
TEST_F(SafeSaveTest, AFolderThatTakesNoNewFileRefusesTheSave)
{
    const fs::path site = dir / "site";
    fs::create_directory(site);
    const fs::path target = site / "sheet.Lvo";
    SaveSheetFile(target, sheet);
    const std::string before = slurp(target);
    sheet.table.Append();
    sheet.table.SetFieldText("pName", K("추가"));
    sheet.table.Post();
    ASSERT_EQ(::chmod(site.c_str(), 0555), 0);

    const std::string expected =
        K("이 폴더에는 새 파일을 만들 수 없어서 저장하지 않았습니다. 딴이름으로저장으로 다른 폴더에 저장하십시오.");
    // The super-user runs it as "nobody", to whom the folder belongs.
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(site.c_str(), kNobody, kNobody), 0);
        ASSERT_EQ(::chown(target.c_str(), kNobody, kNobody), 0);
    }
    EXPECT_EQ(failureAsNobody([&] { SaveSheetFile(target, sheet); }), expected);
    EXPECT_EQ(failureAsNobody([&] { WriteWholeFile(site / "new.Lvo", "x"); }), expected);
    EXPECT_EQ(slurp(target), before);
    ::chmod(site.c_str(), 0755);
    EXPECT_EQ(std::distance(fs::directory_iterator(site), {}), 1);
}

// A save killed half way leaves its temporary file; the next save into the folder removes it,
// but not that of a save still running in another process.
TEST_F(SafeSaveTest, TheNextSaveRemovesWhatAKilledSaveLeft)
{
    const fs::path target = dir / "sheet.Lvo";
    SaveSheetFile(target, sheet);
    for (int i = 0; i < 2000; ++i) {
        sheet.table.Append();
        sheet.table.SetFieldText("pName", K("근로자"));
        sheet.table.Post();
    }
    // A save that is still under way in another process, held half way.
    int hold[2];
    ASSERT_EQ(::pipe(hold), 0);
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t running = ::fork();
    if (running == 0) {
        ::close(hold[1]);
        ::close(ready[0]);
        SaveSheetFile(dir / "other.Lvo", sheet, [&](int position) {
            if (position == 50) {
                char c = 1;
                if (::write(ready[1], &c, 1) == 1)
                    while (::read(hold[0], &c, 1) > 0) {
                    }
            }
        });
        ::_exit(0);
    }
    ::close(hold[0]);
    ::close(ready[1]);
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);

    const pid_t killed = ::fork();
    if (killed == 0) {
        SaveSheetFile(target, sheet, [](int position) {
            if (position == 50)
                ::raise(SIGKILL);
        });
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(killed, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_EQ(entries().size(), 3u) << "no temporary file of the killed save, or of the running one";

    SaveSheetFile(target, sheet);
    std::set<std::string> left = entries();
    left.erase("sheet.Lvo");
    ASSERT_EQ(left.size(), 1u) << "the killed save's file is still there, or the running one's is gone";
    EXPECT_EQ(left.begin()->rfind(".lvodc-" + std::to_string(running) + "-", 0), 0u) << *left.begin();

    ::close(hold[1]);
    ::waitpid(running, &status, 0);
    ::close(ready[0]);
    EXPECT_EQ(entries(), (std::set<std::string>{"sheet.Lvo", "other.Lvo"}));
    EXPECT_EQ(fs::file_size(target), 344u * (3 + 2003));
}

// The settings file is saved the same way: a write that fails keeps the old file whole.
TEST_F(SafeSaveTest, AFailedSettingsWriteKeepsTheOldFile)
{
    const fs::path file = dir / "lavocfg.ini";
    std::string old = "[margins]\r\nfpTop=5\r\nfpLft=3\r\n[work]\r\nwPath=" + std::string(3000, 'w') + "\r\n";
    writeText(file, old);

    // Let the process write no more than 4096 bytes to any file: less than the new content.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string thrown = failure([&] { IniFile(file).writeText("notes", "long", std::string(1500, 'n')); });
    ::setrlimit(RLIMIT_FSIZE, &saved);

    EXPECT_EQ(thrown, "Unable to write to " + file.string());
    const std::string kept = slurp(file);
    EXPECT_TRUE(kept == old) << "the file holds " << kept.size() << " of its " << old.size() << " bytes";
    EXPECT_EQ(entries(), std::set<std::string>{"lavocfg.ini"});
    EXPECT_EQ(IniFile(file).readText("margins", "fpTop", ""), "5");
}

// What a save or an open notes of a file tells whether another program changed it since.
TEST_F(SafeSaveTest, AStampTellsAnotherProgramsChangeFromATouch)
{
    const fs::path target = dir / "sheet.Lvo";
    FileStamp saved;
    SaveSheetFile(target, sheet, {}, &saved);
    ASSERT_TRUE(saved.known);
    Sheet opened;
    opened.table.Open();
    FileStamp read;
    OpenSheetFile(target, opened, {}, {}, &read);
    EXPECT_EQ(read.hash, saved.hash);
    EXPECT_EQ(read.size, saved.size);
    EXPECT_EQ(CompareWithStamp(target, read), FileState::Same);

    const std::string bytes = slurp(target);
    std::string changed = bytes;
    changed[20 + 1] ^= 1;   // one byte of the manager's name
    struct Case {
        const char* what;
        std::function<void()> change;
        FileState state;
    };
    const Case cases[] = {
        {"touched", [&] { fs::last_write_time(target, fs::last_write_time(target) + std::chrono::hours(1)); },
         FileState::Same},
        {"put back as a copy", [&] {
             writeText(dir / "copy", bytes);
             fs::rename(dir / "copy", target);
         },
         FileState::Same},
        {"one byte changed, size kept", [&] { writeText(target, changed); }, FileState::Changed},
        {"a record added", [&] { writeText(target, bytes + std::string(344, '\0')); }, FileState::Changed},
        {"removed", [&] { fs::remove(target); }, FileState::Missing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeText(target, bytes);
        OpenSheetFile(target, opened, {}, {}, &read);
        c.change();
        EXPECT_EQ(CompareWithStamp(target, read), c.state);
    }
}

} // namespace
} // namespace lavodc
