#include "editing/number_box.h"

#include "editing/paste_filter.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QValidator>
#include <cmath>

namespace lavodc {

namespace {

constexpr int kWholeDigits = 14;
constexpr int kDecimals = 4;

// A sign, up to 14 whole digits (grouping commas allowed), a point and up to 4 decimals.
class AmountValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override
    {
        int whole = 0;
        int decimals = 0;
        bool point = false;
        for (qsizetype i = 0; i < input.size(); ++i) {
            const QChar c = input.at(i);
            if (c == u'-' && i == 0)
                continue;
            if (c == u',' && !point)
                continue;
            if (c == u'.' && !point) {
                point = true;
                continue;
            }
            if (c < u'0' || c > u'9')
                return Invalid;
            if (point ? ++decimals > kDecimals : ++whole > kWholeDigits)
                return Invalid;
        }
        return Acceptable;
    }
};

} // namespace

NumberBox::NumberBox(QWidget* parent) : QLineEdit(parent)
{
    setAttribute(Qt::WA_InputMethodEnabled, false);
    auto* validator = new AmountValidator(this);
    setValidator(validator);
    // A pasted "2,400,000원" brings its number.
    FilterPastes(this, [validator](const QLineEdit& box, const QString& pasted) {
        QString kept;
        for (const QChar c : pasted) {
            if (!(c.isDigit() || c == u',' || c == u'.' || c == u'-'))
                continue;
            QString candidate = TextAfterInsert(box, kept + c);
            int pos = 0;
            if (validator->validate(candidate, pos) == QValidator::Acceptable)
                kept += c;
        }
        return kept;
    });
    setText(formatted(0));
}

QString NumberBox::formatted(double value)
{
    QString text = QString::number(std::fabs(value), 'f', kDecimals);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    for (qsizetype i = (point < 0 ? text.size() : point) - 3; i > 0; i -= 3)
        text.insert(i, QLatin1Char(','));
    const bool negative = value < 0 && text != QLatin1String("0");
    return negative ? QLatin1Char('-') + text : text;
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
    clickSelectsAll_ = event->reason() == Qt::MouseFocusReason;
}

void NumberBox::focusOutEvent(QFocusEvent* event)
{
    takeTypedValue();
    editing_ = false;
    clickSelectsAll_ = false;
    QLineEdit::focusOutEvent(event);
    setText(formatted(value_));
}

void NumberBox::mousePressEvent(QMouseEvent* event)
{
    QLineEdit::mousePressEvent(event);
    if (clickSelectsAll_)
        selectAll();
}

void NumberBox::mouseMoveEvent(QMouseEvent* event)
{
    if (clickSelectsAll_)
        return;
    QLineEdit::mouseMoveEvent(event);
}

void NumberBox::mouseReleaseEvent(QMouseEvent* event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (clickSelectsAll_) {
        clickSelectsAll_ = false;
        selectAll();
    }
}

} // namespace lavodc
