// Saving and opening where the file system says no: read-only targets, folders that take no
// new file, names at the length limit, and things that are not regular files.
#include "core/cp949.h"
#include "core/sheet_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <limits>
#include <string>
#include <vector>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lavodc {
namespace {

namespace fs = std::filesystem;

using Bytes = std::vector<unsigned char>;

Bytes readAll(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// Sets or clears the immutable attribute; false when the file system does not have it.
bool setImmutable(const fs::path& path, bool on)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

class SaveCornersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() / ("lavodc_save_corners_" + std::string(info->name()) + "_"
                                           + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "site");
        sheet.table.Open();
        sheet.header.gsName = K("현장");
        addWorkers(1);
    }
    void TearDown() override
    {
        for (const fs::path& path : locked)
            setImmutable(path, false);
        std::error_code ignored;
        fs::permissions(dir / "site", fs::perms::owner_all, ignored);
        fs::remove_all(dir, ignored);
    }

    void addWorkers(int count)
    {
        for (int i = 0; i < count; ++i) {
            sheet.table.Append();
            sheet.table.SetFieldText("pName", K("근로자") + std::to_string(sheet.table.RecordCount()));
            sheet.table.Post();
        }
    }

    // Makes a file or folder that this process cannot write: without write permission for an
    // ordinary user, immutable for the super-user, whom permissions do not stop.
    void makeUnwritable(const fs::path& path)
    {
        if (::geteuid() != 0) {
            fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                            fs::perm_options::remove);
            return;
        }
        if (!setImmutable(path, true))
            GTEST_SKIP() << "running as root and " << path << " cannot be made immutable here";
        locked.push_back(path);
    }

    std::vector<fs::path> entries(const fs::path& folder) const
    {
        std::vector<fs::path> found;
        if (fs::exists(folder))
            for (const auto& entry : fs::directory_iterator(folder))
                found.push_back(entry.path());
        return found;
    }

    fs::path dir;
    std::vector<fs::path> locked;
    Sheet sheet;
};

TEST_F(SaveCornersTest, AReadOnlyFileIsRefusedWithTheAccessErrorAndKept)
{
    const fs::path target = dir / "site" / "locked.Lvo";
    SaveSheetFile(target, sheet);
    const Bytes before = readAll(target);
    addWorkers(3);
    makeUnwritable(target);
    if (IsSkipped())
        return;

    const int expected = ::geteuid() == 0 ? EPERM : EACCES;
    try {
        SaveSheetFile(target, sheet);
        ADD_FAILURE() << "the read-only file was replaced";
    } catch (const SheetFileError& error) {
        EXPECT_STREQ(error.what(), std::strerror(expected));
    }
    EXPECT_EQ(readAll(target), before);
    EXPECT_EQ(entries(dir / "site"), std::vector<fs::path>{target}) << "a temporary file was left behind";
}

// Permissions, not the immutable flag: a rename over a file would go through where they refuse a
// write. The super-user runs this part as the unprivileged user "nobody" in a child process.
TEST_F(SaveCornersTest, AFileWithoutWritePermissionIsRefusedThoughItsFolderIsWritable)
{
    const fs::path target = dir / "site" / "read only.Lvo";
    SaveSheetFile(target, sheet);
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const Bytes before = readAll(target);
    addWorkers(2);
    constexpr uid_t kNobody = 65534;
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown((dir / "site").c_str(), kNobody, kNobody), 0);
        ASSERT_EQ(::chown(target.c_str(), kNobody, kNobody), 0);
    }

    int channel[2];
    ASSERT_EQ(::pipe(channel), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(channel[0]);
        std::string outcome = "saved over it";
        if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            outcome = "cannot become nobody";
        else
            try {
                SaveSheetFile(target, sheet);
            } catch (const SheetFileError& error) {
                outcome = error.what();
            }
        const ssize_t ignored = ::write(channel[1], outcome.data(), outcome.size());
        (void)ignored;
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string outcome;
    char chunk[256];
    for (ssize_t got; (got = ::read(channel[0], chunk, sizeof chunk)) > 0;)
        outcome.append(chunk, static_cast<std::size_t>(got));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);

    EXPECT_EQ(outcome, std::strerror(EACCES));
    EXPECT_EQ(readAll(target), before);
    EXPECT_EQ(entries(dir / "site"), std::vector<fs::path>{target});
}

// Writing the file in place instead would leave it cut by a kill or a full disk.
TEST_F(SaveCornersTest, AFolderWithoutRoomForATemporaryFileRefusesTheSave)
{
    const fs::path target = dir / "site" / "in place.Lvo";
    SaveSheetFile(target, sheet);
    addWorkers(4);
    makeUnwritable(dir / "site");
    if (IsSkipped())
        return;

    const Bytes before = readAll(target);
    try {
        SaveSheetFile(target, sheet);
        ADD_FAILURE() << "saved";
    } catch (const SheetFileError& error) {
        EXPECT_EQ(error.what(), FolderTakesNoNewFileText());
    }
    EXPECT_EQ(readAll(target), before);
    EXPECT_EQ(entries(dir / "site"), std::vector<fs::path>{target});
}

