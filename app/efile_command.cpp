#include "app/efile_command.h"

#include "app/efile_dialog.h"
#include "services/efile_code_store.h"
#include "services/efile_workbook.h"
#include "services/settings.h"

#include <QFile>
#include <QFileInfo>

#include <exception>

namespace lavodc {

namespace {

QString iniName() { return QString::fromLatin1(kIniFileName); }

// The codes of `entered` that differ from `kept` (a job without a code counts as "").
JobCodes changedJobCodes(const JobCodes& entered, const JobCodes& kept)
{
    JobCodes changed;
    for (const auto& [key, code] : entered) {
        const auto before = kept.find(key);
        if (code != (before == kept.end() ? std::string() : before->second))
            changed[key] = code;
    }
    return changed;
}

// Only whole pairs are kept (or a pair cleared): half a pair is still missing.
PeopleCodes changedPeopleCodes(const PeopleCodes& entered, const PeopleCodes& kept)
{
    PeopleCodes changed;
    for (const auto& [number, codes] : entered) {
        if (codes.nationality.empty() != codes.stayStatus.empty())
            continue;
        const auto before = kept.find(number);
        const PersonCodes old = before == kept.end() ? PersonCodes{} : before->second;
        if (codes.nationality != old.nationality || codes.stayStatus != old.stayStatus)
            changed[number] = codes;
    }
    return changed;
}

} // namespace

EfileCommand::EfileCommand(const WorkerTable& table, DocumentController& controller, Prompts& prompts)
    : table_(table), controller_(controller), prompts_(prompts)
{
}

QString EfileCommand::caption() { return QStringLiteral("전자신고 파일"); }

QString EfileCommand::hint()
{
    return QStringLiteral("전자신고 파일|이 달의 근로내용확인신고를 전자신고용 엑셀 파일로 저장합니다.");
}

QString EfileCommand::EfileBtnClick(QWidget* owner, const DialogShow& show)
{
    if (table_.IsEmpty()) {
        prompts_.InfoBox(QStringLiteral("근로자가 없어 전자신고 파일을 만들 수 없습니다."));
        return {};
    }
    const SheetHeader header = controller_.HeaderInView();
    EfileDialogInput input;
    input.workers.reserve(static_cast<std::size_t>(table_.RecordCount()));
    for (int row = 0; row < table_.RecordCount(); ++row)
        input.workers.push_back(table_.RowAt(row));
    input.year = header.gsyear;
    input.month = header.gmonth;
    input.jobs = ReadJobTable(iniName());
    PeopleCodeFile people = ReadPeopleFile();
    input.people = std::move(people.codes);
    input.peopleFileProblems = std::move(people.problems);

    EfileDialog dialog(std::move(input), owner);
    QString status;
    QObject::connect(&dialog, &EfileDialog::saveRequested, &dialog, [this, &dialog, &header, &status] {
        try {
            if (save(dialog, header, status))
                dialog.accept();
        } catch (const std::exception& error) {
            controller_.ShowError(error);
        }
    });
    if (show)
        show(dialog);
    else
        dialog.exec();
    return status;
}

FileDialogRequest EfileCommand::saveDialogRequest(const SheetHeader& header) const
{
    FileDialogRequest request;
    request.title = QStringLiteral("전자신고 파일의 이름을 정하세요.");
    request.filter = QStringLiteral("엑셀 통합 문서 (*.xlsx)");
    request.defaultSuffix = QStringLiteral("xlsx");
    const QString month = QString::fromStdString(PaymentMonthOf(header.gsyear, header.gmonth));
    request.proposedName = QFileInfo(controller_.SheetFileName()).completeBaseName() + QStringLiteral("_전자신고") +
                           (month.isEmpty() ? QString() : QLatin1Char('_') + month) + QStringLiteral(".xlsx");
    request.initialFolder = GetWorkFolder(iniName());
    return request;
}

bool EfileCommand::save(EfileDialog& dialog, const SheetHeader& header, QString& status)
{
    const QStringList invalid = dialog.invalidEntries();
    if (!invalid.isEmpty()) {
        prompts_.InfoBox(QStringLiteral("다음 칸을 고친 뒤에 저장하세요.\n") + invalid.join(QLatin1Char('\n')));
        return false;
    }
    // The codes are kept first: they serve the next month even if no file is written now.
    const JobCodes jobs = changedJobCodes(dialog.enteredJobCodes(), dialog.input().jobs);
    if (!jobs.empty())
        WriteJobTable(iniName(), jobs);
    const PeopleCodes people = changedPeopleCodes(dialog.enteredPeopleCodes(), dialog.input().people);
    if (!people.empty())
        SavePeopleCodes(people);

    const EfileSheet sheet = dialog.sheet();
    if (!sheet.summary.empty() &&
        !prompts_.ConfirmBox(QStringLiteral("확인할 것이 %1건 있습니다. 그래도 전자신고 파일을 저장할까요?")
                                 .arg(sheet.summary.size())))
        return false;
    const std::optional<QString> chosen = prompts_.SaveFileName(saveDialogRequest(header));
    if (!chosen)
        return false;
    SaveEfileWorkbook(sheet, QFile::encodeName(*chosen).toStdString());
    status = QStringLiteral("전자신고 파일 저장: %1 (근로자 %2명%3)")
                 .arg(QFileInfo(*chosen).fileName())
                 .arg(sheet.rows.size())
                 .arg(dialog.options().reportToTaxOffice ? QStringLiteral(", 국세청 함께 신고") : QString());
    return true;
}

} // namespace lavodc
