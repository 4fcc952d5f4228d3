#include "editing/number_box.h"

#include <QRegularExpressionValidator>
#include <cmath>

namespace lavodc {

NumberBox::NumberBox(QWidget* parent) : QLineEdit(parent)
{
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9,]*\\.?[0-9]*")), this));
    setText(formatted(0));
}

QString NumberBox::formatted(double value)
{
    const double rounded = std::round(value);
    QString digits = QString::number(std::fabs(rounded), 'f', 0);
    for (int i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(','));
    return rounded < 0 ? QLatin1Char('-') + digits : digits;
}

QString NumberBox::plain(double value)
{
    return QString::number(value, 'g', 15);
}

double NumberBox::value() const
{
    if (!editing_)
        return value_;
    bool ok = false;
    const double typed = QString(text()).remove(QLatin1Char(',')).toDouble(&ok);
    return ok ? typed : (text().trimmed().isEmpty() ? 0 : value_);
}

void NumberBox::setValue(double value)
{
    value_ = value;
    setText(editing_ ? plain(value) : formatted(value));
}

void NumberBox::takeTypedValue()
{
    value_ = value();
}

void NumberBox::focusInEvent(QFocusEvent* event)
{
    editing_ = true;
    setText(plain(value_));
    QLineEdit::focusInEvent(event);
    selectAll();
}

void NumberBox::focusOutEvent(QFocusEvent* event)
{
    takeTypedValue();
    editing_ = false;
    QLineEdit::focusOutEvent(event);
    setText(formatted(value_));
}

} // namespace lavodc
