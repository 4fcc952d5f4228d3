#pragma once
// A caption drawn twice: first as a shadow in ShadowColor shifted by ShadowDepth pixels,
// then the text itself on top. A light shadow under dark text gives an embossed look.

#include <QColor>
#include <QLabel>

namespace lavodc {

enum TShadowDirection { sdUpLeft, sdUpRight, sdDnLeft, sdDnRight };

class TSdLabel : public QLabel {
    Q_OBJECT
public:
    explicit TSdLabel(QWidget* parent = nullptr);
    explicit TSdLabel(const QString& text, QWidget* parent = nullptr);

    QColor ShadowColor() const { return shadowColor_; }
    int ShadowDepth() const { return shadowDepth_; }
    TShadowDirection ShadowDirection() const { return shadowDirection_; }
    // Each setter stores and repaints only when the value changes.
    void SetShadowColor(const QColor& color);
    void SetShadowDepth(int depth);
    void SetShadowDirection(TShadowDirection direction);

    // When on (the default), "&x" underlines x; when off, '&' is drawn as it stands.
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool show);

    // A non-transparent label fills its area with the palette's window colour first.
    bool Transparent() const { return !autoFillBackground(); }
    void SetTransparent(bool transparent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor shadowColor_;
    int shadowDepth_ = 3;
    TShadowDirection shadowDirection_ = sdDnRight;
    bool showAccelChar_ = true;
};

} // namespace lavodc
