#pragma once
// The official form as data: bands of rectangles, lines and text boxes in millimetres,
// each measured from the top-left corner of its band. Nothing here draws.

#include <string>
#include <vector>

namespace lavodc::report {

enum class FontFace { Gulim, Batang };   // the sans-serif and the serif Hangul face
enum class FontStyle { Regular, Bold, Italic };

struct FontSpec {
    FontFace face = FontFace::Gulim;
    double points = 9.0;
    FontStyle style = FontStyle::Regular;
};

enum class TextAlign { Left, Centre, Right };
enum class LineRule { OneLine, Wrap };
enum class LineStyle { Solid, Dotted };

struct BoxMm {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

// A horizontal line across its box at the box's vertical centre.
struct LineItem {
    BoxMm box;
    LineStyle style = LineStyle::Solid;
};

// A fixed caption (CP949) or, when `label` is set, the text of that data label.
struct TextItem {
    BoxMm box;
    FontSpec font;
    TextAlign align = TextAlign::Left;
    LineRule lines = LineRule::OneLine;
    std::string caption;
    std::string label;
    // An amount or a figure with its unit is never cut or wrapped away: one that is wider
    // than its box is drawn condensed to the box's width on its first line.
    bool keepWhole = false;
    // The address box: address and telephone laid out on their own lines, each line wider
    // than the box drawn condensed, never cut.
    bool addressAndPhone = false;
};

enum class BandKind { PageHeader, ColumnHeader, Detail, PageFooter };

// Rectangles and lines are drawn first, in their order, then the texts.
struct Band {
    BandKind kind = BandKind::Detail;
    double height = 0;
    std::vector<BoxMm> rects;
    std::vector<LineItem> lines;
    std::vector<TextItem> texts;
};

struct FormLayout {
    double paperWidth = 297.0;    // A4 landscape
    double paperHeight = 210.0;
    double areaWidth = 271.0;     // the printable area between the default margins
    double areaHeight = 186.0;
    Band pageHeader;
    Band columnHeader;
    Band detail;
    Band pageFooter;
};

// The form TPtqLvodocf, built once.
const FormLayout& ReportFormLayout();

} // namespace lavodc::report
