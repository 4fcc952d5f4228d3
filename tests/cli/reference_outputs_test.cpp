// lavodc-cli build and dump give, byte for byte, what they gave before their readers and writers
// were made fast. The files in reference/ were written by the tool as it was then: a sheet that
// touches every corner of the texts and amounts (Korean and ASCII texts, halves of characters,
// stray day texts, amounts with decimals, big and negative amounts, escapes, empty fields, every
// header field, names that sort apart from their bytes), a sheet in dump's own layout, and a file
// of odd records. The messages for the refused inputs below are the tool's words from then too.
#include "tests/support/cli_run.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace lavodc {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

fs::path reference(const std::string& name)
{
    return fs::path(LAVODC_SOURCE_DIR) / "tests" / "cli" / "reference" / name;
}

// The JSON without the blanks and line ends between its tokens.
std::string compacted(const std::string& json)
{
    std::string out;
    bool inString = false;
    for (std::size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (inString) {
            out += c;
            if (c == '\\')
                out += json[++i];
            else if (c == '"')
                inString = false;
        } else if (c != ' ' && c != '\t' && c != '\n' && c != '\r') {
            out += c;
            inString = c == '"';
        }
    }
    return out;
}

class ReferenceOutputsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("lavodc_reference_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
               "_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        return (dir / name).string();
    }

    // What build writes from `json` (empty when it fails; the message goes to the test's log).
    std::string built(const std::string& jsonPath) const
    {
        const fs::path out = dir / "out.Lvo";
        fs::remove(out);
        const test::CliRun run = test::RunCli({"build", jsonPath, out.string()}, dir / "printed.txt");
        EXPECT_EQ(run.exitCode, 0) << run.output;
        EXPECT_EQ(run.output, "");
        return slurp(out);
    }

    fs::path dir;
};

TEST_F(ReferenceOutputsTest, BuildWritesTheSameBytes)
{
    const std::string json = slurp(reference("varied_sheet.json"));
    const std::string expected = slurp(reference("varied_sheet.Lvo"));
    ASSERT_EQ(expected.size(), 344u * 23);
    EXPECT_TRUE(built(reference("varied_sheet.json").string()) == expected);
    EXPECT_TRUE(built(write("bom.json", "\xEF\xBB\xBF" + json)) == expected);
    EXPECT_TRUE(built(write("compact.json", compacted(json))) == expected);
    EXPECT_TRUE(built(reference("dump_style.json").string()) == slurp(reference("dump_style.Lvo")));

    // Through a pipe, which can be read only once.
    const fs::path fifo = dir / "pipe.json";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&fifo, &json] { std::ofstream(fifo, std::ios::binary) << json; });
    const std::string piped = built(fifo.string());
    writer.join();
    EXPECT_TRUE(piped == expected);
}

TEST_F(ReferenceOutputsTest, DumpPrintsTheSameJson)
{
    for (const char* name : {"varied_sheet", "odd_records"}) {
        SCOPED_TRACE(name);
        const test::CliRun run =
            test::RunCli({"dump", reference(std::string(name) + ".Lvo").string()}, dir / "printed.txt");
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.output, slurp(reference(std::string(name) + "_dump.json")));
    }
}

enum class Refused { Input, Output };

struct RefusedCase {
    std::string json;
    Refused which;         // whose name the message starts with
    std::string message;   // what follows the name
};

