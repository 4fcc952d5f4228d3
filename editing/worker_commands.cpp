#include "editing/worker_commands.h"

#include "core/quorva_lib.h"
#include "core/sheet.h"
#include "core/worker_table.h"
#include "editing/batch_page.h"
#include "editing/entry_page.h"
#include "editing/input_dialog.h"
#include "services/prompts.h"

#include <QDate>
#include <QWidget>

namespace lavodc {

WorkerCommands::WorkerCommands(WorkerTable& table, Prompts& prompts, QWidget* owner,
                               std::function<std::string()> period, std::function<void()> markModified)
    : runDialog([](TInPutf& dialog) { return dialog.exec(); }),
      table_(table),
      prompts_(prompts),
      owner_(owner),
      period_(std::move(period)),
      markModified_(std::move(markModified))
{
}

QRect WorkerCommands::EntryDialogPlace(const QRect& owner)
{
    // x: left, y: top; C++ division truncates toward zero as the placement wants.
    const int top = owner.top() - 30 + (owner.height() - 250) / 2;
    const int left = owner.left() + (owner.width() - 425) / 2;
    return QRect(left, top, 425, 280);
}

QRect WorkerCommands::BatchDialogPlace(const QRect& owner)
{
    return QRect(owner.left() + 155, owner.top() + 100, 380, owner.height() - 104);
}

void WorkerCommands::openEntry(bool modify)
{
    TInPutf dialog(owner_);
    const QRect place = EntryDialogPlace(owner_ ? owner_->frameGeometry() : QRect());
    dialog.place(place.top(), place.left(), place.height(), place.width());
    dialog.showPage(TInPutf::Entry);
    dialog.setWindowTitle(modify ? QStringLiteral("명단수정") : QStringLiteral("명단등록"));
    const QString blanks = QString::fromStdString(RepeatChar(' ', 5));
    dialog.setStripText(blanks + (modify ? QStringLiteral("이직 일용근로자 명단 수정")
                                         : QStringLiteral("이직 일용근로자 명단 등록")));
    auto* page = new WorkerEntryPage(dialog, table_, prompts_, period_(), markModified_);
    if (modify)
        page->prepareModify();
    else
        page->prepareAdd();
    page->focusFirst();
    runDialog(dialog);
}

void WorkerCommands::BtnAppClick()
{
    openEntry(false);
}

void WorkerCommands::BtnEdtClick()
{
    if (!table_.Active() || table_.IsEmpty())
        return;
    openEntry(true);
}

void WorkerCommands::BtnDelClick()
{
    if (!table_.Active() || table_.IsEmpty())
        return;
    if (!prompts_.ConfirmBox(QStringLiteral(" 정말 삭제하시겠습니까 ??")))
        return;
    table_.Delete();
    markModified_();
}

void WorkerCommands::InDex1Click(bool byName)
{
    table_.SetIndexFieldNames(byName ? kByNameIndex : kByJobIndex);
}

void WorkerCommands::RecountAll()
{
    table_.RecountAllDays();
    markModified_();
}

void WorkerCommands::BtnGonSuAllClick(const std::string& year, const std::string& month)
{
    if (!table_.Active() || table_.IsEmpty())
        return;
    TInPutf dialog(owner_);
    const QRect place = BatchDialogPlace(owner_ ? owner_->frameGeometry() : QRect());
    dialog.place(place.top(), place.left(), place.height(), place.width());
    dialog.showPage(TInPutf::Batch);
    dialog.setWindowTitle(QStringLiteral("일괄처리"));
    dialog.setStripText(QString::fromStdString(RepeatChar(' ', 5)) + QStringLiteral("일용직근로자출역일괄처리"));
    auto* page = new BatchPage(dialog, table_, prompts_, markModified_);
    page->prepare(year, month, QDate::fromString(QString::fromStdString(TodayText()), QStringLiteral("yyyy.MM.dd")));
    runDialog(dialog);
}

} // namespace lavodc
