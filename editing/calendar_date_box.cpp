#include "editing/calendar_date_box.h"

#include <QApplication>
#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionComboBox>

namespace lavodc {

TitledCalendar::TitledCalendar(const QString& title, QWidget* parent)
    : QCalendarWidget(parent), title_(new QLabel(title, this))
{
    setWindowTitle(title);
    setGridVisible(true);
    // Month and weekday names in Korean, weeks from Sunday, whatever the system's language.
    setLocale(QLocale(QLocale::Korean, QLocale::SouthKorea));
    title_->setObjectName(QStringLiteral("CalendarTitle"));
    title_->setAutoFillBackground(true);
    title_->setContentsMargins(4, 2, 4, 2);
    QPalette strip = title_->palette();
    strip.setColor(QPalette::Window, QColor(0, 0, 160));
    strip.setColor(QPalette::WindowText, Qt::white);
    title_->setPalette(strip);
    // Only the weight is the strip's own; face and size follow the calendar's font.
    QFont bold;
    bold.setBold(true);
    title_->setFont(bold);
    if (auto* column = qobject_cast<QBoxLayout*>(layout()))
        column->insertWidget(0, title_);
}

QSize TitledCalendar::minimumSizeHint() const
{
    const QSize calendar = QCalendarWidget::minimumSizeHint();
    const QSize title = title_->sizeHint();
    return QSize(qMax(calendar.width(), title.width()), calendar.height() + title.height());
}

QSize TitledCalendar::sizeHint() const
{
    return minimumSizeHint();
}

CalendarDateBox::CalendarDateBox(const QString& calendarTitle, const QString& format, QWidget* parent)
    : QDateEdit(parent), calendar_(new TitledCalendar(calendarTitle))
{
    setDisplayFormat(format);
    setCalendarPopup(true);
    setCalendarWidget(calendar_);
    calendar_->window()->setWindowTitle(calendarTitle);
    // The pop-up is a window of its own: it would not inherit the field's font.
    calendar_->setFont(font());
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    QLineEdit* text = lineEdit();
    text->setAttribute(Qt::WA_InputMethodEnabled, false);
    text->setContextMenuPolicy(Qt::NoContextMenu);
    text->setAcceptDrops(false);
    text->installEventFilter(this);
    calendar_->window()->installEventFilter(this);
}

void CalendarDateBox::showCalendar()
{
    QStyleOptionComboBox option;
    option.initFrom(this);
    option.editable = true;
    option.subControls = QStyle::SC_All;
    const QRect arrow = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this);
    const QPointF at = arrow.center();
    QMouseEvent press(QEvent::MouseButtonPress, at, mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(this, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(this, &release);
}

void CalendarDateBox::focusAtEnd()
{
    // A box in a window not yet shown gets the focus later; the caret goes to the end then.
    caretAtEndOnFocus_ = !hasFocus();
    setFocus(Qt::OtherFocusReason);
    caretToEnd();
}

void CalendarDateBox::caretToEnd()
{
    QLineEdit* text = lineEdit();
    text->deselect();
    text->setCursorPosition(int(text->text().size()));
}

void CalendarDateBox::keyPressEvent(QKeyEvent* event)
{
    const bool alt = event->modifiers() & Qt::AltModifier;
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Enter:
    case Qt::Key_Return:
        event->ignore();   // the dialog's: Esc closes it
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        QDateEdit::keyPressEvent(event);
        return;
    case Qt::Key_F4:
        showCalendar();
        event->accept();
        return;
    case Qt::Key_Down:
    case Qt::Key_Up:
        if (alt)
            showCalendar();
        event->accept();
        return;
    default:
        // Typed characters, Backspace, Delete, paste and undo: the date changes only in the
        // calendar.
        event->accept();
        return;
    }
}

void CalendarDateBox::inputMethodEvent(QInputMethodEvent* event)
{
    event->ignore();
}

void CalendarDateBox::wheelEvent(QWheelEvent* event)
{
    event->ignore();
}

void CalendarDateBox::focusInEvent(QFocusEvent* event)
{
    QDateEdit::focusInEvent(event);
    if (caretAtEndOnFocus_) {
        caretAtEndOnFocus_ = false;
        caretToEnd();
    }
}

void CalendarDateBox::changeEvent(QEvent* event)
{
    QDateEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        calendar_->setFont(font());
}

bool CalendarDateBox::eventFilter(QObject* watched, QEvent* event)
{
    // Each arrow in the calendar already sets the date; Esc puts back the one it opened on.
    if (watched == calendar_->window()) {
        if (event->type() == QEvent::Show)
            openedOn_ = date();
        else if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            setDate(openedOn_);
        return QDateEdit::eventFilter(watched, event);
    }
    if (watched == lineEdit()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            // The middle button pastes the selection on X11.
            if (static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton)
                return true;
            break;
        case QEvent::InputMethod:
        case QEvent::Drop:
        case QEvent::DragEnter:
            return true;
        default:
            break;
        }
    }
    return QDateEdit::eventFilter(watched, event);
}

} // namespace lavodc
