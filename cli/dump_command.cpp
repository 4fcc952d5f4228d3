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
    auto writeFailed = [] {
        std::fprintf(stderr, "lavodc-cli dump: cannot write the output: %s\n", std::strerror(errno));
        return 1;
    };
    // The text goes out in pieces as the rows come: a large sheet is never held as table rows
    // or as one text.
    constexpr std::size_t kPiece = 1 << 20;
    std::string out;
    out.reserve(kPiece + 4096);
    bool failed = false;
    auto flush = [&out, &failed] {
        if (!failed && std::fwrite(out.data(), 1, out.size(), stdout) != out.size())
            failed = true;
        out.clear();
    };
    std::size_t count = 0;
    try {
        SheetHeader header;
        std::string period;
        bool started = false;
        auto start = [&] {
            AppendSheetJsonStart(out, header);
            started = true;
        };
        try {
            ReadSheetFileInOrder(path, header, period, [&](const WorkerRow& row) {
                if (!started)
                    start();
                AppendWorkerJson(out, row, count++ == 0);
                if (out.size() >= kPiece)
                    flush();
            });
        } catch (const SheetFileError& error) {
            std::fprintf(stderr, "lavodc-cli dump: cannot read \"%s\": %s\n", path.c_str(), error.what());
            return 1;
        }
        if (!started)
            start();
        AppendSheetJsonEnd(out, count);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "lavodc-cli dump: %s\n", error.what());
        return 1;
    }
    flush();
    if (failed || std::fflush(stdout) != 0)
        return writeFailed();
    return 0;
}

} // namespace lavodc::cli
