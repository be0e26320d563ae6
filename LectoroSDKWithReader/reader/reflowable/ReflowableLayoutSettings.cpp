#include "LectoroSDKWithReader/reader/reflowable/ReflowableLayoutSettings.h"

#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/reader/LectoroReaderEventConstant.h"
#include "LectoroSDKWithReader/reader/ReaderActiveMode.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowableLayoutSettingSheet.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowablePageCount.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowablePageSlider.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowableReaderConfiguration.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "platform/base/Value.h"

#include <cmath>

namespace lectoro {

namespace {

using Events = LectoroReaderEventConstant;

} // namespace

const std::vector<std::string>& ReflowableLayoutSettings::readerModeNames()
{
    static const std::vector<std::string> names { "Day Mode", "Sepia Mode", "Night Mode", "Default Mode" };
    return names;
}

const std::vector<std::string>& ReflowableLayoutSettings::textAlignmentNames()
{
    static const std::vector<std::string> names { "Left Align", "Center Align", "Right Align",
        "Justify Align", "Default Align" };
    return names;
}

const std::vector<std::string>& ReflowableLayoutSettings::lineSpacingNames()
{
    static const std::vector<std::string> names { "Default Line Spacing", "Narrow Line Spacing",
        "Normal Line Spacing", "Wide Line Spacing" };
    return names;
}

const std::vector<std::string>& ReflowableLayoutSettings::marginNames()
{
    static const std::vector<std::string> names { "Default Margin", "Narrow Margin", "Normal Margin",
        "Wide Margin" };
    return names;
}

const std::vector<std::string>& ReflowableLayoutSettings::fontFamilies()
{
    static const std::vector<std::string> names { "FONTSETTING_FONTFAMILY_DEFAULT", "Open Sans", "Georgia",
        "Noto Serif" };
    return names;
}

ReflowableLayoutSettings::ReflowableLayoutSettings(
    ReflowableLayoutSettingsHost& host, ReflowableLayoutSettingsDependencies dependencies)
    : m_host(host)
    , m_dependencies(std::move(dependencies))
{
    if (!m_dependencies.configuration)
        m_dependencies.configuration = ReflowableReaderConfiguration::sharedInstance();
}

ReflowableLayoutSettings::~ReflowableLayoutSettings() = default;

std::string ReflowableLayoutSettings::convertFontSettingsEnumToString(
    int64_t value, const std::vector<std::string>& names)
{
    if (value < 0 || value >= static_cast<int64_t>(names.size()))
        return {};
    return names[static_cast<size_t>(value)];
}

std::shared_ptr<ReaderFontSettingsVO> ReflowableLayoutSettings::settingsRecord() const
{
    auto* book = dynamic_cast<EPUBBookVO*>(m_book.get());
    if (!book)
        return nullptr;
    if (!book->userReaderFontSettings)
        book->userReaderFontSettings = std::make_shared<ReaderFontSettingsVO>();
    return book->userReaderFontSettings;
}

void ReflowableLayoutSettings::showReflowableLayoutSettingControllerView()
{
    if (!m_sheet)
        m_sheet = ReflowableLayoutSettingSheet::create();
    m_host.setActiveMode(ReaderActiveModeReflowableSettings);
    m_sheet->setModalPresentationStyle(ui::ModalPresentationStyle::OverCurrentContext);
    m_sheet->customFontNameForLayout = "OpenSans";
    configureFontSettingOptions();
    configureFontSettingTheme();

    if (auto settings = settingsRecord()) {
        m_sheet->readerModeEnable = settings->readerMode;
        m_sheet->fontFamilyArray = fontFamilies();
        m_sheet->fontSize = settings->fontSize;
        m_sheet->currentFontFamily = settings->fontFamily;
        m_sheet->paginationEnable = !settings->scrollEnabled;
        m_sheet->currentTextAlignment = settings->textAlignment;
        m_sheet->currentLineSpacing = settings->lineSpacing;
        m_sheet->currentMargin = settings->margin;
    }
    configureFontSettingView();
    installHandlers();

    std::weak_ptr<const void> alive = m_alive;
    auto sheet = m_sheet;
    m_host.moveTopAndBottomOffScreen(true, [this, alive, sheet] {
        if (!alive.lock())
            return;
        if (auto presenter = m_host.layoutSettingsPresenter())
            presenter->presentViewController(sheet, false);
    });
}

void ReflowableLayoutSettings::configureFontSettingOptions()
{
    if (!m_sheet)
        return;
    m_sheet->textAlignmentOptions = { 0, 1, 2, 3 };
    m_sheet->lineSpacingOptions = { 1, 2, 3 };
    m_sheet->readerMarginOptions = { 1, 2, 3 };
    m_sheet->readerModeOptions = { 2, 0, 1 };
}

void ReflowableLayoutSettings::configureFontSettingTheme()
{
    if (!m_sheet || !m_dependencies.theme)
        return;
    const auto& theme = *m_dependencies.theme;
    m_sheet->backgroundColorForView = theme.fontSettings_popup_background();
    m_sheet->borderColor = theme.fontSettings_popup_border();
    m_sheet->textColor = theme.fontSettings_font_text_color();
    m_sheet->titleTextColor = theme.fontSettings_selected_text_color();
    m_sheet->buttonBorderColor = theme.fontSettings_font_box_border_color();
    m_sheet->buttonTitleColor = theme.fontSettings_other_icon_color();
    m_sheet->selectedButtonBorderColor = theme.fontSettings_font_selected_icon_border();
    m_sheet->selectedButtonTitleColor = theme.fontSettings_other_selected_icon_color();
    m_sheet->resetButtonTitleColor = theme.fontSettings_reset_color();
    m_sheet->sliderThumbColor = theme.fontSettings_font_pointer_bg();
    m_sheet->sliderTrackTintColor = theme.fontSettings_other_brightness_slider_color();
    m_sheet->scrollSwitchTintColor = theme.fontSettings_Other_ScrollView_selected_Tab_bg();
    m_sheet->fontFamilyThemeColor = theme.fontSettings_font_more_icon_color();
    m_sheet->separationLineColor = theme.fontSettings_font_divider_color();
}

void ReflowableLayoutSettings::configureFontSettingView()
{
    if (!m_sheet)
        return;
    m_sheet->fontFamilyViewEnabled = true;
    m_sheet->fontSizeViewEnabled = true;
    m_sheet->scrollModeViewEnabled = true;
    m_sheet->readerModeViewEnabled = true;
    m_sheet->alignmentViewEnabled = true;
    m_sheet->lineSpacingViewEnabled = true;
    auto* book = dynamic_cast<const EPUBBookVO*>(m_book.get());
    const bool authorReflow = book && book->isEpubTypeAuthorReflow();
    m_sheet->marginViewEnabled = isIpad() || !authorReflow;
}

void ReflowableLayoutSettings::installHandlers()
{
    std::weak_ptr<const void> alive = m_alive;
    auto guarded = [this, alive](auto action) {
        return [this, alive, action](auto... arguments) {
            if (alive.lock())
                (this->*action)(arguments...);
        };
    };
    m_sheet->fontFamilyDidChange = guarded(&ReflowableLayoutSettings::fontFamilyDidChange);
    m_sheet->fontSizeDidChange = guarded(&ReflowableLayoutSettings::fontSizeDidChange);
    m_sheet->didEnablePagination = guarded(&ReflowableLayoutSettings::didEnablePagination);
    m_sheet->didChangeReaderMode = guarded(&ReflowableLayoutSettings::didChangeReaderMode);
    m_sheet->didChangeTextAliginment = guarded(&ReflowableLayoutSettings::didChangeTextAlignment);
    m_sheet->didChangeLineSpacing = guarded(&ReflowableLayoutSettings::didChangeLineSpacing);
    m_sheet->didChangeMargin = guarded(&ReflowableLayoutSettings::didChangeMargin);
    m_sheet->resetReaderSetting = guarded(&ReflowableLayoutSettings::resetReaderSetting);
    m_sheet->willDismissController = guarded(&ReflowableLayoutSettings::willDismissController);
}

void ReflowableLayoutSettings::sendEvent(const char* eventName, const char* key, const std::string& value)
{
    base::Value::Dictionary info;
    info.set(key, value);
    m_host.notifyEvent(eventName, base::Value(std::move(info)));
}

void ReflowableLayoutSettings::saveReaderFontSetting(const std::shared_ptr<ReaderFontSettingsVO>& settings)
{
    if (m_dependencies.store && settings)
        m_dependencies.store->saveReaderFontSetting(settings, m_dependencies.bookID, m_dependencies.userID);
}

std::shared_ptr<ReaderFontSettingsVO> ReflowableLayoutSettings::getReaderFontSetting()
{
    if (!m_dependencies.store)
        return nullptr;
    return m_dependencies.store->getReaderFontSettingForBookID(m_dependencies.bookID, m_dependencies.userID);
}

void ReflowableLayoutSettings::saveCurrentSettings()
{
    saveReaderFontSetting(settingsRecord());
}

void ReflowableLayoutSettings::rebuildSlider()
{
    if (m_dependencies.slider)
        m_dependencies.slider->addSliderBarForReflowableBook();
}

void ReflowableLayoutSettings::fontFamilyDidChange(const std::string& family)
{
    auto settings = settingsRecord();
    if (settings)
        settings->fontFamily = family;
    sendEvent(Events::fontFamilyEventName(), Events::fontFamilyEventParameterFontValue(), family);
    m_dependencies.configuration->setReflowableFontFamily(family);
    if (auto renderer = m_dependencies.renderer.lock())
        renderer->setFontFamily(family);
    rebuildSlider();
    saveCurrentSettings();
}

void ReflowableLayoutSettings::fontSizeDidChange(double size)
{
    if (!std::isfinite(size))
        return;
    m_host.didChangeFontSizeForReflow(static_cast<int64_t>(std::trunc(size)));
}

void ReflowableLayoutSettings::didEnablePagination(bool paginate)
{
    if (auto settings = settingsRecord())
        settings->scrollEnabled = !paginate;
    sendEvent(Events::fontScrollViewEventName(), Events::fontScrollViewEventParameterFontScrollView(),
        paginate ? "OFF" : "ON");
    m_dependencies.configuration->setReflowablePagination(paginate);
    if (auto renderer = m_dependencies.renderer.lock())
        renderer->enablePagination(paginate);
    if (m_dependencies.slider)
        m_dependencies.slider->enableDisableVerticalSlider(!paginate);
    saveCurrentSettings();
}

void ReflowableLayoutSettings::didChangeReaderMode(int64_t mode)
{
    if (auto settings = settingsRecord())
        settings->readerMode = static_cast<int16_t>(mode);
    sendEvent(Events::fontReadingModeEventName(), Events::fontReadingModeEventParameterFontReadingMode(),
        convertFontSettingsEnumToString(mode, readerModeNames()));
    m_dependencies.configuration->setReflowableReaderMode(mode);
    if (auto renderer = m_dependencies.renderer.lock())
        renderer->setReaderMode(mode);
    if (m_dependencies.pageCount)
        m_dependencies.pageCount->setPageCountViewColor();
    saveCurrentSettings();
}

void ReflowableLayoutSettings::didChangeTextAlignment(int64_t alignment)
{
    if (auto settings = settingsRecord())
        settings->textAlignment = static_cast<int16_t>(alignment);
    sendEvent(Events::fontAlignmentDataEventName(), Events::fontAlignmentDataEventParameterFontAlignment(),
        convertFontSettingsEnumToString(alignment, textAlignmentNames()));
    m_dependencies.configuration->setReflowableTextAlignment(alignment);
    if (auto renderer = m_dependencies.renderer.lock())
        renderer->setTextAlignment(alignment);
    saveCurrentSettings();
}

void ReflowableLayoutSettings::didChangeLineSpacing(int64_t spacing)
{
    if (auto settings = settingsRecord())
        settings->lineSpacing = static_cast<int16_t>(spacing);
    sendEvent(Events::fontLineSpacingEventName(), Events::fontLineSpacingEventParameterFontLineSpacing(),
        convertFontSettingsEnumToString(spacing, lineSpacingNames()));
    m_dependencies.configuration->setReflowableLineSpacing(spacing);
    if (auto renderer = m_dependencies.renderer.lock())
        renderer->setLineSpacing(spacing);
    rebuildSlider();
    saveCurrentSettings();
}

void ReflowableLayoutSettings::didChangeMargin(int64_t margin)
{
    if (auto settings = settingsRecord())
        settings->margin = static_cast<int16_t>(margin);
    sendEvent(Events::fontMarginDataEventName(), Events::fontMarginDataEventParameterFontMarginData(),
        convertFontSettingsEnumToString(margin, marginNames()));
    m_dependencies.configuration->setReflowableMargin(margin);
    if (auto renderer = m_dependencies.renderer.lock())
        renderer->setMargin(margin);
    rebuildSlider();
    saveCurrentSettings();
}

void ReflowableLayoutSettings::resetReaderSetting()
{
    // The sheet calls this from its own handler: it stays alive until the handler is done.
    auto sheet = m_sheet;
    m_host.notifyEvent(Events::fontResetEventName(), base::Value());
    m_dependencies.configuration->reflowableReaderDefaultConfiguration();
    if (auto renderer = m_dependencies.renderer.lock())
        renderer->resetReaderFontSetting();
    m_sheet = nullptr;
    if (sheet)
        sheet->dismissViewControllerAnimated(true);
    if (m_dependencies.slider) {
        m_dependencies.slider->enableDisableVerticalSlider(true);
        m_dependencies.slider->addSliderBarForReflowableBook();
    }
    m_host.resetAllPlayerActionBar();
    if (m_dependencies.pageCount)
        m_dependencies.pageCount->setPageCountViewColor();
    saveCurrentSettings();
}

void ReflowableLayoutSettings::willDismissController()
{
    auto sheet = m_sheet;
    m_host.setActiveMode(ReaderActiveModeNone);
    m_host.resetAllPlayerActionBar();
    m_sheet = nullptr;
}

void ReflowableLayoutSettings::setResetReaderSettingForRenderer(ReflowableLayoutSettingSheet& controller)
{
    std::weak_ptr<const void> alive = m_alive;
    std::weak_ptr<ui::ViewController> weakController = controller.weak_from_this();
    controller.resetReaderSetting = [this, alive, weakController] {
        if (!alive.lock())
            return;
        m_dependencies.configuration->reflowableReaderDefaultConfiguration();
        if (auto renderer = m_dependencies.renderer.lock())
            renderer->resetReaderSetting();
        if (auto target = weakController.lock())
            target->dismissViewControllerAnimated(true);
        if (m_dependencies.slider) {
            m_dependencies.slider->enableDisableVerticalSlider(true);
            m_dependencies.slider->addSliderBarForReflowableBook();
        }
        m_host.resetAllPlayerActionBar();
    };
}

} // namespace lectoro
