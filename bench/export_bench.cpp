// Alt+E on sheets of many workers: the walk over the table, the clipboard text and the workbook,
// each alone and all together, for the worker list and the day strip.
#include "core/cp949.h"
#include "core/grid_columns.h"
#include "core/worker_table.h"
#include "services/clipboard_text.h"
#include "services/grid_snapshot.h"
#include "services/workbook_file.h"
#include "services/workbook_writer.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace lavodc;

const fs::path& benchFolder()
{
    static const fs::path folder = [] {
        fs::path path = fs::temp_directory_path() / ("lavodc_export_bench_" + std::to_string(::getpid()));
        fs::create_directories(path);
        return path;
    }();
    return folder;
}

// `count` workers with every column of the worker list filled and about half the days marked.
std::unique_ptr<WorkerTable> makeTable(int count)
{
    static const std::vector<std::string> jobs = {K("1.보통인부"), K("A.철근원"), K("B.철골공"), K("C.목공")};
    static const std::vector<std::string> names = {K("홍길동"), K("김하윤"), K("이가람"), K("박나래"), K("최다온")};
    std::mt19937 random(4321);
    auto table = std::make_unique<WorkerTable>();
    table->Open();
    std::vector<WorkerRow> rows(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        WorkerRow& row = rows[static_cast<std::size_t>(i)];
        row.pName = names[random() % names.size()] + std::to_string(i % 100);
        row.JmnNo = "9001011" + std::to_string(100000 + i % 900000);
        row.nAddr = K("서울특별시 중구 세종대로 ") + std::to_string(i) + K("번길 건설현장 숙소");
        row.nTel = "010-" + std::to_string(1000 + i % 9000) + "-5678";
        row.nName = jobs[random() % jobs.size()];
        row.nDay = 8;
        row.SmMny = 150000.0 * (1 + i % 20);
        row.nEtc = K("1.계약만료");
        for (std::string& day : row.days)
            if (random() % 2)
                day = std::string(kDayMark);
        row.nNal = row.CountWorkedDays();
    }
    table->AppendRows(std::move(rows));
    return table;
}

const std::vector<GridColumn>& columnsOf(const benchmark::State& state)
{
    return state.range(1) != 0 ? DayStripColumns() : WorkerListColumns();
}

void BM_Snapshot(benchmark::State& state)
{
    const auto table = makeTable(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(TakeGridSnapshot(*table, columnsOf(state)));
    state.SetComplexityN(state.range(0));
}

void BM_ClipboardText(benchmark::State& state)
{
    const auto table = makeTable(static_cast<int>(state.range(0)));
    const GridSnapshot grid = TakeGridSnapshot(*table, columnsOf(state));
    for (auto _ : state)
        benchmark::DoNotOptimize(fromCp949(ClipboardText(grid)));
    state.SetComplexityN(state.range(0));
}

void BM_Workbook(benchmark::State& state)
{
    const auto table = makeTable(static_cast<int>(state.range(0)));
    const GridSnapshot grid = TakeGridSnapshot(*table, columnsOf(state));
    const std::string path = (benchFolder() / "workbook.xlsx").string();
    for (auto _ : state)
        WriteWorkbook(grid, path);
    state.counters["bytes"] = static_cast<double>(fs::file_size(path));
    state.SetComplexityN(state.range(0));
}

// Everything Alt+E does but the desktop's part: walk, clipboard text, workbook under a free name.
void BM_WholeExport(benchmark::State& state)
{
    const auto table = makeTable(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const GridSnapshot grid = TakeGridSnapshot(*table, columnsOf(state));
        benchmark::DoNotOptimize(fromCp949(ClipboardText(grid)));
        const std::string written = WriteUnderFreeName(benchFolder().string(), "export", ".xlsx",
                                                       [&grid](const std::string& path) { WriteWorkbook(grid, path); });
        state.PauseTiming();
        fs::remove(written);
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}

// One family for each grid, so that each gets its own fit of the cost against the rows.
void sizes(benchmark::internal::Benchmark* bench, int days)
{
    for (const int count : {1000, 2500, 5000, 10000})
        bench->Args({count, days});
    bench->ArgNames({"workers", "days"})->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}
void workerList(benchmark::internal::Benchmark* bench) { sizes(bench, 0); }
void dayStrip(benchmark::internal::Benchmark* bench) { sizes(bench, 1); }

BENCHMARK(BM_Snapshot)->Apply(workerList);
BENCHMARK(BM_Snapshot)->Apply(dayStrip);
BENCHMARK(BM_ClipboardText)->Apply(workerList);
BENCHMARK(BM_ClipboardText)->Apply(dayStrip);
BENCHMARK(BM_Workbook)->Apply(workerList);
BENCHMARK(BM_Workbook)->Apply(dayStrip);
BENCHMARK(BM_WholeExport)->Apply(workerList);
BENCHMARK(BM_WholeExport)->Apply(dayStrip);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(benchFolder());
    return 0;
}
