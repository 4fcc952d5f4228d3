#include "services/qt_prompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>

namespace lavodc {

namespace {

std::unique_ptr<QMessageBox> makeBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                     const QString& text, QMessageBox::StandardButtons buttons)
{
    auto box = std::make_unique<QMessageBox>(icon, caption, text, buttons, parent);
    box->setTextFormat(Qt::PlainText);   // file names and error texts may hold '<'
    return box;
}

// The program's own boxes keep their fixed button texts under Qt's Korean translation.
void keepButtonText(QMessageBox& box, QMessageBox::StandardButton button, const QString& text)
{
    if (QAbstractButton* b = box.button(button))
        b->setText(text);
}

std::optional<QString> runFileDialog(QWidget* parent, const FileDialogRequest& request,
                                     QFileDialog::AcceptMode mode)
{
    auto dialog = QtPrompts::makeFileDialog(parent, request, mode);
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog->selectedFiles();
    if (files.isEmpty())
        return std::nullopt;
    return files.first();
}

} // namespace

QtPrompts::QtPrompts(QWidget* parent) : parent_(parent) {}

std::unique_ptr<QMessageBox> QtPrompts::makeInfoBox(QWidget* parent, const QString& text)
{
    auto box = makeBox(parent, QMessageBox::Information, QStringLiteral("Information"), text, QMessageBox::Ok);
    keepButtonText(*box, QMessageBox::Ok, QStringLiteral("OK"));
    return box;
}

std::unique_ptr<QMessageBox> QtPrompts::makeConfirmBox(QWidget* parent, const QString& text)
{
    auto box = makeBox(parent, QMessageBox::Question, QStringLiteral("Confirm"), text,
                       QMessageBox::Yes | QMessageBox::No);
    keepButtonText(*box, QMessageBox::Yes, QStringLiteral("&Yes"));
    keepButtonText(*box, QMessageBox::No, QStringLiteral("&No"));
    box->setDefaultButton(QMessageBox::Yes);
    box->setEscapeButton(QMessageBox::No);
    return box;
}

std::unique_ptr<QMessageBox> QtPrompts::makeSaveChangesBox(QWidget* parent, const QString& text)
{
    auto box = makeBox(parent, QMessageBox::Question, QStringLiteral("Confirm"), text,
                       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box->setDefaultButton(QMessageBox::Yes);
    box->setEscapeButton(QMessageBox::Cancel);
    return box;
}

std::unique_ptr<QMessageBox> QtPrompts::makeErrorBox(QWidget* parent, const QString& errorText)
{
    auto box = makeBox(parent, QMessageBox::Critical, QStringLiteral("근로내역확인서"), ErrorBoxText(errorText),
                       QMessageBox::Ok);
    keepButtonText(*box, QMessageBox::Ok, QStringLiteral("OK"));
    return box;
}

std::unique_ptr<QMessageBox> QtPrompts::makePlainBox(QWidget* parent, const QString& caption,
                                                     const QString& text)
{
    auto box = makeBox(parent, QMessageBox::NoIcon, caption, text, QMessageBox::Ok);
    keepButtonText(*box, QMessageBox::Ok, QStringLiteral("OK"));
    return box;
}

std::unique_ptr<QFileDialog> QtPrompts::makeFileDialog(QWidget* parent, const FileDialogRequest& request,
                                                       QFileDialog::AcceptMode mode)
{
    auto dialog = std::make_unique<QFileDialog>(parent, request.title, request.initialFolder, request.filter);
    // Qt's own dialog, so that the modes below behave the same on every desktop.
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setAcceptMode(mode);
    // The open dialog takes a typed name of a missing file too; opening it then fails
    // with the reader's own error, as the command expects.
    // A save dialog asks before it replaces a file that exists (in Korean, through Qt's
    // translation), and a "아니요" there leaves the dialog open for another name.
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(request.defaultSuffix);
    if (!request.proposedName.isEmpty())
        dialog->selectFile(request.proposedName);
    return dialog;
}

bool QtPrompts::confirmAnswer(const QMessageBox& box)
{
    return box.clickedButton() != nullptr && box.standardButton(box.clickedButton()) == QMessageBox::Yes;
}

SaveAnswer QtPrompts::saveChangesAnswer(const QMessageBox& box)
{
    if (box.clickedButton() == nullptr)
        return SaveAnswer::Cancel;
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Yes: return SaveAnswer::Yes;
    case QMessageBox::No: return SaveAnswer::No;
    default: return SaveAnswer::Cancel;
    }
}

void QtPrompts::InfoBox(const QString& text)
{
    makeInfoBox(parent_, text)->exec();
}

bool QtPrompts::ConfirmBox(const QString& text)
{
    auto box = makeConfirmBox(parent_, text);
    box->exec();
    return confirmAnswer(*box);
}

SaveAnswer QtPrompts::AskSaveChanges(const QString& text)
{
    auto box = makeSaveChangesBox(parent_, text);
    box->exec();
    return saveChangesAnswer(*box);
}

std::optional<QString> QtPrompts::OpenFileName(const FileDialogRequest& request)
{
    return runFileDialog(parent_, request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtPrompts::SaveFileName(const FileDialogRequest& request)
{
    return runFileDialog(parent_, request, QFileDialog::AcceptSave);
}

void QtPrompts::ErrorBox(const QString& errorText)
{
    makeErrorBox(parent_, errorText)->exec();
}

void QtPrompts::MessageBox(const QString& caption, const QString& text)
{
    makePlainBox(parent_, caption, text)->exec();
}

void QtPrompts::Beep()
{
    QApplication::beep();
}

} // namespace lavodc
