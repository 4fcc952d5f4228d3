// UTF-8 <-> CP949 by tables made from the C library's iconv (encoding "CP949"), so that the two
// always agree and a text costs a table look-up per character, not a call of iconv.
//
// Decoding (fromCp949, cp949CodePoints) uses a table of the whole code page that is built once
// on first use: every byte pair lead 0x81..0xFE / trail 0x00..0xFF is decoded by iconv and the
// code point (or "does not decode") is kept, so the U+FFFD rule is the same for the display text
// and the sort keys. Encoding (toCp949) looks a character of the Basic Multilingual Plane up in
// a page of 256 code points, each page converted by iconv the first time a character of it comes;
// a character beyond that plane (CP949 holds none, but iconv has its own ideas about some) is
// handed to iconv itself.

#include "core/cp949.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <iconv.h>
#include <memory>
#include <mutex>

namespace lavodc {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// ---------------------------------------------------------------------------------------------
// UTF-8 decoding (strict: no overlong forms, no surrogates, nothing above U+10FFFF).

struct Utf8Step {
    char32_t codePoint; // valid only when length > 0
    int length;         // bytes taken; 0 when the sequence at the position is invalid
};

Utf8Step decodeUtf8At(std::string_view s, std::size_t i)
{
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80)
        return {b0, 1};
    int len = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2; cp = b0 & 0x1F; min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3; cp = b0 & 0x0F; min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4; cp = b0 & 0x07; min = 0x10000;
    } else {
        return {0, 0};
    }
    if (i + len > s.size())
        return {0, 0};
    for (int k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80)
            return {0, 0};
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return {0, 0};
    return {cp, len};
}

// Writes `cp` in UTF-8 at `at`; returns the end of what it wrote.
char* writeUtf8(char* at, char32_t cp)
{
    if (cp < 0x80) {
        *at++ = static_cast<char>(cp);
    } else if (cp < 0x800) {
        *at++ = static_cast<char>(0xC0 | (cp >> 6));
        *at++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *at++ = static_cast<char>(0xE0 | (cp >> 12));
        *at++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *at++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        *at++ = static_cast<char>(0xF0 | (cp >> 18));
        *at++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        *at++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *at++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
    return at;
}

std::string hexByte(unsigned char b)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%02X", b);
    return buf;
}

std::string codePointName(char32_t cp)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
    return buf;
}

// ---------------------------------------------------------------------------------------------
// iconv descriptors.

struct IconvCloser {
    void operator()(void* cd) const
    {
        if (cd)
            iconv_close(static_cast<iconv_t>(cd));
    }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

IconvHandle openIconv(const char* to, const char* from)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw EncodingError(std::string("iconv cannot convert from ") + from + " to " + to);
    return IconvHandle(cd);
}

bool littleEndian()
{
    const std::uint16_t x = 1;
    return *reinterpret_cast<const unsigned char*>(&x) == 1;
}

// UTF-32 in the machine's byte order ("UTF-32LE" on x86; "WCHAR_T" is UTF-32 with glibc too,
// but naming the order is clearer).
const char* utf32()
{
    return littleEndian() ? "UTF-32LE" : "UTF-32BE";
}

// The CP949 bytes iconv makes of the one character `cp` (possibly none); false when it refuses.
bool encodeOneWithIconv(iconv_t cd, char32_t cp, std::string& bytes)
{
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char32_t in = cp;
    char out[16];
    char* inPtr = reinterpret_cast<char*>(&in);
    std::size_t inLeft = sizeof in;
    char* outPtr = out;
    std::size_t outLeft = sizeof out;
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
        return false;
    bytes.assign(out, sizeof out - outLeft);
    return true;
}

// ---------------------------------------------------------------------------------------------
// The encoding table: the CP949 code of every character of the Basic Multilingual Plane, in pages
// of 256 code points made on first use. An entry is kNoCode, kAskIconv (iconv gives something
// other than one or two bytes: asked again each time), a single byte, or lead << 8 | trail.

constexpr std::uint16_t kNoCode = 0;
constexpr std::uint16_t kAskIconv = 1;

