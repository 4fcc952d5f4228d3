// Planning an import from a CSV worker list, and turning a sheet into the next month's.
#include "core/cp949.h"
#include "core/next_month.h"
#include "core/worker_import.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

using namespace lavodc;

std::string number(int i)
{
    char text[32];
    std::snprintf(text, sizeof text, "80%04d-1%06d", i % 10000, i);
    return text;
}

// A UTF-8 list with the worker list's nine titles and `count` workers.
std::string csvList(int count)
{
    std::string text = "성명,주민등록번호,주소,전화번호,직종,일수,평균시간,임금총액,이직사유\r\n";
    for (int i = 0; i < count; ++i)
        text += "근로자" + std::to_string(i) + "," + number(i) + ",\"대전시 서구 둔산동 " + std::to_string(i) +
                "\",042-123-4567,A.철근원,20,8,\"1,234,567\",\r\n";
    return text;
}

void BM_PlanImportFromCsv(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const std::string list = csvList(count);
    WorkerTable table;
    table.Open();
    for (auto _ : state) {
        MemorySource bytes(list);
        const ImportPlan plan = PlanCsvImport(bytes, table, "2024.05");
        benchmark::DoNotOptimize(plan.workers.size());
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_PlanImportFromCsv)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_AdvanceToNextMonth(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    std::vector<WorkerRow> rows(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        WorkerRow& row = rows[static_cast<std::size_t>(i)];
        row.pName = K("근로자") + std::to_string(i);
        row.JmnNo = number(i);
        row.nEtc = i % 10 == 0 ? K("3.기타 개인사정") : "";
        row.days.fill(std::string(kDayMark));
    }
    for (auto _ : state) {
        state.PauseTiming();
        Sheet sheet;
        sheet.table.Open();
        sheet.header.gsyear = "2024";
        sheet.header.gmonth = "12";
        sheet.table.AppendRows(rows);
        state.ResumeTiming();
        benchmark::DoNotOptimize(AdvanceToNextMonth(sheet).carried);
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_AdvanceToNextMonth)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
