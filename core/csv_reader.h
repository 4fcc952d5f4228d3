#pragma once
// Reading CSV files the way spreadsheets write them, as a stream: UTF-8 with or without a
// byte-order mark, or CP949; comma, semicolon or tab between fields; fields in double quotes
// may hold the separator, line breaks and doubled quotes.

#include "core/byte_source.h"
#include "core/list_rows.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lavodc {

inline constexpr char kCsvSeparators[] = {',', ';', '\t'};

// A CSV file larger than this is no worker list.
inline constexpr std::size_t kMaxCsvBytes = 256u << 20;

enum class CsvEncoding { Utf8, Cp949 };

// UTF-8 when every byte after a UTF-8 byte-order mark is UTF-8, CP949 otherwise.
// Reads from the start, up to the first byte that is not UTF-8.
CsvEncoding DetectCsvEncoding(ByteSource& bytes);

// The file's text from the start as UTF-8, piece by piece: the byte-order mark dropped,
// CP949 decoded. Raises ImportError past kMaxCsvBytes.
void ReadCsvText(ByteSource& bytes, CsvEncoding encoding, const std::function<void(std::string_view)>& take);

// Splits text fed piece by piece at `separator` into records, handed to `sink` as rows
// numbered from 1. A record ends at CR LF, LF or CR outside quotes; a trailing line break
// makes no empty record. A quote inside an unquoted field opens a quoted part as well.
// A record of more than kMaxListColumns fields raises ImportError; so do more rows or text
// than a list may have, unless `countLimits` is false (for a reading that keeps no text).
class CsvParser {
public:
    CsvParser(char separator, ListRowSink& sink, bool countLimits = true);
    void Feed(std::string_view utf8);
    // The end of the text. Raises ImportError for a quote left open, naming its line.
    void Finish();

private:
    void Append(std::string_view text);
    void BeginField();
    void EndField();
    void EndRecord();
    void CountBreak(char c);

    char separator_;
    ListRowSink& sink_;
    ListBudget budget_;
    bool countLimits_;

    bool quoted_ = false;
    bool pendingQuote_ = false;   // a quote ended the last piece inside quotes
    bool skipLineFeed_ = false;   // a CR ended the last record
    bool lastWasCr_ = false;
    int line_ = 1;
    int quoteLine_ = 0;

    // The record being read.
    bool recordOpen_ = false;
    bool recordHasText_ = false;
    bool recordBlank_ = true;
    int number_ = 0;
    std::size_t column_ = 0;
    std::string kept_;   // the texts of the cells asked for, one after the other
    struct KeptCell {
        std::size_t column, begin, end;
    };
    std::vector<KeptCell> keptCells_;
    std::vector<ListCell> cells_;

    // The field being read.
    CellUse use_ = CellUse::Skip;
    std::size_t fieldStart_ = 0;
    std::size_t fieldBytes_ = 0;
    bool fieldNonBlank_ = false;
};

// A small CSV text (a code file, a test's) read whole, every cell kept as UTF-8; records
// numbered from 1, blank ones included. Same encodings, quoting and limits as a list.
struct CsvRecord {
    int number = 0;
    std::vector<std::string> cells;
};
// A text that cannot be read (a quote left open) raises ImportError, or, with `unreadable`,
// gives the records before it and the reason there (CP949).
std::vector<CsvRecord> ReadSmallCsv(std::string_view bytes, char separator, std::string* unreadable = nullptr);

} // namespace lavodc
