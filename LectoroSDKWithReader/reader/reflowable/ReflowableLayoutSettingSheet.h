#pragma once

// The layout sheet of a reflowable book: font family and size, scrolling or pages, reading
// mode, alignment, line spacing and margin, with a reset. It holds what the reader seeds
// and calls the reader's handlers when the user acts: a card of button rows (one per
// section shown) over the page, closed by a tap on the page around it. Stands in for the
// companion framework's layout-setting controller.

#include "platform/ui/Color.h"
#include "platform/ui/ViewController.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class Button;
class Label;
class View;
} // namespace ui

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

    // The font size runs in steps from the default (0) to the largest.
    static constexpr int64_t largestFontSizeStep = 5;

    // The card and its buttons, by section ("family", "size", "scroll", "mode",
    // "alignment", "spacing", "margin", "reset"), in the order shown.
    const std::shared_ptr<ui::View>& card() const { return m_card; }
    std::vector<std::shared_ptr<ui::Button>> buttons(const std::string& section) const;
    // A tap on the page around the card: the reader hears it, then the sheet goes.
    void closeFromOutside();

    void viewDidLoad() override;
    void viewDidLayoutSubviews() override;

protected:
    ReflowableLayoutSettingSheet() = default;

private:
    struct Row {
        std::string section;
        std::shared_ptr<ui::Label> title;
        std::vector<std::shared_ptr<ui::Button>> buttons;
    };
    void addRow(const std::string& section, const std::string& title, const std::vector<std::string>& names,
        const std::function<void(size_t)>& picked, std::optional<size_t> selected);
    void markSelected(Row&, size_t index);
    Row* row(const std::string& section);

    std::shared_ptr<ui::View> m_card;
    std::vector<Row> m_rows;
};

} // namespace lectoro
