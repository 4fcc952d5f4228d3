#include "editing/alt_typing.h"

#include <QApplication>
#include <QKeyEvent>

namespace lavodc {

namespace {

class AltTypingGuard : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        // Ctrl+Alt is AltGr on some keyboards and may type a character of the layout.
        const Qt::KeyboardModifiers mods = key->modifiers();
        if (!(mods & Qt::AltModifier) || (mods & Qt::ControlModifier) || key->text().isEmpty())
            return false;
        QKeyEvent withoutText(key->type(), key->key(), mods, key->nativeScanCode(), key->nativeVirtualKey(),
                              key->nativeModifiers(), QString(), key->isAutoRepeat(), key->count());
        QCoreApplication::sendEvent(watched, &withoutText);
        key->setAccepted(withoutText.isAccepted());
        return true;
    }
};

} // namespace

void KeepAltFromTyping()
{
    static AltTypingGuard* guard = [] {
        auto* created = new AltTypingGuard;
        qApp->installEventFilter(created);
        return created;
    }();
    (void)guard;
}

} // namespace lavodc
