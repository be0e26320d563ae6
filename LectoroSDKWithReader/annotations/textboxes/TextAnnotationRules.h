#pragma once

// The numbers of the text-box chrome that need no views: the action bar's items and
// sizes, the colour pop-up's geometry, where the alignment pop-up sits over the bar, how
// far the bar and the page move for the keyboard, and in which reader modes a box may
// start editing. Each takes the device facts it depends on, so tables can check them;
// the views read those facts afresh at every use (TextBoxDevice::current()).

#include "platform/ui/Geometry.h"

#include <cstdint>
#include <optional>

namespace lectoro::textboxes {

struct TextBoxDevice {
    bool pad = false;
    // The interface (status-bar) orientation.
    bool landscape = false;
    ui::Size screen;

    static TextBoxDevice current();
};

// The action bar and its pop-ups are 58 high on a tablet, 50 on a phone.
double barHeight(const TextBoxDevice&);
// The icon glyphs: 23 on a tablet, 20.8 on a phone.
double glyphSize(const TextBoxDevice&);

// Real items of the action bar: close, alignment, colour, add, save, plus delete when the
// visible pages hold stored boxes, plus the keyboard item on a phone.
int actionBarItemCount(const TextBoxDevice&, bool hasStoredBoxes);
// Width of each of n items: 98 per item on a tablet (added as two halves of 49: the item
// and its spacer), 75 on a phone in landscape, else the whole screen width shared by n
// (truncated). No items: no width.
int actionBarItemWidth(const TextBoxDevice&, int numberOfItems);

// The bar's bottom constant while the keyboard of that height is up: it rests on the
// keyboard, less the home indicator a screen 812 high (34) or 812 wide (22) keeps.
double barBottomConstantForKeyboard(double keyboardHeight, const TextBoxDevice&);

struct PaletteGeometry {
    // unit, row width, swatch margin, swatch width, side inset, swatch (dot) diameter.
    int unit = 0;
    int rowWidth = 0;
    double margin = 0;
    double swatchWidth = 0;
    double inset = 0;
    double swatchSize = 0;
    // Height of a swatch item: 64 on a tablet, 50 on a phone.
    double itemHeight = 0;
};
PaletteGeometry paletteGeometry(const TextBoxDevice&);

// Left edge of the 184-point alignment pop-up so it stands over the bar's alignment item,
// for a bar of n items; 0 for a bar without items.
int alignmentPopupLeft(const TextBoxDevice&, int numberOfItems);
inline constexpr double alignmentPopupWidth = 184;
inline constexpr double alignmentPopupHeight = 58;
inline constexpr double alignmentChoiceWidth = 58;

// How far the page view moves up so the box stays clear of the keyboard area, both in
// the page view's coordinates; none when the box already stands clear by the margin
// (58 on a tablet, 50 on a phone). A box wholly inside the keyboard area always moves.
std::optional<float> pageShiftForTextBox(
    const ui::Rect& box, const ui::Rect& keyboardArea, const TextBoxDevice&);

// A box may start editing only in the normal, audio-player and text-box modes.
bool textBoxMayBeginEditingInMode(uint64_t readerMode);

} // namespace lectoro::textboxes
