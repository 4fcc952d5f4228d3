// The CSV import over arbitrary bytes (the first byte sets the size of the reads): the list is
// planned or refused with ImportError, every planned worker can be saved, and reading the
// file in pieces gives what reading it whole gives.
#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_list_plan.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    lavodc::fuzz::Input input(data, size);
    const std::size_t piece = input.byte();
    const std::string_view bytes = input.rest();
    lavodc::WorkerTable table;
    lavodc::fuzz::OneWorker(table);
    lavodc::fuzz::CheckPlans(piece, [&](std::size_t cut) {
        lavodc::fuzz::ChoppedSource source(bytes, cut);
        return lavodc::PlanCsvImport(source, table, "2024.05");
    });
    return 0;
}
