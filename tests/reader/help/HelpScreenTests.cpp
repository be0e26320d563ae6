#include "LectoroSDKWithReader/reader/help/HelpScreen.h"

#include "platform/testing/Interaction.h"
#include "platform/testing/ViewQuery.h"
#include "platform/ui/Button.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/PageControl.h"
#include "tests/reader/help/HelpTestSupport.h"

#include <filesystem>
#include <fstream>

namespace lectoro::helptest {
namespace {

class RecordingHelpDelegate : public HelpDelegate {
public:
    void swipeAtIndex(HelpScreen&, int64_t index) override { swipes.push_back(index); }
    void didRemovedHelpScreen(HelpScreen&) override { ++removals; }
    std::vector<int64_t> swipes;
    int removals = 0;
};

class HelpScreenTest : public HelpTest {
protected:
    void SetUp() override
    {
        HelpTest::SetUp();
        window = environment().keyWindow();
        bar = ui::View::create({ 0, 0, 375, 60 });
        window->addSubview(bar);
        first = makeItem(1, { 10, 10, 40, 40 });
        second = makeItem(4, { 200, 10, 40, 40 });
        bar->addSubview(first);
        bar->addSubview(second);
    }

    std::shared_ptr<HelpScreen> makeOverlay(bool twoScreens)
    {
        auto overlay = HelpScreen::create();
        overlay->setShowSecondScreen(twoScreens);
        auto onFirst = HelpDescriptor::create(first->firstLabel(), "Contents", "Open the contents.", "");
        auto onSecond = HelpDescriptor::create(second->firstLabel(), "Note", "Write a note.", "");
        onSecond->setOnSecondScreen(true);
        overlay->setHelpDescriptors({ onFirst, onSecond });
        overlay->setDelegate(delegate);
        parent = ui::ViewController::create();
        uitest::showInWindow(parent);
        overlay->view()->setFrame({ 0, 0, 375, 667 });
        parent->view()->addSubview(overlay->view());
        parent->addChildViewController(overlay);
        // The overlay lies over the bars it describes, as in the reader.
        window->bringSubviewToFront(parent->view().get());
        overlay->viewWillAppear(true);
        return overlay;
    }

    static std::vector<std::string> titlesShown(const HelpScreen& overlay)
    {
        std::vector<std::string> titles;
        for (const auto& label : overlay.labels())
            titles.push_back(label->text());
        return titles;
    }

    static size_t swipeRecognizers(const HelpScreen& overlay)
    {
        size_t count = 0;
        for (const auto& recognizer : overlay.viewIfLoaded()->gestureRecognizers())
            count += dynamic_cast<ui::SwipeGestureRecognizer*>(recognizer.get()) != nullptr;
        return count;
    }

