#include "report/form_renderer.h"

#include "core/address_layout.h"
#include "core/cp949.h"
#include "core/quorva_lib.h"
#include "report/report_filling.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>

namespace lavodc::report {
namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kPointsPerInch = 72.0;
constexpr int kMeasureDpi = 1200;
constexpr double kDotMm = 0.35;

// A stored text cut inside a double-byte character prints without the half of it.
QString toQString(std::string_view cp949)
{
    return QString::fromStdString(fromCp949(WithoutDanglingHalf(cp949)));
}

// A paint device only for measuring text, at the resolution of the PDF output.
const QImage& measuringDevice()
{
    static const QImage image = [] {
        QImage img(1, 1, QImage::Format_RGB32);
        const int dotsPerMeter = static_cast<int>(kMeasureDpi / kMmPerInch * 1000.0 + 0.5);
        img.setDotsPerMeterX(dotsPerMeter);
        img.setDotsPerMeterY(dotsPerMeter);
        return img;
    }();
    return image;
}

bool sameFont(const FontSpec& a, const FontSpec& b)
{
    return a.face == b.face && a.points == b.points && a.style == b.style;
}

} // namespace

QFont FontFor(const FontSpec& spec)
{
    QFont font(spec.face == FontFace::Gulim ? QStringLiteral("NanumGothic") : QStringLiteral("NanumMyeongjo"));
    font.setPointSizeF(spec.points);
    font.setBold(spec.style == FontStyle::Bold);
    font.setItalic(spec.style == FontStyle::Italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    return font;
}

QtTextWidths::QtTextWidths(const FontSpec& spec) : metrics_(FontFor(spec), &measuringDevice())
{
    // The form was drawn for faces whose text height is their em size; Nanum's taller
    // ascent and descent would push second lines out of the two-line boxes.
    lineHeight_ = spec.points * kMmPerInch / kPointsPerInch;
    const double ascent = metrics_.ascent();
    const double total = ascent + metrics_.descent();
    baseline_ = total > 0 ? lineHeight_ * ascent / total : lineHeight_;
}

double QtTextWidths::TextWidth(std::string_view cp949) const
{
    if (cp949.empty())
        return 0;
    std::string key(cp949);
    if (auto it = cache_.find(key); it != cache_.end())
        return it->second;
    const double width = metrics_.horizontalAdvance(toQString(cp949)) * kMmPerInch / kMeasureDpi;
    cache_.emplace(std::move(key), width);
    return width;
}

struct FormRenderer::Device {
    QPainter& painter;
    double pxPerMm;
    double originLeft;
    double originTop;

    QPointF point(double x, double y) const
    {
        return {(originLeft + x) * pxPerMm, (originTop + y) * pxPerMm};
    }
    QRectF rect(const BoxMm& box, double bandTop) const
    {
        return {point(box.left, bandTop + box.top), QSizeF(box.width * pxPerMm, box.height * pxPerMm)};
    }
};

FormRenderer::FormRenderer() : layout_(ReportFormLayout()), plan_(PlanPage(layout_)) {}

FormRenderer::~FormRenderer() = default;

const QtTextWidths& FormRenderer::widthsFor(const FontSpec& spec) const
{
    for (const auto& [key, widths] : widths_)
        if (sameFont(key, spec))
            return *widths;
    widths_.emplace_back(spec, std::make_unique<QtTextWidths>(spec));
    return *widths_.back().second;
}

std::vector<std::string> FormRenderer::VisibleLines(const TextItem& item, std::string_view text) const
{
    if (text.empty())
        return {};
    const QtTextWidths& widths = widthsFor(item.font);
    if (item.addressAndPhone) {
        const auto [address, phone] = AddressAndPhone(text);
        return AddressBoxLines(address, phone, item.box.width,
                               VisibleLineCount(item.box.height, widths.LineHeight()),
                               [&widths](std::string_view run) { return widths.TextWidth(run); });
    }
    std::vector<std::string> lines = BreakLines(text, item.box.width, widths, item.lines);
    const auto shown = static_cast<std::size_t>(VisibleLineCount(item.box.height, widths.LineHeight()));
    if (lines.size() > shown)
        lines.resize(shown);
    return lines;
}

void FormRenderer::DrawPage(QPainter& painter, double originLeft, double originTop, const PageContent& page,
                            const LabelTextLookup& headerText) const
{
    const double dpi = painter.device()->logicalDpiY();
    Device device{painter, dpi / kMmPerInch, originLeft, originTop};

    painter.save();
    painter.resetTransform();
    painter.setRenderHint(QPainter::Antialiasing, false);

    const std::string pageNumber = std::to_string(page.pageNumber);
    const auto captionOrLabel = [&](const TextItem& item) -> std::string {
        if (item.label.empty())
            return item.caption;
        if (item.label == kPageNumberLabel)
            return PrintTimeText(item.label, pageNumber);
        return PrintTimeText(item.label, headerText(item.label));
    };
    drawBand(device, layout_.pageHeader, plan_.pageHeaderTop, captionOrLabel);
    drawBand(device, layout_.columnHeader, plan_.columnHeaderTop, captionOrLabel);

    static const DetailTexts blankRow{};
    for (std::size_t i = 0; i < plan_.detailTops.size(); ++i) {
        const DetailTexts& row = i < page.rows.size() ? page.rows[i] : blankRow;
        drawBand(device, layout_.detail, plan_.detailTops[i], [&](const TextItem& item) -> std::string {
            const int index = DetailLabelIndex(item.label);
            return index < 0 ? item.caption : PrintTimeText(item.label, row[index]);
        });
    }
    drawBand(device, layout_.pageFooter, plan_.pageFooterTop, captionOrLabel);
    painter.restore();
}

void FormRenderer::drawBand(Device& device, const Band& band, double top,
                            const std::function<std::string(const TextItem&)>& textOf) const
{
    QPainter& painter = device.painter;
    QPen outline(Qt::black);
    outline.setWidth(0);   // the thinnest line the device draws
    outline.setCosmetic(true);
    painter.setPen(outline);
    painter.setBrush(Qt::white);
    for (const BoxMm& box : band.rects)
        painter.drawRect(device.rect(box, top));

    for (const LineItem& line : band.lines) {
        QPen pen = outline;
        if (line.style == LineStyle::Dotted) {
            const double dot = std::max(1.0, kDotMm * device.pxPerMm);
            pen.setDashPattern({dot, dot});
        }
        painter.setPen(pen);
        const double y = top + line.box.top + line.box.height / 2;
        painter.drawLine(device.point(line.box.left, y), device.point(line.box.left + line.box.width, y));
    }

    for (const TextItem& item : band.texts) {
        const std::string text = textOf(item);
        if (!text.empty())
            drawText(device, item, top, text);
    }
}

// Each run of non-blank characters is drawn on its own at its measured place: blank
// glyphs would reach the PDF with a wrong Unicode mapping and spoil copying and search.
void FormRenderer::drawWords(Device& device, const QtTextWidths& widths, std::string_view line, double left,
                             double baseline) const
{
    std::size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && line[pos] == ' ')
            ++pos;
        std::size_t end = pos;
        while (end < line.size() && line[end] != ' ')
            end += Cp949CharLength(line, end);
        if (end > pos) {
            const double x = left + widths.TextWidth(line.substr(0, pos));
            device.painter.drawText(device.point(x, baseline), toQString(line.substr(pos, end - pos)));
        }
        pos = end;
    }
}

