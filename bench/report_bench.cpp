// The report's two runs over growing tables: the counting run alone, and the whole PDF.
#include "report/ptq_lvodoc.h"
#include "report/report_captions.h"

#include "core/cp949.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QPdfWriter>

#include <string>
#include <vector>

namespace {

using namespace lavodc;

void fillTable(WorkerTable& table, int workers)
{
    static const std::string job = K("A.철근원");
    static const std::string address = K("대전광역시 유성구 어은동 한빛아파트 101동 1203호");
    static const std::string reason = K("1.회사사정에 의한 이직");
    table.Open();
    std::vector<WorkerRow> rows;
    rows.reserve(workers);
    for (int i = 0; i < workers; ++i) {
        WorkerRow row;
        row.HCODE = row.SCODE = row.LCODE = 1;
        row.pName = K("홍길동") + std::to_string(i % 1000);
        row.JmnNo = "800101-1" + std::to_string(100000 + i % 900000);
        row.nName = job;
        row.nAddr = address;
        row.nTel = "(042) 123-4567";
        row.nEtc = i % 5 == 0 ? reason : std::string();
        for (int day = 0; day < kDayCount; ++day)
            if ((day + i) % 3 != 0)
                row.days[day] = std::string(kDayMark);
        row.nNal = row.CountWorkedDays();
        row.nDay = 8;
        row.SmMny = 100000.0 * (i % 50 + 1);
        rows.push_back(std::move(row));
    }
    table.AppendRows(std::move(rows));
}

void BM_CountingRun(benchmark::State& state)
{
    WorkerTable table;
    fillTable(table, static_cast<int>(state.range(0)));
    report::TPtqLvodocf form(table);
    int pages = 0;
    for (auto _ : state) {
        table.First();
        pages = form.Prepare();
        benchmark::DoNotOptimize(pages);
    }
    state.counters["pages"] = pages;
}

void BM_Pdf(benchmark::State& state)
{
    WorkerTable table;
    fillTable(table, static_cast<int>(state.range(0)));
    SheetHeader header;
    header.gsName = K("한빛 아파트 신축공사");
    header.gsyear = "2010";
    header.gmonth = "01";
    report::TPtqLvodocf form(table);
    form.SetCaptions(report::ReportCaptions(header, "2010.01.27"));
    int pages = 0;
    qint64 bytes = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        table.First();
        pages = form.Print(writer);
        bytes = buffer.size();
    }
    state.counters["pages"] = pages;
    state.counters["bytes"] = static_cast<double>(bytes);
    state.counters["ms_per_page"] = benchmark::Counter(
        static_cast<double>(pages), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_CountingRun)->Arg(80)->Arg(800)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pdf)->Arg(80)->Arg(800)->Arg(8000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
