// The editing surface on large sheets, with the worker list and the day strip shown: the Open
// command of the main window (file dialog answered, the wait window on screen), toggling a
// day, recounting every worker, changing the order, and marking in the month grid with its
// own keys.
#include "app/main_window.h"
#include "app/working_copy.h"
#include "core/cp949.h"
#include "core/day_marks.h"
#include "core/sheet_file.h"
#include "editing/day_strip.h"
#include "editing/month_grid.h"
#include "editing/month_grid_model.h"
#include "editing/month_grid_view.h"
#include "editing/worker_list_view.h"
#include "services/prompts.h"
#include "services/settings.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTest>

#include <string>
#include <vector>

namespace {

using namespace lavodc;

class SilentPrompts : public Prompts {
public:
    void InfoBox(const QString&) override {}
    bool ConfirmBox(const QString&) override { return true; }
    SaveAnswer AskSaveChanges(const QString&) override { return SaveAnswer::No; }
    std::optional<QString> OpenFileName(const FileDialogRequest&) override
    {
        return openName.isEmpty() ? std::nullopt : std::optional<QString>(openName);
    }
    QString openName;   // what the open-file dialog is answered with
    std::optional<QString> SaveFileName(const FileDialogRequest&) override { return std::nullopt; }
    void ErrorBox(const QString&) override {}
    void MessageBox(const QString&, const QString&) override {}
    void Beep() override {}
};

std::vector<WorkerRow> makeRows(int workers)
{
    std::vector<WorkerRow> rows(static_cast<std::size_t>(workers));
    const std::string jobs[] = {K("A.철근원"), K("G.목공"), K("U.건설단순노무자")};
    // Names as a crew has them: a few surnames, many given names.
    const std::u32string surnames = U"김이박최정강조윤장임한오서신권황안송류홍";
    const std::u32string syllables = U"민서준지현우진수영호성은하연재동희경태상도윤혜선주";
    auto syllable = [](char32_t c) {
        std::string utf8;
        utf8 += char(0xE0 | (c >> 12));
        utf8 += char(0x80 | ((c >> 6) & 0x3F));
        utf8 += char(0x80 | (c & 0x3F));
        return K(utf8);
    };
    for (int i = 0; i < workers; ++i) {
        WorkerRow& row = rows[static_cast<std::size_t>(i)];
        row.pName = syllable(surnames[std::size_t(i) % surnames.size()])
                    + syllable(syllables[std::size_t(i / 20) % syllables.size()])
                    + syllable(syllables[std::size_t(i / 500) % syllables.size()]);
        row.JmnNo = "800101-" + std::to_string(1000000 + i);
        row.nName = jobs[i % 3];
        row.nAddr = K("대전광역시 유성구 어은동");
        for (int day = 0; day < kDayCount; day += 2)
            row.days[static_cast<std::size_t>(day)] = std::string(kDayMark);
        row.SmMny = 150000;
    }
    return rows;
}

// The table with both views of the main window on screen.
struct ShownSheet {
    explicit ShownSheet(int workers)
    {
        table.Open();
        list.resize(1000, 600);
        strip.resize(31 * 30 + 4, 39);
        list.show();
        strip.show();
        table.ReplaceRows(makeRows(workers));
        QApplication::processEvents();
    }
    WorkerTable table;
    SilentPrompts prompts;
    WorkerListView list{table};
    DayStrip strip{table, prompts};
};

// Open as the user runs it: the main window's Open command with the file dialog answered, the
// wait window on screen while the file is read, the sheet shown in the worker list and the
// day strip.
void BM_OpenCommandInTheWindow(benchmark::State& state)
{
    QTemporaryDir programFolder;
    const QString folder = programFolder.path() + QLatin1Char('/');
    const QString previousFolder = ProgramFolder();
    SetProgramFolder(folder);
    WorkerTable::WriteStructure(TemplatePath(folder).toStdString());
    const QString path = folder + QStringLiteral("big.Lvo");
    {
        Sheet written;
        written.table.Open();
        written.table.ReplaceRows(makeRows(int(state.range(0))));
        WriteSheetFile(QFile::encodeName(path).toStdString(), written);
    }
    SilentPrompts prompts;
    prompts.openName = path;
    {
        Tmainf window(prompts, folder);
        window.show();
        QApplication::processEvents();
        for (auto _ : state) {
            window.openSheet();
            QApplication::processEvents();
        }
        if (window.sheet().table.RecordCount() != int(state.range(0)))
            state.SkipWithError("the sheet was not opened");
    }
    SetProgramFolder(previousFolder);
}

void BM_ToggleDay(benchmark::State& state)
{
    ShownSheet sheet(int(state.range(0)));
    sheet.table.MoveTo(int(state.range(0)) / 2);
    for (auto _ : state) {
        sheet.strip.selectDay(4);
        sheet.strip.CuntGridDblClick();
        QApplication::processEvents();
    }
}

void BM_RecountAll(benchmark::State& state)
{
    ShownSheet sheet(int(state.range(0)));
    for (auto _ : state) {
        sheet.table.RecountAllDays();
        QApplication::processEvents();
    }
}

void BM_SortByJobAndBack(benchmark::State& state)
{
    ShownSheet sheet(int(state.range(0)));
    for (auto _ : state) {
        sheet.table.SetIndexFieldNames(kByJobIndex);
        QApplication::processEvents();
        sheet.table.SetIndexFieldNames(kByNameIndex);
        QApplication::processEvents();
    }
}

void BM_ScrollAPage(benchmark::State& state)
{
    ShownSheet sheet(int(state.range(0)));
    int row = 0;
    for (auto _ : state) {
        row = (row + 30) % int(state.range(0));
        sheet.list.scrollTo(sheet.list.model()->index(row, 0));
        sheet.list.viewport()->repaint();
    }
}

// The month grid open beside the list and the strip, over March 2025.
struct GridSheet : ShownSheet {
    explicit GridSheet(int workers) : ShownSheet(workers)
    {
        grid.showMonth("2025", "03");
        grid.open(QRect(0, 0, 1037, 900));
        QApplication::processEvents();
    }
    void clickTitle(int dayIndex)
    {
        QHeaderView* titles = grid.Grid->horizontalHeader();
        const int section = MonthGridModel::kFirstDayColumn + dayIndex;
        QTest::mouseClick(titles->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(titles->sectionViewportPosition(section) + 4, titles->height() / 2));
    }
    // One key as the clerk presses it, and everything shown painted again.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(grid.Grid, key, modifiers);
        QApplication::processEvents();
    }
    MonthGrid grid{table, prompts, nullptr};
};

