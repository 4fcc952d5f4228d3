#include "report/line_breaker.h"

#include "core/cp949.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace lavodc::report {
namespace {

// One millimetre a byte: a Hangul syllable is two millimetres wide.
class ByteWidths : public TextWidthSource {
public:
    double TextWidth(std::string_view cp949) const override { return static_cast<double>(cp949.size()); }
};

struct BreakCase {
    const char* name;
    std::string text;   // UTF-8
    double width;
    LineRule rule;
    std::vector<std::string> lines;   // UTF-8
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const BreakCase& c, std::ostream* os) { *os << c.name; }

class BreakLinesTest : public ::testing::TestWithParam<BreakCase> {};

TEST_P(BreakLinesTest, BreaksAsTheFormDoes)
{
    const BreakCase& c = GetParam();
    std::vector<std::string> expected;
    for (const std::string& line : c.lines)
        expected.push_back(toCp949(line));
    EXPECT_EQ(BreakLines(toCp949(c.text), c.width, ByteWidths{}, c.rule), expected);
}

const auto wrap = LineRule::Wrap;
const auto one = LineRule::OneLine;

INSTANTIATE_TEST_SUITE_P(
    Cases, BreakLinesTest,
    ::testing::Values(
        BreakCase{"Empty", "", 10, wrap, {}},
        BreakCase{"FitsWhole", "abc def", 10, wrap, {"abc def"}},
        BreakCase{"BreaksAfterBlank", "abc def", 5, wrap, {"abc ", "def"}},
        BreakCase{"OneLineDropsTheRest", "abc def", 5, one, {"abc "}},
        BreakCase{"TrailingBlankNotMeasured", "abcd efgh", 4, wrap, {"abcd ", "efgh"}},
        BreakCase{"BreaksAfterHyphen", "123-4567", 5, wrap, {"123-", "4567"}},
        BreakCase{"LongWordCutOnItsOwnLine", "ab cdefghij kl", 5, wrap, {"ab ", "cdefg", "kl"}},
        BreakCase{"OneLineCutsLongFirstWord", "abcdefgh ij", 5, one, {"abcde"}},
        BreakCase{"OneLineDropsLongSecondWord", "ab cdefghij", 5, one, {"ab "}},
        BreakCase{"CarriageReturnEndsLine", "ab\r\ncd", 10, wrap, {"ab", "cd"}},
        BreakCase{"LineFeedIgnored", "ab\ncd", 10, wrap, {"abcd"}},
        BreakCase{"EmptyLinesFromCarriageReturns", "\r\rab", 10, wrap, {"", "", "ab"}},
        BreakCase{"CutWordThenCarriageReturn", "abcdefg\rxy", 3, wrap, {"abc", "xy"}},
        BreakCase{"HangulNeverCutInHalf", "가나다", 5, wrap, {"가나"}},
        BreakCase{"HangulWordsWrap", "가나다 라마", 7, wrap, {"가나다 ", "라마"}},
        BreakCase{"NarrowBoxStacksSyllables", "담 당", 2, wrap, {"담 ", "당"}},
        BreakCase{"ThreeLineApprover", " 청 (소)  장 ", 4, wrap, {" 청 ", "(소)  ", "장 "}},
        BreakCase{"PaddingGivesWayToAWordThatFitsAlone", " 11,111,103", 10, wrap, {"11,111,103"}},
        BreakCase{"PaddingGivesWayToACutWord", "  abcdefgh", 5, one, {"abcde"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VisibleLineCountTest, LinesEndingWithinATenthBelowTheBoxAreShown)
{
    const double nine = 9 * 25.4 / 72;   // 3.175 mm
    struct Case {
        double boxHeight;
        int lines;
    };
    for (const Case c : {Case{7.14, 2}, Case{7.41, 2}, Case{9.53, 3}, Case{3.44, 1}, Case{3.075, 1},
                         Case{3.07, 0}})
        EXPECT_EQ(VisibleLineCount(c.boxHeight, nine), c.lines) << "box " << c.boxHeight;
}

} // namespace
} // namespace lavodc::report
