#include "core/worker_fields.h"

#include "core/cp949.h"

#include <cctype>

namespace lavodc {

namespace {

constexpr std::array<FieldDef, kFieldCount> kFields = {{
    {"HCODE", FieldType::Integer, 0},
    {"SCODE", FieldType::Integer, 0},
    {"LCODE", FieldType::Integer, 0},
    {"cDate", FieldType::String, 7},
    {"pName", FieldType::String, 10},
    {"JmnNo", FieldType::String, 14},
    {"nName", FieldType::String, 20},
    {"nAddr", FieldType::String, 70},
    {"nTel", FieldType::String, 15},
    {"nEtc", FieldType::String, 30},
    {"nNal", FieldType::Float, 0},
    {"nDay", FieldType::Float, 0},
    {"SmMny", FieldType::Float, 0},
    {"d01", FieldType::String, 3}, {"d02", FieldType::String, 3}, {"d03", FieldType::String, 3},
    {"d04", FieldType::String, 3}, {"d05", FieldType::String, 3}, {"d06", FieldType::String, 3},
    {"d07", FieldType::String, 3}, {"d08", FieldType::String, 3}, {"d09", FieldType::String, 3},
    {"d10", FieldType::String, 3}, {"d11", FieldType::String, 3}, {"d12", FieldType::String, 3},
    {"d13", FieldType::String, 3}, {"d14", FieldType::String, 3}, {"d15", FieldType::String, 3},
    {"d16", FieldType::String, 3}, {"d17", FieldType::String, 3}, {"d18", FieldType::String, 3},
    {"d19", FieldType::String, 3}, {"d20", FieldType::String, 3}, {"d21", FieldType::String, 3},
    {"d22", FieldType::String, 3}, {"d23", FieldType::String, 3}, {"d24", FieldType::String, 3},
    {"d25", FieldType::String, 3}, {"d26", FieldType::String, 3}, {"d27", FieldType::String, 3},
    {"d28", FieldType::String, 3}, {"d29", FieldType::String, 3}, {"d30", FieldType::String, 3},
    {"d31", FieldType::String, 3},
}};

bool equalsIgnoringLatinCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        // Only ASCII letters fold; bytes of double-byte characters must match exactly.
        if (ca < 0x80 && cb < 0x80) {
            if (std::tolower(ca) != std::tolower(cb))
                return false;
        } else if (ca != cb) {
            return false;
        }
    }
    return true;
}

} // namespace

const std::array<FieldDef, kFieldCount>& WorkerFields()
{
    return kFields;
}

int FieldIndex(std::string_view name)
{
    for (int i = 0; i < kFieldCount; ++i) {
        if (equalsIgnoringLatinCase(kFields[i].name, name))
            return i;
    }
    return -1;
}

int WorkerRow::CountWorkedDays() const
{
    int count = 0;
    for (const std::string& day : days) {
        if (day == kDayMark)
            ++count;
    }
    return count;
}

void CutToFieldSizes(WorkerRow& row)
{
    auto cut = [](std::string& text, int size) {
        if (text.size() > static_cast<std::size_t>(size))
            text = cutToBytes(text, static_cast<std::size_t>(size));
    };
    cut(row.cDate, kFields[3].size);
    cut(row.pName, kFields[4].size);
    cut(row.JmnNo, kFields[5].size);
    cut(row.nName, kFields[6].size);
    cut(row.nAddr, kFields[7].size);
    cut(row.nTel, kFields[8].size);
    cut(row.nEtc, kFields[9].size);
    for (std::string& day : row.days)
        cut(day, kFields[kFirstDayField].size);
}

} // namespace lavodc
