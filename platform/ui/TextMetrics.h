#pragma once

// The deterministic text metric: layout numbers are the same on every machine.
//
// The rule:
//  - Text is measured per UTF-16 unit (a character outside the basic plane counts twice).
//  - Advance width of one unit, as a fraction of the font's point size:
//      0.3  for a space and the narrow characters  . , : ; ! | i l ' (and the tab)
//      0.6  for an upper-case ASCII letter A–Z or an ASCII digit 0–9
//      0.5  for every other unit (lower case, other punctuation, any non-ASCII text)
//    A bold font (semibold and heavier) is 5 % wider: every advance is multiplied by 1.05.
//  - Line height = ceil(pointSize × 1.2).
//  - Attributed text: each unit has its run's font; a unit's box is its font's line
//    height, and the boxes of a line stand on one bottom. A baseline offset of b points
//    lifts a unit's box by b (lowers it for a negative b). A line is as high as the
//    space from the highest box top (tallest height, or a raised box's height + b) to
//    the lowest box bottom (the common bottom, or |b| below it for a lowered box).
//  - "\n" (and "\r\n") end a line and have no width.
//  - Wrapping to a width: words are separated by spaces; a line takes words while they
//    fit, the spaces between them counting; a space where a line breaks is not counted.
//    A word wider than the width on its own is broken by characters (at least one unit
//    per line). Character wrapping breaks anywhere. A width that is not positive or not
//    finite means no wrapping.
//  - Widths are exact (not rounded); views that report sizes round them up themselves.
//
// Examples at 10 points: "Hello" = 6 + 5 + 3 + 3 + 5 = 22 wide, 12 high; "A B" = 15 wide;
// bold "Hello" = 23.1 wide.

#include "platform/base/AttributedString.h"
#include "platform/ui/Color.h"
#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"

#include <string>
#include <vector>

namespace ui {

// The attributed-string vocabulary is shared with platform/base.
using LineBreakMode = base::LineBreakMode;
using TextAlignment = base::TextAlignment;

// Attributed-string data to UI values and back. Weights map by hundreds: 100 ultraLight,
// 200 thin, 300 light, 400 regular, 500 medium, 600 semibold, 700 bold, 800 heavy,
// 900 black. An attribute font without a name is the system font; one without a positive
// size takes the fallback's size.
Font fontFromAttr(const base::FontAttr&, const Font& fallback = Font::systemFont(17));
base::FontAttr fontAttr(const Font&);
FontWeight fontWeightFromNumber(int weight);
int fontWeightNumber(FontWeight);
Color colorFromAttr(const base::ColorAttr&);
base::ColorAttr colorAttr(const Color&);

namespace TextMetrics {

// Advance of one UTF-16 unit (code unit value), at the font's size and weight.
double advanceOfUnit(char16_t unit, const Font&);
// Width of a single line of text (no line breaks considered: they count 0).
double widthOfLine(const std::string& utf8, const Font&);
double lineHeight(const Font&);

// Width of the widest line and the height of all lines ("\n" separated), unwrapped.
// Empty text is one empty line: zero wide, one line high.
Size sizeOfText(const std::string& utf8, const Font&);

// The lines the text wraps into at the width (see the rule above). The truncating and
// clipping modes wrap by words too; they only change how the last visible line ends.
std::vector<std::string> wrapLines(const std::string& utf8, const Font&, double width,
    LineBreakMode = LineBreakMode::ByWordWrapping);
int lineCount(const std::string& utf8, const Font&, double width, LineBreakMode = LineBreakMode::ByWordWrapping);
// lineCount × lineHeight.
double boundingHeight(const std::string& utf8, const Font&, double width,
    LineBreakMode = LineBreakMode::ByWordWrapping);
// Width of the widest wrapped line and the wrapped height; with maxLines > 0 only that
// many lines count.
Size boundingSize(const std::string& utf8, const Font&, double width,
    LineBreakMode = LineBreakMode::ByWordWrapping, int maxLines = 0);

// Attributed text: each unit takes the font of its run (the fallback for units no run
// gives a font). A line is as high as its tallest font's line height.
Size sizeOfText(const base::AttributedString&, const Font& fallback);
double boundingHeight(const base::AttributedString&, const Font& fallback, double width,
    LineBreakMode = LineBreakMode::ByWordWrapping);
Size boundingSize(const base::AttributedString&, const Font& fallback, double width,
    LineBreakMode = LineBreakMode::ByWordWrapping, int maxLines = 0);

// One line of wrapped attributed text: its UTF-16 range (the break that ends it left
// out), width, height, and how far below the line's top the boxes' common bottom lies (a
// unit with baseline offset b is drawn in a box of its line height whose bottom is b
// above that).
struct TextLine {
    base::Range range;
    double width = 0;
    double height = 0;
    double unshiftedBottom = 0;
};
std::vector<TextLine> layoutLines(const base::AttributedString&, const Font& fallback, double width,
    LineBreakMode = LineBreakMode::ByWordWrapping);

} // namespace TextMetrics

} // namespace ui
