// Settings file and work folder, against a scratch program folder.
#include "services/settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <gtest/gtest.h>

#include <string>

#include <sys/stat.h>
#include <unistd.h>

using namespace lavodc;

namespace {

const QString kIni = QString::fromLatin1(kIniFileName);
const QString kWorkSection = QStringLiteral("작업폴더");
const QString kSheetSection = QStringLiteral("근로내역");
const QString kMarginSection = QStringLiteral("여백");
// CP949 bytes written out, not made by the codec.
const QByteArray kWorkSection949("\xC0\xDB\xBE\xF7\xC6\xFA\xB4\xF5");   // 작업폴더
const QByteArray kSheetSection949("\xB1\xD9\xB7\xCE\xB3\xBB\xBF\xAA");  // 근로내역
const QByteArray kMarginSection949("\xBF\xA9\xB9\xE9");                  // 여백
const QByteArray kJaryo949("\xC0\xDA\xB7\xE1");                           // 자료

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(scratch.isValid());
        startFolder = QDir::currentPath();
        folder = scratch.path() + QLatin1Char('/');
        SetProgramFolder(folder);
    }
    void TearDown() override
    {
        QDir::setCurrent(startFolder);
        SetProgramFolder(QString());
    }

    QByteArray iniBytes() const
    {
        QFile f(folder + kIni);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeIniBytes(const QByteArray& bytes) const
    {
        QFile f(folder + kIni);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    void makeRegularFile(const QString& path) const
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
    }

    QTemporaryDir scratch;
    QString folder;
    QString startFolder;
};

} // namespace

TEST_F(SettingsTest, ProgramFolderDefaultsToTheProgramsFolder)
{
    SetProgramFolder(QString());
    EXPECT_EQ(ProgramFolder(), QCoreApplication::applicationDirPath() + QStringLiteral("/"));
    SetProgramFolder(QStringLiteral("/some/where"));
    EXPECT_EQ(ProgramFolder(), QStringLiteral("/some/where/"));
    SetProgramFolder(QStringLiteral("/some/where/"));
    EXPECT_EQ(ProgramFolder(), QStringLiteral("/some/where/"));
}

TEST_F(SettingsTest, ReadingAMissingFileGivesTheDefaultAndCreatesNothing)
{
    EXPECT_EQ(ReadIniText(kIni, kMarginSection, QStringLiteral("fpTop"), QStringLiteral("0")), QStringLiteral("0"));
    EXPECT_EQ(ReadIniInteger(kIni, kSheetSection, QStringLiteral("fTop"), 20), 20);
    EXPECT_FALSE(QFile::exists(folder + kIni));
}

TEST_F(SettingsTest, WriteCreatesTheFileInCp949)
{
    WriteIniText(kIni, kMarginSection, QStringLiteral("fpTop"), QStringLiteral("5"));
    WriteIniText(kIni, kMarginSection, QStringLiteral("fpLft"), QStringLiteral("3"));
    EXPECT_EQ(iniBytes(), "[" + kMarginSection949 + "]\r\nfpTop=5\r\nfpLft=3\r\n");
    EXPECT_EQ(ReadIniText(kIni, kMarginSection, QStringLiteral("fpTop"), QStringLiteral("0")), QStringLiteral("5"));
    EXPECT_EQ(ReadIniText(kIni, kMarginSection, QStringLiteral("FPLFT"), QStringLiteral("0")), QStringLiteral("3"));
    // Each read sees the latest write; the key keeps its spelling in the file.
    WriteIniText(kIni, kMarginSection, QStringLiteral("FPTOP"), QStringLiteral("12"));
    EXPECT_EQ(ReadIniText(kIni, kMarginSection, QStringLiteral("fpTop"), QStringLiteral("0")), QStringLiteral("12"));
    EXPECT_EQ(iniBytes(), "[" + kMarginSection949 + "]\r\nfpTop=12\r\nfpLft=3\r\n");
}

TEST_F(SettingsTest, KoreanValuesRoundTrip)
{
    const QString value = QStringLiteral("/home/사용자/자료/");
    WriteIniText(kIni, kWorkSection, QStringLiteral("wPath"), value);
    EXPECT_TRUE(iniBytes().contains("wPath=/home/"));
    EXPECT_TRUE(iniBytes().contains(kJaryo949));
    EXPECT_EQ(ReadIniText(kIni, kWorkSection, QStringLiteral("WPATH"), QString()), value);
}

