// The e-filing workbook of a large sheet: its rows from the workers, the workbook written
// through the saving path as the window and lavodc-cli efile write it, and both together, with
// and without the tax office's columns.
#include "core/cp949.h"
#include "core/efile_rows.h"
#include "services/efile_workbook.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace lavodc;

const fs::path& benchFolder()
{
    static const fs::path folder = [] {
        fs::path path = fs::temp_directory_path() / ("lavodc_efile_bench_" + std::to_string(::getpid()));
        fs::create_directories(path);
        return path;
    }();
    return folder;
}

// `count` workers of November: every tenth a foreigner, every fifth a leaver, about half the
// days marked (the 31st too, which is left out), every field filled.
std::vector<WorkerRow> makeWorkers(int count)
{
    static const std::vector<std::string> jobs = {K("A.철근원"), K("B.철골공"), K("G.목공"), K("U.건설단순노무자")};
    static const std::vector<std::string> names = {K("홍길동"), K("김하윤"), K("이가람"), K("박나래"), K("최다온")};
    std::mt19937 random(4321);
    std::vector<WorkerRow> rows(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        WorkerRow& row = rows[static_cast<std::size_t>(i)];
        row.pName = names[random() % names.size()] + std::to_string(i % 100);
        row.JmnNo = "900101-" + std::string(1, i % 10 == 0 ? '5' : '1') + std::to_string(100000 + i % 900000);
        row.nTel = "(010)" + std::to_string(1000 + i % 9000) + "-5678";
        row.nName = jobs[random() % jobs.size()];
        row.nDay = 8;
        row.SmMny = 170000.0 * (1 + i % 20);
        row.nEtc = i % 5 == 0 ? K("1.회사사정에 의한 이직") : std::string();
        for (std::string& day : row.days)
            if (random() % 2)
                day = std::string(kDayMark);
    }
    return rows;
}

const JobCodes& jobCodes()
{
    static const JobCodes codes = {{"A", "701"}, {"B", "701"}, {"G", "705"}, {"U", "706"}};
    return codes;
}

EfileOptions optionsOf(const benchmark::State& state)
{
    EfileOptions options;
    options.reportToTaxOffice = state.range(1) != 0;
    options.paymentMonth = "202611";
    return options;
}

void BM_Rows(benchmark::State& state)
{
    const std::vector<WorkerRow> workers = makeWorkers(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildEfileSheet(workers, "2026", "11", jobCodes(), {}, optionsOf(state)));
    state.SetComplexityN(state.range(0));
}

void BM_Workbook(benchmark::State& state)
{
    const EfileSheet sheet = BuildEfileSheet(makeWorkers(static_cast<int>(state.range(0))), "2026", "11", jobCodes(),
                                             {}, optionsOf(state));
    const std::string path = (benchFolder() / "efile.xlsx").string();
    for (auto _ : state)
        SaveEfileWorkbook(sheet, path);
    state.counters["bytes"] = static_cast<double>(fs::file_size(path));
    state.SetComplexityN(state.range(0));
}

// What the dialog's save does after the clerk has chosen the name.
void BM_RowsAndWorkbook(benchmark::State& state)
{
    const std::vector<WorkerRow> workers = makeWorkers(static_cast<int>(state.range(0)));
    const std::string path = (benchFolder() / "efile.xlsx").string();
    for (auto _ : state)
        SaveEfileWorkbook(BuildEfileSheet(workers, "2026", "11", jobCodes(), {}, optionsOf(state)), path);
    state.SetComplexityN(state.range(0));
}

void sizes(benchmark::internal::Benchmark* bench, int tax)
{
    for (const int count : {1000, 2500, 5000, 10000})
        bench->Args({count, tax});
    bench->ArgNames({"workers", "tax"})->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}
void withoutTax(benchmark::internal::Benchmark* bench) { sizes(bench, 0); }
void withTax(benchmark::internal::Benchmark* bench) { sizes(bench, 1); }

BENCHMARK(BM_Rows)->Apply(withoutTax);
BENCHMARK(BM_Rows)->Apply(withTax);
BENCHMARK(BM_Workbook)->Apply(withoutTax);
BENCHMARK(BM_Workbook)->Apply(withTax);
BENCHMARK(BM_RowsAndWorkbook)->Apply(withoutTax);
BENCHMARK(BM_RowsAndWorkbook)->Apply(withTax);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(benchFolder());
    return 0;
}
