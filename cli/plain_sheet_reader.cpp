#include "cli/plain_sheet_reader.h"

#include "cli/sheet_json.h"

#include "core/cp949.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

namespace lavodc::cli {

namespace {

constexpr std::size_t kPiece = 1 << 20;     // the text is read this much at a time
constexpr std::size_t kLookAhead = 1 << 16;  // in the buffer at the start of every member

// Thrown inside the reader at the first thing that is not plainly right.
struct NotPlain {};

// Bytes that go into a string as they are: not '"', not '\\', not a control character. The NUL
// byte after the buffer's end is a control character, so a scan always stops there.
constexpr std::array<bool, 256> kPlainInString = [] {
    std::array<bool, 256> plain{};
    for (int c = 0x20; c < 0x100; ++c)
        plain[static_cast<std::size_t>(c)] = c != '"' && c != '\\';
    return plain;
}();

bool isBlank(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    throw NotPlain{};
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// A number as JSON writes it, read as the general reader's parser reads it: a whole number
// that fits 64 bits (unsigned, or signed when negative) stays whole, anything else is a double.
struct Number {
    const char* begin;
    const char* end;
    bool whole;            // no fraction, no exponent, and it fits
    bool negative;
    std::uint64_t magnitude;

    double asDouble() const
    {
        if (whole) {
            const auto value = static_cast<double>(magnitude);   // "-0" is a whole 0
            return negative && magnitude != 0 ? -value : value;
        }
        // Correctly rounded, as the parser's strtod; out of range either way gives up here.
        double value = 0;
        const auto [ptr, error] = std::from_chars(begin, end, value);
        if (error != std::errc() || ptr != end || !std::isfinite(value))
            throw NotPlain{};
        return value;
    }

    std::int32_t asCode() const
    {
        constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
        if (whole) {
            if (!negative && magnitude <= kMax)
                return static_cast<std::int32_t>(magnitude);
            if (negative && magnitude <= kMax + 1)
                return static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude));
            throw NotPlain{};
        }
        const double value = asDouble();
        if (value == std::trunc(value) && value >= std::numeric_limits<std::int32_t>::min()
            && value <= std::numeric_limits<std::int32_t>::max())
            return static_cast<std::int32_t>(value);
        throw NotPlain{};
    }
};

class PlainReader {
public:
    // The buffer is not cleared: only what is read into it is ever looked at.
    explicit PlainReader(JsonSource& source)
        : source_(source), buffer_(std::make_unique_for_overwrite<char[]>(kPiece + 1))
    {
        at_ = end_ = buffer_.get();
        *end_ = '\0';
    }

    void read(SheetHeader& header, const std::function<void(const WorkerRow&)>& worker)
    {
        fill();
        if (end_ - at_ >= 3 && std::memcmp(at_, "\xEF\xBB\xBF", 3) == 0)
            at_ += 3;
        expect('{');
        bool headerSeen = false;
        bool workersSeen = false;
        SheetHeader result = header;
        if (!take('}')) {
            do {
                lookAhead();
                const std::string_view key = keyText();
                if (key == "header" && !headerSeen) {
                    headerSeen = true;
                    readHeader(result);
                } else if (key == "workers" && !workersSeen) {
                    workersSeen = true;
                    readWorkers(worker);
                } else {
                    throw NotPlain{};
                }
            } while (take(','));
            expect('}');
        }
        // Nothing but blanks after the sheet.
        for (;;) {
            skipBlanks();
            if (at_ != end_)
                throw NotPlain{};
            if (ended_)
                break;
            fill();
        }
        header = std::move(result);
    }

private:
    // Keeps what is left and reads on until the buffer is full or the text has ended; the byte
    // after the end is NUL.
    void fill()
    {
        const std::size_t left = static_cast<std::size_t>(end_ - at_);
        std::memmove(buffer_.get(), at_, left);
        std::size_t size = left;
        while (!ended_ && size < kPiece) {
            const std::size_t got = source_.read(buffer_.get() + size, kPiece - size);
            ended_ = got == 0;
            size += got;
        }
        at_ = buffer_.get();
        end_ = at_ + size;
        *end_ = '\0';
    }

    void lookAhead()
    {
        if (!ended_ && static_cast<std::size_t>(end_ - at_) < kLookAhead)
            fill();
    }

    void skipBlanks()
    {
        while (isBlank(*at_))
            ++at_;
    }

    bool take(char c)
    {
        skipBlanks();
        if (*at_ != c)
            return false;
        ++at_;
        return true;
    }

    void expect(char c)
    {
        if (!take(c))
            throw NotPlain{};
    }

    // A member's name and its colon.
    std::string_view keyText()
    {
        expect('"');
        const std::string_view key = stringText();
        expect(':');
        return key;
    }

    // The text of a string whose opening quote was read, escapes resolved (UTF-8 not checked:
    // CP949 conversion refuses what is not UTF-8, and names are compared with ASCII ones). Lives
    // until the next string or the next look-ahead.
    std::string_view stringText()
    {
        char* from = at_;
        bool escaped = false;
        for (;;) {
            char* scan = at_;
            while (kPlainInString[static_cast<unsigned char>(*scan)])
                ++scan;
            if (*scan == '"') {
                at_ = scan + 1;
                if (!escaped)
                    return std::string_view(from, static_cast<std::size_t>(scan - from));
                unescaped_.append(from, scan);
                return unescaped_;
            }
            if (*scan != '\\')
                throw NotPlain{};   // a control character, or the end of what the buffer holds
            if (!escaped)
                unescaped_.clear();
            escaped = true;
            unescaped_.append(from, scan);
            at_ = scan + 1;
            unescape();
            from = at_;
        }
    }

