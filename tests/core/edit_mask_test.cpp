// The masked-box model: mask parsing, accepted characters, the text rule and normalize().
#include "core/edit_mask.h"

#include "core/cp949.h"

#include "case_names.h"
#include <gtest/gtest.h>

#include <string>

using lavodc::case_names::QuotedText;

using namespace lavodc;

namespace {
std::string sp(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

constexpr const char* kCitizenMask = "999999\\-9999999;0;_";
constexpr const char* kBusinessMask = "999\\-99\\-99999;0;_";
constexpr const char* kYearMask = "####;1;_";
constexpr const char* kMonthMask = "##;1;_";
constexpr const char* kManagerNumberMask = "######-#######;1;_";

} // namespace

TEST(EditMask, ParsesPositionsLiteralsAndFields)
{
    const EditMask citizen(kCitizenMask);
    EXPECT_EQ(citizen.length(), 14u);
    EXPECT_FALSE(citizen.saveLiterals());
    EXPECT_EQ(citizen.blankChar(), '_');
    for (std::size_t pos = 0; pos < 14; ++pos)
        EXPECT_EQ(citizen.isLiteral(pos), pos == 6) << pos;
    EXPECT_EQ(citizen.literalAt(6), '-');

    const EditMask business(kBusinessMask);
    EXPECT_EQ(business.length(), 12u);
    EXPECT_TRUE(business.isLiteral(3));
    EXPECT_TRUE(business.isLiteral(6));
    EXPECT_FALSE(business.isLiteral(4));

    const EditMask year(kYearMask);
    EXPECT_EQ(year.length(), 4u);
    EXPECT_TRUE(year.saveLiterals());

    const EditMask manager(kManagerNumberMask);  // an unescaped "-" is a literal too
    EXPECT_EQ(manager.length(), 14u);
    EXPECT_TRUE(manager.isLiteral(6));
    EXPECT_EQ(manager.literalAt(6), '-');
    EXPECT_TRUE(manager.saveLiterals());
}

TEST(EditMask, FieldDefaultsAndOtherBlank)
{
    const EditMask noFields("99");
    EXPECT_TRUE(noFields.saveLiterals());
    EXPECT_EQ(noFields.blankChar(), '_');
    const EditMask star("99/99;1;*");
    EXPECT_EQ(star.blankChar(), '*');
    EXPECT_TRUE(star.isLiteral(2));
    const EditMask escapedSemicolon("9\\;9;0;#");
    EXPECT_EQ(escapedSemicolon.length(), 3u);
    EXPECT_EQ(escapedSemicolon.literalAt(1), ';');
    EXPECT_FALSE(escapedSemicolon.saveLiterals());
    EXPECT_EQ(escapedSemicolon.blankChar(), '#');
    const EditMask escapedMaskChar("\\9\\\\0");
    EXPECT_EQ(escapedMaskChar.length(), 3u);
    EXPECT_EQ(escapedMaskChar.literalAt(0), '9');
    EXPECT_EQ(escapedMaskChar.literalAt(1), '\\');
    EXPECT_FALSE(escapedMaskChar.isLiteral(2));
}

TEST(EditMask, AcceptedCharacters)
{
    const EditMask m("09#LlAaCc-");
    EXPECT_TRUE(m.accepts(0, '5'));
    EXPECT_FALSE(m.accepts(0, 'a'));
    EXPECT_FALSE(m.accepts(1, ' '));
    EXPECT_TRUE(m.accepts(2, '-'));
    EXPECT_TRUE(m.accepts(2, '+'));
    EXPECT_TRUE(m.accepts(2, '7'));
    EXPECT_FALSE(m.accepts(2, 'x'));
    EXPECT_TRUE(m.accepts(3, 'Q'));
    EXPECT_FALSE(m.accepts(3, '1'));
    EXPECT_TRUE(m.accepts(4, 'q'));
    EXPECT_TRUE(m.accepts(5, '1'));
    EXPECT_TRUE(m.accepts(6, 'z'));
    EXPECT_FALSE(m.accepts(6, '-'));
    EXPECT_TRUE(m.accepts(7, '-'));
    EXPECT_TRUE(m.accepts(8, '\xB0'));
    EXPECT_FALSE(m.accepts(9, '-'));   // a literal position takes nothing
    EXPECT_FALSE(m.accepts(10, '1'));  // past the end
}

struct TextCase {
    const char* mask;
    std::string shown;
    std::string text;
};

// Names the case by its mask and shown text instead of dumping its bytes.
void PrintTo(const TextCase& c, std::ostream* os) { *os << c.mask << " shown " << QuotedText(c.shown); }

class TextFromShownTest : public ::testing::TestWithParam<TextCase> {};
TEST_P(TextFromShownTest, TextRule)
{
    EXPECT_EQ(EditMask(GetParam().mask).textFromShown(GetParam().shown), GetParam().text)
        << GetParam().mask << " shown '" << GetParam().shown << "'";
}
INSTANTIATE_TEST_SUITE_P(EditMask, TextFromShownTest, ::testing::Values(
    // save '1': literals kept, unfilled positions as blanks
    TextCase{kManagerNumberMask, "______-_______", sp(6) + "-" + sp(7)},
    TextCase{kManagerNumberMask, "800101-1234567", "800101-1234567"},
    TextCase{kManagerNumberMask, "80_101-12345__", "80 101-12345  "},
    TextCase{kYearMask, "____", sp(4)},
    TextCase{kYearMask, "2024", "2024"},
    TextCase{kYearMask, "20__", "20  "},
    TextCase{kMonthMask, "_5", " 5"},
    // save '0': literals dropped, inner unfilled as blanks, trailing unfilled dropped
    TextCase{kCitizenMask, "______-_______", ""},
    TextCase{kCitizenMask, "800101-1234567", "8001011234567"},
    TextCase{kCitizenMask, "800101-123____", "800101123"},
    TextCase{kCitizenMask, "8001_1-1234567", "8001 11234567"},
    TextCase{kCitizenMask, "800101-_______", "800101"},
    TextCase{kCitizenMask, "_00101-_______", " 00101"},
    TextCase{kBusinessMask, "123-45-67890", "1234567890"},
    TextCase{kBusinessMask, "123-__-_____", "123"},
    TextCase{kBusinessMask, "123-_5-_____", "123 5"},
    // a shown string shorter than the mask: the missing positions are unfilled
    TextCase{kYearMask, "20", "20  "},
    TextCase{kCitizenMask, "80", "80"}));

struct SetCase {
    const char* mask;
    std::string text;
    std::string shown;
};

// Names the case by its mask and the text set instead of dumping its bytes.
void PrintTo(const SetCase& c, std::ostream* os) { *os << c.mask << " text " << QuotedText(c.text); }

class ShownFromTextTest : public ::testing::TestWithParam<SetCase> {};
TEST_P(ShownFromTextTest, SettingTheText)
{
    EXPECT_EQ(EditMask(GetParam().mask).shownFromText(GetParam().text), GetParam().shown)
        << GetParam().mask << " text '" << GetParam().text << "'";
}
INSTANTIATE_TEST_SUITE_P(EditMask, ShownFromTextTest, ::testing::Values(
    // save '1': position by position; literal positions always show their literal
    SetCase{kYearMask, "2024", "2024"},
    SetCase{kYearMask, "", "____"},
    SetCase{kYearMask, "24", "24__"},
    SetCase{kYearMask, "20245", "2024"},
    SetCase{kYearMask, "2a2b", "2_2_"},
    SetCase{kYearMask, " 5  ", " 5  "},         // "#" takes a blank
    SetCase{kMonthMask, "05", "05"},
    SetCase{kManagerNumberMask, "800101-1234567", "800101-1234567"},
    SetCase{kManagerNumberMask, "800101 1234567", "800101-1234567"},
    SetCase{kManagerNumberMask, "8001011234567", "800101-234567_"},
    SetCase{kManagerNumberMask, "", "______-_______"},
    // save '0': the text holds the non-literal positions only
    SetCase{kCitizenMask, "8001011234567", "800101-1234567"},
    SetCase{kCitizenMask, "800101", "800101-_______"},
    SetCase{kCitizenMask, "8001 11234567", "8001_1-1234567"},
    SetCase{kCitizenMask, "800101-1234567", "800101-_123456"}, // the "-" takes a digit position
    SetCase{kBusinessMask, "1234567890", "123-45-67890"},
    SetCase{kBusinessMask, "", "___-__-_____"}));

struct NormalizeCase {
    const char* mask;
    std::string text;
    std::string normalized;
};

// Names the case by its mask and text instead of dumping its bytes.
void PrintTo(const NormalizeCase& c, std::ostream* os) { *os << c.mask << " text " << QuotedText(c.text); }

class NormalizeTest : public ::testing::TestWithParam<NormalizeCase> {};
TEST_P(NormalizeTest, RoundTripThroughABox)
{
    const EditMask mask(GetParam().mask);
    const std::string once = mask.normalize(GetParam().text);
    EXPECT_EQ(once, GetParam().normalized) << GetParam().mask << " text '" << GetParam().text << "'";
    EXPECT_EQ(mask.normalize(once), once) << "normalize is idempotent";
}
INSTANTIATE_TEST_SUITE_P(EditMask, NormalizeTest, ::testing::Values(
    NormalizeCase{kYearMask, "2024", "2024"},
    NormalizeCase{kYearMask, "", sp(4)},
    NormalizeCase{kYearMask, "24", "24  "},
    NormalizeCase{kYearMask, "20245", "2024"},
    NormalizeCase{kYearMask, "year", sp(4)},
    NormalizeCase{kMonthMask, "5", "5 "},
    NormalizeCase{kMonthMask, "05", "05"},
    NormalizeCase{kMonthMask, "123", "12"},
    NormalizeCase{kManagerNumberMask, "", sp(6) + "-" + sp(7)},
    NormalizeCase{kManagerNumberMask, "800101-1234567", "800101-1234567"},
    NormalizeCase{kManagerNumberMask, "800101", "800101-" + sp(7)},
    NormalizeCase{kManagerNumberMask, "800101-12x4567", "800101-12 4567"},
    NormalizeCase{kCitizenMask, "8001011234567", "8001011234567"},
    NormalizeCase{kCitizenMask, "800101", "800101"},
    NormalizeCase{kCitizenMask, "80 101", "80 101"},
    NormalizeCase{kCitizenMask, "800101      ", "800101"},
    NormalizeCase{kCitizenMask, "", ""},
    NormalizeCase{kBusinessMask, "1234567890", "1234567890"}));
