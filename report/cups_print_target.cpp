#include "report/cups_print_target.h"

#include "core/cp949.h"
#include "report/report_pdf.h"

#include <QDir>
#include <QPrinterInfo>
#include <QTemporaryFile>

#include <cups/cups.h>

namespace lavodc::report {
namespace {

// The printer chosen last in this run of the program, shared by every target.
QString& chosenPrinter()
{
    static QString name;
    return name;
}

} // namespace

QStringList CupsPrintTarget::PrinterNames() const
{
    return QPrinterInfo::availablePrinterNames();
}

QString CupsPrintTarget::DefaultPrinter() const
{
    return QPrinterInfo::defaultPrinterName();
}

QString CupsPrintTarget::CurrentPrinter() const
{
    const QString& chosen = chosenPrinter();
    if (!chosen.isEmpty() && PrinterNames().contains(chosen))
        return chosen;
    return DefaultPrinter();
}

void CupsPrintTarget::SetCurrentPrinter(const QString& name)
{
    chosenPrinter() = PrinterNames().contains(name) ? name : QString();
}

int CupsPrintTarget::SendJob(TPtqLvodocf& form, const QString& printer, int firstPage, int lastPage,
                             const PageProgress& progress)
{
    // The whole job is drawn before anything reaches the queue, so a cancelled job sends nothing.
    // The PDF's pages are A4 landscape with the margins drawn by us; the queue turns them onto
    // its paper itself, so no orientation option is sent that a driver could apply twice.
    QTemporaryFile spool(QDir::tempPath() + QStringLiteral("/lavodc-job-XXXXXX.pdf"));
    if (!spool.open())
        throw PrintJobError(spool.errorString().toStdString());
    const int drawn = WriteReportPdf(form, spool, firstPage, lastPage, progress);
    if (!spool.flush())
        throw PrintJobError(spool.errorString().toStdString());
    spool.close();

    const QByteArray queue = printer.toLocal8Bit();
    const QByteArray file = QFile::encodeName(spool.fileName());
    const std::string title = fromCp949(form.LabelText("HRTitl"));
    cups_option_t* options = nullptr;
    const int count = cupsAddOption("media", "iso_a4_210x297mm", 0, &options);
    const int job = cupsPrintFile(queue.constData(), file.constData(), title.empty() ? "lavodc" : title.c_str(),
                                  count, options);
    cupsFreeOptions(count, options);
    if (job == 0)
        throw PrintJobError(cupsLastErrorString());
    return drawn;
}

} // namespace lavodc::report
