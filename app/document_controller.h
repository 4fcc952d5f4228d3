#pragma once
// New, Open, Save and Save As of the one sheet, with the file name, the modified flag,
// the save question, the work folder and the wait window around file work.

#include "app/document_view.h"
#include "core/safe_save.h"
#include "core/sheet.h"
#include "services/prompts.h"

#include <QString>
#include <exception>
#include <functional>
#include <optional>

namespace lavodc {

class DocumentController {
public:
    // `programFolder` holds TmLdoc.str; its data folder (services/settings) lavocfg.ini and
    // Temp/TmpLdoc.cds.
    DocumentController(Sheet& sheet, DocumentView& view, Prompts& prompts, QString programFolder);

    static QString untitledName();            // "이름없음.Lvo"
    // Asked before Save replaces a file that changed since it was opened or saved here.
    static QString changedFileQuestion();

    const QString& SheetFileName() const;
    bool SheetModified() const;
    void SetSheetModified(bool modified);     // the editing commands set it
    bool IsUntitled() const;
    // True while one of the commands runs (events still arrive under its wait window).
    bool Busy() const;

    // Each returns false when it stopped without doing its work (cancelled or failed).
    bool NewFileClick();
    bool HFileOpenClick();
    bool SaveBtnClick();
    bool RnameBtnClick();
    // Open without the file dialog, for a sheet named by the desktop: the save question
    // first when due, then `path` is read as Open reads a chosen file.
    bool OpenSheetPath(const QString& path);
    // Asks Yes/No/Cancel; on Yes saves. A Yes whose save did not happen counts as Cancel.
    SaveAnswer AskSaveChanges();
    // Closing the window: asks when the sheet has unsaved changes; false keeps it open.
    bool MayClose();

    // For commands that rebuild the sheet in place (next month):
    // the header boxes into the sheet, the period following the year and month;
    void TakeHeaderFromView();
    // the sheet shown as a new untitled one: header boxes, by-name order, worker list focused.
    void ShowAsNewUntitledSheet();
    // Errors of such commands, in the general error box.
    void ShowError(const std::exception& error);
    // Called after every command and every change of the modified flag, whatever came of it:
    // the recovery copy follows the sheet from here.
    void SetStateListener(std::function<void()> listener);
    // Runs `work` as a command of its own: Busy() meanwhile, so that a sheet the desktop asks for
    // waits for it; an error it raises goes to the error box.
    bool RunAsCommand(const std::function<bool()>& work);
    // Opens a recovery copy (a sheet file) as the sheet belonging to `fileName`, with its header
    // (`header` where given, else the copy's), and marks it modified, so that the next Save
    // writes it to that file.
    bool RestoreRecoveredSheet(const QString& copyPath, const QString& fileName,
                               const std::optional<SheetHeader>& header = std::nullopt);
    const Sheet& sheet() const { return sheet_; }
    Sheet& sheet() { return sheet_; }
    // The header as the boxes hold it now, which the sheet itself takes only when it is saved.
    SheetHeader HeaderInView() const;

private:
    bool runCommand(const std::function<bool()>& command);
    bool newSheet();
    bool openSheet(const std::optional<QString>& given);   // nothing: ask with the dialog
    bool save();
    // False when the file changed since this sheet read or wrote it and the user keeps it.
    bool mayReplaceFile();
    bool saveAs();
    // Writes the sheet to `fileName_` under the wait window; `fileWritten` turns true
    // once the file is complete, before the work folder is remembered.
    void writeSheet(bool& fileWritten);
    // The period follows the year and month boxes whenever the sheet is saved.
    void takeHeaderFromView();
    void setFileName(const QString& fileName, const QString& shownName);
    FileDialogRequest fileDialogRequest() const;

    Sheet& sheet_;
    DocumentView& view_;
    Prompts& prompts_;
    QString programFolder_;
    QString fileName_;
    QString shownName_;     // what the file-name label shows after "파일명: "
    FileStamp stamp_;       // the file as this sheet last read or wrote it
    bool modified_ = false;
    int busy_ = 0;          // commands under way; Save runs inside Open's question
    std::function<void()> stateListener_;
};

} // namespace lavodc
