#pragma once
// Two-part hints "short|long": the short part is the tooltip, the long part goes to the
// status bar. A hint without the bar is both. A control without a hint of its own shows
// that of its nearest container that has one.

#include <QObject>
#include <QString>

class QLabel;
class QWidget;

namespace lavodc {

void SetHint(QWidget* widget, const QString& hint);

// The status-bar text while the mouse is over `widget`: a blank and the long part of the
// nearest hint, empty when neither the widget nor a container has one.
QString StatusHintFor(const QWidget* widget);

// Keeps `panel` showing the hint of the control under the mouse in `window`.
class HintDisplay : public QObject {
    Q_OBJECT
public:
    HintDisplay(QWidget* window, QLabel* panel);
    ~HintDisplay() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    QLabel* panel_;
    bool armed_ = false;
};

// The look of every tooltip of the program.
void StyleHintWindows();

} // namespace lavodc
