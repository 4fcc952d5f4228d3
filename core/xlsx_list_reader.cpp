#include "core/xlsx_list_reader.h"

#include "core/cp949.h"
#include "core/input_quote.h"
#include "core/xml_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

namespace lavodc {

namespace {

constexpr std::size_t kMaxRow = 1048576;

[[noreturn]] void Damaged(const std::string& part, const std::string& reason)
{
    FailXlsx(QuotedInputCp949(part) + K(" 부분이 손상되었습니다 (") + reason + ")");
}

[[noreturn]] void Missing(const char* what, const std::string& part)
{
    FailXlsx(K(what) + "(" + QuotedInputCp949(part) + K(")이 없습니다"));
}

// Reads the XML of `part` with `read`; false when the workbook has no such part.
template <typename Read>
bool ReadPart(WorkbookParts& parts, const std::string& part, Read&& read)
{
    const std::unique_ptr<ByteSource> bytes = parts.Open(part);
    if (!bytes)
        return false;
    try {
        XmlReader xml(*bytes);
        read(xml);
    } catch (const XmlError& error) {
        Damaged(part, error.what());
    }
    return true;
}

std::string FolderOf(const std::string& part)
{
    const std::size_t slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash);
}

// A relationship's target as a part name: relative to the source's folder unless it starts
// with "/", with ".." steps resolved.
std::string ResolvePart(const std::string& folder, std::string_view target)
{
    const std::string joined = !target.empty() && target[0] == '/' ? std::string(target.substr(1))
                               : folder.empty()                     ? std::string(target)
                                                                    : folder + "/" + std::string(target);
    std::vector<std::string_view> steps;
    std::size_t start = 0;
    while (start <= joined.size()) {
        const std::size_t end = std::min(joined.find('/', start), joined.size());
        const std::string_view step = std::string_view(joined).substr(start, end - start);
        if (step == "..") {
            if (!steps.empty())
                steps.pop_back();
        } else if (!step.empty() && step != ".") {
            steps.push_back(step);
        }
        start = end + 1;
    }
    std::string part;
    for (const std::string_view step : steps) {
        if (!part.empty())
            part += '/';
        part += step;
    }
    return part;
}

// Calls `take(id, type, target)` for each relationship of a relations part until it says stop.
template <typename Take>
bool ReadRelations(WorkbookParts& parts, const std::string& relations, Take&& take)
{
    return ReadPart(parts, relations, [&](XmlReader& xml) {
        for (XmlReader::Token token; (token = xml.Next()) != XmlReader::Token::End;) {
            if (token != XmlReader::Token::StartElement || xml.Name() != "Relationship")
                continue;
            if (!take(xml.Attribute("Id").value_or(""), xml.Attribute("Type").value_or(""),
                      xml.Attribute("Target").value_or("")))
                return;
        }
    });
}

struct SheetParts {
    std::string sheet;
    std::string sharedStrings;
};

SheetParts FindParts(WorkbookParts& parts)
{
    std::string workbook = "xl/workbook.xml";
    ReadRelations(parts, "_rels/.rels", [&](std::string_view, std::string_view type, std::string_view target) {
        if (!type.ends_with("/officeDocument"))
            return true;
        workbook = ResolvePart("", target);
        return false;
    });

    // The first <sheet> of <sheets> names the relationship of the first worksheet.
    std::string sheetId;
    const bool found = ReadPart(parts, workbook, [&](XmlReader& xml) {
        for (XmlReader::Token token; (token = xml.Next()) != XmlReader::Token::End;) {
            if (token == XmlReader::Token::StartElement && xml.Name() == "sheet") {
                sheetId = xml.Attribute("id").value_or("");
                if (!sheetId.empty())
                    return;
            }
        }
    });
    if (!found)
        Missing("통합 문서 부분", workbook);
    if (sheetId.empty())
        FailXlsx(K("통합 문서에 워크시트가 없습니다"));

    const std::string folder = FolderOf(workbook);
    // A part's relations live in "_rels/<its name>.rels" beside it.
    const std::string relations = (folder.empty() ? "" : folder + "/") + "_rels/" +
                                  workbook.substr(folder.empty() ? 0 : folder.size() + 1) + ".rels";
    SheetParts result;
    const bool related = ReadRelations(parts, relations, [&](std::string_view id, std::string_view type,
                                                             std::string_view target) {
        if (id == sheetId && result.sheet.empty())
            result.sheet = ResolvePart(folder, target);
        else if (type.ends_with("/sharedStrings") && result.sharedStrings.empty())
            result.sharedStrings = ResolvePart(folder, target);
        return result.sheet.empty() || result.sharedStrings.empty();
    });
    if (!related)
        Missing("통합 문서의 관계 부분", relations);
    if (result.sheet.empty())
        FailXlsx(K("첫 워크시트를 찾을 수 없습니다"));
    return result;
}

// Calls `take(piece)` for the text of the <si> or <is> element just started: its <t> texts,
// without the phonetic runs (<rPh>).
template <typename Take>
void ReadRichText(XmlReader& xml, Take&& take)
{
    const std::size_t depth = xml.Depth();
    int phonetic = 0;
    int inText = 0;
    for (;;) {
        switch (xml.Next()) {
        case XmlReader::Token::StartElement:
            if (xml.Name() == "rPh")
                ++phonetic;
            else if (xml.Name() == "t")
                ++inText;
            break;
        case XmlReader::Token::EndElement:
            if (xml.Depth() < depth)
                return;
            if (xml.Name() == "rPh")
                --phonetic;
            else if (xml.Name() == "t")
                --inText;
            break;
        case XmlReader::Token::Text:
            if (inText > 0 && phonetic == 0)
                take(xml.Text());
            break;
        case XmlReader::Token::End:
            return;
        }
    }
}

// The shared strings in one block of text; the limit counts their index too.
class SharedStrings {
public:
    std::size_t size() const { return ends_.size(); }
    std::string_view at(std::size_t index) const
    {
        const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
        return std::string_view(text_).substr(begin, ends_[index] - begin);
    }
    bool nonBlank(std::size_t index) const { return nonBlank_[index]; }

