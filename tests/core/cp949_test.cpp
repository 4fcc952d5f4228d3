// The CP949 codec: UTF-8 <-> CP949 by tables that agree with iconv, the U+FFFD rule, sort keys, K(), cutToBytes().
#include "core/cp949.h"

#include "case_names.h"
#include <gtest/gtest.h>

#include <iconv.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using lavodc::case_names::QuotedBytes;

using namespace lavodc;

namespace {

// Byte values from the code page (KS X 1001 / UHC), written out here, not computed by the codec.
const std::string kGa = "\xB0\xA1";        // 가 U+AC00
const std::string kGag = "\x81\x41";       // 갂 U+AC02 (UHC extension area)
const std::string kTtom = "\x8C\x63";      // 똠 U+B620 (UHC extension area)
const std::string kCheck = "\xA1\xEE";     // √ U+221A, the day mark
const std::string kNot = "\xA1\xFE";       // ￢ U+FFE2
const std::string kHongGilDong = "\xC8\xAB\xB1\xE6\xB5\xBF"; // 홍길동
const std::string kReplacementUtf8 = "\xEF\xBF\xBD";      // U+FFFD in UTF-8

} // namespace

struct EncodeCase {
    const char* utf8;
    std::string cp949;
};

// Names the case by its UTF-8 text instead of dumping its bytes.
void PrintTo(const EncodeCase& c, std::ostream* os) { *os << QuotedBytes(c.utf8); }

class ToCp949Test : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(ToCp949Test, EncodesAndDecodesBack)
{
    const EncodeCase& c = GetParam();
    EXPECT_EQ(toCp949(c.utf8), c.cp949);
    EXPECT_EQ(fromCp949(c.cp949), c.utf8);
}

INSTANTIATE_TEST_SUITE_P(Cp949, ToCp949Test,
    ::testing::Values(
        EncodeCase{"", ""},
        EncodeCase{"abc 123-()", "abc 123-()"},
        EncodeCase{"\\", "\\"}, // the won sign of the code page is byte 0x5C
        EncodeCase{"가", kGa},
        EncodeCase{"갂", kGag},
        EncodeCase{"똠", kTtom},
        EncodeCase{"√", kCheck},
        EncodeCase{"홍길동", kHongGilDong},
        EncodeCase{"A가b√", "A" + kGa + "b" + kCheck}));

TEST(Cp949, ControlCharactersAndNulPassThrough)
{
    const std::string withNul("a\0b\t\r\n", 6);
    EXPECT_EQ(toCp949(withNul), withNul);
    EXPECT_EQ(fromCp949(withNul), withNul);
}

TEST(Cp949, UnrepresentableCharacterIsNamed)
{
    for (const char* text : {"x😀y", "₩100", "中文 ñ"}) {
        SCOPED_TRACE(text);
        try {
            (void)toCp949(text);
            FAIL() << "no EncodingError";
        } catch (const EncodingError& e) {
            const std::string what = e.what();
            EXPECT_NE(what.find("CP949"), std::string::npos) << what;
            EXPECT_NE(what.find("U+"), std::string::npos) << what;
        }
    }
    try {
        (void)toCp949("ab😀");
        FAIL() << "no EncodingError";
    } catch (const EncodingError& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find("U+1F600"), std::string::npos) << what;
        EXPECT_NE(what.find("😀"), std::string::npos) << what;
    }
    try {
        (void)toCp949("₩");
        FAIL() << "no EncodingError";
    } catch (const EncodingError& e) {
        EXPECT_NE(std::string(e.what()).find("U+20A9"), std::string::npos) << e.what();
    }
}

TEST(Cp949, InvalidUtf8Throws)
{
    const std::vector<std::string> bad = {
        "\x80",             // continuation byte alone
        "a\xC3",            // truncated two-byte sequence
        "\xC0\xAF",         // overlong "/"
        "\xE0\x80\xAF",     // overlong
        "\xED\xA0\x80",     // surrogate U+D800
        "\xF4\x90\x80\x80", // above U+10FFFF
        "\xFF",
        "\xB0\xA1",         // CP949 bytes are not UTF-8
    };
    for (const std::string& s : bad) {
        SCOPED_TRACE(testing::PrintToString(s));
        try {
            (void)toCp949(s);
            FAIL() << "no EncodingError";
        } catch (const EncodingError& e) {
            EXPECT_NE(std::string(e.what()).find("UTF-8"), std::string::npos) << e.what();
        }
    }
}

