#pragma once

// Device rules and small view helpers shared by the bar builders. Sizes are read when a
// view is built: the main screen's width in points and the device idiom (a device that
// does not answer the idiom query counts as a phone).

#include "platform/ui/Color.h"
#include "platform/ui/Font.h"

#include <memory>
#include <optional>
#include <string>

namespace ui {
class Label;
class View;
} // namespace ui

namespace lectoro {

namespace chrome {

bool isPad();
double screenWidth();
// The small phone whose glyphs are drawn smaller.
bool isNarrowPhone();
// A phone whose interface (status bar) orientation is landscape.
bool isLandscapePhone();

// Glyph size of the reader top bar: 23 on a tablet; 16 on a 320-point phone, else 20.8.
double topBarGlyphSize();
// Glyph size of the pen-tool and teacher bars: 22 on a tablet, else as the top bar.
double penToolGlyphSize();
// Glyph size of the bottom bar: as the top bar.
double bottomBarGlyphSize();

// The companion framework's icon font at the size.
ui::Font iconFont(double size);
// The reader's text face at the size; the system face when the reader's face is missing.
ui::Font customFont(double size);

// A colour written as hex text ("#RRGGBB"); absent when the text holds no hex number.
std::optional<ui::Color> colorFromHex(const std::string&);

// A label that takes its place from layout constraints, not from its frame.
std::shared_ptr<ui::Label> makeConstrainedLabel(const std::string& text);
// The theme's colour, or the platform's default black when the theme has none.
void applyTextColor(ui::Label&, const std::optional<ui::Color>&);

} // namespace chrome

} // namespace lectoro
