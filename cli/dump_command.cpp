// lavodc-cli dump: a sheet file as the program holds it after Open, as JSON on standard output.
#include "cli/commands.h"
#include "cli/sheet_json.h"

#include "core/sheet_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>

namespace lavodc::cli {

int runDump(const std::vector<std::string>& args)
{
    if (args.size() != 1) {
        std::fputs("usage: lavodc-cli dump FILE.Lvo\n", stderr);
        return 2;
    }
    const std::string& path = args[0];
    std::string text;
    try {
        Sheet sheet;
        sheet.table.Open();
        try {
            OpenSheetFile(path, sheet);
        } catch (const SheetFileError& error) {
            std::fprintf(stderr, "lavodc-cli dump: cannot read \"%s\": %s\n", path.c_str(), error.what());
            return 1;
        }
        text = SheetJsonText(sheet);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "lavodc-cli dump: %s\n", error.what());
        return 1;
    }
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "lavodc-cli dump: cannot write the output: %s\n", std::strerror(errno));
        return 1;
    }
    return 0;
}

} // namespace lavodc::cli
