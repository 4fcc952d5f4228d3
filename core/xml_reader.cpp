#include "core/xml_reader.h"

#include "core/cp949.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace lavodc {

namespace {

constexpr std::size_t kChunk = 64 * 1024;
// A tag, comment or instruction of a workbook part is short; one beyond this is no workbook's.
constexpr std::size_t kMaxMarkup = 1 << 20;
constexpr std::size_t kMaxDepth = 256;
constexpr std::size_t kMaxName = 256;
constexpr std::size_t kMaxAttributes = 64;
constexpr std::size_t kTextPiece = 64 * 1024;

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view LocalName(std::string_view qualified)
{
    const std::size_t colon = qualified.rfind(':');
    return colon == std::string_view::npos ? qualified : qualified.substr(colon + 1);
}

// Letters, digits and the marks of XML names; anything from U+0080 on is taken as a letter.
bool IsNameByte(char c, bool first)
{
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x80 || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':')
        return true;
    return !first && ((c >= '0' && c <= '9') || c == '-' || c == '.');
}

// The length of the name at the start of `text`; 0 when there is none.
std::size_t NameLength(std::string_view text)
{
    std::size_t n = 0;
    while (n < text.size() && IsNameByte(text[n], n == 0))
        ++n;
    return n;
}

void AppendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool IsXmlCharacter(std::uint32_t code)
{
    return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
           (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

} // namespace

XmlReader::XmlReader(ByteSource& source) : source_(source)
{
    source_.Rewind();
}

void XmlReader::Fail(const char* reason) const
{
    throw XmlError(K(reason) + " (" + std::to_string(line_) + K("번째 줄)"));
}

bool XmlReader::Fill()
{
    if (atEnd_)
        return false;
    if (pos_ > 0) {
        buffer_.erase(0, pos_);
        pos_ = 0;
    }
    chunk_.resize(kChunk);
    const std::size_t n = source_.Read(chunk_.data(), chunk_.size());
    buffer_.append(chunk_.data(), n);
    atEnd_ = n == 0;
    return n > 0;
}

bool XmlReader::Ensure(std::size_t bytes)
{
    while (buffer_.size() - pos_ < bytes)
        if (!Fill())
            return false;
    return true;
}

void XmlReader::Consume(std::size_t bytes)
{
    line_ += static_cast<int>(std::count(buffer_.begin() + static_cast<std::ptrdiff_t>(pos_),
                                         buffer_.begin() + static_cast<std::ptrdiff_t>(pos_ + bytes), '\n'));
    pos_ += bytes;
}

std::size_t XmlReader::TagEnd()
{
    std::size_t i = 1;
    char quote = 0;
    for (;;) {
        for (; pos_ + i < buffer_.size(); ++i) {
            const char c = buffer_[pos_ + i];
            if (quote != 0) {
                if (c == quote)
                    quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                return i;
            }
        }
        if (i > kMaxMarkup)
            Fail("태그가 너무 깁니다");
        if (!Fill())
            Fail("문서가 태그 중간에서 끝났습니다");
    }
}

std::size_t XmlReader::Find(std::string_view terminator, std::size_t from)
{
    for (;;) {
        const std::string_view rest = std::string_view(buffer_).substr(pos_);
        const std::size_t at = rest.find(terminator, from);
        if (at != std::string_view::npos)
            return at;
        if (rest.size() > kMaxMarkup)
            Fail("주석이나 처리 지시가 너무 깁니다");
        if (!Fill())
            Fail("문서가 주석이나 처리 지시 중간에서 끝났습니다");
    }
}

std::optional<std::string_view> XmlReader::Attribute(std::string_view localName) const
{
    for (const auto& [name, value] : attributes_)
        if (name == localName)
            return std::string_view(values_).substr(value.first, value.second);
    return std::nullopt;
}

void XmlReader::AppendReference(std::string_view reference, std::string& out) const
{
    if (reference == "lt")
        out += '<';
    else if (reference == "gt")
        out += '>';
    else if (reference == "amp")
        out += '&';
    else if (reference == "quot")
        out += '"';
    else if (reference == "apos")
        out += '\'';
    else if (reference.size() > 1 && reference[0] == '#') {
        const bool hex = reference[1] == 'x';
        const std::string_view digits = reference.substr(hex ? 2 : 1);
        std::uint32_t code = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
        if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || !IsXmlCharacter(code))
            Fail("잘못된 문자 참조가 있습니다");
        AppendUtf8(out, code);
    } else {
        Fail("알 수 없는 참조가 있습니다");
    }
}

