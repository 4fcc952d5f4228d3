#pragma once
// The two month-to-month commands of band 2: "다음 달" carries the crew into a new sheet
// for the following month, "명단 가져오기" adds workers from a spreadsheet or CSV list and
// takes the wages and days of those already in the sheet from it.
// Both talk to the user through Prompts and return the status bar's text.

#include "app/document_controller.h"
#include "core/sheet.h"
#include "services/prompts.h"

#include <QString>

namespace lavodc {

class MonthCommands {
public:
    MonthCommands(Sheet& sheet, DocumentController& controller, Prompts& prompts);

    static QString nextMonthCaption();   // "다음 달"
    static QString nextMonthHint();      // "다음달|현재 명단으로 다음 달 신고서를 새로 만듭니다."
    static QString importCaption();      // "명단 가져오기"
    static QString importHint();

    // The save question first when the sheet has changes (Cancel stops), then the sheet
    // becomes the next month's, untitled and modified. Returns the status bar's text,
    // empty when the command stopped.
    QString NextMonthClick();

    // The file dialog for .xlsx and .csv, one question with what will be added, updated and
    // refused, then the sheet changes and is marked as changed. A list that changes nothing
    // is only shown. Returns the status bar's text, empty when nothing changed.
    QString ImportWorkersClick();

    // The dialog's request: title, the filter for both kinds of list, the work folder.
    static FileDialogRequest importDialogRequest();

private:
    Sheet& sheet_;
    DocumentController& controller_;
    Prompts& prompts_;
};

} // namespace lavodc
