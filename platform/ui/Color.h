#pragma once

// An RGBA colour with components in 0...1.
//
// Components given out of range are clamped; a NaN component becomes 0. Parsing hex
// text is the product's job; toDebugString() only prints one.

#include <iosfwd>
#include <string>

namespace ui {

class Color {
public:
    // Transparent black, like clear().
    constexpr Color() = default;

    static Color fromRGBA(double red, double green, double blue, double alpha = 1.0);
    // 0...255 components, alpha still 0...1.
    static Color fromRGB255(int red, int green, int blue, double alpha = 1.0);
    static Color fromWhite(double white, double alpha = 1.0);

    static Color clear() { return {}; }
    static Color black() { return fromWhite(0); }
    static Color white() { return fromWhite(1); }
    static Color red() { return fromRGBA(1, 0, 0); }
    static Color green() { return fromRGBA(0, 1, 0); }
    static Color blue() { return fromRGBA(0, 0, 1); }
    static Color gray() { return fromWhite(0.5); }
    static Color lightGray() { return fromWhite(2.0 / 3.0); }
    static Color darkGray() { return fromWhite(1.0 / 3.0); }
    // The platform's accent blue: (0, 122, 255).
    static Color systemBlue();

    double redComponent() const { return m_red; }
    double greenComponent() const { return m_green; }
    double blueComponent() const { return m_blue; }
    double alpha() const { return m_alpha; }

    Color withAlpha(double alpha) const;
    bool isClear() const { return m_alpha <= 0; }

    // "#RRGGBBAA", components rounded to 0...255.
    std::string toDebugString() const;

private:
    double m_red = 0;
    double m_green = 0;
    double m_blue = 0;
    double m_alpha = 0;
};

// Equal when every component is within 1e-6: a colour read back equals the one written.
bool operator==(const Color&, const Color&);
std::ostream& operator<<(std::ostream&, const Color&);

} // namespace ui
