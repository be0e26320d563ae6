#pragma once

// Colours, fonts and texts the My Data screens share: an unset theme colour draws nothing,
// a missing custom font falls back to the system's, icons use the icon font.

#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVIconFontConstants.h"
#include "platform/base/Value.h"
#include "platform/ui/Color.h"
#include "platform/ui/Font.h"
#include "platform/ui/ViewController.h"

#include <optional>
#include <string>
#include <vector>

namespace lectoro::mydata {

inline ui::Color colour(const std::optional<ui::Color>& value)
{
    return value.value_or(ui::Color::clear());
}

inline ui::Font customFont(double size)
{
    return getCustomFont(size).value_or(ui::Font::systemFont(size));
}

inline ui::Font iconFont(double size)
{
    return ui::Font(MVIconFontConstants::getFontName(), size);
}

inline std::string text(const std::string& key)
{
    return LocalizationHelper::localizedStringWithKey(key);
}

// The theme's colour list as texts.
inline std::vector<std::string> colourTexts(const std::optional<base::Value::List>& colours)
{
    std::vector<std::string> texts;
    if (colours) {
        for (const auto& each : *colours)
            texts.push_back(each.description());
    }
    return texts;
}

// The orientations a book's orientation mode allows: 1 or 2 landscape, 3 portrait, any
// other value all four.
inline ui::InterfaceOrientationMask orientationMaskForBookOrientationMode(int64_t mode)
{
    if (mode == 1 || mode == 2)
        return ui::InterfaceOrientationMask::Landscape;
    if (mode == 3)
        return ui::InterfaceOrientationMask::Portrait;
    return ui::InterfaceOrientationMask::All;
}

} // namespace lectoro::mydata
