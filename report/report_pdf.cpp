#include "report/report_pdf.h"

#include "core/cp949.h"

#include <QPdfWriter>
#include <QSaveFile>

namespace lavodc::report {
namespace {

constexpr int kPdfResolution = 1200;

} // namespace

int WriteReportPdf(TPtqLvodocf& form, QIODevice& device, int firstPage, int lastPage, const PageProgress& progress)
{
    QPdfWriter writer(&device);
    writer.setResolution(kPdfResolution);
    writer.setCreator(QStringLiteral("lavodc"));
    writer.setTitle(QString::fromStdString(fromCp949(form.LabelText("HRTitl"))));
    return form.Print(writer, firstPage, lastPage, progress);
}

int SaveReportPdf(TPtqLvodocf& form, const QString& path, int firstPage, int lastPage, const PageProgress& progress)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw ReportOutputError("cannot write " + path.toStdString() + ": " + file.errorString().toStdString());
    const int drawn = WriteReportPdf(form, file, firstPage, lastPage, progress);
    if (!file.commit())
        throw ReportOutputError("cannot write " + path.toStdString() + ": " + file.errorString().toStdString());
    return drawn;
}

} // namespace lavodc::report
