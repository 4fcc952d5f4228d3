// The print command as the user meets it: the counting run with the print page on screen,
// the preview's first page, and the PDF of a hundred pages that a print job spools.
#include "app/print_command.h"
#include "app/print_preview.h"
#include "report/report_captions.h"
#include "report/report_pdf.h"

#include "core/cp949.h"
#include "services/prompts.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace {

using namespace lavodc;

void fillTable(WorkerTable& table, int workers)
{
    table.Open();
    std::vector<WorkerRow> rows(static_cast<std::size_t>(workers));
    for (int i = 0; i < workers; ++i) {
        WorkerRow& row = rows[static_cast<std::size_t>(i)];
        row.HCODE = row.SCODE = row.LCODE = 1;
        row.pName = K("홍길동") + std::to_string(i % 1000);
        row.JmnNo = "800101-1" + std::to_string(100000 + i % 900000);
        row.nName = K("A.철근원");
        row.nAddr = K("대전광역시 유성구 어은동 한빛아파트 101동 1203호");
        row.nTel = "(042) 123-4567";
        for (int day = 0; day < kDayCount; ++day)
            if ((day + i) % 3 != 0)
                row.days[static_cast<std::size_t>(day)] = std::string(kDayMark);
        row.nNal = row.CountWorkedDays();
        row.nDay = i % 2 == 0 ? 8 : 7.25;
        row.SmMny = 100000.0 * (i % 50 + 1);
    }
    table.AppendRows(std::move(rows));
}

class SilentPrompts : public Prompts {
public:
    void InfoBox(const QString&) override {}
    bool ConfirmBox(const QString&) override { return false; }
    SaveAnswer AskSaveChanges(const QString&) override { return SaveAnswer::Cancel; }
    std::optional<QString> OpenFileName(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<QString> SaveFileName(const FileDialogRequest&) override { return std::nullopt; }
    void ErrorBox(const QString&) override {}
    void MessageBox(const QString&, const QString&) override {}
    void Beep() override {}
};

// Two printers and no jobs: the page needs a list, the benchmarks send nothing.
class ListOnlyTarget : public report::PrintTarget {
public:
    QStringList PrinterNames() const override { return {QStringLiteral("Office"), QStringLiteral("Lobby")}; }
    QString DefaultPrinter() const override { return QStringLiteral("Office"); }
    QString CurrentPrinter() const override { return DefaultPrinter(); }
    void SetCurrentPrinter(const QString&) override {}
    int SendJob(report::TPtqLvodocf&, const QString&, int, int, const report::PageProgress&) override { return 0; }
};

struct Fixture {
    explicit Fixture(int workers) : command(table, [this] { return header; }, prompts, target)
    {
        fillTable(table, workers);
        header.gsName = K("한빛 아파트 신축공사");
        header.gsyear = "2010";
        header.gmonth = "01";
    }
    WorkerTable table;
    SheetHeader header;
    SilentPrompts prompts;
    ListOnlyTarget target;
    PrintCommand command;
};

void BM_CountingRunAndPrintPage(benchmark::State& state)
{
    Fixture fixture(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        fixture.command.Prepare();
        auto dialog = fixture.command.CreateDialog(QRect(0, 0, 1000, 700), nullptr);
        dialog->show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(dialog.get());
    }
    state.counters["pages"] = fixture.command.PageCount();
}

void BM_PreviewFirstPage(benchmark::State& state)
{
    Fixture fixture(static_cast<int>(state.range(0)));
    fixture.command.Prepare();
    PrintChoice choice;
    choice.reportDate = "2010.01.27";
    for (auto _ : state) {
        PrintPreview preview(
            1, fixture.command.PageCount(),
            [&](int page, double dpi) { return fixture.command.RenderPage(choice, page, dpi); }, {});
        preview.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(preview.ShownImage().constBits());
    }
    state.counters["pages"] = fixture.command.PageCount();
}

void BM_PdfOfAllPages(benchmark::State& state)
{
    Fixture fixture(static_cast<int>(state.range(0)));
    QTemporaryDir dir;
    report::TPtqLvodocf form(fixture.table);
    fixture.table.First();
    form.Prepare();
    form.SetCaptions(report::ReportCaptions(fixture.header, "2010.01.27"));
    int pages = 0;
    for (auto _ : state) {
        fixture.table.First();
        pages = report::SaveReportPdf(form, dir.filePath(QStringLiteral("form.pdf")), 0, 0);
    }
    state.counters["pages"] = pages;
}

BENCHMARK(BM_CountingRunAndPrintPage)->Arg(800)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewFirstPage)->Arg(8)->Arg(800)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PdfOfAllPages)->Arg(792)->Unit(benchmark::kMillisecond);   // 100 pages

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
