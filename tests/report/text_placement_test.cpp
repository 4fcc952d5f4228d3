// Line breaking with the faces the form is printed in: what each box really shows.
#include "report/form_renderer.h"
#include "report/report_filling.h"

#include "core/cp949.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace lavodc::report {
namespace {

const TextItem& itemIn(const Band& band, const std::string& labelOrCaptionUtf8)
{
    const std::string caption = toCp949(labelOrCaptionUtf8);
    for (const TextItem& item : band.texts)
        if (item.label == labelOrCaptionUtf8 || (item.label.empty() && item.caption == caption))
            return item;
    throw std::invalid_argument("no text item " + labelOrCaptionUtf8);
}

std::vector<std::string> shown(const TextItem& item, const std::string& utf8)
{
    const FormRenderer renderer;
    std::vector<std::string> lines;
    for (const std::string& line : renderer.VisibleLines(item, toCp949(utf8)))
        lines.push_back(fromCp949(VisiblePart(line)));
    return lines;
}

using Lines = std::vector<std::string>;

TEST(TextPlacementTest, CaptionsStackAsOnTheForm)
{
    const FormLayout& form = ReportFormLayout();
    EXPECT_EQ(shown(itemIn(form.columnHeader, "근로 일수"), "근로 일수"), (Lines{"근로", "일수"}));
    EXPECT_EQ(shown(itemIn(form.columnHeader, " 일 편균 근로시간"), " 일 편균 근로시간"), (Lines{" 일 편균", "근로시간"}));
    EXPECT_EQ(shown(itemIn(form.pageFooter, "담 당"), "담 당"), (Lines{"담", "당"}));
    EXPECT_EQ(shown(itemIn(form.pageFooter, " 청 (소)  장 "), " 청 (소)  장 "), (Lines{" 청", "(소)", "장"}));
    EXPECT_EQ(shown(itemIn(form.pageHeader, "[별지 제14호의 2서식]"), "[별지 제14호의 2서식]"),
              (Lines{"[별지 제14호의 2서식]"}));
}

TEST(TextPlacementTest, DetailTextsWrapAtTheirBreakPoints)
{
    const Band& detail = ReportFormLayout().detail;
    const auto drawn = [&](const char* label, const std::string& utf8) {
        return shown(itemIn(detail, label), fromCp949(PrintTimeText(label, toCp949(utf8))));
    };
    EXPECT_EQ(drawn("pName", "가나다라"), (Lines{"가나다라"}));
    EXPECT_EQ(drawn("pName", "가나다라마"), (Lines{"가나다", "라마"}));
    EXPECT_EQ(drawn("nEtc", "1.회사사정에 의한 이직"), (Lines{"1.회사사정에", "의한 이직"}));
    EXPECT_EQ(drawn("nNal", "17"), (Lines{"17일"}));
    // A name with a blank breaks there, not inside a word.
    EXPECT_EQ(drawn("pName", "John Smith"), (Lines{"John", "Smith"}));
}

TEST(TextPlacementTest, TheAddressBoxPrintsTheWholeAddressAndTheTelephoneOnItsOwnLine)
{
    const TextItem& box = itemIn(ReportFormLayout().detail, "nAddr");
    const auto drawn = [&](const char* address, const char* tel) {
        return shown(box, fromCp949(AddressText(toCp949(address), tel)));
    };
    // 61 bytes: before, "701호" was cut off and the telephone glued to the address.
    ASSERT_EQ(toCp949("경기도 성남시 분당구 정자일로 1234번길 한빛아파트 101동 701호").size(), 61u);
    const char* longAddress = "경기도 성남시 분당구 정자일로 1234번길 한빛아파트 101동 701호";
    const Lines withPhone = drawn(longAddress, "(031)1234-5678");
    EXPECT_EQ(withPhone, (Lines{longAddress, "(031)1234-5678"}));

    // Without a telephone the address takes both lines, breaking at a blank.
    const Lines alone = drawn("대전광역시 유성구 어은동 한빛아파트 101동 1702호", "   ");
    ASSERT_EQ(alone.size(), 2u);
    EXPECT_EQ(alone[0] + " " + alone[1], "대전광역시 유성구 어은동 한빛아파트 101동 1702호");
    EXPECT_NE(alone[0].back(), ' ');

    // The longest address the sheet holds, with a telephone: nothing is lost.
    const std::string seventy = "서울특별시 강남구 테헤란로 12345길 678 한빛타워 오피스텔 1702호 가나다";
    ASSERT_EQ(toCp949(seventy).size(), 70u);
    const Lines longest = drawn(seventy.c_str(), "(010)9876-5432");
    EXPECT_EQ(longest, (Lines{seventy, "(010)9876-5432"}));
    EXPECT_EQ(drawn("서울 중구", ""), (Lines{"서울 중구"}));
}

TEST(TextPlacementTest, BoxesNeverShowMoreThanFits)
{
    const FormLayout& form = ReportFormLayout();
    const TextItem& cmpNo = itemIn(form.pageHeader, "cmpNo");
    const Lines header = shown(cmpNo, "가나다 라마바 사아자 차카타 파하 가나다 라마바 사아자 차카타 파하 끝말");
    ASSERT_EQ(header.size(), 1u);
    EXPECT_EQ(header[0].substr(0, 10), "가나다 ");
    EXPECT_EQ(header[0].find("끝말"), std::string::npos);

    const TextItem& job = itemIn(form.detail, "nName");   // two lines of about six syllables
    const Lines lines = shown(job, "가나다라마 바사아자차 카타파하 거너더러");
    EXPECT_EQ(lines.size(), 2u);

    for (const TextItem& item : form.detail.texts) {
        if (item.addressAndPhone)
            continue;   // drawn condensed, never cut
        const std::string wide = toCp949("넓은글자넓은글자넓은글자넓은글자넓은글자넓은글자넓은글자넓은글자");
        for (const std::string& line : FormRenderer().VisibleLines(item, wide))
            EXPECT_LE(QtTextWidths(item.font).TextWidth(VisiblePart(line)), item.box.width + 1e-9) << item.label;
    }
}

} // namespace
} // namespace lavodc::report
