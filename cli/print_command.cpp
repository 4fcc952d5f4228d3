// lavodc-cli print and printers: the window's print job for offices that print many
// sheets, and the queues it can go to.
#include "cli/commands.h"
#include "cli/report_options.h"

#include "report/cups_print_target.h"
#include "report/ptq_lvodoc.h"
#include "report/report_captions.h"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace lavodc::cli {
namespace {

struct PrintOptions {
    std::string sheetPath;
    std::string printer;
    ReportOptions report;
};

PrintOptions parseOptions(const std::vector<std::string>& args)
{
    PrintOptions options;
    std::vector<std::string> paths;
    bool printerGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            paths.push_back(arg);
            continue;
        }
        if (i + 1 >= args.size())
            throw UsageError(arg + " needs a value");
        const std::string& value = args[++i];
        if (arg == "--printer") {
            options.printer = value;
            printerGiven = true;
        } else if (!ParseReportOption(arg, value, options.report)) {
            throw UsageError("unknown option " + arg);
        }
    }
    if (paths.size() != 1 || !printerGiven)
        throw UsageError("usage: lavodc-cli print FILE.Lvo --printer NAME [--date yyyy.mm.dd] [--top T] "
                         "[--left L] [--pages A-B]");
    options.sheetPath = paths[0];
    if (options.printer.empty())
        throw UsageError("--printer needs the name of a queue (lavodc-cli printers lists them)");
    if (options.report.reportDate.empty())
        options.report.reportDate = report::TodayReportDate();
    return options;
}

int printSheet(const PrintOptions& options)
{
    report::CupsPrintTarget target;
    const QString printer = QString::fromStdString(options.printer);
    if (!target.PrinterNames().contains(printer))
        throw UsageError("no printer named \"" + options.printer + "\" (lavodc-cli printers lists them)");

    Sheet sheet;
    ReadSheetToPrint(options.sheetPath, sheet);
    report::TPtqLvodocf form(sheet.table);
    const int pages = PrepareReport(form, sheet, options.report);
    try {
        const int sent = target.SendJob(form, printer, options.report.firstPage, options.report.lastPage, {});
        std::printf("%s: %d of %d pages sent to %s\n", options.sheetPath.c_str(), sent, pages,
                    options.printer.c_str());
    } catch (const report::PrintJobError& error) {
        throw std::runtime_error(options.printer + " did not take the job: " + error.what());
    }
    return 0;
}

int listPrinters()
{
    report::CupsPrintTarget target;
    const QString fallback = target.DefaultPrinter();
    for (const QString& name : target.PrinterNames())
        std::printf("%s%s\n", name.toLocal8Bit().constData(), name == fallback ? " (default)" : "");
    return 0;
}

} // namespace

int runPrint(const std::vector<std::string>& args)
{
    return RunReportCommand("print", [&args] {
        const PrintOptions options = parseOptions(args);
        const auto app = StartGui();
        return printSheet(options);
    });
}

int runPrinters(const std::vector<std::string>& args)
{
    if (!args.empty()) {
        std::fputs("usage: lavodc-cli printers\n", stderr);
        return 2;
    }
    try {
        const auto app = StartGui();
        return listPrinters();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "lavodc-cli printers: %s\n", error.what());
        return 1;
    }
}

} // namespace lavodc::cli
