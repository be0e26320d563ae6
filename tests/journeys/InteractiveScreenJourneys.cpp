// The sample page book's interactive screens where a person meets them, on a phone and a
// tablet, upright and turned: the markups lie on the page as it is shown (also after a
// turn) and take their taps there, and each screen a markup opens (glossary, information
// pop-over, answer drop-down, multi-link list, image viewer, equation keyboard, protractor,
// web and SCORM players, answer feedback) is pictured, checked and closed again. No layout
// pass while these screens show reports a conflict.

#include "journeys/JourneySupport.h"

#include "LayoutConflictLog.h"
#include "reader/ReaderTaps.h"

#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/interactive/answers/InteractiveAnswers.h"
#include "LectoroSDKWithReader/interactive/web/InteractiveWebContent.h"
#include "LectoroSDKWithReader/readersdk/widgets/MVFIB.h"
#include "LectoroSDKWithReader/readersdk/widgets/MarkupView.h"
#include "platform/testing/Interaction.h"

namespace lectoro::journeys {
namespace {

struct DeviceHeld {
    ui::UserInterfaceIdiom idiom;
    ui::Orientation orientation;
    const char* name;
};

const auto everyWayHeld = ::testing::Values(DeviceHeld { ui::UserInterfaceIdiom::Phone, ui::Orientation::Portrait, "PhoneUpright" },
    DeviceHeld { ui::UserInterfaceIdiom::Phone, ui::Orientation::LandscapeLeft, "PhoneTurned" },
    DeviceHeld { ui::UserInterfaceIdiom::Pad, ui::Orientation::Portrait, "TabletUpright" },
    DeviceHeld { ui::UserInterfaceIdiom::Pad, ui::Orientation::LandscapeLeft, "TabletTurned" });

std::string nameOfWayHeld(const ::testing::TestParamInfo<DeviceHeld>& info) { return info.param.name; }

ui::Orientation otherWay(ui::Orientation orientation)
{
    return orientation == ui::Orientation::Portrait ? ui::Orientation::LandscapeLeft : ui::Orientation::Portrait;
}

class InteractiveScreenJourney : public Journey, public ::testing::WithParamInterface<DeviceHeld> {
protected:
    void TearDown() override
    {
        EXPECT_TRUE(m_conflicts.empty()) << m_conflicts.text();
        Journey::TearDown();
    }

    void turn(ui::Orientation orientation)
    {
        auto& environment = ui::Environment::current();
        environment.rotateTo(orientation);
        uitest::transitionToSize(m_launcher, environment.screenSize());
        settle();
        base::RunLoop::main().advanceBy(1);
        settle();
    }

    // The page book held as the test's device is, on the page of that id.
    std::shared_ptr<ReaderViewController> openOnPage(int64_t page)
    {
        auto reader = open(SampleBook::PageBook, GetParam().idiom);
        if (!reader)
            return nullptr;
        turn(GetParam().orientation);
        goTo(*reader, page);
        return reader;
    }

    void goTo(ReaderViewController& reader, int64_t page)
    {
        rendererOf(reader)->navigateToPageNumber(std::to_string(page));
        settle();
    }

    std::shared_ptr<MarkupView> markup(ReaderViewController& reader, int64_t page, int64_t linkID)
    {
        for (const auto& view : rendererOf(reader)->overlayForPage(page).markupViews) {
            auto icon = std::dynamic_pointer_cast<MarkupView>(view);
            if (icon && icon->linkID == linkID && icon->superview())
                return icon;
        }
        return nullptr;
    }

    // The group icon of the page's multi-link markup.
    std::shared_ptr<MarkupView> groupIcon(ReaderViewController& reader, int64_t page)
    {
        return markup(reader, page, 0);
    }

    std::shared_ptr<MVFIB> blank(ReaderViewController& reader, int64_t page, int64_t linkID)
    {
        for (const auto& view : rendererOf(reader)->overlayForPage(page).fibViews) {
            auto fib = std::dynamic_pointer_cast<MVFIB>(view);
            if (fib && fib->linkVo() && fib->linkVo()->linkID == linkID)
                return fib;
        }
        return nullptr;
    }

