#include "report/page_composer.h"

#include <gtest/gtest.h>

namespace lavodc::report {
namespace {

TEST(PlanPageTest, FormFitsEightRowsBetweenTheHeadersAndTheFooter)
{
    const PagePlan plan = PlanPage(ReportFormLayout());
    EXPECT_DOUBLE_EQ(plan.pageHeaderTop, 0.0);
    EXPECT_NEAR(plan.columnHeaderTop, 48.4, 1e-9);
    ASSERT_EQ(plan.detailTops.size(), 8u);
    EXPECT_NEAR(plan.detailTops.front(), 59.5, 1e-9);
    EXPECT_NEAR(plan.detailTops.back(), 137.2, 1e-9);
    EXPECT_NEAR(plan.pageFooterTop, 148.43, 1e-9);
}

TEST(PlanPageTest, RowsStopWhereTheNextWouldRunIntoTheFooter)
{
    struct Case {
        double detailHeight;
        std::size_t rows;
    };
    for (const Case c : {Case{20.0, 4}, Case{11.14, 8}, Case{11.16, 7}, Case{88.93, 1}, Case{89.0, 0}}) {
        FormLayout layout = ReportFormLayout();
        layout.detail.height = c.detailHeight;
        EXPECT_EQ(PlanPage(layout).detailTops.size(), c.rows) << "rows of " << c.detailHeight << " mm";
    }
}

TEST(PlanPageTest, AdvanceRoundsToTenths)
{
    EXPECT_NEAR(AdvanceOf(48.42), 48.4, 1e-12);
    EXPECT_NEAR(AdvanceOf(11.11), 11.1, 1e-12);
    EXPECT_NEAR(AdvanceOf(37.57), 37.6, 1e-12);
}

} // namespace
} // namespace lavodc::report
