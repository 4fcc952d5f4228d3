#pragma once
// The form's pages as a PDF with real, searchable text: the file the user saves, the
// command-line tool writes and the print job sends to a queue.

#include "report/ptq_lvodoc.h"

#include <QString>

class QIODevice;

namespace lavodc::report {

// Draws pages firstPage..lastPage (0 and 0: all) of `form` into `device`, opened for
// writing. The table's cursor must stand on its first row. Returns the pages drawn.
int WriteReportPdf(TPtqLvodocf& form, QIODevice& device, int firstPage, int lastPage,
                   const PageProgress& progress = {});

// The same into the file `path`, saved the program's one way (core/safe_save.h): written
// beside it and renamed over it only when complete, so a failure leaves no partial file and
// keeps an earlier one; only a regular file is replaced. Raises ReportOutputError with the
// reason.
int SaveReportPdf(TPtqLvodocf& form, const QString& path, int firstPage, int lastPage,
                  const PageProgress& progress = {});

} // namespace lavodc::report
