#pragma once
// Reading the sheet JSON event by event instead of as one document: the header and each worker
// are built as small documents of their own and checked as SheetFromJson checks them, so that a
// sheet of many workers never stands in memory as a whole tree.

#include "cli/json_source.h"
#include "cli/sheet_json.h"

#include <cstddef>
#include <functional>
#include <iterator>

namespace lavodc::cli {

// The characters of a JSON text for the parser, which would take a NUL byte for the end of
// the text and ignore what follows: a NUL byte raises SheetJsonError instead.
template <typename Iterator>
class NulRefusingIterator {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = char;

    NulRefusingIterator() = default;
    explicit NulRefusingIterator(Iterator at) : at_(at) {}

    char operator*() const
    {
        const char c = *at_;
        if (c == '\0')
            throw SheetJsonError(NulByteText(offset_));
        return c;
    }
    NulRefusingIterator& operator++()
    {
        ++at_;
        ++offset_;
        return *this;
    }
    NulRefusingIterator operator++(int)
    {
        NulRefusingIterator before = *this;
        ++*this;
        return before;
    }
    friend bool operator==(const NulRefusingIterator& a, const NulRefusingIterator& b) { return a.at_ == b.at_; }
    friend bool operator!=(const NulRefusingIterator& a, const NulRefusingIterator& b) { return !(a == b); }

private:
    Iterator at_{};
    std::size_t offset_ = 0;
};

struct SheetJsonReceiver {
    std::function<void(const WorkerRow& row)> worker;   // each worker, in the order of the list
    std::function<void()> dropWorkers;                  // the workers given so far do not count
};

// Reads `in` to its end. The header values found set those of `header`; the workers go to
// `receiver`. Raises what Json::parse raises for text that is not JSON, then what SheetFromJson
// raises for JSON that is not a sheet, the same error for the same text; `header` is then
// unchanged, while workers may have gone to `receiver` already. Raises JsonReadError for a
// source that cannot be read.
//
// A sheet is read in one quick pass where it can be: a source that can be read again is first
// read by a reader that knows only plain sheets and gives up on anything else (see
// ReadPlainSheet); the text is then read again by the general reader, which tells what is wrong.
void ReadSheetJson(JsonSource& in, SheetHeader& header, const SheetJsonReceiver& receiver);

// The general reader alone, over what is left of `in`.
void ReadSheetJsonInGeneral(JsonSource& in, SheetHeader& header, const SheetJsonReceiver& receiver);

} // namespace lavodc::cli
