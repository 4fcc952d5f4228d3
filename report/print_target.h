#pragma once
// The printers of the platform and the jobs the program sends them, behind one small
// interface: the window and lavodc-cli use the CUPS one, widget tests a fake.

#include "report/ptq_lvodoc.h"

#include <QString>
#include <QStringList>

#include <stdexcept>

namespace lavodc::report {

// A job that could not be sent or that the queue refused; the text is the system's reason.
class PrintJobError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class PrintTarget {
public:
    virtual ~PrintTarget() = default;

    virtual QStringList PrinterNames() const = 0;
    // The system's default queue; empty when there is none.
    virtual QString DefaultPrinter() const = 0;
    // The program's current printer: the one chosen last in this run, else the default.
    virtual QString CurrentPrinter() const = 0;
    virtual void SetCurrentPrinter(const QString& name) = 0;

    // Sends pages firstPage..lastPage (0 and 0: all) of `form` to the queue `printer` as one
    // job; the table's cursor stands on its first row. Returns the pages sent. Raises
    // ReportCancelled when `progress` stops it (nothing is sent then) and PrintJobError.
    virtual int SendJob(TPtqLvodocf& form, const QString& printer, int firstPage, int lastPage,
                        const PageProgress& progress) = 0;
};

} // namespace lavodc::report
