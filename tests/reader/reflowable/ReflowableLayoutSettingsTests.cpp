#include "LectoroSDKWithReader/reader/reflowable/ReflowableLayoutSettings.h"

#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/reader/ReaderActiveMode.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowableLayoutSettingSheet.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowablePageCount.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowablePageCountView.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowablePageSlider.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowableReaderConfiguration.h"
#include "LectoroSDKWithReader/reader/reflowable/SliderBarView.h"
#include "companion/store/SqliteDatabaseManager.h"
#include "companion/testing/FakeRenderer.h"
#include "platform/testing/Interaction.h"
#include "tests/reader/reflowable/ReflowableTestSupport.h"

namespace lectoro::reflowabletest {
namespace {

struct SentEvent {
    std::string name;
    base::Value info;
};

class SettingsHost : public ReflowableLayoutSettingsHost,
                     public ReflowablePageSliderDelegate,
                     public ReflowablePageCountHost {
public:
    std::shared_ptr<ui::ViewController> layoutSettingsPresenter() override { return presenter; }
    void setActiveMode(uint64_t mode) override { activeMode = mode; }
    void moveTopAndBottomOffScreen(bool animate, std::function<void()> completion) override
    {
        barsMovedOff += animate ? 1 : 0;
        if (completion)
            completion();
    }
    void resetAllPlayerActionBar() override { ++barResets; }
    void didChangeFontSizeForReflow(int64_t size) override { fontSizes.push_back(size); }
    void notifyEvent(const std::string& name, const base::Value& info) override
    {
        events.push_back({ name, info });
    }

    std::shared_ptr<ui::View> sliderHostView() override { return presenter->view(); }
    std::string updateChapterTitleForChapter(const EPUBChapterVO&) override { return {}; }
    std::shared_ptr<ui::View> pageCountHostView() override { return presenter->view(); }
    std::shared_ptr<ui::View> pageCountRendererView() override { return nullptr; }
    std::shared_ptr<ReaderViewControllerDelegate> pageCountReaderDelegate() override { return nullptr; }

    std::shared_ptr<ui::ViewController> presenter = ui::ViewController::create();
    uint64_t activeMode = 0;
    int barsMovedOff = 0;
    int barResets = 0;
    std::vector<int64_t> fontSizes;
    std::vector<SentEvent> events;
};

class ReflowableLayoutSettingsTest : public ReflowableTest {
protected:
    void SetUp() override
    {
        ReflowableTest::SetUp();
        uitest::showInWindow(host.presenter);
        book = makeReflowableBook({ 2, 2 });
        auto& stored = *book->userReaderFontSettings;
        stored.fontFamily = "Georgia";
        stored.fontSize = 3;
        stored.scrollEnabled = true;
        stored.readerMode = 1;
        stored.textAlignment = 2;
        stored.lineSpacing = 3;
        stored.margin = 1;

        theme = std::make_shared<LXMVThemeVO>();
        theme->setFontSettings_popup_background(ui::Color::fromRGB255(1, 2, 3));
        theme->setFontSettings_reset_color(ui::Color::fromRGB255(4, 5, 6));
        theme->setFontSettings_font_divider_color(ui::Color::fromRGB255(7, 8, 9));
        renderer = companion::testing::FakeRenderer::create();
        store = std::move(*companion::SqliteDatabaseManager::openInMemory());
        configuration = std::make_shared<ReflowableReaderConfiguration>();
        metrics = std::make_shared<ReflowableChapterMetrics>();

        slider = std::make_unique<ReflowablePageSlider>(host, theme, renderer, metrics);
        slider->setBook(book);
        slider->enableDisableVerticalSlider(true);
        pageCount = std::make_unique<ReflowablePageCount>(host, metrics, slider.get());
        pageCount->setBook(book);
        pageCount->addReflowablePageCountView();

        ReflowableLayoutSettingsDependencies dependencies;
        dependencies.theme = theme;
        dependencies.renderer = renderer;
        dependencies.store = store;
        dependencies.bookID = "501";
        dependencies.userID = 77;
        dependencies.configuration = configuration;
        dependencies.slider = slider.get();
        dependencies.pageCount = pageCount.get();
        settings = std::make_unique<ReflowableLayoutSettings>(host, dependencies);
        settings->setBook(book);
    }

