// lavodc-cli pdf: the official form of a sheet file as a PDF with real, searchable text.
#include "cli/commands.h"

#include "core/cp949.h"
#include "core/sheet_file.h"
#include "report/ptq_lvodoc.h"
#include "report/report_captions.h"
#include "services/qt_translation.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QSaveFile>
#include <QString>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace lavodc::cli {
namespace {

constexpr int kPdfResolution = 1200;

// A mistake in the command line (exit 2) as against a failure while working (exit 1).
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct PdfOptions {
    std::string sheetPath;
    std::string pdfPath;
    std::string reportDate;
    int topShift = 0;
    int leftShift = 0;
    int firstPage = 0;   // 0 and 0: every page
    int lastPage = 0;
};

int parseWholeNumber(const std::string& text, const std::string& option)
{
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end)
        throw UsageError(option + " needs a whole number, not \"" + text + "\"");
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

std::string parseDate(const std::string& text)
{
    const bool shaped = text.size() == 10 && text[4] == '.' && text[7] == '.';
    bool digits = shaped;
    for (std::size_t i = 0; digits && i < text.size(); ++i)
        digits = (i == 4 || i == 7) || isDigit(text[i]);
    if (!digits)
        throw UsageError("--date needs yyyy.mm.dd, not \"" + text + "\"");
    return text;
}

void parsePages(const std::string& text, PdfOptions& options)
{
    const auto dash = text.find('-');
    if (dash == std::string::npos)
        throw UsageError("--pages needs A-B, not \"" + text + "\"");
    options.firstPage = parseWholeNumber(text.substr(0, dash), "--pages");
    options.lastPage = parseWholeNumber(text.substr(dash + 1), "--pages");
    if (options.firstPage < 1 || options.lastPage < options.firstPage)
        throw UsageError("--pages needs 1 <= A <= B, not \"" + text + "\"");
}

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
        const std::string& value = args[++i];
        if (arg == "--date")
            options.reportDate = parseDate(value);
        else if (arg == "--top")
            options.topShift = parseShift(value, arg);
        else if (arg == "--left")
            options.leftShift = parseShift(value, arg);
        else if (arg == "--pages")
            parsePages(value, options);
        else
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
    if (options.reportDate.empty())
        options.reportDate = report::TodayReportDate();
    return options;
}

// Fonts need a GUI application; without a display the offscreen platform serves.
std::unique_ptr<QGuiApplication> startGui()
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

int writePdf(const PdfOptions& options)
{
    Sheet sheet;
    sheet.table.Open();   // the program's table is open before any file is read into it
    try {
        OpenSheetFile(options.sheetPath, sheet);
    } catch (const std::exception& error) {
        throw std::runtime_error("cannot read " + options.sheetPath + ": " + error.what());
    }
    WorkerTable& table = sheet.table;
    if (table.IsEmpty())
        throw std::runtime_error(options.sheetPath + " holds no workers; there is nothing to print");

    report::TPtqLvodocf form(table);
    table.First();
    const int pages = form.Prepare();
    if (options.lastPage > pages)
        throw UsageError("--pages " + std::to_string(options.firstPage) + "-" + std::to_string(options.lastPage) +
                         " goes past the last page (" + std::to_string(pages) + ")");

    form.SetMargins(report::MarginsFromShifts(options.topShift, options.leftShift));
    form.SetCaptions(report::ReportCaptions(sheet.header, options.reportDate));

    // Written beside the target and renamed over it only when complete.
    QSaveFile file(QString::fromStdString(options.pdfPath));
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write " + options.pdfPath + ": " + file.errorString().toStdString());
    QPdfWriter writer(&file);
    writer.setResolution(kPdfResolution);
    writer.setCreator(QStringLiteral("lavodc"));
    writer.setTitle(QString::fromStdString(fromCp949(form.LabelText("HRTitl"))));
    table.First();
    const int drawn = form.Print(writer, options.firstPage, options.lastPage);
    if (!file.commit())
        throw std::runtime_error("cannot write " + options.pdfPath + ": " + file.errorString().toStdString());
    std::printf("%s: %d of %d pages\n", options.pdfPath.c_str(), drawn, pages);
    return 0;
}

} // namespace

int runPdf(const std::vector<std::string>& args)
{
    try {
        const PdfOptions options = parseOptions(args);
        const auto app = startGui();
        return writePdf(options);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "lavodc-cli pdf: %s\n", error.what());
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "lavodc-cli pdf: %s\n", error.what());
        return 1;
    }
}

} // namespace lavodc::cli
