#include "report/report_pdf.h"

#include "core/cp949.h"
#include "core/safe_save.h"

#include <QPdfWriter>
#include <QFile>

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
    auto failed = [&path](const std::string& reason) {
        return ReportOutputError("cannot write " + path.toStdString() + ": " + reason);
    };
    try {
        SafeSave save(QFile::encodeName(path).toStdString());
        QFile file;
        if (!file.open(save.fd(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
            throw failed(file.errorString().toStdString());
        const int drawn = WriteReportPdf(form, file, firstPage, lastPage, progress);
        if (!file.flush())
            throw failed(file.errorString().toStdString());
        file.close();
        save.commit();
        return drawn;
    } catch (const FileError& error) {
        throw failed(fromCp949(error.what()));
    }
}

} // namespace lavodc::report
