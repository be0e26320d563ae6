#pragma once

// A reader on screen for the bar tests: the reader fixture's world (fresh run loop, user
// defaults, the companion fakes) with a key window, the bar tests' distinct theme, a
// network that answers as the test says, and live analytics recorded. RecordingRouter
// notes each operation a tap reaches, then lets the reader's own router carry it out.

#include "../AnalyticsTestSupport.h"
#include "../ReaderTestSupport.h"
#include "../chrome/ChromeTestSupport.h"

#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/LectoroNetworkManager.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsHandler.h"
#include "LectoroSDKWithReader/reader/ReaderToolbarActions.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/ReadingSession.h"
#include "LectoroSDKWithReader/reader/help/ReaderHelp.h"
#include "LectoroSDKWithReader/readersdk/AnalyticsManager.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "companion/books/BookLoader.h"
#include "platform/testing/Interaction.h"
#include "platform/testing/UIScope.h"

#include <memory>
#include <string>
#include <vector>

namespace lectoro::barstest {

using chrometest::Device;
using chrometest::applyDevice;

class SwitchableReachabilitySource : public ReachabilitySource {
public:
    std::optional<uint32_t> flags() override { return online ? ReachabilityFlags::Reachable : 0u; }
    bool start(std::function<void()>) override { return true; }
    void stop() override { }

