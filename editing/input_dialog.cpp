#include "editing/input_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

namespace lavodc {

namespace {

constexpr int kStripHeight = 20;

// The strip stands in for the title bar: a press on it moves the window.
class DialogTitleStrip : public QLabel {
public:
    explicit DialogTitleStrip(QWidget* parent) : QLabel(parent) {}

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        if (QWindow* handle = window()->windowHandle())
            handle->startSystemMove();
        event->accept();
    }
};

} // namespace

TInPutf::TInPutf(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("InPutf"));
    setModal(true);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFont(QFont(QStringLiteral("NanumGothic"), 9));

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    TopTitle = new DialogTitleStrip(this);
    TopTitle->setObjectName(QStringLiteral("TopTitle"));
    TopTitle->setFixedHeight(kStripHeight);
    TopTitle->setAutoFillBackground(true);
    QPalette strip = TopTitle->palette();
    strip.setColor(QPalette::Window, QColor(0, 0, 160));
    strip.setColor(QPalette::WindowText, Qt::white);
    TopTitle->setPalette(strip);
    QFont bold = TopTitle->font();
    bold.setBold(true);
    TopTitle->setFont(bold);
    column->addWidget(TopTitle);

    nPage = new QStackedWidget(this);
    nPage->setObjectName(QStringLiteral("nPage"));
    for (QWidget** page : {&shet00, &shet01, &shet02}) {
        *page = new QWidget(nPage);
        nPage->addWidget(*page);
    }
    shet00->setObjectName(QStringLiteral("shet00"));
    shet01->setObjectName(QStringLiteral("shet01"));
    shet02->setObjectName(QStringLiteral("shet02"));
    column->addWidget(nPage, 1);

    mExit0 = new QToolButton(this);
    mExit0->setObjectName(QStringLiteral("mExit0"));
    mExit0->setAutoRaise(true);
    mExit0->setFocusPolicy(Qt::NoFocus);
    mExit0->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    mExit0->setIconSize(QSize(11, 11));
    mExit0->setGeometry(0, 2, 16, 16);
    mExit0->setToolTip(QStringLiteral("닫기"));
    mExit0->setStatusTip(QStringLiteral("현재의 창을 닫습니다."));
    mExit0->raise();
    keepFromRight(mExit0, 26);
    connect(mExit0, &QToolButton::clicked, this, &TInPutf::mExit0Click);
}

int TInPutf::captionHeight()
{
    return QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
}

void TInPutf::showPage(Page page)
{
    nPage->setCurrentIndex(page);
}

void TInPutf::setStripText(const QString& text)
{
    TopTitle->setText(text);
}

void TInPutf::place(int top, int left, int height, int width)
{
    setGeometry(left, top, width, qMax(1, height - captionHeight()));
}

void TInPutf::keepFromRight(QWidget* widget, int distance)
{
    rightAnchored_.emplace_back(widget, distance);
    widget->move(width() - distance, widget->y());
}

void TInPutf::mExit0Click()
{
    reject();
}

void TInPutf::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    for (const auto& [widget, distance] : rightAnchored_)
        widget->move(width() - distance, widget->y());
}

} // namespace lavodc
