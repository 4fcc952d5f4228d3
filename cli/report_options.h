#pragma once
// What lavodc-cli pdf and print share: the form's options on the command line, the GUI
// application the fonts and printers need, and the sheet read for printing.

#include "core/sheet.h"
#include "report/ptq_lvodoc.h"

#include <QGuiApplication>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

namespace lavodc::cli {

// A mistake in the command line (exit 2) as against a failure while working (exit 1).
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ReportOptions {
    std::string reportDate;   // yyyy.mm.dd; today when not given
    int topShift = 0;
    int leftShift = 0;
    int firstPage = 0;   // 0 and 0: every page
    int lastPage = 0;
};

// Takes --date, --top, --left and --pages with `value`; false for any other option.
bool ParseReportOption(const std::string& option, const std::string& value, ReportOptions& options);

// Fonts and printers need a GUI application; without a display the offscreen platform serves.
std::unique_ptr<QGuiApplication> StartGui();

// Reads the sheet file; one without workers has nothing to print.
void ReadSheetToPrint(const std::string& path, Sheet& sheet);

// A range past the last page of a form of `pages` pages is a mistake in the command line.
void CheckRangeWithin(const ReportOptions& options, int pages);

// The counting run of `form` over the sheet's table, the range checked against it, the margins
// and captions set, and the table back on its first row for the printing run. The page count.
int PrepareReport(report::TPtqLvodocf& form, Sheet& sheet, const ReportOptions& options);

// Runs the command `name`: a mistake in the command line exits 2, a failure 1, each said on
// one line after "lavodc-cli <name>: ".
int RunReportCommand(const char* name, const std::function<int()>& command);

} // namespace lavodc::cli
