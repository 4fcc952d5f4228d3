// lavodc-cli pdf: the official form of a sheet file as a PDF with real, searchable text.
#include "cli/commands.h"
#include "cli/report_options.h"

#include "report/ptq_lvodoc.h"
#include "report/report_captions.h"
#include "report/report_pdf.h"

#include <QString>

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace lavodc::cli {
namespace {

struct PdfOptions {
    std::string sheetPath;
    std::string pdfPath;
    ReportOptions report;
};

PdfOptions parseOptions(const std::vector<std::string>& args)
{
    PdfOptions options;
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            paths.push_back(arg);
            continue;
        }
        if (i + 1 >= args.size())
            throw UsageError(arg + " needs a value");
        if (!ParseReportOption(arg, args[++i], options.report))
            throw UsageError("unknown option " + arg);
    }
    if (paths.size() != 2)
        throw UsageError("usage: lavodc-cli pdf FILE.Lvo OUT.pdf [--date yyyy.mm.dd] [--top T] [--left L] "
                         "[--pages A-B]");
    options.sheetPath = paths[0];
    options.pdfPath = paths[1];
    std::error_code ignored;
    if (std::filesystem::equivalent(options.sheetPath, options.pdfPath, ignored))
        throw UsageError("the PDF would replace the sheet file " + options.sheetPath);
    if (options.report.reportDate.empty())
        options.report.reportDate = report::TodayReportDate();
    return options;
}

int writePdf(const PdfOptions& options)
{
    Sheet sheet;
    ReadSheetToPrint(options.sheetPath, sheet);
    report::TPtqLvodocf form(sheet.table);
    const int pages = PrepareReport(form, sheet, options.report);
    const int drawn = report::SaveReportPdf(form, QString::fromStdString(options.pdfPath), options.report.firstPage,
                                            options.report.lastPage);
    std::printf("%s: %d of %d pages\n", options.pdfPath.c_str(), drawn, pages);
    return 0;
}

} // namespace

int runPdf(const std::vector<std::string>& args)
{
    return RunReportCommand("pdf", [&args] {
        const PdfOptions options = parseOptions(args);
        const auto app = StartGui();
        return writePdf(options);
    });
}

} // namespace lavodc::cli
