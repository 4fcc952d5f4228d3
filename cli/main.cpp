// lavodc-cli: batch work on sheet files without the window.
#include "cli/commands.h"

#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

void printUsage()
{
    std::fputs("usage: lavodc-cli dump FILE.Lvo\n"
               "       lavodc-cli build SHEET.json OUT.Lvo\n"
               "       lavodc-cli pdf FILE.Lvo OUT.pdf [--date yyyy.mm.dd] [--top T] [--left L] [--pages A-B]\n"
               "       lavodc-cli xlsx FILE.Lvo OUT.xlsx [--days]\n"
               "       lavodc-cli efile SHEET.Lvo OUT.xlsx [--insurance 1|3|5] [--jobs JOBS.csv] [--people PEOPLE.csv] [--nts yyyymm]\n"
               "       lavodc-cli next FILE.Lvo OUT.Lvo\n"
               "       lavodc-cli import SHEET.Lvo LIST.(csv|xlsx) OUT.Lvo\n"
               "       lavodc-cli print FILE.Lvo --printer NAME [--date yyyy.mm.dd] [--top T] [--left L] [--pages A-B]\n"
               "       lavodc-cli printers\n",
               stderr);
}

} // namespace

int main(int argc, char** argv)
{
    // The C library's error texts in the user's language; numbers keep the C locale.
    std::setlocale(LC_CTYPE, "");
    std::setlocale(LC_MESSAGES, "");
    if (argc < 2) {
        printUsage();
        return 2;
    }
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "dump")
        return lavodc::cli::runDump(args);
    if (command == "build")
        return lavodc::cli::runBuild(args);
    if (command == "pdf")
        return lavodc::cli::runPdf(args);
    if (command == "xlsx")
        return lavodc::cli::runXlsx(args);
    if (command == "efile")
        return lavodc::cli::runEfile(args);
    if (command == "next")
        return lavodc::cli::runNext(args);
    if (command == "import")
        return lavodc::cli::runImport(args);
    if (command == "print")
        return lavodc::cli::runPrint(args);
    if (command == "printers")
        return lavodc::cli::runPrinters(args);
    printUsage();
    return 2;
}
