#pragma once

// A journey drives the assembled reader as a person does: the host's launcher with a
// signed-in user, the companion framework with its in-process service over the real store,
// a sample book, and nothing but touches that land where a finger can (platform/testing).
// Each step checks the screen it reaches in the window and the effect where the user or the
// host would see it (the store, the service, the renderer, the player), never an action
// observer.
//
// With LECTORO_JOURNEY_PICTURES=DIR set, every screen a journey reaches is painted into
// DIR/<journey>-<step>.png, its pages as the renderer draws them (companion/renderer/PagePainter.h).
// With the screen check on (checksJourneys()), every such screen is also checked as a person
// sees it (platform/testing/ScreenCheck.h), with the findings the product's own values cause
// allowed in tests/journeys/screen-check-allow.txt. Every journey fails when the layout
// engine reports "Unable to simultaneously satisfy constraints" during it, unless the
// report is allowed in tests/journeys/layout-conflict-allow.txt.

#include "reader/CompanionEndToEndSupport.h"
#include "reader/ReaderJourneySupport.h"
#include "LayoutConflictLog.h"

#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/media/ReaderReadAloud.h"
#include "LectoroSDKWithReader/media/readaloud/MVReadToMeViewController.h"
#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/ReaderActiveMode.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVLectoroFontManager.h"
#include "companion/renderer/PagePainter.h"
#include "platform/print/ViewPainter.h"
#include "platform/ui/NavigationController.h"
#include "platform/testing/Landing.h"
#include "platform/testing/ScreenCheckAssertion.h"
#include "platform/base/Strings.h"
#include "platform/ui/Environment.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>

namespace lectoro::journeys {

enum class SampleBook { PageBook, ReflowableEpub, FixedEpub, RightToLeftEpub, LongEpub };

inline const char* folderOf(SampleBook book)
{
    switch (book) {
    case SampleBook::PageBook:
        return "sample-pagebook";
    case SampleBook::ReflowableEpub:
        return "sample-reflowable-epub";
    case SampleBook::FixedEpub:
        return "sample-fixed-epub";
    case SampleBook::RightToLeftEpub:
        return "sample-rtl-epub";
    case SampleBook::LongEpub:
        return "sample-long-epub";
    }
    return "";
}

// Whether journeys check their screens, and fail on layout conflicts, when the environment
// says nothing. LECTORO_SCREEN_CHECK=1 switches both on, LECTORO_SCREEN_CHECK=0 both off.
inline constexpr bool journeysCheckByDefault = false;
inline constexpr bool journeysFailOnConflictsByDefault = true;

inline std::optional<bool> checksAskedFor()
{
    const char* asked = std::getenv("LECTORO_SCREEN_CHECK");
    if (!asked || !*asked)
        return std::nullopt;
    return std::string(asked) == "1";
}

inline bool checksJourneys() { return checksAskedFor().value_or(journeysCheckByDefault); }

inline bool journeysFailOnConflicts() { return checksAskedFor().value_or(journeysFailOnConflictsByDefault); }

inline const lectoro::testing::LayoutConflictAllowList& layoutConflictAllowList()
{
    static const auto list
        = lectoro::testing::LayoutConflictAllowList::fromFile(LECTORO_SOURCE_DIR "/tests/journeys/layout-conflict-allow.txt");
    return list;
}

// The product's icon font for the screen check: its face and the code points the product
// writes as icons, by their icons' names.
inline void declareIconFontToScreenCheck()
{
    auto& config = uitest::screenCheckConfig();
    if (!config.iconGlyphs.empty())
        return;
    config.iconFontName = MVLectoroFontManager::getFontName();
    std::ifstream table(LECTORO_SOURCE_DIR "/LectoroSDKWithReader/foundation/IconFontIcons.txt");
    std::stringstream text;
    text << table.rdbuf();
    config.iconGlyphs = uitest::iconGlyphsFromTable(text.str());
}

inline const uitest::ScreenCheckAllowList& screenCheckAllowList()
{
    static const auto list = uitest::ScreenCheckAllowList::fromFile(LECTORO_SOURCE_DIR "/tests/journeys/screen-check-allow.txt");
    return list;
}

// The screen in the key window checked as a person sees it, named by its step; the entry
// point every journey's screens go through (switched on by LECTORO_SCREEN_CHECK=1 while
// the layouts it finds wanting are mended).
inline ::testing::AssertionResult screenReadsWell(const std::string& step, const ui::ViewController* presenter)
{
    declareIconFontToScreenCheck();
    auto window = ui::Environment::current().keyWindow();
    if (!window)
        return ::testing::AssertionSuccess();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string screen = std::string(info ? info->name() : "journey") + "-" + step;
    return uitest::screenPasses(*window, screen, screenCheckAllowList(), presenter);
}

class Journey : public testing::CompanionEndToEndTest {
protected:
    void SetUp() override
    {
        if (journeysFailOnConflicts()) {
            ASSERT_TRUE(layoutConflictAllowList().errors().empty()) << layoutConflictAllowList().errors().front();
            m_conflicts.emplace();
        }
        testing::CompanionEndToEndTest::SetUp();
    }
    void TearDown() override
    {
        testing::CompanionEndToEndTest::TearDown();
        if (!m_conflicts)
            return;
        auto unallowed = m_conflicts->unallowed(layoutConflictAllowList());
        m_conflicts.reset();
        for (const auto& report : unallowed)
            ADD_FAILURE() << "layout conflict (not in tests/journeys/layout-conflict-allow.txt):\n" << report;
    }