struct DecodeCase {
    std::string cp949;
    std::string utf8;
};

// Names the case by its input bytes, escaped: most of them are no CP949 text.
void PrintTo(const DecodeCase& c, std::ostream* os) { *os << "bytes " << QuotedBytes(c.cp949, true); }

class FromCp949Test : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(FromCp949Test, InvalidBytesBecomeReplacementAndDecodingResumes)
{
    const DecodeCase& c = GetParam();
    EXPECT_EQ(fromCp949(c.cp949), c.utf8);
}

INSTANTIATE_TEST_SUITE_P(Cp949, FromCp949Test,
    ::testing::Values(
        DecodeCase{"\x80", kReplacementUtf8},                          // never a character
        DecodeCase{"\xFF", kReplacementUtf8},
        DecodeCase{"a\xB0", "a" + kReplacementUtf8},                   // lead byte at the end
        DecodeCase{"\xC8" "A", kReplacementUtf8 + "A"},                // C8 41 is no character; "A" stays
        DecodeCase{"\x81 x", kReplacementUtf8 + " x"},                 // bad trail byte: resume at it
        DecodeCase{"\xC9\xA1\xFE", kReplacementUtf8 + "\xEF\xBF\xA2"}, // C9 A1 user area; then A1 FE = U+FFE2
        DecodeCase{kGa + "\x80" + kGa, "가" + kReplacementUtf8 + "가"},
        DecodeCase{"\xB0\xA1\xB0", "가" + kReplacementUtf8}));        // a cut Hangul syllable

TEST(Cp949, CodePointsFollowTheSameRule)
{
    EXPECT_EQ(cp949CodePoints(""), U"");
    EXPECT_EQ(cp949CodePoints("Az"), U"Az");
    EXPECT_EQ(cp949CodePoints(kHongGilDong), U"\uD64D\uAE38\uB3D9");
    EXPECT_EQ(cp949CodePoints(kGag + kTtom + kCheck), U"\uAC02\uB620\u221A");
    EXPECT_EQ(cp949CodePoints("\xC9\xA1\xFE"), U"\uFFFD\uFFE2");
    EXPECT_EQ(cp949CodePoints("a\xB0"), U"a\uFFFD");
}

TEST(Cp949, CodePointsSortHangulInDictionaryOrder)
{
    // In CP949 the UHC extension syllables (lead bytes 0x81..0xC6) come before the KS X 1001
    // ones in byte order; by code point they fall into dictionary order.
    const std::u32string ga = cp949CodePoints(kGa);     // 가
    const std::u32string gag = cp949CodePoints(kGag);   // 갂
    const std::u32string hong = cp949CodePoints("\xC8\xAB"); // 홍
    const std::u32string ttom = cp949CodePoints(kTtom); // 똠
    EXPECT_LT(kGag, kGa); // bytes: 갂 before 가
    EXPECT_LT(ga, gag);   // code points: 가 before 갂
    EXPECT_LT(gag, ttom);
    EXPECT_LT(ttom, hong);
}

TEST(Cp949, AgreesWithIconvOnEveryDoubleBytePair)
{
    // Every pair that decodes must encode back to the same two bytes.
    int decoded = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x41; trail <= 0xFE; ++trail) {
            const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
            const std::u32string cps = cp949CodePoints(pair);
            if (cps.size() == 1 && cps[0] != 0xFFFD) {
                ++decoded;
                ASSERT_EQ(toCp949(fromCp949(pair)), pair) << lead << " " << trail;
            }
        }
    }
    // UHC: 8822 Hangul syllables in the extension + 2350 KS X 1001 syllables + 4888 Hanja + symbols.
    EXPECT_GT(decoded, 17000);
}

