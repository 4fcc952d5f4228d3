#pragma once
// The layout of one 344-byte record of a sheet file and the encodings used in it:
// little-endian integers, texts as a length byte followed by the field's width in bytes,
// amounts as signed 64-bit integers of the value times 10000 (halves to even).

#include "core/sheet.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lavodc::record {

inline constexpr std::size_t kSize = 344;
using Bytes = std::array<unsigned char, kSize>;

struct TextField {
    std::size_t offset;
    std::size_t width;
};

inline constexpr std::size_t kHCode = 0;
inline constexpr std::size_t kSCode = 4;
inline constexpr std::size_t kLCode = 8;
inline constexpr TextField kDate{12, 7};
inline constexpr TextField kName{20, 10};      // pName, MgrName, cmpName
inline constexpr TextField kNumber{31, 14};    // JmnNo, MgrJmnNo
inline constexpr TextField kJob{46, 20};       // nName
inline constexpr TextField kAddress{67, 70};   // nAddr, gsName, cmpAddr, indName
inline constexpr TextField kPhone{138, 15};    // nTel, cmpTel
inline constexpr TextField kNote{154, 30};     // nEtc, cmpNo, signature, indNo
inline constexpr std::size_t kDays = 192;
inline constexpr std::size_t kHours = 200;
inline constexpr std::size_t kWages = 208;
inline constexpr std::size_t kFirstDay = 216;  // d01; day k at 216 + 4 * (k - 1)
inline constexpr std::size_t kDayWidth = 3;
inline constexpr std::size_t kKind = 340;      // 0x01, then the kind letter at 341

inline constexpr TextField dayField(int day) { return {kFirstDay + 4 * static_cast<std::size_t>(day - 1), kDayWidth}; }

inline constexpr char kKindA = 'A';
inline constexpr char kKindB = 'B';
inline constexpr char kKindC = 'C';
inline constexpr char kKindN = 'N';
inline constexpr std::string_view kSignature = "quorvanet20040722";

// The one record buffer of the program: zero at start, never cleared. Writing fills only
// what a kind defines, so every other byte keeps what the last record written or read left.
Bytes& sharedBuffer();

// Writes the length byte and the first min(size, width) bytes; the rest of the field stays.
void putText(Bytes& bytes, TextField field, std::string_view text);
// The text by its length byte, cut to the width when the byte claims more.
std::string getText(const unsigned char* record, TextField field);
std::string_view textAt(const unsigned char* record, TextField field);
void putInt32(Bytes& bytes, std::size_t offset, std::int32_t value);
std::int32_t getInt32(const unsigned char* record, std::size_t offset);
// Raises SheetFileError for a value that does not fit the stored range.
void putAmount(Bytes& bytes, std::size_t offset, double value);
double getAmount(const unsigned char* record, std::size_t offset);
void putKind(Bytes& bytes, char kind);
char kindOf(const unsigned char* record);

// The value times 10000 rounded to the nearest integer, halves to even.
std::int64_t scaledAmount(double value);
// Whether an amount field can hold `value` (scaledAmount raises for the others).
bool fitsAmount(double value);

void fillHeaderA(Bytes& bytes, const SheetHeader& header, std::string_view period);
void fillHeaderB(Bytes& bytes, const SheetHeader& header, std::string_view period);
void fillHeaderC(Bytes& bytes, const SheetHeader& header, std::string_view period);
void fillWorker(Bytes& bytes, const WorkerRow& row, std::string_view period);
// The same for a row whose texts stand in `texts` at a worker record's places (cut to their
// widths), with nNal, nDay and SmMny in `amounts`: the bytes fillWorker writes for that row.
void fillWorker(Bytes& bytes, const unsigned char* texts, const std::array<double, 3>& amounts,
                std::string_view period);

// A header record (kind A, B or C) sets the header values it carries. Other kinds: false.
bool applyHeaderRecord(const unsigned char* record, SheetHeader& header);
// A worker record (kind N) as a row; every field of `row` is set.
void readWorker(const unsigned char* record, WorkerRow& row);

} // namespace lavodc::record
