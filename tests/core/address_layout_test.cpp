#include "core/address_layout.h"

#include "core/cp949.h"

#include <gtest/gtest.h>

namespace lavodc {
namespace {

using Lines = std::vector<std::string>;

// One unit a byte: a Hangul syllable is two units wide.
double bytes(std::string_view text) { return double(text.size()); }

Lines utf8(const Lines& cp949)
{
    Lines lines;
    for (const std::string& line : cp949)
        lines.push_back(fromCp949(line));
    return lines;
}

struct LayoutCase {
    const char* address;   // UTF-8
    const char* tel;
    double width;
    int maxLines;
    Lines expected;        // UTF-8
};

void PrintTo(const LayoutCase& c, std::ostream* os) { *os << '"' << c.address << "\" tel \"" << c.tel << '"'; }

class AddressBoxLinesTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(AddressBoxLinesTest, KeepsEverythingAndTheTelephoneOnItsOwnLine)
{
    const LayoutCase& c = GetParam();
    EXPECT_EQ(utf8(AddressBoxLines(toCp949(c.address), c.tel, c.width, c.maxLines, bytes)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, AddressBoxLinesTest, ::testing::Values(
    LayoutCase{"abc def", "", 10, 2, {"abc def"}},
    LayoutCase{"abc def", "(02)555-1234", 10, 2, {"abc def", "(02)555-1234"}},
    // Padding blanks of the stored telephone are not printed; a blank telephone is none.
    LayoutCase{"abc", "( 02) 555-1234", 10, 2, {"abc", "(02)555-1234"}},
    LayoutCase{"abc", "   ", 10, 2, {"abc"}},
    LayoutCase{"", "(02)555-1234", 10, 2, {"(02)555-1234"}},
    LayoutCase{"  abc  ", "", 10, 2, {"abc"}},
    // Two lines for the address alone, broken at the blank that fits.
    LayoutCase{"abcde fghij klm", "", 10, 2, {"abcde ", "fghij klm"}},
    // With a telephone the address keeps one line, drawn condensed: nothing is cut.
    LayoutCase{"abcde fghij klm", "(02)555-1234", 10, 2, {"abcde fghij klm", "(02)555-1234"}},
    // More than two lines' worth: two wider lines, as even as the blanks allow.
    LayoutCase{"aaaa bbbb cccc dddd eeee", "", 10, 2, {"aaaa bbbb cccc ", "dddd eeee"}},
    // Without blanks a line breaks between whole characters.
    LayoutCase{"abcdefghijklmnopqrstuvwxyz", "", 10, 2, {"abcdefghijklm", "nopqrstuvwxyz"}},
    LayoutCase{"가나다라마바", "", 5, 2, {"가나다", "라마바"}},
    LayoutCase{"한빛아파트 101동", "", 10, 2, {"한빛아파트 ", "101동"}}));

TEST(AddressBoxLines, ABlankWithinTheWidthIsWhereTheLineBreaks)
{
    // Greedy cutting at the width would give "한빛아파" and "트".
    EXPECT_EQ(utf8(BreakAtBlanks(toCp949("대전 한빛아파트"), 10, bytes)), (Lines{"대전 ", "한빛아파트"}));
    EXPECT_EQ(utf8(BreakAtBlanks("John Smith", 8, bytes)), (Lines{"John ", "Smith"}));
    EXPECT_EQ(utf8(BreakAtBlanks("abc defg hij", 8, bytes)), (Lines{"abc defg ", "hij"}));
    // A character wider than the line still gets a line of its own.
    EXPECT_EQ(utf8(BreakAtBlanks(toCp949("가나"), 1, bytes)), (Lines{"가", "나"}));
}

TEST(AddressBoxLines, AnAddressCutInsideASyllableDropsTheHalf)
{
    const std::string stored = std::string(68, 'x') + "\xB0";
    const Lines lines = AddressBoxLines(stored, "", 100, 2, bytes);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], std::string(68, 'x'));
}

} // namespace
} // namespace lavodc
