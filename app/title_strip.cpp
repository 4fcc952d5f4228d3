#include "app/title_strip.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QStyle>
#include <QToolButton>
#include <QWindow>

namespace lavodc {

namespace {
const QColor kStripColour(13, 90, 132);
}

TitleStrip::TitleStrip(const QString& title, QWidget* parent)
    : QWidget(parent),
      iconBtn(new QToolButton(this)),
      mExit0(new QToolButton(this)),
      titleLabel(new QLabel(title, this))
{
    setObjectName(QStringLiteral("TopTitle"));
    setFixedHeight(kHeight);
    setAutoFillBackground(true);
    QPalette strip = palette();
    strip.setColor(QPalette::Window, kStripColour);
    strip.setColor(QPalette::WindowText, Qt::yellow);
    setPalette(strip);

    iconBtn->setObjectName(QStringLiteral("iconBtn"));
    iconBtn->setAutoRaise(true);
    iconBtn->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    iconBtn->setGeometry(2, 2, 18, 18);

    titleLabel->setGeometry(20, 0, 900, kHeight);
    QFont bold = titleLabel->font();
    bold.setBold(true);
    titleLabel->setFont(bold);
    titleLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Clicks fall through the text to the strip, which moves the window.
    titleLabel->setAttribute(Qt::WA_TransparentForMouseEvents);

    mExit0->setObjectName(QStringLiteral("mExit0"));
    mExit0->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    mExit0->setIconSize(QSize(11, 11));
    mExit0->setFixedSize(15, 15);
    mExit0->move(0, (kHeight - 15) / 2);
}

void TitleStrip::placeCloseButton(int left)
{
    mExit0->move(left, mExit0->y());
    titleLabel->resize(qMax(0, left - titleLabel->x() - 4), kHeight);
}

void TitleStrip::mousePressEvent(QMouseEvent* event)
{
    if (QWindow* handle = window()->windowHandle())
        handle->startSystemMove();
    event->accept();
}

} // namespace lavodc