    // Opens a sample book on a device of that idiom and lets the reader settle; the help
    // overlay a first opening shows is closed with its button, as a reader does.
    std::shared_ptr<ReaderViewController> open(SampleBook book, ui::UserInterfaceIdiom idiom = ui::UserInterfaceIdiom::Pad,
        const std::string& bookID = "1001")
    {
        return openFolder(std::string(LECTORO_SAMPLES_DIR) + "/books/" + folderOf(book), idiom, bookID);
    }

    // A book folder of the test's own (a sample changed for the journey) opened the same way.
    std::shared_ptr<ReaderViewController> openFolder(const std::string& folder,
        ui::UserInterfaceIdiom idiom = ui::UserInterfaceIdiom::Pad, const std::string& bookID = "1001")
    {
        auto& environment = ui::Environment::current();
        environment.setIdiom(idiom);
        environment.setScreenSize(idiom == ui::UserInterfaceIdiom::Pad ? ui::Size { 768, 1024 } : ui::Size { 375, 667 });
        auto package = std::make_shared<LectoroBookPackage>(folder, bookID, "978-0");
        auto user = makeUser(m_userID);
        user->role = m_role;
        user->email = m_email;
        if (m_settings)
            m_launcher->launchBook(package, user, serviceConfiguration(), m_settings, m_withClassAssociation);
        else
            m_launcher->launchBook(package, user, serviceConfiguration());
        if (m_afterLaunch)
            m_afterLaunch();
        settle();
        auto reader = m_launcher->reader();
        if (!reader)
            return nullptr;
        picture("opened");
        if (m_keepHelpShown)
            return reader;
        if (testing::closeHelpIfShown(*reader))
            picture("help-closed");
        if (testing::closeOfferedReadAloud(*reader))
            picture("read-aloud-offer-closed");
        return reader;
    }

    // The bar's item, brought on screen by a tap on the page when the bars are away.
    std::shared_ptr<PlayerActionBarItem> barItem(ReaderViewController& reader, const std::shared_ptr<PlayerActionBar>& bar, int tag)
    {
        EXPECT_TRUE(testing::showBars(reader));
        if (!bar)
            return nullptr;
        return bar->itemWithTag(tag);
    }

    // A tap on a bar item by its tag, as a finger gives it.
    ::testing::AssertionResult tapBarItem(ReaderViewController& reader, const std::shared_ptr<PlayerActionBar>& bar, int tag)
    {
        auto item = barItem(reader, bar, tag);
        if (!item)
            return ::testing::AssertionFailure() << "no item with tag " << tag << " on the bar";
        auto tapped = uitest::tap(*item);
        settle();
        return tapped;
    }

    // The controller presented over the reader, when it is of that class and shows in the
    // window with something a finger can reach.
    template <typename T> std::shared_ptr<T> presentedScreen(ReaderViewController& reader)
    {
        uitest::settleLayout();
        auto presented = reader.presentedViewController();
        for (auto next = presented; next; next = next->presentedViewController())
            presented = next;
        auto screen = std::dynamic_pointer_cast<T>(presented);
        // A screen shown in a navigation stack is the stack's top.
        if (auto stack = std::dynamic_pointer_cast<ui::NavigationController>(presented); !screen && stack)
            screen = std::dynamic_pointer_cast<T>(stack->topViewController());
        if (!screen)
            return nullptr;
        auto view = screen->viewIfLoaded();
        EXPECT_TRUE(view && view->window()) << "presented but not in the window";
        if (view) {
            EXPECT_FALSE(uitest::visibleRectInWindow(*view).isEmpty()) << "presented but not visible";
        }
        return screen;
    }

