// lavodc-cli build: a sheet file from the JSON that dump prints, written exactly as Save writes it.
#include "cli/commands.h"
#include "cli/sheet_json.h"

#include "core/sheet_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <iterator>
#include <sstream>

namespace lavodc::cli {

namespace {

// "[json.exception.parse_error.101] parse error at line 1, ..." without the bracketed tag.
std::string withoutTag(const std::string& message)
{
    if (!message.empty() && message.front() == '[') {
        const std::size_t end = message.find("] ");
        if (end != std::string::npos)
            return message.substr(end + 2);
    }
    return message;
}

} // namespace

int runBuild(const std::vector<std::string>& args)
{
    if (args.size() != 2) {
        std::fputs("usage: lavodc-cli build SHEET.json OUT.Lvo\n", stderr);
        return 2;
    }
    const std::string& jsonPath = args[0];
    const std::string& outPath = args[1];
    auto fail = [](const std::string& message) {
        std::fprintf(stderr, "lavodc-cli build: %s\n", message.c_str());
        return 1;
    };

    std::ifstream in(jsonPath, std::ios::binary);
    if (!in)
        return fail("cannot read \"" + jsonPath + "\": " + std::strerror(errno));
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad())
        return fail("cannot read \"" + jsonPath + "\": " + std::strerror(errno));

    Json json;
    try {
        json = Json::parse(content.str());
    } catch (const Json::exception& error) {
        return fail("\"" + jsonPath + "\" is not valid JSON: " + withoutTag(error.what()));
    }

    try {
        Sheet sheet;
        sheet.table.Open();
        sheet.table.SetIndexFieldNames(kByNameIndex);
        ResetHeader(sheet.header, CurrentPeriod());
        SheetFromJson(json, sheet);
        NormalizeMaskedValues(sheet.header);
        try {
            SaveSheetFile(outPath, sheet);
        } catch (const SheetFileError& error) {
            return fail("cannot write \"" + outPath + "\": " + error.what());
        }
    } catch (const SheetJsonError& error) {
        return fail("\"" + jsonPath + "\": " + error.what());
    } catch (const std::exception& error) {
        return fail(error.what());
    }
    return 0;
}

} // namespace lavodc::cli
