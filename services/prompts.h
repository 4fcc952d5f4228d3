#pragma once
// Everything the commands ask of the user goes through this interface: the windows
// implement it with Qt dialogs (QtPrompts), tests with scripted answers.

#include <QString>
#include <optional>

namespace lavodc {

enum class SaveAnswer { Yes, No, Cancel };

struct FileDialogRequest {
    QString title;          // "파일명을 확인하세요."
    QString filter;         // "근로내역확인신고서 (*.Lvo)"
    QString defaultSuffix;  // "Lvo"
    QString proposedName;   // the current file name
    QString initialFolder;  // the work folder
};

class Prompts {
public:
    virtual ~Prompts() = default;

    // Caption "Information", information icon, OK.
    virtual void InfoBox(const QString& text) = 0;
    // Caption "Confirm", question icon, Yes (default) and No; Esc or closing means No.
    virtual bool ConfirmBox(const QString& text) = 0;
    // Yes, No and Cancel; closing means Cancel.
    virtual SaveAnswer AskSaveChanges(const QString& text) = 0;
    // Empty when the user cancelled.
    virtual std::optional<QString> OpenFileName(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> SaveFileName(const FileDialogRequest& request) = 0;
    // The general error box: the error's text with a full stop added when missing,
    // caption "근로내역확인서", stop icon, OK.
    virtual void ErrorBox(const QString& errorText) = 0;
    // A plain message box with an OK button and no icon.
    virtual void MessageBox(const QString& caption, const QString& text) = 0;
    virtual void Beep() = 0;
};

// The error box's text: a full stop added when the text does not end in one.
QString ErrorBoxText(const QString& errorText);

} // namespace lavodc
