#pragma once

// The layout sheet of a reflowable book: font family and size, scrolling or pages, reading
// mode, alignment, line spacing and margin, with a reset. It holds what the reader seeds
// and calls the reader's handlers when the user acts (the sheet's own controls are not
// drawn here). Stands in for the companion framework's layout-setting controller.

#include "platform/ui/Color.h"
#include "platform/ui/ViewController.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lectoro {

class ReflowableLayoutSettingSheet : public ui::ViewController {
public:
    using ColorSetting = std::optional<ui::Color>;

    static std::shared_ptr<ReflowableLayoutSettingSheet> create();
    std::string_view className() const override { return "ReflowableLayoutSettingSheet"; }

    // Options offered, as enumeration values in the order shown.
    std::vector<int64_t> textAlignmentOptions;
    std::vector<int64_t> lineSpacingOptions;
    std::vector<int64_t> readerMarginOptions;
    std::vector<int64_t> readerModeOptions;
    std::vector<std::string> fontFamilyArray;
    std::string customFontNameForLayout;

    // Colours.
    ColorSetting backgroundColorForView;
    ColorSetting borderColor;
    ColorSetting textColor;
    ColorSetting titleTextColor;
    ColorSetting buttonBorderColor;
    ColorSetting buttonTitleColor;
    ColorSetting selectedButtonBorderColor;
    ColorSetting selectedButtonTitleColor;
    ColorSetting resetButtonTitleColor;
    ColorSetting sliderThumbColor;
    ColorSetting sliderTrackTintColor;
    ColorSetting scrollSwitchTintColor;
    ColorSetting fontFamilyThemeColor;
    ColorSetting separationLineColor;

    // Sections shown.
    bool fontFamilyViewEnabled = false;
    bool fontSizeViewEnabled = false;
    bool scrollModeViewEnabled = false;
    bool readerModeViewEnabled = false;
    bool alignmentViewEnabled = false;
    bool lineSpacingViewEnabled = false;
    bool marginViewEnabled = false;

    // Current values.
    int64_t readerModeEnable = 0;
    int64_t fontSize = 0;
    std::string currentFontFamily;
    bool paginationEnable = true;
    int64_t currentTextAlignment = 0;
    int64_t currentLineSpacing = 0;
    int64_t currentMargin = 0;

    // What the user's actions call.
    std::function<void(const std::string&)> fontFamilyDidChange;
    std::function<void(double)> fontSizeDidChange;
    std::function<void(bool)> didEnablePagination;
    std::function<void(int64_t)> didChangeReaderMode;
    std::function<void(int64_t)> didChangeTextAliginment;
    std::function<void(int64_t)> didChangeLineSpacing;
    std::function<void(int64_t)> didChangeMargin;
    std::function<void()> resetReaderSetting;
    std::function<void()> willDismissController;

protected:
    ReflowableLayoutSettingSheet() = default;
};

} // namespace lectoro
