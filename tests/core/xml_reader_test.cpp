#include "core/xml_reader.h"

#include "core/cp949.h"
#include "tests/support/list_sources.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace lavodc {
namespace {

// The tokens of a document in a short notation: <name a=v> for a start with its attributes
// asked for by `attributes`, </name> for an end, the text pieces joined between them.
std::string Tokens(const std::string& xml, std::size_t piece, const std::vector<std::string>& attributes = {})
{
    test::PiecewiseSource bytes(xml, piece);
    XmlReader reader(bytes);
    std::string out;
    std::string text;
    for (XmlReader::Token token; (token = reader.Next()) != XmlReader::Token::End;) {
        if (token == XmlReader::Token::Text) {
            text += reader.Text();
            continue;
        }
        out += text;
        text.clear();
        if (token == XmlReader::Token::StartElement) {
            out += "<" + std::string(reader.Name());
            for (const std::string& name : attributes)
                if (const auto value = reader.Attribute(name))
                    out += " " + name + "=" + std::string(*value);
            out += ">";
        } else {
            out += "</" + std::string(reader.Name()) + ">";
        }
    }
    return out + text;
}

struct XmlCase {
    std::string label;
    std::string xml;
    std::string tokens;   // or the error's text
};

void PrintTo(const XmlCase& c, std::ostream* out) { *out << c.label; }

class XmlReaderTest : public ::testing::TestWithParam<XmlCase> {};

TEST_P(XmlReaderTest, ReadsWellFormedPartsAndRefusesTheRestWhereverThePiecesEnd)
{
    const XmlCase& c = GetParam();
    for (const std::size_t piece : {0, 1, 7}) {
        SCOPED_TRACE(piece);
        std::string got;
        try {
            got = Tokens(c.xml, piece, {"r", "t", "id"});
        } catch (const XmlError& error) {
            got = fromCp949(error.what());
        }
        EXPECT_EQ(got, c.tokens);
    }
}

std::string XmlCaseName(const ::testing::TestParamInfo<XmlCase>& info) { return info.param.label; }

INSTANTIATE_TEST_SUITE_P(
    Documents, XmlReaderTest,
    ::testing::Values(
        XmlCase{"declaration_mark_and_prefixes",
                "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
                "<x:row r=\"1\" xmlns:x=\"u\"><x:c r=\"A1\" t=\"s\"><x:v>0</x:v></x:c></x:row>",
                "<row r=1><c r=A1 t=s><v>0</v></c></row>"},
        XmlCase{"empty_elements_and_attribute_quotes", "<a><b r='2' t = \"x>y\"/><c/></a>",
                "<a><b r=2 t=x>y></b><c></c></a>"},
        XmlCase{"references_in_text_and_attributes",
                "<t id=\"&lt;&#65;&#x1F3E0;&quot;\">&amp;&gt;&apos;&#xAC00;&#44032;</t>",
                "<t id=<A\xF0\x9F\x8F\xA0\">&>'가가</t>"},
        XmlCase{"comments_instructions_and_cdata", "<!-- a > b --><a><?pi x?>x<![CDATA[<&]]]]>y<!---->z</a>",
                "<a>x<&]]yz</a>"},
        XmlCase{"line_ends_read_as_lf", "<a>1\r\n2\r3\n4&#13;</a>", "<a>1\n2\n3\n4\r</a>"},
        XmlCase{"the_first_of_two_attributes", "<a r=\"1\" x:r=\"2\"/>", "<a r=1></a>"},
        XmlCase{"mismatched_end", "<a>\n<b></a>", "여는 태그와 닫는 태그가 맞지 않습니다 (2번째 줄)"},
        XmlCase{"end_inside_an_element", "<a><b>text", "문서가 요소 중간에서 끝났습니다 (1번째 줄)"},
        XmlCase{"no_element", "  \n", "문서에 요소가 없습니다 (2번째 줄)"},
        XmlCase{"two_roots", "<a/><b/>", "최상위 요소가 둘 이상입니다 (1번째 줄)"},
        XmlCase{"text_outside", "<a/>x", "요소 밖에 글자가 있습니다 (1번째 줄)"},
        XmlCase{"document_type", "<!DOCTYPE a [<!ENTITY x \"y\">]><a>&x;</a>",
                "문서 형식 선언(DOCTYPE)이나 알 수 없는 표시가 있습니다 (1번째 줄)"},
        XmlCase{"unknown_entity", "<a>&nbsp;</a>", "알 수 없는 참조가 있습니다 (1번째 줄)"},
        XmlCase{"character_reference_to_nothing", "<a>&#0;</a>", "잘못된 문자 참조가 있습니다 (1번째 줄)"},
        XmlCase{"reference_without_semicolon", "<a>&amp</a>", "참조가 ';'로 끝나지 않았습니다 (1번째 줄)"},
        XmlCase{"attribute_without_quotes", "<a r=1/>", "속성 값에 따옴표가 없습니다 (1번째 줄)"},
        XmlCase{"attributes_without_a_blank", "<a r=\"1\"t=\"2\"/>", "속성 사이에 빈칸이 없습니다 (1번째 줄)"},
        XmlCase{"tag_without_a_name", "<a>< b/></a>", "태그 이름이 잘못되었습니다 (1번째 줄)"},
        XmlCase{"end_inside_a_tag", "<a><b r=\"1>", "문서가 태그 중간에서 끝났습니다 (1번째 줄)"},
        XmlCase{"another_encoding", "<?xml version=\"1.0\" encoding=\"UTF-16\"?><a/>",
                "UTF-8이 아닌 문서는 읽지 않습니다 (1번째 줄)"},
        // The name of a mismatched tag holds a character CP949 lacks: the error quotes none.
        XmlCase{"mismatch_with_a_character_cp949_lacks", "<a></\xF0\x9F\x8F\xA0>",
                "여는 태그와 닫는 태그가 맞지 않습니다 (1번째 줄)"}),
    XmlCaseName);

std::string ErrorOf(const std::string& xml)
{
    try {
        Tokens(xml, 0);
    } catch (const XmlError& error) {
        return fromCp949(error.what());
    }
    return {};
}

TEST(XmlReaderLimitsTest, NestingTagsNamesAndAttributesAreBounded)
{
    std::string deep;
    for (int i = 0; i < 300; ++i)
        deep += "<a>";
    EXPECT_EQ(ErrorOf(deep), "요소가 너무 깊이 겹쳐 있습니다 (1번째 줄)");
    EXPECT_EQ(ErrorOf("<a b=\"" + std::string(2 << 20, 'x') + "\"/>"), "태그가 너무 깁니다 (1번째 줄)");
    EXPECT_EQ(ErrorOf("<a" + std::string(300, 'x') + "/>"), "태그 이름이 너무 깁니다 (1번째 줄)");
    // Many attributes would make finding the first of two names slow.
    std::string attributes = "<a";
    for (int i = 0; i < 100; ++i)
        attributes += " a" + std::to_string(i) + "=\"\"";
    EXPECT_EQ(ErrorOf(attributes + "/>"), "속성이 너무 많습니다 (1번째 줄)");
}

TEST(XmlReaderTest, LongTextComesInPiecesAndSkipElementSkipsAWholeElement)
{
    const std::string text(300000, 'x');
    const std::string document = "<a><skip><b>" + text + "</b><c/></skip><t>" + text + "</t></a>";
    MemorySource bytes(document);
    XmlReader reader(bytes);
    ASSERT_EQ(reader.Next(), XmlReader::Token::StartElement);
    ASSERT_EQ(reader.Next(), XmlReader::Token::StartElement);
    EXPECT_EQ(reader.Name(), "skip");
    reader.SkipElement();
    ASSERT_EQ(reader.Next(), XmlReader::Token::StartElement);
    EXPECT_EQ(reader.Name(), "t");
    std::string read;
    int pieces = 0;
    while (reader.Next() == XmlReader::Token::Text) {
        EXPECT_LE(reader.Text().size(), 64u * 1024u);
        read += reader.Text();
        ++pieces;
    }
    EXPECT_EQ(read, text);
    EXPECT_GT(pieces, 1);
    EXPECT_EQ(reader.Name(), "t");
}

} // namespace
} // namespace lavodc
