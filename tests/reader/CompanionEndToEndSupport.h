#pragma once

// An end-to-end reader test as a host runs the reader: the companion framework itself (its
// in-process service over the real store in the test's folder) and the public launcher,
// shown in a window, with a recording host as its delegate.

#include "reader/LauncherTestSupport.h"
#include "reader/ReaderTestSupport.h"

#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
#include "LectoroSDKWithReader/media/ReaderReadAloud.h"
#include "LectoroSDKWithReader/media/readaloud/MVReadToMeViewController.h"
#include "LectoroSDKWithReader/reader/ReaderChrome.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/reader/chrome/ReaderVerticalBar.h"
#include "LectoroSDKWithReader/reader/help/HelpScreen.h"
#include "LectoroSDKWithReader/reader/help/ReaderHelp.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "companion/Framework.h"
#include "companion/renderer/BookRenderer.h"
#include "companion/service/InProcessService.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"
#include "platform/testing/Interaction.h"
#include "platform/testing/Landing.h"
#include "platform/ui/Button.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <string>

namespace lectoro::testing {

// A member of a class roster, as the service answers it.
inline base::Value classMember(int64_t id, const char* first, const char* last)
{
    return base::Value::Dictionary { { "user",
        base::Value::Dictionary { { "id", id }, { "firstName", first }, { "lastName", last } } } };
}

// A finger's tap on the page on screen, at its middle or at a point of the renderer's view:
// it reaches the page only when nothing lies over the page there.
inline ::testing::AssertionResult tapPage(ReaderViewController& reader, std::optional<ui::Point> at = std::nullopt)
{
    auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader.rendererView());
    if (!renderer)
        return ::testing::AssertionFailure() << "the reader has no page renderer";
    auto pages = renderer->getActivePages();
    if (pages.empty())
        return ::testing::AssertionFailure() << "no page is on screen";
    auto view = renderer->view();
    auto landing = uitest::landOn(*view, at);
    if (!landing)
        return ::testing::AssertionFailure() << landing.obstacle;
    renderer->tapPoint(pages.front().pageID, view->convertPointFrom(landing.pointInWindow, nullptr));
    return ::testing::AssertionSuccess();
}

// The help overlay a first opening shows, closed with its button as a user does. Answers
// whether it had to be closed.
inline bool closeHelpIfShown(ReaderViewController& reader)
{
    auto help = reader.chrome().help().helpScreen();
    auto view = help ? help->viewIfLoaded() : nullptr;
    if (!view || !view->window())
        return false;
    EXPECT_TRUE(uitest::tap(*help->button()));
    uitest::completePresentations();
    base::RunLoop::main().advanceBy(1);
    return true;
}

// A narrated book offers its reading modes once it has opened; reading by oneself closes
// the offer with its close button. Answers whether there was an offer to close.
inline bool closeOfferedReadAloud(ReaderViewController& reader)
{
    auto chooser = reader.readAloud().readToMeViewController();
    auto view = chooser ? chooser->viewIfLoaded() : nullptr;
    if (!view || !view->window())
        return false;
    EXPECT_TRUE(uitest::tap(*chooser->closeReadToMeViewButton()));
    uitest::completePresentations();
    base::RunLoop::main().advanceBy(1);
    return true;
}

// The bars come in when the page is tapped; their slide is let run out.
inline ::testing::AssertionResult showBars(ReaderViewController& reader)
{
    if (!reader.isPlayerActionBarHidden())
        return ::testing::AssertionSuccess();
    auto tapped = tapPage(reader);
    base::RunLoop::main().advanceBy(1);
    if (!tapped)
        return tapped;
    if (reader.isPlayerActionBarHidden())
        return ::testing::AssertionFailure() << "a tap on the page did not bring the bars in";
    return ::testing::AssertionSuccess();
}

class CompanionEndToEndTest : public ReaderTest {
protected:
    void SetUp() override
    {
        ReaderTest::SetUp();
        setUpHost();
        m_companion = companion::makeFramework(companion::FrameworkOptions { m_storage.string(), nullptr });
        setCompanionFramework(m_companion);
        m_launcher = LectoroReaderViewController::create();
        m_launcher->setDelegate(m_host);
        if (showsLauncherAtSetUp())
            uitest::showInWindow(m_launcher);
    }

    void TearDown() override
    {
        base::waitForBackgroundWork();
        // The window lets go of the launcher too, so no reader outlives its test (and hears
        // the next test's notifications).
        ui::setKeyWindowRootViewController(nullptr);
        m_launcher.reset();
        m_companion.reset();
        ReaderTest::TearDown();
    }

    // What the host has in place before the framework starts (a theme of its own).
    virtual void setUpHost() { }
    // A host that configures the reader before it first appears shows the launcher itself.
    virtual bool showsLauncherAtSetUp() const { return true; }

    companion::InProcessService& inProcessService() { return *m_companion->inProcessService(); }

    static std::shared_ptr<LectoroBookPackage> samplePageBook(const std::string& bookID)
    {
        return std::make_shared<LectoroBookPackage>(
            std::string(LECTORO_SAMPLES_DIR) + "/books/sample-pagebook", bookID, "978-0");
    }

    static std::shared_ptr<LectoroServiceConfiguration> serviceConfiguration()
    {
        return std::make_shared<LectoroServiceConfiguration>("https://service", "client", std::string("https://micro"));
    }

    // Lets background work, presentations and a second of timers run out.
    static void settle()
    {
        base::waitForBackgroundWork();
        uitest::completePresentations();
        base::RunLoop::main().advanceBy(1);
        base::waitForBackgroundWork();
        base::RunLoop::main().runUntilIdle();
    }

    // An item of the reader's own bottom bar, brought in by a tap on the page, or, when a
    // full row keeps it behind "more", of the bar a tap on that item opens; null when
    // neither bar has it.
    static std::shared_ptr<PlayerActionBarItem> mainBarItem(ReaderViewController& reader, int tag)
    {
        EXPECT_TRUE(showBars(reader));
        auto bottom = reader.context().playerBottomActionBarView;
        if (!bottom)
            return nullptr;
        if (auto item = bottom->itemWithTag(tag))
            return item;
        auto more = bottom->itemWithTag(PlayerItemMore);
        if (!more)
            return nullptr;
        EXPECT_TRUE(uitest::tap(*more));
        settle();
        auto vertical = reader.verticalBar().playerActionVerticalBar();
        return vertical ? vertical->itemWithTag(tag) : nullptr;
    }

    std::shared_ptr<companion::Framework> m_companion;
    std::shared_ptr<RecordingHost> m_host = std::make_shared<RecordingHost>();
    std::shared_ptr<LectoroReaderViewController> m_launcher;
};

} // namespace lectoro::testing
