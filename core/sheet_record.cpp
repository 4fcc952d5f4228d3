#include "core/sheet_record.h"

#include "core/quorva_lib.h"
#include "core/sheet_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace lavodc::record {

Bytes& sharedBuffer()
{
    static Bytes buffer{};
    return buffer;
}

void putText(Bytes& bytes, TextField field, std::string_view text)
{
    const std::size_t length = std::min(text.size(), field.width);
    bytes[field.offset] = static_cast<unsigned char>(length);
    std::memcpy(bytes.data() + field.offset + 1, text.data(), length);
}

std::string_view textAt(const unsigned char* record, TextField field)
{
    // A length byte beyond the width never comes from this program; cut it so that
    // reading never leaves the field.
    const std::size_t length = std::min<std::size_t>(record[field.offset], field.width);
    return std::string_view(reinterpret_cast<const char*>(record + field.offset + 1), length);
}

std::string getText(const unsigned char* record, TextField field)
{
    return std::string(textAt(record, field));
}

void putInt32(Bytes& bytes, std::size_t offset, std::int32_t value)
{
    const auto u = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<unsigned char>(u >> (8 * i));
}

std::int32_t getInt32(const unsigned char* record, std::size_t offset)
{
    std::uint32_t u = 0;
    for (std::size_t i = 0; i < 4; ++i)
        u |= static_cast<std::uint32_t>(record[offset + i]) << (8 * i);
    return static_cast<std::int32_t>(u);
}

namespace {

// The product in extended precision, as the FPU forms it, then rounded in the default
// mode: to the nearest integer, exact halves to the even one. (rintl rounds as nearbyintl does
// and only may raise the inexact flag, which nothing here looks at; it costs far less.)
long double scaled(double value)
{
    return std::rintl(static_cast<long double>(value) * 10000.0L);
}

bool fitsScaled(long double scaled)
{
    constexpr long double limit = 9223372036854775808.0L;   // 2^63
    return scaled >= -limit && scaled < limit;
}

} // namespace

std::int64_t scaledAmount(double value)
{
    const long double product = scaled(value);
    if (!fitsScaled(product))
        throw SheetFileError("The amount " + std::to_string(value) + " is too large to be stored");
    return static_cast<std::int64_t>(product);
}

bool fitsAmount(double value)
{
    return fitsScaled(scaled(value));
}

void putAmount(Bytes& bytes, std::size_t offset, double value)
{
    const auto u = static_cast<std::uint64_t>(scaledAmount(value));
    for (std::size_t i = 0; i < 8; ++i)
        bytes[offset + i] = static_cast<unsigned char>(u >> (8 * i));
}

double getAmount(const unsigned char* record, std::size_t offset)
{
    std::uint64_t u = 0;
    for (std::size_t i = 0; i < 8; ++i)
        u |= static_cast<std::uint64_t>(record[offset + i]) << (8 * i);
    const auto stored = static_cast<std::int64_t>(u);
    double value = static_cast<double>(stored) / 10000.0;
    // Near the ends of the stored range the nearest double can lie just beyond it: take the next
    // one inward, so that whatever was read can be saved again. Below 2^62 it never does.
    constexpr std::int64_t safe = std::int64_t{1} << 62;
    if (stored > -safe && stored < safe)
        return value;
    while (!fitsScaled(scaled(value)))
        value = std::nextafter(value, 0.0);
    return value;
}

void putKind(Bytes& bytes, char kind)
{
    bytes[kKind] = 0x01;
    bytes[kKind + 1] = static_cast<unsigned char>(kind);
}

char kindOf(const unsigned char* record)
{
    return static_cast<char>(record[kKind + 1]);
}

namespace {

void putCodesAndPeriod(Bytes& bytes, std::string_view period)
{
    putInt32(bytes, kHCode, 1);
    putInt32(bytes, kSCode, 1);
    putInt32(bytes, kLCode, 1);
    putText(bytes, kDate, period);
}

} // namespace

void fillHeaderA(Bytes& bytes, const SheetHeader& header, std::string_view period)
{
    putCodesAndPeriod(bytes, period);
    putText(bytes, kName, header.MgrName);
    putText(bytes, kNumber, header.MgrJmnNo);
    putText(bytes, kAddress, header.gsName);
    putText(bytes, kNote, header.cmpNo);
    putKind(bytes, kKindA);
}

