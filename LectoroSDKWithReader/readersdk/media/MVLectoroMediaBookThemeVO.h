#pragma once

// The colours of the media-book player ("audio-video-theme.json").
//
// A new record holds the default colours. updateThemeFromJsonPath overlays a theme file:
// a JSON object of colour texts ("#RRGGBB") under the names of the getters below. A key
// with a colour replaces the default, a key holding null removes the colour (its getter
// then answers none), and keys that are missing or hold no colour leave the colour as it
// was. A file that cannot be read or is not a JSON object changes nothing.

#include "platform/base/Error.h"
#include "platform/ui/Color.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace lectoro {

class MVLectoroMediaBookThemeVO {
public:
    MVLectoroMediaBookThemeVO();

    base::Result<void> updateThemeFromJsonPath(const std::string& path);

    std::optional<ui::Color> colorNamed(const std::string& key) const;
    // Every key the theme knows, in file order.
    static const std::vector<std::string>& colorKeys();

    std::optional<ui::Color> media_sidepanel_background() const { return colorNamed("media_sidepanel_background"); }
    std::optional<ui::Color> media_sidepanel_selected_chapter_divider_color() const
    {
        return colorNamed("media_sidepanel_selected_chapter_divider_color");
    }
    std::optional<ui::Color> media_sidepanel_selected_text_color() const { return colorNamed("media_sidepanel_selected_text_color"); }
    std::optional<ui::Color> media_sidepanel_text_color() const { return colorNamed("media_sidepanel_text_color"); }
    std::optional<ui::Color> media_toppanel_background() const { return colorNamed("media_toppanel_background"); }
    std::optional<ui::Color> media_toppanel_bottom_line() const { return colorNamed("media_toppanel_bottom_line"); }
    std::optional<ui::Color> media_toppanel_icons_color() const { return colorNamed("media_toppanel_icons_color"); }
    std::optional<ui::Color> media_toppanel_bookTitle_text_color() const { return colorNamed("media_toppanel_bookTitle_text_color"); }
    std::optional<ui::Color> media_playerView_background() const { return colorNamed("media_playerView_background"); }
    std::optional<ui::Color> media_playerView_selected_icon_background() const
    {
        return colorNamed("media_playerView_selected_icon_background");
    }
    std::optional<ui::Color> media_playerView_selected_icon_color() const { return colorNamed("media_playerView_selected_icon_color"); }
    std::optional<ui::Color> media_playerView_slider_filled_color() const { return colorNamed("media_playerView_slider_filled_color"); }
    std::optional<ui::Color> media_playerView_disabled_navigation_arrow_color() const
    {
        return colorNamed("media_playerView_disabled_navigation_arrow_color");
    }
    std::optional<ui::Color> video_player_icon_color() const { return colorNamed("video_player_icon_color"); }

private:
    std::map<std::string, std::optional<ui::Color>> m_colors;
};

} // namespace lectoro
