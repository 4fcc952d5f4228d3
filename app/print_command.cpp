#include "app/print_command.h"

#include "app/print_preview.h"
#include "core/quorva_lib.h"
#include "editing/input_dialog.h"
#include "report/report_captions.h"
#include "report/report_pdf.h"
#include "services/settings.h"

#include <QApplication>
#include <QProgressDialog>
#include <QVBoxLayout>

#include <stdexcept>

namespace lavodc {
namespace {

constexpr int kDialogWidth = 260;
constexpr int kDialogHeight = 222;

QString noPrinterText()
{
    return QStringLiteral("사용할 수 있는 프린터가 없습니다. 미리보기와 PDF 저장은 쓸 수 있습니다.");
}

// Restores the normal cursor however the counting run ends.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// The window shown while pages go out, with its cancel button; the returned progress
// keeps it up to date and says false once the user has cancelled.
report::PageProgress watchProgress(QProgressDialog& window)
{
    return [&window](int drawn, int total) {
        window.setMaximum(total);
        window.setValue(drawn);
        QApplication::processEvents();
        return !window.wasCanceled();
    };
}

std::unique_ptr<QProgressDialog> progressWindow(QWidget* parent, const QString& label, int pages)
{
    auto window = std::make_unique<QProgressDialog>(label, QStringLiteral("취소"), 0, pages, parent);
    window->setObjectName(QStringLiteral("PrintProgress"));
    window->setWindowTitle(QStringLiteral("인쇄"));
    window->setWindowModality(Qt::ApplicationModal);
    window->setMinimumDuration(0);
    window->setAutoClose(false);
    window->setAutoReset(false);
    window->setValue(0);
    return window;
}

} // namespace

PrintCommand::PrintCommand(WorkerTable& table, HeaderSource header, Prompts& prompts, report::PrintTarget& target)
    : table_(table),
      header_(std::move(header)),
      prompts_(prompts),
      target_(target),
      runDialog_([](QDialog& dialog) { dialog.exec(); })
{
}

PrintCommand::~PrintCommand() = default;

void PrintCommand::walkFromFirst(const std::function<void()>& work)
{
    FreezeScope frozen(table_);
    const WorkerTable::Bookmark mark = table_.GetBookmark();
    table_.First();
    try {
        work();
    } catch (...) {
        table_.GotoBookmark(mark);
        throw;
    }
    table_.GotoBookmark(mark);
}

bool PrintCommand::Prepare()
{
    if (table_.IsEmpty())
        return false;
    WaitCursor hourglass;
    form_ = std::make_unique<report::TPtqLvodocf>(table_);
    walkFromFirst([this] { form_->Prepare(); });
    return true;
}

int PrintCommand::PageCount() const
{
    return form_ ? form_->PageCount() : 0;
}

QRect PrintCommand::DialogPlace(const QRect& mainWindow)
{
    // As a window with a system caption would have it; integer division truncates toward
    // zero, as the halvings must.
    return {mainWindow.left() + (mainWindow.width() - 280) / 2, mainWindow.top() + (mainWindow.height() - 275) / 2,
            kDialogWidth, kDialogHeight};
}

std::unique_ptr<QDialog> PrintCommand::CreateDialog(const QRect& mainWindow, QWidget* parent)
{
    auto dialog = std::make_unique<TInPutf>(parent);
    dialog->setWindowTitle(QStringLiteral("인쇄"));
    const QRect place = DialogPlace(mainWindow);
    dialog->place(place.top(), place.left(), place.height(), place.width());
    dialog->showPage(TInPutf::Print);
    dialog->setStripText(QString::fromLatin1(RepeatChar(' ', 8)) + QStringLiteral("출력물의 여백을 확인하세요"));

    page_ = new PrintPage(prompts_, dialog->shet02);
    auto* fill = new QVBoxLayout(dialog->shet02);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(page_);

    TInPutf* frame = dialog.get();
    QObject::connect(page_, &PrintPage::closeRequested, frame, &TInPutf::mExit0Click);
    QObject::connect(page_, &PrintPage::printRequested, frame, [this, frame](const PrintChoice& c) { Print(c, frame); });
    QObject::connect(page_, &PrintPage::previewRequested, frame,
                     [this, frame](const PrintChoice& c) { Preview(c, frame); });
    QObject::connect(page_, &PrintPage::pdfRequested, frame, [this, frame](const PrintChoice& c) { SavePdf(c, frame); });

    page_->Open(target_.PrinterNames(), target_.CurrentPrinter(), PageCount(), report::TodayReportDate());
    return dialog;
}

void PrintCommand::PrtBtnClick(QWidget* mainWindow)
{
    try {
        if (!Prepare())
            return;
        const QRect place = mainWindow ? mainWindow->frameGeometry() : QRect(0, 0, 800, 600);
        std::unique_ptr<QDialog> dialog = CreateDialog(place, mainWindow);
        runDialog_(*dialog);
        dialog.reset();
        page_ = nullptr;
        form_.reset();
    } catch (const std::exception& error) {
        page_ = nullptr;
        form_.reset();
        prompts_.ErrorBox(QString::fromStdString(error.what()));
    }
}

void PrintCommand::configure(const PrintChoice& choice)
{
    if (!form_)
        form_ = std::make_unique<report::TPtqLvodocf>(table_);
    form_->SetMargins(report::MarginsFromShifts(choice.topShift, choice.leftShift));
    form_->SetCaptions(report::ReportCaptions(header_(), choice.reportDate));
}

bool PrintCommand::Print(const PrintChoice& choice, QWidget* parent)
{
    if (target_.PrinterNames().isEmpty()) {
        prompts_.InfoBox(noPrinterText());
        return false;
    }
    if (choice.printerIndex >= 0)
        target_.SetCurrentPrinter(choice.printer);
    const QString printer = target_.CurrentPrinter();
    if (printer.isEmpty()) {
        prompts_.InfoBox(noPrinterText());
        return false;
    }
    try {
        bool sent = false;
        walkFromFirst([&] {
            configure(choice);
            const auto window = progressWindow(parent, QStringLiteral("%1(으)로 보내는 중입니다...").arg(printer),
                                               form_->PagesInRange(choice.firstPage, choice.lastPage));
            const int pages = target_.SendJob(*form_, printer, choice.firstPage, choice.lastPage, watchProgress(*window));
            sent = true;
            if (status_) {
                const int first = choice.firstPage > 0 ? choice.firstPage : 1;
                const int last = choice.lastPage > 0 ? choice.lastPage : first + pages - 1;
                status_(SentStatusText(printer, pages, first, last));
            }
        });
        return sent;
    } catch (const report::ReportCancelled&) {
        return false;
    } catch (const report::PrintJobError& error) {
        prompts_.ErrorBox(QStringLiteral("%1(으)로 인쇄하지 못했습니다: %2").arg(printer, QString::fromStdString(error.what())));
    } catch (const std::exception& error) {
        prompts_.ErrorBox(QString::fromStdString(error.what()));
    }
    return false;
}

QString PrintCommand::SentStatusText(const QString& printer, int pagesSent, int firstPage, int lastPage)
{
    const QString range = firstPage == lastPage ? QStringLiteral("%1쪽").arg(firstPage)
                                                : QStringLiteral("%1~%2쪽").arg(firstPage).arg(lastPage);
    return QStringLiteral("%1 프린터로 %2쪽을 보냈습니다 (%3).").arg(printer, QString::number(pagesSent), range);
}

QImage PrintCommand::RenderPage(const PrintChoice& choice, int pageNumber, double dpi)
{
    QImage image;
    walkFromFirst([&] {
        configure(choice);
        image = form_->RenderPage(pageNumber, dpi);
    });
    return image;
}

bool PrintCommand::Preview(const PrintChoice& choice, QWidget* parent)
{
    try {
        const int first = choice.firstPage > 0 ? choice.firstPage : 1;
        const int last = choice.lastPage > 0 ? choice.lastPage : PageCount();
        PrintPreview preview(
            first, last, [this, choice](int page, double dpi) { return RenderPage(choice, page, dpi); },
            [this, choice, parent] { Print(choice, parent); }, parent);
        runDialog_(preview);
        return true;
    } catch (const std::exception& error) {
        prompts_.ErrorBox(QString::fromStdString(error.what()));
        return false;
    }
}

bool PrintCommand::SavePdf(const PrintChoice& choice, QWidget* parent)
{
    FileDialogRequest request;
    request.title = QStringLiteral("PDF 파일로 저장");
    request.filter = QStringLiteral("PDF 문서 (*.pdf)");
    request.defaultSuffix = QStringLiteral("pdf");
    request.proposedName = QStringLiteral("근로내역확인신고서.pdf");
    request.initialFolder = GetWorkFolder(QString::fromLatin1(kIniFileName));
    const std::optional<QString> path = prompts_.SaveFileName(request);
    if (!path)
        return false;
    try {
        walkFromFirst([&] {
            configure(choice);
            const auto window = progressWindow(parent, QStringLiteral("PDF 파일을 쓰는 중입니다..."),
                                               form_->PagesInRange(choice.firstPage, choice.lastPage));
            report::SaveReportPdf(*form_, *path, choice.firstPage, choice.lastPage, watchProgress(*window));
        });
        return true;
    } catch (const report::ReportCancelled&) {
        return false;
    } catch (const std::exception& error) {
        prompts_.ErrorBox(QStringLiteral("PDF 파일을 저장하지 못했습니다: %1").arg(QString::fromStdString(error.what())));
        return false;
    }
}

} // namespace lavodc
