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
        const std::string wide = toCp949("넓은글자넓은글자넓은글자넓은글자넓은글자넓은글자넓은글자넓은글자");
        for (const std::string& line : FormRenderer().VisibleLines(item, wide))
            EXPECT_LE(QtTextWidths(item.font).TextWidth(VisiblePart(line)), item.box.width + 1e-9) << item.label;
    }
}

} // namespace
} // namespace lavodc::report