    std::shared_ptr<ReflowableLayoutSettingSheet> open()
    {
        settings->showReflowableLayoutSettingControllerView();
        return settings->reflowableLayoutSettingController();
    }

    std::shared_ptr<ReaderFontSettingsVO> storedSettings()
    {
        return store->getReaderFontSettingForBookID("501", 77);
    }

    SettingsHost host;
    std::shared_ptr<EPUBBookVO> book;
    std::shared_ptr<LXMVThemeVO> theme;
    std::shared_ptr<companion::testing::FakeRenderer> renderer;
    std::shared_ptr<companion::SqliteDatabaseManager> store;
    std::shared_ptr<ReflowableReaderConfiguration> configuration;
    std::shared_ptr<ReflowableChapterMetrics> metrics;
    std::unique_ptr<ReflowablePageSlider> slider;
    std::unique_ptr<ReflowablePageCount> pageCount;
    std::unique_ptr<ReflowableLayoutSettings> settings;
};

TEST_F(ReflowableLayoutSettingsTest, OpeningSeedsThemesAndPresentsTheSheet)
{
    auto sheet = open();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(host.activeMode, ReaderActiveModeReflowableSettings);
    EXPECT_EQ(host.barsMovedOff, 1);
    EXPECT_EQ(host.presenter->presentedViewController(), sheet);
    EXPECT_EQ(sheet->modalPresentationStyle(), ui::ModalPresentationStyle::OverCurrentContext);
    EXPECT_EQ(sheet->customFontNameForLayout, "OpenSans");

    EXPECT_EQ(sheet->textAlignmentOptions, (std::vector<int64_t> { 0, 1, 2, 3 }));
    EXPECT_EQ(sheet->lineSpacingOptions, (std::vector<int64_t> { 1, 2, 3 }));
    EXPECT_EQ(sheet->readerMarginOptions, (std::vector<int64_t> { 1, 2, 3 }));
    EXPECT_EQ(sheet->readerModeOptions, (std::vector<int64_t> { 2, 0, 1 }));
    EXPECT_EQ(sheet->fontFamilyArray,
        (std::vector<std::string> {
            "FONTSETTING_FONTFAMILY_DEFAULT", "Open Sans", "Georgia", "Noto Serif" }));

    EXPECT_EQ(sheet->backgroundColorForView, ui::Color::fromRGB255(1, 2, 3));
    EXPECT_EQ(sheet->resetButtonTitleColor, ui::Color::fromRGB255(4, 5, 6));
    EXPECT_EQ(sheet->separationLineColor, ui::Color::fromRGB255(7, 8, 9));

    EXPECT_EQ(sheet->readerModeEnable, 1);
    EXPECT_EQ(sheet->fontSize, 3);
    EXPECT_EQ(sheet->currentFontFamily, "Georgia");
    EXPECT_FALSE(sheet->paginationEnable);
    EXPECT_EQ(sheet->currentTextAlignment, 2);
    EXPECT_EQ(sheet->currentLineSpacing, 3);
    EXPECT_EQ(sheet->currentMargin, 1);
    for (bool section : { sheet->fontFamilyViewEnabled, sheet->fontSizeViewEnabled,
             sheet->scrollModeViewEnabled, sheet->readerModeViewEnabled, sheet->alignmentViewEnabled,
             sheet->lineSpacingViewEnabled, sheet->marginViewEnabled })
        EXPECT_TRUE(section);

    // Opened again before it was dismissed: the same sheet.
    EXPECT_EQ(open(), sheet);
}

TEST_F(ReflowableLayoutSettingsTest, EachChangeIsReportedAppliedAndStored)
{
    struct ChangeCase {
        const char* name;
        std::function<void(ReflowableLayoutSettingSheet&)> act;
        const char* event;
        const char* key;
        const char* value;
        const char* rendererCall;
        bool rebuildsSlider;
    };
    const ChangeCase cases[] = {
        { "family", [](auto& sheet) { sheet.fontFamilyDidChange("Noto Serif"); }, "font_data_live",
            "font_value", "Noto Serif", "setFontFamily", true },
        { "reading mode", [](auto& sheet) { sheet.didChangeReaderMode(2); }, "reading_mode_data_live",
            "font_reading_mode", "Night Mode", "setReaderMode", false },
        { "alignment", [](auto& sheet) { sheet.didChangeTextAliginment(3); }, "alignment_data_live",
            "font_alignment", "Justify Align", "setTextAlignment", false },
        { "line spacing", [](auto& sheet) { sheet.didChangeLineSpacing(1); }, "line_spacing_data_live",
            "font_line_spacing", "Narrow Line Spacing", "setLineSpacing", true },
        { "margin", [](auto& sheet) { sheet.didChangeMargin(3); }, "margin_data_live", "font_margin",
            "Wide Margin", "setMargin", true },
        { "unknown mode has no name", [](auto& sheet) { sheet.didChangeReaderMode(9); },
            "reading_mode_data_live", "font_reading_mode", "", "setReaderMode", false },
        { "negative margin has no name", [](auto& sheet) { sheet.didChangeMargin(-1); }, "margin_data_live",
            "font_margin", "", "setMargin", true },
    };
    auto sheet = open();
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        host.events.clear();
        renderer->clearCalls();
        auto sliderBefore = slider->viewForSliderBar();
        testCase.act(*sheet);
        ASSERT_EQ(host.events.size(), 1u);
        EXPECT_EQ(host.events[0].name, testCase.event);
        EXPECT_EQ(host.events[0].info[testCase.key].asString(), std::optional<std::string>(testCase.value));
        EXPECT_EQ(renderer->countOf(testCase.rendererCall), 1u);
        EXPECT_EQ(slider->viewForSliderBar() != sliderBefore, testCase.rebuildsSlider);
        auto stored = storedSettings();
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->toDictionary(), book->userReaderFontSettings->toDictionary());
    }
    EXPECT_EQ(book->userReaderFontSettings->fontFamily, "Noto Serif");
    EXPECT_EQ(configuration->reflowableFontFamily(), "Noto Serif");
    EXPECT_EQ(book->userReaderFontSettings->textAlignment, 3);
    EXPECT_EQ(configuration->reflowableTextAlignment(), 3);
    EXPECT_EQ(book->userReaderFontSettings->lineSpacing, 1);
    EXPECT_EQ(configuration->reflowableMargin(), -1);
}