    void Read(XmlReader& xml)
    {
        for (XmlReader::Token token; (token = xml.Next()) != XmlReader::Token::End;) {
            if (token != XmlReader::Token::StartElement || xml.Name() != "si")
                continue;
            const std::size_t begin = text_.size();
            ReadRichText(xml, [this](std::string_view piece) {
                text_ += piece;
                Check();
            });
            ends_.push_back(static_cast<std::uint32_t>(text_.size()));
            nonBlank_.push_back(HasNonBlank(std::string_view(text_).substr(begin)));
            Check();
        }
    }

private:
    void Check() const
    {
        if (text_.size() + ends_.size() * sizeof(std::uint32_t) > kMaxSharedStrings)
            throw ImportError(K("명단이 너무 큽니다: 공유 문자열이 64MB를 넘습니다."));
    }

    std::string text_;
    std::vector<std::uint32_t> ends_;
    std::vector<bool> nonBlank_;
};

// "B12" gives column 2; 0 when the reference has no letters; past the last column, more
// than kMaxListColumns.
std::size_t ColumnOf(std::string_view reference)
{
    std::size_t column = 0;
    for (const char c : reference) {
        if (c >= 'A' && c <= 'Z')
            column = column * 26 + static_cast<std::size_t>(c - 'A' + 1);
        else if (c >= 'a' && c <= 'z')
            column = column * 26 + static_cast<std::size_t>(c - 'a' + 1);
        else
            break;
        if (column > kMaxListColumns)
            return kMaxListColumns + 1;
    }
    return column;
}

// A number cell as the text a clerk sees: whole numbers without a fraction or exponent;
// nullopt when the cell holds no number and keeps its text.
std::optional<std::string> NumberText(std::string_view value)
{
    std::string_view digits = value;
    while (!digits.empty() && static_cast<unsigned char>(digits.front()) <= 0x20)
        digits.remove_prefix(1);
    while (!digits.empty() && static_cast<unsigned char>(digits.back()) <= 0x20)
        digits.remove_suffix(1);
    if (digits.size() > 1 && digits[0] == '+' && digits[1] != '-')
        digits.remove_prefix(1);
    double number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || !std::isfinite(number))
        return std::nullopt;
    char text[64];
    if (number == std::floor(number) && std::fabs(number) < 1e15)
        std::snprintf(text, sizeof text, "%.0f", number);
    else
        std::snprintf(text, sizeof text, "%.15g", number);
    return text;
}

