#pragma once
// A printer seam that records the jobs it is given instead of printing them: the printer,
// the range, the margins and captions the form held, the pages and their first workers.

#include "report/print_target.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lavodc::testing {

class FakePrintTarget : public report::PrintTarget {
public:
    struct Job {
        QString printer;
        int firstPage = 0;
        int lastPage = 0;
        report::ReportMargins margins;
        std::string title;
        std::string reportDate;
        std::vector<int> pages;
        std::vector<std::string> firstWorkers;   // pName of each page's first row
        bool tableFrozen = false;
    };

    QStringList names{QStringLiteral("Office"), QStringLiteral("Lobby")};
    QString defaultName = QStringLiteral("Office");
    QString current;
    std::optional<std::string> refuseWith;
    std::function<void(int page)> onPage;   // called after each page is sent
    WorkerTable* table = nullptr;           // to see whether its views are frozen
    std::vector<Job> jobs;

    QStringList PrinterNames() const override { return names; }
    QString DefaultPrinter() const override { return names.isEmpty() ? QString() : defaultName; }
    QString CurrentPrinter() const override { return names.contains(current) ? current : DefaultPrinter(); }
    void SetCurrentPrinter(const QString& name) override { current = names.contains(name) ? name : QString(); }

    int SendJob(report::TPtqLvodocf& form, const QString& printer, int firstPage, int lastPage,
                const report::PageProgress& progress) override
    {
        if (refuseWith)
            throw report::PrintJobError(*refuseWith);
        Job job;
        job.printer = printer;
        job.firstPage = firstPage;
        job.lastPage = lastPage;
        job.margins = form.Margins();
        job.title = form.LabelText("HRTitl");
        job.reportDate = form.LabelText("prtday");
        job.tableFrozen = table != nullptr && table->Frozen();
        const int total = form.PagesInRange(firstPage, lastPage);
        int sent = 0;
        form.Run(
            [&](const report::PageContent& page) {
                job.pages.push_back(page.pageNumber);
                job.firstWorkers.push_back(page.rows.front()[report::kLabelPName]);
                if (onPage)
                    onPage(page.pageNumber);
                if (progress && !progress(++sent, total))
                    throw report::ReportCancelled();
            },
            firstPage, lastPage);
        jobs.push_back(job);
        return sent;
    }
};

} // namespace lavodc::testing