TEST_F(ReflowableLayoutSettingsTest, PaginationSwitchesTheVerticalSlider)
{
    auto sheet = open();
    sheet->didEnablePagination(true);
    EXPECT_FALSE(book->userReaderFontSettings->scrollEnabled);
    EXPECT_EQ(host.events.back().name, "scroll_view_data_live");
    EXPECT_EQ(host.events.back().info["font_scroll_view"].asString(), std::optional<std::string>("OFF"));
    EXPECT_TRUE(configuration->reflowablePagination());
    EXPECT_EQ(renderer->lastCall("enablePagination")->arguments.at(0), base::Value(true));
    EXPECT_FALSE(slider->isVerticalsliderEnable());
    EXPECT_FALSE(slider->viewForSliderBar());
    EXPECT_FALSE(storedSettings()->scrollEnabled);

    sheet->didEnablePagination(false);
    EXPECT_TRUE(book->userReaderFontSettings->scrollEnabled);
    EXPECT_EQ(host.events.back().info["font_scroll_view"].asString(), std::optional<std::string>("ON"));
    EXPECT_TRUE(slider->viewForSliderBar());
    EXPECT_TRUE(storedSettings()->scrollEnabled);
}

TEST_F(ReflowableLayoutSettingsTest, ReadingModeRecoloursThePageCount)
{
    auto sheet = open();
    auto strip = pageCount->reflowableSliderPageCountView();
    const std::pair<int64_t, const char*> cases[]
        = { { 1, "#FAF3E8FF" }, { 2, "#1A1A1AFF" }, { 0, "#FFFFFFFF" } };
    for (const auto& [mode, colour] : cases) {
        sheet->didChangeReaderMode(mode);
        EXPECT_EQ(strip->backgroundColor()->toDebugString(), colour);
    }
}

