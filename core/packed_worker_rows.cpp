#include "core/packed_worker_rows.h"

#include "core/sheet_record.h"

#include <stdexcept>

namespace lavodc {

namespace {

constexpr std::size_t kRowsPerBlock = 4096;

// Where each text of a row goes in its block: the places of a worker record.
template <typename Row, typename Visit>
void forEachText(Row& row, Visit visit)
{
    visit(row.pName, record::kName);
    visit(row.JmnNo, record::kNumber);
    visit(row.nName, record::kJob);
    visit(row.nAddr, record::kAddress);
    visit(row.nTel, record::kPhone);
    visit(row.nEtc, record::kNote);
    for (int day = 1; day <= kDayCount; ++day)
        visit(row.days[static_cast<std::size_t>(day - 1)], record::dayField(day));
}

} // namespace

void PackedWorkerRows::add(const WorkerRow& row)
{
    // Each text goes in as its field takes it: cut to the field's size, the rest zero.
    record::Bytes block{};
    forEachText(row, [&block](const std::string& text, record::TextField field) {
        record::putText(block, field, text);
    });
    if (size() % kRowsPerBlock == 0) {
        texts_.emplace_back();
        texts_.back().reserve(kRowsPerBlock * record::kSize);
    }
    texts_.back().insert(texts_.back().end(), block.begin(), block.end());
    amounts_.push_back({row.nNal, row.nDay, row.SmMny});
}

void PackedWorkerRows::clear()
{
    texts_.clear();
    amounts_.clear();
    released_ = 0;
}

void PackedWorkerRows::release(std::size_t index)
{
    for (; released_ < index / kRowsPerBlock && released_ < texts_.size(); ++released_)
        std::vector<unsigned char>().swap(texts_[released_]);
}

const unsigned char* PackedWorkerRows::block(std::size_t index) const
{
    const std::vector<unsigned char>& texts = texts_[index / kRowsPerBlock];
    if (texts.empty())
        throw std::logic_error("a packed row unpacked after its texts were released");
    return texts.data() + (index % kRowsPerBlock) * record::kSize;
}

void PackedWorkerRows::unpack(std::size_t index, WorkerRow& row) const
{
    const unsigned char* texts = block(index);
    forEachText(row, [texts](std::string& text, record::TextField field) { text.assign(record::textAt(texts, field)); });
    row.nNal = amounts_[index][0];
    row.nDay = amounts_[index][1];
    row.SmMny = amounts_[index][2];
}

void PackedWorkerRows::fillRecord(std::size_t index, record::Bytes& bytes, std::string_view period) const
{
    record::fillWorker(bytes, block(index), amounts_[index], period);
}

std::string_view PackedWorkerRows::name(std::size_t index) const
{
    return record::textAt(block(index), record::kName);
}

std::string_view PackedWorkerRows::job(std::size_t index) const
{
    return record::textAt(block(index), record::kJob);
}

} // namespace lavodc