// Reads the cells of a worksheet row by row into the sink.
class SheetReader {
public:
    SheetReader(const std::string& part, const SharedStrings& shared, ListRowSink& sink)
        : part_(part), shared_(shared), sink_(sink)
    {
    }

    void Read(XmlReader& xml)
    {
        std::size_t sheetData = 0;   // the depth of <sheetData>, 0 outside it
        for (XmlReader::Token token; (token = xml.Next()) != XmlReader::Token::End;) {
            if (token == XmlReader::Token::EndElement) {
                if (sheetData != 0 && xml.Depth() < sheetData)
                    sheetData = 0;
                continue;
            }
            if (token != XmlReader::Token::StartElement)
                continue;
            if (sheetData == 0) {
                if (xml.Name() == "sheetData")
                    sheetData = xml.Depth();
            } else if (xml.Depth() == sheetData + 1 && xml.Name() == "row") {
                ReadRow(xml);
            }
        }
    }

private:
    // A cell as kept until its row ends: shared text by its index, other text in `kept_`.
    struct KeptCell {
        std::size_t column;
        bool shared;
        std::size_t begin, length;   // the string's index, or the place in kept_
    };

    void ReadRow(XmlReader& xml)
    {
        const std::optional<std::string_view> given = xml.Attribute("r");
        std::size_t number = lastRow_ + 1;
        if (given) {
            std::size_t value = 0;
            const auto [end, error] = std::from_chars(given->data(), given->data() + given->size(), value);
            if (given->empty() || error != std::errc() || end != given->data() + given->size() || value == 0)
                Damaged(part_, K("행 번호가 잘못되었습니다"));
            number = value;
        }
        if (number > kMaxRow)
            Damaged(part_, K("행 번호가 1,048,576을 넘습니다"));
        if (number <= lastRow_)
            Damaged(part_, K("행의 순서가 맞지 않습니다"));
        lastRow_ = number;

        kept_.clear();
        keptCells_.clear();
        column_ = 0;
        hasText_ = false;
        blank_ = true;
        std::size_t cells = 0;
        const std::size_t depth = xml.Depth();
        for (;;) {
            const XmlReader::Token token = xml.Next();
            if (token == XmlReader::Token::EndElement && xml.Depth() < depth)
                break;
            if (token == XmlReader::Token::StartElement) {
                if (xml.Name() != "c" || xml.Depth() != depth + 1) {
                    xml.SkipElement();
                    continue;
                }
                if (++cells > kMaxListColumns)
                    Damaged(part_, K("한 행의 칸이 16,384개를 넘습니다"));
                ReadCell(xml);
            }
        }
        EndRow(static_cast<int>(number));
    }