XmlReader::Token XmlReader::Next()
{
    if (pendingEnd_) {
        pendingEnd_ = false;
        open_.pop_back();
        return Token::EndElement;
    }
    attributes_.clear();
    for (;;) {
        if (inCdata_) {
            if (ReadCdata())
                return Token::Text;
            continue;
        }
        if (pos_ == buffer_.size() && !Fill()) {
            if (!open_.empty())
                Fail("문서가 요소 중간에서 끝났습니다");
            if (!rootSeen_)
                Fail("문서에 요소가 없습니다");
            return Token::End;
        }
        if (!started_) {
            started_ = true;
            if (Ensure(3) && std::string_view(buffer_).substr(pos_, 3) == "\xEF\xBB\xBF")
                pos_ += 3;
            continue;
        }
        if (buffer_[pos_] != '<') {
            ReadText();
            if (!open_.empty()) {
                if (!text_.empty())
                    return Token::Text;
            } else if (std::any_of(text_.begin(), text_.end(), [](char c) { return !IsSpace(c); })) {
                Fail("요소 밖에 글자가 있습니다");
            }
            continue;
        }
        if (!Ensure(2))
            Fail("문서가 태그 중간에서 끝났습니다");
        const char kind = buffer_[pos_ + 1];
        if (kind == '?') {
            const std::size_t end = Find("?>", 2);
            Declaration(std::string_view(buffer_).substr(pos_ + 2, end - 2));
            Consume(end + 2);
            continue;
        }
        if (kind == '!') {
            Ensure(9);
            const std::string_view head = std::string_view(buffer_).substr(pos_, 9);
            if (head.starts_with("<!--")) {
                Consume(Find("-->", 4) + 3);
                continue;
            }
            if (head == "<![CDATA[") {
                if (open_.empty())
                    Fail("요소 밖에 글자가 있습니다");
                Consume(9);
                inCdata_ = true;
                continue;
            }
            Fail("문서 형식 선언(DOCTYPE)이나 알 수 없는 표시가 있습니다");
        }
        const std::size_t end = TagEnd();
        tag_.assign(buffer_, pos_ + 1, end - 1);
        Consume(end + 1);
        return kind == '/' ? EndTag(std::string_view(tag_).substr(1)) : StartTag(tag_);
    }
}

void XmlReader::Declaration(std::string_view declaration) const
{
    // Only the declaration at the very start says anything: the code of the document.
    if (!declaration.starts_with("xml") || declaration.size() < 4 || !IsSpace(declaration[3]))
        return;
    const std::size_t at = declaration.find("encoding");
    if (at == std::string_view::npos)
        return;
    const std::size_t open = declaration.find_first_of("\"'", at);
    if (open == std::string_view::npos)
        Fail("XML 선언이 잘못되었습니다");
    const std::size_t close = declaration.find(declaration[open], open + 1);
    if (close == std::string_view::npos)
        Fail("XML 선언이 잘못되었습니다");
    std::string encoding(declaration.substr(open + 1, close - open - 1));
    for (char& c : encoding)
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (encoding != "utf-8" && encoding != "utf8")
        Fail("UTF-8이 아닌 문서는 읽지 않습니다");
}

