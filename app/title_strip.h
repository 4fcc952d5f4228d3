#pragma once
// The coloured strip that stands in for the platform's title bar: the title text, an
// icon button at the left and a small close button at the right. Pressing a mouse button
// on it starts moving the window.

#include <QWidget>

class QLabel;
class QToolButton;

namespace lavodc {

class TitleStrip : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 22;

    TitleStrip(const QString& title, QWidget* parent = nullptr);

    QToolButton* const iconBtn;
    QToolButton* const mExit0;
    QLabel* const titleLabel;

    // Puts the close button's left edge at `left`; the title text ends before it.
    void placeCloseButton(int left);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace lavodc