class EncodeTable {
public:
    std::uint16_t code(char32_t cp)
    {
        const std::size_t page = cp >> 8;
        if (!built_[page].load(std::memory_order_acquire))
            build(page);
        return codes_[page][cp & 0xFF];
    }

private:
    void build(std::size_t page)
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (built_[page].load(std::memory_order_relaxed))
            return;
        IconvHandle handle = openIconv("CP949", utf32());
        iconv_t cd = static_cast<iconv_t>(handle.get());
        std::string bytes;
        for (std::size_t low = 0; low < 256; ++low) {
            const auto cp = static_cast<char32_t>(page << 8 | low);
            std::uint16_t entry = kNoCode;
            if ((cp < 0xD800 || cp > 0xDFFF) && encodeOneWithIconv(cd, cp, bytes)) {
                const auto byte = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
                if (bytes.size() == 1 && byte(0) > kAskIconv)
                    entry = byte(0);
                else if (bytes.size() == 2 && byte(0) != 0)
                    entry = static_cast<std::uint16_t>(byte(0) << 8 | byte(1));
                else
                    entry = kAskIconv;
            }
            codes_[page][low] = entry;
        }
        built_[page].store(true, std::memory_order_release);
    }

    std::array<std::array<std::uint16_t, 256>, 256> codes_{};
    std::array<std::atomic<bool>, 256> built_{};
    std::mutex mutex_;
};

EncodeTable& encodeTable()
{
    static EncodeTable table;
    return table;
}

// Appends the CP949 bytes of `cp` to `out`; false when CP949 has no code for it.
bool appendEncoded(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
        return true;
    }
    if (cp <= 0xFFFF) {
        const std::uint16_t code = encodeTable().code(cp);
        if (code > 0xFF) {
            const char pair[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
            out.append(pair, 2);
            return true;
        }
        if (code > kAskIconv) {
            out.push_back(static_cast<char>(code));
            return true;
        }
        if (code == kNoCode)
            return false;
    }
    thread_local IconvHandle handle = openIconv("CP949", utf32());
    std::string bytes;
    if (!encodeOneWithIconv(static_cast<iconv_t>(handle.get()), cp, bytes))
        return false;
    out += bytes;
    return true;
}

// Appends `utf8` in CP949 to `out` up to the first character that is not valid UTF-8 or that
// CP949 cannot hold; returns that character's offset, or npos when all of it went.
std::size_t appendEncodedText(std::string& out, std::string_view utf8)
{
    const std::size_t n = utf8.size();
    std::size_t i = 0;
    while (i < n) {
        // ASCII is the same in both, and most texts of a sheet are mostly ASCII.
        std::size_t run = i;
        while (run < n && static_cast<unsigned char>(utf8[run]) < 0x80)
            ++run;
        out.append(utf8.data() + i, run - i);
        i = run;
        if (i == n)
            break;
        const Utf8Step step = decodeUtf8At(utf8, i);
        if (step.length == 0 || !appendEncoded(out, step.codePoint))
            return i;
        i += static_cast<std::size_t>(step.length);
    }
    return std::string_view::npos;
}

// ---------------------------------------------------------------------------------------------
// The decoding table. Index: (lead - 0x80) * 256 + trail for leads 0x81..0xFE; 0 = no character.
// Single bytes: 0x00..0x7F are themselves; the others are looked up too (0 = start of a pair or
// not a character), see singleByte.

struct DecodeTable {
    std::array<char32_t, 256> singleByte{};          // code point of a one-byte character, or 0
    std::array<bool, 256> isLead{};                   // byte starts a two-byte character
    std::array<char32_t, 128 * 256> pair{};           // code point of a pair, 0 = does not decode
};

// Decodes `in` completely with iconv; returns the single code point or 0 when the bytes are not
// exactly one character.
char32_t decodeOneWithIconv(iconv_t cd, const char* bytes, std::size_t n)
{
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char inBuf[4];
    for (std::size_t k = 0; k < n; ++k)
        inBuf[k] = bytes[k];
    char32_t outBuf[4] = {0, 0, 0, 0};
    char* inPtr = inBuf;
    std::size_t inLeft = n;
    char* outPtr = reinterpret_cast<char*>(outBuf);
    std::size_t outLeft = sizeof outBuf;
    const std::size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    if (r == static_cast<std::size_t>(-1) || inLeft != 0)
        return 0;
    const std::size_t produced = (sizeof outBuf - outLeft) / sizeof(char32_t);
    if (produced != 1)
        return 0;
    return outBuf[0];
}

DecodeTable buildDecodeTable()
{
    DecodeTable t;
    IconvHandle handle = openIconv(utf32(), "CP949");
    iconv_t cd = static_cast<iconv_t>(handle.get());

    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        if (b < 0x80) {
            t.singleByte[b] = static_cast<char32_t>(b);
            continue;
        }
        t.singleByte[b] = decodeOneWithIconv(cd, &c, 1);
    }
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        if (t.singleByte[lead] != 0)
            continue; // a one-byte character (none in glibc's CP949, but do not assume)
        bool any = false;
        for (int trail = 0; trail < 256; ++trail) {
            const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            const char32_t cp = decodeOneWithIconv(cd, bytes, 2);
            if (cp != 0) {
                t.pair[(lead - 0x80) * 256 + trail] = cp;
                any = true;
            }
        }
        t.isLead[lead] = any;
    }
    return t;
}

