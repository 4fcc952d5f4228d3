#pragma once
// A number box: shows its value grouped by thousands without decimals (",0.") while it is
// not being edited, the plain value while it is; the value keeps its decimals.

#include <QLineEdit>

namespace lavodc {

class NumberBox : public QLineEdit {
    Q_OBJECT
public:
    explicit NumberBox(QWidget* parent = nullptr);

    double value() const;
    void setValue(double value);

    static QString formatted(double value);   // ",0.;-,0."
    static QString plain(double value);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void takeTypedValue();

    double value_ = 0;
    bool editing_ = false;
};

} // namespace lavodc
