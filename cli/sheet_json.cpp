#include "cli/sheet_json.h"

#include "core/cp949.h"
#include "core/input_quote.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace lavodc::cli {

namespace {

struct HeaderField {
    const char* name;
    std::string SheetHeader::*value;
};

constexpr std::array<HeaderField, 11> kHeaderFields = {{
    {"gsName", &SheetHeader::gsName},
    {"gsyear", &SheetHeader::gsyear},
    {"gmonth", &SheetHeader::gmonth},
    {"cmpNo", &SheetHeader::cmpNo},
    {"indNo", &SheetHeader::indNo},
    {"indName", &SheetHeader::indName},
    {"MgrName", &SheetHeader::MgrName},
    {"MgrJmnNo", &SheetHeader::MgrJmnNo},
    {"cmpAddr", &SheetHeader::cmpAddr},
    {"cmpTel", &SheetHeader::cmpTel},
    {"cmpName", &SheetHeader::cmpName},
}};

// What a byte becomes inside a JSON string: 0 for itself, 1 for \u00XX, or the letter after a
// backslash.
constexpr std::array<char, 256> kEscapes = [] {
    std::array<char, 256> escapes{};
    for (int c = 0; c < 0x20; ++c)
        escapes[static_cast<std::size_t>(c)] = 1;
    escapes['"'] = '"';
    escapes['\\'] = '\\';
    escapes['\b'] = 'b';
    escapes['\f'] = 'f';
    escapes['\n'] = 'n';
    escapes['\r'] = 'r';
    escapes['\t'] = 't';
    return escapes;
}();

char escapeOf(char c)
{
    return kEscapes[static_cast<unsigned char>(c)];
}

// The characters of `utf8` as the inside of a JSON string: what needs no escape goes in runs.
void appendEscaped(std::string& out, std::string_view utf8)
{
    static const char* const kHex = "0123456789abcdef";
    std::size_t from = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char escape = escapeOf(utf8[i]);
        if (escape == 0)
            continue;
        out.append(utf8.data() + from, i - from);
        from = i + 1;
        if (escape == 1) {
            const char hex[6] = {'\\', 'u', '0', '0', kHex[(utf8[i] >> 4) & 0xF], kHex[utf8[i] & 0xF]};
            out.append(hex, sizeof hex);
        } else {
            const char pair[2] = {'\\', escape};
            out.append(pair, sizeof pair);
        }
    }
    out.append(utf8.data() + from, utf8.size() - from);
}

void appendQuoted(std::string& out, std::string_view utf8)
{
    out += '"';
    appendEscaped(out, utf8);
    out += '"';
}

// A CP949 text as a JSON string in UTF-8.
void appendQuotedCp949(std::string& out, std::string_view cp949)
{
    out += '"';
    // A byte below 0x80 that is no part of a pair stands for itself, and the pairs of the code
    // page never hold one that needs escaping; a text without such bytes goes straight in.
    if (std::none_of(cp949.begin(), cp949.end(), [](char c) { return escapeOf(c) != 0; })) {
        appendFromCp949(out, cp949);
    } else {
        appendEscaped(out, fromCp949(cp949));
    }
    out += '"';
}

void appendKey(std::string& out, std::string_view indent, std::string_view key)
{
    out += indent;
    appendQuoted(out, key);
    out += ": ";
}

// Whole amounts print as integers (3, not 3.0), others in their shortest exact form.
void appendAmount(std::string& out, double value)
{
    constexpr double kExact = 9007199254740992.0;   // 2^53
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char buffer[64];
    std::to_chars_result result;
    if (value == std::trunc(value) && std::fabs(value) < kExact)
        result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<std::int64_t>(value));
    else
        result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

std::string where(const std::string& path, const std::string& field)
{
    return path + "." + field;
}

std::string cp949Text(const Json& value, const std::string& place)
{
    if (!value.is_string())
        throw SheetJsonError(place + " must be a text");
    try {
        return toCp949(value.get_ref<const std::string&>());
    } catch (const EncodingError& error) {
        throw SheetJsonError(place + ": " + error.what());
    }
}

double amount(const Json& value, const std::string& place)
{
    if (!value.is_number())
        throw SheetJsonError(place + " must be a number");
    return value.get<double>();
}

