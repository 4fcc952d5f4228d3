#pragma once
// "전자신고 파일" in band 2: the month's e-filing workbook from the sheet on screen, in the table's
// current order, through its dialog. The codes the clerk enters there are kept (the job table in
// lavocfg.ini, foreigners' codes in the people file); the sheet itself is only read, so nothing
// here changes it or its modified flag.

#include "app/document_controller.h"
#include "core/sheet.h"
#include "services/prompts.h"

#include <QString>

#include <functional>

class QWidget;

namespace lavodc {

class EfileDialog;

class EfileCommand {
public:
    // The controller gives the header boxes as they stand and the sheet's file name.
    EfileCommand(const WorkerTable& table, DocumentController& controller, Prompts& prompts);

    static QString caption();   // "전자신고 파일"
    static QString hint();

    // Shows the dialog until the workbook is saved or the clerk closes it. `show` shows it
    // (modally by default; tests drive its widgets instead). Returns the status bar's text,
    // empty when nothing was saved.
    using DialogShow = std::function<void(EfileDialog&)>;
    QString EfileBtnClick(QWidget* owner, const DialogShow& show = {});

    // The save dialog's request: title, filter, suffix, a name from the sheet's, the work folder.
    FileDialogRequest saveDialogRequest(const SheetHeader& header) const;

private:
    // The dialog's save: keeps the codes, asks about what is missing, then the file name, and
    // writes the workbook. True when it was written.
    bool save(EfileDialog& dialog, const SheetHeader& header, QString& status);

    const WorkerTable& table_;
    DocumentController& controller_;
    Prompts& prompts_;
};

} // namespace lavodc