const DecodeTable& decodeTable()
{
    static const DecodeTable table = buildDecodeTable();
    return table;
}

// The character of `cp949` at `i`, U+FFFD for a byte that does not decode, and `i` moved past it;
// decoding resumes at the byte after one that failed.
inline char32_t stepCp949(const DecodeTable& t, std::string_view cp949, std::size_t& i)
{
    const auto b = static_cast<unsigned char>(cp949[i]);
    if (b < 0x80) {
        ++i;
        return b;
    }
    if (t.isLead[b] && i + 1 < cp949.size()) {
        const auto trail = static_cast<unsigned char>(cp949[i + 1]);
        const char32_t cp = t.pair[(b - 0x80) * 256 + trail];
        if (cp != 0) {
            i += 2;
            return cp;
        }
    }
    ++i;
    const char32_t single = t.singleByte[b];
    return single != 0 ? single : kReplacement;
}

// Calls `emit(codePoint)` for every character of `cp949`.
template <typename Emit>
void decodeCp949(std::string_view cp949, Emit&& emit)
{
    const DecodeTable& t = decodeTable();
    for (std::size_t i = 0; i < cp949.size();)
        emit(stepCp949(t, cp949, i));
}

} // namespace

std::string toCp949(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());   // CP949 never needs more bytes than UTF-8 for the same text
    const std::size_t offset = appendEncodedText(out, utf8);
    if (offset == std::string_view::npos)
        return out;
    // Invalid UTF-8 anywhere is told before a character that CP949 lacks.
    for (std::size_t i = offset; i < utf8.size();) {
        const Utf8Step next = decodeUtf8At(utf8, i);
        if (next.length == 0)
            throw EncodingError("Invalid UTF-8: byte " + hexByte(static_cast<unsigned char>(utf8[i])) +
                                " at offset " + std::to_string(i) + " does not start a valid character");
        i += static_cast<std::size_t>(next.length);
    }
    const Utf8Step step = decodeUtf8At(utf8, offset);
    const std::string ch(utf8.substr(offset, static_cast<std::size_t>(step.length)));
    throw EncodingError("CP949 cannot hold the character '" + ch + "' (" + codePointName(step.codePoint) +
                        ") at offset " + std::to_string(offset));
}

bool appendCp949(std::string& out, std::string_view utf8)
{
    return appendEncodedText(out, utf8) == std::string_view::npos;
}

std::string fromCp949(std::string_view cp949)
{
    std::string out;
    appendFromCp949(out, cp949);
    return out;
}

void appendFromCp949(std::string& out, std::string_view cp949)
{
    // Room for the longest that one byte can become; cut back afterwards.
    const std::size_t start = out.size();
    out.resize(start + 4 * cp949.size());
    char* at = out.data() + start;
    decodeCp949(cp949, [&at](char32_t cp) { at = writeUtf8(at, cp); });
    out.resize(static_cast<std::size_t>(at - out.data()));
}

std::u32string cp949CodePoints(std::string_view cp949)
{
    std::u32string out;
    out.reserve(cp949.size());
    decodeCp949(cp949, [&out](char32_t cp) { out.push_back(cp); });
    return out;
}

char32_t nextCp949CodePoint(std::string_view cp949, std::size_t& at)
{
    return stepCp949(decodeTable(), cp949, at);
}

std::string K(std::string_view utf8Literal)
{
    return toCp949(utf8Literal);
}

std::string_view WithoutDanglingHalf(std::string_view cp949)
{
    const DecodeTable& t = decodeTable();
    std::size_t i = 0;
    while (i < cp949.size()) {
        const auto b = static_cast<unsigned char>(cp949[i]);
        if (b >= 0x80 && t.isLead[b]) {
            if (i + 1 == cp949.size())
                return cp949.substr(0, i);
            const auto trail = static_cast<unsigned char>(cp949[i + 1]);
            i += t.pair[(b - 0x80) * 256 + trail] != 0 ? 2 : 1;
        } else {
            ++i;
        }
    }
    return cp949;
}

std::string cutToBytes(std::string_view text, std::size_t maxBytes)
{
    return std::string(text.substr(0, maxBytes));
}

std::string cutToWholeCharacters(std::string_view text, std::size_t maxBytes)
{
    std::size_t end = 0;
    while (end < text.size()) {
        const auto lead = static_cast<unsigned char>(text[end]);
        const std::size_t width = (lead >= 0x81 && lead <= 0xFE && end + 1 < text.size()) ? 2 : 1;
        if (end + width > maxBytes)
            break;
        end += width;
    }
    return std::string(text.substr(0, end));
}

} // namespace lavodc
