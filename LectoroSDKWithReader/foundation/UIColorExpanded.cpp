#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"

#include "platform/base/Strings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

namespace lectoro::UIColorExpanded {

namespace {

// The 147 extended colour keywords, each written ",name#rrggbb", so that a name is found by
// searching for its comma, name and "#".
constexpr const char* namedColorTable =
    ",aliceblue#f0f8ff,antiquewhite#faebd7,aqua#00ffff,aquamarine#7fffd4,azure#f0ffff,beige#f5f"
    "5dc,bisque#ffe4c4,black#000000,blanchedalmond#ffebcd,blue#0000ff,blueviolet#8a2be2,brown#a"
    "52a2a,burlywood#deb887,cadetblue#5f9ea0,chartreuse#7fff00,chocolate#d2691e,coral#ff7f50,co"
    "rnflowerblue#6495ed,cornsilk#fff8dc,crimson#dc143c,cyan#00ffff,darkblue#00008b,darkcyan#00"
    "8b8b,darkgoldenrod#b8860b,darkgray#a9a9a9,darkgreen#006400,darkgrey#a9a9a9,darkkhaki#bdb76"
    "b,darkmagenta#8b008b,darkolivegreen#556b2f,darkorange#ff8c00,darkorchid#9932cc,darkred#8b0"
    "000,darksalmon#e9967a,darkseagreen#8fbc8f,darkslateblue#483d8b,darkslategray#2f4f4f,darksl"
    "ategrey#2f4f4f,darkturquoise#00ced1,darkviolet#9400d3,deeppink#ff1493,deepskyblue#00bfff,d"
    "imgray#696969,dimgrey#696969,dodgerblue#1e90ff,firebrick#b22222,floralwhite#fffaf0,forestg"
    "reen#228b22,fuchsia#ff00ff,gainsboro#dcdcdc,ghostwhite#f8f8ff,gold#ffd700,goldenrod#daa520"
    ",gray#808080,green#008000,greenyellow#adff2f,grey#808080,honeydew#f0fff0,hotpink#ff69b4,in"
    "dianred#cd5c5c,indigo#4b0082,ivory#fffff0,khaki#f0e68c,lavender#e6e6fa,lavenderblush#fff0f"
    "5,lawngreen#7cfc00,lemonchiffon#fffacd,lightblue#add8e6,lightcoral#f08080,lightcyan#e0ffff"
    ",lightgoldenrodyellow#fafad2,lightgray#d3d3d3,lightgreen#90ee90,lightgrey#d3d3d3,lightpink"
    "#ffb6c1,lightsalmon#ffa07a,lightseagreen#20b2aa,lightskyblue#87cefa,lightslategray#778899,"
    "lightslategrey#778899,lightsteelblue#b0c4de,lightyellow#ffffe0,lime#00ff00,limegreen#32cd3"
    "2,linen#faf0e6,magenta#ff00ff,maroon#800000,mediumaquamarine#66cdaa,mediumblue#0000cd,medi"
    "umorchid#ba55d3,mediumpurple#9370db,mediumseagreen#3cb371,mediumslateblue#7b68ee,mediumspr"
    "inggreen#00fa9a,mediumturquoise#48d1cc,mediumvioletred#c71585,midnightblue#191970,mintcrea"
    "m#f5fffa,mistyrose#ffe4e1,moccasin#ffe4b5,navajowhite#ffdead,navy#000080,oldlace#fdf5e6,ol"
    "ive#808000,olivedrab#6b8e23,orange#ffa500,orangered#ff4500,orchid#da70d6,palegoldenrod#eee"
    "8aa,palegreen#98fb98,paleturquoise#afeeee,palevioletred#db7093,papayawhip#ffefd5,peachpuff"
    "#ffdab9,peru#cd853f,pink#ffc0cb,plum#dda0dd,powderblue#b0e0e6,purple#800080,red#ff0000,ros"
    "ybrown#bc8f8f,royalblue#4169e1,saddlebrown#8b4513,salmon#fa8072,sandybrown#f4a460,seagreen"
    "#2e8b57,seashell#fff5ee,sienna#a0522d,silver#c0c0c0,skyblue#87ceeb,slateblue#6a5acd,slateg"
    "ray#708090,slategrey#708090,snow#fffafa,springgreen#00ff7f,steelblue#4682b4,tan#d2b48c,tea"
    "l#008080,thistle#d8bfd8,tomato#ff6347,turquoise#40e0d0,violet#ee82ee,wheat#f5deb3,white#ff"
    "ffff,whitesmoke#f5f5f5,yellow#ffff00,yellowgreen#9acd32";

double clamp01(double value)
{
    return std::clamp(value, 0.0, 1.0);
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

unsigned hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return unsigned(c - '0');
    if (c >= 'a' && c <= 'f')
        return unsigned(c - 'a' + 10);
    return unsigned(c - 'A' + 10);
}

// The platform scanner's hex rule: white space skipped, an optional 0x, then hex digits.
std::optional<uint32_t> scanHexInt(std::string_view text)
{
    size_t i = 0;
    while (i < text.size()) {
        size_t next = i;
        char32_t c = base::decodeUtf8(text, next);
        if (!base::isWhitespaceCodePoint(c) && !base::isNewlineCodePoint(c))
            break;
        i = next;
    }
    // "0x" counts as a prefix only when a digit follows it; otherwise the "0" is the number.
    if (i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') && isHexDigit(text[i + 2]))
        i += 2;
    if (i >= text.size() || !isHexDigit(text[i]))
        return std::nullopt;
    uint64_t value = 0;
    for (; i < text.size() && isHexDigit(text[i]); ++i)
        value = std::min<uint64_t>(value * 16 + hexDigitValue(text[i]), UINT32_MAX);
    return static_cast<uint32_t>(value);
}

std::optional<ui::Color> combine(const ui::Color& color, double r, double g, double b, double a,
    double (*operation)(double component, double argument))
{
    double red = 0, green = 0, blue = 0, alpha = 0;
    if (!UIColorExpanded::red(color, &red, &green, &blue, &alpha))
        return std::nullopt;
    return ui::Color::fromRGBA(operation(red, r), operation(green, g), operation(blue, b), operation(alpha, a));
}

double multiply(double component, double argument) { return clamp01(component * argument); }
double add(double component, double argument) { return clamp01(component + argument); }
double lighten(double component, double argument) { return std::max(component, argument); }
double darken(double component, double argument) { return std::min(component, argument); }

std::mutex& namedColorMutex()
{
    static std::mutex mutex;
    return mutex;
}

// A name maps to its colour, or to nothing when the table does not hold it.
std::map<std::string, std::optional<ui::Color>, std::less<>>& namedColorCache()
{
    static std::map<std::string, std::optional<ui::Color>, std::less<>> cache;
    return cache;
}

} // namespace

int colorSpaceModel(const ui::Color&)
{
    return ColorSpaceModelRGB;
}

std::string colorSpaceModelName(int model)
{
    switch (model) {
    case ColorSpaceModelUnknown: return "kCGColorSpaceModelUnknown";
    case ColorSpaceModelMonochrome: return "kCGColorSpaceModelMonochrome";
    case ColorSpaceModelRGB: return "kCGColorSpaceModelRGB";
    case ColorSpaceModelCMYK: return "kCGColorSpaceModelCMYK";
    case ColorSpaceModelLab: return "kCGColorSpaceModelLab";
    case ColorSpaceModelDeviceN: return "kCGColorSpaceModelDeviceN";
    case ColorSpaceModelIndexed: return "kCGColorSpaceModelIndexed";
    case ColorSpaceModelPattern: return "kCGColorSpaceModelPattern";
    default: return "Not a valid color space";
    }
}

std::string colorSpaceString(const ui::Color& color)
{
    return colorSpaceModelName(colorSpaceModel(color));
}

bool canProvideRGBComponents(const ui::Color& color)
{
    int model = colorSpaceModel(color);
    return model == ColorSpaceModelRGB || model == ColorSpaceModelMonochrome;
}

bool red(const ui::Color& color, double* red, double* green, double* blue, double* alpha)
{
    if (!canProvideRGBComponents(color))
        return false;
    if (red)
        *red = color.redComponent();
    if (green)
        *green = color.greenComponent();
    if (blue)
        *blue = color.blueComponent();
    if (alpha)
        *alpha = color.alpha();
    return true;
}

std::optional<std::vector<double>> arrayFromRGBAComponents(const ui::Color& color)
{
    double r = 0, g = 0, b = 0, a = 0;
    if (!red(color, &r, &g, &b, &a))
        return std::nullopt;
    return std::vector<double> { r, g, b, a };
}

double red(const ui::Color& color) { return color.redComponent(); }
double green(const ui::Color& color) { return color.greenComponent(); }
double blue(const ui::Color& color) { return color.blueComponent(); }
// An RGB colour's first component is its red.
double white(const ui::Color& color) { return color.redComponent(); }
double alpha(const ui::Color& color) { return color.alpha(); }

uint32_t rgbHex(const ui::Color& color)
{
    if (!red(color, nullptr, nullptr, nullptr, nullptr))
        return 0;
    auto channel = [](double component) {
        return static_cast<uint32_t>(std::lround(static_cast<float>(clamp01(component) * 255.0f)));
    };
    return channel(red(color)) << 16 | channel(green(color)) << 8 | channel(blue(color));
}

std::string hexStringFromColor(const ui::Color& color)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%.6X", rgbHex(color));
    return buffer;
}

std::optional<std::string> stringFromColor(const ui::Color& color)
{
    char buffer[96];
    switch (colorSpaceModel(color)) {
    case ColorSpaceModelRGB:
        std::snprintf(buffer, sizeof buffer, "{%0.3f, %0.3f, %0.3f, %0.3f}", red(color), green(color), blue(color), alpha(color));
        return std::string(buffer);
    case ColorSpaceModelMonochrome:
        std::snprintf(buffer, sizeof buffer, "{%0.3f, %0.3f}", white(color), alpha(color));
        return std::string(buffer);
    default:
        return std::nullopt;
    }
}

std::optional<ui::Color> colorByLuminanceMapping(const ui::Color& color)
{
    double r = 0, g = 0, b = 0, a = 0;
    if (!red(color, &r, &g, &b, &a))
        return std::nullopt;
    double luminance = r * double(0.2126f) + g * double(0.7152f) + b * double(0.0722f);
    return ui::Color::fromWhite(luminance, a);
}

std::optional<ui::Color> colorByMultiplyingBy(const ui::Color& c, double r, double g, double b, double a) { return combine(c, r, g, b, a, multiply); }
std::optional<ui::Color> colorByAdding(const ui::Color& c, double r, double g, double b, double a) { return combine(c, r, g, b, a, add); }
std::optional<ui::Color> colorByLighteningTo(const ui::Color& c, double r, double g, double b, double a) { return combine(c, r, g, b, a, lighten); }
std::optional<ui::Color> colorByDarkeningTo(const ui::Color& c, double r, double g, double b, double a) { return combine(c, r, g, b, a, darken); }

std::optional<ui::Color> colorByMultiplyingBy(const ui::Color& c, double v) { return colorByMultiplyingBy(c, v, v, v, 1.0); }
std::optional<ui::Color> colorByAdding(const ui::Color& c, double v) { return colorByAdding(c, v, v, v, 0.0); }
std::optional<ui::Color> colorByLighteningTo(const ui::Color& c, double v) { return colorByLighteningTo(c, v, v, v, 0.0); }
std::optional<ui::Color> colorByDarkeningTo(const ui::Color& c, double v) { return colorByDarkeningTo(c, v, v, v, 1.0); }

std::optional<ui::Color> colorByMultiplyingByColor(const ui::Color& c, const ui::Color& other)
{
    double r = 0, g = 0, b = 0;
    if (!red(other, &r, &g, &b, nullptr))
        return std::nullopt;
    return colorByMultiplyingBy(c, r, g, b, 1.0);
}

std::optional<ui::Color> colorByAddingColor(const ui::Color& c, const ui::Color& other)
{
    double r = 0, g = 0, b = 0;
    if (!red(other, &r, &g, &b, nullptr))
        return std::nullopt;
    return colorByAdding(c, r, g, b, 0.0);
}

std::optional<ui::Color> colorByLighteningToColor(const ui::Color& c, const ui::Color& other)
{
    double r = 0, g = 0, b = 0;
    if (!red(other, &r, &g, &b, nullptr))
        return std::nullopt;
    return colorByLighteningTo(c, r, g, b, 0.0);
}

std::optional<ui::Color> colorByDarkeningToColor(const ui::Color& c, const ui::Color& other)
{
    double r = 0, g = 0, b = 0;
    if (!red(other, &r, &g, &b, nullptr))
        return std::nullopt;
    return colorByDarkeningTo(c, r, g, b, 1.0);
}

ui::Color colorWithRGBHex(uint32_t hex)
{
    float r = float((hex >> 16) & 0xFF) / 255.0f;
    float g = float((hex >> 8) & 0xFF) / 255.0f;
    float b = float(hex & 0xFF) / 255.0f;
    return ui::Color::fromRGBA(r, g, b, 1.0);
}

std::optional<ui::Color> colorWithHexString(std::string_view text)
{
    // The last six characters when there are seven or more; in ASCII text a character is
    // a byte, which spares the UTF-16 count and copy of the common "#RRGGBB".
    std::string kept;
    if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        kept = text.size() >= 7 ? text.substr(text.size() - 6) : text;
    else if (size_t length = base::utf16Length(text); length >= 7)
        kept = base::utf16Substring(text, length - 6, 6);
    else
        kept = text;
    auto value = scanHexInt(kept);
    if (!value)
        return std::nullopt;
    return colorWithRGBHex(*value);
}

std::optional<ui::Color> colorWithString(std::string_view text)
{
    size_t i = 0;
    auto skipSpace = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r'))
            ++i;
    };
    auto scanFloat = [&](float& out) {
        skipSpace();
        std::string rest(text.substr(i));
        char* end = nullptr;
        out = std::strtof(rest.c_str(), &end);
        if (end == rest.c_str())
            return false;
        i += size_t(end - rest.c_str());
        return true;
    };
    auto scanChar = [&](char c) {
        skipSpace();
        if (i < text.size() && text[i] == c) {
            ++i;
            return true;
        }
        return false;
    };

