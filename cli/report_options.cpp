#include "cli/report_options.h"

#include "core/input_quote.h"
#include "core/sheet_file.h"
#include "report/report_captions.h"
#include "services/qt_translation.h"

#include <charconv>
#include <cstdio>

namespace lavodc::cli {
namespace {

int parseWholeNumber(const std::string& text, const std::string& option)
{
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end)
        throw UsageError(option + " needs a whole number, not \"" + QuotedInput(text) + "\"");
    return value;
}

// The shift boxes take at most three characters.
int parseShift(const std::string& text, const std::string& option)
{
    const int value = parseWholeNumber(text, option);
    if (text.size() > 3)
        throw UsageError(option + " takes at most three characters (-99 to 999 tenths of a millimetre)");
    return value;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int daysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

// A day of the calendar, written yyyy.mm.dd.
std::string parseDate(const std::string& text)
{
    const bool shaped = text.size() == 10 && text[4] == '.' && text[7] == '.';
    bool digits = shaped;
    for (std::size_t i = 0; digits && i < text.size(); ++i)
        digits = (i == 4 || i == 7) || isDigit(text[i]);
    if (!digits)
        throw UsageError("--date needs yyyy.mm.dd, not \"" + QuotedInput(text) + "\"");
    const int year = std::stoi(text.substr(0, 4));
    const int month = std::stoi(text.substr(5, 2));
    const int day = std::stoi(text.substr(8, 2));
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
        throw UsageError("--date needs a day of the calendar, not \"" + text + "\"");
    return text;
}

void parsePages(const std::string& text, ReportOptions& options)
{
    const auto dash = text.find('-');
    if (dash == std::string::npos)
        throw UsageError("--pages needs A-B, not \"" + QuotedInput(text) + "\"");
    options.firstPage = parseWholeNumber(text.substr(0, dash), "--pages");
    options.lastPage = parseWholeNumber(text.substr(dash + 1), "--pages");
    if (options.firstPage < 1 || options.lastPage < options.firstPage)
        throw UsageError("--pages needs 1 <= A <= B, not \"" + QuotedInput(text) + "\"");
}

} // namespace

bool ParseReportOption(const std::string& option, const std::string& value, ReportOptions& options)
{
    if (option == "--date")
        options.reportDate = parseDate(value);
    else if (option == "--top")
        options.topShift = parseShift(value, option);
    else if (option == "--left")
        options.leftShift = parseShift(value, option);
    else if (option == "--pages")
        parsePages(value, options);
    else
        return false;
    return true;
}

std::unique_ptr<QGuiApplication> StartGui()
{
    if (QCoreApplication::instance() != nullptr)
        return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "lavodc-cli";
    static char* argv[] = {name, nullptr};
    auto app = std::make_unique<QGuiApplication>(argc, argv);
    InstallQtKoreanTranslation(*app);
    return app;
}

void ReadSheetToPrint(const std::string& path, Sheet& sheet)
{
    sheet.table.Open();   // the program's table is open before any file is read into it
    try {
        OpenSheetFile(path, sheet);
    } catch (const std::exception& error) {
        throw std::runtime_error("cannot read " + path + ": " + error.what());
    }
    if (sheet.table.IsEmpty())
        throw std::runtime_error(path + " holds no workers; there is nothing to print");
}

void CheckRangeWithin(const ReportOptions& options, int pages)
{
    if (options.lastPage > pages)
        throw UsageError("--pages " + std::to_string(options.firstPage) + "-" + std::to_string(options.lastPage) +
                         " goes past the last page (" + std::to_string(pages) + ")");
}

int PrepareReport(report::TPtqLvodocf& form, Sheet& sheet, const ReportOptions& options)
{
    sheet.table.First();
    const int pages = form.Prepare();
    CheckRangeWithin(options, pages);
    form.SetMargins(report::MarginsFromShifts(options.topShift, options.leftShift));
    form.SetCaptions(report::ReportCaptions(sheet.header, options.reportDate));
    sheet.table.First();
    return pages;
}

int RunReportCommand(const char* name, const std::function<int()>& command)
{
    try {
        return command();
    } catch (const UsageError& error) {
        std::fprintf(stderr, "lavodc-cli %s: %s\n", name, error.what());
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "lavodc-cli %s: %s\n", name, error.what());
        return 1;
    }
}

} // namespace lavodc::cli