TEST_F(SaveCornersTest, AWriteThatRunsOutOfRoomKeepsThePreviousFile)
{
    const fs::path target = dir / "site" / "full.Lvo";
    SaveSheetFile(target, sheet);
    const Bytes before = readAll(target);
    addWorkers(20);

    // Let the process write no more than 2000 bytes to any file: less than the new sheet.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 2000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string message;
    try {
        SaveSheetFile(target, sheet);
    } catch (const SheetFileError& error) {
        message = error.what();
    }
    setrlimit(RLIMIT_FSIZE, &saved);

    EXPECT_EQ(message, std::strerror(EFBIG));
    EXPECT_EQ(readAll(target), before);
    EXPECT_EQ(entries(dir / "site"), std::vector<fs::path>{target});
}

TEST_F(SaveCornersTest, NamesUpToTheLengthLimitAreSavedAndReplaced)
{
    for (std::size_t length = 248; length <= 255; ++length) {
        SCOPED_TRACE(length);
        const fs::path target = dir / "site" / (std::string(length - 4, 'n') + ".Lvo");
        SaveSheetFile(target, sheet);
        addWorkers(1);
        SaveSheetFile(target, sheet);   // over the existing file
        EXPECT_EQ(fs::file_size(target), 344u * (3 + static_cast<unsigned>(sheet.table.RecordCount())));
        fs::remove(target);
    }
    EXPECT_TRUE(entries(dir / "site").empty());
}

TEST_F(SaveCornersTest, AnythingButARegularFileIsRefusedWithoutWaiting)
{
    const fs::path fifo = dir / "site" / "pipe.Lvo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const SheetHeader header = sheet.header;

    // A FIFO without a writer would block an ordinary open for ever: run it aside with a deadline.
    auto opening = std::async(std::launch::async, [&] {
        Sheet other;
        other.table.Open();
        try {
            OpenSheetFile(fifo, other);
        } catch (const SheetFileError& error) {
            return std::string(error.what());
        }
        return std::string("opened");
    });
    ASSERT_EQ(opening.wait_for(std::chrono::seconds(10)), std::future_status::ready) << "Open blocks on a FIFO";
    EXPECT_EQ(opening.get(), kNotARegularFile);

    for (const fs::path& path : {fifo, fs::path("/dev/null")}) {
        SCOPED_TRACE(path);
        try {
            OpenSheetFile(path, sheet);
            ADD_FAILURE() << "opened";
        } catch (const SheetFileError& error) {
            EXPECT_STREQ(error.what(), kNotARegularFile);
        }
        EXPECT_EQ(sheet.header.gsName, header.gsName);
        EXPECT_EQ(sheet.table.RecordCount(), 1);
        // Saving over it would put a file in its place (or write into a device).
        try {
            SaveSheetFile(path, sheet);
            ADD_FAILURE() << "saved";
        } catch (const SheetFileError& error) {
            EXPECT_STREQ(error.what(), kNotARegularFile);
        }
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
}

// Amounts are held as doubles: at the ends of the stored range the nearest one lies beyond it.
TEST_F(SaveCornersTest, AmountsAtTheEndsOfTheStoredRangeOpenAndSaveAgain)
{
    const fs::path file = dir / "site" / "extremes.Lvo";
    Bytes worker(kRecordSize, 0);
    worker[340] = 0x01;
    worker[341] = 'N';
    auto putInt64 = [&worker](std::size_t offset, std::uint64_t value) {
        for (int i = 0; i < 8; ++i)
            worker[offset + i] = static_cast<unsigned char>(value >> (8 * i));
    };
    putInt64(192, 0);
    putInt64(200, 0x8000000000000000u);   // the least
    putInt64(208, 0x7FFFFFFFFFFFFFFFu);   // the greatest
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(worker.data()), kRecordSize);

    OpenSheetFile(file, sheet);
    ASSERT_EQ(sheet.table.RecordCount(), 1);
    SaveSheetFile(file, sheet);
    const Bytes saved = readAll(file);
    ASSERT_EQ(saved.size(), 4 * kRecordSize);
    auto int64At = [&saved](std::size_t offset) {
        std::uint64_t u = 0;
        for (int i = 0; i < 8; ++i)
            u |= static_cast<std::uint64_t>(saved[3 * kRecordSize + offset + i]) << (8 * i);
        return static_cast<std::int64_t>(u);
    };
    EXPECT_GT(int64At(208), std::numeric_limits<std::int64_t>::max() - 4096);
    EXPECT_LT(int64At(200), std::numeric_limits<std::int64_t>::min() + 4096);
}

} // namespace
} // namespace lavodc