    // A finger on the markup's place, then the screen it opens pictured.
    ::testing::AssertionResult tapMarkupOf(ReaderViewController& reader, int64_t page, int64_t linkID)
    {
        auto icon = linkID ? markup(reader, page, linkID) : groupIcon(reader, page);
        if (!icon)
            return ::testing::AssertionFailure() << "no markup " << linkID << " on page " << page;
        auto tapped = testing::tapMarkup(*icon);
        settle();
        return tapped;
    }

    // Every view the renderer placed for the page's markups and answers lies inside the
    // page's view.
    void expectMarkupsOnThePage(ReaderViewController& reader, int64_t page, const std::string& when)
    {
        auto renderer = rendererOf(reader);
        auto pageView = renderer->pageView(page);
        ASSERT_TRUE(pageView) << "page " << page << " is not on screen " << when;
        uitest::settleLayout();
        const auto& overlay = renderer->overlayForPage(page);
        std::vector<std::shared_ptr<ui::View>> placed(overlay.markupViews.begin(), overlay.markupViews.end());
        placed.insert(placed.end(), overlay.fibViews.begin(), overlay.fibViews.end());
        for (const auto& view : placed) {
            if (!view || !view->superview())
                continue;
            ui::Rect inPage = view->convertRectTo(view->bounds(), pageView.get());
            ui::Rect bounds = pageView->bounds();
            EXPECT_TRUE(inPage.minX() >= bounds.minX() - 0.5 && inPage.minY() >= bounds.minY() - 0.5
                && inPage.maxX() <= bounds.maxX() + 0.5 && inPage.maxY() <= bounds.maxY() + 0.5)
                << view->className() << " of page " << page << " lies at (" << inPage.minX() << ", " << inPage.minY()
                << ", " << inPage.width() << ", " << inPage.height() << ") in a page view of " << bounds.width()
                << " x " << bounds.height() << " " << when;
        }
    }

    // What a markup opened is closed with a tap beside it.
    void closePopover(const std::shared_ptr<ui::ViewController>& popover)
    {
        ASSERT_TRUE(popover);
        ASSERT_TRUE(uitest::tapOutsidePopover(popover));
        settle();
    }

    // The topmost controller presented over the reader.
    static std::shared_ptr<ui::ViewController> topPresented(ReaderViewController& reader)
    {
        auto presented = reader.presentedViewController();
        for (auto next = presented; next; next = next->presentedViewController())
            presented = next;
        return presented;
    }

    testing::LayoutConflictLog m_conflicts;
};

// MARK: - The markups on the page

TEST_P(InteractiveScreenJourney, EveryPagesMarkupsLieOnThePageAlsoAfterATurnAndTakeTheirTaps)
{
    auto reader = openOnPage(101);
    ASSERT_TRUE(reader);
    const std::vector<int64_t> pages { 101, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112 };
    for (int64_t page : pages) {
        goTo(*reader, page);
        expectMarkupsOnThePage(*reader, page, "as opened");
        picture("page-" + std::to_string(page));
    }
    turn(otherWay(GetParam().orientation));
    for (int64_t page : pages) {
        goTo(*reader, page);
        expectMarkupsOnThePage(*reader, page, "after a turn");
        picture("turned-page-" + std::to_string(page));
    }
    // A markup takes its tap where the page now shows it: the glossary word opens its entry.
    goTo(*reader, 103);
    ASSERT_TRUE(tapMarkupOf(*reader, 103, 1031));
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeGlossary);
}

// MARK: - The screens markups open

TEST_P(InteractiveScreenJourney, TheGlossaryEntryOpensBesideItsWordAndClosesWithATapBeside)
{
    auto reader = openOnPage(103);
    ASSERT_TRUE(reader);
    ASSERT_TRUE(tapMarkupOf(*reader, 103, 1031));
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeGlossary);
    picture("glossary");
    if (auto glossary = topPresented(*reader)) {
        closePopover(glossary);
        expectReading(*reader);
    }
}

