// lavodc-cli xlsx: the worker list (or the day strip's columns) of a sheet file as the
// workbook that Alt+E writes.
#include "cli/commands.h"

#include "core/grid_columns.h"
#include "core/sheet_file.h"
#include "services/column_letters.h"
#include "services/grid_snapshot.h"
#include "services/workbook_file.h"
#include "services/workbook_writer.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace lavodc::cli {
namespace {

constexpr const char* kUsage = "usage: lavodc-cli xlsx FILE.Lvo OUT.xlsx [--days]";

// A mistake in the command line (exit 2) as against a failure while working (exit 1).
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct XlsxOptions {
    std::string sheetPath;
    std::string workbookPath;
    bool days = false;
};

XlsxOptions parseOptions(const std::vector<std::string>& args)
{
    XlsxOptions options;
    std::vector<std::string> paths;
    for (const std::string& arg : args) {
        if (arg == "--days")
            options.days = true;
        else if (arg.rfind("--", 0) == 0)
            throw UsageError("unknown option " + arg);
        else
            paths.push_back(arg);
    }
    if (paths.size() != 2)
        throw UsageError(kUsage);
    options.sheetPath = paths[0];
    options.workbookPath = paths[1];
    std::error_code ignored;
    if (std::filesystem::equivalent(options.sheetPath, options.workbookPath, ignored))
        throw UsageError("the workbook would replace the sheet file " + options.sheetPath);
    return options;
}

int writeXlsx(const XlsxOptions& options)
{
    Sheet sheet;
    sheet.table.Open();   // the program's table is open before any file is read into it
    try {
        OpenSheetFile(options.sheetPath, sheet);
    } catch (const std::exception& error) {
        throw std::runtime_error("cannot read " + options.sheetPath + ": " + error.what());
    }
    if (sheet.table.IsEmpty())
        throw std::runtime_error(options.sheetPath + " holds no workers; there is nothing to export");

    const GridSnapshot grid = TakeGridSnapshot(sheet.table, options.days ? DayStripColumns() : WorkerListColumns());
    try {
        WriteReplacing(options.workbookPath, [&grid](const std::string& path) { WriteWorkbook(grid, path); });
    } catch (const std::exception& error) {
        throw std::runtime_error("cannot write " + options.workbookPath + ": " + error.what());
    }
    const std::string lastCell =
        ColumnLetters(static_cast<int>(grid.columns.size())) + std::to_string(grid.rowCount + 2);
    std::printf("%s: Sheet1!B2:%s, %zu workers\n", options.workbookPath.c_str(), lastCell.c_str(), grid.rowCount);
    return 0;
}

} // namespace

int runXlsx(const std::vector<std::string>& args)
{
    try {
        return writeXlsx(parseOptions(args));
    } catch (const UsageError& error) {
        std::fprintf(stderr, "lavodc-cli xlsx: %s\n", error.what());
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "lavodc-cli xlsx: %s\n", error.what());
        return 1;
    }
}

} // namespace lavodc::cli