    // The page renderer of the reader.
    static std::shared_ptr<companion::BookRenderer> rendererOf(ReaderViewController& reader)
    {
        return std::dynamic_pointer_cast<companion::BookRenderer>(reader.rendererView());
    }

    // The first page on screen, as "<page id>/<folio>/<chapter index>" ("" when none).
    static std::string pageOnScreen(ReaderViewController& reader)
    {
        auto renderer = rendererOf(reader);
        auto pages = renderer ? renderer->getActivePages() : std::vector<RendererPage> {};
        if (pages.empty())
            return {};
        return std::to_string(pages.front().pageID) + "/" + pages.front().displayNum + "/"
            + std::to_string(pages.front().fileIndex);
    }

    // The device turned to `orientation`, and the reader let settle: what the turn sets
    // going (page loads, the bookmark put back) runs out.
    void turn(ui::Orientation orientation)
    {
        auto& environment = ui::Environment::current();
        environment.rotateTo(orientation);
        uitest::transitionToSize(m_launcher, environment.screenSize());
        settle();
        base::RunLoop::main().advanceBy(1);
        settle();
    }

    // Held as a journey says: a journey opens upright, so only sideways needs a turn.
    void holdAs(ui::Orientation orientation)
    {
        if (ui::isLandscape(orientation))
            turn(orientation);
    }

    // A finger on the view, then the reader let settle.
    ::testing::AssertionResult tapAndSettle(ui::View& view, std::optional<ui::Point> at = std::nullopt)
    {
        auto tapped = uitest::tap(view, at);
        settle();
        return tapped;
    }

    // Back in reading: nothing presented over the reader and no tool active.
    void expectReading(ReaderViewController& reader)
    {
        EXPECT_FALSE(reader.presentedViewController());
        EXPECT_EQ(reader.activeMode(), ReaderActiveModeNone);
        EXPECT_TRUE(testing::tapPage(reader)) << "the page is what a finger meets";
        settle();
    }

    // Paints the key window when pictures are asked for, and checks the screen when that is.
    void picture(const std::string& step)
    {
        if (checksJourneys()) {
            uitest::settleLayout();
            auto reader = m_launcher->reader();
            EXPECT_TRUE(screenReadsWell(step, reader ? static_cast<const ui::ViewController*>(reader.get()) : nullptr));
        }
        const char* folder = std::getenv("LECTORO_JOURNEY_PICTURES");
        auto window = ui::Environment::current().keyWindow();
        if (!folder || !*folder || !window)
            return;
        uitest::settleLayout();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info ? info->name() : "journey") + "-" + step + ".png";
        std::replace(name.begin(), name.end(), '/', '-');
        std::filesystem::create_directories(folder);
        // The pages as the renderer draws them, under the bars and panels.
        auto written = companion::writeWindowPicture(*window, (std::filesystem::path(folder) / name).string());
        EXPECT_TRUE(written) << written.error().description();
    }

    std::string m_userID = "6000000001";
    // The signed-in user's role ("LEARNER", "TEACHER"); none by default.
    std::string m_role;
    // The signed-in user's mail address; none by default.
    std::string m_email;
    // The host says the user has a class with the book (with `m_settings` only).
    bool m_withClassAssociation = false;
    // The host's feature switches for the next opening; none: the launcher's own.
    std::shared_ptr<MVReaderSettingModel> m_settings;
    // What the host does between the launch and the book's loading (the launcher's switches).
    std::function<void()> m_afterLaunch;
    // The help overlay a first opening shows stays for the journey to look at (and with it
    // no reading modes are offered).
    bool m_keepHelpShown = false;

private:
    // The layout engine's conflict reports while the journey runs, when the checks are on.
    std::optional<lectoro::testing::LayoutConflictLog> m_conflicts;
};

// A journey whose host's theme lists highlight colours, so the selection pop-up offers them.
class HostThemedJourney : public Journey {
protected:
    void setUpHost() override
    {
        testing::writeHostThemeWithHighlightColours(m_storage / "host");
        m_previousMainBundle = base::Bundle::main().rootPath();
        base::Bundle::setMainBundlePath((m_storage / "host").string());
    }

    void TearDown() override
    {
        Journey::TearDown();
        base::Bundle::setMainBundlePath(m_previousMainBundle);
    }

private:
    std::string m_previousMainBundle;
};

} // namespace lectoro::journeys
