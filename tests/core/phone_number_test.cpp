#include "core/phone_number.h"

#include "core/quorva_lib.h"

#include <gtest/gtest.h>

namespace lavodc {
namespace {

struct SplitCase {
    const char* typed;
    const char* expected;
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << '"' << c.typed << '"'; }

class SplitPhoneNumberTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitPhoneNumberTest, SplitsByTheNumberingPlan)
{
    EXPECT_EQ(SplitPhoneNumber(GetParam().typed), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Recognised, SplitPhoneNumberTest, ::testing::Values(
    // Seoul: 02, an exchange of 3 or 4 digits, 4 digits.
    SplitCase{"025551234", "02-555-1234"},
    SplitCase{"0212345678", "02-1234-5678"},
    SplitCase{"02 555 1234", "02-555-1234"},
    SplitCase{"02.1234.5678", "02-1234-5678"},
    SplitCase{"(02)555-1234", "02-555-1234"},
    SplitCase{"02-555-1234", "02-555-1234"},
    SplitCase{"0255-51234", "02-555-1234"},      // hyphens in the wrong places
    // Other areas, internet telephones and personal numbers.
    SplitCase{"0421234567", "042-123-4567"},
    SplitCase{"03112345678", "031-1234-5678"},
    SplitCase{"064 123 4567", "064-123-4567"},
    SplitCase{"07012345678", "070-1234-5678"},
    SplitCase{"050512345678", "0505-1234-5678"},
    SplitCase{"05021234567", "0502-123-4567"},
    // Mobiles.
    SplitCase{"01098765432", "010-9876-5432"},
    SplitCase{"010 9876 5432", "010-9876-5432"},
    SplitCase{"(010)4444-5555", "010-4444-5555"},
    SplitCase{"0104444-5555", "010-4444-5555"},  // a pasted "(010)4444-5555" without its brackets
    SplitCase{"0111234567", "011-123-4567"},
    SplitCase{"019.123.4567", "019-123-4567"},
    // Nationwide service numbers: two parts.
    SplitCase{"15881234", "1588-1234"},
    SplitCase{"1644 1234", "1644-1234"},
    SplitCase{"1800-1234", "1800-1234"}));

INSTANTIATE_TEST_SUITE_P(KeptAsTyped, SplitPhoneNumberTest, ::testing::Values(
    SplitCase{"", ""},
    SplitCase{"12345", "12345"},
    SplitCase{"0201234", "0201234"},                 // too short for Seoul
    SplitCase{"021234567890", "021234567890"},       // too long
    SplitCase{"0291234567890", "0291234567890"},
    SplitCase{"0351234567", "0351234567"},           // no such area
    SplitCase{"0121234567", "0121234567"},
    SplitCase{"05011234567", "05011234567"},         // 0501 is not a personal number
    SplitCase{"010-1234-5678 ext 9", "010-1234-5678 ext 9"},
    SplitCase{"02-555-12-34", "02-555-12-34"},       // four groups: not one plain number
    SplitCase{"1588123", "1588123"},
    SplitCase{"1577-1234-5", "1577-1234-5"},
    SplitCase{"+82 10 1234 5678", "+82 10 1234 5678"}));

TEST(SplitPhoneNumber, SplitNumbersStoreAndComeBackAsSplit)
{
    // What the entry dialog stores (area width 3) and the site telephone (area width 4) give
    // back the split form exactly.
    for (const char* typed : {"01098765432", "025551234", "(010)4444-5555", "15881234", "050512345678"}) {
        SCOPED_TRACE(typed);
        const std::string split = SplitPhoneNumber(typed);
        for (int width : {3, 4})
            EXPECT_EQ(UnbracketPhone(BracketPhone(split, width)), split);
        EXPECT_LE(BracketPhone(split, 3).size(), 15u);
    }
    EXPECT_EQ(BracketPhone(SplitPhoneNumber("01098765432"), 3), "(010)9876-5432");
    EXPECT_EQ(BracketPhone(SplitPhoneNumber("(010)4444-5555"), 3), "(010)4444-5555");
}

} // namespace
} // namespace lavodc