TEST(Cp949, CodePointsAreFastForManyNames)
{
    std::vector<std::string> names;
    names.reserve(100000);
    const std::string syllables[] = {kGa, kGag, kTtom, "\xC8\xAB", "\xB1\xE6", "\xB5\xBF"};
    for (int i = 0; i < 100000; ++i)
        names.push_back(syllables[i % 6] + syllables[(i / 6) % 6] + syllables[(i / 36) % 6] + std::to_string(i % 10));
    const auto start = std::chrono::steady_clock::now();
    std::size_t total = 0;
    for (const std::string& n : names)
        total += cp949CodePoints(n).size();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(total, 400000u);
    RecordProperty("cp949CodePoints_100000_names_ms", static_cast<int>(ms));
    // Generous bound (sanitizer builds are slow); a table look-up takes a few milliseconds.
    EXPECT_LT(ms, 2000);
}

TEST(Cp949, KConvertsALiteral)
{
    EXPECT_EQ(K("가"), kGa);
    EXPECT_EQ(K("√"), kCheck);
    EXPECT_EQ(K("이름없음.Lvo"), toCp949("이름없음.Lvo"));
    EXPECT_THROW(K("😀"), EncodingError);
}

TEST(Cp949, CutToBytesMaySplitADoubleByteCharacter)
{
    const std::string name = "A" + kHongGilDong; // 7 bytes
    EXPECT_EQ(cutToBytes(name, 10), name);
    EXPECT_EQ(cutToBytes(name, 7), name);
    EXPECT_EQ(cutToBytes(name, 3), "A" + std::string("\xC8\xAB"));
    EXPECT_EQ(cutToBytes(name, 2), "A\xC8");
    EXPECT_EQ(cutToBytes(name, 0), "");
    EXPECT_EQ(cutToBytes("", 5), "");
    // An 11-byte name in a 10-byte field: the syllable straddling the limit keeps its first byte.
    const std::string eleven = "A" + kGa + kGa + kGa + kGa + kGa;
    ASSERT_EQ(eleven.size(), 11u);
    EXPECT_EQ(cutToBytes(eleven, 10), "A" + kGa + kGa + kGa + kGa + "\xB0");
}

namespace lavodc {
namespace {

struct DanglingCase {
    std::string text;
    std::string kept;
};

class WithoutDanglingHalfTest : public testing::TestWithParam<DanglingCase> {};

TEST_P(WithoutDanglingHalfTest, DropsOnlyALeadByteLeftAtTheEnd)
{
    EXPECT_EQ(std::string(WithoutDanglingHalf(GetParam().text)), GetParam().kept);
}

// "홍길" is C8 AB B1 E6; a trail byte may look like a lead byte (B1), so the walk starts
// at the front.
INSTANTIATE_TEST_SUITE_P(Cp949, WithoutDanglingHalfTest, testing::Values(
    DanglingCase{"", ""}, DanglingCase{"abc", "abc"},
    DanglingCase{"\xC8\xAB\xB1\xE6", "\xC8\xAB\xB1\xE6"},
    DanglingCase{"\xC8\xAB\xB1", "\xC8\xAB"},
    DanglingCase{"a\xC8", "a"},
    DanglingCase{"\xC8\xAB" "a", "\xC8\xAB" "a"}));

} // namespace
} // namespace lavodc