XmlReader::Token XmlReader::StartTag(std::string_view tag)
{
    const bool empty = !tag.empty() && tag.back() == '/';
    if (empty)
        tag.remove_suffix(1);
    const std::size_t length = NameLength(tag);
    if (length == 0)
        Fail("태그 이름이 잘못되었습니다");
    if (length > kMaxName)
        Fail("태그 이름이 너무 깁니다");
    if (rootSeen_ && open_.empty())
        Fail("최상위 요소가 둘 이상입니다");
    if (open_.size() == kMaxDepth)
        Fail("요소가 너무 깊이 겹쳐 있습니다");
    const std::string_view qualified = tag.substr(0, length);
    name_ = LocalName(qualified);

    values_.clear();
    std::string_view rest = tag.substr(length);
    for (;;) {
        const std::size_t spaces = std::min(rest.size(), rest.find_first_not_of(" \t\r\n"));
        rest.remove_prefix(spaces);
        if (rest.empty())
            break;
        if (spaces == 0)
            Fail("속성 사이에 빈칸이 없습니다");
        const std::size_t nameLength = NameLength(rest);
        if (nameLength == 0)
            Fail("속성 이름이 잘못되었습니다");
        if (attributes_.size() == kMaxAttributes)
            Fail("속성이 너무 많습니다");
        const std::string_view name = rest.substr(0, nameLength);
        rest.remove_prefix(nameLength);
        rest.remove_prefix(std::min(rest.size(), rest.find_first_not_of(" \t\r\n")));
        if (rest.empty() || rest[0] != '=')
            Fail("속성에 값이 없습니다");
        rest.remove_prefix(1);
        rest.remove_prefix(std::min(rest.size(), rest.find_first_not_of(" \t\r\n")));
        if (rest.empty() || (rest[0] != '"' && rest[0] != '\''))
            Fail("속성 값에 따옴표가 없습니다");
        const std::size_t close = rest.find(rest[0], 1);
        if (close == std::string_view::npos)
            Fail("속성 값의 따옴표가 닫히지 않았습니다");
        const std::string_view raw = rest.substr(1, close - 1);
        rest.remove_prefix(close + 1);

        const std::size_t start = values_.size();
        for (std::size_t i = 0; i < raw.size();) {
            if (raw[i] == '<')
                Fail("속성 값에 '<'가 있습니다");
            if (raw[i] != '&') {
                values_ += raw[i++];
                continue;
            }
            const std::size_t semicolon = raw.find(';', i);
            if (semicolon == std::string_view::npos)
                Fail("참조가 ';'로 끝나지 않았습니다");
            AppendReference(raw.substr(i + 1, semicolon - i - 1), values_);
            i = semicolon + 1;
        }
        // Of two attributes with one local name, the first counts.
        const bool seen = std::any_of(attributes_.begin(), attributes_.end(),
                                      [&](const auto& attribute) { return attribute.first == LocalName(name); });
        if (!seen)
            attributes_.push_back({LocalName(name), {start, values_.size() - start}});
    }

    open_.emplace_back(qualified);
    rootSeen_ = true;
    pendingEnd_ = empty;
    return Token::StartElement;
}

XmlReader::Token XmlReader::EndTag(std::string_view tag)
{
    const std::size_t length = NameLength(tag);
    const std::string_view qualified = tag.substr(0, length);
    if (length == 0 || tag.find_first_not_of(" \t\r\n", length) != std::string_view::npos)
        Fail("닫는 태그가 잘못되었습니다");
    if (open_.empty() || open_.back() != qualified)
        Fail("여는 태그와 닫는 태그가 맞지 않습니다");
    open_.pop_back();
    name_ = LocalName(qualified);
    return Token::EndElement;
}

void XmlReader::ReadText()
{
    text_.clear();
    while (text_.size() < kTextPiece) {
        if (pos_ == buffer_.size() && !Fill())
            return;
        const char c = buffer_[pos_];
        if (c == '<')
            return;
        if (c == '&') {
            // The longest reference, "&#x10FFFF;", is ten bytes.
            constexpr std::size_t kLongest = 12;
            std::size_t semicolon = std::string_view::npos;
            for (;;) {
                semicolon = std::string_view(buffer_).substr(pos_, kLongest + 1).find(';');
                if (semicolon != std::string_view::npos)
                    break;
                if (buffer_.size() - pos_ > kLongest || !Fill())
                    Fail("참조가 ';'로 끝나지 않았습니다");
            }
            AppendReference(std::string_view(buffer_).substr(pos_ + 1, semicolon - 1), text_);
            Consume(semicolon + 1);
            continue;
        }
        if (c == '\r') {
            // CR LF and a lone CR are one line end, as XML reads them.
            text_ += '\n';
            Consume(1);
            if (Ensure(1) && buffer_[pos_] == '\n')
                Consume(1);
            continue;
        }
        std::size_t end = pos_;
        while (end < buffer_.size() && text_.size() + (end - pos_) < kTextPiece && buffer_[end] != '<' &&
               buffer_[end] != '&' &&
               buffer_[end] != '\r')
            ++end;
        text_.append(buffer_, pos_, end - pos_);
        Consume(end - pos_);
    }
}

bool XmlReader::ReadCdata()
{
    text_.clear();
    if (pos_ == buffer_.size() && !Fill())
        Fail("문서가 CDATA 중간에서 끝났습니다");
    const std::string_view rest = std::string_view(buffer_).substr(pos_);
    const std::size_t end = rest.find("]]>");
    if (end != std::string_view::npos) {
        text_.assign(rest.substr(0, end));
        Consume(end + 3);
        inCdata_ = false;
    } else if (rest.size() > 2) {
        // All but what could be the start of the end mark.
        text_.assign(rest.substr(0, rest.size() - 2));
        Consume(rest.size() - 2);
    } else if (!Fill()) {
        Fail("문서가 CDATA 중간에서 끝났습니다");
    }
    return !text_.empty();
}

void XmlReader::SkipElement()
{
    const std::size_t depth = open_.size();
    while (open_.size() >= depth) {
        if (Next() == Token::End)
            return;
    }
}

} // namespace lavodc
