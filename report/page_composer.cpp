#include "report/page_composer.h"

#include <cmath>

namespace lavodc::report {

double AdvanceOf(double bandHeight)
{
    return std::round(bandHeight * 10.0) / 10.0;
}

PagePlan PlanPage(const FormLayout& layout)
{
    constexpr double tolerance = 1e-9;
    PagePlan plan;
    plan.pageFooterTop = layout.areaHeight - layout.pageFooter.height;

    double y = 0;
    plan.pageHeaderTop = y;
    y += AdvanceOf(layout.pageHeader.height);
    plan.columnHeaderTop = y;
    y += AdvanceOf(layout.columnHeader.height);
    while (y + layout.detail.height <= plan.pageFooterTop + tolerance) {
        plan.detailTops.push_back(y);
        y += AdvanceOf(layout.detail.height);
    }
    return plan;
}

} // namespace lavodc::report
