// The shadow caption: where the shadow lands, how a disabled caption looks, and that the
// setters repaint only on a change. Pictures are rendered without antialiasing so that
// every pixel is either background, shadow or text.
#include "services/sd_label.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace lavodc {
namespace {

const QColor kBackground(0, 128, 0);
const QColor kTextColor(0, 0, 64);
const QColor kShadow(255, 255, 255);

void styleForPixels(TSdLabel& label)
{
    QFont font(QStringLiteral("NanumGothic"));
    font.setPixelSize(16);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    label.setFont(font);
    QPalette pal = label.palette();
    pal.setColor(QPalette::WindowText, kTextColor);
    label.setPalette(pal);
    label.resize(80, 30);
}

QImage render(TSdLabel& label)
{
    QImage image(label.size(), QImage::Format_RGB32);
    image.fill(kBackground);
    label.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);   // transparent label
    return image;
}

// Pixels the caption covers when drawn alone at the label's origin.
QImage glyphMask(const QString& text)
{
    TSdLabel label(text);
    styleForPixels(label);
    label.SetShadowColor(Qt::transparent);
    label.SetShadowDepth(0);
    return render(label);
}

bool covered(const QImage& mask, int x, int y)
{
    return x >= 0 && y >= 0 && x < mask.width() && y < mask.height() && QColor(mask.pixel(x, y)) != kBackground;
}

// Shadow first, text over it; offsets are those of each drawing from the origin.
QImage expectedPicture(const QImage& mask, QPoint shadowOffset, QPoint textOffset, const QColor& textColor)
{
    QImage expected(mask.size(), QImage::Format_RGB32);
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x) {
            QColor c = kBackground;
            if (covered(mask, x - shadowOffset.x(), y - shadowOffset.y()))
                c = kShadow;
            if (covered(mask, x - textOffset.x(), y - textOffset.y()))
                c = textColor;
            expected.setPixel(x, y, c.rgb());
        }
    return expected;
}

int differingPixels(const QImage& a, const QImage& b)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

int pixelsOf(const QImage& image, const QColor& color)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += QColor(image.pixel(x, y)) == color;
    return count;
}

TEST(TSdLabel, Defaults)
{
    TSdLabel label;
    EXPECT_EQ(label.ShadowDepth(), 3);
    EXPECT_EQ(label.ShadowDirection(), sdDnRight);
    EXPECT_EQ(label.ShadowColor(), label.palette().color(QPalette::Dark));
    EXPECT_TRUE(label.Transparent());
}

struct Placement {
    TShadowDirection direction;
    int depth;
    QPoint shadowOffset;
    QPoint textOffset;
};

void PrintTo(const Placement& p, std::ostream* os)
{
    *os << "direction " << p.direction << " depth " << p.depth;
}

class ShadowPlacement : public ::testing::TestWithParam<Placement> {};

TEST_P(ShadowPlacement, DrawsShadowThenTextAtTheirOffsets)
{
    const Placement& p = GetParam();
    const QString caption = QStringLiteral("주민No");
    const QImage mask = glyphMask(caption);
    ASSERT_GT(pixelsOf(mask, kTextColor), 30);

    TSdLabel label(caption);
    styleForPixels(label);
    label.SetShadowColor(kShadow);
    label.SetShadowDirection(p.direction);
    label.SetShadowDepth(p.depth);
    const QImage picture = render(label);
    EXPECT_EQ(differingPixels(picture, expectedPicture(mask, p.shadowOffset, p.textOffset, kTextColor)), 0)
        << "direction " << p.direction << " depth " << p.depth;
    EXPECT_GT(pixelsOf(picture, kShadow), 0);
}

INSTANTIATE_TEST_SUITE_P(Directions, ShadowPlacement, ::testing::Values(
    // One pixel below and one pixel left of the caption.
    Placement{sdDnLeft, 1, {0, 1}, {1, 0}},
    Placement{sdDnRight, 1, {1, 1}, {0, 0}},
    Placement{sdUpLeft, 1, {0, 0}, {1, 1}},
    Placement{sdUpRight, 1, {1, 0}, {0, 1}},
    Placement{sdDnRight, 3, {3, 3}, {0, 0}},
    Placement{sdUpLeft, 3, {0, 0}, {3, 3}}));