    bool online = true;
};

#define BARS_RECORD0(name)                                                                                       \
    void name() override                                                                                         \
    {                                                                                                            \
        note(#name);                                                                                             \
        ReaderToolbarRouter::name();                                                                             \
    }
#define BARS_RECORD1(name, Type)                                                                                 \
    void name(Type value) override                                                                               \
    {                                                                                                            \
        note(std::string(#name "(") + argumentText(value) + ")");                                                \
        ReaderToolbarRouter::name(value);                                                                        \
    }

class RecordingRouter : public ReaderToolbarRouter {
public:
    using ReaderToolbarRouter::ReaderToolbarRouter;

    std::vector<std::string> calls;
    // Runs as each call is noted, before the reader's router carries it out.
    std::function<void(const std::string&)> onCall;

    void note(std::string call)
    {
        calls.push_back(call);
        if (onCall)
            onCall(call);
    }

    BARS_RECORD0(removeVerticalBarViewForTeacherReview)
    BARS_RECORD0(addPlayerVerticalBarForTeacherView)
    BARS_RECORD0(removeSpeedSelectionView)
    BARS_RECORD1(moveTopAndBottomOnScreen, bool)
    std::vector<std::string> getActivePageIDs() override
    {
        note("getActivePageIDs");
        return ReaderToolbarRouter::getActivePageIDs();
    }
    void didTapOnTOCButton(const std::shared_ptr<PlayerActionBarItem>& sender) override
    {
        note(std::string("didTapOnTOCButton(") + tagText(sender) + ")");
        ReaderToolbarRouter::didTapOnTOCButton(sender);
    }
    void showMyData(const std::shared_ptr<PlayerActionBarItem>& sender) override
    {
        note(std::string("showMyData(") + tagText(sender) + ")");
        ReaderToolbarRouter::showMyData(sender);
    }
    BARS_RECORD0(actionForPentool)
    BARS_RECORD0(showStickyNote)
    BARS_RECORD0(actionForThumbnail)
    BARS_RECORD0(actionForFixedEpubThumbnail)
    BARS_RECORD0(actionForReflowThumbnail)
    std::string searchTextStr() override { return ReaderToolbarRouter::searchTextStr(); }
    void addSearchForText(const std::string& text, bool isElasticSearch) override
    {
        note("addSearchForText(\"" + text + "\"," + argumentText(isElasticSearch) + ")");
        ReaderToolbarRouter::addSearchForText(text, isElasticSearch);
    }
    BARS_RECORD0(actionForTeacherReview)
    BARS_RECORD0(actionForSubmitAnotation)
    BARS_RECORD0(showReadAloudController)
    BARS_RECORD0(didTapOnAudioSyncIcon)
    void showReflowableLayoutSettingControllerView(PlayerActionBarItem& sender) override
    {
        note("showReflowableLayoutSettingControllerView(" + std::to_string(sender.tag()) + ")");
        ReaderToolbarRouter::showReflowableLayoutSettingControllerView(sender);
    }
    BARS_RECORD0(actionForTextAnnotation)
    BARS_RECORD0(didTapOnProtractor)
    BARS_RECORD0(didTapOnBackButton)
    BARS_RECORD0(didTapOnClearAllFIBs)
    BARS_RECORD0(didTapOnPrintPageWithWatermark)
    BARS_RECORD0(actionForFurtherPage)
    BARS_RECORD0(updatePentoolButtonStatus)
    BARS_RECORD0(actionForPentoolDrawingMode)
    BARS_RECORD1(setPenMode, int64_t)
    BARS_RECORD0(actionForPenToolThicknessSelected)
    BARS_RECORD0(actionForPentoolErase)
    BARS_RECORD0(actionForPentoolDeleteSelection)
    BARS_RECORD0(actionForPentoolUndoDrawing)
    BARS_RECORD1(didSelectPenColor, const std::string&)
    BARS_RECORD0(removeTextAnnotationView)
    BARS_RECORD0(addTextAnnotationAlignmentView)
    BARS_RECORD0(removeTextAnnotationAlignmentView)
    BARS_RECORD0(addTextAnnotationTextColorView)
    BARS_RECORD0(removeTextAnnotationColorView)
    BARS_RECORD0(actionForDeleteTextAnnotation)
    BARS_RECORD0(actionForTextAnnotationKeyBoard)
    BARS_RECORD1(setTextAnnotationSelectedColor, const std::string&)
    BARS_RECORD0(playPauseAudioSyncIfAny)
    BARS_RECORD0(stopAudioSyncIfAny)
    BARS_RECORD0(removeReadAloudTopBar)
    BARS_RECORD0(enableNextPrevButtonForReadAloud)
    BARS_RECORD0(closeAudioSync)
    BARS_RECORD0(addSpeedSelectionView)
    BARS_RECORD1(didSelectAudioSyncColor, const std::string&)
    BARS_RECORD1(selectAudioSyncColorPalleteSelectionButton, bool)
    BARS_RECORD0(actionForAudioSyncColorPalletePicker)
    BARS_RECORD0(actionForTeacherReviewPenColorPalletePicker)
    BARS_RECORD0(didSelectEraserForTeacherReview)
    BARS_RECORD0(didSelectDeleteForTeacherReview)
    BARS_RECORD0(saveTeacherReviewedDataWhenUseTapOnStudentname)
    BARS_RECORD0(didSelectDoneForTeacherReview)
    BARS_RECORD1(didClickOnPageButton, int)
    BARS_RECORD0(backToStudentList)
    BARS_RECORD1(didSelectPenColorForTeacherReview, const std::string&)
    BARS_RECORD0(didSelectDragBoxForTeacherReview)
    BARS_RECORD0(didTapOnGenerateReportButton)
    BARS_RECORD0(jumpToNextStudent)
    BARS_RECORD0(jumpToPreviousStudent)

private:
    static std::string argumentText(bool value) { return value ? "1" : "0"; }
    static std::string argumentText(int64_t value) { return std::to_string(value); }
    static std::string argumentText(int value) { return std::to_string(value); }
    static std::string argumentText(const std::string& value) { return value; }
    static std::string tagText(const std::shared_ptr<PlayerActionBarItem>& item)
    {
        return item ? std::to_string(item->tag()) : std::string("nil");
    }
};

#undef BARS_RECORD0
#undef BARS_RECORD1

class BarsTest : public testing::ReaderTest {
protected:
    void SetUp() override
    {
        ReaderTest::SetUp();
        m_analytics = std::make_shared<testing::RecordingAnalyticsManager>();
        AnalyticsManager::setInstance(m_analytics);
        auto& network = LectoroNetworkManager::getInstance();
        m_previousReachability = network.internetReachability();
        m_network = std::make_shared<SwitchableReachabilitySource>();
        network.setInternetReachability(Reachability::reachabilityWithSource(m_network));

        m_settings = std::make_shared<MVReaderSettingModel>();
        m_reader = ReaderViewController::create(
            "/books/42", 42, makeUser("7"), "978", "https://api", "client", m_settings, "1.0");
        uitest::showInWindow(m_reader);
        m_reader->readingSession().stopAnalyticsScheduledTimer();
        m_theme = std::make_shared<LXMVThemeVO>(chrometest::makeTheme());
        context().theme = m_theme;
        m_renderer = framework().lastRenderer();
    }

    void TearDown() override
    {
        m_reader.reset();
        m_renderer.reset();
        LectoroNetworkManager::getInstance().setInternetReachability(m_previousReachability);
        AnalyticsManager::setInstance(nullptr);
        ReaderTest::TearDown();
    }

    ReaderContext& context() { return m_reader->context(); }

    // Portrait sizes; a landscape orientation swaps them.
    static void useDevice(Device device, ui::Orientation orientation = ui::Orientation::Portrait)
    {
        applyDevice(device, orientation);
    }

    // Opens a sample book as the renderer would report it; the reader builds its bars.
    std::shared_ptr<LectoroBookVO> openSample(const char* name)
    {
        auto loaded = companion::loadBook(std::string(LECTORO_SAMPLES_DIR) + "/books/" + name);
        EXPECT_TRUE(loaded.ok()) << name;
        if (!loaded.ok())
            return nullptr;
        // The help overlay (shown once per book kind, with the bars on screen) and the
        // read-aloud offer after it are the help tests' concern: here both count as seen.
        for (const char* flag : { ReaderHelp::pdfFlagKey, ReaderHelp::reflowEpubFlagKey, ReaderHelp::fixedEpubFlagKey })
            base::UserDefaults::standard().setBool(flag, false);
        m_reader->context().readAloudPopupShown = true;
        m_renderer->loadBook(loaded.value(), {});
        return loaded.value();
    }

    std::shared_ptr<ui::View> readerView() { return m_reader->view(); }

    std::shared_ptr<testing::RecordingAnalyticsManager> m_analytics;
    std::shared_ptr<Reachability> m_previousReachability;
    std::shared_ptr<SwitchableReachabilitySource> m_network;
    std::shared_ptr<MVReaderSettingModel> m_settings;
    std::shared_ptr<ReaderViewController> m_reader;
    std::shared_ptr<LXMVThemeVO> m_theme;
    std::shared_ptr<companion::testing::FakeRenderer> m_renderer;
    uitest::UIScope m_ui;
};

// A bar with the tag holding one tappable item with the tag (and colour metadata, if any).
inline std::shared_ptr<PlayerActionBarItem> addItem(
    PlayerActionBar& bar, int tag, std::optional<std::string> penColor = std::nullopt)
{
    auto item = PlayerActionBarItem::createWithLabel(tag, "x");
    if (penColor)
        item->setMetaData(base::Value::Dictionary { { "penColor", *penColor } });
    bar.addActionBarItem(item, 40, PlayerActionBarItemAlignmentLeading, true);
    return item;
}

inline std::shared_ptr<PlayerActionBar> makeBar(int tag)
{
    auto bar = PlayerActionBar::create({ 0, 0, 320, 50 });
    bar->setTag(tag);
    return bar;
}

} // namespace lectoro::barstest
