#include "LectoroSDKWithReader/reader/chrome/ChromeMetrics.h"

#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVLectoroFontManager.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"

namespace lectoro::chrome {

bool isPad()
{
    return isIpad();
}

double screenWidth()
{
    return ui::Environment::current().screenSize().width;
}

bool isNarrowPhone()
{
    return screenWidth() == 320.0;
}

bool isLandscapePhone()
{
    return !isPad() && ui::Environment::current().isLandscape();
}

double topBarGlyphSize()
{
    if (isPad())
        return 23.0;
    return isNarrowPhone() ? 16.0 : 20.8;
}

double penToolGlyphSize()
{
    if (isPad())
        return 22.0;
    return isNarrowPhone() ? 16.0 : 20.8;
}

double bottomBarGlyphSize()
{
    return topBarGlyphSize();
}

ui::Font iconFont(double size)
{
    return ui::Font(MVLectoroFontManager::getFontName(), size);
}

ui::Font customFont(double size)
{
    if (auto font = getCustomFont(size))
        return *font;
    return ui::Font::systemFont(size);
}

std::optional<ui::Color> colorFromHex(const std::string& hex)
{
    return UIColorExpanded::colorWithHexString(hex);
}

std::shared_ptr<ui::Label> makeConstrainedLabel(const std::string& text)
{
    auto label = ui::Label::create();
    label->setText(text);
    label->setTranslatesAutoresizingMaskIntoConstraints(false);
    return label;
}

void applyTextColor(ui::Label& label, const std::optional<ui::Color>& color)
{
    label.setTextColor(color.value_or(ui::Color::black()));
}

} // namespace lectoro::chrome
