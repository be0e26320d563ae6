#pragma once

#include "platform/ui/Color.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lectoro {

// Colour helpers the whole reader leans on: hex and braced colour texts, components, named
// colours and colour arithmetic. Every colour of this platform is an RGB colour.
namespace UIColorExpanded {

// Colour space models as the platform numbers them.
enum ColorSpaceModel : int {
    ColorSpaceModelUnknown = -1,
    ColorSpaceModelMonochrome = 0,
    ColorSpaceModelRGB = 1,
    ColorSpaceModelCMYK = 2,
    ColorSpaceModelLab = 3,
    ColorSpaceModelDeviceN = 4,
    ColorSpaceModelIndexed = 5,
    ColorSpaceModelPattern = 6,
};

int colorSpaceModel(const ui::Color&);
std::string colorSpaceString(const ui::Color&);
// The name of a model number; "Not a valid color space" outside -1...6.
std::string colorSpaceModelName(int model);
bool canProvideRGBComponents(const ui::Color&);

// Fills each output that is given; false when the colour has no RGB components.
bool red(const ui::Color&, double* red, double* green, double* blue, double* alpha);
std::optional<std::vector<double>> arrayFromRGBAComponents(const ui::Color&);
double red(const ui::Color&);
double green(const ui::Color&);
double blue(const ui::Color&);
double white(const ui::Color&);
double alpha(const ui::Color&);

// Red in bits 16-23, green 8-15, blue 0-7.
uint32_t rgbHex(const ui::Color&);
// Six upper-case hex digits, no "#".
std::string hexStringFromColor(const ui::Color&);
// "{r, g, b, a}" with three decimals.
std::optional<std::string> stringFromColor(const ui::Color&);

std::optional<ui::Color> colorByLuminanceMapping(const ui::Color&);
std::optional<ui::Color> colorByMultiplyingBy(const ui::Color&, double red, double green, double blue, double alpha);
std::optional<ui::Color> colorByAdding(const ui::Color&, double red, double green, double blue, double alpha);
std::optional<ui::Color> colorByLighteningTo(const ui::Color&, double red, double green, double blue, double alpha);
std::optional<ui::Color> colorByDarkeningTo(const ui::Color&, double red, double green, double blue, double alpha);
std::optional<ui::Color> colorByMultiplyingBy(const ui::Color&, double value);
std::optional<ui::Color> colorByAdding(const ui::Color&, double value);
std::optional<ui::Color> colorByLighteningTo(const ui::Color&, double value);
std::optional<ui::Color> colorByDarkeningTo(const ui::Color&, double value);
// Combine the receiver with the other colour's red, green and blue.
std::optional<ui::Color> colorByMultiplyingByColor(const ui::Color&, const ui::Color& other);
std::optional<ui::Color> colorByAddingColor(const ui::Color&, const ui::Color& other);
std::optional<ui::Color> colorByLighteningToColor(const ui::Color&, const ui::Color& other);
std::optional<ui::Color> colorByDarkeningToColor(const ui::Color&, const ui::Color& other);

// An opaque colour of the low 24 bits.
ui::Color colorWithRGBHex(uint32_t hex);
// Texts of seven or more characters keep their last six; the rest is scanned as one hex
// number (leading white space and a 0x prefix allowed). Absent when no hex digit leads.
std::optional<ui::Color> colorWithHexString(std::string_view);
// The inverse of stringFromColor: "{r, g, b, a}" or "{white, alpha}".
std::optional<ui::Color> colorWithString(std::string_view);
// Exactly four components give that colour; any other count opaque black.
ui::Color colorFromArray(const std::vector<double>&);
// The extended colour keywords, lower case; answers are remembered, misses included.
std::optional<ui::Color> colorWithName(const std::string& name);
std::optional<ui::Color> searchForColorByName(const std::string& name);
// Test support: how many names the cache holds.
size_t namedColorCacheSize();

ui::Color ios7Blue();
ui::Color ios7Gray();
ui::Color randomColor();

} // namespace UIColorExpanded

} // namespace lectoro
