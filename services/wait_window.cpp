#include "services/wait_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>

namespace lavodc {

namespace {

// Client size of the design; the height is what is left of 80 pixels once the
// title bar is gone.
constexpr int kWidth = 371;
constexpr int kHeight = 56;
constexpr int kMessageTopWhenShown = 30;
// 취소 goes below the message; the window grows by its row.
constexpr int kCancelRow = 30;
const QRect kCancelPlace(153, 52, 64, 24);

TSprSfm*& currentWindow()
{
    static TSprSfm* window = nullptr;
    return window;
}

QFont waitFont()
{
    QFont font(QStringLiteral("NanumGothic"));
    font.setPointSize(9);
    return font;
}

} // namespace

int& GaugeStep()
{
    static int step = 0;
    return step;
}

TSprSfm::TSprSfm(QWidget* parent)
    : QFrame(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      GaugeBar(new QProgressBar(this)),
      MessageLabel(new QLabel(this)),
      GaugeTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("SprSfm"));
    setWindowTitle(QStringLiteral("잠시만..."));
    // The dialog frame the title-less window keeps.
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setFixedSize(kWidth, kHeight);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(31, 124, 209));
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    setFont(waitFont());

    GaugeBar->setObjectName(QStringLiteral("GaugeBar"));
    GaugeBar->setGeometry(8, 11, 352, 11);
    GaugeBar->setRange(0, 100);
    GaugeBar->setValue(0);
    GaugeBar->setTextVisible(false);

    MessageLabel->setObjectName(QStringLiteral("MessageLabel"));
    MessageLabel->setGeometry(8, 35, 352, 12);
    MessageLabel->setAlignment(Qt::AlignCenter);
    // Fixed geometry, no wrapping: a long message is cut at the label's edges.
    MessageLabel->setWordWrap(false);
    MessageLabel->setAutoFillBackground(false);   // transparent over the window colour
    QFont bold = waitFont();
    bold.setBold(true);
    MessageLabel->setFont(bold);
    MessageLabel->setText(QStringLiteral("자료를 준비중입니다. 잠시만..."));

    GaugeTimer->setObjectName(QStringLiteral("GaugeTimer"));
    GaugeTimer->setInterval(10);
    connect(GaugeTimer, &QTimer::timeout, this, &TSprSfm::GaugeTimerTimer);
    GaugeTimer->start();
}

void TSprSfm::OfferCancel()
{
    if (cancelButton_)
        return;
    setFixedSize(kWidth, kHeight + kCancelRow);
    cancelButton_ = new QPushButton(QStringLiteral("취소"), this);
    cancelButton_->setObjectName(QStringLiteral("CancelButton"));
    cancelButton_->setGeometry(kCancelPlace);
    connect(cancelButton_, &QPushButton::clicked, this, [this] {
        cancelRequested_ = true;
        cancelButton_->setEnabled(false);
    });
    // The caller's work lets events through to this window only: the others wait.
    setWindowModality(Qt::ApplicationModal);
}

void TSprSfm::keyPressEvent(QKeyEvent* event)
{
    if (cancelButton_ && event->key() == Qt::Key_Escape) {
        cancelButton_->click();
        return;
    }
    QFrame::keyPressEvent(event);
}

void TSprSfm::SetPosition(int position)
{
    if (!callerDrives_) {
        callerDrives_ = true;
        GaugeTimer->stop();
    }
    if (sinceUpdate_.isValid() && sinceUpdate_.elapsed() < kLeastUpdateMs)
        return;
    sinceUpdate_.start();
    GaugeBar->setValue(position);
    if (cancelButton_)
        QCoreApplication::processEvents();
}

void TSprSfm::GaugeTimerTimer()
{
    int& step = GaugeStep();
    ++step;
    if (step >= 100)
        step = 0;
    GaugeBar->setValue(step);
}

void TSprSfm::showEvent(QShowEvent* event)
{
    QFrame::showEvent(event);
    if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

void ShowWait(int interval, QColor formColor, QColor textColor, const QString& message, bool cancellable)
{
    // A window left over from an unpaired call would stay on top for good.
    HideWait();

    auto* window = new TSprSfm();
    currentWindow() = window;

    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, formColor);
    window->setPalette(pal);

    QPalette labelPal = window->MessageLabel->palette();
    labelPal.setColor(QPalette::WindowText, textColor);
    window->MessageLabel->setPalette(labelPal);
    window->MessageLabel->setText(message);
    window->MessageLabel->move(window->MessageLabel->x(), kMessageTopWhenShown);

    window->GaugeBar->setVisible(true);
    if (cancellable)
        window->OfferCancel();
    // Started only once the window is painted: the events processed below must not
    // tick the shared counter before the caller's work begins.
    window->GaugeTimer->stop();
    window->GaugeTimer->setInterval(std::max(interval, int(TSprSfm::kLeastUpdateMs)));

    window->show();
    // The caller's work starts right after this and dispatches no events, so the window
    // must be on screen now; wait briefly for the window system to map it.
    QElapsedTimer waited;
    waited.start();
    while (window->windowHandle() && !window->windowHandle()->isExposed() && waited.elapsed() < 200)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    window->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    window->GaugeTimer->start();
}

void HideWait()
{
    TSprSfm* window = currentWindow();
    if (!window)
        return;
    currentWindow() = nullptr;
    window->hide();
    delete window;
}

TSprSfm* WaitWindow()
{
    return currentWindow();
}

void SetWaitGauge(int position)
{
    if (TSprSfm* window = currentWindow())
        window->SetPosition(position);
}

bool WaitCancelRequested()
{
    const TSprSfm* window = currentWindow();
    return window && window->CancelRequested();
}

} // namespace lavodc