TEST_F(SettingsTest, ReadsAFileWrittenByHand)
{
    writeIniBytes("[" + kSheetSection949 + "]\r\nfTop=abc\r\nfLft = 0x20\r\nfHgt=700\r\n\r\n[OTHER]\r\nName=\"x y\"\r\n");
    EXPECT_EQ(ReadIniInteger(kIni, kSheetSection, QStringLiteral("fTop"), 20), 20);
    EXPECT_EQ(ReadIniInteger(kIni, kSheetSection, QStringLiteral("FLFT"), 121), 32);
    EXPECT_EQ(ReadIniInteger(kIni, kSheetSection, QStringLiteral("fHgt"), 1), 700);
    EXPECT_EQ(ReadIniInteger(kIni, kSheetSection, QStringLiteral("fWid"), 1037), 1037);
    EXPECT_EQ(ReadIniText(kIni, QStringLiteral("other"), QStringLiteral("name"), QString()), QStringLiteral("x y"));
    // A name that CP949 cannot hold cannot be in the file.
    EXPECT_EQ(ReadIniText(kIni, QStringLiteral("😀"), QStringLiteral("k"), QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_EQ(ReadIniInteger(kIni, kSheetSection, QStringLiteral("😀"), 9), 9);
}

TEST_F(SettingsTest, BytesThatDoNotDecodeAreShownAsReplacement)
{
    writeIniBytes("[s]\r\nk=a\x80" "b\r\n");
    EXPECT_EQ(ReadIniText(kIni, QStringLiteral("s"), QStringLiteral("k"), QString()), QStringLiteral("a\uFFFDb"));
}

TEST_F(SettingsTest, RefusedWriteNamesTheFullPath)
{
    // A folder in the settings file's place can never be written as a file.
    ASSERT_TRUE(QDir(folder).mkdir(kIni));
    try {
        WriteIniText(kIni, kMarginSection, QStringLiteral("fpTop"), QStringLiteral("5"));
        FAIL() << "no SettingsError";
    } catch (const SettingsError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + (folder + kIni).toStdString());
    }
    EXPECT_TRUE(QDir(folder + kIni).isEmpty());
}

TEST_F(SettingsTest, AValueCp949CannotHoldIsRefused)
{
    try {
        WriteIniText(kIni, kWorkSection, QStringLiteral("wPath"), QStringLiteral("/tmp/😀/"));
        FAIL() << "no SettingsError";
    } catch (const SettingsError& e) {
        const std::string what = e.what();
        EXPECT_EQ(what.rfind("Unable to write to " + (folder + kIni).toStdString(), 0), 0u) << what;
        EXPECT_NE(what.find("U+1F600"), std::string::npos) << what;
    }
    EXPECT_FALSE(QFile::exists(folder + kIni));
}

TEST_F(SettingsTest, FirstWorkFolderIsCreatedAndRemembered)
{
    const QString expected = folder + QStringLiteral("Work/");
    EXPECT_EQ(GetWorkFolder(kIni), expected);
    EXPECT_TRUE(QDir(expected).exists());
    EXPECT_EQ(iniBytes(), "[" + kWorkSection949 + "]\r\nwPath=" + QFile::encodeName(expected) + "\r\n");
    // The second call reads it back and changes nothing.
    const QByteArray before = iniBytes();
    EXPECT_EQ(GetWorkFolder(kIni), expected);
    EXPECT_EQ(iniBytes(), before);
}

TEST_F(SettingsTest, RememberedWorkFolderIsCreatedWhenMissing)
{
    const QString remembered = folder + QStringLiteral("a/b/자료/");
    WriteIniText(kIni, kWorkSection, QStringLiteral("wPath"), remembered);
    EXPECT_EQ(GetWorkFolder(kIni), remembered);
    EXPECT_TRUE(QDir(remembered).exists());
}

TEST_F(SettingsTest, RememberedFolderWithoutSlashGetsOne)
{
    ASSERT_TRUE(QDir(folder).mkpath(QStringLiteral("plain")));
    writeIniBytes("[" + kWorkSection949 + "]\r\nwPath=" + QFile::encodeName(folder) + "plain\r\n");
    EXPECT_EQ(GetWorkFolder(kIni), folder + QStringLiteral("plain/"));
}

TEST_F(SettingsTest, UnreachableWorkFolderFallsBackWithoutWriting)
{
    // A folder below a regular file can never be created (as the drive that no longer exists).
    makeRegularFile(folder + QStringLiteral("afile"));
    const QByteArray before = "[" + kWorkSection949 + "]\r\nwPath=" + QFile::encodeName(folder) + "afile/sub/\r\n";
    writeIniBytes(before);
    EXPECT_EQ(GetWorkFolder(kIni), folder + QStringLiteral("Work/"));
    EXPECT_EQ(iniBytes(), before);
    EXPECT_FALSE(QDir(folder + QStringLiteral("Work")).exists()); // the fallback is not created here
}

TEST_F(SettingsTest, SaveWorkFolderRemembersAndEntersTheFolder)
{
    const QString sheet = folder + QStringLiteral("자료/현장.Lvo");
    SaveWorkFolder(sheet, kIni);
    const QString expected = folder + QStringLiteral("자료/");
    EXPECT_TRUE(QDir(expected).exists());
    EXPECT_EQ(QDir::currentPath(), QDir(expected).canonicalPath());
    EXPECT_EQ(ReadIniText(kIni, kWorkSection, QStringLiteral("wPath"), QString()), expected);
    EXPECT_TRUE(iniBytes().contains(kJaryo949 + "/\r\n"));
    // The next Open dialog starts there.
    EXPECT_EQ(GetWorkFolder(kIni), expected);
}

TEST_F(SettingsTest, SaveWorkFolderExpandsARelativeName)
{
    ASSERT_TRUE(QDir(folder).mkpath(QStringLiteral("here")));
    ASSERT_TRUE(QDir::setCurrent(folder + QStringLiteral("here")));
    const QString cwd = QDir::currentPath();
    SaveWorkFolder(QStringLiteral("../there/./x.Lvo"), kIni);
    const QString expected = QDir::cleanPath(cwd + QStringLiteral("/../there")) + QStringLiteral("/");
    EXPECT_EQ(ReadIniText(kIni, kWorkSection, QStringLiteral("wPath"), QString()), expected);
    EXPECT_EQ(QDir::currentPath(), QDir(expected).canonicalPath());
}

TEST_F(SettingsTest, SaveWorkFolderThatCannotBeEnteredRaisesBeforeWriting)
{
    makeRegularFile(folder + QStringLiteral("afile"));
    EXPECT_THROW(SaveWorkFolder(folder + QStringLiteral("afile/sub/x.Lvo"), kIni), SettingsError);
    EXPECT_FALSE(QFile::exists(folder + kIni));
    EXPECT_EQ(QDir::currentPath(), startFolder);
}

TEST_F(SettingsTest, ScreenWiderThanComparesWithThePrimaryScreen)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const int width = screen->geometry().width();
    EXPECT_TRUE(ScreenWiderThan(width - 1));
    EXPECT_FALSE(ScreenWiderThan(width));
    EXPECT_FALSE(ScreenWiderThan(width + 1));
    EXPECT_TRUE(ScreenWiderThan(0));
}

namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QString& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name))
    {
        qputenv(name, QFile::encodeName(value));
    }
    ~ScopedEnv()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

} // namespace

TEST_F(SettingsTest, AWritableProgramFolderKeepsEverythingBesideIt)
{
    const DataFolders folders = DataFoldersFor(folder);
    EXPECT_EQ(folders.data, folder);
    EXPECT_EQ(folders.firstWork, folder + QStringLiteral("Work/"));
    EXPECT_EQ(DataFolder(), folder);
    // The test of the folder leaves nothing behind.
    EXPECT_TRUE(QDir(folder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
}

TEST_F(SettingsTest, AProgramFolderTheUserCannotWriteKeepsTheDataInTheUsersFolders)
{
    ScopedEnv dataHome("XDG_DATA_HOME", folder + QStringLiteral("data-home"));
    ScopedEnv configHome("XDG_CONFIG_HOME", folder + QStringLiteral("config-home"));
    ScopedEnv home("HOME", folder + QStringLiteral("home"));

    QString readOnly;
    if (::geteuid() == 0) {
        // Root writes through any permission bits; sysfs refuses new files even to root.
        readOnly = QStringLiteral("/sys/");
        QTemporaryFile probe(readOnly + QStringLiteral("lavodc-XXXXXX"));
        if (probe.open())
            GTEST_SKIP() << "running as root and /sys takes new files: no folder here refuses a write";
    } else {
        readOnly = folder + QStringLiteral("installed/");
        ASSERT_TRUE(QDir(folder).mkdir(QStringLiteral("installed")));
        ASSERT_EQ(::chmod(QFile::encodeName(readOnly).constData(), 0555), 0);
    }
    SetProgramFolder(readOnly);

    const DataFolders folders = DataFoldersFor(readOnly);
    const QString data = folder + QStringLiteral("data-home/lavodc/");
    const QString work = folder + QStringLiteral("home/Documents/근로내역/");
    EXPECT_EQ(folders.data, data);
    EXPECT_EQ(folders.firstWork, work);
    EXPECT_TRUE(QDir(data).exists());

    // The settings file and the first work folder follow the decision.
    EXPECT_EQ(GetWorkFolder(kIni), work);
    EXPECT_TRUE(QDir(work).exists());
    EXPECT_TRUE(QFile::exists(data + kIni));
    EXPECT_EQ(ReadIniText(kIni, kWorkSection, QStringLiteral("wPath"), QString()), work);
    EXPECT_FALSE(QFile::exists(readOnly + kIni));

    if (::geteuid() != 0)
        ::chmod(QFile::encodeName(readOnly).constData(), 0755);   // so that the scratch folder can go
}

// Where an installed program keeps its data, whoever runs it: never beside itself, even when
// the folder would take the files (root writes anywhere; a per-user install is the user's own).
struct InstalledCase {
    const char* label;
    enum Place { Marker, SystemPrefix, OtherOwner } place;
    const char* folder;   // SystemPrefix: the program folder itself
};

void PrintTo(const InstalledCase& c, std::ostream* out) { *out << c.label; }

class InstalledFolderTest : public SettingsTest, public ::testing::WithParamInterface<InstalledCase> {};

TEST_P(InstalledFolderTest, KeepsTheDataInTheUsersFoldersAndWritesNothingBesideTheProgram)
{
    ScopedEnv dataHome("XDG_DATA_HOME", folder + QStringLiteral("data-home"));
    ScopedEnv configHome("XDG_CONFIG_HOME", folder + QStringLiteral("config-home"));
    ScopedEnv home("HOME", folder + QStringLiteral("home"));

    const InstalledCase& c = GetParam();
    QString program = folder + QStringLiteral("lib/lavodc/");
    switch (c.place) {
    case InstalledCase::Marker:
        ASSERT_TRUE(QDir().mkpath(program));
        makeRegularFile(program + QString::fromLatin1(kInstalledMarkerName));
        break;
    case InstalledCase::SystemPrefix:
        program = QString::fromLatin1(c.folder);
        break;
    case InstalledCase::OtherOwner:
        ASSERT_TRUE(QDir().mkpath(program));
        if (::geteuid() != 0)
            GTEST_SKIP() << "only root can give a folder to another user";
        // Writable for root all the same.
        ASSERT_EQ(::chown(QFile::encodeName(program).constData(), 65534, 65534), 0);
        break;
    }
    SetProgramFolder(program);

    const QString data = folder + QStringLiteral("data-home/lavodc/");
    const QString work = folder + QStringLiteral("home/Documents/근로내역/");
    const DataFolders folders = DataFoldersFor(program);
    EXPECT_EQ(folders.data, data);
    EXPECT_EQ(folders.firstWork, work);
    EXPECT_EQ(DataFolder(), data);

    EXPECT_EQ(GetWorkFolder(kIni), work);
    WriteIniText(kIni, kMarginSection, QStringLiteral("fpTop"), QStringLiteral("5"));
    EXPECT_TRUE(QFile::exists(data + kIni));
    EXPECT_FALSE(QFile::exists(program + kIni));
    EXPECT_FALSE(QDir(program + QStringLiteral("Work")).exists());
}

INSTANTIATE_TEST_SUITE_P(
    Places, InstalledFolderTest,
    ::testing::Values(InstalledCase{"MarkerBesideTheProgram", InstalledCase::Marker, nullptr},
                      InstalledCase{"Usr", InstalledCase::SystemPrefix, "/usr/lib/lavodc/"},
                      InstalledCase{"UsrLocal", InstalledCase::SystemPrefix, "/usr/local/lib/lavodc/"},
                      InstalledCase{"Opt", InstalledCase::SystemPrefix, "/opt/lavodc/"},
                      InstalledCase{"FolderOfAnotherUser", InstalledCase::OtherOwner, nullptr}),
    [](const ::testing::TestParamInfo<InstalledCase>& info) { return std::string(info.param.label); });
