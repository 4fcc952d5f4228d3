#pragma once
// Printing through CUPS: the queues as Qt lists them, and each job drawn as a PDF of A4
// landscape pages in full-page coordinates and handed to the queue by libcups, whose
// answer tells whether the queue took it.

#include "report/print_target.h"

namespace lavodc::report {

class CupsPrintTarget : public PrintTarget {
public:
    QStringList PrinterNames() const override;
    QString DefaultPrinter() const override;
    QString CurrentPrinter() const override;
    void SetCurrentPrinter(const QString& name) override;
    int SendJob(TPtqLvodocf& form, const QString& printer, int firstPage, int lastPage,
                const PageProgress& progress) override;
};

} // namespace lavodc::report
