#pragma once
// A small pull reader for the XML parts of a workbook, read as a stream a piece at a time:
// elements, their attributes and their text. No document type, no entities but the five
// named ones and character references, UTF-8 only; anything not well formed is refused.

#include "core/byte_source.h"

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lavodc {

// The XML is not well formed or uses what this reader does not read. what() is CP949 and
// names the line; it never quotes the document.
class XmlError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class XmlReader {
public:
    enum class Token { StartElement, EndElement, Text, End };

    explicit XmlReader(ByteSource& source);

    // The next token; an element written as <a/> gives a start and an end.
    Token Next();
    // The local name (without a prefix) of the element just started or ended.
    std::string_view Name() const { return name_; }
    // An attribute of the element just started, by its local name.
    std::optional<std::string_view> Attribute(std::string_view localName) const;
    // A piece of text with its references replaced and line ends as LF; a long text comes in
    // several pieces.
    std::string_view Text() const { return text_; }
    // The elements open, the one just started included.
    std::size_t Depth() const { return open_.size(); }
    // After a start: reads up to the end of that element.
    void SkipElement();

private:
    [[noreturn]] void Fail(const char* reason) const;
    bool Fill();
    bool Ensure(std::size_t bytes);
    void Consume(std::size_t bytes);
    std::size_t TagEnd();
    std::size_t Find(std::string_view terminator, std::size_t from);
    Token StartTag(std::string_view tag);
    Token EndTag(std::string_view tag);
    void Declaration(std::string_view declaration) const;
    void ReadText();
    bool ReadCdata();
    void AppendReference(std::string_view reference, std::string& out) const;

    ByteSource& source_;
    std::string buffer_;
    std::vector<char> chunk_;   // what the source gives, before it joins the buffer
    std::size_t pos_ = 0;
    bool atEnd_ = false;
    int line_ = 1;
    bool started_ = false;      // anything read yet (for the byte-order mark and the declaration)
    bool rootSeen_ = false;
    bool inCdata_ = false;
    bool pendingEnd_ = false;   // an element written as <a/> has still to end

    std::vector<std::string> open_;   // qualified names of the open elements
    std::string tag_;                 // the text of the last tag
    std::string_view name_;
    std::string values_;              // attribute values, references replaced
    std::vector<std::pair<std::string_view, std::pair<std::size_t, std::size_t>>> attributes_;
    std::string text_;
};

} // namespace lavodc
