#pragma once
// The report form: its data labels, margins and the two runs over the worker table —
// counting (page count, nothing drawn) and printing (pages drawn on a paged device).
// Both runs walk the table from its current row; the caller puts it on the first row.

#include "report/form_renderer.h"
#include "report/page_composer.h"
#include "report/report_captions.h"
#include "report/report_filling.h"
#include "report/report_labels.h"

#include "core/worker_table.h"

#include <QImage>

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace lavodc::report {

// The output device could not be started (an unwritable file, a printer that refused).
class ReportOutputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The user stopped a printing run from its progress window; nothing more was drawn.
class ReportCancelled : public std::runtime_error {
public:
    ReportCancelled() : std::runtime_error("printing cancelled") {}
};

// Told after each page drawn, with the pages drawn so far and the pages the run will draw;
// false stops the run (ReportCancelled).
using PageProgress = std::function<bool(int drawn, int total)>;

class TPtqLvodocf {
public:
    explicit TPtqLvodocf(WorkerTable& table);

    // Every data label by name; an unknown name raises std::invalid_argument.
    void SetLabelText(std::string_view name, std::string text);
    std::string LabelText(std::string_view name) const;
    void SetCaptions(const std::vector<CaptionText>& captions);

    void SetMargins(const ReportMargins& margins) { margins_ = margins; }
    const ReportMargins& Margins() const { return margins_; }

    // Counting run: lays out every page without drawing; yields the page count.
    int Prepare();
    int PageCount() const { return pageCount_; }

    // Printing run onto a PDF writer or a printer: pages firstPage..lastPage, 0 meaning
    // the first or the last page. Returns the number of pages drawn.
    int Print(QPagedPaintDevice& device, int firstPage = 0, int lastPage = 0, const PageProgress& progress = {});
    // Pages a printing run over the range draws, from the last counting run.
    int PagesInRange(int firstPage, int lastPage) const;

    // Printing run handing each page in the range to `onPage` instead of a device.
    using PageSink = std::function<void(const PageContent&)>;
    int Run(const PageSink& onPage, int firstPage = 0, int lastPage = 0);

    // One page drawn at the margins on an A4 landscape device of any resolution.
    void DrawPage(QPainter& painter, const PageContent& page) const;
    // Printing run for one page, drawn on a white image at `dpi`.
    QImage RenderPage(int pageNumber, double dpi);

    const FormRenderer& Renderer() const { return renderer_; }

private:
    int runPages(const PageSink* onPage, int firstPage, int lastPage);

    WorkerTable& table_;
    DetailTexts detail_;
    std::map<std::string, std::string, std::less<>> captions_;
    ReportFilling filling_;
    FormRenderer renderer_;
    PagePlan plan_;
    ReportMargins margins_;
    int pageCount_ = 0;
    int currentPage_ = 0;
};

} // namespace lavodc::report