    void unescape()
    {
        const char c = *at_++;
        switch (c) {
        case '"':
        case '\\':
        case '/': unescaped_ += c; return;
        case 'b': unescaped_ += '\b'; return;
        case 'f': unescaped_ += '\f'; return;
        case 'n': unescaped_ += '\n'; return;
        case 'r': unescaped_ += '\r'; return;
        case 't': unescaped_ += '\t'; return;
        case 'u': break;
        default: throw NotPlain{};
        }
        char32_t cp = hex4();
        if (cp >= 0xDC00 && cp <= 0xDFFF)
            throw NotPlain{};
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            if (at_[0] != '\\' || at_[1] != 'u')
                throw NotPlain{};
            at_ += 2;
            const char32_t low = hex4();
            if (low < 0xDC00 || low > 0xDFFF)
                throw NotPlain{};
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        }
        appendUtf8(unescaped_, cp);
    }

    char32_t hex4()
    {
        char32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value = value << 4 | static_cast<char32_t>(hexValue(*at_++));
        return value;
    }

    // A string value in CP949 into `text`.
    void readText(std::string& text)
    {
        expect('"');
        text.clear();
        if (!appendCp949(text, stringText()))
            throw NotPlain{};
    }

    Number readNumber()
    {
        skipBlanks();
        Number number{at_, at_, true, false, 0};
        char* p = at_;
        if (*p == '-') {
            number.negative = true;
            ++p;
        }
        if (*p == '0') {
            ++p;
        } else if (*p >= '1' && *p <= '9') {
            for (; isDigit(*p); ++p) {
                const auto digit = static_cast<std::uint64_t>(*p - '0');
                if (number.magnitude > (std::numeric_limits<std::uint64_t>::max() - digit) / 10)
                    number.whole = false;
                number.magnitude = number.magnitude * 10 + digit;
            }
        } else {
            throw NotPlain{};
        }
        if (*p == '.') {
            number.whole = false;
            if (!isDigit(*++p))
                throw NotPlain{};
            while (isDigit(*p))
                ++p;
        }
        if (*p == 'e' || *p == 'E') {
            number.whole = false;
            ++p;
            if (*p == '+' || *p == '-')
                ++p;
            if (!isDigit(*p))
                throw NotPlain{};
            while (isDigit(*p))
                ++p;
        }
        if (number.negative && number.magnitude > std::uint64_t{1} << 63)
            number.whole = false;
        number.end = p;
        at_ = p;
        return number;
    }

    void readHeader(SheetHeader& header)
    {
        expect('{');
        if (take('}'))
            return;
        do {
            lookAhead();
            std::string SheetHeader::*const field = HeaderFieldByName(keyText());
            if (field == nullptr)
                throw NotPlain{};
            readText(header.*field);
        } while (take(','));
        expect('}');
    }

    void readWorkers(const std::function<void(const WorkerRow&)>& worker)
    {
        expect('[');
        if (take(']'))
            return;
        do {
            lookAhead();
            readWorker();
            if (worker)
                worker(row_);
        } while (take(','));
        expect(']');
    }

    void readWorker()
    {
        // A new row, its texts keeping their room.
        row_.HCODE = row_.SCODE = row_.LCODE = 0;
        row_.nNal = row_.nDay = row_.SmMny = 0;
        for (int index = 0; index < kFieldCount; ++index) {
            if (WorkerFields()[static_cast<std::size_t>(index)].type == FieldType::String)
                StringSlot(row_, index)->clear();
        }
        expect('{');
        if (!take('}')) {
            int expected = 0;   // workers written by dump name their fields in the table's order
            do {
                lookAhead();
                const int index = fieldIndex(keyText(), expected);
                switch (WorkerFields()[static_cast<std::size_t>(index)].type) {
                case FieldType::Integer: *IntegerSlot(row_, index) = readNumber().asCode(); break;
                case FieldType::Float: *FloatSlot(row_, index) = readNumber().asDouble(); break;
                case FieldType::String: readText(*StringSlot(row_, index)); break;
                }
                expected = index + 1;
            } while (take(','));
            expect('}');
        }
        if (row_.pName.empty())
            throw NotPlain{};
    }

    static int fieldIndex(std::string_view key, int expected)
    {
        if (expected < kFieldCount && key == WorkerFields()[static_cast<std::size_t>(expected)].name)
            return expected;
        const int index = WorkerFieldIndex(key);
        if (index < 0)
            throw NotPlain{};
        return index;
    }

    JsonSource& source_;
    std::unique_ptr<char[]> buffer_;
    char* at_ = nullptr;
    char* end_ = nullptr;
    bool ended_ = false;
    std::string unescaped_;
    WorkerRow row_;
};

} // namespace

bool ReadPlainSheet(JsonSource& in, SheetHeader& header, const std::function<void(const WorkerRow&)>& worker)
{
    try {
        PlainReader(in).read(header, worker);
        return true;
    } catch (const NotPlain&) {
        return false;
    }
}

} // namespace lavodc::cli
