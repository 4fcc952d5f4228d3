#pragma once
// The small "please wait" notice shown around reading and writing a sheet file.
// It does not block input by itself: the caller shows it, does its work on the same
// thread while moving GaugeBar, and hides it again. Its gauge is drawn at most 20 times a
// second, however often the caller moves it. Shown with 취소, it takes the input of the
// program while the work runs and lets the caller know when 취소 was pressed.

#include <QColor>
#include <QFrame>
#include <QString>

#include <QElapsedTimer>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace lavodc {

class TSprSfm : public QFrame {
    Q_OBJECT
public:
    explicit TSprSfm(QWidget* parent = nullptr);

    // Children, owned by the window; callers set GaugeBar's position (0..100) directly.
    QProgressBar* const GaugeBar;
    QLabel* const MessageLabel;
    QTimer* const GaugeTimer;

    // One tick: GaugeStep runs 1, 2, ..., 99, 0, 1, ... and the bar follows it.
    void GaugeTimerTimer();

    // 취소, created when the window offers it (nullptr otherwise).
    QPushButton* CancelButton() const { return cancelButton_; }
    void OfferCancel();
    bool CancelRequested() const { return cancelRequested_; }

    // The caller's position: shown at once unless the gauge was drawn less than 50 ms ago
    // (the caller's next position then shows where the work stands). The caller drives the
    // bar from its first position on (the timer stops). Offering 취소, the window also lets
    // through the events that have come meanwhile (the press of 취소 among them) each time
    // it draws.
    void SetPosition(int position);

    static constexpr int kLeastUpdateMs = 50;

protected:
    void showEvent(QShowEvent* event) override;
    // Esc presses 취소 where it is offered.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPushButton* cancelButton_ = nullptr;
    bool cancelRequested_ = false;
    bool callerDrives_ = false;
    QElapsedTimer sinceUpdate_;
};

// Creates the window, shows it modeless on top and paints it before returning.
// A window still shown from an earlier call is destroyed first. The timer ticks at
// `interval` milliseconds, but not more often than 20 times a second. With `cancellable`
// the window offers 취소 and blocks input to the other windows while it is shown.
void ShowWait(int interval, QColor formColor, QColor textColor, const QString& message, bool cancellable = false);
// Hides and destroys the window; does nothing when none is shown.
void HideWait();
// The window between ShowWait and HideWait; nullptr otherwise.
TSprSfm* WaitWindow();
// Moves the bar of the shown window (TSprSfm::SetPosition); does nothing when none is shown.
void SetWaitGauge(int position);
// Whether 취소 was pressed on the shown window.
bool WaitCancelRequested();

// The timer's counter, shared by every showing and never reset by them.
int& GaugeStep();

} // namespace lavodc