std::int32_t code(const Json& value, const std::string& place)
{
    // JSON without a sign parses as unsigned.
    if (value.is_number_unsigned()) {
        const auto number = value.get<std::uint64_t>();
        if (number <= static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
            return static_cast<std::int32_t>(number);
    } else if (value.is_number_integer()) {
        const auto number = value.get<std::int64_t>();
        if (number >= std::numeric_limits<std::int32_t>::min() && number <= std::numeric_limits<std::int32_t>::max())
            return static_cast<std::int32_t>(number);
    } else if (value.is_number_float()) {
        const double number = value.get<double>();
        if (number == std::trunc(number) && number >= std::numeric_limits<std::int32_t>::min()
            && number <= std::numeric_limits<std::int32_t>::max())
            return static_cast<std::int32_t>(number);
    }
    throw SheetJsonError(place + " must be a whole number from -2147483648 to 2147483647");
}

// A field by its name spelt exactly as the table spells it; -1 for any other name.
int exactFieldIndex(std::string_view name)
{
    static const std::unordered_map<std::string_view, int> indexes = [] {
        std::unordered_map<std::string_view, int> map;
        for (int i = 0; i < kFieldCount; ++i)
            map.emplace(WorkerFields()[static_cast<std::size_t>(i)].name, i);
        return map;
    }();
    const auto found = indexes.find(name);
    return found == indexes.end() ? -1 : found->second;
}

const Json& objectOrEmpty(const Json& json, const char* key, const std::string& place)
{
    static const Json empty = Json::object();
    const auto found = json.find(key);
    if (found == json.end())
        return empty;
    if (!found->is_object())
        throw SheetJsonError(place + " must be an object");
    return *found;
}

} // namespace

WorkerRow WorkerRowFromJson(const Json& json, const std::string& place)
{
    if (!json.is_object())
        throw SheetJsonError(WorkerNotAnObject(place));
    WorkerRow row;
    for (const auto& [key, value] : json.items()) {
        const int index = WorkerFieldIndex(key);
        if (index < 0)
            throw SheetJsonError(UnknownWorkerField(place, key));
        SetWorkerField(row, index, value, place);
    }
    CheckWorkerName(row, place);
    return row;
}

void CheckWorkerName(const WorkerRow& row, const std::string& place)
{
    if (row.pName.empty())
        throw SheetJsonError(place + " has no name (pName)");
}

int WorkerFieldIndex(std::string_view name)
{
    return exactFieldIndex(name);
}

std::string SheetHeader::*HeaderFieldByName(std::string_view name)
{
    for (const HeaderField& field : kHeaderFields) {
        if (name == field.name)
            return field.value;
    }
    return nullptr;
}

void SetWorkerField(WorkerRow& row, int index, const Json& value, const std::string& place)
{
    const FieldDef& def = WorkerFields()[static_cast<std::size_t>(index)];
    const std::string fieldPlace = where(place, std::string(def.name));
    switch (def.type) {
    case FieldType::Integer: *IntegerSlot(row, index) = code(value, fieldPlace); break;
    case FieldType::Float: *FloatSlot(row, index) = amount(value, fieldPlace); break;
    case FieldType::String: *StringSlot(row, index) = cp949Text(value, fieldPlace); break;
    }
}

std::string WorkerNotAnObject(const std::string& place)
{
    return place + " must be an object";
}

std::string UnknownWorkerField(const std::string& place, const std::string& name)
{
    return place + " has an unknown field \"" + QuotedInput(name) + "\"";
}

std::string UnknownHeaderField(const std::string& name)
{
    return "header has an unknown field \"" + QuotedInput(name) + "\"";
}

std::string UnknownSheetField(const std::string& name)
{
    return "unknown field \"" + QuotedInput(name) + "\" (a sheet has \"header\" and \"workers\")";
}

std::string NulByteText(std::size_t offset)
{
    return "a NUL byte at byte " + std::to_string(offset + 1) + ", which JSON text never holds";
}

std::string ShortParseError(const std::string& message)
{
    // The parser quotes the token it stopped at, whole: a string of megabytes, say, or a number
    // of as many digits too large for a double.
    constexpr std::string_view kOverflow = "number overflow parsing '";
    if (message.rfind(kOverflow, 0) == 0 && message.size() > kOverflow.size() && message.back() == '\'') {
        const std::string_view token = std::string_view(message).substr(kOverflow.size());
        return std::string(kOverflow) + QuotedInput(token.substr(0, token.size() - 1)) + "'";
    }
    constexpr std::string_view kLastRead = "; last read: '";
    const std::size_t start = message.find(kLastRead);
    if (start == std::string::npos)
        return message;
    const std::size_t from = start + kLastRead.size();
    std::size_t end = message.rfind("'; expected ");
    if (end == std::string::npos || end < from)
        end = message.size() > from && message.back() == '\'' ? message.size() - 1 : std::string::npos;
    if (end == std::string::npos)
        return message;
    return message.substr(0, from) + QuotedInput(std::string_view(message).substr(from, end - from)) +
           message.substr(end);
}

