#pragma once
// Where the bands of one page go: stacked from the top margin with heights rounded to
// tenths of a millimetre, detail rows while they end above the footer, the footer on the
// bottom margin. Every page of the form has the same plan.

#include "report/form_layout.h"
#include "report/report_labels.h"

#include <vector>

namespace lavodc::report {

struct PagePlan {
    double pageHeaderTop = 0;           // millimetres below the top margin
    double columnHeaderTop = 0;
    std::vector<double> detailTops;     // as many rows as fit
    double pageFooterTop = 0;
};

PagePlan PlanPage(const FormLayout& layout);

// A band's height as the page advances by it: rounded to whole tenths of a millimetre.
double AdvanceOf(double bandHeight);

// What one page shows besides the fixed captions: its number and its detail rows.
struct PageContent {
    int pageNumber = 0;
    std::vector<DetailTexts> rows;
};

} // namespace lavodc::report