    std::shared_ptr<ui::View> window;
    std::shared_ptr<ui::View> bar;
    std::shared_ptr<PlayerActionBarItem> first;
    std::shared_ptr<PlayerActionBarItem> second;
    std::shared_ptr<ui::ViewController> parent;
    std::shared_ptr<RecordingHelpDelegate> delegate = std::make_shared<RecordingHelpDelegate>();
};

TEST_F(HelpScreenTest, StartsWithItsDefaults)
{
    auto overlay = HelpScreen::create();
    EXPECT_FALSE(overlay->isViewLoaded());
    EXPECT_TRUE(overlay->helpDescriptors().empty());
    EXPECT_FALSE(overlay->showSecondScreen());
    EXPECT_FALSE(overlay->isForTeacherReview());
    EXPECT_FALSE(overlay->isForBookShelf());
    EXPECT_EQ(overlay->pageControl()->numberOfPages(), 2);
    EXPECT_FALSE(overlay->pageControl()->isUserInteractionEnabled());
    EXPECT_EQ(overlay->button()->currentTitle(), "Got It");
    EXPECT_EQ(overlay->backgroundColorText(), "#000000");

    // The background applies at once, loading the view.
    overlay->setBackGroundColorWithColor("#FF0000");
    EXPECT_TRUE(overlay->isViewLoaded());
    EXPECT_EQ(overlay->view()->backgroundColor(), ui::Color::red().withAlpha(0.7));
    overlay->setBackGroundColorWithColor("zz");
    EXPECT_EQ(overlay->view()->backgroundColor(), ui::Color::black().withAlpha(0.7));
}

TEST_F(HelpScreenTest, OneScreenOverlaySaysGotItAndCannotBeSwiped)
{
    auto overlay = makeOverlay(false);
    EXPECT_EQ(overlay->button()->currentTitle(), "Got It");
    EXPECT_EQ(overlay->button()->backgroundColor(), ui::Color::fromRGB255(0x09, 0x5e, 0x8e));
    EXPECT_EQ(swipeRecognizers(*overlay), 0u);
    EXPECT_EQ(titlesShown(*overlay), (std::vector<std::string> { "Contents", "Open the contents." }));
    EXPECT_FALSE(uitest::swipe(*overlay->view(), ui::SwipeDirection::Left));
    EXPECT_TRUE(delegate->swipes.empty());
}

TEST_F(HelpScreenTest, SwipesMoveBetweenTheScreensByLayoutDirection)
{
    struct SwipeCase {
        const char* name;
        bool rightToLeft;
        ui::SwipeDirection direction;
        int startPage;
        int endPage;
        std::vector<int64_t> reported;
        const char* button;
    };
    using ui::SwipeDirection;
    const SwipeCase cases[] = {
        { "ltr forward", false, SwipeDirection::Left, 0, 1, { 1 }, "Got It" },
        { "ltr back", false, SwipeDirection::Right, 1, 0, { 0 }, "Skip" },
        { "ltr right on the first screen", false, SwipeDirection::Right, 0, 0, {}, "Skip" },
        { "ltr left on the second screen", false, SwipeDirection::Left, 1, 1, {}, "Got It" },
        { "rtl forward", true, SwipeDirection::Right, 0, 1, { 1 }, "Got It" },
        { "rtl back", true, SwipeDirection::Left, 1, 0, { 0 }, "Skip" },
        { "rtl left on the first screen", true, SwipeDirection::Left, 0, 0, {}, "Skip" },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        environment().setLayoutDirection(
            testCase.rightToLeft ? ui::LayoutDirection::RightToLeft : ui::LayoutDirection::LeftToRight);
        delegate->swipes.clear();
        auto overlay = makeOverlay(true);
        EXPECT_EQ(overlay->button()->currentTitle(), "Skip");
        EXPECT_EQ(overlay->button()->backgroundColor(), ui::Color::white());
        if (testCase.startPage == 1) {
            overlay->pageControl()->setCurrentPage(1);
            overlay->changePageWithSender(*overlay->pageControl());
            delegate->swipes.clear();
        }
        uitest::swipe(*overlay->view(), testCase.direction);
        EXPECT_EQ(overlay->pageControl()->currentPage(), testCase.endPage);
        EXPECT_EQ(delegate->swipes, testCase.reported);
        EXPECT_EQ(overlay->button()->currentTitle(), testCase.button);
        EXPECT_EQ(titlesShown(*overlay).front(), testCase.endPage == 1 ? "Note" : "Contents");
    }
}

TEST_F(HelpScreenTest, SwipesThatHaveNotEndedAreIgnored)
{
    auto overlay = makeOverlay(true);
    auto recognizer = ui::SwipeGestureRecognizer::create();
    overlay->swipeLeft(*recognizer);
    EXPECT_EQ(overlay->pageControl()->currentPage(), 0);
    EXPECT_TRUE(delegate->swipes.empty());
}

TEST_F(HelpScreenTest, SecondScreenWithoutEntriesIsEmptyAndSaysGotIt)
{
    auto overlay = makeOverlay(true);
    overlay->setHelpDescriptors({ overlay->helpDescriptors().front() });
    overlay->swipeToLeft();
    EXPECT_TRUE(overlay->labels().empty());
    EXPECT_EQ(overlay->button()->currentTitle(), "Got It");
}

TEST_F(HelpScreenTest, SkipEndsTheWholeOverlayOnce)
{
    auto overlay = makeOverlay(true);
    // A second appearance adds a second pair of recognisers but no second close action.
    overlay->viewWillAppear(true);
    EXPECT_EQ(swipeRecognizers(*overlay), 4u);
    EXPECT_TRUE(uitest::swipe(*overlay->view(), ui::SwipeDirection::Left));
    EXPECT_EQ(delegate->swipes, std::vector<int64_t> { 1 });
    uitest::swipe(*overlay->view(), ui::SwipeDirection::Right);

    ASSERT_TRUE(uitest::tap(*overlay->button()));
    EXPECT_EQ(delegate->removals, 1);
    EXPECT_FALSE(overlay->view()->superview());
    EXPECT_FALSE(overlay->parentViewController());
    EXPECT_TRUE(parent->childViewControllers().empty());
}

TEST_F(HelpScreenTest, WorksWithoutADelegate)
{
    auto overlay = makeOverlay(true);
    overlay->setDelegate({});
    uitest::swipe(*overlay->view(), ui::SwipeDirection::Left);
    EXPECT_EQ(overlay->pageControl()->currentPage(), 1);
    overlay->removeMyself();
    EXPECT_FALSE(overlay->view()->superview());
}

TEST_F(HelpScreenTest, RotationRedrawsTheSameScreen)
{
    auto overlay = makeOverlay(true);
    uitest::swipe(*overlay->view(), ui::SwipeDirection::Left);
    overlay->willRotateToInterfaceOrientation();
    EXPECT_TRUE(overlay->labels().empty());
    overlay->didRotateFromInterfaceOrientation();
    EXPECT_EQ(titlesShown(*overlay).front(), "Note");
    EXPECT_EQ(overlay->button()->currentTitle(), "Got It");

    // Through a size transition of the parent.
    uitest::transitionToSize(parent, { 667, 375 });
    EXPECT_TRUE(overlay->labels().empty());
    base::RunLoop::main().advanceBy(1);
    EXPECT_EQ(titlesShown(*overlay).front(), "Note");
}

TEST_F(HelpScreenTest, ColoursApplyAtTheNextLayoutAndBadOnesDrawNothing)
{
    auto overlay = makeOverlay(true);
    overlay->setLineColorWithColor("#00FF00");
    overlay->setSkipButtonBackgroundColorWithColor("#123456");
    auto line = std::dynamic_pointer_cast<ui::ShapeLayer>(overlay->layers().at(0));
    EXPECT_EQ(line->strokeColor(), ui::Color::white());
    overlay->setUpViews();
    line = std::dynamic_pointer_cast<ui::ShapeLayer>(overlay->layers().at(0));
    EXPECT_EQ(line->strokeColor(), ui::Color::green());
    EXPECT_EQ(overlay->button()->backgroundColor(), ui::Color::white())
        << "layout does not restyle the button";

    overlay->setEllipseColorWithColor("zz");
    overlay->setSkipButtonBackgroundColorWithColor("zz");
    overlay->swipeToLeft();
    overlay->swipeToRight();
    auto dot = std::dynamic_pointer_cast<ui::ShapeLayer>(overlay->layers().at(1));
    EXPECT_FALSE(dot->fillColor());
    EXPECT_FALSE(dot->strokeColor());
    EXPECT_FALSE(overlay->button()->backgroundColor());
}

TEST_F(HelpScreenTest, ButtonTextsComeFromTheBundleChosenFirst)
{
    auto folder = std::filesystem::temp_directory_path() / ("help-bundle-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder / "en.lproj");
    std::ofstream(folder / "en.lproj" / "Localizable.strings") << "\"HELP_SKIP_BUTTON\" = \"Later\";\n";
    auto other = std::make_shared<base::Bundle>(folder.string());

    auto overlay = makeOverlay(true);
    EXPECT_EQ(overlay->button()->currentTitle(), "Skip");
    LocalizationHelper::setReaderLanguageBundle(other);
    overlay->swipeToLeft();
    overlay->swipeToRight();
    EXPECT_EQ(overlay->button()->currentTitle(), "Skip") << "the text bundle is kept for the process";

    HelpScreen::resetTextBundleForTesting();
    auto later = makeOverlay(true);
    EXPECT_EQ(later->button()->currentTitle(), "Later");
    EXPECT_EQ(HelpScreen::localizedText("HELP_GOT_IT_BUTTON", "Got It"), "Got It")
        << "a missing key falls back";
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace lectoro::helptest
