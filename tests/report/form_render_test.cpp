#include "report/ptq_lvodoc.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

namespace lavodc::report {
namespace {

constexpr double kDpi = 127.0;   // five pixels a millimetre
constexpr double kPxPerMm = kDpi / 25.4;

int px(double mm)
{
    return static_cast<int>(mm * kPxPerMm);
}

bool darkAt(const QImage& image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

// A line drawn at `mm` may land on the pixel either side.
bool darkNear(const QImage& image, double xMm, double yMm)
{
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (darkAt(image, px(xMm) + dx, px(yMm) + dy))
                return true;
    return false;
}

// Dark runs met going down the column x between two heights.
int darkRunsDown(const QImage& image, double xMm, double fromMm, double toMm)
{
    int runs = 0;
    bool inRun = false;
    for (int y = px(fromMm); y <= px(toMm); ++y) {
        const bool dark = darkAt(image, px(xMm), y);
        if (dark && !inRun)
            ++runs;
        inRun = dark;
    }
    return runs;
}

double darkShareAcross(const QImage& image, double yMm, double fromMm, double toMm)
{
    int dark = 0;
    int all = 0;
    for (int x = px(fromMm); x <= px(toMm); ++x, ++all) {
        bool any = false;
        for (int dy = -1; dy <= 1; ++dy)
            any = any || darkAt(image, x, px(yMm) + dy);
        dark += any ? 1 : 0;
    }
    return static_cast<double>(dark) / all;
}

class FormRenderTest : public ::testing::Test {
protected:
    void SetUp() override { table.Open(); }

    QImage render(int topShift, int leftShift)
    {
        TPtqLvodocf form(table);
        form.SetMargins(MarginsFromShifts(topShift, leftShift));
        table.First();
        return form.RenderPage(1, kDpi);
    }

    WorkerTable table;
};

TEST_F(FormRenderTest, GridLinesStandWhereTheFormPutsThem)
{
    const QImage page = render(0, 0);
    ASSERT_EQ(page.width(), 1485);   // A4 landscape at five pixels a millimetre
    ASSERT_EQ(page.height(), 1050);

    const double left = 16.0;
    const double top = 14.0;
    // Title box: left edge on the left margin, right part of the form 266.70 mm further.
    EXPECT_TRUE(darkNear(page, left, top + 10.0));
    EXPECT_TRUE(darkNear(page, left + 266.70, top + 21.0));
    EXPECT_FALSE(darkNear(page, left - 2.0, top + 10.0));
    EXPECT_FALSE(darkNear(page, left + 268.0, top + 21.0));

    // Eight detail rows under the column header, each with its top border.
    EXPECT_EQ(darkRunsDown(page, left + 7.0, top + 59.0, top + 148.0), 8);
    // The footer's last rectangles end 35.72 mm below its top, which lies on the bottom margin.
    EXPECT_TRUE(darkNear(page, left + 5.0, top + 148.43 + 35.72));
    EXPECT_FALSE(darkNear(page, left + 5.0, top + 148.43 + 37.0));

    // The day columns are split by a solid line in the column header and a dotted one in each row.
    EXPECT_GT(darkShareAcross(page, top + 48.4 + 6.085, left + 121.0, left + 198.0), 0.95);
    const double dotted = darkShareAcross(page, top + 59.5 + 5.555, left + 121.0, left + 198.0);
    EXPECT_GT(dotted, 0.2);
    EXPECT_LT(dotted, 0.9);
}

TEST_F(FormRenderTest, ShiftsMoveEveryItemByTheSameAmount)
{
    const QImage plain = render(0, 0);
    const QImage shifted = render(50, -30);   // 5 mm down, 3 mm left
    const int dx = px(-3.0);
    const int dy = px(5.0);

    EXPECT_TRUE(darkNear(shifted, 13.0, 24.0));
    EXPECT_FALSE(darkNear(shifted, 16.0, 24.0));

    int compared = 0;
    int differing = 0;
    for (int y = px(10.0); y < px(200.0); ++y)
        for (int x = px(10.0); x < px(285.0); ++x, ++compared)
            if (darkAt(plain, x, y) != darkAt(shifted, x + dx, y + dy))
                ++differing;
    EXPECT_LT(differing, compared / 1000) << differing << " of " << compared << " pixels differ";
}

} // namespace
} // namespace lavodc::report
