#pragma once
// A sheet as JSON (UTF-8) and back: {"header": {...eleven values...}, "workers": [{...44 fields...}]}.
// Texts are strings, the codes and amounts numbers. The field names are those of the table.

#include "core/sheet.h"

#include <nlohmann/json.hpp>

#include <stdexcept>
#include <string>
#include <string_view>

namespace lavodc::cli {

using Json = nlohmann::ordered_json;

// Raised for JSON that does not have the sheet's shape, or a text CP949 cannot hold;
// what() says where, in the user's words.
class SheetJsonError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The header as it stands and every row in the table's current order, as JSON text in
// UTF-8 indented by two blanks. Written straight out, without a document tree, so that a
// sheet of many workers costs little more than its text.
std::string SheetJsonText(const Sheet& sheet);

// The same text in pieces, for a large sheet written out as it goes: the opening with the
// header, each worker (`first` for the first one), the end after `count` workers.
void AppendSheetJsonStart(std::string& out, const SheetHeader& header);
void AppendWorkerJson(std::string& out, const WorkerRow& row, bool first);
void AppendSheetJsonEnd(std::string& out, std::size_t count);

// Fills an open sheet from `json`: header values missing from it keep what `sheet.header`
// holds, worker fields missing from it take the values of a new row. The rows replace the
// table's rows.
void SheetFromJson(const Json& json, Sheet& sheet);

// The pieces of SheetFromJson. The header values in `json` (which must be an object) set
// those of `header`; a worker at `place` ("workers[3]", see WorkerPlace) becomes a row.
void ApplyHeaderJson(const Json& json, SheetHeader& header);
WorkerRow WorkerRowFromJson(const Json& json, const std::string& place);
std::string WorkerPlace(std::size_t index);
// The field of a worker named exactly `name` (-1: none), and setting it from a JSON value as
// WorkerRowFromJson does, with the same errors; and the texts of its two other errors.
int WorkerFieldIndex(std::string_view name);
void SetWorkerField(WorkerRow& row, int index, const Json& value, const std::string& place);
std::string WorkerNotAnObject(const std::string& place);
std::string UnknownWorkerField(const std::string& place, const std::string& name);
// A worker needs a name, as in the entry dialog; raises SheetJsonError naming its place.
void CheckWorkerName(const WorkerRow& row, const std::string& place);

// The header value named exactly `name`, or nullptr.
std::string SheetHeader::*HeaderFieldByName(std::string_view name);

// The texts of the other errors; a name from the input is quoted as QuotedInput quotes it.
std::string UnknownHeaderField(const std::string& name);
std::string UnknownSheetField(const std::string& name);
// A NUL byte at `offset` (from 0) of the text.
std::string NulByteText(std::size_t offset);
// The parser's message with the token it quotes cut as QuotedInput cuts it.
std::string ShortParseError(const std::string& message);

} // namespace lavodc::cli
