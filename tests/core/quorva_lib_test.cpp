// Text utilities: trimming, padding, money, dates, telephone forms.
#include "core/quorva_lib.h"

#include "core/cp949.h"

#include "case_names.h"
#include <gtest/gtest.h>

#include <charconv>
#include <limits>
#include <string>

using lavodc::case_names::QuotedText;

using namespace lavodc;

namespace {
const std::string kGa = "\xB0\xA1"; // 가 in CP949
std::string sp(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

} // namespace

// ---------------------------------------------------------------------------------------------
// Simple operations

TEST(QuorvaLib, RemoveBlanksKeepsTabsAndControls)
{
    EXPECT_EQ(RemoveBlanks(""), "");
    EXPECT_EQ(RemoveBlanks(" a b  c "), "abc");
    EXPECT_EQ(RemoveBlanks("a\tb\n"), "a\tb\n");
    EXPECT_EQ(RemoveBlanks(" " + kGa + " "), kGa);
}

struct RemoveCharCase {
    char ch;
    std::string text;
    std::string expected;
};

// Names the case by the character removed and the text instead of dumping its bytes.
void PrintTo(const RemoveCharCase& c, std::ostream* os)
{
    *os << QuotedText(std::string(1, c.ch)) << " from " << QuotedText(c.text);
}

class RemoveCharTest : public ::testing::TestWithParam<RemoveCharCase> {};
TEST_P(RemoveCharTest, TrimsThenRemoves)
{
    EXPECT_EQ(RemoveChar(GetParam().ch, GetParam().text), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(QuorvaLib, RemoveCharTest, ::testing::Values(
    RemoveCharCase{'-', " 12-34-56 ", "123456"},
    RemoveCharCase{'-', "- 12", " 12"},           // the blank made leading by the deletion stays
    RemoveCharCase{'-', "12 -", "12 "},
    RemoveCharCase{'-', "", ""},
    RemoveCharCase{'-', "---", ""},
    RemoveCharCase{'x', "\t axbx\r\n", "ab"}));

TEST(QuorvaLib, TrimRuleRemovesCodesUpTo0x20Only)
{
    const std::string ctl = std::string("\x01\t\n\r ", 5);
    EXPECT_EQ(TrimLeading(ctl + "a b" + ctl), "a b" + ctl);
    EXPECT_EQ(TrimTrailing(ctl + "a b" + ctl), ctl + "a b");
    EXPECT_EQ(Trim(ctl + "a b" + ctl), "a b");
    EXPECT_EQ(Trim(ctl), "");
    EXPECT_EQ(Trim(""), "");
    // Bytes 0x80 and above (CP949 lead and trail bytes) are never trimmed.
    EXPECT_EQ(Trim(" " + kGa + "\xA1"), kGa + "\xA1");
    EXPECT_EQ(TrimTrailing("\xB0 "), "\xB0");
    EXPECT_EQ(TrimLeading(std::string("\0a", 2)), "a");
}

TEST(QuorvaLib, RepeatChar)
{
    EXPECT_EQ(RepeatChar(' ', 5), sp(5));
    EXPECT_EQ(RepeatChar(' ', 8), sp(8));
    EXPECT_EQ(RepeatChar('x', 0), "");
    EXPECT_EQ(RepeatChar('\0', 5), "");
    EXPECT_EQ(RepeatChar('x', -3), "");
    EXPECT_EQ(RepeatChar('-', 255).size(), 255u);
}

struct PadCase {
    std::string text;
    int width;
    char fill;
    std::string expected;
};

// Names the case by its text, width and fill instead of dumping its bytes.
void PrintTo(const PadCase& c, std::ostream* os)
{
    *os << QuotedText(c.text) << " width " << c.width << " fill " << QuotedText(std::string(1, c.fill));
}

class PadLeftTest : public ::testing::TestWithParam<PadCase> {};
TEST_P(PadLeftTest, Pads)
{
    EXPECT_EQ(PadLeft(GetParam().text, GetParam().width, GetParam().fill), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(QuorvaLib, PadLeftTest, ::testing::Values(
    PadCase{"12", 9, ' ', sp(7) + "12"},
    PadCase{"1234567890", 9, ' ', "1234567890"},  // longer: unchanged
    PadCase{"123456789", 9, ' ', "123456789"},
    PadCase{"", 3, ' ', sp(3)},
    PadCase{"", 0, ' ', ""},
    PadCase{" a ", 5, '*', "** a "},               // no trimming
    PadCase{kGa, 3, '0', "0" + kGa}));            // widths count bytes

class PadRightTest : public ::testing::TestWithParam<PadCase> {};
TEST_P(PadRightTest, TrimsThenPads)
{
    EXPECT_EQ(PadRight(GetParam().fill, GetParam().text, GetParam().width), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(QuorvaLib, PadRightTest, ::testing::Values(
    PadCase{"  abc ", 5, ' ', "abc  "},
    PadCase{"abcdef", 5, ' ', "abcdef"},
    PadCase{"abcde", 5, ' ', "abcde"},
    PadCase{"", 4, '.', "...."},
    PadCase{"  ", 2, '.', ".."},
    PadCase{kGa + kGa, 55, ' ', kGa + kGa + sp(51)},
    PadCase{"a", 0, ' ', "a"}));

TEST(QuorvaLib, IsDateTextComplete)
{
    EXPECT_TRUE(IsDateTextComplete('.', ""));
    EXPECT_TRUE(IsDateTextComplete('.', "2000.05.27"));
    EXPECT_TRUE(IsDateTextComplete('.', "    .  .  "));
    EXPECT_TRUE(IsDateTextComplete('.', "20000527"));
    EXPECT_TRUE(IsDateTextComplete('.', "abcd.ef.gh")); // characters are not looked at
    EXPECT_FALSE(IsDateTextComplete('.', "2000.05"));
    EXPECT_FALSE(IsDateTextComplete('.', "2000.5.27"));
    EXPECT_FALSE(IsDateTextComplete('.', "2000.05.277"));
    EXPECT_FALSE(IsDateTextComplete('-', "2000.05.27")); // the dots count when "-" is the separator
    EXPECT_TRUE(IsDateTextComplete('-', "2000-05-27"));
}

// ---------------------------------------------------------------------------------------------
// Money

struct MoneyCase {
    std::string text;
    int width;
    bool dropSign;
    std::string expected;
};

// Names the case by its text, width and sign choice instead of dumping its bytes.
void PrintTo(const MoneyCase& c, std::ostream* os)
{
    *os << QuotedText(c.text) << " width " << c.width << (c.dropSign ? " without sign" : " with sign");
}

class MoneyTextTest : public ::testing::TestWithParam<MoneyCase> {};
TEST_P(MoneyTextTest, KoreanLayout)
{
    const MoneyCase& c = GetParam();
    EXPECT_EQ(MoneyText(c.text, c.width, c.dropSign), c.expected) << "text '" << c.text << "' width " << c.width;
}
INSTANTIATE_TEST_SUITE_P(QuorvaLib, MoneyTextTest, ::testing::Values(
    MoneyCase{"1234567", 11, true, sp(2) + "1,234,567"},
    MoneyCase{"1234567", 11, false, " \\1,234,567"},
    MoneyCase{"123456789012", 11, true, sp(10) + "0"},       // longer than the width: "0"
    MoneyCase{"", 5, false, sp(3) + "\\0"},
    MoneyCase{"   ", 5, false, sp(3) + "\\0"},
    MoneyCase{" 1000 ", 4, true, "1,000"},                   // trimmed length 4 fits; the result may be wider
    MoneyCase{"0", 1, true, "0"},
    MoneyCase{"999", 3, true, "999"},
    MoneyCase{"1000", 0, true, "0"},                         // width 0: every text is too long
    MoneyCase{"100", 11, true, sp(8) + "100"},
    MoneyCase{"123456", 11, true, sp(4) + "123,456"},
    MoneyCase{"12345678901", 11, false, "\\12,345,678,901"},
    MoneyCase{"1234.4999", 11, true, sp(6) + "1,234"},
    MoneyCase{"1234.5", 11, true, sp(6) + "1,235"},          // half away from zero
    MoneyCase{"0.5", 11, true, sp(10) + "1"},
    MoneyCase{"2.5", 11, true, sp(10) + "3"},                // not to even
    MoneyCase{"1234.00005", 11, true, sp(6) + "1,234"},      // currency keeps four decimals
    MoneyCase{"-1234", 11, false, sp(4) + "-\\1,234"},       // negative: "-" before the sign
    MoneyCase{"-1234", 11, true, sp(5) + "-1,234"},
    MoneyCase{"-1234.5", 11, true, sp(5) + "-1,235"},
    MoneyCase{"-0.4", 11, false, sp(9) + "\\0"},             // rounds to zero: no minus
    MoneyCase{"+42", 11, true, sp(9) + "42"},
    MoneyCase{".5", 11, true, sp(10) + "1"},
    MoneyCase{"5.", 11, true, sp(10) + "5"},
    MoneyCase{"1e3", 11, true, sp(6) + "1,000"},
    MoneyCase{"1.5E2", 11, true, sp(8) + "150"},
    MoneyCase{"0001000", 11, true, sp(6) + "1,000"}));

TEST(QuorvaLib, MoneyTextRejectsWhatIsNotANumber)
{
    for (const char* text : {"abc", "1,234", "12a", "-", ".", "1e", "1e+", "--1", "1 2", "\\100", "0x10"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(MoneyText(text, 11, true), ConversionError);
    }
    try {
        (void)MoneyText(" abc ", 11, true);
        FAIL() << "no ConversionError";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
    }
    // Too long for the width: replaced by "0" before the conversion, so no error.
    EXPECT_EQ(MoneyText("abcdef", 3, true), sp(2) + "0");
    // Outside the range of a currency amount.
    EXPECT_THROW(MoneyText("1e20", 11, true), ConversionError);
    EXPECT_THROW(MoneyText("99999999999999999999", 30, true), ConversionError);
}

TEST(QuorvaLib, MoneyTextAtTheEndsOfTheCurrencyRange)
{
    EXPECT_EQ(MoneyText("922337203685477", 20, false), "\\922,337,203,685,477");
    EXPECT_EQ(MoneyText("-922337203685477", 20, true), "-922,337,203,685,477");
}

struct MoneyValueCase {
    double value;
    int width;
    std::string expected;
};

// Names the case by its value, in the shortest form that reads back exactly, and its width.
void PrintTo(const MoneyValueCase& c, std::ostream* os)
{
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, c.value);
    *os << std::string(digits, result.ptr) << " width " << c.width;
}

class MoneyValueTextTest : public ::testing::TestWithParam<MoneyValueCase> {};
TEST_P(MoneyValueTextTest, PlainTextThenMoneyWithoutSign)
{
    EXPECT_EQ(MoneyValueText(GetParam().value, GetParam().width), GetParam().expected) << GetParam().value;
}
INSTANTIATE_TEST_SUITE_P(QuorvaLib, MoneyValueTextTest, ::testing::Values(
    MoneyValueCase{1234567, 11, sp(2) + "1,234,567"},
    MoneyValueCase{0, 11, sp(10) + "0"},
    MoneyValueCase{-0.0, 11, sp(10) + "0"},
    MoneyValueCase{999999999, 11, sp(0) + "999,999,999"},
    MoneyValueCase{12345678901.0, 11, "12,345,678,901"},  // 11 digits fit the width test
    MoneyValueCase{123456789012.0, 11, sp(10) + "0"},     // 12 digits do not
    MoneyValueCase{1234.5, 11, sp(6) + "1,235"},
    MoneyValueCase{1234.25, 11, sp(6) + "1,234"},
    MoneyValueCase{-5000, 11, sp(5) + "-5,000"},
    MoneyValueCase{1234567.125, 9, sp(8) + "0"}));       // "1234567.125" is 11 characters > 9

TEST(QuorvaLib, MoneyValueTextOfNonNumbersThrows)
{
    EXPECT_THROW(MoneyValueText(std::numeric_limits<double>::quiet_NaN(), 11), ConversionError);
    EXPECT_THROW(MoneyValueText(std::numeric_limits<double>::infinity(), 11), ConversionError);
}

// ---------------------------------------------------------------------------------------------
// Telephone forms

struct BracketCase {
    std::string text;
    int areaWidth;
    std::string expected;
};

// Names the case by its text and area width instead of dumping its bytes.
void PrintTo(const BracketCase& c, std::ostream* os) { *os << QuotedText(c.text) << " area " << c.areaWidth; }

class BracketPhoneTest : public ::testing::TestWithParam<BracketCase> {};
TEST_P(BracketPhoneTest, EditFormToStoredForm)
{
    EXPECT_EQ(BracketPhone(GetParam().text, GetParam().areaWidth), GetParam().expected) << GetParam().text;
}
INSTANTIATE_TEST_SUITE_P(QuorvaLib, BracketPhoneTest, ::testing::Values(
    BracketCase{"042-123-4567", 3, "(042) 123-4567"},
    BracketCase{"042-123-4567", 4, "( 042) 123-4567"},
    BracketCase{"02 - 1234 - 5678", 4, "(  02)1234-5678"},
    BracketCase{"02-12", 3, "( 02)" + sp(6) + "-12"},
    BracketCase{"02-1234", 3, "( 02)" + sp(4) + "-1234"},
    BracketCase{"02-12345", 3, "( 02)" + sp(3) + "1-2345"},
    BracketCase{"010-1234-5678", 3, "(010)1234-5678"},
    BracketCase{"-1234567", 3, sp(3).insert(0, "(") + ") 123-4567"},
    BracketCase{"02-12345678901", 3, "( 02)1234567-8901"},  // local part longer than 9: unpadded
    BracketCase{"", 3, sp(3)},
    BracketCase{"   ", 4, sp(3)},
    // Nothing after the first "-" (or no "-"): the text as it is,
    // blanks removed.
    BracketCase{"0421234567", 3, "0421234567"},
    BracketCase{"042 123 4567", 4, "0421234567"},
    BracketCase{"042-", 3, "042-"},
    BracketCase{"042---", 3, "042---"},
    BracketCase{"-", 3, "-"}));

struct UnbracketCase {
    std::string text;
    std::string expected;
};

// Names the case by its text instead of dumping its bytes.
void PrintTo(const UnbracketCase& c, std::ostream* os) { *os << QuotedText(c.text); }

class UnbracketPhoneTest : public ::testing::TestWithParam<UnbracketCase> {};
TEST_P(UnbracketPhoneTest, StoredFormToEditForm)
{
    EXPECT_EQ(UnbracketPhone(GetParam().text), GetParam().expected) << GetParam().text;
}
INSTANTIATE_TEST_SUITE_P(QuorvaLib, UnbracketPhoneTest, ::testing::Values(
    // The edit form is what the clerk typed: the blanks that pad the stored form go.
    UnbracketCase{"(042) 123-4567", "042-123-4567"},
    UnbracketCase{"(  02)1234-5678", "02-1234-5678"},
    UnbracketCase{"( 042) 123-4567", "042-123-4567"},
    UnbracketCase{"(  02) 555-1234", "02-555-1234"},
    UnbracketCase{"(010)1234-5678", "010-1234-5678"},
    UnbracketCase{"( 02)      -12", "02-12"},          // four digits or fewer join the area
    UnbracketCase{"(1588)    -1234", "1588-1234"},
    UnbracketCase{"(0)2)1234-5678", "0)2-1234-5678"},   // the last ")" before the local part
    UnbracketCase{"", ""},
    UnbracketCase{"   ", ""},
    UnbracketCase{"(   ) 123-4567", "-123-4567"},
    // Not beginning with "(" (or without ")"): the text as it is,
    // blanks removed.
    UnbracketCase{"0421234567", "0421234567"},
    UnbracketCase{"042-123-4567", "042-123-4567"},
    UnbracketCase{" 042 -", "042-"},
    UnbracketCase{"(042", "(042"},
    // Beginning with "(" but without a local part BracketPhone would make: the text as it
    // is too, every character kept.
    UnbracketCase{"(042)", "(042)"},
    UnbracketCase{"(02)", "(02)"},
    UnbracketCase{"()", "()"},
    UnbracketCase{"(02)1234", "(02)1234"},
    UnbracketCase{"(0)42-", "(0)42-"},
    UnbracketCase{"(02)-", "(02)-"},
    UnbracketCase{"(02)12345-", "(02)12345-"},
    UnbracketCase{"(02)12-34", "(02)12-34"},          // something before the "-" needs four after it
    UnbracketCase{"(02)-12345", "(02)-12345"},        // more than four after the "-"
    UnbracketCase{"(02)1-2-34", "(02)1-2-34"},        // a second "-"
    UnbracketCase{"(0-2)1234-5678", "(0-2)1234-5678"}));

TEST(QuorvaLib, PhoneRoundTripKeepsTheCharacters)
{
    // The characters of a text other than blanks survive BracketPhone then UnbracketPhone,
    // for every area width the program uses. For texts with a local number the round trip is
    // the bracketed layout; the others keep the text as it is (see BracketPhone).
    const char* texts[] = {
        "0421234567", "042 1234567", "042-", "02-", "-", "--", "042--", "1", "12345678901234",
        "042-123-4567", "02-1234-5678", "010-1234-5678", "02-12", "02-1234", "031-123",
        "\xB0\xA1", "\xB0\xA1-", "a-b-c", "042-1-2-3-4567",
        "(02)1234", "(02)", "(0)42-", "()", "(", ")", "(02)-1234", "02-12)34", "(02-)", "()-1", ")-1234",
    };
    for (const char* text : texts) {
        for (int width : {3, 4}) {
            SCOPED_TRACE(std::string(text) + " width " + std::to_string(width));
            const std::string stored = BracketPhone(text, width);
            const std::string back = UnbracketPhone(stored);
            std::string expected = RemoveBlanks(text);
            // A local number of five or more digits gains the "-" before its last four digits
            // when it has none there; that is the algorithm, not a loss.
            const std::string withoutBlanks = RemoveBlanks(back);
            if (expected.find('-') != std::string::npos && expected.find('-') + 1 < expected.size()) {
                std::string a = expected, b = withoutBlanks;
                std::erase(a, '-');
                std::erase(b, '-');
                EXPECT_EQ(b, a);
                EXPECT_EQ(b.empty() ? "" : std::string(1, withoutBlanks[0]), a.empty() ? "" : std::string(1, expected[0]));
            } else {
                EXPECT_EQ(withoutBlanks, expected);
            }
            // Converting the stored form back and forth again changes nothing.
            EXPECT_EQ(BracketPhone(back, width), stored);
        }
    }
}

TEST(QuorvaLib, PhoneEditFormRoundTripsExactlyAsTyped)
{
    for (const char* text : {"0421234567", "042-", "-", "01012345678", "1", "(02)1234", "(02)", "(0)42-", "()",
                             "02-555-1234", "02-1234-5678", "042-123-4567", "010-9876-5432", "1588-1234",
                             "0505-123-4567", "02-12"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(UnbracketPhone(BracketPhone(text, 3)), text);
        EXPECT_EQ(UnbracketPhone(BracketPhone(text, 4)), text);
    }
}
