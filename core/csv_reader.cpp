#include "core/csv_reader.h"

#include "core/cp949.h"

#include <array>

namespace lavodc {

namespace {

constexpr std::size_t kChunk = 64 * 1024;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The length of the longest prefix of `text` made of whole, valid UTF-8 sequences; `invalid`
// tells whether it stopped at a byte that starts no valid sequence rather than at a sequence
// cut by the end of `text`.
std::size_t Utf8Prefix(std::string_view text, bool& invalid)
{
    invalid = false;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
        } else {
            invalid = true;
            return i;
        }
        if (i + length > text.size()) {
            // Cut by the end: invalid already when a byte so far cannot continue it.
            for (std::size_t k = i + 1; k < text.size(); ++k)
                invalid = invalid || (static_cast<unsigned char>(text[k]) & 0xC0) != 0x80;
            return i;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                invalid = true;
                return i;
            }
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
        if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
            (code >= 0xD800 && code <= 0xDFFF)) {
            invalid = true;
            return i;
        }
        i += length;
    }
    return i;
}

// Reads `bytes` from the start in pieces, without the byte-order mark, within the size limit.
template <typename Take>
void ReadPieces(ByteSource& bytes, Take&& take)
{
    bytes.Rewind();
    std::array<char, kChunk> buffer;
    std::size_t total = 0;
    bool first = true;
    std::string head;   // the first bytes, until the mark can be told
    for (;;) {
        const std::size_t n = bytes.Read(buffer.data(), buffer.size());
        total += n;
        if (total > kMaxCsvBytes)
            throw ImportError(K("명단 파일이 너무 큽니다 (256MB 넘음)."));
        std::string_view piece(buffer.data(), n);
        if (first) {
            head.append(piece);
            if (n > 0 && head.size() < kByteOrderMark.size() && kByteOrderMark.starts_with(head))
                continue;
            first = false;
            piece = head;
            if (piece.starts_with(kByteOrderMark))
                piece.remove_prefix(kByteOrderMark.size());
        }
        if (!take(piece, n == 0))
            return;
        if (n == 0)
            return;
    }
}

} // namespace

CsvEncoding DetectCsvEncoding(ByteSource& bytes)
{
    std::string carry;
    bool valid = true;
    ReadPieces(bytes, [&](std::string_view piece, bool end) {
        carry.append(piece);
        bool invalid = false;
        const std::size_t whole = Utf8Prefix(carry, invalid);
        carry.erase(0, whole);
        valid = !invalid && !(end && !carry.empty());
        return valid;
    });
    return valid ? CsvEncoding::Utf8 : CsvEncoding::Cp949;
}

void ReadCsvText(ByteSource& bytes, CsvEncoding encoding, const std::function<void(std::string_view)>& take)
{
    std::string carry;   // a lead byte whose second byte comes with the next piece
    ReadPieces(bytes, [&](std::string_view piece, bool end) {
        if (encoding == CsvEncoding::Utf8) {
            if (!piece.empty())
                take(piece);
            return true;
        }
        carry.append(piece);
        const std::size_t whole = end ? carry.size() : WithoutDanglingHalf(carry).size();
        if (whole > 0)
            take(fromCp949(std::string_view(carry).substr(0, whole)));
        carry.erase(0, whole);
        return true;
    });
}

CsvParser::CsvParser(char separator, ListRowSink& sink, bool countLimits)
    : separator_(separator), sink_(sink), countLimits_(countLimits)
{
    BeginField();
}

void CsvParser::CountBreak(char c)
{
    if (c == '\r' || !lastWasCr_)
        ++line_;
    lastWasCr_ = c == '\r';
}

void CsvParser::Append(std::string_view text)
{
    if (text.empty())
        return;
    lastWasCr_ = false;
    if (countLimits_)
        budget_.AddText(text.size());
    fieldBytes_ += text.size();
    fieldNonBlank_ = fieldNonBlank_ || HasNonBlank(text);
    if (use_ != CellUse::Skip)
        ListBudget::CheckCell(number_ + 1, fieldBytes_);
    if (use_ == CellUse::Whole)
        kept_.append(text);
    else if (use_ == CellUse::Key)
        KeepKeyText(kept_, fieldStart_, text);
}

void CsvParser::BeginField()
{
    use_ = sink_.Use(column_);
    fieldStart_ = kept_.size();
    fieldBytes_ = 0;
    fieldNonBlank_ = false;
}

