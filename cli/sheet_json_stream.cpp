#include "cli/sheet_json_stream.h"

#include "cli/plain_sheet_reader.h"

#include <array>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lavodc::cli {

namespace {

using DomBuilder = nlohmann::detail::json_sax_dom_parser<Json>;

// Follows the sheet's outline ({"header": {...}, "workers": [{...}, ...]}). The header value is
// built as a small document; each worker's fields are taken straight from the events, keeping
// what a document would keep: the last value of a repeated key, at the place of its first.
// Shape errors are kept, not raised, so that a syntax error further on still wins, as it does
// when the whole text is parsed first; among themselves they keep SheetFromJson's order.
class SheetHandler {
public:
    explicit SheetHandler(const SheetJsonReceiver& receiver) : receiver_(receiver) {}

    // Inside the header value every event goes to its document; a scalar there never ends it.
    bool null() { return skipping() || (building() ? builder_->null() : scalar(Json())); }
    bool boolean(bool value) { return skipping() || (building() ? builder_->boolean(value) : scalar(Json(value))); }
    bool number_integer(Json::number_integer_t value)
    {
        return skipping() || (building() ? builder_->number_integer(value) : scalar(Json(value)));
    }
    bool number_unsigned(Json::number_unsigned_t value)
    {
        return skipping() || (building() ? builder_->number_unsigned(value) : scalar(Json(value)));
    }
    bool number_float(Json::number_float_t value, const Json::string_t& text)
    {
        return skipping() || (building() ? builder_->number_float(value, text) : scalar(Json(value)));
    }
    bool string(Json::string_t& value)
    {
        return skipping() || (building() ? builder_->string(value) : scalar(Json(std::move(value))));
    }
    bool binary(Json::binary_t& value)
    {
        return skipping() || (building() ? builder_->binary(value) : scalar(Json(Json::binary_t(value))));
    }

    bool start_object(std::size_t size) { return open(true, size); }
    bool start_array(std::size_t size) { return open(false, size); }
    bool end_object() { return close(true); }
    bool end_array() { return close(false); }

    bool key(Json::string_t& name)
    {
        if (skipDepth_ > 0)
            return true;
        if (builder_)
            return builder_->key(name);
        if (place_ == Place::Worker) {
            workerKey(name);
            return true;
        }
        // A key of the sheet object itself.
        key_ = name;
        if (key_ != "header" && key_ != "workers" && !unknownKey_)
            unknownKey_ = key_;
        return true;
    }

    [[noreturn]] bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& error)
    {
        throw error;
    }

    // After the whole text was read: the first shape error, in SheetFromJson's order.
    void finish(SheetHeader& header) const
    {
        if (notAnObject_)
            throw SheetJsonError("the sheet must be a JSON object with \"header\" and \"workers\"");
        if (unknownKey_)
            throw SheetJsonError(UnknownSheetField(*unknownKey_));
        SheetHeader result = header;
        if (headerJson_)
            ApplyHeaderJson(*headerJson_, result);
        if (workersNotAList_)
            throw SheetJsonError("workers must be a list");
        if (workerError_)
            throw SheetJsonError(*workerError_);
        header = std::move(result);
    }

private:
    enum class Place { Top, Sheet, Workers, Worker };

    // One entry per distinct key of a worker, in the order of first appearance.
    struct KeySeen {
        int field;              // -1: not a field of the table
        std::string name;       // for the error about an unknown field
    };

    bool skipping() const { return skipDepth_ > 0; }
    bool building() const { return builder_.has_value(); }

    bool scalar(Json value)
    {
        switch (place_) {
        case Place::Top:
            notAnObject_ = true;
            break;
        case Place::Sheet:
            if (key_ == "header")
                headerJson_ = std::move(value);
            else if (key_ == "workers")
                workersAreNotAList();
            break;
        case Place::Workers:
            workerIsNotAnObject();
            break;
        case Place::Worker:
            if (field_ >= 0)
                values_[static_cast<std::size_t>(field_)] = std::move(value);
            break;
        }
        return true;
    }

    bool open(bool object, std::size_t size)
    {
        if (skipDepth_ > 0) {
            ++skipDepth_;
            return true;
        }
        if (builder_) {
            ++builderDepth_;
            return object ? builder_->start_object(size) : builder_->start_array(size);
        }
        switch (place_) {
        case Place::Top:
            if (object) {
                place_ = Place::Sheet;
                return true;
            }
            notAnObject_ = true;
            break;
        case Place::Sheet:
            if (key_ == "header") {
                headerValue_ = Json();
                builder_.emplace(headerValue_, true);
                builderDepth_ = 1;
                return object ? builder_->start_object(size) : builder_->start_array(size);
            }
            if (key_ == "workers") {
                if (!object) {
                    startWorkers();
                    return true;
                }
                workersAreNotAList();
            }
            break;
        case Place::Workers:
            if (object) {
                place_ = Place::Worker;
                seen_.clear();
                values_.fill(std::nullopt);
                return true;
            }
            workerIsNotAnObject();
            break;
        case Place::Worker:
            // A field holding an object or a list: its type alone decides its error.
            if (field_ >= 0)
                values_[static_cast<std::size_t>(field_)] = object ? Json::object() : Json::array();
            break;
        }
        skipDepth_ = 1;
        return true;
    }