void AppendSheetJsonStart(std::string& out, const SheetHeader& header)
{
    out += "{\n  \"header\": {\n";
    for (std::size_t i = 0; i < kHeaderFields.size(); ++i) {
        appendKey(out, "    ", kHeaderFields[i].name);
        appendQuoted(out, fromCp949(header.*kHeaderFields[i].value));
        out += i + 1 < kHeaderFields.size() ? ",\n" : "\n";
    }
    out += "  },\n  \"workers\": [";
}

void AppendWorkerJson(std::string& out, const WorkerRow& row, bool first)
{
    // Each field's line up to its value, made once.
    static const std::array<std::string, kFieldCount> keys = [] {
        std::array<std::string, kFieldCount> lines;
        for (int index = 0; index < kFieldCount; ++index) {
            std::string& line = lines[static_cast<std::size_t>(index)];
            if (index > 0)
                line += ",\n";
            appendKey(line, "      ", WorkerFields()[static_cast<std::size_t>(index)].name);
        }
        return lines;
    }();
    out += first ? "\n    {\n" : ",\n    {\n";
    for (int index = 0; index < kFieldCount; ++index) {
        out += keys[static_cast<std::size_t>(index)];
        switch (WorkerFields()[static_cast<std::size_t>(index)].type) {
        case FieldType::Integer: {
            char buffer[16];
            out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, *IntegerSlot(row, index)).ptr);
            break;
        }
        case FieldType::Float: appendAmount(out, *FloatSlot(row, index)); break;
        case FieldType::String: appendQuotedCp949(out, *StringSlot(row, index)); break;
        }
    }
    out += "\n    }";
}

void AppendSheetJsonEnd(std::string& out, std::size_t count)
{
    out += count > 0 ? "\n  ]\n}\n" : "]\n}\n";
}

std::string SheetJsonText(const Sheet& sheet)
{
    const WorkerTable& table = sheet.table;
    const int count = table.RecordCount();
    std::string out;
    out.reserve(1024 + static_cast<std::size_t>(count) * 1200);
    AppendSheetJsonStart(out, sheet.header);
    for (int i = 0; i < count; ++i)
        AppendWorkerJson(out, table.RowAt(i), i == 0);
    AppendSheetJsonEnd(out, static_cast<std::size_t>(count));
    return out;
}

std::string WorkerPlace(std::size_t index)
{
    return "workers[" + std::to_string(index) + "]";
}

void ApplyHeaderJson(const Json& json, SheetHeader& header)
{
    if (!json.is_object())
        throw SheetJsonError("header must be an object");
    for (const auto& [key, value] : json.items()) {
        std::string SheetHeader::*const field = HeaderFieldByName(key);
        if (field == nullptr)
            throw SheetJsonError(UnknownHeaderField(key));
        header.*field = cp949Text(value, where("header", key));
    }
}

void SheetFromJson(const Json& json, Sheet& sheet)
{
    if (!json.is_object())
        throw SheetJsonError("the sheet must be a JSON object with \"header\" and \"workers\"");
    for (const auto& [key, value] : json.items()) {
        if (key != "header" && key != "workers")
            throw SheetJsonError(UnknownSheetField(key));
    }

    SheetHeader header = sheet.header;
    ApplyHeaderJson(objectOrEmpty(json, "header", "header"), header);

    std::vector<WorkerRow> rows;
    const auto workers = json.find("workers");
    if (workers != json.end()) {
        if (!workers->is_array())
            throw SheetJsonError("workers must be a list");
        rows.reserve(workers->size());
        for (std::size_t i = 0; i < workers->size(); ++i)
            rows.push_back(WorkerRowFromJson((*workers)[i], WorkerPlace(i)));
    }

    sheet.header = std::move(header);
    sheet.table.ReplaceRows(std::move(rows));
}

} // namespace lavodc::cli
