#include "app/month_commands.h"

#include "core/cp949.h"
#include "core/next_month.h"
#include "core/worker_import.h"
#include "services/settings.h"
#include "services/worker_list_file.h"

#include <QFile>

#include <exception>

namespace lavodc {

namespace {

QString Shown(const std::string& cp949) { return QString::fromStdString(fromCp949(cp949)); }

} // namespace

MonthCommands::MonthCommands(Sheet& sheet, DocumentController& controller, Prompts& prompts)
    : sheet_(sheet), controller_(controller), prompts_(prompts)
{
}

QString MonthCommands::nextMonthCaption() { return QStringLiteral("다음 달"); }
QString MonthCommands::nextMonthHint() { return QStringLiteral("다음달|현재 명단으로 다음 달 신고서를 새로 만듭니다."); }
QString MonthCommands::importCaption() { return QStringLiteral("명단 가져오기"); }
QString MonthCommands::importHint()
{
    return QStringLiteral("명단 가져오기|엑셀(.xlsx)이나 CSV 파일의 근로자 명단을 시트에 추가하고, 이미 있는 근로자의 "
                          "임금총액과 근태를 바꿉니다.");
}

QString MonthCommands::NextMonthClick()
{
    if (controller_.SheetModified() && controller_.AskSaveChanges() == SaveAnswer::Cancel)
        return {};
    try {
        controller_.TakeHeaderFromView();
        const NextMonthResult result = AdvanceToNextMonth(sheet_);
        controller_.ShowAsNewUntitledSheet();
        controller_.SetSheetModified(true);
        if (!result.periodAdvanced)
            prompts_.InfoBox(Shown(InvalidPeriodText()));
        return Shown(NextMonthStatusText(sheet_.header, result));
    } catch (const std::exception& error) {
        controller_.ShowError(error);
        return {};
    }
}

QString MonthCommands::ImportWorkersClick()
{
    const std::optional<QString> chosen = prompts_.OpenFileName(importDialogRequest());
    if (!chosen)
        return {};
    try {
        // The imported rows carry the period the year and month boxes show now.
        controller_.TakeHeaderFromView();
        ImportPlan plan =
            PlanWorkerListImport(QFile::encodeName(*chosen).toStdString(), sheet_.table, sheet_.period);
        if (!plan.ChangesSheet()) {
            prompts_.InfoBox(Shown(ImportSummaryText(plan)));
            return {};
        }
        if (!prompts_.ConfirmBox(Shown(ImportQuestionText(plan))))
            return {};
        ApplyImport(sheet_.table, plan);
        controller_.SetSheetModified(true);
        return Shown(ImportDoneText(plan));
    } catch (const std::exception& error) {
        controller_.ShowError(error);
        return {};
    }
}

FileDialogRequest MonthCommands::importDialogRequest()
{
    FileDialogRequest request;
    request.title = QStringLiteral("가져올 명단 파일을 고르세요.");
    request.filter = QStringLiteral("근로자 명단 (*.xlsx *.csv);;엑셀 통합 문서 (*.xlsx);;CSV 파일 (*.csv)");
    request.initialFolder = GetWorkFolder(QString::fromLatin1(kIniFileName));
    return request;
}

} // namespace lavodc
