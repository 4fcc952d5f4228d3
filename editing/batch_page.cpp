#include "editing/batch_page.h"

#include "core/batch_marks.h"
#include "core/month_calendar.h"
#include "core/worker_table.h"
#include "editing/batch_grid.h"
#include "editing/box_text.h"
#include "editing/calendar_date_box.h"
#include "editing/input_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace lavodc {

namespace {

constexpr int kBarHeight = 30;
constexpr int kBoxHeight = 22;

} // namespace

BatchDateChoice ChooseBatchDate(std::string_view yearText, std::string_view monthText, const QDate& today)
{
    const std::optional<HeaderMonth> named = MonthOfHeader(yearText, monthText);
    // A date field holds no year before 100.
    if (!named || named->year < 100)
        return {today, QDate(), QDate()};
    const QDate first(named->year, named->month, 1);
    const QDate last(named->year, named->month, named->days);
    return {QDate(named->year, named->month, qMin(today.day(), named->days)), first, last};
}

BatchPage::BatchPage(TInPutf& frame, WorkerTable& table, Prompts& prompts, std::function<void()> markModified)
    : QWidget(frame.shet01), frame_(frame), table_(table), markModified_(std::move(markModified))
{
    setObjectName(QStringLiteral("BatchPage"));
    auto* fill = new QVBoxLayout(frame.shet01);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(this);
    DayGrid = new BatchGrid(table, prompts, this);
    build();
    // The grid's columns are as wide as the font needs; the frame grows to show them whole.
    if (DayGrid->fullWidth() > frame_.width())
        frame_.resize(DayGrid->fullWidth(), frame_.height());
}

void BatchPage::build()
{
    DayCaption = new QLabel(QStringLiteral("처리일자"), this);
    DayCaption->setGeometry(6, 4, 52, kBoxHeight);

    CmbDay = new CalendarDateBox(QStringLiteral("처리일자를 선택하세요."), QStringLiteral("yyyy.MM.dd"), this);
    CmbDay->setObjectName(QStringLiteral("CmbDay"));
    CmbDay->setGeometry(60, 4, 100, kBoxHeight);
    CmbDay->setToolTip(QStringLiteral("근태처리일자를 변경할 수 있습니다."));
    CmbDay->setStatusTip(CmbDay->toolTip());
    connect(CmbDay, &QDateEdit::dateChanged, this, [this] { CmbDayChange(); });

    AllDtBtn = new QPushButton(QStringLiteral("일괄처리"), this);
    AllDtBtn->setObjectName(QStringLiteral("AllDtBtn"));
    AllDtBtn->setGeometry(168, 3, 80, kBoxHeight + 2);
    AllDtBtn->setAutoDefault(false);   // Enter in the grid is the grid's
    AllDtBtn->setToolTip(QStringLiteral("작업공수를 일괄처리 합니다."));
    AllDtBtn->setStatusTip(AllDtBtn->toolTip());
    connect(AllDtBtn, &QPushButton::clicked, this, [this] { AllDtBtnClick(); });

    mExit1 = new QToolButton(this);
    mExit1->setObjectName(QStringLiteral("mExit1"));
    mExit1->setText(QStringLiteral("닫기"));
    mExit1->setAutoRaise(true);
    mExit1->setFocusPolicy(Qt::NoFocus);
    mExit1->setGeometry(0, 3, 44, kBoxHeight + 2);
    mExit1->setToolTip(QStringLiteral("현재의 창을 닫습니다."));
    mExit1->setStatusTip(mExit1->toolTip());
    frame_.keepFromRight(mExit1, 50);
    connect(mExit1, &QToolButton::clicked, &frame_, &TInPutf::mExit0Click);

    DayGrid->setObjectName(QStringLiteral("DayGrid"));
    DayGrid->setToolTip(QStringLiteral("개별 공수 처리는 Enter  또는 DblClick / 닫기 Esc"));
    DayGrid->setStatusTip(DayGrid->toolTip());
    connect(DayGrid, &BatchGrid::daysEdited, this, [this] { markModified_(); });

    setTabOrder(CmbDay, AllDtBtn);
    setTabOrder(AllDtBtn, DayGrid);
}

void BatchPage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    DayGrid->setGeometry(0, kBarHeight, qMin(width(), DayGrid->fullWidth()), qMax(0, height() - kBarHeight));
}

void BatchPage::prepare(std::string_view yearText, std::string_view monthText, const QDate& today)
{
    const BatchDateChoice choice = ChooseBatchDate(yearText, monthText, today);
    if (choice.first.isValid()) {
        CmbDay->setDateRange(choice.first, choice.last);
    } else {
        CmbDay->clearMinimumDate();
        CmbDay->clearMaximumDate();
    }
    CmbDay->setDate(choice.date);
    // Putting the text in runs the date change, also when the date was already there.
    CmbDayChange();
}

void BatchPage::CmbDayChange()
{
    const int day = DayIndexOfDateText(TypedBytes(CmbDay->text()));
    if (day < 0)
        return;
    DayGrid->showDay(day);
    CmbDay->focusAtEnd();
}

void BatchPage::AllDtBtnClick()
{
    DayGrid->selectColumn(BatchGrid::kDayColumn);
    MarkDayForEveryone(table_, DayGrid->shownDay());
    markModified_();
}

} // namespace lavodc