TEST(TSdLabel, DepthZeroHidesTheShadowUnderTheCaption)
{
    TSdLabel label(QStringLiteral("위쪽여백"));
    styleForPixels(label);
    label.SetShadowColor(kShadow);
    label.SetShadowDirection(sdUpRight);
    label.SetShadowDepth(0);
    const QImage picture = render(label);
    EXPECT_EQ(pixelsOf(picture, kShadow), 0);
    EXPECT_EQ(differingPixels(picture, glyphMask(QStringLiteral("위쪽여백"))), 0);
}

TEST(TSdLabel, DisabledCaptionIsGreyOverTheSameShadow)
{
    const QString caption = QStringLiteral("사업주대표");
    const QColor grey = QApplication::palette().color(QPalette::Disabled, QPalette::WindowText);
    ASSERT_NE(grey, kTextColor);
    ASSERT_NE(grey, kShadow);

    TSdLabel label(caption);
    styleForPixels(label);
    label.SetShadowColor(kShadow);
    label.SetShadowDirection(sdDnLeft);
    label.SetShadowDepth(1);
    label.setEnabled(false);
    const QImage picture = render(label);
    EXPECT_EQ(differingPixels(picture, expectedPicture(glyphMask(caption), {0, 1}, {1, 0}, grey)), 0);
    EXPECT_EQ(pixelsOf(picture, kTextColor), 0);
}

TEST(TSdLabel, AmpersandIsLiteralWhenAcceleratorsAreOff)
{
    TSdLabel literal(QStringLiteral("A&B"));
    styleForPixels(literal);
    literal.SetShowAccelChar(false);
    TSdLabel escaped(QStringLiteral("A&&B"));   // "&&" draws one '&' when accelerators are on
    styleForPixels(escaped);
    TSdLabel underlined(QStringLiteral("A&B"));
    styleForPixels(underlined);

    EXPECT_EQ(differingPixels(render(literal), render(escaped)), 0);
    EXPECT_GT(differingPixels(render(literal), render(underlined)), 0);
}

TEST(TSdLabel, LongCaptionWrapsAtWords)
{
    TSdLabel label(QStringLiteral("고용 관리 책임자"));
    styleForPixels(label);
    label.resize(50, 60);
    label.SetShadowColor(kShadow);
    label.SetShadowDirection(sdDnRight);
    label.SetShadowDepth(1);
    const QImage picture = render(label);
    auto rowHasText = [&](int y) {
        for (int x = 0; x < picture.width(); ++x)
            if (QColor(picture.pixel(x, y)) == kTextColor)
                return true;
        return false;
    };
    // Text on the first line and again further down: more than one line.
    int lines = 0;
    bool inLine = false;
    for (int y = 0; y < picture.height(); ++y) {
        const bool has = rowHasText(y);
        lines += has && !inLine;
        inLine = has;
    }
    EXPECT_GE(lines, 2);
}

class CountingLabel : public TSdLabel {
public:
    using TSdLabel::TSdLabel;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        ++paints;
        TSdLabel::paintEvent(event);
    }
};

TEST(TSdLabel, SettersRepaintOnlyOnAChange)
{
    CountingLabel label(QStringLiteral("년"));
    label.resize(40, 20);
    label.show();
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    auto paintsAfter = [&](auto change) {
        label.paints = 0;
        change();
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
        return label.paints;
    };

    EXPECT_EQ(paintsAfter([&] { label.SetShadowDepth(1); }), 1);
    EXPECT_EQ(paintsAfter([&] { label.SetShadowDepth(1); }), 0);
    EXPECT_EQ(paintsAfter([&] { label.SetShadowColor(kShadow); }), 1);
    EXPECT_EQ(paintsAfter([&] { label.SetShadowColor(kShadow); }), 0);
    EXPECT_EQ(paintsAfter([&] { label.SetShadowDirection(sdDnLeft); }), 1);
    EXPECT_EQ(paintsAfter([&] { label.SetShadowDirection(sdDnLeft); }), 0);
    EXPECT_EQ(label.ShadowDepth(), 1);
    EXPECT_EQ(label.ShadowColor(), kShadow);
    EXPECT_EQ(label.ShadowDirection(), sdDnLeft);
}

} // namespace
} // namespace lavodc
