// Registration number checks.
//
// Valid fixtures are computed by hand from the weights of the algorithm (see each comment);
// the code under test is never asked to make its own fixtures.
#include "core/reg_number_checker.h"

#include "core/cp949.h"

#include "case_names.h"
#include <gtest/gtest.h>

#include <string>

using lavodc::case_names::QuotedText;

using namespace lavodc;

namespace {

// Resident numbers, weights 2 3 4 5 6 7 8 9 2 3 4 5 over d1..d12:
//
// 800101-123456?: 8·2 + 0·3 + 0·4 + 1·5 + 0·6 + 1·7 + 1·8 + 2·9 + 3·2 + 4·3 + 5·4 + 6·5
//               = 16 + 0 + 0 + 5 + 0 + 7 + 8 + 18 + 6 + 12 + 20 + 30 = 122;
//               122 mod 11 = 1 -> 11 - 1 = 10 -> 0.  (remainder 1 gives 0)
const char* const kRemainder1 = "8001011234560";
// 800101-123458?: d12 = 8 adds 2·5 = 10: sum 132 = 12·11, remainder 0 -> 11 -> 1.
const char* const kRemainder0 = "8001011234581";
// 800101-123457?: sum 127, 127 mod 11 = 6 -> 11 - 6 = 5.
const char* const kOrdinary = "8001011234575";
// 000229-312345?: 0·2 + 0·3 + 0·4 + 2·5 + 2·6 + 9·7 + 3·8 + 1·9 + 2·2 + 3·3 + 4·4 + 5·5
//               = 0 + 0 + 0 + 10 + 12 + 63 + 24 + 9 + 4 + 9 + 16 + 25 = 172;
//               172 mod 11 = 7 -> 11 - 7 = 4.  Year 2000, 29 February.
const char* const kLeapDay2000Male = "0002293123454";
// 000229-412345?: d7 = 4 adds 8 more (weight 8): sum 180, 180 mod 11 = 4 -> 7.
const char* const kLeapDay2000Female = "0002294123457";

// Business numbers: p = 5·d9; s = p div 10 + p mod 10 + d1 + d4 + d7 + 3(d2 + d5 + d8) + 7(d3 + d6);
// check = (10 - s mod 10) mod 10.
//
// 123-45-6789?: p = 45 -> 4 + 5 = 9; d1 + d4 + d7 = 1 + 4 + 7 = 12; 3(2 + 5 + 8) = 45;
//               7(3 + 6) = 63; s = 9 + 12 + 45 + 63 = 129 -> (10 - 9) mod 10 = 1.
//               (Adding p = 45 whole would give s = 165 and check 5.)
const char* const kBusinessNinth9 = "1234567891";
const char* const kBusinessNinth9Naive = "1234567895";
// 123-45-6780?: p = 0; s = 0 + 12 + 45 + 63 = 120 -> (10 - 0) mod 10 = 0.
const char* const kBusinessCheck0 = "1234567800";

std::string msg(const RegNumberChecker& c) { return fromCp949(c.CheckMsg()); }

} // namespace

TEST(RegNumberChecker, KindSelectsMaskAndLength)
{
    RegNumberChecker c;
    EXPECT_EQ(c.Kind(), TChkKind::ceCitizen);
    EXPECT_STREQ(c.EditMask(), "999999\\-9999999;0;_");
    EXPECT_EQ(c.MaxLength(), 14);
    EXPECT_EQ(c.CheckMsg(), "");
    c.SetKind(TChkKind::ceBussiness);
    EXPECT_EQ(c.Kind(), TChkKind::ceBussiness);
    EXPECT_STREQ(c.EditMask(), "999\\-99\\-99999;0;_");
    EXPECT_EQ(c.MaxLength(), 12);
    c.SetKind(static_cast<TChkKind>(7)); // ignored
    EXPECT_EQ(c.Kind(), TChkKind::ceBussiness);
    EXPECT_EQ(c.MaxLength(), 12);
    c.SetKind(TChkKind::ceCitizen);
    EXPECT_EQ(c.MaxLength(), 14);
}

TEST(RegNumberChecker, IsLeapYear)
{
    EXPECT_TRUE(RegNumberChecker::IsLeapYear(2000));
    EXPECT_TRUE(RegNumberChecker::IsLeapYear(2024));
    EXPECT_TRUE(RegNumberChecker::IsLeapYear(1996));
    EXPECT_FALSE(RegNumberChecker::IsLeapYear(1900));
    EXPECT_FALSE(RegNumberChecker::IsLeapYear(2100));
    EXPECT_FALSE(RegNumberChecker::IsLeapYear(2023));
    EXPECT_FALSE(RegNumberChecker::IsLeapYear(2001));
}

