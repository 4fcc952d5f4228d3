#pragma once
// Draws one page of the form in millimetres on any QPainter device: a PDF writer, a
// printer or an image. Layout, texts and rules come from outside; this only paints.

#include "report/form_layout.h"
#include "report/line_breaker.h"
#include "report/page_composer.h"

#include <QFont>
#include <QFontMetricsF>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class QPainter;

namespace lavodc::report {

// The Hangul faces on this platform, in the size and style of a layout font.
QFont FontFor(const FontSpec& spec);

// Widths measured at a fixed high resolution, so every device breaks lines alike.
class QtTextWidths : public TextWidthSource {
public:
    explicit QtTextWidths(const FontSpec& spec);
    double TextWidth(std::string_view cp949) const override;
    double LineHeight() const { return lineHeight_; }       // millimetres
    double BaselineOffset() const { return baseline_; }     // from the top of a line

private:
    QFontMetricsF metrics_;
    double lineHeight_ = 0;
    double baseline_ = 0;
    mutable std::unordered_map<std::string, double> cache_;
};

// The stored text of a page header or footer label.
using LabelTextLookup = std::function<std::string(std::string_view label)>;

class FormRenderer {
public:
    FormRenderer();
    ~FormRenderer();

    // `origin` is the top-left corner of the printable area in millimetres from the
    // paper's corner; `painter` draws on a device whose logical DPI maps millimetres.
    void DrawPage(QPainter& painter, double originLeft, double originTop, const PageContent& page,
                  const LabelTextLookup& headerText) const;

    // The lines a text box shows, after its rules: what a reader of the page sees.
    std::vector<std::string> VisibleLines(const TextItem& item, std::string_view text) const;

private:
    struct Device;
    void drawBand(Device& device, const Band& band, double top,
                  const std::function<std::string(const TextItem&)>& textOf) const;
    void drawText(Device& device, const TextItem& item, double bandTop, std::string_view text) const;
    bool drawCondensed(Device& device, const QtTextWidths& widths, const TextItem& item, double lineTop,
                       std::string_view text) const;
    void drawWords(Device& device, const QtTextWidths& widths, std::string_view line, double left,
                   double baseline) const;
    const QtTextWidths& widthsFor(const FontSpec& spec) const;

    const FormLayout& layout_;
    PagePlan plan_;
    mutable std::vector<std::pair<FontSpec, std::unique_ptr<QtTextWidths>>> widths_;
};

} // namespace lavodc::report
