#pragma once
// What the document commands need from the main window, so that they can be tested
// without one. The main window implements it; tests implement it with a recording fake.

#include "core/sheet.h"

#include <QString>

namespace lavodc {

class DocumentView {
public:
    virtual ~DocumentView() = default;

    // Copy the header boxes' texts (as the boxes give them) into `header`.
    virtual void pullHeader(SheetHeader& header) = 0;
    // Show `header` in the header boxes.
    virtual void pushHeader(const SheetHeader& header) = 0;
    // The file-name label of band 2 ("파일명: " and a name); the view adjusts its underline.
    virtual void setFileLabel(const QString& text) = 0;
    // Check the by-name radio button (the table's order is set by the controller).
    virtual void showByNameOrder() = 0;
    virtual void focusSiteName() = 0;
    virtual void focusWorkerList() = 0;

    // The wait window around reading and writing a file; `cancellable`: it offers 취소.
    virtual void showWait(const QString& message, bool cancellable) = 0;
    virtual void setWaitGauge(int position) = 0;
    // Whether 취소 was pressed on the wait window shown.
    virtual bool waitCancelRequested() = 0;
    virtual void hideWait() = 0;
};

} // namespace lavodc
