#pragma once
// A sheet as JSON (UTF-8) and back: {"header": {...eleven values...}, "workers": [{...44 fields...}]}.
// Texts are strings, the codes and amounts numbers. The field names are those of the table.

#include "core/sheet.h"

#include <nlohmann/json.hpp>

#include <stdexcept>
#include <string>

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

// Fills an open sheet from `json`: header values missing from it keep what `sheet.header`
// holds, worker fields missing from it take the values of a new row. The rows replace the
// table's rows.
void SheetFromJson(const Json& json, Sheet& sheet);

} // namespace lavodc::cli