namespace {

// iconv itself, the reference: the CP949 bytes of `utf8`, or nothing when it refuses.
std::optional<std::string> IconvCp949(iconv_t cd, std::string_view utf8)
{
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string out(4 * utf8.size() + 8, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* at = out.data();
    std::size_t outLeft = out.size();
    if (iconv(cd, &in, &inLeft, &at, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
        return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

std::string Utf8Of(char32_t cp)
{
    std::string out;
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
    return out;
}

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};

} // namespace

// The tables are made from iconv and must say what it says, character by character and for a
// text of many characters.
TEST(Cp949, EncodesEveryUnicodeCharacterAsIconvDoes)
{
    const std::unique_ptr<void, IconvCloser> cd(iconv_open("CP949", "UTF-8"));
    ASSERT_NE(cd.get(), reinterpret_cast<void*>(-1));
    const auto handle = static_cast<iconv_t>(cd.get());
    std::string all;
    std::string allCp949;
    int held = 0;
    for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF)
            continue;
        const std::string utf8 = Utf8Of(cp);
        const std::optional<std::string> expected = IconvCp949(handle, utf8);
        std::string actual = "x";
        const bool encoded = appendCp949(actual, utf8);
        ASSERT_EQ(encoded, expected.has_value()) << std::hex << static_cast<unsigned>(cp);
        if (!expected)
            continue;
        ASSERT_EQ(actual, "x" + *expected) << std::hex << static_cast<unsigned>(cp);
        held += cp >= 0x80 && !expected->empty();
        all += utf8;
        allCp949 += *expected;
    }
    EXPECT_GT(held, 17000);
    EXPECT_EQ(toCp949(all), allCp949);
    EXPECT_EQ(IconvCp949(handle, all), allCp949);
}

TEST(Cp949, DecodesEveryTwoByteCodeAsIconvDoes)
{
    const std::unique_ptr<void, IconvCloser> cd(iconv_open("UTF-8", "CP949"));
    ASSERT_NE(cd.get(), reinterpret_cast<void*>(-1));
    const auto handle = static_cast<iconv_t>(cd.get());
    int decoded = 0;
    for (int lead = 0x80; lead <= 0xFF; ++lead) {
        for (int trail = 0; trail <= 0xFF; ++trail) {
            const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
            iconv(handle, nullptr, nullptr, nullptr, nullptr);
            char out[16];
            char* in = const_cast<char*>(pair.data());
            std::size_t inLeft = 2;
            char* at = out;
            std::size_t outLeft = sizeof out;
            const bool whole = iconv(handle, &in, &inLeft, &at, &outLeft) != static_cast<std::size_t>(-1);
            const std::string utf8(out, sizeof out - outLeft);
            const auto characters = std::count_if(utf8.begin(), utf8.end(),
                                                  [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
            // A pair iconv reads as one character reads the same here; any other pair gives
            // U+FFFD for its first byte and goes on at its second.
            if (whole && characters == 1) {
                ++decoded;
                ASSERT_EQ(fromCp949(pair), utf8) << lead << " " << trail;
                ASSERT_EQ(toCp949(utf8), pair) << lead << " " << trail;
            } else {
                ASSERT_EQ(fromCp949(pair), kReplacementUtf8 + fromCp949(pair.substr(1))) << lead << " " << trail;
            }
        }
    }
    EXPECT_GT(decoded, 17000);
}

TEST(Cp949, AppendingAddsToWhatIsThere)
{
    std::string out = "a";
    EXPECT_TRUE(appendCp949(out, "가√"));
    EXPECT_EQ(out, "a" + kGa + kCheck);
    EXPECT_FALSE(appendCp949(out, "b😀c"));
    EXPECT_EQ(out.substr(0, 6), "a" + kGa + kCheck + "b");
    EXPECT_FALSE(appendCp949(out, "\xFF"));

    std::string text = "x";
    appendFromCp949(text, kGa + "\x80" + "y");
    EXPECT_EQ(text, "x가" + kReplacementUtf8 + "y");
}

TEST(Cp949, InvalidUtf8IsToldBeforeACharacterCp949Lacks)
{
    try {
        (void)toCp949("\xF0\x9F\x98\x80 \xFF");
        FAIL() << "no EncodingError";
    } catch (const EncodingError& e) {
        EXPECT_EQ(std::string(e.what()), "Invalid UTF-8: byte 0xFF at offset 5 does not start a valid character");
    }
    try {
        (void)toCp949("ab\xF0\x9F\x98\x80");
        FAIL() << "no EncodingError";
    } catch (const EncodingError& e) {
        EXPECT_EQ(std::string(e.what()), "CP949 cannot hold the character '\xF0\x9F\x98\x80' (U+1F600) at offset 2");
    }
}
