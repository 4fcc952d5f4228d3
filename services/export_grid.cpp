#include "services/export_grid.h"

#include "core/cp949.h"
#include "services/clipboard_text.h"
#include "services/grid_snapshot.h"
#include "services/settings.h"
#include "services/workbook_file.h"
#include "services/workbook_name.h"
#include "services/workbook_writer.h"

#include <QDir>
#include <QFile>

#include <exception>

namespace lavodc {

namespace {

QString messageCaption() { return QStringLiteral("근로내역확인서"); }

std::string nativeName(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The reasons name native paths, which are UTF-8 here.
ExportResult notWritten(Prompts& prompts, const std::exception& error)
{
    prompts.MessageBox(messageCaption(), ExportWriteFailedText() + QLatin1Char('\n') + QString::fromUtf8(error.what()));
    ExportResult result;
    result.outcome = ExportOutcome::NotWritten;
    return result;
}

} // namespace

QString ExportWriteFailedText() { return QStringLiteral("Excel로 자료를 보내는 중 오류가 발생했습니다."); }
QString ExportOpenFailedText() { return QStringLiteral("Excel OLE object를 오픈할 수 없습니다."); }
QString ExportSavedAtText() { return QStringLiteral("통합 문서는 다음 위치에 저장했습니다:"); }

ExportTarget WorkFolderTarget(const QString& sheetFileName, const SheetHeader& header)
{
    return {GetWorkFolder(QString::fromLatin1(kIniFileName)), sheetFileName, header};
}

ExportResult ExportGrid(WorkerTable& table, const std::vector<GridColumn>& columns, const ExportTarget& target,
                        Prompts& prompts, ExportOpener& opener, ExportClipboard& clipboard)
{
    ExportResult result;
    if (table.IsEmpty())
        return result;

    const GridSnapshot grid = TakeGridSnapshot(table, columns);
    clipboard.SetText(QString::fromStdString(fromCp949(ClipboardText(grid))));

    std::string written;
    try {
        written = WriteUnderFreeName(nativeName(target.folder), nativeName(WorkbookBaseName(target.header, target.sheetFileName)),
                                     ".xlsx", [&grid](const std::string& path) { WriteWorkbook(grid, path); });
    } catch (const WorkbookError& error) {
        return notWritten(prompts, error);
    } catch (const FileWriteError& error) {
        return notWritten(prompts, error);
    }

    result.workbookPath = QFile::decodeName(QByteArray::fromStdString(written));
    result.statusText = QDir::toNativeSeparators(result.workbookPath);
    QString reason;
    if (!opener.OpenWorkbook(result.workbookPath, reason)) {
        // The status bar alone is missed easily: the message says where the workbook lies.
        prompts.MessageBox(messageCaption(), ExportOpenFailedText() + QLatin1Char('\n') + reason + QStringLiteral("\n\n") +
                                                 ExportSavedAtText() + QLatin1Char('\n') +
                                                 QDir::toNativeSeparators(result.workbookPath));
        result.outcome = ExportOutcome::NotOpened;
        return result;
    }
    prompts.Beep();
    result.outcome = ExportOutcome::Opened;
    return result;
}

} // namespace lavodc
