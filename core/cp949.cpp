// UTF-8 <-> CP949 through the C library's iconv (encoding "CP949").
//
// Encoding (toCp949) runs iconv on a descriptor cached per thread. Decoding (fromCp949,
// cp949CodePoints) uses a table of the whole code page that is built once, through iconv,
// on first use: every byte pair lead 0x81..0xFE / trail 0x00..0xFF is decoded by iconv and
// the code point (or "does not decode") is kept. Decoding a name is then a table look-up per
// character, which keeps the sort keys of many rows cheap, and the U+FFFD rule is the same
// for the display text and the sort keys.

#include "core/cp949.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <iconv.h>
#include <memory>

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

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
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

// UTF-8 -> CP949, one descriptor per thread, reset before each use.
iconv_t utf8ToCp949Descriptor()
{
    thread_local IconvHandle handle = openIconv("CP949", "UTF-8");
    iconv_t cd = static_cast<iconv_t>(handle.get());
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    return cd;
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
    // UTF-32 in the machine's byte order ("UTF-32LE" on x86; "WCHAR_T" is UTF-32 with glibc too,
    // but naming the order is clearer).
    const bool little = [] { const std::uint16_t x = 1; return *reinterpret_cast<const unsigned char*>(&x) == 1; }();
    IconvHandle handle = openIconv(little ? "UTF-32LE" : "UTF-32BE", "CP949");
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

// Calls `emit(codePoint)` for every character of `cp949`, U+FFFD for bytes that do not decode;
// decoding resumes at the byte after the one that failed.
template <typename Emit>
void decodeCp949(std::string_view cp949, Emit&& emit)
{
    const DecodeTable& t = decodeTable();
    const std::size_t n = cp949.size();
    std::size_t i = 0;
    while (i < n) {
        const auto b = static_cast<unsigned char>(cp949[i]);
        if (b < 0x80) {
            emit(static_cast<char32_t>(b));
            ++i;
            continue;
        }
        if (t.isLead[b] && i + 1 < n) {
            const auto trail = static_cast<unsigned char>(cp949[i + 1]);
            const char32_t cp = t.pair[(b - 0x80) * 256 + trail];
            if (cp != 0) {
                emit(cp);
                i += 2;
                continue;
            }
        }
        const char32_t single = t.singleByte[b];
        emit(single != 0 ? single : kReplacement);
        ++i;
    }
}

} // namespace

std::string toCp949(std::string_view utf8)
{
    // ASCII is the same in both, and most texts of a sheet are ASCII or empty.
    bool ascii = true;
    for (const char c : utf8)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii)
        return std::string(utf8);

    // Validate first, so that an invalid sequence is reported as such and not as whatever
    // iconv makes of it.
    for (std::size_t i = 0; i < utf8.size();) {
        const Utf8Step step = decodeUtf8At(utf8, i);
        if (step.length == 0)
            throw EncodingError("Invalid UTF-8: byte " + hexByte(static_cast<unsigned char>(utf8[i])) +
                                " at offset " + std::to_string(i) + " does not start a valid character");
        i += step.length;
    }

    std::string out;
    out.resize(utf8.size() + 8); // CP949 never needs more bytes than UTF-8 for the same text
    iconv_t cd = utf8ToCp949Descriptor();
    char* inPtr = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    while (inLeft > 0) {
        const std::size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        if (r != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG) { // not expected, but grow and go on
            const std::size_t used = out.size() - outLeft;
            out.resize(out.size() * 2 + 16);
            outPtr = out.data() + used;
            outLeft = out.size() - used;
            continue;
        }
        const std::size_t offset = static_cast<std::size_t>(inPtr - utf8.data());
        const Utf8Step step = decodeUtf8At(utf8, offset);
        std::string ch(utf8.substr(offset, step.length > 0 ? step.length : 1));
        throw EncodingError("CP949 cannot hold the character '" + ch + "' (" + codePointName(step.codePoint) +
                            ") at offset " + std::to_string(offset));
    }
    out.resize(out.size() - outLeft);
    return out;
}

std::string fromCp949(std::string_view cp949)
{
    std::string out;
    out.reserve(cp949.size() + cp949.size() / 2);
    decodeCp949(cp949, [&out](char32_t cp) { appendUtf8(out, cp); });
    return out;
}

std::u32string cp949CodePoints(std::string_view cp949)
{
    std::u32string out;
    out.reserve(cp949.size());
    decodeCp949(cp949, [&out](char32_t cp) { out.push_back(cp); });
    return out;
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
