#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookPanel.h"

#include <cstdio>

namespace lectoro {

void MVMediaBookPanel::setTheme(std::shared_ptr<MVLectoroMediaBookThemeVO> theme)
{
    if (theme)
        m_theme = std::move(theme);
}

ui::Color MVMediaBookPanel::themeColor(std::optional<ui::Color> (MVLectoroMediaBookThemeVO::*getter)() const,
    ui::Color fallback) const
{
    return ((*m_theme).*getter)().value_or(fallback);
}

std::string mediaTimeText(int64_t seconds)
{
    if (seconds < 0)
        seconds = 0;
    char text[32];
    if (seconds >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
            static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    else
        std::snprintf(text, sizeof text, "%02lld:%02lld", static_cast<long long>(seconds / 60), static_cast<long long>(seconds % 60));
    return text;
}

} // namespace lectoro
