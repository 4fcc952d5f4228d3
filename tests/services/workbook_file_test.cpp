// Writing a file whole or not at all, under a free name or over a given one.
#include "services/workbook_file.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>
#include <string>

using namespace lavodc;

namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeText(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::set<std::string> entries(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

class WorkbookFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() /
                 ("lavodc_workbook_file_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                  "_" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    static FileContentWriter writing(const std::string& text)
    {
        return [text](const std::string& path) { writeText(path, text); };
    }

    fs::path folder;
};

TEST_F(WorkbookFileTest, NumberedNames)
{
    EXPECT_EQ(NumberedFileName("이름없음", ".xlsx", 1), "이름없음.xlsx");
    EXPECT_EQ(NumberedFileName("이름없음", ".xlsx", 2), "이름없음 (2).xlsx");
    EXPECT_EQ(NumberedFileName("a.b", ".xlsx", 12), "a.b (12).xlsx");
}

TEST_F(WorkbookFileTest, WriterThatFailsLeavesNothingBehind)
{
    writeText(folder / "x.xlsx", "kept");
    const auto failing = [](const std::string& path) {
        writeText(path, "half");
        throw std::runtime_error("disk full");
    };
    EXPECT_THROW(WriteUnderFreeName(folder.string(), "x", ".xlsx", failing), std::runtime_error);
    EXPECT_THROW(WriteReplacing((folder / "x.xlsx").string(), failing), std::runtime_error);
    EXPECT_EQ(entries(folder), std::set<std::string>{"x.xlsx"});
    EXPECT_EQ(slurp(folder / "x.xlsx"), "kept");
}

TEST_F(WorkbookFileTest, NameHeldByALinkIsTakenToo)
{
    // A link to nothing makes the name look free to a plain existence test; it is not replaced.
    fs::create_symlink(folder / "nowhere", folder / "x.xlsx");
    const std::string written = WriteUnderFreeName(folder.string(), "x", ".xlsx", writing("new"));
    EXPECT_EQ(written, (folder / "x (2).xlsx").string());
    EXPECT_TRUE(fs::is_symlink(folder / "x.xlsx"));
    EXPECT_EQ(slurp(written), "new");
}

TEST_F(WorkbookFileTest, FolderWithoutTrailingSlashAndNewFilePermissions)
{
    const mode_t mask = ::umask(022);
    const std::string written = WriteUnderFreeName(folder.string(), "x", ".xlsx", writing("new"));
    ::umask(mask);
    EXPECT_EQ(written, folder.string() + "/x.xlsx");
    // Readable by others as any new file here, not private as a temporary file starts out.
    EXPECT_EQ(fs::status(written).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
}

TEST_F(WorkbookFileTest, ReplacingWritesOverTheGivenFile)
{
    writeText(folder / "out.xlsx", "old");
    WriteReplacing((folder / "out.xlsx").string(), writing("new"));
    EXPECT_EQ(slurp(folder / "out.xlsx"), "new");
    EXPECT_EQ(entries(folder), std::set<std::string>{"out.xlsx"});
}

TEST_F(WorkbookFileTest, MissingFolderNamesThePlaceAndTheReason)
{
    try {
        WriteUnderFreeName((folder / "gone").string(), "x", ".xlsx", writing("new"));
        FAIL() << "no error";
    } catch (const FileWriteError& error) {
        EXPECT_NE(std::string(error.what()).find((folder / "gone").string()), std::string::npos) << error.what();
        EXPECT_NE(std::string(error.what()).find("No such file or directory"), std::string::npos) << error.what();
    }
    EXPECT_TRUE(entries(folder).empty());
}

} // namespace
