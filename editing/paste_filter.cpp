#include "editing/paste_filter.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

namespace lavodc {

namespace {

// No box of the program holds more than this; a huge clipboard is not worth filtering whole.
constexpr int kLongestUsefulPaste = 1024;

QString asOneLine(QString text)
{
    text.truncate(kLongestUsefulPaste);
    for (QChar& c : text)
        if (c == u'\r' || c == u'\n' || c == u'\t')
            c = u' ';
    return text;
}

class PasteFilter : public QObject {
public:
    PasteFilter(QLineEdit* box, PasteRule rule) : QObject(box), box_(box), rule_(std::move(rule)) {}

    void paste(const QString& clipboardText)
    {
        if (box_->isReadOnly())
            return;
        const QString inserted = rule_(*box_, asOneLine(clipboardText));
        if (inserted.isEmpty() && !box_->hasSelectedText()) {
            if (!clipboardText.isEmpty())
                QApplication::beep();
            return;
        }
        box_->insert(inserted);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != box_)
            return false;
        switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
                paste(QGuiApplication::clipboard()->text());
                return true;
            }
            return false;
        case QEvent::ContextMenu:
            showMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            QClipboard* clipboard = QGuiApplication::clipboard();
            if (mouse->button() != Qt::MiddleButton || !clipboard->supportsSelection())
                return false;
            box_->deselect();
            box_->setCursorPosition(box_->cursorPositionAt(mouse->position().toPoint()));
            paste(clipboard->text(QClipboard::Selection));
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (!drop->mimeData()->hasText())
                return false;
            box_->deselect();
            box_->setCursorPosition(box_->cursorPositionAt(drop->position().toPoint()));
            paste(drop->mimeData()->text());
            drop->acceptProposedAction();
            return true;
        }
        default:
            return false;
        }
    }

private:
    void showMenu(const QPoint& at)
    {
        QMenu* menu = box_->createStandardContextMenu();
        for (QAction* action : menu->actions()) {
            if (action->objectName() == QLatin1String("edit-paste")) {
                QObject::disconnect(action, &QAction::triggered, box_, nullptr);
                connect(action, &QAction::triggered, this,
                        [this] { paste(QGuiApplication::clipboard()->text()); });
            }
        }
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(at);
    }

    QLineEdit* box_;
    PasteRule rule_;
};

} // namespace

void FilterPastes(QLineEdit* box, PasteRule rule)
{
    box->installEventFilter(new PasteFilter(box, std::move(rule)));
}

QString TextAfterInsert(const QLineEdit& box, const QString& inserted)
{
    QString text = box.text();
    int at = box.cursorPosition();
    if (box.hasSelectedText()) {
        at = box.selectionStart();
        text.remove(at, box.selectedText().size());
    }
    text.insert(at, inserted);
    return text;
}

} // namespace lavodc