TEST_P(InteractiveScreenJourney, TheTeachersTipOpensItsInformationPopover)
{
    auto reader = openOnPage(106);
    ASSERT_TRUE(reader);
    ASSERT_TRUE(tapMarkupOf(*reader, 106, 1061));
    picture("information");
}

TEST_P(InteractiveScreenJourney, TheMultiLinkIconListsItsLinks)
{
    auto reader = openOnPage(108);
    ASSERT_TRUE(reader);
    ASSERT_TRUE(tapMarkupOf(*reader, 108, 0));
    picture("multi-link-list");
}

TEST_P(InteractiveScreenJourney, TheAnswerDropDownListsItsChoices)
{
    auto reader = openOnPage(105);
    ASSERT_TRUE(reader);
    ASSERT_TRUE(tapMarkupOf(*reader, 105, 1052));
    auto list = reader->interactiveContent().answers().linkDropDownController();
    ASSERT_TRUE(list) << "no choices listed";
    picture("answer-drop-down");
}

TEST_P(InteractiveScreenJourney, TheImageMarkupOpensTheImageViewer)
{
    auto reader = openOnPage(106);
    ASSERT_TRUE(reader);
    ASSERT_TRUE(tapMarkupOf(*reader, 106, 1062));
    picture("image-viewer");
}

TEST_P(InteractiveScreenJourney, AWebActivityOpensInTheWebPlayer)
{
    auto reader = openOnPage(109);
    ASSERT_TRUE(reader);
    ASSERT_TRUE(tapMarkupOf(*reader, 109, 1092));
    base::RunLoop::main().advanceBy(1);
    settle();
    EXPECT_TRUE(reader->interactiveContent().webContent().currentWebPlayer());
    picture("web-player");
}

TEST_P(InteractiveScreenJourney, AScormActivityOpensInTheScormPlayer)
{
    auto reader = openOnPage(112);
    ASSERT_TRUE(reader);
    ASSERT_TRUE(tapMarkupOf(*reader, 112, 1121));
    base::RunLoop::main().advanceBy(1);
    settle();
    EXPECT_TRUE(reader->interactiveContent().webContent().currentWebPlayer());
    picture("scorm-player");
}

TEST_P(InteractiveScreenJourney, TheEquationFieldOpensTheEquationKeyboard)
{
    auto reader = openOnPage(111);
    ASSERT_TRUE(reader);
    auto field = blank(*reader, 111, 1111);
    ASSERT_TRUE(field);
    auto landing = uitest::landOn(*field);
    ASSERT_TRUE(landing) << landing.obstacle;
    field->beginEditing();
    settle();
    picture("equation-keyboard");
}

TEST_P(InteractiveScreenJourney, TheBooksProtractorOpensOnItsPage)
{
    auto reader = openOnPage(111);
    ASSERT_TRUE(reader);
    auto renderer = rendererOf(*reader);
    auto placed = renderer->protractorsOnPage(111);
    ASSERT_EQ(placed.size(), 1u);
    ASSERT_TRUE(renderer->selectProtractor(placed.front()->localID));
    settle();
    picture("protractor");
    ASSERT_TRUE(renderer->closeProtractor());
    settle();
}

TEST_P(InteractiveScreenJourney, ABlanksAnswerShowsWhetherItIsRight)
{
    auto reader = openOnPage(105);
    ASSERT_TRUE(reader);
    picture("answer-field");
    auto field = blank(*reader, 105, 1051);
    ASSERT_TRUE(field);
    // The field's text box belongs to the field, so it is painted, checked and tapped there.
    auto box = field->subviews().empty() ? nullptr : field->subviews().front();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->superview().get(), field.get());
    EXPECT_TRUE(uitest::landOn(*box));
    auto landing = uitest::landOn(*field);
    ASSERT_TRUE(landing) << landing.obstacle;
    field->beginEditing();
    settle();
    picture("answer-field-editing");
}

INSTANTIATE_TEST_SUITE_P(Held, InteractiveScreenJourney, everyWayHeld, nameOfWayHeld);

} // namespace
} // namespace lectoro::journeys