TEST_F(ReflowableLayoutSettingsTest, SizeChangesGoToTheReadersStepHandler)
{
    auto sheet = open();
    sheet->fontSizeDidChange(4.9);
    sheet->fontSizeDidChange(std::nan(""));
    EXPECT_EQ(host.fontSizes, std::vector<int64_t> { 4 });
    EXPECT_TRUE(host.events.empty());
}

TEST_F(ReflowableLayoutSettingsTest, ResetRestoresDefaultsDismissesAndStores)
{
    auto sheet = open();
    slider->enableDisableVerticalSlider(false);
    configuration->setReflowableReaderMode(2);
    book->userReaderFontSettings->readerMode = 2;
    sheet->resetReaderSetting();

    ASSERT_EQ(host.events.size(), 1u);
    EXPECT_EQ(host.events[0].name, "reset_data_live");
    EXPECT_TRUE(host.events[0].info.isNull());
    EXPECT_EQ(configuration->reflowableReaderMode(), ReflowableReaderConfiguration().reflowableReaderMode());
    EXPECT_EQ(renderer->countOf("resetReaderFontSetting"), 1u);
    EXPECT_FALSE(settings->reflowableLayoutSettingController());
    EXPECT_TRUE(slider->isVerticalsliderEnable());
    EXPECT_TRUE(slider->viewForSliderBar());
    EXPECT_EQ(host.barResets, 1);
    EXPECT_EQ(pageCount->reflowableSliderPageCountView()->backgroundColor()->toDebugString(), "#1A1A1AFF");
    EXPECT_TRUE(storedSettings());
    uitest::completePresentations();
    EXPECT_FALSE(host.presenter->presentedViewController());

    // The next opening makes a new sheet.
    EXPECT_NE(open(), sheet);
}

TEST_F(ReflowableLayoutSettingsTest, DismissalEndsTheModeAndDropsTheSheet)
{
    auto sheet = open();
    sheet->willDismissController();
    EXPECT_EQ(host.activeMode, ReaderActiveModeNone);
    EXPECT_EQ(host.barResets, 1);
    EXPECT_FALSE(settings->reflowableLayoutSettingController());
    EXPECT_FALSE(storedSettings()) << "dismissal stores nothing";
}

TEST_F(ReflowableLayoutSettingsTest, HandlersOutlivingTheReaderDoNothing)
{
    auto sheet = open();
    settings.reset();
    sheet->didChangeMargin(2);
    sheet->resetReaderSetting();
    sheet->willDismissController();
    EXPECT_TRUE(host.events.empty());
    EXPECT_EQ(host.barResets, 0);
}

TEST_F(ReflowableLayoutSettingsTest, RendererResetHandlerOfTheSecondController)
{
    auto controller = ReflowableLayoutSettingSheet::create();
    settings->setResetReaderSettingForRenderer(*controller);
    slider->enableDisableVerticalSlider(false);
    controller->resetReaderSetting();
    EXPECT_EQ(renderer->countOf("resetReaderSetting"), 1u);
    EXPECT_TRUE(slider->viewForSliderBar());
    EXPECT_EQ(host.barResets, 1);
    EXPECT_TRUE(host.events.empty());
    EXPECT_FALSE(storedSettings());
}

TEST_F(ReflowableLayoutSettingsTest, EnumNamesStayInsideTheirLists)
{
    const auto& modes = ReflowableLayoutSettings::readerModeNames();
    EXPECT_EQ(ReflowableLayoutSettings::convertFontSettingsEnumToString(3, modes), "Default Mode");
    EXPECT_EQ(ReflowableLayoutSettings::convertFontSettingsEnumToString(4, modes), "");
    EXPECT_EQ(ReflowableLayoutSettings::convertFontSettingsEnumToString(-1, modes), "");
    EXPECT_EQ(ReflowableLayoutSettings::convertFontSettingsEnumToString(
                  4, ReflowableLayoutSettings::textAlignmentNames()),
        "Default Align");
    EXPECT_EQ(ReflowableLayoutSettings::convertFontSettingsEnumToString(0, {}), "");
}

} // namespace
} // namespace lectoro::reflowabletest
