#include "report/ptq_lvodoc.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace lavodc::report {
namespace {

constexpr double kTenthsPerMm = 10.0;
constexpr double kMmPerInch = 25.4;

} // namespace

TPtqLvodocf::TPtqLvodocf(WorkerTable& table)
    : table_(table), filling_(table, detail_), plan_(PlanPage(ReportFormLayout()))
{
    for (const std::string& name : CaptionLabelNames())
        captions_[name];
}

void TPtqLvodocf::SetLabelText(std::string_view name, std::string text)
{
    if (const int index = DetailLabelIndex(name); index >= 0) {
        detail_[index] = std::move(text);
        return;
    }
    const auto it = captions_.find(name);
    if (it == captions_.end())
        throw std::invalid_argument("no label named " + std::string(name));
    it->second = std::move(text);
}

std::string TPtqLvodocf::LabelText(std::string_view name) const
{
    if (const int index = DetailLabelIndex(name); index >= 0)
        return detail_[index];
    if (name == kPageNumberLabel)
        return currentPage_ > 0 ? std::to_string(currentPage_) : std::string();
    const auto it = captions_.find(name);
    if (it == captions_.end())
        throw std::invalid_argument("no label named " + std::string(name));
    return it->second;
}

void TPtqLvodocf::SetCaptions(const std::vector<CaptionText>& captions)
{
    for (const CaptionText& caption : captions)
        SetLabelText(caption.label, caption.text);
}

int TPtqLvodocf::Prepare()
{
    pageCount_ = runPages(nullptr, 0, 0);
    return pageCount_;
}

int TPtqLvodocf::Run(const PageSink& onPage, int firstPage, int lastPage)
{
    int delivered = 0;
    const PageSink counted = [&](const PageContent& page) {
        ++delivered;
        onPage(page);
    };
    pageCount_ = runPages(&counted, firstPage, lastPage);
    return delivered;
}

int TPtqLvodocf::runPages(const PageSink* onPage, int firstPage, int lastPage)
{
    const std::size_t rowsPerPage = plan_.detailTops.size();
    const auto wanted = [&](int page) {
        return onPage != nullptr && page >= std::max(firstPage, 1) && (lastPage <= 0 || page <= lastPage);
    };

    filling_.QuickRepBeforePrint();
    PageContent page;
    page.pageNumber = 1;
    currentPage_ = 1;
    std::size_t rowsOnPage = 0;
    int pages = 0;
    const auto closePage = [&] {
        ++pages;
        if (wanted(page.pageNumber))
            (*onPage)(page);
        page.rows.clear();
        rowsOnPage = 0;
        ++page.pageNumber;
        currentPage_ = page.pageNumber;
    };

    while (filling_.QuickRepNeedData()) {
        if (rowsOnPage == rowsPerPage)
            closePage();
        filling_.QRBand3BeforePrint();
        if (wanted(page.pageNumber))
            page.rows.push_back(detail_);
        ++rowsOnPage;
    }
    closePage();   // every page, the last one included, is closed by its footer
    currentPage_ = 0;
    return pages;
}

void TPtqLvodocf::DrawPage(QPainter& painter, const PageContent& page) const
{
    renderer_.DrawPage(painter, margins_.left / kTenthsPerMm, margins_.top / kTenthsPerMm, page,
                       [this](std::string_view label) { return LabelText(label); });
}

int TPtqLvodocf::PagesInRange(int firstPage, int lastPage) const
{
    const int first = std::max(firstPage, 1);
    const int last = lastPage <= 0 ? pageCount_ : std::min(lastPage, pageCount_);
    return std::max(0, last - first + 1);
}

int TPtqLvodocf::Print(QPagedPaintDevice& device, int firstPage, int lastPage, const PageProgress& progress)
{
    // The margins are ours to draw: the device gets the whole sheet, its corner as origin.
    QPageLayout sheet(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0),
                      QPageLayout::Millimeter);
    sheet.setMode(QPageLayout::FullPageMode);
    device.setPageLayout(sheet);
    if (auto* printer = dynamic_cast<QPrinter*>(&device))
        printer->setFullPage(true);

    QPainter painter;
    bool started = false;
    int done = 0;
    const int total = PagesInRange(firstPage, lastPage);
    const int drawn = Run(
        [&](const PageContent& page) {
            if (!started) {
                if (!painter.begin(&device))
                    throw ReportOutputError("The output device could not be opened");
                started = true;
            } else if (!device.newPage()) {
                throw ReportOutputError("The output device refused a new page");
            }
            DrawPage(painter, page);
            if (progress && !progress(++done, total))
                throw ReportCancelled();
        },
        firstPage, lastPage);
    if (started && !painter.end())
        throw ReportOutputError("The output could not be finished");
    return drawn;
}

QImage TPtqLvodocf::RenderPage(int pageNumber, double dpi)
{
    const FormLayout& layout = ReportFormLayout();
    const auto pixels = [dpi](double mm) { return static_cast<int>(std::lround(mm * dpi / kMmPerInch)); };
    QImage image(pixels(layout.paperWidth), pixels(layout.paperHeight), QImage::Format_RGB32);
    const int dotsPerMeter = static_cast<int>(std::lround(dpi / kMmPerInch * 1000.0));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);

    QPainter painter(&image);
    Run([&](const PageContent& page) { DrawPage(painter, page); }, pageNumber, pageNumber);
    painter.end();
    return image;
}

} // namespace lavodc::report
