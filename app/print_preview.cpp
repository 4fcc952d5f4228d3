#include "app/print_preview.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QScreen>
#include <QLabel>
#include <QPixmap>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace lavodc {
namespace {

constexpr std::array<int, 7> kZoomSteps{50, 75, 100, 125, 150, 200, 300};
constexpr double kScreenDpi = 96.0;

QToolButton* makeButton(QWidget* parent, const char* name, const QString& text)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setMinimumWidth(56);
    return button;
}

} // namespace

PrintPreview::PrintPreview(int firstPage, int lastPage, PageRenderer renderer, std::function<void()> print,
                           QWidget* parent)
    : QDialog(parent),
      first_(std::max(1, firstPage)),
      last_(std::max(first_, lastPage)),
      renderPage_(std::move(renderer)),
      print_(std::move(print)),
      page_(first_)
{
    setObjectName(QStringLiteral("PrintPreview"));
    setWindowTitle(QStringLiteral("인쇄 미리보기"));
    resize(1180, 860);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        resize(size().boundedTo(screen->availableSize() * 0.95));

    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(6, 4, 6, 4);
    PriorBtn = makeButton(bar, "PriorBtn", QStringLiteral("◀ 이전 쪽"));
    PageLabel = new QLabel(bar);
    PageLabel->setObjectName(QStringLiteral("PageLabel"));
    PageLabel->setMinimumWidth(90);
    PageLabel->setAlignment(Qt::AlignCenter);
    NextBtn = makeButton(bar, "NextBtn", QStringLiteral("다음 쪽 ▶"));
    ZoomOutBtn = makeButton(bar, "ZoomOutBtn", QStringLiteral("축소"));
    zoomLabel_ = new QLabel(bar);
    zoomLabel_->setMinimumWidth(50);
    zoomLabel_->setAlignment(Qt::AlignCenter);
    ZoomInBtn = makeButton(bar, "ZoomInBtn", QStringLiteral("확대"));
    PrintBtn = makeButton(bar, "PrintBtn", QStringLiteral("인쇄"));
    CloseBtn = makeButton(bar, "CloseBtn", QStringLiteral("닫기"));
    for (QWidget* item : std::initializer_list<QWidget*>{PriorBtn, PageLabel, NextBtn})
        row->addWidget(item);
    row->addSpacing(24);
    for (QWidget* item : std::initializer_list<QWidget*>{ZoomOutBtn, zoomLabel_, ZoomInBtn})
        row->addWidget(item);
    row->addStretch();
    row->addWidget(PrintBtn);
    row->addWidget(CloseBtn);

    sheet_ = new QLabel;
    sheet_->setObjectName(QStringLiteral("PreviewSheet"));
    sheet_->setAlignment(Qt::AlignCenter);
    scroll_ = new QScrollArea(this);
    scroll_->setWidget(sheet_);
    scroll_->setWidgetResizable(true);
    scroll_->setBackgroundRole(QPalette::Dark);
    sheet_->setBackgroundRole(QPalette::Dark);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(bar);
    column->addWidget(scroll_, 1);

    connect(PriorBtn, &QToolButton::clicked, this, [this] { PriorPage(); });
    connect(NextBtn, &QToolButton::clicked, this, [this] { NextPage(); });
    connect(ZoomInBtn, &QToolButton::clicked, this, [this] { ZoomIn(); });
    connect(ZoomOutBtn, &QToolButton::clicked, this, [this] { ZoomOut(); });
    connect(PrintBtn, &QToolButton::clicked, this, [this] {
        if (print_)
            print_();
    });
    connect(CloseBtn, &QToolButton::clicked, this, &QDialog::reject);
    render();
}

void PrintPreview::ShowPage(int pageNumber)
{
    const int page = std::clamp(pageNumber, first_, last_);
    if (page == page_)
        return;
    page_ = page;
    render();
}

void PrintPreview::ZoomIn()
{
    const auto next = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), zoom_);
    if (next != kZoomSteps.end())
        setZoom(*next);
}

void PrintPreview::ZoomOut()
{
    const auto below = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), zoom_);
    if (below != kZoomSteps.begin())
        setZoom(*(below - 1));
}

void PrintPreview::setZoom(int percent)
{
    if (percent == zoom_)
        return;
    zoom_ = percent;
    render();
}

void PrintPreview::render()
{
    shown_ = renderPage_(page_, kScreenDpi * zoom_ / 100.0);
    ++renders_;
    sheet_->setPixmap(QPixmap::fromImage(shown_));
    PageLabel->setText(QStringLiteral("%1 / %2 쪽").arg(page_).arg(last_));
    zoomLabel_->setText(QStringLiteral("%1%").arg(zoom_));
    PriorBtn->setEnabled(page_ > first_);
    NextBtn->setEnabled(page_ < last_);
    ZoomOutBtn->setEnabled(zoom_ > kZoomSteps.front());
    ZoomInBtn->setEnabled(zoom_ < kZoomSteps.back());
}

} // namespace lavodc
