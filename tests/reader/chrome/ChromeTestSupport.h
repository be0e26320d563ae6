#pragma once

// A clean world for the bar tests: the default environment (a 375 x 667 phone, portrait)
// with a key window, an empty run loop, in-memory user defaults, the library's own string
// tables, and a theme whose colours are all different so a test sees which one a view got.

#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/utilities/AccessibilityHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/base/Dispatch.h"
#include "platform/base/UserDefaults.h"
#include "platform/testing/UIScope.h"
#include "platform/ui/Label.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace lectoro::chrometest {

inline ui::Color hex(const char* text)
{
    return *UIColorExpanded::colorWithHexString(text);
}

struct ThemeColors {
    static ui::Color topIcons() { return hex("#101010"); }
    static ui::Color penIcons() { return hex("#202020"); }
    static ui::Color bottomIcons() { return hex("#303030"); }
    static ui::Color penSelectedBackground() { return hex("#FF8800"); }
    static ui::Color penSelectedIcon() { return hex("#FFFFFE"); }
    static ui::Color penBackground() { return hex("#404040"); }
    static ui::Color teacherBackground() { return hex("#505050"); }
};

inline LXMVThemeVO makeTheme()
{
    LXMVThemeVO theme;
    theme.setTop_toolbar_icons_color(ThemeColors::topIcons());
    theme.setPen_tool_toolbar_icons_color(ThemeColors::penIcons());
    theme.setSide_bottom_icons_color(ThemeColors::bottomIcons());
    theme.setPen_tool_selected_icon_background(ThemeColors::penSelectedBackground());
    theme.setPen_tool_selected_icon_color(ThemeColors::penSelectedIcon());
    theme.setPen_tool_toolbar_background(ThemeColors::penBackground());
    theme.setTeacherSettings_popup_background(ThemeColors::teacherBackground());
    return theme;
}

enum class Device { Phone, Phone320, Pad, NoIdiom };

inline const char* deviceName(Device device)
{
    switch (device) {
    case Device::Phone:
        return "phone";
    case Device::Phone320:
        return "phone320";
    case Device::Pad:
        return "pad";
    case Device::NoIdiom:
        return "noIdiom";
    }
    return "?";
}

// Portrait sizes; a landscape orientation swaps them.
inline void applyDevice(Device device, ui::Orientation orientation = ui::Orientation::Portrait)
{
    auto& environment = ui::Environment::current();
    ui::Size size { 375, 667 };
    switch (device) {
    case Device::Phone:
        environment.setIdiom(ui::UserInterfaceIdiom::Phone);
        break;
    case Device::Phone320:
        environment.setIdiom(ui::UserInterfaceIdiom::Phone);
        size = { 320, 568 };
        break;
    case Device::Pad:
        environment.setIdiom(ui::UserInterfaceIdiom::Pad);
        size = { 768, 1024 };
        break;
    case Device::NoIdiom:
        environment.setIdiom(ui::UserInterfaceIdiom::Unspecified);
        break;
    }
    if (ui::isLandscape(orientation))
        size = { size.height, size.width };
    environment.setScreenSize(size);
    environment.setInterfaceOrientation(orientation);
    environment.setDeviceOrientation(orientation);
}

class ChromeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_defaults = std::make_shared<base::UserDefaults>();
        base::UserDefaults::setStandardForTesting(m_defaults);
        LocalizationHelper::setReaderLanguageBundle(nullptr);
        AccessibilityHelper::setReaderAccessibilityBundle(nullptr);
    }

    void TearDown() override
    {
        base::waitForBackgroundWork();
        base::UserDefaults::setStandardForTesting(nullptr);
    }

    // Portrait sizes; a landscape orientation swaps them.
    static void useDevice(Device device, ui::Orientation orientation = ui::Orientation::Portrait)
    {
        applyDevice(device, orientation);
    }

    base::UserDefaults& defaults() { return *m_defaults; }

    uitest::UIScope m_ui;
    LXMVThemeVO m_theme = makeTheme();
    std::shared_ptr<base::UserDefaults> m_defaults;
};

inline std::vector<int> tagsOf(const PlayerActionBar& bar)
{
    std::vector<int> tags;
    for (const auto& item : bar.items())
        tags.push_back(item->tag());
    return tags;
}

inline std::vector<double> widthsOf(const PlayerActionBar& bar)
{
    std::vector<double> widths;
    for (const auto& item : bar.items())
        widths.push_back(item->itemWidth());
    return widths;
}

inline std::shared_ptr<ui::Label> glyphLabel(const PlayerActionBarItem& item)
{
    return item.firstLabel();
}

inline std::string glyphOf(const PlayerActionBarItem& item)
{
    auto label = item.firstLabel();
    return label ? label->text() : std::string();
}

// The spoken label the string table gives the element id with the argument.
inline std::string spoken(const std::string& elementID, const std::string& argument = {})
{
    return AccessibilityHelper::accessibilityLabelForElementID(
        elementID, "ReaderLectoroAccessibility", argument);
}

inline std::string localized(const std::string& key)
{
    return LocalizationHelper::localizedStringWithKey(key);
}

// The constant of the first active constraint that ties the view's attribute to anything.
inline std::optional<double> constantOf(const ui::View& view, ui::LayoutAttribute attribute)
{
    auto constraint = view.constraintWithFirstAttribute(attribute);
    if (!constraint)
        return std::nullopt;
    return constraint->constant();
}

inline std::string expectedPath(const std::string& name)
{
    return std::string(LECTORO_TESTS_DIR) + "/reader/chrome/expected/" + name;
}

} // namespace lectoro::chrometest
