#include "services/sd_label.h"

#include <QApplication>
#include <QPainter>

namespace lavodc {

namespace {

// Shifts only the left and top edges, so that both texts keep the label's right and
// bottom edges and wrap at the same width.
void shiftTopLeft(QRect& rect, int dx, int dy)
{
    rect.setLeft(rect.left() + dx);
    rect.setTop(rect.top() + dy);
}

} // namespace

TSdLabel::TSdLabel(QWidget* parent) : TSdLabel(QString(), parent) {}

TSdLabel::TSdLabel(const QString& text, QWidget* parent)
    : QLabel(text, parent), shadowColor_(palette().color(QPalette::Dark))
{
}

void TSdLabel::SetShadowColor(const QColor& color)
{
    if (color == shadowColor_)
        return;
    shadowColor_ = color;
    update();
}

void TSdLabel::SetShadowDepth(int depth)
{
    if (depth == shadowDepth_)
        return;
    shadowDepth_ = depth;
    update();
}

void TSdLabel::SetShadowDirection(TShadowDirection direction)
{
    if (direction == shadowDirection_)
        return;
    shadowDirection_ = direction;
    update();
}

void TSdLabel::SetShowAccelChar(bool show)
{
    if (show == showAccelChar_)
        return;
    showAccelChar_ = show;
    update();
}

void TSdLabel::SetTransparent(bool transparent)
{
    setAutoFillBackground(!transparent);
    update();
}

void TSdLabel::paintEvent(QPaintEvent* /*event*/)
{
    // The background of a non-transparent label is filled by Qt (autoFillBackground).
    QRect shadowRect = contentsRect();
    QRect textRect = shadowRect;
    const int d = shadowDepth_;
    switch (shadowDirection_) {
    case sdUpLeft: shiftTopLeft(textRect, d, d); break;
    case sdUpRight: shiftTopLeft(shadowRect, d, 0); shiftTopLeft(textRect, 0, d); break;
    case sdDnLeft: shiftTopLeft(shadowRect, 0, d); shiftTopLeft(textRect, d, 0); break;
    case sdDnRight: shiftTopLeft(shadowRect, d, d); break;
    }

    Qt::Alignment horizontal = alignment() & Qt::AlignHorizontal_Mask;
    if (horizontal == 0)
        horizontal = Qt::AlignLeft;
    int flags = int(horizontal) | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs;
    if (showAccelChar_)
        flags |= Qt::TextShowMnemonic;   // without it Qt draws '&' as it stands

    QPainter painter(this);
    painter.setFont(font());
    const QString caption = text();

    painter.setPen(shadowColor_);
    painter.drawText(shadowRect, flags, caption);

    // A disabled caption takes the system's grey even when its own colour was set for
    // every state; the shadow stays as it is.
    const QColor textColor = isEnabled() ? palette().color(foregroundRole())
                                         : QApplication::palette().color(QPalette::Disabled, QPalette::WindowText);
    painter.setPen(textColor);
    painter.drawText(textRect, flags, caption);
}

} // namespace lavodc
