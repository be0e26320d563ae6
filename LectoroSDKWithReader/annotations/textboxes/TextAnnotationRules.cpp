#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationRules.h"

#include "LectoroSDKWithReader/reader/ReaderActiveMode.h"
#include "LectoroSDKWithReader/reader/chrome/ChromeMetrics.h"
#include "platform/ui/Environment.h"

#include <cmath>

namespace lectoro::textboxes {

namespace {

constexpr double textBoxTallScreen = 812;
constexpr double textBoxHomeIndicatorPortrait = 34;
constexpr double textBoxHomeIndicatorLandscape = 22;

int truncatedWidth(const TextBoxDevice& device)
{
    double width = device.screen.width;
    return std::isfinite(width) ? static_cast<int>(width) : 0;
}

} // namespace

TextBoxDevice TextBoxDevice::current()
{
    const auto& environment = ui::Environment::current();
    return { chrome::isPad(), environment.isLandscape(), environment.screenSize() };
}

double barHeight(const TextBoxDevice& device)
{
    return device.pad ? 58.0 : 50.0;
}

double glyphSize(const TextBoxDevice& device)
{
    return device.pad ? 23.0 : 20.8;
}

int actionBarItemCount(const TextBoxDevice& device, bool hasStoredBoxes)
{
    return (device.pad ? 5 : 6) + (hasStoredBoxes ? 1 : 0);
}

int actionBarItemWidth(const TextBoxDevice& device, int numberOfItems)
{
    if (device.pad)
        return 98;
    if (device.landscape)
        return 75;
    return numberOfItems > 0 ? truncatedWidth(device) / numberOfItems : 0;
}

double barBottomConstantForKeyboard(double keyboardHeight, const TextBoxDevice& device)
{
    double offset = keyboardHeight;
    if (device.screen.height == textBoxTallScreen)
        offset = keyboardHeight - textBoxHomeIndicatorPortrait;
    else if (device.screen.width == textBoxTallScreen)
        offset = keyboardHeight - textBoxHomeIndicatorLandscape;
    return -offset;
}

PaletteGeometry paletteGeometry(const TextBoxDevice& device)
{
    PaletteGeometry geometry;
    geometry.unit = truncatedWidth(device) / 10;
    geometry.rowWidth = 10 * geometry.unit;
    const double row = geometry.rowWidth;
    if (device.landscape)
        geometry.margin = 0.4 * row;
    else
        geometry.margin = device.pad ? 0.2 * row : 20.0;
    geometry.swatchWidth = (row - geometry.margin) / 10.0;
    if (device.landscape)
        geometry.inset = 0.2 * row;
    else
        geometry.inset = device.pad ? 0.1 * row : 10.0;
    const double fraction = device.pad ? 0.6 : (device.landscape ? 0.4 : 0.35);
    geometry.swatchSize = (geometry.swatchWidth - 3.0) * (1.0 - fraction);
    geometry.itemHeight = device.pad ? 64.0 : 50.0;
    return geometry;
}

int alignmentPopupLeft(const TextBoxDevice& device, int numberOfItems)
{
    const int width = truncatedWidth(device);
    const int n = numberOfItems;
    if (n <= 0)
        return 0;
    if (device.pad)
        return (width - 98 * n) / 2 + 58;
    if (device.landscape)
        return (width - 75 * n) / 2 + 23;
    const int item = width / n;
    const int left = (width - n * item) / 2 + item + item / 2 - 92;
    return left < 0 ? 0 : left;
}

std::optional<float> pageShiftForTextBox(
    const ui::Rect& box, const ui::Rect& keyboardArea, const TextBoxDevice& device)
{
    const double margin = device.pad ? 58.0 : 50.0;
    if (!keyboardArea.contains(box) && box.maxY() + margin < keyboardArea.minY())
        return std::nullopt;
    return static_cast<float>(box.minY() - keyboardArea.minY() + box.size.height + margin);
}

bool textBoxMayBeginEditingInMode(uint64_t readerMode)
{
    return readerMode == ReaderActiveModeNone || readerMode == ReaderActiveModeAudioPlayer
        || readerMode == ReaderActiveModeTextAnnotation;
}

} // namespace lectoro::textboxes