void fillHeaderB(Bytes& bytes, const SheetHeader& header, std::string_view period)
{
    putCodesAndPeriod(bytes, period);
    putText(bytes, kName, header.cmpName);
    putText(bytes, kAddress, header.cmpAddr);
    putText(bytes, kPhone, BracketPhone(header.cmpTel, 4));
    putText(bytes, kNote, kSignature);
    putKind(bytes, kKindB);
}

void fillHeaderC(Bytes& bytes, const SheetHeader& header, std::string_view period)
{
    putCodesAndPeriod(bytes, period);
    putText(bytes, kAddress, header.indName);
    putText(bytes, kNote, header.indNo);
    putKind(bytes, kKindC);
}

void fillWorker(Bytes& bytes, const WorkerRow& row, std::string_view period)
{
    putCodesAndPeriod(bytes, period);
    putText(bytes, kName, row.pName);
    putText(bytes, kNumber, row.JmnNo);
    putText(bytes, kJob, row.nName);
    putText(bytes, kAddress, row.nAddr);
    putText(bytes, kPhone, row.nTel);
    putText(bytes, kNote, row.nEtc);
    putAmount(bytes, kDays, row.nNal);
    putAmount(bytes, kHours, row.nDay);
    putAmount(bytes, kWages, row.SmMny);
    for (int day = 1; day <= kDayCount; ++day)
        putText(bytes, dayField(day), row.days[static_cast<std::size_t>(day - 1)]);
    putKind(bytes, kKindN);
}

void fillWorker(Bytes& bytes, const unsigned char* texts, const std::array<double, 3>& amounts, std::string_view period)
{
    const auto text = [&bytes, texts](TextField field) { putText(bytes, field, textAt(texts, field)); };
    putCodesAndPeriod(bytes, period);
    text(kName);
    text(kNumber);
    text(kJob);
    text(kAddress);
    text(kPhone);
    text(kNote);
    putAmount(bytes, kDays, amounts[0]);
    putAmount(bytes, kHours, amounts[1]);
    putAmount(bytes, kWages, amounts[2]);
    for (int day = 1; day <= kDayCount; ++day)
        text(dayField(day));
    putKind(bytes, kKindN);
}

bool applyHeaderRecord(const unsigned char* record, SheetHeader& header)
{
    switch (kindOf(record)) {
    case kKindA: {
        const std::string period = getText(record, kDate);
        header.gsyear = period.substr(0, 4);
        header.gmonth = period.size() > 5 ? period.substr(5, 2) : std::string();
        header.MgrName = getText(record, kName);
        header.MgrJmnNo = getText(record, kNumber);
        header.gsName = getText(record, kAddress);
        header.cmpNo = getText(record, kNote);
        return true;
    }
    case kKindB:
        header.cmpName = getText(record, kName);
        header.cmpAddr = getText(record, kAddress);
        header.cmpTel = UnbracketPhone(getText(record, kPhone));
        return true;
    case kKindC:
        header.indName = getText(record, kAddress);
        header.indNo = getText(record, kNote);
        return true;
    default:
        return false;
    }
}

void readWorker(const unsigned char* record, WorkerRow& row)
{
    // Assigned in place: a row read again and again keeps its texts' room.
    const auto text = [record](std::string& to, TextField field) { to.assign(textAt(record, field)); };
    row.HCODE = getInt32(record, kHCode);
    row.SCODE = getInt32(record, kSCode);
    row.LCODE = getInt32(record, kLCode);
    text(row.cDate, kDate);
    text(row.pName, kName);
    text(row.JmnNo, kNumber);
    text(row.nName, kJob);
    text(row.nAddr, kAddress);
    text(row.nTel, kPhone);
    text(row.nEtc, kNote);
    row.nNal = getAmount(record, kDays);
    row.nDay = getAmount(record, kHours);
    row.SmMny = getAmount(record, kWages);
    for (int day = 1; day <= kDayCount; ++day)
        text(row.days[static_cast<std::size_t>(day - 1)], dayField(day));
}

} // namespace lavodc::record
