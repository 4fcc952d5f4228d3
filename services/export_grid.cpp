#include "services/export_grid.h"

#include "core/cp949.h"
#include "services/clipboard_text.h"
#include "services/grid_snapshot.h"
#include "services/settings.h"
#include "services/workbook_file.h"
#include "services/workbook_writer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <exception>

namespace lavodc {

namespace {

QString messageCaption() { return QStringLiteral("근로내역확인서"); }

// The sheet's name without its extension; the untitled name when nothing is left of it.
QString workbookBaseName(const QString& sheetFileName)
{
    QString base = QFileInfo(sheetFileName).completeBaseName();
    if (base.isEmpty())
        base = QStringLiteral("이름없음");
    return base;
}

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

ExportTarget WorkFolderTarget(const QString& sheetFileName)
{
    return {GetWorkFolder(QString::fromLatin1(kIniFileName)), sheetFileName};
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
        written = WriteUnderFreeName(nativeName(target.folder), nativeName(workbookBaseName(target.sheetFileName)),
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
        prompts.MessageBox(messageCaption(), ExportOpenFailedText() + QLatin1Char('\n') + reason + QLatin1Char('\n') +
                                                 QDir::toNativeSeparators(result.workbookPath));
        result.outcome = ExportOutcome::NotOpened;
        return result;
    }
    prompts.Beep();
    result.outcome = ExportOutcome::Opened;
    return result;
}

} // namespace lavodc
