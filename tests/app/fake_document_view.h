#pragma once
// A DocumentView without widgets: it holds the header boxes' values and records every call.

#include "app/document_view.h"

#include <QString>
#include <vector>

namespace lavodc::testing {

class FakeDocumentView : public DocumentView {
public:
    SheetHeader boxes;          // what the header boxes hold
    QString fileLabel;
    std::vector<QString> calls; // "showWait: <message>[ [취소]]", "hideWait", "focusSiteName", ...
    std::vector<int> gauge;
    bool waitShown = false;

    void pullHeader(SheetHeader& header) override { header = boxes; }
    void pushHeader(const SheetHeader& header) override
    {
        boxes = header;
        calls.push_back(QStringLiteral("pushHeader"));
    }
    void setFileLabel(const QString& text) override
    {
        fileLabel = text;
        calls.push_back(QStringLiteral("label: ") + text);
    }
    void showByNameOrder() override { calls.push_back(QStringLiteral("showByNameOrder")); }
    void focusSiteName() override { calls.push_back(QStringLiteral("focusSiteName")); }
    void focusWorkerList() override { calls.push_back(QStringLiteral("focusWorkerList")); }

    void showWait(const QString& message, bool cancellable) override
    {
        waitShown = true;
        calls.push_back(QStringLiteral("showWait: ") + message + (cancellable ? QStringLiteral(" [취소]") : QString()));
    }
    void setWaitGauge(int position) override { gauge.push_back(position); }
    // 취소 is pressed once the gauge has moved this many times (never when negative).
    int cancelAfterGauges = -1;
    bool waitCancelRequested() override
    {
        return cancelAfterGauges >= 0 && gauge.size() >= std::size_t(cancelAfterGauges);
    }
    void hideWait() override
    {
        waitShown = false;
        calls.push_back(QStringLiteral("hideWait"));
    }

    bool called(const QString& call) const
    {
        for (const QString& c : calls)
            if (c == call)
                return true;
        return false;
    }
};

} // namespace lavodc::testing
