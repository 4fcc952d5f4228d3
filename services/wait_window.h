#pragma once
// The small "please wait" notice shown around reading and writing a sheet file.
// It does not block input by itself: the caller shows it, does its work on the same
// thread while moving GaugeBar, and hides it again.

#include <QColor>
#include <QFrame>
#include <QString>

class QLabel;
class QProgressBar;
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

protected:
    void showEvent(QShowEvent* event) override;
};

// Creates the window, shows it modeless on top and paints it before returning.
// A window still shown from an earlier call is destroyed first.
void ShowWait(int interval, QColor formColor, QColor textColor, const QString& message);
// Hides and destroys the window; does nothing when none is shown.
void HideWait();
// The window between ShowWait and HideWait; nullptr otherwise.
TSprSfm* WaitWindow();
// Moves the bar of the shown window; does nothing when none is shown.
void SetWaitGauge(int position);

// The timer's counter, shared by every showing and never reset by them.
int& GaugeStep();

} // namespace lavodc
