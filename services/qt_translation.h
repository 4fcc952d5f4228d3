#pragma once
// Qt's own Korean texts (file, print and preview dialogs, the calendar, standard buttons),
// whatever the system's locale. The program's own boxes set their texts themselves.

class QCoreApplication;
class QTranslator;

namespace lavodc {

// Installs Qt's Korean translation (qtbase_ko.qm in Qt's translations folder) into `app`,
// which owns it. Null when the translation is not installed: Qt then speaks English.
QTranslator* InstallQtKoreanTranslation(QCoreApplication& app);

} // namespace lavodc
