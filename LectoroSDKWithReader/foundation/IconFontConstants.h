#pragma once

#include "platform/base/AttributedString.h"
#include "platform/ui/Color.h"
#include "platform/ui/Font.h"

#include <optional>
#include <string>

namespace lectoro {

// The icon font's name, and the snippets of the search results list: the first 300 UTF-16
// units of a hit's text with the searched word coloured.
class IconFontConstants {
public:
    static constexpr size_t snippetLength = 300;

    // The icon font's face name when its file is in the host's bundle; otherwise the missing
    // font is logged and the answer is empty.
    static std::string getFontForCharacter(const std::string& character = {});

    // Every case-insensitive occurrence of the word is coloured.
    static base::AttributedString getNSAttributedCoreTextStringFromDisplayString(const std::string& displayString,
        const std::string& searchString, const ui::Color& searchTextColor, const ui::Color& textColor);
    // Only whole-word occurrences written exactly as the word (a space on each side, both
    // coloured) are.
    static base::AttributedString getCaseSensitiveNSAttributedCoreTextStringFromDisplayString(const std::string& displayString,
        const std::string& searchString, const ui::Color& searchTextColor, const ui::Color& textColor);
    // As the first, in the given font (or the fallback face without one).
    static base::AttributedString getNSAttributedCoreTextStringFromDisplayString(const std::string& displayString,
        const std::string& searchString, const ui::Color& searchTextColor, const ui::Color& textColor,
        const std::optional<ui::Font>& font);

    // The cut and the endings every snippet gets.
    static std::string snippetText(const std::string& displayString);

    static base::FontAttr fontAttr(const ui::Font&);
    static base::ColorAttr colorAttr(const ui::Color&);
};

} // namespace lectoro
