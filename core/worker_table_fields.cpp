// Field access on the worker table: by name or position, as text, float or integer.
#include "core/worker_table.h"

#include "core/cp949.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace lavodc {

namespace {

int requireField(std::string_view name)
{
    const int index = FieldIndex(name);
    if (index < 0)
        throw TableError("Field '" + std::string(name) + "' not found in the worker table");
    return index;
}

void requirePosition(int position)
{
    if (position < 0 || position >= kFieldCount)
        throw TableError("The worker table has no field at position " + std::to_string(position));
}

const FieldDef& field(int index)
{
    return WorkerFields()[static_cast<std::size_t>(index)];
}

std::string floatText(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 0x20)
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20)
        text.remove_suffix(1);
    return text;
}

double parseFloat(std::string_view text)
{
    const std::string_view t = trimmed(text);
    if (t.empty())
        return 0;
    std::string_view digits = t;
    if (digits.front() == '+')
        digits.remove_prefix(1);
    double value = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec != std::errc() || result.ptr != digits.data() + digits.size() || !std::isfinite(value))
        throw TableError("'" + std::string(text) + "' is not a valid floating point value");
    return value;
}

std::int32_t roundToInteger(double value, std::string_view original)
{
    const double rounded = std::round(value);
    if (!(rounded >= std::numeric_limits<std::int32_t>::min()
          && rounded <= std::numeric_limits<std::int32_t>::max()))
        throw TableError("'" + std::string(original) + "' is not a valid integer value");
    return static_cast<std::int32_t>(rounded);
}

std::int32_t parseInteger(std::string_view text)
{
    const std::string_view t = trimmed(text);
    if (t.empty())
        return 0;
    std::string_view digits = t;
    if (digits.front() == '+')
        digits.remove_prefix(1);
    std::int32_t value = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec != std::errc() || result.ptr != digits.data() + digits.size())
        throw TableError("'" + std::string(text) + "' is not a valid integer value");
    return value;
}

std::string textOf(const WorkerRow& row, int index)
{
    switch (field(index).type) {
    case FieldType::Integer: return std::to_string(*IntegerSlot(row, index));
    case FieldType::Float: return floatText(*FloatSlot(row, index));
    case FieldType::String: break;
    }
    return *StringSlot(row, index);
}

void setText(WorkerRow& row, int index, std::string_view value)
{
    switch (field(index).type) {
    case FieldType::Integer: *IntegerSlot(row, index) = parseInteger(value); return;
    case FieldType::Float: *FloatSlot(row, index) = parseFloat(value); return;
    case FieldType::String: break;
    }
    *StringSlot(row, index) = cutToBytes(value, static_cast<std::size_t>(field(index).size));
}

// "###,###,###,###": whole units, groups of three, nothing for zero.
std::string groupedAmount(double value)
{
    const double rounded = std::round(value);
    if (rounded == 0 || !std::isfinite(rounded))
        return {};
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(rounded),
                                      std::chars_format::fixed, 0);
    const std::string digits(buffer, result.ptr);
    std::string text = rounded < 0 ? "-" : "";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return text;
}

} // namespace

std::string WorkerTable::FieldText(std::string_view name) const
{
    return FieldTextAt(requireField(name));
}

std::string WorkerTable::FieldTextAt(int position) const
{
    requirePosition(position);
    return textOf(readableRow(), position);
}

void WorkerTable::SetFieldText(std::string_view name, std::string_view value)
{
    SetFieldTextAt(requireField(name), value);
}

void WorkerTable::SetFieldTextAt(int position, std::string_view value)
{
    requirePosition(position);
    requireEditing();
    setText(buffer_, position, value);   // a refused number throws before anything changes
    modified_ = true;
}

double WorkerTable::FieldFloat(std::string_view name) const
{
    const int index = requireField(name);
    const WorkerRow& row = readableRow();
    switch (field(index).type) {
    case FieldType::Integer: return *IntegerSlot(row, index);
    case FieldType::Float: return *FloatSlot(row, index);
    case FieldType::String: break;
    }
    return parseFloat(*StringSlot(row, index));
}

std::int32_t WorkerTable::FieldInteger(std::string_view name) const
{
    const int index = requireField(name);
    const WorkerRow& row = readableRow();
    switch (field(index).type) {
    case FieldType::Integer: return *IntegerSlot(row, index);
    case FieldType::Float: {
        const double value = *FloatSlot(row, index);
        return roundToInteger(value, floatText(value));
    }
    case FieldType::String: break;
    }
    return parseInteger(*StringSlot(row, index));
}

void WorkerTable::SetFieldFloat(std::string_view name, double value)
{
    const int index = requireField(name);
    requireEditing();
    switch (field(index).type) {
    case FieldType::Integer: {
        const std::int32_t rounded = roundToInteger(value, floatText(value));
        *IntegerSlot(writableRow(), index) = rounded;
        return;
    }
    case FieldType::Float: *FloatSlot(writableRow(), index) = value; return;
    case FieldType::String: break;
    }
    SetFieldTextAt(index, floatText(value));
}

void WorkerTable::SetFieldInteger(std::string_view name, std::int32_t value)
{
    const int index = requireField(name);
    requireEditing();
    switch (field(index).type) {
    case FieldType::Integer: *IntegerSlot(writableRow(), index) = value; return;
    case FieldType::Float: *FloatSlot(writableRow(), index) = value; return;
    case FieldType::String: break;
    }
    SetFieldTextAt(index, std::to_string(value));
}

std::string WorkerTable::DisplayText(std::string_view name) const
{
    return RowDisplayText(readableRow(), requireField(name));
}

std::string RowFieldText(const WorkerRow& row, int position)
{
    requirePosition(position);
    return textOf(row, position);
}

std::string RowDisplayText(const WorkerRow& row, int position)
{
    requirePosition(position);
    if (field(position).name == "SmMny")
        return groupedAmount(row.SmMny);
    return textOf(row, position);
}

} // namespace lavodc