// Space on one whole day (its title clicked): the rows hold no mark that day, so the presses
// mark it for every worker and clear it again, in turn; each press is one step.
void BM_GridMarksADay(benchmark::State& state)
{
    GridSheet sheet(int(state.range(0)));
    sheet.clickTitle(1);
    sheet.press(Qt::Key_Space);
    if (sheet.table.RowAt(int(state.range(0)) - 1).nNal != 17)
        state.SkipWithError("Space did not mark the day");
    for (auto _ : state)
        sheet.press(Qt::Key_Space);
    state.counters["cells"] = double(state.range(0));
}

// Space on the whole month (Ctrl+A): every day of every worker marked, then cleared, in turn.
void BM_GridMarksAMonth(benchmark::State& state)
{
    GridSheet sheet(int(state.range(0)));
    sheet.press(Qt::Key_A, Qt::ControlModifier);
    sheet.press(Qt::Key_Space);
    if (sheet.table.RowAt(int(state.range(0)) - 1).nNal != 31)
        state.SkipWithError("Space did not mark the month");
    for (auto _ : state)
        sheet.press(Qt::Key_Space);
    state.counters["cells"] = double(state.range(0) * 31);
}

// Ctrl+Z and Ctrl+Y, in turn, of one whole day marked for every worker.
void BM_GridUndoRedoADay(benchmark::State& state)
{
    GridSheet sheet(int(state.range(0)));
    sheet.clickTitle(1);
    sheet.press(Qt::Key_Space);
    bool undo = true;
    for (auto _ : state) {
        sheet.press(undo ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
        undo = !undo;
    }
}

// A click on one day of one worker: the toggle a clerk makes most.
void BM_GridToggleADay(benchmark::State& state)
{
    GridSheet sheet(int(state.range(0)));
    const QRect cell = sheet.grid.Grid->cellRect(0, MonthGridModel::kFirstDayColumn + 3);
    for (auto _ : state) {
        QTest::mouseClick(sheet.grid.Grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        QApplication::processEvents();
    }
}

BENCHMARK(BM_OpenCommandInTheWindow)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToggleDay)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecountAll)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByJobAndBack)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollAPage)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridMarksADay)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridMarksAMonth)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridUndoRedoADay)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridToggleADay)->Arg(10000)->Unit(benchmark::kMillisecond);

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