const RefusedCase kRefused[] = {
    {"{\"header\": {\"gsName\": \"x\",}}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 27: syntax error while parsing object key - unexpected '}'; expected string literal"},
    {"{\"workers\": [{\"pName\": \"a\"},]}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 29: syntax error while parsing value - unexpected ']'; expected '[', '{', or a literal"},
    {"{\"workers\": [{\"pName\": \"a\"}]} trailing",
     Refused::Input, " is not valid JSON: parse error at line 1, column 33: syntax error while parsing value - invalid literal; last read: '\"a\"}]} tra'; expected end of input"},
    {"{\"workers\": [{\"pName\": \"a\"}]",
     Refused::Input, " is not valid JSON: parse error at line 1, column 29: syntax error while parsing object - unexpected end of input; expected '}'"},
    {"",
     Refused::Input, " is not valid JSON: parse error at line 1, column 1: syntax error while parsing value - unexpected end of input; expected '[', '{', or a literal"},
    {" \r\n\t ",
     Refused::Input, " is not valid JSON: parse error at line 2, column 3: syntax error while parsing value - unexpected end of input; expected '[', '{', or a literal"},
    {"\xEF\xBB{\"workers\": []}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 3: syntax error while parsing value - invalid BOM; must be 0xEF 0xBB 0xBF if given; last read: '\xEF\xBB{'"},
    {"\xEF\xBB\xBF\xEF\xBB\xBF{\"workers\": []}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 4: syntax error while parsing value - invalid literal; last read: '\xEF\xBB\xBF\xEF'"},
    {" \xEF\xBB\xBF{\"workers\": []}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 2: syntax error while parsing value - invalid literal; last read: ' \xEF'"},
    {"{\"workers\": [{\"pName\": \"a\\ud800\"}]}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 32: syntax error while parsing value - invalid string: surrogate U+D800..U+DBFF must be followed by U+DC00..U+DFFF; last read: '\"a\\ud800\"'"},
    {"{\"workers\": [{\"pName\": \"a\\ud800\\u0041\"}]}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 37: syntax error while parsing value - invalid string: surrogate U+D800..U+DBFF must be followed by U+DC00..U+DFFF; last read: '\"a\\ud800\\u0041'"},
    {"{\"workers\": [{\"pName\": \"\\udc00\"}]}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 30: syntax error while parsing value - invalid string: surrogate U+DC00..U+DFFF must follow U+D800..U+DBFF; last read: '\"\\udc00'"},
    {"{\"workers\": [{\"pName\": \"\\ud83d\\ude00\"}]}",
     Refused::Input, ": workers[0].pName: CP949 cannot hold the character '\xF0\x9F\x98\x80' (U+1F600) at offset 0"},
    {"{\"workers\": [{\"pName\": \"\\u00e9\"}]}",
     Refused::Input, ": workers[0].pName: CP949 cannot hold the character '\xC3\xA9' (U+00E9) at offset 0"},
    {"{\"workers\": [{\"pName\": \"\\u12G4\"}]}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 29: syntax error while parsing value - invalid string: '\\u' must be followed by 4 hex digits; last read: '\"\\u12G'"},
    {"{\"workers\": [{\"pName\": \"\\x\"}]}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 26: syntax error while parsing value - invalid string: forbidden character after backslash; last read: '\"\\x'"},
    {"{\"workers\": [{\"pName\": \"a\x01\"}]}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 26: syntax error while parsing value - invalid string: control character U+0001 (SOH) must be escaped to \\u0001; last read: '\"a<U+0001>'"},
    {"{\"workers\": [{\"pName\": \"a\x7F\xFF\"}]}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 27: syntax error while parsing value - invalid string: ill-formed UTF-8 byte; last read: '\"a\x7F\xFF'"},
    {"{\"workers\": [{\"pName\": \"\xC0\xAF\"}]}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 25: syntax error while parsing value - invalid string: ill-formed UTF-8 byte; last read: '\"\xC0'"},
    {"{\"workers\": [{\"pName\": \"\xED\xA0\x80\"}]}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 26: syntax error while parsing value - invalid string: ill-formed UTF-8 byte; last read: '\"\xED\xA0'"},
    {"{\"workers\": [{\"pName\": \"\xF4\x90\x80\x80\"}]}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 26: syntax error while parsing value - invalid string: ill-formed UTF-8 byte; last read: '\"\xF4\x90'"},
    {"{\"workers\": [{\"pName\": \"\xE2\x88\"}]}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 27: syntax error while parsing value - invalid string: ill-formed UTF-8 byte; last read: '\"\xE2\x88\"'"},
    {"{\"workers\": [{\"nDay\": 1e999, \"pName\": \"a\"}]}",
     Refused::Input, " is not valid JSON: number overflow parsing '1e999'"},
    {"{\"workers\": [{\"nDay\": -1e999, \"pName\": \"a\"}]}",
     Refused::Input, " is not valid JSON: number overflow parsing '-1e999'"},
    {"{\"workers\": [{\"nDay\": 01, \"pName\": \"a\"}]}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 24: syntax error while parsing object - unexpected number literal; expected '}'"},
    {"{\"workers\": [{\"nDay\": 1., \"pName\": \"a\"}]}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 25: syntax error while parsing value - invalid number; expected digit after '.'; last read: '1.,'"},
    {"{\"workers\": [{\"nDay\": -, \"pName\": \"a\"}]}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 24: syntax error while parsing value - invalid number; expected digit after '-'; last read: '-,'"},
    {"{\"workers\": [{\"nDay\": +1, \"pName\": \"a\"}]}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 23: syntax error while parsing value - invalid literal; last read: '\"nDay\": +'"},
    {"{\"workers\": [{\"nDay\": .5, \"pName\": \"a\"}]}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 23: syntax error while parsing value - invalid literal; last read: '\"nDay\": .'"},
    {"{\"workers\": [{\"nDay\": 1e, \"pName\": \"a\"}]}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 25: syntax error while parsing value - invalid number; expected '+', '-', or digit after exponent; last read: '1e,'"},
    {"{\"workers\": [{\"nDay\": 1e+, \"pName\": \"a\"}]}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 26: syntax error while parsing value - invalid number; expected digit after exponent sign; last read: '1e+,'"},
    {"{\"workers\": [{\"nDay\": NaN, \"pName\": \"a\"}]}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 23: syntax error while parsing value - invalid literal; last read: '\"nDay\": N'"},
    {"{\"workers\": [{\"nDay\": Infinity, \"pName\": \"a\"}]}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 23: syntax error while parsing value - invalid literal; last read: '\"nDay\": I'"},
    {"{\"workers\": [{\"nDay\": tru, \"pName\": \"a\"}]}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 26: syntax error while parsing value - invalid literal; last read: '\"nDay\": tru,'"},
    {"{\"workers\": [{\"nDay\": nul}]}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 26: syntax error while parsing value - invalid literal; last read: '\"nDay\": nul}'"},
    {"{\"workers\": [{\"nDay\": falsey}]}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 28: syntax error while parsing object - invalid literal; last read: '\"nDay\": falsey'; expected '}'"},
    {"{workers: []}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 2: syntax error while parsing object key - invalid literal; last read: '{w'; expected string literal"},
    {"{'workers': []}",
     Refused::Input, " is not valid JSON: parse error at line 1, column 2: syntax error while parsing object key - invalid literal; last read: '{''; expected string literal"},
    {"{\"workers\": [{\"pName\": \"a\"}], \"workers\": 5}",
     Refused::Input, ": workers must be a list"},
    {"{\"workers\": [{\"pName\": \"a\"}], \"workers\": [{\"nDay\": 1}]}",
     Refused::Input, ": workers[0] has no name (pName)"},
    {"{\"workers\": [{\"pName\": \"\"}]}",
     Refused::Input, ": workers[0] has no name (pName)"},
    {"{\"workers\": [{\"pName\": \"a\", \"pName\": \"\"}]}",
     Refused::Input, ": workers[0] has no name (pName)"},
    {"{\"workers\": [{\"HCODE\": 2147483648, \"pName\": \"a\"}]}",
     Refused::Input, ": workers[0].HCODE must be a whole number from -2147483648 to 2147483647"},
    {"{\"workers\": [{\"HCODE\": 18446744073709551616, \"pName\": \"a\"}]}",
     Refused::Input, ": workers[0].HCODE must be a whole number from -2147483648 to 2147483647"},
    {"{\"workers\": [{\"HCODE\": -9223372036854775809, \"pName\": \"a\"}]}",
     Refused::Input, ": workers[0].HCODE must be a whole number from -2147483648 to 2147483647"},
    {"{\"workers\": [{\"HCODE\": 1.5e0, \"pName\": \"a\"}]}",
     Refused::Input, ": workers[0].HCODE must be a whole number from -2147483648 to 2147483647"},
    {"{\"workers\": [{\"SmMny\": 922337203685477.6, \"pName\": \"a\"}]}",
     Refused::Output, ": The amount 922337203685477.625000 is too large to be stored"},
    {"{\"workers\": [{\"SmMny\": true, \"pName\": \"a\"}]}",
     Refused::Input, ": workers[0].SmMny must be a number"},
    {"{\"workers\": [{\"SmMny\": null, \"pName\": \"a\"}]}",
     Refused::Input, ": workers[0].SmMny must be a number"},
    {"{\"workers\": [{\"SmMny\": \"1\", \"pName\": \"a\"}]}",
     Refused::Input, ": workers[0].SmMny must be a number"},
    {"{\"workers\": [{\"d01\": 1, \"pName\": \"a\"}]}",
     Refused::Input, ": workers[0].d01 must be a text"},
    {"{\"workers\": [{\"pName\": \"a\", \"x\": [[[[{\"y\": 1}]]]]}]}",
     Refused::Input, ": workers[0] has an unknown field \"x\""},
    {"{\"workers\": [{\"pName\": \"a\"}]}\n\n{",
     Refused::Input, " is not valid JSON: parse error at line 3, column 1: syntax error while parsing value - unexpected '{'; expected end of input"},
    {"{\"workers\": [\r\n  {\"pName\": \"\xEA\xB0\x80\xEA\xB0\x80\"},\r\n  {\"pName\": \"b\" \"nName\": \"c\"}\r\n]}",
     Refused::Input, " is not valid JSON: parse error at line 3, column 23: syntax error while parsing object - unexpected string literal; expected '}'"},
    {"{\"header\": {\"gsName\": \"\xEA\xB0\x80\"}\n, \"workers\": [1, 2, 3}",
     Refused::Input, " is not valid JSON: parse error at line 2, column 22: syntax error while parsing array - unexpected '}'; expected ']'"},
    {"{\"header\": {\"gsName\": \"x\", \"gsName\": 5}}",
     Refused::Input, ": header.gsName must be a text"},
    {"{\"header\": {\"gsName\": 5, \"gsName\": \"x\"}, \"workers\": [{\"nDay\": 1}]}",
     Refused::Input, ": workers[0] has no name (pName)"},
    {"{\"header\": {\"gsyear\": \"\\ud83d\\ude00\"}}",
     Refused::Input, ": header.gsyear: CP949 cannot hold the character '\xF0\x9F\x98\x80' (U+1F600) at offset 0"},
    {"{\"header\": {\"x\": 1}, \"workers\": [{\"y\": 2}], \"z\": 3}",
     Refused::Input, ": unknown field \"z\" (a sheet has \"header\" and \"workers\")"},
    {"{\"header\": \"x\"}",
     Refused::Input, ": header must be an object"},
    {"{\"header\": {}, \"workers\": {}}",
     Refused::Input, ": workers must be a list"},
    {"[\"workers\"]",
     Refused::Input, ": the sheet must be a JSON object with \"header\" and \"workers\""},
    {"\"sheet\"",
     Refused::Input, ": the sheet must be a JSON object with \"header\" and \"workers\""},
    {"null",
     Refused::Input, ": the sheet must be a JSON object with \"header\" and \"workers\""},
    {std::string("{\"workers\": [{\"pName\": \"a\"}]}\x00", 30),
     Refused::Input, ": a NUL byte at byte 30, which JSON text never holds"},
    {std::string("{\"wor\x00kers\": []}", 16),
     Refused::Input, ": a NUL byte at byte 6, which JSON text never holds"}
};

TEST_F(ReferenceOutputsTest, BuildRefusesInTheSameWords)
{
    const std::string out = (dir / "out.Lvo").string();
    for (const RefusedCase& c : kRefused) {
        SCOPED_TRACE(c.json);
        const std::string in = write("in.json", c.json);
        const test::CliRun run = test::RunCli({"build", in, out}, dir / "printed.txt");
        EXPECT_EQ(run.exitCode, 1);
        const std::string name = c.which == Refused::Input ? "\"" + in + "\"" : "cannot write \"" + out + "\"";
        EXPECT_EQ(run.output, "lavodc-cli build: " + name + c.message + "\n");
        EXPECT_FALSE(fs::exists(out));
    }
}

} // namespace
} // namespace lavodc
