#include "LectoroSDKWithReader/reader/reflowable/ReflowableLayoutSettingSheet.h"

#include "LectoroSDKWithReader/reader/reflowable/ReflowableLayoutSettings.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"

#include <algorithm>

namespace lectoro {

namespace {

constexpr double rowHeight = 52;
constexpr double titleHeight = 18;
constexpr double inset = 12;
constexpr double cardWidthOnTablet = 480;

// The option's name in the reader's list, or its number when the list has none.
std::string optionName(int64_t value, const std::vector<std::string>& names)
{
    auto name = ReflowableLayoutSettings::convertFontSettingsEnumToString(value, names);
    return name.empty() ? std::to_string(value) : name;
}

std::optional<size_t> indexOf(const std::vector<int64_t>& options, int64_t value)
{
    auto found = std::find(options.begin(), options.end(), value);
    if (found == options.end())
        return std::nullopt;
    return static_cast<size_t>(found - options.begin());
}

} // namespace

std::shared_ptr<ReflowableLayoutSettingSheet> ReflowableLayoutSettingSheet::create()
{
    return std::shared_ptr<ReflowableLayoutSettingSheet>(new ReflowableLayoutSettingSheet);
}

void ReflowableLayoutSettingSheet::viewDidLoad()
{
    ui::ViewController::viewDidLoad();
    auto root = view();
    root->setBackgroundColor(ui::Color::clear());
    std::weak_ptr<ReflowableLayoutSettingSheet> weak
        = std::static_pointer_cast<ReflowableLayoutSettingSheet>(shared_from_this());
    // The page around the card closes the sheet; touches on the card stay with its buttons.
    root->addGestureRecognizer(ui::TapGestureRecognizer::create([weak](ui::GestureRecognizer&) {
        if (auto sheet = weak.lock())
            sheet->closeFromOutside();
    }));

    m_card = ui::View::create();
    m_card->setBackgroundColor(backgroundColorForView.value_or(ui::Color::white()));
    m_card->layer()->setBorderWidth(1);
    m_card->layer()->setBorderColor(borderColor.value_or(ui::Color::lightGray()));
    m_card->layer()->setCornerRadius(8);
    // A tap between the card's buttons is not a tap around it.
    m_card->addGestureRecognizer(ui::TapGestureRecognizer::create([](ui::GestureRecognizer&) { }));
    root->addSubview(m_card);

    auto call = [weak](auto member, auto argument) {
        auto sheet = weak.lock();
        if (sheet && sheet.get()->*member)
            (sheet.get()->*member)(argument);
    };
    if (fontFamilyViewEnabled && !fontFamilyArray.empty()) {
        std::vector<std::string> names;
        for (const auto& family : fontFamilyArray)
            names.push_back(family.rfind("FONTSETTING_", 0) == 0 ? LocalizationHelper::localizedStringWithKey(family) : family);
        auto current = std::find(fontFamilyArray.begin(), fontFamilyArray.end(), currentFontFamily);
        addRow("family", "Font", names,
            [weak, call](size_t index) {
                auto sheet = weak.lock();
                if (!sheet || index >= sheet->fontFamilyArray.size())
                    return;
                sheet->currentFontFamily = sheet->fontFamilyArray[index];
                call(&ReflowableLayoutSettingSheet::fontFamilyDidChange, sheet->currentFontFamily);
            },
            current == fontFamilyArray.end() ? std::nullopt : std::optional<size_t>(current - fontFamilyArray.begin()));
    }
    if (fontSizeViewEnabled) {
        addRow("size", "Size", { "A-", "A+" },
            [weak, call](size_t index) {
                auto sheet = weak.lock();
                if (!sheet)
                    return;
                const int64_t step = std::clamp<int64_t>(sheet->fontSize + (index == 0 ? -1 : 1), 0, largestFontSizeStep);
                if (step == sheet->fontSize)
                    return;
                sheet->fontSize = step;
                call(&ReflowableLayoutSettingSheet::fontSizeDidChange, static_cast<double>(step));
            },
            std::nullopt);
    }
    if (scrollModeViewEnabled) {
        addRow("scroll", "Scrolling", { "Pages", "Scroll" },
            [weak, call](size_t index) {
                auto sheet = weak.lock();
                if (!sheet || sheet->paginationEnable == (index == 0))
                    return;
                sheet->paginationEnable = index == 0;
                call(&ReflowableLayoutSettingSheet::didEnablePagination, sheet->paginationEnable);
            },
            paginationEnable ? 0u : 1u);
    }
    auto optionRow = [&](bool enabled, const std::string& section, const std::string& title,
                         const std::vector<int64_t>& options, const std::vector<std::string>& names, int64_t current,
                         int64_t ReflowableLayoutSettingSheet::*value,
                         std::function<void(int64_t)> ReflowableLayoutSettingSheet::*handler) {
        if (!enabled || options.empty())
            return;
        std::vector<std::string> titles;
        for (auto option : options)
            titles.push_back(optionName(option, names));
        addRow(section, title, titles,
            [weak, call, options, value, handler](size_t index) {
                auto sheet = weak.lock();
                if (!sheet || index >= options.size())
                    return;
                sheet.get()->*value = options[index];
                call(handler, options[index]);
            },
            indexOf(options, current));
    };
    optionRow(readerModeViewEnabled, "mode", "Reading mode", readerModeOptions, ReflowableLayoutSettings::readerModeNames(),
        readerModeEnable, &ReflowableLayoutSettingSheet::readerModeEnable, &ReflowableLayoutSettingSheet::didChangeReaderMode);
    optionRow(alignmentViewEnabled, "alignment", "Alignment", textAlignmentOptions,
        ReflowableLayoutSettings::textAlignmentNames(), currentTextAlignment,
        &ReflowableLayoutSettingSheet::currentTextAlignment, &ReflowableLayoutSettingSheet::didChangeTextAliginment);
    optionRow(lineSpacingViewEnabled, "spacing", "Line spacing", lineSpacingOptions,
        ReflowableLayoutSettings::lineSpacingNames(), currentLineSpacing, &ReflowableLayoutSettingSheet::currentLineSpacing,
        &ReflowableLayoutSettingSheet::didChangeLineSpacing);
    optionRow(marginViewEnabled, "margin", "Margin", readerMarginOptions, ReflowableLayoutSettings::marginNames(),
        currentMargin, &ReflowableLayoutSettingSheet::currentMargin, &ReflowableLayoutSettingSheet::didChangeMargin);
    addRow("reset", "", { "Reset" },
        [weak](size_t) {
            auto sheet = weak.lock();
            if (sheet && sheet->resetReaderSetting)
                sheet->resetReaderSetting();
        },
        std::nullopt);
    if (auto reset = row("reset"); reset && !reset->buttons.empty() && resetButtonTitleColor)
        reset->buttons.front()->setTitleColor(*resetButtonTitleColor);
}

void ReflowableLayoutSettingSheet::addRow(const std::string& section, const std::string& title,
    const std::vector<std::string>& names, const std::function<void(size_t)>& picked, std::optional<size_t> selected)
{
    Row added;
    added.section = section;
    added.title = ui::Label::create();
    added.title->setText(title);
    added.title->setFont(ui::Font(customFontNameForLayout, 13));
    added.title->setTextColor(textColor.value_or(ui::Color::darkGray()));
    m_card->addSubview(added.title);
    std::weak_ptr<ReflowableLayoutSettingSheet> weak
        = std::static_pointer_cast<ReflowableLayoutSettingSheet>(shared_from_this());
    for (size_t index = 0; index < names.size(); ++index) {
        auto button = ui::Button::create();
        button->setTitle(names[index]);
        button->setFont(ui::Font(customFontNameForLayout, 13));
        button->setTitleColor(buttonTitleColor.value_or(ui::Color::darkGray()));
        button->setTitleColor(selectedButtonTitleColor.value_or(ui::Color::black()), ui::ControlState::Selected);
        button->layer()->setBorderWidth(1);
        button->layer()->setBorderColor(buttonBorderColor.value_or(ui::Color::lightGray()));
        button->layer()->setCornerRadius(4);
        button->setAccessibilityIdentifier("ReflowableLayout_" + section);
        button->addTarget(ui::ControlEvent::TouchUpInside, [weak, section, index, picked](ui::Control&) {
            auto sheet = weak.lock();
            if (!sheet)
                return;
            if (auto* shown = sheet->row(section); shown && section != "size" && section != "reset")
                sheet->markSelected(*shown, index);
            picked(index);
        });
        m_card->addSubview(button);
        added.buttons.push_back(button);
    }
    m_rows.push_back(std::move(added));
    if (selected)
        markSelected(m_rows.back(), *selected);
}

void ReflowableLayoutSettingSheet::markSelected(Row& shown, size_t index)
{
    for (size_t i = 0; i < shown.buttons.size(); ++i) {
        shown.buttons[i]->setSelected(i == index);
        shown.buttons[i]->layer()->setBorderColor(i == index
                ? selectedButtonBorderColor.value_or(ui::Color::black())
                : buttonBorderColor.value_or(ui::Color::lightGray()));
    }
}

ReflowableLayoutSettingSheet::Row* ReflowableLayoutSettingSheet::row(const std::string& section)
{
    auto found = std::find_if(m_rows.begin(), m_rows.end(), [&](const Row& shown) { return shown.section == section; });
    return found == m_rows.end() ? nullptr : &*found;
}

std::vector<std::shared_ptr<ui::Button>> ReflowableLayoutSettingSheet::buttons(const std::string& section) const
{
    for (const auto& shown : m_rows) {
        if (shown.section == section)
            return shown.buttons;
    }
    return {};
}

void ReflowableLayoutSettingSheet::closeFromOutside()
{
    auto keep = shared_from_this();
    if (willDismissController)
        willDismissController();
    if (presentingViewController())
        dismissViewControllerAnimated(true);
}

void ReflowableLayoutSettingSheet::viewDidLayoutSubviews()
{
    ui::ViewController::viewDidLayoutSubviews();
    if (!m_card)
        return;
    const ui::Rect bounds = view()->bounds();
    const bool pad = ui::Environment::current().isPad();
    const double width = pad ? std::min(cardWidthOnTablet, bounds.width()) : bounds.width();
    const double height = static_cast<double>(m_rows.size()) * (rowHeight + titleHeight) + inset;
    // Above the bottom bar's place on a tablet; along the bottom edge on a phone.
    const double bottom = pad ? bounds.maxY() - 80 : bounds.maxY();
    m_card->setFrame({ bounds.midX() - width / 2, std::max(0.0, bottom - height), width, height });
    double y = inset / 2;
    for (const auto& shown : m_rows) {
        shown.title->setFrame({ inset, y, width - 2 * inset, titleHeight });
        y += titleHeight;
        const double count = static_cast<double>(std::max<size_t>(shown.buttons.size(), 1));
        const double slot = (width - inset) / count;
        double x = inset;
        for (const auto& button : shown.buttons) {
            button->setFrame({ x, y + 6, slot - inset, rowHeight - 12 });
            x += slot;
        }
        y += rowHeight;
    }
}

} // namespace lectoro
