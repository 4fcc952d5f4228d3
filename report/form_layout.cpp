#include "report/form_layout.h"

#include "core/cp949.h"

#include <cstdio>

namespace lavodc::report {
namespace {

constexpr FontSpec kGulim8{FontFace::Gulim, 8.0, FontStyle::Regular};
constexpr FontSpec kGulim9{FontFace::Gulim, 9.0, FontStyle::Regular};
constexpr FontSpec kBatang9{FontFace::Batang, 9.0, FontStyle::Regular};

constexpr double kGridHeight = 11.11;
constexpr double kDayColumnStep = 5.2917;
constexpr int kDayColumns = 16;

void addRect(Band& band, double left, double top, double width, double height)
{
    band.rects.push_back({left, top, width, height});
}

void addCaption(Band& band, const char* utf8, BoxMm box, FontSpec font, TextAlign align, LineRule lines)
{
    band.texts.push_back({box, font, align, lines, K(utf8), {}});
}

void addLabel(Band& band, const char* name, BoxMm box, FontSpec font, TextAlign align, LineRule lines)
{
    band.texts.push_back({box, font, align, lines, {}, name});
}

Band pageHeaderBand()
{
    Band band{BandKind::PageHeader, 48.42, {}, {}, {}};
    addRect(band, 0.00, 4.50, 249.24, 13.23);
    addRect(band, 248.97, 4.50, 17.73, 6.61);
    addRect(band, 248.97, 10.85, 17.73, 6.88);
    addRect(band, 0.00, 17.46, 66.15, 7.94);
    addRect(band, 65.88, 17.46, 64.82, 7.94);
    addRect(band, 130.44, 17.46, 32.01, 7.94);
    addRect(band, 162.19, 17.46, 104.51, 7.94);
    addRect(band, 0.00, 25.14, 40.22, 7.94);
    addRect(band, 39.95, 25.14, 90.75, 7.94);
    addRect(band, 130.44, 25.14, 32.01, 7.94);
    addRect(band, 162.19, 25.14, 104.51, 7.94);
    addRect(band, 0.00, 32.81, 40.22, 7.94);
    addRect(band, 39.95, 32.81, 226.75, 7.94);
    addRect(band, 0.00, 40.48, 40.22, 7.94);
    addRect(band, 39.95, 40.48, 24.34, 7.94);
    addRect(band, 64.03, 40.48, 66.67, 7.94);
    addRect(band, 130.44, 40.48, 32.01, 7.94);
    addRect(band, 162.19, 40.48, 104.51, 7.94);

    const auto C = TextAlign::Centre;
    const auto L = TextAlign::Left;
    const auto one = LineRule::OneLine;
    addCaption(band, "[별지 제14호의 2서식]", {0.00, 0.79, 35.98, 3.70}, kGulim9, C, LineRule::Wrap);
    addLabel(band, "QRSysData1", {244.21, 0.79, 19.31, 3.70}, {FontFace::Gulim, 9.0, FontStyle::Italic},
             TextAlign::Right, one);
    addLabel(band, "HRTitl", {81.23, 8.47, 92.60, 4.23}, {FontFace::Gulim, 11.0, FontStyle::Bold}, C, one);
    addCaption(band, "처리기간", {250.30, 6.35, 15.08, 3.44}, kGulim9, C, one);
    addCaption(band, "7 일", {250.30, 12.44, 15.08, 3.44}, kGulim9, C, one);
    addCaption(band, "사업장관리번호(또는 하수급인 관리번호)", {2.38, 19.84, 61.12, 3.44}, kGulim9, L, one);
    addLabel(band, "cmpNo", {67.20, 19.84, 62.44, 3.44}, kBatang9, L, one);
    addCaption(band, "사 무 조 합 번 호", {131.50, 19.84, 29.90, 3.44}, kGulim9, C, one);
    addLabel(band, "indNo", {163.51, 19.84, 101.86, 3.44}, kBatang9, L, one);
    addCaption(band, "사 업 장 명 (사무조합명)", {2.38, 27.52, 36.51, 3.44}, kGulim9, L, one);
    addLabel(band, "indName", {41.54, 27.52, 88.11, 3.44}, kBatang9, L, one);
    addCaption(band, "공       사        명", {131.50, 27.52, 29.90, 3.44}, kGulim9, C, one);
    addLabel(band, "gsName", {163.51, 27.52, 101.86, 3.44}, kBatang9, L, one);
    addCaption(band, "소           재            지", {2.38, 35.45, 36.51, 3.44}, kGulim9, L, one);
    addLabel(band, "cmpAddr", {41.54, 35.45, 160.87, 3.44}, kBatang9, L, one);
    addLabel(band, "cmpTel", {203.73, 35.45, 61.65, 3.44}, kBatang9, C, one);
    addCaption(band, "고  용  관  리  책  임 자", {2.38, 42.86, 36.51, 3.44}, kGulim9, L, one);
    addCaption(band, "성      명", {41.54, 42.86, 21.96, 3.44}, kGulim9, C, one);
    addLabel(band, "MgrName", {65.88, 42.86, 63.76, 3.44}, kBatang9, L, one);
    addCaption(band, "주 민 등 록 번 호", {131.50, 42.86, 29.90, 3.44}, kGulim9, C, one);
    addLabel(band, "MgrJmnNo", {163.51, 42.86, 101.86, 3.44}, kBatang9, L, one);
    return band;
}

// The 24 column rectangles and the line through the day columns, shared by the
// column header and the detail rows.
void addWorkerGrid(Band& band, double lineTop, LineStyle lineStyle)
{
    addRect(band, 0.00, 0.00, 14.82, kGridHeight);
    addRect(band, 14.55, 0.00, 25.66, kGridHeight);
    addRect(band, 39.95, 0.00, 59.27, kGridHeight);
    addRect(band, 98.95, 0.00, 21.17, kGridHeight);
    for (int k = 1; k <= kDayColumns; ++k)
        addRect(band, 119.86 + kDayColumnStep * (k - 1), 0.00, 5.56, kGridHeight);
    addRect(band, 204.52, 0.00, 8.73, kGridHeight);
    addRect(band, 212.99, 0.00, 14.55, kGridHeight);
    addRect(band, 227.28, 0.00, 16.67, kGridHeight);
    addRect(band, 243.68, 0.00, 23.02, kGridHeight);
    band.lines.push_back({{119.86, lineTop, 84.93, 0.53}, lineStyle});
}

double dayCellLeft(int column)
{
    // Columns 14 and 15 sit a little to the right of the regular step on the form.
    if (column == 14)
        return 189.44;
    if (column == 15)
        return 194.73;
    return 120.39 + kDayColumnStep * (column - 1);
}

constexpr double kUpperDayTop = 1.59;
constexpr double kLowerDayTop = 6.88;

BoxMm dayCell(int column, double top)
{
    return {dayCellLeft(column), top, 4.50, 3.44};
}

Band columnHeaderBand()
{
    Band band{BandKind::ColumnHeader, kGridHeight, {}, {}, {}};
    addWorkerGrid(band, 5.82, LineStyle::Solid);
    const auto C = TextAlign::Centre;
    const auto one = LineRule::OneLine;
    const auto wrap = LineRule::Wrap;
    addCaption(band, "성  명", {1.59, 4.50, 10.85, 3.44}, kGulim9, C, one);
    addCaption(band, "주민등록번호", {16.14, 4.50, 21.70, 3.44}, kGulim9, C, one);
    addCaption(band, "  주    소    또 는   이  메  일  [전 화 번 호 또 는 휴 대 폰]",
               {44.98, 2.65, 46.30, 7.41}, kGulim9, C, wrap);
    addCaption(band, "직    종", {100.81, 4.50, 16.14, 3.44}, kGulim9, C, one);
    for (int k = 1; k <= kDayColumns; ++k) {
        char upper[4];
        char lower[4];
        std::snprintf(upper, sizeof upper, "%2d", k);
        std::snprintf(lower, sizeof lower, "%2d", k + 15);
        addCaption(band, k == kDayColumns ? "／" : upper, dayCell(k, kUpperDayTop), kGulim9, C, wrap);
        addCaption(band, lower, dayCell(k, kLowerDayTop), kGulim9, C, wrap);
    }
    addCaption(band, "근로 일수", {205.32, 2.65, 7.41, 7.14}, kGulim9, C, wrap);
    addCaption(band, " 일 편균 근로시간", {213.78, 2.65, 13.23, 7.14}, kGulim9, C, wrap);
    addCaption(band, "임금총액", {228.60, 4.23, 14.02, 3.44}, kGulim9, C, one);
    addCaption(band, "이직사유", {247.12, 4.23, 14.02, 3.44}, kGulim9, C, one);
    return band;
}

Band detailBand()
{
    Band band{BandKind::Detail, kGridHeight, {}, {}, {}};
    addWorkerGrid(band, 5.29, LineStyle::Dotted);
    const auto L = TextAlign::Left;
    const auto R = TextAlign::Right;
    const auto wrap = LineRule::Wrap;
    addLabel(band, "pName", {0.79, 3.44, 13.23, 7.14}, kBatang9, L, wrap);
    addLabel(band, "JmnNo", {15.35, 3.70, 23.55, 3.44}, kGulim8, TextAlign::Centre, LineRule::OneLine);
    addLabel(band, "nAddr", {41.28, 2.65, 56.89, 7.41}, kBatang9, L, wrap);
    band.texts.back().addressAndPhone = true;
    addLabel(band, "nName", {99.75, 2.65, 19.84, 7.41}, kBatang9, L, wrap);
    addLabel(band, "nEtc", {244.74, 2.65, 20.64, 7.41}, kBatang9, L, wrap);
    addLabel(band, "nNal", {205.32, 4.50, 7.14, 3.44}, kBatang9, R, wrap);
    addLabel(band, "nDay", {214.05, 4.50, 11.64, 3.44}, kBatang9, R, wrap);
    band.texts.back().keepWhole = true;   // "7.25시간" is wider than the box
    addLabel(band, "SmMny", {227.81, 4.50, 15.35, 3.44}, kGulim8, R, wrap);
    band.texts.back().keepWhole = true;
    for (int k = 1; k <= kDayColumns; ++k) {
        char upper[4];
        char lower[4];
        std::snprintf(upper, sizeof upper, "d%02d", k);
        std::snprintf(lower, sizeof lower, "d%02d", k + 15);
        if (k < kDayColumns)
            addLabel(band, upper, dayCell(k, kUpperDayTop), kGulim9, TextAlign::Centre, wrap);
        addLabel(band, lower, dayCell(k, kLowerDayTop), kGulim9, TextAlign::Centre, wrap);
    }
    return band;
}

Band pageFooterBand()
{
    Band band{BandKind::PageFooter, 37.57, {}, {}, {}};
    addRect(band, 0.00, 0.00, 266.70, 23.81);
    addRect(band, 0.00, 25.14, 17.99, 10.58);
    addRect(band, 17.73, 25.14, 14.55, 5.56);
    addRect(band, 17.73, 30.43, 14.55, 5.29);
    addRect(band, 32.01, 25.14, 34.66, 5.56);
    addRect(band, 32.01, 30.43, 34.66, 5.29);
    addRect(band, 66.41, 25.14, 21.96, 10.58);
    addRect(band, 88.11, 25.14, 14.82, 10.58);
    addRect(band, 102.66, 25.14, 21.17, 10.58);
    addRect(band, 123.56, 25.14, 14.55, 10.58);
    addRect(band, 137.85, 25.14, 21.17, 10.58);
    addRect(band, 158.75, 25.14, 14.55, 10.58);
    addRect(band, 173.04, 25.14, 21.17, 10.58);
    addRect(band, 193.94, 25.14, 14.55, 10.58);
    addRect(band, 208.23, 25.14, 21.17, 10.58);
    addRect(band, 229.13, 25.14, 37.57, 5.56);
    addRect(band, 229.13, 30.43, 37.57, 5.29);

    const auto C = TextAlign::Centre;
    const auto one = LineRule::OneLine;
    const auto wrap = LineRule::Wrap;
    addCaption(band,
               "고용보험법시행령 제10조 제1항 단서 및 동법시행규칙 제12조 제1항 단서의 규정에 따라 위와 같이 "
               "확인하여 신고합니다.",
               {51.33, 2.38, 174.10, 3.44}, kGulim9, C, one);
    addLabel(band, "prtday", {89.96, 7.14, 68.79, 3.44}, kGulim9, C, one);
    addLabel(band, "cmpName", {55.03, 11.91, 87.31, 3.44}, kGulim9, C, one);
    addCaption(band, "□ 고용보험사무조합:                        (서명 또는 인)", {141.82, 11.91, 82.02, 3.44},
               kGulim9, C, one);
    addCaption(band, "지방노동(청·사무소)장 귀하", {89.96, 17.73, 68.79, 3.44}, kGulim9, C, one);
    addCaption(band, "접  수", {2.12, 29.10, 12.17, 3.44}, kGulim9, C, one);
    addCaption(band, "번  호", {19.05, 26.72, 12.17, 3.44}, kGulim9, C, one);
    addCaption(band, "일  자", {19.05, 31.22, 12.17, 3.44}, kGulim9, C, one);
    addCaption(band, ".          .", {33.60, 31.22, 30.69, 3.44}, kGulim9, C, one);
    addCaption(band, ".          .", {232.83, 31.22, 30.69, 3.44}, kGulim9, C, one);
    addCaption(band, "결  재", {71.17, 29.10, 12.17, 3.44}, kGulim9, C, one);
    addCaption(band, "담 당", {91.81, 26.99, 4.23, 7.41}, kGulim9, C, wrap);
    addCaption(band, "팀 장", {128.85, 26.99, 4.23, 7.41}, kGulim9, C, wrap);
    addCaption(band, "과 장", {164.04, 26.99, 4.23, 7.41}, kGulim9, C, wrap);
    addCaption(band, " 청 (소)  장 ", {198.44, 25.93, 6.88, 9.53}, kGulim9, C, wrap);
    addCaption(band, "결 재 연 월 일", {234.42, 26.19, 26.19, 3.44}, kGulim9, C, one);
    return band;
}

} // namespace

const FormLayout& ReportFormLayout()
{
    static const FormLayout layout = [] {
        FormLayout form;
        form.pageHeader = pageHeaderBand();
        form.columnHeader = columnHeaderBand();
        form.detail = detailBand();
        form.pageFooter = pageFooterBand();
        return form;
    }();
    return layout;
}

} // namespace lavodc::report
