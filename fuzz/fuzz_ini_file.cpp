// The settings file rules over arbitrary CP949 bytes: lookups and updates end, an update keeps
// to one line, and a plain value written under a plain name reads back as written.
#include "core/ini_file.h"

#include "fuzz_input.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

bool plainName(const std::string& name)
{
    if (name.empty() || name.front() == ';' || name.front() == '[')
        return false;
    if (name.front() == ' ' || name.front() == '\t' || name.back() == ' ' || name.back() == '\t')
        return false;
    for (const char c : name)
        if (c == '\r' || c == '\n' || c == '=' || c == ']' || c == '[' || c == '\0')
            return false;
    return true;
}

bool plainValue(const std::string& value)
{
    if (value.size() > lavodc::kIniMaxValueBytes)
        return false;
    if (!value.empty() && (value.front() == ' ' || value.front() == '\t' || value.back() == ' '
                           || value.back() == '\t' || value.front() == '"' || value.front() == '\''))
        return false;
    for (const char c : value)
        if (c == '\r' || c == '\n' || c == '\0')
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    lavodc::fuzz::Input input(data, size);
    const std::string section = input.piece();
    const std::string key = input.piece();
    const std::string value = input.piece();
    const std::string contents(input.rest());

    (void)lavodc::IniLookup(contents, section, key);
    (void)lavodc::ParseIniInteger(value);
    const std::string updated = lavodc::IniUpdate(contents, section, key, value);
    if (plainName(section) && plainName(key) && plainValue(value)) {
        const std::optional<std::string> back = lavodc::IniLookup(updated, section, key);
        if (!back || *back != value)
            std::abort();
        // Writing the same value again changes nothing.
        if (lavodc::IniUpdate(updated, section, key, value) != updated)
            std::abort();
    }
    return 0;
}
