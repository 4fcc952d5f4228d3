#pragma once
// A number box: shows its value grouped by thousands, with its decimals only when it has
// any ("2,400,000", "7.5"), while it is not being edited, and the plain value while it is.
// Taking the focus, by keyboard or mouse, selects the whole value, so what is typed
// replaces it. It holds only what a sheet file can store: 14 whole digits, 4 decimals.

#include <QLineEdit>

namespace lavodc {

class NumberBox : public QLineEdit {
    Q_OBJECT
public:
    explicit NumberBox(QWidget* parent = nullptr);

    double value() const;
    void setValue(double value);

    static QString formatted(double value);
    static QString plain(double value);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void takeTypedValue();

    double value_ = 0;
    bool editing_ = false;
    // The click that brought the focus selects the whole value; its drag selects nothing.
    bool clickSelectsAll_ = false;
};

} // namespace lavodc
