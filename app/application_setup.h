#pragma once
// What the whole program shares before its first window: its name on the taskbar and
// the desktop, its icon, its font and Qt's Korean texts.

class QApplication;
class QTranslator;

namespace lavodc {

// Returns Qt's Korean translation, installed into `app`; null when it is not on the system.
QTranslator* SetUpApplication(QApplication& app);

} // namespace lavodc
