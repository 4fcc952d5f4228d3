#pragma once
// What the list fuzz targets hold a plan to: every planned or updated worker has a name and
// amounts a sheet file stores, and the plan does not depend on how the stream was cut into reads.
#include "core/byte_source.h"
#include "core/sheet_record.h"
#include "core/worker_import.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

namespace lavodc::fuzz {

// Bytes in reads of at most `piece` bytes (all at once for 0).
class ChoppedSource : public ByteSource {
public:
    ChoppedSource(std::string_view bytes, std::size_t piece) : bytes_(bytes), piece_(piece) {}
    std::size_t Read(char* buffer, std::size_t size) override
    {
        std::size_t n = std::min(size, bytes_.size() - at_);
        if (piece_ > 0)
            n = std::min(n, piece_);
        std::memcpy(buffer, bytes_.data() + at_, n);
        at_ += n;
        return n;
    }
    void Rewind() override { at_ = 0; }

private:
    std::string_view bytes_;
    std::size_t piece_;
    std::size_t at_ = 0;
};

// A sheet holding one worker, for the duplicate test against the sheet.
inline void OneWorker(WorkerTable& table)
{
    table.Open();
    table.Append();
    table.SetFieldText("pName", "kim");
    table.SetFieldText("JmnNo", "700101-1234567");
    table.Post();
}

// The plan as text: its summary and the record of each worker, which must be storable.
inline std::string PlanText(ImportPlan plan)
{
    std::string text = ImportSummaryText(plan);
    for (std::size_t i = 0; i < plan.workers.size(); ++i) {
        const WorkerRow row = plan.Worker(i);
        if (row.pName.empty() || row.nDay < 0 || row.SmMny < 0 || row.nNal < 0 || row.nNal > kDayCount)
            std::abort();
        record::Bytes bytes{};
        record::fillWorker(bytes, row, plan.period);   // raises for an amount no record holds
        text.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    for (const WorkerUpdate& update : plan.updates) {
        text += std::to_string(update.row) + "/" + std::to_string(update.days) + "/" +
                (update.hours ? std::to_string(*update.hours) : "-") + "/" +
                (update.wages ? std::to_string(*update.wages) : "-") + "\n";
    }
    WorkerTable table;
    OneWorker(table);
    ApplyImport(table, plan);
    if (static_cast<std::size_t>(table.RecordCount()) != plan.workers.size() + 1 ||
        ImportDoneText(plan).empty())
        std::abort();
    // The worker a list updates still makes a record.
    for (int i = 0; i < table.RecordCount(); ++i) {
        const WorkerRow& row = table.RowAt(i);
        if (row.nDay < 0 || row.SmMny < 0 || row.nNal < 0 || row.nNal > kDayCount)
            std::abort();
        record::Bytes bytes{};
        record::fillWorker(bytes, row, plan.period);
    }
    return text;
}

// Plans the list read whole and read in pieces of `piece` bytes; the two must agree, in the
// plan or in the error.
inline void CheckPlans(std::size_t piece, const std::function<ImportPlan(std::size_t)>& plan)
{
    auto outcome = [&plan](std::size_t cut) -> std::string {
        try {
            return PlanText(plan(cut));
        } catch (const ImportError& error) {
            return std::string("error: ") + error.what();
        }
    };
    if (outcome(0) != outcome(piece))
        std::abort();
}

} // namespace lavodc::fuzz
