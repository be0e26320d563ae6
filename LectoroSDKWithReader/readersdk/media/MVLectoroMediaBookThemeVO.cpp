#include "LectoroSDKWithReader/readersdk/media/MVLectoroMediaBookThemeVO.h"

#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "platform/base/FileManager.h"
#include "platform/base/Json.h"

namespace lectoro {

namespace {

struct DefaultColor {
    const char* key;
    uint32_t rgb;
};

// The player's look without a theme file: a dark top bar over a light side panel.
constexpr DefaultColor defaultColors[] = {
    { "media_sidepanel_background", 0xF4F5F7 },
    { "media_sidepanel_selected_chapter_divider_color", 0xD0D4DB },
    { "media_sidepanel_selected_text_color", 0x1F6FEB },
    { "media_sidepanel_text_color", 0x24292F },
    { "media_toppanel_background", 0x1C2128 },
    { "media_toppanel_bottom_line", 0x3A414A },
    { "media_toppanel_icons_color", 0xFFFFFF },
    { "media_toppanel_bookTitle_text_color", 0xFFFFFF },
    { "media_playerView_background", 0x22272E },
    { "media_playerView_selected_icon_background", 0xFFFFFF },
    { "media_playerView_selected_icon_color", 0x1C2128 },
    { "media_playerView_slider_filled_color", 0x1F6FEB },
    { "media_playerView_disabled_navigation_arrow_color", 0x6E7681 },
    { "video_player_icon_color", 0xFFFFFF },
};

} // namespace

MVLectoroMediaBookThemeVO::MVLectoroMediaBookThemeVO()
{
    for (const auto& entry : defaultColors)
        m_colors[entry.key] = UIColorExpanded::colorWithRGBHex(entry.rgb);
}

const std::vector<std::string>& MVLectoroMediaBookThemeVO::colorKeys()
{
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> result;
        for (const auto& entry : defaultColors)
            result.emplace_back(entry.key);
        return result;
    }();
    return keys;
}

std::optional<ui::Color> MVLectoroMediaBookThemeVO::colorNamed(const std::string& key) const
{
    auto found = m_colors.find(key);
    return found == m_colors.end() ? std::nullopt : found->second;
}

base::Result<void> MVLectoroMediaBookThemeVO::updateThemeFromJsonPath(const std::string& path)
{
    auto text = base::FileManager::defaultManager().readFile(path);
    if (!text)
        return base::Error::make("MVLectoroMediaBookThemeVO", 1, "The theme file cannot be read: " + path);
    auto parsed = base::parseJson(*text);
    if (!parsed.ok())
        return parsed.error();
    const auto* entries = parsed.value().asDictionary();
    if (!entries)
        return base::Error::make("MVLectoroMediaBookThemeVO", 2, "The theme file is not a JSON object: " + path);
    for (const auto& [key, value] : *entries) {
        if (!m_colors.count(key))
            continue;
        if (value.isNull()) {
            m_colors[key] = std::nullopt;
        } else if (auto textValue = value.asString()) {
            if (auto color = UIColorExpanded::colorWithHexString(*textValue))
                m_colors[key] = *color;
        }
    }
    return {};
}

} // namespace lectoro
