// What the e-filing dialog keeps between months (the job table in lavocfg.ini, the codes of
// foreigners in the private people file) and writing its workbook, against a scratch folder.
#include "services/efile_code_store.h"
#include "services/efile_workbook.h"
#include "services/settings.h"
#include "services/workbook_writer.h"

#include "core/cp949.h"
#include "core/safe_save.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include <sys/stat.h>
#include <unistd.h>

namespace lavodc {
namespace {

const QString kIni = QString::fromLatin1(kIniFileName);

class EfileStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(scratch.isValid());
        folder = scratch.path() + QLatin1Char('/');
        SetProgramFolder(folder);
    }
    void TearDown() override { SetProgramFolder(QString()); }

    QByteArray bytesOf(const QString& path) const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeBytes(const QString& path, const QByteArray& bytes) const
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    mode_t modeOf(const QString& path) const
    {
        struct stat info {};
        EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
        return info.st_mode & 07777;
    }

    QTemporaryDir scratch;
    QString folder;
};

TEST_F(EfileStoreTest, TheJobTableLivesInItsOwnSectionOfTheSettingsFile)
{
    EXPECT_TRUE(ReadJobTable(kIni).empty());
    WriteJobTable(kIni, {{"A", "701"}, {"Q", "704"}});
    EXPECT_EQ(ReadJobTable(kIni), (JobCodes{{"A", "701"}, {"Q", "704"}}));
    const QByteArray ini = bytesOf(folder + kIni);
    EXPECT_TRUE(ini.contains(QByteArray::fromStdString(K("[전자신고직종]")))) << ini.toStdString();
    EXPECT_TRUE(ini.contains("A=701"));
    // An empty code clears the job's; a value that is no code counts as none.
    WriteJobTable(kIni, {{"A", ""}});
    writeBytes(folder + kIni, bytesOf(folder + kIni) + "B=7O1\r\nC=13\r\n");
    EXPECT_EQ(ReadJobTable(kIni), (JobCodes{{"Q", "704"}}));
}

TEST_F(EfileStoreTest, ThePeopleFileIsInTheDataFolderAndTheUsersAlone)
{
    const QString path = PeopleFilePath();
    EXPECT_EQ(path, DataFolder() + QStringLiteral("lavopeople.csv"));
    EXPECT_TRUE(ReadPeopleFile().codes.empty());

    const mode_t mask = ::umask(022);
    SavePeopleCodes({{"9001015123456", {"250", "E9"}}});
    EXPECT_EQ(modeOf(path), 0600u);
    // Replacing a file that others could read makes it private too.
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0644), 0);
    SavePeopleCodes({{"8501016123457", {"CHN", "H2"}}});
    ::umask(mask);
    EXPECT_EQ(modeOf(path), 0600u);

    const PeopleCodeFile read = ReadPeopleFile();
    EXPECT_TRUE(read.problems.empty());
    ASSERT_EQ(read.codes.size(), 2u);
    EXPECT_EQ(read.codes.at("9001015123456").stayStatus, "E9");
    EXPECT_EQ(read.codes.at("8501016123457").nationality, "CHN");
    EXPECT_TRUE(QDir(folder).entryList(QStringList{QStringLiteral(".lvodc-*")}, QDir::Hidden | QDir::Files).isEmpty());
}

TEST_F(EfileStoreTest, APeopleFileThatCannotBeReadIsNeverSavedOver)
{
    const QString path = PeopleFilePath();
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    auto reading = std::async(std::launch::async, [] {
        try {
            ReadPeopleFile();
        } catch (const FileError&) {
            return true;
        }
        return false;
    });
    ASSERT_EQ(reading.wait_for(std::chrono::seconds(5)), std::future_status::ready) << "waited on a FIFO";
    EXPECT_TRUE(reading.get());
    EXPECT_THROW(SavePeopleCodes({{"9001015123456", {"250", "E9"}}}), FileError);
    struct stat info {};
    ASSERT_EQ(::lstat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST_F(EfileStoreTest, TheLibrarysOwnMessagesDoNotReachStandardError)
{
    EfileSheet sheet;
    sheet.rows.resize(2);
    const std::string missing = QFile::encodeName(folder + QStringLiteral("no/such/folder.xlsx")).toStdString();
    ::testing::internal::CaptureStderr();
    EXPECT_THROW(WriteEfileWorkbook(sheet, missing), WorkbookError);
    const std::string printed = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(printed, "");
    // And standard error works again afterwards.
    ::testing::internal::CaptureStderr();
    std::fputs("after", stderr);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "after");
}

TEST_F(EfileStoreTest, AFailedSaveLeavesTheOldWorkbookAndNothingElse)
{
    const QString target = folder + QStringLiteral("out.xlsx");
    writeBytes(target, "old");
    EfileSheet sheet;
    sheet.rows.resize(1);
    sheet.rows[0].name = std::string(40000, 'x');   // longer than a cell holds
    EXPECT_THROW(SaveEfileWorkbook(sheet, QFile::encodeName(target).toStdString()), WorkbookError);
    EXPECT_EQ(bytesOf(target), "old");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("out.xlsx")});
}

} // namespace
} // namespace lavodc
