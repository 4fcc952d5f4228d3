// The about box: a small dialog with the program's change and version lines.
#include "core/cp949.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {

QString fromLibraryText(const char* cp949)
{
    return QString::fromStdString(lavodc::fromCp949(cp949 ? cp949 : ""));
}

} // namespace

extern "C" Q_DECL_EXPORT void ShowVane(const char* changeLine, const char* versionLine)
{
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("근로내역확인서"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* version = new QLabel(fromLibraryText(versionLine));
    QFont bold = version->font();
    bold.setBold(true);
    version->setFont(bold);
    layout->addWidget(version);
    layout->addWidget(new QLabel(fromLibraryText(changeLine)));
    layout->addWidget(new QLabel(QStringLiteral("https://lavodc.example.org")));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.exec();
}
