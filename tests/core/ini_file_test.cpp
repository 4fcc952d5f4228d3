// The INI reader/writer with the Windows profile rules, over CP949 bytes.
#include "core/ini_file.h"

#include "core/cp949.h"

#include "case_names.h"
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

using lavodc::case_names::EscapedText;
using lavodc::case_names::QuotedText;

using namespace lavodc;
namespace fs = std::filesystem;

namespace {

// CP949 bytes written out (not made by the codec): 작업폴더 and 근로내역, 여백.
const std::string kWorkSection = "\xC0\xDB\xBE\xF7\xC6\xFA\xB4\xF5"; // 작업폴더
const std::string kSheetSection = "\xB1\xD9\xB7\xCE\xB3\xBB\xBF\xAA"; // 근로내역
const std::string kMarginSection = "\xBF\xA9\xB9\xE9";                // 여백

class TempDir {
public:
    TempDir()
    {
        std::random_device rd;
        path_ = fs::temp_directory_path() / ("lavodc_ini_test_" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(path_);
    }
    ~TempDir()
    {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

std::string readFile(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& p, const std::string& contents)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << contents;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Names

TEST(IniNames, LatinCaseIgnoredDoubleByteExact)
{
    EXPECT_TRUE(IniNamesEqual("fTop", "FTOP"));
    EXPECT_TRUE(IniNamesEqual("wPath", "wpath"));
    EXPECT_TRUE(IniNamesEqual(" fTop\t", "ftop"));
    EXPECT_FALSE(IniNamesEqual("fTop", "fTo"));
    EXPECT_FALSE(IniNamesEqual("fTop", "fLft"));
    EXPECT_TRUE(IniNamesEqual(kWorkSection, kWorkSection));
    EXPECT_FALSE(IniNamesEqual(kWorkSection, kSheetSection));
    // UHC trail bytes can be Latin letters: 81 41 (갂, trail "A") and 81 61 (trail "a") are two
    // different syllables; lowering the trail byte would make them equal.
    EXPECT_FALSE(IniNamesEqual("\x81\x41", "\x81\x61"));
    EXPECT_TRUE(IniNamesEqual("x\x81\x41Y", "X\x81\x41y"));
    EXPECT_FALSE(IniNamesEqual("\xC0", "\xE0")); // bytes above 0x7F are not Latin letters
}

// ---------------------------------------------------------------------------------------------
// Lookup on contents

struct LookupCase {
    std::string contents;
    std::string section;
    std::string key;
    std::optional<std::string> expected;
};

// Names the case by the key looked up and the contents instead of dumping its bytes.
void PrintTo(const LookupCase& c, std::ostream* os)
{
    *os << "[" << EscapedText(c.section) << "] " << EscapedText(c.key) << " in " << QuotedText(c.contents);
}

class IniLookupTest : public ::testing::TestWithParam<LookupCase> {};
TEST_P(IniLookupTest, Reads)
{
    const LookupCase& c = GetParam();
    EXPECT_EQ(IniLookup(c.contents, c.section, c.key), c.expected)
        << "[" << c.section << "] " << c.key << " in\n" << c.contents;
}

INSTANTIATE_TEST_SUITE_P(IniFile, IniLookupTest, ::testing::Values(
    LookupCase{"", "s", "k", std::nullopt},
    LookupCase{"[s]\r\nk=v\r\n", "s", "k", "v"},
    LookupCase{"[s]\nk=v", "S", "K", "v"},                          // LF, no last line end, case
    LookupCase{"[S]\r\nK=v\r\n", "s", "k", "v"},
    LookupCase{"  [ s ]  \r\n  k  =  v w  \r\n", "s", "k", "v w"},  // blanks around names, values
    LookupCase{"[s]\r\nk=\r\n", "s", "k", ""},                        // present but empty
    LookupCase{"[s]\r\nk=\"  quoted  \"\r\n", "s", "k", "  quoted  "},
    LookupCase{"[s]\r\nk='x'\r\n", "s", "k", "x"},
    LookupCase{"[s]\r\nk=\"x\r\n", "s", "k", "\"x"},                 // no matching pair
    LookupCase{"[s]\r\nk=a=b\r\n", "s", "k", "a=b"},
    LookupCase{"[t]\r\nk=1\r\n[s]\r\nk=2\r\n", "s", "k", "2"},
    LookupCase{"[s]\r\nk=1\r\n[t]\r\nk=2\r\n", "t", "k", "2"},
    LookupCase{"[s]\r\nj=1\r\n[t]\r\nk=2\r\n", "s", "k", std::nullopt}, // not from the next section
    LookupCase{"k=0\r\n[s]\r\nj=1\r\n", "s", "k", std::nullopt},     // before any section
    LookupCase{"[s]\r\nk=1\r\nk=2\r\n", "s", "k", "1"},              // first key counts
    LookupCase{"[s]\r\nk=1\r\n[S]\r\nk=2\r\nm=3\r\n", "s", "m", std::nullopt}, // first section counts
    LookupCase{"[s]\r\n;k=1\r\nk=2\r\n", "s", "k", "2"},             // comment
    LookupCase{"[s]\r\nk\r\n", "s", "k", std::nullopt},              // no "="
    LookupCase{"[s\r\nk=1\r\n", "s", "k", std::nullopt},             // no "]": not a section
    LookupCase{"[" + kWorkSection + "]\r\nwPath=/home/x/\r\n", kWorkSection, "WPATH", "/home/x/"},
    LookupCase{"[" + kMarginSection + "]\r\nfpTop=5\r\n", kSheetSection, "fpTop", std::nullopt}));

TEST(IniFile, ValuesAreReadUpTo2047Bytes)
{
    const std::string longValue(3000, 'x');
    const auto v = IniLookup("[s]\r\nk=" + longValue + "\r\n", "s", "k");
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(v->size(), 2047u);
    const std::string exact(2047, 'y');
    EXPECT_EQ(IniLookup("[s]\r\nk=" + exact + "\r\n", "s", "k"), exact);
}

// ---------------------------------------------------------------------------------------------
// Update of contents

struct UpdateCase {
    std::string before;
    std::string section;
    std::string key;
    std::string value;
    std::string after;
};

// Names the case by the key written, its value and the contents before instead of dumping its bytes.
void PrintTo(const UpdateCase& c, std::ostream* os)
{
    *os << "[" << EscapedText(c.section) << "] " << EscapedText(c.key) << "=" << QuotedText(c.value) << " into " << QuotedText(c.before);
}

class IniUpdateTest : public ::testing::TestWithParam<UpdateCase> {};
TEST_P(IniUpdateTest, Writes)
{
    const UpdateCase& c = GetParam();
    const std::string after = IniUpdate(c.before, c.section, c.key, c.value);
    EXPECT_EQ(after, c.after) << "before:\n" << c.before;
    EXPECT_EQ(IniLookup(after, c.section, c.key), c.value.substr(0, c.value.find_first_of("\r\n")));
}

INSTANTIATE_TEST_SUITE_P(IniFile, IniUpdateTest, ::testing::Values(
    // new file
    UpdateCase{"", "s", "k", "v", "[s]\r\nk=v\r\n"},
    // new section at the end; a last line without a line end gets one
    UpdateCase{"[a]\r\nx=1\r\n", "s", "k", "v", "[a]\r\nx=1\r\n[s]\r\nk=v\r\n"},
    UpdateCase{"[a]\r\nx=1", "s", "k", "v", "[a]\r\nx=1\r\n[s]\r\nk=v\r\n"},
    UpdateCase{"[a]\nx=1\n", "s", "k", "v", "[a]\nx=1\n[s]\nk=v\n"},       // the file's LF kept
    // replaced value: same line, key spelling and line end kept, others untouched
    UpdateCase{"; top\r\n[S]\r\n  Key = old  \r\n\r\nother line\r\n", "s", "KEY", "new",
               "; top\r\n[S]\r\nKey=new\r\n\r\nother line\r\n"},
    UpdateCase{"[s]\nk=1\r\nj=2", "s", "j", "3", "[s]\nk=1\r\nj=3"},
    // new key after the last non-blank line of its section, before the blank lines
    UpdateCase{"[s]\r\na=1\r\n\r\n[t]\r\nb=2\r\n", "s", "k", "v", "[s]\r\na=1\r\nk=v\r\n\r\n[t]\r\nb=2\r\n"},
    UpdateCase{"[s]\r\n[t]\r\n", "s", "k", "v", "[s]\r\nk=v\r\n[t]\r\n"},
    UpdateCase{"[s]", "s", "k", "v", "[s]\r\nk=v\r\n"},
    UpdateCase{"[t]\r\nb=2\r\n[s]\r\na=1", "s", "k", "v", "[t]\r\nb=2\r\n[s]\r\na=1\r\nk=v\r\n"},
    // empty value; a value cannot span lines
    UpdateCase{"[s]\r\nk=1\r\n", "s", "k", "", "[s]\r\nk=\r\n"},
    UpdateCase{"", "s", "k", "a\r\nb", "[s]\r\nk=a\r\n"},
    // CP949 names and values
    UpdateCase{"", kWorkSection, "wPath", "/tmp/\xC0\xDA\xB7\xE1/",
               "[" + kWorkSection + "]\r\nwPath=/tmp/\xC0\xDA\xB7\xE1/\r\n"}));

TEST(IniFile, IntegerValues)
{
    EXPECT_EQ(ParseIniInteger("20"), 20);
    EXPECT_EQ(ParseIniInteger(" -5 "), -5);
    EXPECT_EQ(ParseIniInteger("+7"), 7);
    EXPECT_EQ(ParseIniInteger("0x20"), 32);
    EXPECT_EQ(ParseIniInteger("0X1f"), 31);
    EXPECT_EQ(ParseIniInteger("0xFFFFFFFF"), -1);
    EXPECT_EQ(ParseIniInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseIniInteger("-2147483648"), std::numeric_limits<int>::min());
    EXPECT_EQ(ParseIniInteger("2147483648"), std::nullopt);
    EXPECT_EQ(ParseIniInteger("abc"), std::nullopt);
    EXPECT_EQ(ParseIniInteger(""), std::nullopt);
    EXPECT_EQ(ParseIniInteger("-"), std::nullopt);
    EXPECT_EQ(ParseIniInteger("0x"), std::nullopt);
    EXPECT_EQ(ParseIniInteger("0x1G"), std::nullopt);
    EXPECT_EQ(ParseIniInteger("0x100000000"), std::nullopt);
    EXPECT_EQ(ParseIniInteger("12px"), std::nullopt);
    EXPECT_EQ(ParseIniInteger("1.5"), std::nullopt);
}

// ---------------------------------------------------------------------------------------------
// Files

TEST(IniFile, MissingFileReadsDefaults)
{
    TempDir dir;
    const IniFile ini(dir.path() / "lavocfg.ini");
    EXPECT_EQ(ini.read("s", "k"), std::nullopt);
    EXPECT_EQ(ini.readText("s", "k", "def"), "def");
    EXPECT_EQ(ini.readInteger("s", "k", 20), 20);
    EXPECT_FALSE(fs::exists(ini.path())); // reading never creates the file
}

TEST(IniFile, WriteCreatesTheFileAndTheSection)
{
    TempDir dir;
    const IniFile ini(dir.path() / "lavocfg.ini");
    ini.writeText(kMarginSection, "fpTop", "5");
    EXPECT_EQ(readFile(ini.path()), "[" + kMarginSection + "]\r\nfpTop=5\r\n");
    ini.writeText(kMarginSection, "fpLft", "3");
    ini.writeText(kWorkSection, "wPath", "/data/");
    EXPECT_EQ(readFile(ini.path()), "[" + kMarginSection + "]\r\nfpTop=5\r\nfpLft=3\r\n[" + kWorkSection +
                                        "]\r\nwPath=/data/\r\n");
    EXPECT_EQ(ini.readText(kMarginSection, "FPTOP", "0"), "5");
    EXPECT_EQ(ini.readText(kMarginSection, "fplft", "0"), "3");
    ini.writeText(kMarginSection, "FPTOP", "7"); // each read sees the latest write
    EXPECT_EQ(ini.readText(kMarginSection, "fpTop", "0"), "7");
    EXPECT_EQ(readFile(ini.path()), "[" + kMarginSection + "]\r\nfpTop=7\r\nfpLft=3\r\n[" + kWorkSection +
                                        "]\r\nwPath=/data/\r\n");
}

TEST(IniFile, IntegersFromTheFile)
{
    TempDir dir;
    const fs::path file = dir.path() / "lavocfg.ini";
    writeFile(file, "[" + kSheetSection + "]\r\nfTop=abc\r\nfLft=0x20\r\nfHgt=700\r\nfWid=\r\n");
    const IniFile ini(file);
    EXPECT_EQ(ini.readInteger(kSheetSection, "fTop", 20), 20);
    EXPECT_EQ(ini.readInteger(kSheetSection, "fLft", 1), 32);
    EXPECT_EQ(ini.readInteger(kSheetSection, "fHgt", 1), 700);
    EXPECT_EQ(ini.readInteger(kSheetSection, "fWid", 1037), 1037);
}

TEST(IniFile, OtherLinesAreKeptByteForByte)
{
    TempDir dir;
    const fs::path file = dir.path() / "lavocfg.ini";
    const std::string before =
        "; settings of lavodc\r\n"
        "\r\n"
        "[" + kSheetSection + "]\r\n"
        "fTop = 20\r\n"
        "  fLft=121 \r\n"
        "\r\n"
        "[" + kMarginSection + "]\n"
        "fpTop=0\n"
        "garbage line without equals\n"
        "\r\n"
        "[Other]\r\n"
        "x=\xB0\xA1\r\n";
    writeFile(file, before);
    const IniFile ini(file);
    ini.writeText(kMarginSection, "fpTop", "5");
    ini.writeText(kMarginSection, "fpLft", "3");
    const std::string expected =
        "; settings of lavodc\r\n"
        "\r\n"
        "[" + kSheetSection + "]\r\n"
        "fTop = 20\r\n"
        "  fLft=121 \r\n"
        "\r\n"
        "[" + kMarginSection + "]\n"
        "fpTop=5\n"
        "garbage line without equals\n"
        "fpLft=3\r\n"
        "\r\n"
        "[Other]\r\n"
        "x=\xB0\xA1\r\n";
    EXPECT_EQ(readFile(file), expected);
    EXPECT_EQ(ini.readInteger(kSheetSection, "FTOP", 1), 20);
    EXPECT_EQ(ini.readText("other", "X", ""), "\xB0\xA1");
}

TEST(IniFile, RefusedWriteNamesTheFile)
{
    TempDir dir;
    // A folder that does not exist: the file is not created and neither is its folder.
    const fs::path file = dir.path() / "missing" / "lavocfg.ini";
    const IniFile ini(file);
    try {
        ini.writeText("s", "k", "v");
        FAIL() << "no IniWriteError";
    } catch (const IniWriteError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + file.string());
    }
    EXPECT_FALSE(fs::exists(dir.path() / "missing"));

    // A folder in the place of the file.
    const fs::path folder = dir.path() / "lavocfg.ini";
    fs::create_directory(folder);
    EXPECT_THROW(IniFile(folder).writeText("s", "k", "v"), IniWriteError);
    EXPECT_EQ(IniFile(folder).readText("s", "k", "d"), "d");
}