bool FormRenderer::drawCondensed(Device& device, const QtTextWidths& widths, const TextItem& item, double lineTop,
                                 std::string_view text) const
{
    const std::string whole = Trim(text);
    const double width = widths.TextWidth(whole);
    if (whole.empty() || width <= item.box.width)
        return false;
    // Squeezed horizontally about the box's left edge, so the text stays real text in a PDF.
    const double factor = item.box.width / width;
    QPainter& painter = device.painter;
    painter.save();
    const QPointF origin = device.point(item.box.left, 0);
    painter.translate(origin.x(), 0);
    painter.scale(factor, 1.0);
    painter.translate(-origin.x(), 0);
    drawWords(device, widths, whole, item.box.left, lineTop + widths.BaselineOffset());
    painter.restore();
    return true;
}

void FormRenderer::drawText(Device& device, const TextItem& item, double bandTop, std::string_view text) const
{
    const QtTextWidths& widths = widthsFor(item.font);
    QPainter& painter = device.painter;
    painter.setPen(Qt::black);
    painter.setFont(FontFor(item.font));

    double lineTop = bandTop + item.box.top;
    if (item.keepWhole && drawCondensed(device, widths, item, lineTop, text))
        return;
    for (const std::string& line : VisibleLines(item, text)) {
        const std::string_view visible = VisiblePart(line);
        if (item.addressAndPhone && drawCondensed(device, widths, item, lineTop, visible)) {
            lineTop += widths.LineHeight();
            continue;
        }
        const double width = widths.TextWidth(visible);
        double x = item.box.left;
        if (item.align == TextAlign::Centre)
            x += (item.box.width - width) / 2;
        else if (item.align == TextAlign::Right)
            x += item.box.width - width;
        drawWords(device, widths, visible, x, lineTop + widths.BaselineOffset());
        lineTop += widths.LineHeight();
    }
}

} // namespace lavodc::report
