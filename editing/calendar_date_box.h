#pragma once
// A date field whose date is changed only through its calendar: every typed character and
// editing key is discarded, and nothing can be pasted or dropped into it. The calendar
// carries a title strip, takes the field's font, and the field's range limits it too. F4 or
// Alt+Down opens it; there the arrows move, Enter picks the date and Esc keeps the old one.

#include <QCalendarWidget>
#include <QDateEdit>

class QLabel;

namespace lavodc {

// A calendar with a title strip above its month bar. Its size holds the strip as well as
// every week row of a month and the weekday row, so that none of them scrolls away.
class TitledCalendar : public QCalendarWidget {
    Q_OBJECT
public:
    TitledCalendar(const QString& title, QWidget* parent = nullptr);

    QLabel* titleStrip() const { return title_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    QLabel* title_;
};

class CalendarDateBox : public QDateEdit {
    Q_OBJECT
public:
    // `calendarTitle` heads the calendar; `format` is the shown date, e.g. "yyyy.MM.dd".
    CalendarDateBox(const QString& calendarTitle, const QString& format, QWidget* parent = nullptr);

    TitledCalendar* calendar() const { return calendar_; }
    // Opens the calendar below the field, as the arrow button does.
    void showCalendar();
    // The focus, with the caret after the last character.
    void focusAtEnd();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    StepEnabled stepEnabled() const override { return StepNone; }

private:
    void caretToEnd();

    TitledCalendar* calendar_;
    QDate openedOn_;   // the date when the calendar opened, for Esc
    bool caretAtEndOnFocus_ = false;
};

} // namespace lavodc
