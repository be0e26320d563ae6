#pragma once

// A screen checked as a person sees it: what is drawn lies on screen and inside what holds
// it, controls and labels do not cover each other, text fits its frame (or is cut the way
// its line-break mode says) and stands out from what is under it, icon glyphs are drawn
// with the icon font, image views show an image and presented panels have a background.
//
// Rules, over the visible views (not hidden, not transparent, not zero-sized, every
// ancestor visible), in window coordinates with half a point of slack:
//   outside     a label, button, image view or control lies outside the window or
//               outside an ancestor's bounds; inside a scroll view the scroll view's
//               content is the limit (what is scrolled away is not lost).
//   overlap     two controls or labels cover each other, unless one is drawn inside the
//               other (a label on its button) or they lie in different layers: a view
//               with a background (opaque or translucent, a dimming overlay) that holds
//               the upper one and not the lower one covers the shared place (a sheet or
//               a help overlay over the screen), or an opaque view drawn between them
//               does.
//   text-fits   a label's text (a button's title is its label) wider or taller than the
//               label at its font, with a line-break mode that neither wraps it into
//               the room nor truncates it.
//   contrast    text against the colour under its centre (the backgrounds drawn before
//               it, translucent ones composited) below 4.5:1 under 18 points, below 3:1
//               from 18 points and for icons. A translucent view drawn over part of the
//               text tints text and ground alike; text that a later layer covers whole
//               (a sheet, a dimming overlay) lies under another screen and is not read.
//               Text over an image or a gradient, and a disabled control's title, are
//               not judged.
//   icon-font   a control's label showing one of the product's icon code points in
//               another font; a digit in a text face is the number it reads as.
//   image       an image view without an image (a button's own image view is left out).
//   background  a presented controller's view (a pop-over, a sheet) without a background
//               of its own or a blur filling it.
//
// Findings a product's own specified values cause are allowed one by one in one file
// (ScreenCheckAllowList): each line "rule | screen | views | reason"; a finding is
// allowed when its rule matches, the screen and views fields are each contained in the
// finding's (empty matches all), and a reason is given.
//
// Tests assert with uitest::screenPasses (ScreenCheckAssertion.h).

#include <memory>
#include <map>
#include <string>
#include <vector>

namespace ui {
class View;
class ViewController;
}

namespace uitest {

struct ScreenFinding {
    std::string rule;
    // The views involved, named as "Class#identifier "text"" with their path.
    std::string views;
    std::string detail;

    std::string description() const;
};

struct ScreenCheckConfig {
    // The face name the icon glyphs are drawn with, and the code points the product writes
    // as icons (UTF-8 strings), each with its icon's name.
    std::string iconFontName;
    std::map<std::string, std::string> iconGlyphs;
};

// What the product under test declares once (its icon font); tests start with none.
ScreenCheckConfig& screenCheckConfig();

// The icons of a table with a line "U+XXXX  icon_name  ..." for each code point the product
// writes as an icon (other lines are skipped).
std::map<std::string, std::string> iconGlyphsFromTable(const std::string& text);

class ScreenCheckAllowList {
public:
    struct Entry {
        std::string rule;
        std::string screen;
        std::string views;
        std::string reason;
    };

    // Lines "rule | screen | views | reason"; blank lines and lines starting with '#' are
    // skipped; a line without a reason is refused (listed in errors()).
    static ScreenCheckAllowList parse(const std::string& text);
    static ScreenCheckAllowList fromFile(const std::string& path);

    bool allows(const std::string& screen, const ScreenFinding&) const;
    const std::vector<Entry>& entries() const { return m_entries; }
    const std::vector<std::string>& errors() const { return m_errors; }

private:
    std::vector<Entry> m_entries;
    std::vector<std::string> m_errors;
};

// Every finding on the views under `root` (a window, or any view checked as a screen).
std::vector<ScreenFinding> checkScreen(const ui::View& root);
// The background rule over the controllers presented from `presenter` on.
std::vector<ScreenFinding> checkPresentedBackgrounds(const ui::ViewController& presenter);

// The findings on the window (and the controllers presented from `presenter`, when given)
// that the allow list does not allow for the named screen.
std::vector<ScreenFinding> unallowedFindings(const ui::View& root, const std::string& screenName,
    const ScreenCheckAllowList& = {}, const ui::ViewController* presenter = nullptr);

} // namespace uitest
