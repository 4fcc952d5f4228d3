#include "report/report_captions.h"

#include "core/cp949.h"

#include <gtest/gtest.h>

#include <map>

namespace lavodc::report {
namespace {

std::map<std::string, std::string> captionsUtf8(const SheetHeader& header, std::string_view date)
{
    std::map<std::string, std::string> byLabel;
    for (const CaptionText& caption : ReportCaptions(header, date))
        byLabel[caption.label] = fromCp949(caption.text);
    return byLabel;
}

TEST(ReportCaptionsTest, ElevenLabelsFromTheSheetHeaderAndDate)
{
    SheetHeader header;
    header.gsName = toCp949("한빛 신축공사");
    header.gsyear = "2010";
    header.gmonth = "01";
    header.cmpNo = "123-45-67890-0";
    header.indNo = "77-001";
    header.indName = toCp949("한빛건설");
    header.MgrName = toCp949("김관리");
    header.MgrJmnNo = "700101-1234567";
    header.cmpAddr = toCp949("대전 유성구");
    header.cmpTel = "042-123-4567";
    header.cmpName = toCp949("박대표");

    const auto captions = ReportCaptions(header, "2010.01.27");
    ASSERT_EQ(captions.size(), 11u);
    EXPECT_EQ(captions.front().label, "HRTitl");
    EXPECT_EQ(captions.back().label, "prtday");

    const auto byLabel = captionsUtf8(header, "2010.01.27");
    EXPECT_EQ(byLabel.at("HRTitl"), "근로내역확인신고서 ( 2010 년 01 월분 )");
    EXPECT_EQ(byLabel.at("prtday"), "2010 년     01 월     27 일");
    EXPECT_EQ(byLabel.at("cmpTel"), "( 전화번호 :  042-123-4567    )");
    EXPECT_EQ(byLabel.at("cmpName"), "신고인(사업주·대표자):   박대표   (서명 또는 인)");
    EXPECT_EQ(byLabel.at("MgrJmnNo"), "700101-1234567");
    EXPECT_EQ(byLabel.at("gsName"), "한빛 신축공사");
    EXPECT_EQ(byLabel.at("cmpAddr"), "대전 유성구");
}

TEST(ReportCaptionsTest, EmptyDateLeavesBlanksWhereTheNumbersStand)
{
    SheetHeader header;
    header.gsyear = "    ";
    header.gmonth = "  ";
    const auto byLabel = captionsUtf8(header, "");
    EXPECT_EQ(byLabel.at("prtday"), "     년        월        일");
    EXPECT_EQ(byLabel.at("cmpTel"), "( 전화번호 :                  )");
    EXPECT_EQ(captionsUtf8(header, "    .  .  ").at("prtday"), byLabel.at("prtday"));
}

TEST(MarginsFromShiftsTest, ShiftMovesTheAreaAndKeepsItsSize)
{
    struct Case {
        int top, left;
        ReportMargins expected;
    };
    for (const Case& c : {Case{0, 0, {140, 100, 160, 100}}, Case{5, -3, {145, 95, 157, 103}},
                          Case{100, 100, {240, 0, 260, 0}}, Case{150, 120, {290, 0, 280, 0}},
                          Case{-20, -40, {120, 120, 120, 140}}}) {
        const ReportMargins m = MarginsFromShifts(c.top, c.left);
        EXPECT_EQ(m.top, c.expected.top) << c.top << "," << c.left;
        EXPECT_EQ(m.bottom, c.expected.bottom) << c.top << "," << c.left;
        EXPECT_EQ(m.left, c.expected.left) << c.top << "," << c.left;
        EXPECT_EQ(m.right, c.expected.right) << c.top << "," << c.left;
    }
}

} // namespace
} // namespace lavodc::report
