// lavodc-cli next and import: the next month's sheet, and workers brought in from a list.
#include "cli/commands.h"

#include "core/cp949.h"
#include "core/next_month.h"
#include "core/sheet_file.h"
#include "core/worker_import.h"
#include "services/worker_list_file.h"
#include "services/xlsx_sheet_reader.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

namespace lavodc::cli {
namespace {

void printLine(std::FILE* stream, const std::string& cp949)
{
    std::fprintf(stream, "%s\n", fromCp949(cp949).c_str());
}

// Opens `path` as the window does; false (with a message) when it cannot be read.
bool openSheet(const char* command, const std::string& path, Sheet& sheet)
{
    sheet.table.Open();
    try {
        OpenSheetFile(path, sheet);
    } catch (const SheetFileError& error) {
        std::fprintf(stderr, "lavodc-cli %s: cannot read \"%s\": %s\n", command, path.c_str(), error.what());
        return false;
    }
    // The header as the window's masked boxes would hold it.
    NormalizeMaskedValues(sheet.header);
    return true;
}

bool saveSheet(const char* command, const std::string& path, Sheet& sheet)
{
    try {
        SaveSheetFile(path, sheet);
    } catch (const SheetFileError& error) {
        std::fprintf(stderr, "lavodc-cli %s: cannot write \"%s\": %s\n", command, path.c_str(),
                     fromCp949(error.what()).c_str());
        return false;
    }
    return true;
}

// The output must not be one of the inputs, however it is spelled (links, "./", "../"):
// refused before anything is read. True (with a message) when it is.
bool replacesAnInput(const char* command, const std::string& out, const std::string& in, const char* what)
{
    std::error_code ignored;
    if (!std::filesystem::equivalent(in, out, ignored))
        return false;
    std::fprintf(stderr, "lavodc-cli %s: the new sheet would replace the %s %s\n", command, what, in.c_str());
    return true;
}

} // namespace

int runNext(const std::vector<std::string>& args)
{
    if (args.size() != 2) {
        std::fputs("usage: lavodc-cli next FILE.Lvo OUT.Lvo\n", stderr);
        return 2;
    }
    if (replacesAnInput("next", args[1], args[0], "sheet file"))
        return 2;
    try {
        Sheet sheet;
        if (!openSheet("next", args[0], sheet))
            return 1;
        const NextMonthResult result = AdvanceToNextMonth(sheet);
        if (!result.periodAdvanced)
            printLine(stderr, InvalidPeriodText());
        if (!saveSheet("next", args[1], sheet))
            return 1;
        printLine(stdout, NextMonthStatusText(sheet.header, result));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "lavodc-cli next: %s\n", fromCp949(error.what()).c_str());
        return 1;
    }
    return 0;
}

int runImport(const std::vector<std::string>& args)
{
    if (args.size() != 3) {
        std::fputs("usage: lavodc-cli import SHEET.Lvo LIST.(csv|xlsx) OUT.Lvo\n", stderr);
        return 2;
    }
    if (replacesAnInput("import", args[2], args[0], "sheet file") || replacesAnInput("import", args[2], args[1], "list"))
        return 2;
    try {
        Sheet sheet;
        if (!openSheet("import", args[0], sheet))
            return 1;
        ImportPlan plan;
        try {
            plan = PlanWorkerListImport(args[1], sheet.table, PeriodFromHeader(sheet.header));
        } catch (const ImportError& error) {
            std::fprintf(stderr, "lavodc-cli import: \"%s\": %s\n", args[1].c_str(), fromCp949(error.what()).c_str());
            return 1;
        } catch (const XlsxReadError& error) {
            std::fprintf(stderr, "lavodc-cli import: \"%s\": %s\n", args[1].c_str(), fromCp949(error.what()).c_str());
            return 1;
        }
        printLine(stdout, ImportSummaryText(plan));
        if (!plan.ChangesSheet()) {
            std::fputs("lavodc-cli import: no worker to add or update; nothing written\n", stderr);
            return 1;
        }
        ApplyImport(sheet.table, plan);
        if (!saveSheet("import", args[2], sheet))
            return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "lavodc-cli import: %s\n", fromCp949(error.what()).c_str());
        return 1;
    }
    return 0;
}

} // namespace lavodc::cli