    bool close(bool object)
    {
        if (skipDepth_ > 0) {
            --skipDepth_;
            return true;
        }
        if (builder_) {
            const bool done = object ? builder_->end_object() : builder_->end_array();
            --builderDepth_;
            return done && (builderDepth_ > 0 || headerDone());
        }
        switch (place_) {
        case Place::Worker:
            endWorker();
            place_ = Place::Workers;
            break;
        case Place::Workers:
            place_ = Place::Sheet;
            break;
        default:
            place_ = Place::Top;
            break;
        }
        return true;
    }

    bool headerDone()
    {
        builder_.reset();
        headerJson_ = std::move(headerValue_);
        headerValue_ = Json();
        return true;
    }

    void startWorkers()
    {
        place_ = Place::Workers;
        workersNotAList_ = false;
        workerError_.reset();
        workerCount_ = 0;
        if (receiver_.dropWorkers)
            receiver_.dropWorkers();
    }

    void workersAreNotAList()
    {
        workersNotAList_ = true;
        workerError_.reset();
        if (receiver_.dropWorkers)
            receiver_.dropWorkers();
    }

    void workerIsNotAnObject()
    {
        const std::size_t index = workerCount_++;
        if (!workerError_)
            workerError_ = WorkerNotAnObject(WorkerPlace(index));
    }

    void workerKey(const std::string& name)
    {
        field_ = WorkerFieldIndex(name);
        for (const KeySeen& key : seen_) {
            if (key.field == field_ && (field_ >= 0 || key.name == name))
                return;
        }
        seen_.push_back({field_, field_ >= 0 ? std::string() : name});
    }

    void endWorker()
    {
        const std::size_t index = workerCount_++;
        if (workerError_)
            return;   // only the first error counts; nothing more is kept
        const std::string place = WorkerPlace(index);
        WorkerRow row;
        try {
            for (const KeySeen& key : seen_) {
                if (key.field < 0)
                    throw SheetJsonError(UnknownWorkerField(place, key.name));
                SetWorkerField(row, key.field, *values_[static_cast<std::size_t>(key.field)], place);
            }
            CheckWorkerName(row, place);
        } catch (const SheetJsonError& error) {
            workerError_ = error.what();
            return;
        }
        if (receiver_.worker)
            receiver_.worker(row);
    }

    const SheetJsonReceiver& receiver_;
    Place place_ = Place::Top;
    std::string key_;
    int skipDepth_ = 0;
    std::optional<DomBuilder> builder_;   // while the header value is read
    int builderDepth_ = 0;
    Json headerValue_;
    std::optional<Json> headerJson_;
    // The worker being read.
    int field_ = -1;
    std::vector<KeySeen> seen_;
    std::array<std::optional<Json>, kFieldCount> values_;
    std::size_t workerCount_ = 0;
    bool notAnObject_ = false;
    std::optional<std::string> unknownKey_;
    bool workersNotAList_ = false;
    std::optional<std::string> workerError_;
};

// The bytes of a source, a piece at a time, as an input iterator for the parser.
class SourceBytes {
public:
    explicit SourceBytes(JsonSource& source) : source_(source), piece_(1 << 16) {}

    bool atEnd()
    {
        if (at_ == size_ && !done_) {
            size_ = source_.read(piece_.data(), piece_.size());
            at_ = 0;
            done_ = size_ == 0;
        }
        return at_ == size_;
    }
    char current() const { return piece_[at_]; }
    void next() { ++at_; }

private:
    JsonSource& source_;
    std::vector<char> piece_;
    std::size_t at_ = 0;
    std::size_t size_ = 0;
    bool done_ = false;
};

class SourceIterator {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = char;

    SourceIterator() = default;   // the end
    explicit SourceIterator(SourceBytes& bytes) : bytes_(&bytes) {}

    char operator*() const { return bytes_->current(); }
    SourceIterator& operator++()
    {
        bytes_->next();
        return *this;
    }
    SourceIterator operator++(int)
    {
        SourceIterator before = *this;
        ++*this;
        return before;
    }
    friend bool operator==(const SourceIterator& a, const SourceIterator& b) { return a.ended() == b.ended(); }

private:
    bool ended() const { return bytes_ == nullptr || bytes_->atEnd(); }

    SourceBytes* bytes_ = nullptr;
};

} // namespace

void ReadSheetJsonInGeneral(JsonSource& in, SheetHeader& header, const SheetJsonReceiver& receiver)
{
    SheetHandler handler(receiver);
    SourceBytes bytes(in);
    using Characters = NulRefusingIterator<SourceIterator>;
    Json::sax_parse(Characters(SourceIterator(bytes)), Characters(SourceIterator()), &handler);
    handler.finish(header);
}

void ReadSheetJson(JsonSource& in, SheetHeader& header, const SheetJsonReceiver& receiver)
{
    if (in.rewind()) {
        if (ReadPlainSheet(in, header, receiver.worker))
            return;
        if (receiver.dropWorkers)
            receiver.dropWorkers();
        in.rewind();
    }
    ReadSheetJsonInGeneral(in, header, receiver);
}

} // namespace lavodc::cli