TEST(RegNumberChecker, MessagesAreCp949Bytes)
{
    RegNumberChecker c;
    c.SetKind(TChkKind::ceBussiness);
    EXPECT_TRUE(c.CheckBusiness(kBusinessNinth9));
    EXPECT_EQ(c.CheckMsg(), "\xB8\xC2\xBE\xC6\xBF\xE4 !"); // 맞아요 !
    c.SetText("");
    EXPECT_FALSE(c.CheckNumber());
    EXPECT_EQ(c.CheckMsg(), "\xBA\xCE\xC1\xA4\xC8\xAE\xC7\xD1 \xBC\xF6"); // 부정확한 수
}

struct CitizenCase {
    std::string text; // the control's text
    bool valid;
    const char* message; // UTF-8
};

// Names the case by the control's text instead of dumping its bytes.
void PrintTo(const CitizenCase& c, std::ostream* os) { *os << QuotedText(c.text); }

class CitizenCheckTest : public ::testing::TestWithParam<CitizenCase> {};
TEST_P(CitizenCheckTest, CheckNumber)
{
    const CitizenCase& p = GetParam();
    RegNumberChecker c;
    c.SetText(p.text);
    EXPECT_EQ(c.CheckNumber(), p.valid) << "'" << p.text << "'";
    EXPECT_EQ(msg(c), p.message) << "'" << p.text << "'";
    EXPECT_EQ(c.Text(), p.text) << "the text is left unchanged";
}

const std::string dashed(const char* thirteen)
{
    return std::string(thirteen, 6) + "-" + std::string(thirteen + 6);
}

INSTANTIATE_TEST_SUITE_P(RegNumberChecker, CitizenCheckTest, ::testing::Values(
    CitizenCase{kOrdinary, true, "맞아요 <맞음>"},
    CitizenCase{dashed(kOrdinary), true, "맞아요 <맞음>"},
    CitizenCase{"  " + dashed(kOrdinary) + " \t", true, "맞아요 <맞음>"},
    CitizenCase{kRemainder1, true, "맞아요 <맞음>"},
    CitizenCase{kRemainder0, true, "맞아요 <맞음>"},
    CitizenCase{"8001011234561", false, "틀려요 <가짜!!>"},   // remainder 1 must give 0, not 10 or 1
    CitizenCase{"8001011234580", false, "틀려요 <가짜!!>"},   // remainder 0 must give 1, not 11 or 0
    CitizenCase{"8001011234576", false, "틀려요 <가짜!!>"},
    CitizenCase{kLeapDay2000Male, true, "맞아요 <맞음>"},
    CitizenCase{kLeapDay2000Female, true, "맞아요 <맞음>"},
    // 000229 with 1 or 2: 1900 is no leap year; February 29 gets the plain day message.
    CitizenCase{"0002291123450", false, "틀려요 ! 가짜 <날짜>"},
    CitizenCase{"0002292123450", false, "틀려요 ! 가짜 <날짜>"},
    CitizenCase{"0102293123450", false, "틀려요 ! 가짜 <날짜>"},  // 2001 either
    CitizenCase{"0002303123450", false, "틀려요 ! 가짜 <2월 날짜>"},
    CitizenCase{"0002003123450", false, "틀려요 ! 가짜 <2월 날짜>"},
    CitizenCase{"8004311123450", false, "틀려요 ! 가짜 <날짜>"},
    CitizenCase{"8006311123450", false, "틀려요 ! 가짜 <날짜>"},
    CitizenCase{"8009311123450", false, "틀려요 ! 가짜 <날짜>"},
    CitizenCase{"8011311123450", false, "틀려요 ! 가짜 <날짜>"},
    CitizenCase{"8001001123450", false, "틀려요 ! 가짜 <날짜>"},
    CitizenCase{"8001321123450", false, "틀려요 ! 가짜 <날짜>"},
    CitizenCase{"8000011123450", false, "틀려요 ! 가짜 <월>"},
    CitizenCase{"8013011123450", false, "틀려요 ! 가짜 <월>"},
    CitizenCase{"8013995123450", false, "틀려요 ! 가짜 <월>"},      // month before gender and day
    CitizenCase{"8001010123450", false, "틀려요 ! 가짜 <성별 부정확>"},
    CitizenCase{"8001015123450", false, "틀려요 ! 가짜 <성별 부정확>"},
    CitizenCase{"8001019123450", false, "틀려요 ! 가짜 <성별 부정확>"},
    CitizenCase{"8001325123450", false, "틀려요 ! 가짜 <성별 부정확>"}, // gender before day
    CitizenCase{"", false, "부정확한 수"},
    CitizenCase{"      -       ", false, "부정확한 수"},  // an empty masked box
    CitizenCase{"   ", false, "부정확한 수"},
    CitizenCase{"800101", false, "부정확한 수"},
    CitizenCase{"800101-123456", false, "부정확한 수"},
    CitizenCase{"800101 1234575", false, "부정확한 수"},   // a blank in place of the "-": 14 long
    CitizenCase{"80010112345755", false, "부정확한 수"},
    CitizenCase{"800101-12 4575", false, "숫자만 됩니다"}, // an unfilled position inside
    CitizenCase{"80o1011234575", false, "숫자만 됩니다"},
    CitizenCase{"8001011234-75", false, "숫자만 됩니다"}));

