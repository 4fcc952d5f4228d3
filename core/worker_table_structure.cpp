// The table's structure file: a small text file that lists the fields in order,
//
//   lavodc-table 1
//   HCODE integer
//   cDate string 7
//   nNal float
//   ...
//
// Blank lines and lines starting with '#' are comments. The table accepts only the fixed
// fields in their fixed order, so a structure file can't change what a row holds.
#include "core/worker_table.h"

#include "core/safe_save.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

namespace lavodc {

namespace {

constexpr std::string_view kMagic = "lavodc-table 1";

std::string_view typeName(FieldType type)
{
    switch (type) {
    case FieldType::Integer: return "integer";
    case FieldType::Float: return "float";
    case FieldType::String: return "string";
    }
    return "?";
}

std::string fieldLine(const FieldDef& def)
{
    std::string line(def.name);
    line += ' ';
    line += typeName(def.type);
    if (def.type == FieldType::String)
        line += ' ' + std::to_string(def.size);
    return line;
}

// The words of a line, so that spacing does not matter.
std::string canonical(const std::string& line)
{
    std::istringstream words(line);
    std::string word;
    std::string result;
    while (words >> word) {
        if (!result.empty())
            result += ' ';
        result += word;
    }
    return result;
}

} // namespace

void WorkerTable::LoadStructure(const std::string& path)
{
    // The old contents go first, as they do when loading a table file fails half-way.
    Close();

    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw TableError("Cannot open file \"" + path + "\". " + std::strerror(errno));

    std::vector<std::string> lines;
    std::string line;
    while (std::getline(file, line)) {
        const std::string words = canonical(line);
        if (words.empty() || words.front() == '#')
            continue;
        lines.push_back(words);
    }
    if (file.bad())
        throw TableError("Cannot read file \"" + path + "\". " + std::strerror(errno));

    const std::string refused = "The table structure in \"" + path + "\" does not match the worker table: ";
    if (lines.empty() || lines.front() != kMagic)
        throw TableError(refused + "it does not start with \"" + std::string(kMagic) + "\"");

    const auto& fields = WorkerFields();
    const std::size_t listed = lines.size() - 1;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string expected = fieldLine(fields[i]);
        if (i >= listed)
            throw TableError(refused + "field " + std::to_string(i + 1) + " \"" + expected + "\" is missing");
        if (lines[i + 1] != expected)
            throw TableError(refused + "field " + std::to_string(i + 1) + " is \"" + lines[i + 1]
                             + "\", expected \"" + expected + "\"");
    }
    if (listed > fields.size())
        throw TableError(refused + "it lists more than " + std::to_string(fields.size()) + " fields");
}

void WorkerTable::WriteStructure(const std::string& path)
{
    std::string text = "# lavodc worker table: the fields of a row in their fixed order (string sizes in bytes)\n";
    text += std::string(kMagic) + '\n';
    for (const FieldDef& def : WorkerFields())
        text += fieldLine(def) + '\n';
    try {
        WriteWholeFile(path, text);
    } catch (const FileError& error) {
        throw TableError("Cannot write file \"" + path + "\". " + error.what());
    }
}

} // namespace lavodc