void CsvParser::EndField()
{
    if (fieldBytes_ > 0)
        recordHasText_ = true;
    if (fieldNonBlank_)
        recordBlank_ = false;
    if (kept_.size() > fieldStart_)
        keptCells_.push_back({column_, fieldStart_, kept_.size()});
    if (++column_ > kMaxListColumns)
        throw ImportError(K("명단 ") + std::to_string(number_ + 1) + K("행의 칸이 16,384개를 넘습니다."));
}

void CsvParser::EndRecord()
{
    EndField();
    if (recordHasText_ && countLimits_)
        budget_.AddRow();
    cells_.clear();
    for (const KeptCell& cell : keptCells_)
        cells_.push_back({cell.column, std::string_view(kept_).substr(cell.begin, cell.end - cell.begin)});
    sink_.Row(ListRow{++number_, column_, recordBlank_, cells_});

    kept_.clear();
    keptCells_.clear();
    column_ = 0;
    recordOpen_ = false;
    recordHasText_ = false;
    recordBlank_ = true;
    BeginField();
}

void CsvParser::Feed(std::string_view text)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (n == 0)
        return;
    if (pendingQuote_) {
        pendingQuote_ = false;
        if (text[0] == '"') {
            Append("\"");
            i = 1;
        } else {
            quoted_ = false;
        }
    }
    if (skipLineFeed_) {
        skipLineFeed_ = false;
        if (i < n && text[i] == '\n') {
            CountBreak('\n');
            ++i;
        }
    }
    while (i < n) {
        if (quoted_) {
            std::size_t j = i;
            while (j < n && text[j] != '"' && text[j] != '\r' && text[j] != '\n')
                ++j;
            Append(text.substr(i, j - i));
            i = j;
            if (i == n)
                break;
            const char c = text[i++];
            if (c != '"') {
                CountBreak(c);
                Append(std::string_view(&c, 1));
                lastWasCr_ = c == '\r';
            } else if (i == n) {
                pendingQuote_ = true;   // a doubled quote or the closing one: the next piece tells
            } else if (text[i] == '"') {
                Append("\"");
                ++i;
            } else {
                quoted_ = false;
            }
            continue;
        }
        recordOpen_ = true;
        std::size_t j = i;
        while (j < n && text[j] != '"' && text[j] != separator_ && text[j] != '\r' && text[j] != '\n')
            ++j;
        Append(text.substr(i, j - i));
        i = j;
        if (i == n)
            break;
        const char c = text[i++];
        if (c == '"') {
            quoted_ = true;
            quoteLine_ = line_;
            lastWasCr_ = false;
        } else if (c == separator_) {
            lastWasCr_ = false;
            EndField();
            BeginField();
        } else {
            CountBreak(c);
            EndRecord();
            if (c == '\r') {
                if (i == n) {
                    skipLineFeed_ = true;
                } else if (text[i] == '\n') {
                    CountBreak('\n');
                    ++i;
                }
            }
        }
    }
}

void CsvParser::Finish()
{
    if (pendingQuote_) {
        pendingQuote_ = false;
        quoted_ = false;
    }
    if (quoted_)
        throw ImportError(K("명단 ") + std::to_string(quoteLine_) + K("번째 줄의 따옴표가 닫히지 않았습니다."));
    if (recordOpen_)
        EndRecord();
}

namespace {

class KeepAllCells : public ListRowSink {
public:
    CellUse Use(std::size_t) const override { return CellUse::Whole; }
    void Row(const ListRow& row) override
    {
        CsvRecord record{row.number, std::vector<std::string>(row.width)};
        for (const ListCell& cell : row.cells)
            if (cell.column < record.cells.size())
                record.cells[cell.column] = std::string(cell.text);
        records.push_back(std::move(record));
    }
    std::vector<CsvRecord> records;
};

} // namespace

std::vector<CsvRecord> ReadSmallCsv(std::string_view bytes, char separator, std::string* unreadable)
{
    MemorySource source(bytes);
    const CsvEncoding encoding = DetectCsvEncoding(source);
    source.Rewind();
    KeepAllCells sink;
    CsvParser parser(separator, sink);
    try {
        ReadCsvText(source, encoding, [&parser](std::string_view piece) { parser.Feed(piece); });
        parser.Finish();
    } catch (const ImportError& error) {
        if (!unreadable)
            throw;
        *unreadable = error.what();
    }
    return std::move(sink.records);
}

} // namespace lavodc