    void ReadCell(XmlReader& xml)
    {
        const std::size_t given = ColumnOf(xml.Attribute("r").value_or(""));
        column_ = given > 0 ? given : column_ + 1;
        if (column_ > kMaxListColumns)
            Damaged(part_, K("열이 XFD를 넘습니다"));
        const bool shared = xml.Attribute("t") == "s";
        const bool number = !xml.Attribute("t") || xml.Attribute("t") == "n";
        const CellUse use = sink_.Use(column_ - 1);

        const std::size_t start = kept_.size();
        std::string index;     // a shared string's number
        std::size_t bytes = 0;
        bool nonBlank = false;
        bool hasValue = false;
        auto take = [&](std::string_view piece) {
            if (shared) {
                if (index.size() + piece.size() > 20)
                    Damaged(part_, K("공유 문자열 번호가 잘못되었습니다"));
                index += piece;
                return;
            }
            budget_.AddText(piece.size());
            bytes += piece.size();
            nonBlank = nonBlank || HasNonBlank(piece);
            if (use != CellUse::Skip) {
                ListBudget::CheckCell(static_cast<int>(lastRow_), bytes);
                kept_ += piece;
            }
        };

        const std::size_t depth = xml.Depth();
        for (;;) {
            const XmlReader::Token token = xml.Next();
            if (token == XmlReader::Token::EndElement && xml.Depth() < depth)
                break;
            if (token != XmlReader::Token::StartElement)
                continue;
            if (xml.Depth() == depth + 1 && (xml.Name() == "v" || xml.Name() == "is")) {
                // A second value replaces the first.
                kept_.resize(start);
                index.clear();
                bytes = 0;
                nonBlank = false;
                hasValue = true;
                if (xml.Name() == "is")
                    ReadRichText(xml, take);
                else
                    ReadRichTextOfValue(xml, take);
            } else {
                xml.SkipElement();   // formulas and extensions
            }
        }
        if (!hasValue)
            return;

        if (shared) {
            std::size_t at = 0;
            const auto [end, error] = std::from_chars(index.data(), index.data() + index.size(), at);
            if (index.empty() || error != std::errc() || end != index.data() + index.size() || at >= shared_.size())
                Damaged(part_, K("없는 공유 문자열을 가리킵니다"));
            const std::string_view text = shared_.at(at);
            budget_.AddText(text.size());
            if (text.empty())
                return;
            hasText_ = true;
            blank_ = blank_ && !shared_.nonBlank(at);
            if (use != CellUse::Skip)
                keptCells_.push_back({column_ - 1, true, at, 0});
            return;
        }
        if (bytes == 0)
            return;
        hasText_ = true;
        blank_ = blank_ && !nonBlank;
        if (use == CellUse::Skip)
            return;
        if (number) {
            if (const std::optional<std::string> text = NumberText(std::string_view(kept_).substr(start)))
                kept_.replace(start, std::string::npos, *text);
        }
        if (use == CellUse::Key) {
            std::string key;
            KeepKeyText(key, 0, std::string_view(kept_).substr(start));
            kept_.replace(start, std::string::npos, key);
        }
        if (kept_.size() > start)
            keptCells_.push_back({column_ - 1, false, start, kept_.size() - start});
    }

    // The text of the <v> element just started.
    template <typename Take>
    static void ReadRichTextOfValue(XmlReader& xml, Take&& take)
    {
        const std::size_t depth = xml.Depth();
        for (;;) {
            const XmlReader::Token token = xml.Next();
            if (token == XmlReader::Token::EndElement && xml.Depth() < depth)
                return;
            if (token == XmlReader::Token::Text)
                take(xml.Text());
        }
    }

    void EndRow(int number)
    {
        if (!hasText_)
            return;
        budget_.AddRow();
        // By column; of two cells in one column the later counts.
        std::stable_sort(keptCells_.begin(), keptCells_.end(),
                         [](const KeptCell& a, const KeptCell& b) { return a.column < b.column; });
        cells_.clear();
        std::size_t width = 0;
        for (std::size_t i = 0; i < keptCells_.size(); ++i) {
            const KeptCell& cell = keptCells_[i];
            if (i + 1 < keptCells_.size() && keptCells_[i + 1].column == cell.column)
                continue;
            const std::string_view text =
                cell.shared ? shared_.at(cell.begin) : std::string_view(kept_).substr(cell.begin, cell.length);
            cells_.push_back({cell.column, text});
            width = cell.column + 1;
        }
        sink_.Row(ListRow{number, width, blank_, cells_});
    }

    const std::string& part_;
    const SharedStrings& shared_;
    ListRowSink& sink_;
    ListBudget budget_;
    std::size_t lastRow_ = 0;

    std::size_t column_ = 0;   // of the last cell, from 1
    bool hasText_ = false;
    bool blank_ = true;
    std::string kept_;
    std::vector<KeptCell> keptCells_;
    std::vector<ListCell> cells_;
};

} // namespace

void FailXlsx(const std::string& reason)
{
    throw XlsxReadError(K("엑셀 통합 문서(.xlsx)를 읽을 수 없습니다: ") + reason);
}

void ReadFirstSheet(WorkbookParts& parts, ListRowSink& sink)
{
    const SheetParts found = FindParts(parts);
    SharedStrings shared;
    if (!found.sharedStrings.empty())
        ReadPart(parts, found.sharedStrings, [&shared](XmlReader& xml) { shared.Read(xml); });
    SheetReader reader(found.sheet, shared, sink);
    if (!ReadPart(parts, found.sheet, [&reader](XmlReader& xml) { reader.Read(xml); }))
        Missing("워크시트 부분", found.sheet);
}

} // namespace lavodc