    if (!scanChar('{'))
        return std::nullopt;
    std::vector<float> components;
    float value = 0;
    if (!scanFloat(value))
        return std::nullopt;
    components.push_back(value);
    while (!scanChar('}')) {
        if (components.size() >= 4)
            return std::nullopt;
        if (!scanChar(','))
            return std::nullopt;
        if (!scanFloat(value))
            return std::nullopt;
        components.push_back(value);
    }
    skipSpace();
    if (i != text.size())
        return std::nullopt;
    if (components.size() == 4)
        return ui::Color::fromRGBA(components[0], components[1], components[2], components[3]);
    if (components.size() == 2)
        return ui::Color::fromWhite(components[0], components[1]);
    return std::nullopt;
}

ui::Color colorFromArray(const std::vector<double>& components)
{
    if (components.size() != 4)
        return ui::Color::black();
    return ui::Color::fromRGBA(float(components[0]), float(components[1]), float(components[2]), float(components[3]));
}

std::optional<ui::Color> searchForColorByName(const std::string& name)
{
    std::string needle = "," + name + "#";
    const char* found = std::strstr(namedColorTable, needle.c_str());
    if (!found)
        return std::nullopt;
    unsigned value = 0;
    if (std::sscanf(found + needle.size(), "%x", &value) != 1)
        return std::nullopt;
    return colorWithRGBHex(value);
}

std::optional<ui::Color> colorWithName(const std::string& name)
{
    std::lock_guard lock(namedColorMutex());
    auto& cache = namedColorCache();
    if (auto it = cache.find(name); it != cache.end())
        return it->second;
    auto color = searchForColorByName(name);
    cache.emplace(name, color);
    return color;
}

size_t namedColorCacheSize()
{
    std::lock_guard lock(namedColorMutex());
    return namedColorCache().size();
}

ui::Color ios7Blue()
{
    return ui::Color::fromRGBA(0, 122.0 / 255.0, 1, 1);
}

ui::Color ios7Gray()
{
    return ui::Color::fromRGBA(151.0 / 255.0, 152.0 / 255.0, 153.0 / 255.0, 1);
}

ui::Color randomColor()
{
    auto channel = [] { return double(random()) / 2147483647.0; };
    double r = channel();
    double g = channel();
    double b = channel();
    return ui::Color::fromRGBA(r, g, b, 1);
}

} // namespace lectoro::UIColorExpanded
