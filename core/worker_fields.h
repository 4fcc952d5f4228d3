#pragma once
// The 44 fields of a worker row, in their fixed order. The day marks d01..d31 are the
// 14th to 44th fields; recounting addresses them by that position.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lavodc {

enum class FieldType { Integer, String, Float };

struct FieldDef {
    std::string_view name;
    FieldType type;
    int size;   // bytes for strings, 0 otherwise
};

inline constexpr int kFieldCount = 44;
inline constexpr int kFirstDayField = 13;   // zero-based position of d01
inline constexpr int kDayCount = 31;

const std::array<FieldDef, kFieldCount>& WorkerFields();

// Position of a field by name (Latin case ignored), -1 when there is none.
int FieldIndex(std::string_view name);

// The mark of a worked day: "√" in CP949 (A1 EE). Only a cell holding exactly this counts.
inline constexpr std::string_view kDayMark = "\xA1\xEE";

// One row, as stored. A fresh row holds zeros and empty texts.
struct WorkerRow {
    std::int32_t HCODE = 0;
    std::int32_t SCODE = 0;
    std::int32_t LCODE = 0;
    std::string cDate;   // 7
    std::string pName;   // 10
    std::string JmnNo;   // 14
    std::string nName;   // 20
    std::string nAddr;   // 70
    std::string nTel;    // 15
    std::string nEtc;    // 30
    double nNal = 0;
    double nDay = 0;
    double SmMny = 0;
    std::array<std::string, kDayCount> days;   // d01..d31, 3 bytes each

    int CountWorkedDays() const;
};

// Cuts every text of `row` to its field's size in bytes (a double-byte character may lose
// its second byte, as stored fields do).
void CutToFieldSizes(WorkerRow& row);

// The member of a row that holds field `index` (a position in WorkerFields()) of the
// given type; for const and non-const rows alike.
template <typename Row>
auto* StringSlot(Row& row, int index)
{
    switch (index) {
    case 3: return &row.cDate;
    case 4: return &row.pName;
    case 5: return &row.JmnNo;
    case 6: return &row.nName;
    case 7: return &row.nAddr;
    case 8: return &row.nTel;
    case 9: return &row.nEtc;
    default: return &row.days[static_cast<std::size_t>(index - kFirstDayField)];
    }
}

template <typename Row>
auto* IntegerSlot(Row& row, int index)
{
    return index == 0 ? &row.HCODE : index == 1 ? &row.SCODE : &row.LCODE;
}

template <typename Row>
auto* FloatSlot(Row& row, int index)
{
    return index == 10 ? &row.nNal : index == 11 ? &row.nDay : &row.SmMny;
}

} // namespace lavodc
