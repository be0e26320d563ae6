#include "platform/ui/Color.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>

namespace ui {

namespace {

double clampComponent(double value)
{
    if (std::isnan(value))
        return 0;
    return std::clamp(value, 0.0, 1.0);
}

int toByte(double component)
{
    return static_cast<int>(std::lround(component * 255));
}

} // namespace

Color Color::fromRGBA(double red, double green, double blue, double alpha)
{
    Color color;
    color.m_red = clampComponent(red);
    color.m_green = clampComponent(green);
    color.m_blue = clampComponent(blue);
    color.m_alpha = clampComponent(alpha);
    return color;
}

Color Color::fromRGB255(int red, int green, int blue, double alpha)
{
    return fromRGBA(red / 255.0, green / 255.0, blue / 255.0, alpha);
}

Color Color::fromWhite(double white, double alpha)
{
    return fromRGBA(white, white, white, alpha);
}

Color Color::systemBlue()
{
    return fromRGB255(0, 122, 255);
}

Color Color::withAlpha(double alpha) const
{
    Color color = *this;
    color.m_alpha = clampComponent(alpha);
    return color;
}

std::string Color::toDebugString() const
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X%02X", toByte(m_red), toByte(m_green), toByte(m_blue),
        toByte(m_alpha));
    return buffer;
}

bool operator==(const Color& a, const Color& b)
{
    constexpr double tolerance = 1e-6;
    return std::fabs(a.redComponent() - b.redComponent()) <= tolerance
        && std::fabs(a.greenComponent() - b.greenComponent()) <= tolerance
        && std::fabs(a.blueComponent() - b.blueComponent()) <= tolerance
        && std::fabs(a.alpha() - b.alpha()) <= tolerance;
}

std::ostream& operator<<(std::ostream& out, const Color& color)
{
    return out << color.toDebugString();
}

} // namespace ui
