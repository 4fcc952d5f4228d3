// lavodc-cli efile: the month's e-filing workbook (근로내용확인신고 전자신고용) of a sheet file,
// with the job codes and the codes of foreigners from CSV files.
#include "cli/commands.h"

#include "core/cp949.h"
#include "core/efile_codes.h"
#include "core/input_quote.h"
#include "core/efile_rows.h"
#include "core/sheet_file.h"
#include "services/efile_workbook.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace lavodc::cli {
namespace {

constexpr const char* kUsage =
    "usage: lavodc-cli efile SHEET.Lvo OUT.xlsx [--insurance 1|3|5] [--jobs JOBS.csv] [--people PEOPLE.csv] "
    "[--nts yyyymm]";
constexpr std::size_t kMostCodeFileBytes = 16 << 20;

// A mistake in the command line (exit 2) as against a failure while working (exit 1).
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string quoted(const std::string& input) { return "\"" + QuotedInput(input) + "\""; }

struct EfileCommandOptions {
    std::string sheetPath;
    std::string workbookPath;
    std::string jobsPath;
    std::string peoplePath;
    EfileOptions efile;
};

EfileCommandOptions parseOptions(const std::vector<std::string>& args)
{
    EfileCommandOptions options;
    std::vector<std::string> paths;
    std::vector<std::string> seen;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            paths.push_back(arg);
            continue;
        }
        if (arg != "--insurance" && arg != "--jobs" && arg != "--people" && arg != "--nts")
            throw UsageError("unknown option " + quoted(arg));
        if (i + 1 >= args.size())
            throw UsageError(arg + " needs a value");
        for (const std::string& earlier : seen)
            if (earlier == arg)
                throw UsageError(arg + " is given twice");
        seen.push_back(arg);
        const std::string& value = args[++i];
        if (arg == "--insurance") {
            if (value != "1" && value != "3" && value != "5")
                throw UsageError("--insurance takes 1, 3 or 5, not " + quoted(value));
            options.efile.insurance = value;
        } else if (arg == "--nts") {
            if (!IsPaymentMonth(value))
                throw UsageError("--nts needs the month of payment as yyyymm, not " + quoted(value));
            options.efile.reportToTaxOffice = true;
            options.efile.paymentMonth = value;
        } else if (arg == "--jobs") {
            options.jobsPath = value;
        } else {
            options.peoplePath = value;
        }
    }
    if (paths.size() != 2)
        throw UsageError(kUsage);
    options.sheetPath = paths[0];
    options.workbookPath = paths[1];
    const std::pair<const std::string*, const char*> inputs[] = {
        {&options.sheetPath, "sheet file"}, {&options.jobsPath, "job file"}, {&options.peoplePath, "people file"}};
    for (const auto& [input, what] : inputs) {
        std::error_code ignored;
        if (!input->empty() && std::filesystem::equivalent(*input, options.workbookPath, ignored))
            throw UsageError(std::string("the workbook would replace the ") + what + " " + quoted(*input));
    }
    return options;
}

// Every line of a code file that was not taken, then a failure: nothing is written from a file
// that was not read whole.
template <typename Codes>
Codes readCodeFile(const std::string& path, Codes (*parse)(std::string_view))
{
    std::string bytes;
    try {
        bytes = ReadSmallRegularFile(path, kMostCodeFileBytes);
    } catch (const std::exception& error) {
        throw std::runtime_error("cannot read " + quoted(path) + ": " + fromCp949(error.what()));
    }
    Codes codes = parse(bytes);
    if (codes.problems.empty())
        return codes;
    for (const CodeFileProblem& problem : codes.problems)
        std::fprintf(stderr, "lavodc-cli efile: %s line %d: \"%s\": %s\n", quoted(path).c_str(), problem.line,
                     problem.quotedUtf8.c_str(), fromCp949(problem.reason).c_str());
    throw std::runtime_error(quoted(path) + " has lines that cannot be read; nothing written");
}

int writeEfile(const EfileCommandOptions& options)
{
    JobCodes jobs;
    if (!options.jobsPath.empty())
        jobs = readCodeFile(options.jobsPath, &ParseJobCodes).codes;
    PeopleCodes people;
    if (!options.peoplePath.empty())
        people = readCodeFile(options.peoplePath, &ParsePeopleCodes).codes;

    SheetHeader header;
    std::string period;
    std::vector<WorkerRow> workers;
    try {
        ReadSheetFileAsStored(options.sheetPath, header, period,
                              [&workers](const WorkerRow& row) { workers.push_back(row); });
    } catch (const std::exception& error) {
        throw std::runtime_error("cannot read " + quoted(options.sheetPath) + ": " + fromCp949(error.what()));
    }
    if (workers.empty())
        throw std::runtime_error(quoted(options.sheetPath) + " holds no workers; there is nothing to file");

    const EfileSheet sheet = BuildEfileSheet(workers, header.gsyear, header.gmonth, jobs, people, options.efile);
    for (const std::string& line : sheet.summary)
        std::fprintf(stderr, "%s\n", fromCp949(line).c_str());
    try {
        SaveEfileWorkbook(sheet, options.workbookPath);
    } catch (const std::exception& error) {
        throw std::runtime_error("cannot write " + quoted(options.workbookPath) + ": " + fromCp949(error.what()));
    }
    std::printf("%s: %zu workers%s\n", options.workbookPath.c_str(), sheet.rows.size(),
                options.efile.reportToTaxOffice ? ", with the tax office's columns" : "");
    return 0;
}

} // namespace

int runEfile(const std::vector<std::string>& args)
{
    try {
        return writeEfile(parseOptions(args));
    } catch (const UsageError& error) {
        std::fprintf(stderr, "lavodc-cli efile: %s\n", error.what());
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "lavodc-cli efile: %s\n", error.what());
        return 1;
    }
}

} // namespace lavodc::cli
