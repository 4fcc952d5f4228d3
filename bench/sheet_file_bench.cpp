// Writing, opening (read, sort by name, recount) and dumping to JSON sheets of many workers.
#include "cli/sheet_json.h"
#include "core/cp949.h"
#include "core/sheet_file.h"
#include "core/sheet_record_cache.h"

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
        fs::path path = fs::temp_directory_path() / ("lavodc_sheet_bench_" + std::to_string(::getpid()));
        fs::create_directories(path);
        return path;
    }();
    return folder;
}

// A sheet of `count` workers with Hangul names in random order, a job from a short list,
// some worked days and wages.
std::unique_ptr<Sheet> makeSheet(int count)
{
    static const std::vector<std::string> jobs = {K("1.보통인부"), K("A.철근원"), K("B.철골공"), K("C.목공"), K("D.미장공")};
    static const std::string mark = K("√");
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> syllable(0xAC00, 0xD7A3);
    auto hangul = [&](int syllables) {
        std::string utf8;
        for (int i = 0; i < syllables; ++i) {
            const char32_t cp = static_cast<char32_t>(syllable(random));
            utf8 += static_cast<char>(0xE0 | (cp >> 12));
            utf8 += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (cp & 0x3F));
        }
        try {
            return toCp949(utf8);
        } catch (const EncodingError&) {
            return K("홍길동");
        }
    };

    auto sheet = std::make_unique<Sheet>();
    sheet->table.Open();
    sheet->header.gsName = K("서울 신축공사 현장");
    sheet->header.gsyear = "2024";
    sheet->header.gmonth = "05";
    sheet->header.cmpTel = "02-123-4567";
    std::vector<WorkerRow> rows(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        WorkerRow& row = rows[static_cast<std::size_t>(i)];
        row.HCODE = row.SCODE = row.LCODE = 1;
        row.cDate = "2024.05";
        row.pName = hangul(3);
        row.JmnNo = "900101-1234567";
        row.nName = jobs[static_cast<std::size_t>(i) % jobs.size()];
        row.nAddr = K("서울특별시 중구 세종대로 ") + std::to_string(i);
        row.nTel = "(042) 123-4567";
        row.nDay = 8;
        row.SmMny = 100000.0 + i;
        for (int d = 0; d < kDayCount; d += 1 + (i % 3))
            row.days[static_cast<std::size_t>(d)] = mark;
    }
    sheet->table.ReplaceRows(std::move(rows));
    return sheet;
}

std::string sheetPath(int count)
{
    return (benchFolder() / ("sheet_" + std::to_string(count) + ".Lvo")).string();
}

void BM_WriteSheetFile(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    auto sheet = makeSheet(count);
    const std::string path = sheetPath(count);
    for (auto _ : state)
        SaveSheetFile(path, *sheet);
    state.SetComplexityN(count);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kRecordSize) * (count + 3));
}

void BM_OpenSheetFile(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const std::string path = sheetPath(count);
    SaveSheetFile(path, *makeSheet(count));
    for (auto _ : state) {
        Sheet sheet;
        sheet.table.Open();
        OpenSheetFile(path, sheet);
        benchmark::DoNotOptimize(sheet.table.RecordCount());
    }
    state.SetComplexityN(count);
}

void BM_DumpToJson(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const std::string path = sheetPath(count);
    SaveSheetFile(path, *makeSheet(count));
    Sheet sheet;
    sheet.table.Open();
    OpenSheetFile(path, sheet);
    for (auto _ : state) {
        std::string text = cli::SheetJsonText(sheet);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetComplexityN(count);
}

// What the window's thread does for a recovery copy between two events; the file work is
// done on another thread.
void BM_RecoverySnapshot(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    auto sheet = makeSheet(count);
    for (auto _ : state) {
        std::string bytes = SheetFileBytes(sheet->header, sheet->table);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetComplexityN(count);
}

// The same kept up as the table changes: one worker's day toggled between two copies.
void BM_RecoverySnapshotAfterOneChange(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    auto sheet = makeSheet(count);
    SheetRecordCache cache(sheet->table);
    std::string bytes;
    cache.SheetBytes(sheet->header, bytes);
    WorkerTable& table = sheet->table;
    table.MoveTo(count / 2);
    for (auto _ : state) {
        table.Edit();
        table.SetFieldTextAt(kFirstDayField + 9, table.CurrentRow().days[9].empty() ? kDayMark : std::string_view());
        table.Post();
        cache.SheetBytes(sheet->header, bytes);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetComplexityN(count);
}

BENCHMARK(BM_RecoverySnapshot)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecoverySnapshotAfterOneChange)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteSheetFile)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oNLogN);
BENCHMARK(BM_OpenSheetFile)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oNLogN);
BENCHMARK(BM_DumpToJson)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oNLogN);

struct CleanUp {
    ~CleanUp()
    {
        std::error_code ignored;
        fs::remove_all(benchFolder(), ignored);
    }
} cleanUp;

} // namespace

BENCHMARK_MAIN();