TEST(RegNumberChecker, February29Of1980IsALeapDay)
{
    // 800229-112345?: 8·2 + 0·3 + 0·4 + 2·5 + 2·6 + 9·7 + 1·8 + 1·9 + 2·2 + 3·3 + 4·4 + 5·5
    //               = 16 + 0 + 0 + 10 + 12 + 63 + 8 + 9 + 4 + 9 + 16 + 25 = 172 -> 7 -> 4.
    RegNumberChecker c;
    c.SetText("800229-1123454");
    EXPECT_TRUE(c.CheckNumber());
    EXPECT_EQ(msg(c), "맞아요 <맞음>");
    c.SetText("800229-1123450"); // the date passes; only the check digit is wrong
    EXPECT_FALSE(c.CheckNumber());
    EXPECT_EQ(msg(c), "틀려요 <가짜!!>");
}

TEST(RegNumberChecker, CheckCitizenDirectly)
{
    RegNumberChecker c;
    EXPECT_FALSE(c.CheckCitizen("800101-1234575"));
    EXPECT_EQ(msg(c), "틀려요 ! <가짜 입력>");
    EXPECT_FALSE(c.CheckCitizen(""));
    EXPECT_EQ(msg(c), "틀려요 ! <가짜 입력>");
    EXPECT_TRUE(c.CheckCitizen(kOrdinary));
    EXPECT_EQ(msg(c), "맞아요 <맞음>");
    // Not digits: no exception, just a verdict.
    EXPECT_NO_THROW(c.CheckCitizen("abcdefghijklm"));
    EXPECT_FALSE(c.CheckCitizen("abcdefghijklm"));
}

struct BusinessCase {
    std::string text;
    bool valid;
    const char* message;
};

// Names the case by the control's text instead of dumping its bytes.
void PrintTo(const BusinessCase& c, std::ostream* os) { *os << QuotedText(c.text); }

class BusinessCheckTest : public ::testing::TestWithParam<BusinessCase> {};
TEST_P(BusinessCheckTest, CheckNumber)
{
    const BusinessCase& p = GetParam();
    RegNumberChecker c;
    c.SetKind(TChkKind::ceBussiness);
    c.SetText(p.text);
    EXPECT_EQ(c.CheckNumber(), p.valid) << "'" << p.text << "'";
    EXPECT_EQ(msg(c), p.message) << "'" << p.text << "'";
}

INSTANTIATE_TEST_SUITE_P(RegNumberChecker, BusinessCheckTest, ::testing::Values(
    BusinessCase{kBusinessNinth9, true, "맞아요 !"},
    BusinessCase{"123-45-67891", true, "맞아요 !"},
    BusinessCase{" 123-45-67891 ", true, "맞아요 !"},
    BusinessCase{kBusinessCheck0, true, "맞아요 !"},
    BusinessCase{kBusinessNinth9Naive, false, "틀려요 !  가짜!!"},
    BusinessCase{"123-45-67890", false, "틀려요 !  가짜!!"},
    BusinessCase{"12345-67890", false, "부정확한 수"},     // the dash is not at the 4th and 7th place
    BusinessCase{"123-4567890", false, "부정확한 수"},     // only one of the two dashes
    BusinessCase{"", false, "부정확한 수"},
    BusinessCase{"   -  -     ", false, "부정확한 수"},
    BusinessCase{"123456789", false, "부정확한 수"},
    BusinessCase{"123 567891", false, "숫자만 됩니다"},
    BusinessCase{"123-4 -67891", false, "숫자만 됩니다"}));

TEST(RegNumberChecker, CheckBusinessDirectly)
{
    RegNumberChecker c;
    EXPECT_FALSE(c.CheckBusiness("123456789"));
    EXPECT_EQ(msg(c), "틀려요 !  적은 숫자!!");
    EXPECT_FALSE(c.CheckBusiness("123-45-67891"));
    EXPECT_EQ(msg(c), "틀려요 !  적은 숫자!!");
    EXPECT_TRUE(c.CheckBusiness(kBusinessCheck0));
    EXPECT_EQ(msg(c), "맞아요 !");
    EXPECT_NO_THROW(c.CheckBusiness("abcdefghij"));
}

TEST(RegNumberChecker, BusinessKindThroughCheckNumberUsesTheBusinessAlgorithm)
{
    RegNumberChecker c;
    c.SetKind(TChkKind::ceBussiness);
    c.SetText(kOrdinary); // 13 digits: wrong length for a business number
    EXPECT_FALSE(c.CheckNumber());
    EXPECT_EQ(msg(c), "부정확한 수");
}
