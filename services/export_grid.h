#pragma once
// Alt+E: what a grid of the main window shows goes to a new workbook in the work folder,
// which is then opened with the desktop's application for workbooks, and the same table
// goes to the clipboard as tab-separated text.

#include "core/grid_columns.h"
#include "core/sheet.h"
#include "core/worker_table.h"
#include "services/prompts.h"

#include <QString>
#include <vector>

namespace lavodc {

// Where the workbook goes: `folder` (the work folder) under the name WorkbookBaseName gives
// (the site and the month, else the sheet's file name) with ".xlsx", or the next free
// "name (2).xlsx" when that is taken.
struct ExportTarget {
    QString folder;
    QString sheetFileName;   // "이름없음.Lvo" while untitled, the sheet file's path otherwise
    SheetHeader header;      // as the boxes hold it
};

// The work folder from the settings file with the sheet's file name and header.
ExportTarget WorkFolderTarget(const QString& sheetFileName, const SheetHeader& header);

// Opens a written workbook with the application the desktop has for it.
class ExportOpener {
public:
    virtual ~ExportOpener() = default;
    // False, with the reason, when no application took the file.
    virtual bool OpenWorkbook(const QString& path, QString& reason) = 0;
};

class ExportClipboard {
public:
    virtual ~ExportClipboard() = default;
    virtual void SetText(const QString& text) = 0;
};

enum class ExportOutcome {
    NothingToExport,   // the table is empty: nothing was done or shown
    Opened,
    NotOpened,         // written, but no application opened it; a message said where it is
    NotWritten,        // the user was told why; no file was left behind
};

struct ExportResult {
    ExportOutcome outcome = ExportOutcome::NothingToExport;
    QString workbookPath;   // the file written, when there is one
    QString statusText;     // for the status bar's first panel: where the workbook was saved
};

// The messages, as the user sees them before the system's reason.
QString ExportWriteFailedText();   // "Excel로 자료를 보내는 중 오류가 발생했습니다."
QString ExportOpenFailedText();    // "Excel OLE object를 오픈할 수 없습니다."
QString ExportSavedAtText();       // before the path of a workbook that was not opened

// The whole command. The clipboard gets the text before the workbook is written, so that it
// holds the table whatever happens next. The table's current row is the same afterwards.
// Ends with a short beep when the workbook was opened.
ExportResult ExportGrid(WorkerTable& table, const std::vector<GridColumn>& columns, const ExportTarget& target,
                        Prompts& prompts, ExportOpener& opener, ExportClipboard& clipboard);

} // namespace lavodc
