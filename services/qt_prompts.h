#pragma once
// Prompts answered through Qt's modal dialogs. The builders are public so that the
// dialogs' set-up can be checked without running them.

#include "services/prompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <memory>

class QWidget;

namespace lavodc {

class QtPrompts : public Prompts {
public:
    // `parent` centres the dialogs over a window; may be null.
    explicit QtPrompts(QWidget* parent = nullptr);

    void InfoBox(const QString& text) override;
    bool ConfirmBox(const QString& text) override;
    SaveAnswer AskSaveChanges(const QString& text) override;
    std::optional<QString> OpenFileName(const FileDialogRequest& request) override;
    std::optional<QString> SaveFileName(const FileDialogRequest& request) override;
    void ErrorBox(const QString& errorText) override;
    void MessageBox(const QString& caption, const QString& text) override;
    void Beep() override;

    static std::unique_ptr<QMessageBox> makeInfoBox(QWidget* parent, const QString& text);
    static std::unique_ptr<QMessageBox> makeConfirmBox(QWidget* parent, const QString& text);
    static std::unique_ptr<QMessageBox> makeSaveChangesBox(QWidget* parent, const QString& text);
    static std::unique_ptr<QMessageBox> makeErrorBox(QWidget* parent, const QString& errorText);
    static std::unique_ptr<QMessageBox> makePlainBox(QWidget* parent, const QString& caption,
                                                     const QString& text);
    static std::unique_ptr<QFileDialog> makeFileDialog(QWidget* parent, const FileDialogRequest& request,
                                                       QFileDialog::AcceptMode mode);

    // What a closed box means: the button clicked, or the escape button when closed otherwise.
    static bool confirmAnswer(const QMessageBox& box);
    static SaveAnswer saveChangesAnswer(const QMessageBox& box);

private:
    QWidget* parent_;
};

} // namespace lavodc
