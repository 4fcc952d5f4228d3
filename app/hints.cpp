#include "app/hints.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPalette>
#include <QToolTip>
#include <QWidget>

namespace lavodc {

void SetHint(QWidget* widget, const QString& hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    if (bar < 0) {
        widget->setToolTip(hint);
        widget->setStatusTip(hint);
        return;
    }
    widget->setToolTip(hint.left(bar));
    widget->setStatusTip(hint.mid(bar + 1));
}

QString StatusHintFor(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        if (!w->statusTip().isEmpty())
            return QLatin1Char(' ') + w->statusTip();
    }
    return QString();
}

HintDisplay::HintDisplay(QWidget* window, QLabel* panel)
    : QObject(window), window_(window), panel_(panel)
{
    qApp->installEventFilter(this);
}

HintDisplay::~HintDisplay()
{
    qApp->removeEventFilter(this);
}

bool HintDisplay::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if (type != QEvent::Enter && type != QEvent::Leave && (armed_ || type != QEvent::MouseMove))
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window_)
        return false;
    // The start-up text stays until the user moves the mouse: a window that appears under
    // the pointer gets an Enter that nobody caused.
    if (!armed_) {
        if (type != QEvent::MouseMove)
            return false;
        armed_ = true;
    }
    // Leaving a control back into its container gives no Enter for the container,
    // so the container's hint is shown on the Leave.
    const QWidget* shown = type == QEvent::Enter ? widget
                         : widget->isWindow()   ? nullptr
                                                : widget->parentWidget();
    if (shown) {
        const QString text = StatusHintFor(shown);
        if (!text.isEmpty())
            panel_->setText(text);
    }
    return false;
}

void StyleHintWindows()
{
    QToolTip::setFont(QFont(QStringLiteral("NanumMyeongjo"), 9));
    QPalette palette = QToolTip::palette();
    palette.setColor(QPalette::ToolTipBase, QColor(254, 254, 245));
    palette.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(palette);
}

} // namespace lavodc
