#include "editing/pending_input.h"

#include <QApplication>
#include <QHash>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QPointer>
#include <QWidget>

namespace lavodc {

namespace {

class PendingInputWatch : public QObject {
public:
    static PendingInputWatch& instance()
    {
        static auto* watch = [] {
            auto* created = new PendingInputWatch;
            qApp->installEventFilter(created);
            return created;
        }();
        return *watch;
    }

    void commit(QWidget* box)
    {
        if (!box)
            return;
        const auto found = pending_.find(box);
        if (found == pending_.end() || found.value().isEmpty())
            return;
        const QString text = found.value();
        pending_.erase(found);
        QInputMethodEvent commitEvent;
        commitEvent.setCommitString(text);
        QCoreApplication::sendEvent(box, &commitEvent);
        // The input method still composes; it must start afresh, not commit the syllable again.
        if (box->hasFocus())
            QGuiApplication::inputMethod()->reset();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::InputMethod) {
            const auto* ime = static_cast<QInputMethodEvent*>(event);
            if (ime->preeditString().isEmpty())
                pending_.remove(widget);
            else
                pending_.insert(widget, ime->preeditString());
        } else if (event->type() == QEvent::FocusOut) {
            commit(widget);
        } else if (event->type() == QEvent::Destroy) {
            pending_.remove(widget);
        }
        return false;
    }

private:
    QHash<QWidget*, QString> pending_;
};

} // namespace

void WatchPendingInput()
{
    PendingInputWatch::instance();
}

void CommitPendingInput(QWidget* box)
{
    PendingInputWatch::instance().commit(box ? box : QApplication::focusWidget());
}

} // namespace lavodc
