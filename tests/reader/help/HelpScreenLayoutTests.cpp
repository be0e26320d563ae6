#include "LectoroSDKWithReader/reader/help/HelpScreen.h"

#include "platform/testing/ExpectMatchesFile.h"
#include "platform/testing/ViewTreeDump.h"
#include "platform/ui/BezierPath.h"
#include "platform/ui/Button.h"
#include "platform/ui/Layer.h"
#include "platform/ui/PageControl.h"
#include "tests/reader/help/HelpTestSupport.h"

#include <sstream>

namespace lectoro::helptest {
namespace {

using uitest::formatNumber;

std::string pointText(const ui::Point& point)
{
    return "(" + formatNumber(point.x) + ", " + formatNumber(point.y) + ")";
}

std::string colorText(const std::optional<ui::Color>& color)
{
    return color ? color->toDebugString() : "none";
}

// The overlay's own layer stack in order: views by class, shape layers by their path.
std::string dumpLayers(const ui::View& view)
{
    std::ostringstream text;
    for (const auto& layer : view.layer()->sublayers()) {
        if (auto* owner = layer->owningView()) {
            text << "view " << owner->className() << "\n";
            continue;
        }
        auto* shape = dynamic_cast<ui::ShapeLayer*>(layer.get());
        if (!shape) {
            text << layer->className() << "\n";
            continue;
        }
        text << "shape stroke=" << colorText(shape->strokeColor())
             << " fill=" << colorText(shape->fillColor()) << " width=" << formatNumber(shape->lineWidth())
             << " path=";
        if (shape->path()) {
            for (const auto& segment : shape->path()->segments()) {
                switch (segment.kind) {
                case ui::PathSegment::Kind::MoveTo:
                    text << "M" << pointText(segment.point) << " ";
                    break;
                case ui::PathSegment::Kind::LineTo:
                    text << "L" << pointText(segment.point) << " ";
                    break;
                case ui::PathSegment::Kind::Arc:
                    text << "A" << pointText(segment.center) << " r" << formatNumber(segment.radius) << " ";
                    break;
                case ui::PathSegment::Kind::Close:
                    text << "Z ";
                    break;
                default:
                    text << "? ";
                    break;
                }
            }
        }
        text << "\n";
    }
    return text.str();
}

// The y at which each single call-out's text stands, in drawing order: its dot's centre.
std::vector<double> textHeights(const HelpScreen& overlay)
{
    std::vector<double> heights;
    for (const auto& layer : overlay.layers()) {
        auto* shape = dynamic_cast<ui::ShapeLayer*>(layer.get());
        if (shape && shape->path() && shape->path()->segments().front().kind == ui::PathSegment::Kind::Arc)
            heights.push_back(shape->path()->segments().front().center.y);
    }
    return heights;
}

class HelpScreenLayoutTest : public HelpTest {
protected:
    void SetUp() override
    {
        HelpTest::SetUp();
        window = environment().keyWindow();
    }

    // An overlay of the given size whose button is in place.
    std::shared_ptr<HelpScreen> makeOverlay(double width, double height, bool twoScreens = true)
    {
        auto overlay = HelpScreen::create();
        overlay->setShowSecondScreen(twoScreens);
        overlay->view()->setFrame({ 0, 0, width, height });
        overlay->viewWillAppear(true);
        return overlay;
    }

    // An item of the given tag placed in the window, its glyph label the descriptor's icon.
    std::shared_ptr<HelpDescriptor> entry(const ui::Rect& frame, const std::string& title,
        bool onSecond = false, const std::string& tagName = "", const std::string& text = "Tap here.")
    {
        auto item = makeItem(1, frame);
        window->addSubview(item);
        auto descriptor = HelpDescriptor::create(item->firstLabel(), title, text, tagName);
        descriptor->setOnSecondScreen(onSecond);
        return descriptor;
    }

    std::shared_ptr<ui::View> window;
};

TEST_F(HelpScreenLayoutTest, ButtonAndPageIndicatorByDeviceAndVariant)
{
    struct PlacementCase {
        const char* name;
        bool pad;
        bool teacherReview;
        bool bookShelf;
        bool rightToLeft;
        ui::Rect button;
        std::optional<ui::Rect> pageIndicator;
    };
    const double w = 800;
    const double h = 600;
    const PlacementCase cases[] = {
        { "phone", false, false, false, false, { w / 2 - 35, 30, 80, 30 },
            ui::Rect { w / 2 - 100, 70, 200, 50 } },
        { "pad", true, false, false, false, { w / 2 - 50, 30, 100, 40 },
            ui::Rect { w / 2 - 100, 80, 200, 50 } },
        { "teacher review on a phone", false, true, false, false, { w / 2 - 35, 30, 80, 30 },
            ui::Rect { w / 2 - 100, 70, 200, 50 } },
        { "teacher review on a pad", true, true, false, false, { w - 130, h - 70, 100, 40 },
            ui::Rect { w / 2 - 50, h - 150, 100, 50 } },
        { "teacher review on a pad, rtl", true, true, false, true, { 30, h - 70, 100, 40 },
            ui::Rect { w / 2 - 50, h - 150, 100, 50 } },
        { "bookshelf phone", false, false, true, false, { w - 90, 30, 70, 30 }, std::nullopt },
        { "bookshelf pad", true, false, true, false, { w - 130, 30, 100, 40 }, std::nullopt },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        environment().setIdiom(testCase.pad ? ui::UserInterfaceIdiom::Pad : ui::UserInterfaceIdiom::Phone);
        environment().setLayoutDirection(
            testCase.rightToLeft ? ui::LayoutDirection::RightToLeft : ui::LayoutDirection::LeftToRight);
        auto overlay = HelpScreen::create();
        overlay->setIsForTeacherReview(testCase.teacherReview);
        overlay->setIsForBookShelf(testCase.bookShelf);
        overlay->view()->setFrame({ 0, 0, w, h });
        overlay->viewWillAppear(true);
        EXPECT_EQ(overlay->button()->frame(), testCase.button);
        EXPECT_EQ(overlay->button()->layer()->cornerRadius(), testCase.pad ? 20 : 15);
        if (testCase.pageIndicator) {
            EXPECT_EQ(overlay->pageControl()->superview(), overlay->view());
            EXPECT_EQ(overlay->pageControl()->frame(), *testCase.pageIndicator);
        } else
            EXPECT_FALSE(overlay->pageControl()->superview());
    }
}

TEST_F(HelpScreenLayoutTest, UpperHalfCallOutsStepUpwardsFromTheDrawingStart)
{
    for (bool rightToLeft : { false, true }) {
        SCOPED_TRACE(rightToLeft ? "rtl" : "ltr");
        environment().setLayoutDirection(
            rightToLeft ? ui::LayoutDirection::RightToLeft : ui::LayoutDirection::LeftToRight);
        auto overlay = makeOverlay(375, 800);
        std::vector<std::shared_ptr<HelpDescriptor>> descriptors;
        // Given out of screen order: the layout orders them by x.
        for (double x : { 250.0, 10.0, 130.0, 70.0, 190.0 })
            descriptors.push_back(entry({ x, 20, 40, 40 }, "T" + std::to_string(static_cast<int>(x))));
        overlay->setHelpDescriptors(descriptors);
        overlay->setUpViews();
        EXPECT_EQ(textHeights(*overlay), (std::vector<double> { 240, 160, 80, 70, 70 }));
        // Drawing starts from the leftmost item, or the rightmost in right-to-left layout.
        EXPECT_EQ(overlay->labels().front()->text(), rightToLeft ? "T250" : "T10");
        EXPECT_EQ(overlay->images().front()->frame().origin.x, rightToLeft ? 250 : 10);
    }
}

TEST_F(HelpScreenLayoutTest, LowerHalfCallOutsStepDownwardsAndSecondScreenFollowsTheItem)
{
    auto overlay = makeOverlay(375, 800);
    overlay->setHelpDescriptors({ entry({ 10, 700, 40, 40 }, "A"), entry({ 100, 700, 40, 40 }, "B") });
    overlay->setUpViews();
    EXPECT_EQ(textHeights(*overlay), (std::vector<double> { 320, 520 }));

    // The second screen: the item exactly at half height is drawn as a lower-half item
    // but not counted among them.
    overlay->setHelpDescriptors({ entry({ 10, 400, 40, 40 }, "A", true),
        entry({ 100, 600, 40, 40 }, "B", true), entry({ 200, 600, 40, 40 }, "C", true) });
    overlay->swipeToLeft();
    auto heights = textHeights(*overlay);
    ASSERT_EQ(heights.size(), 3u);
    EXPECT_DOUBLE_EQ(heights[0], 7.5 * 400 / 10);
    EXPECT_DOUBLE_EQ(heights[1], (2.5 - 5.0 / 3 + 5) * 600 / 10);
    EXPECT_DOUBLE_EQ(heights[2], (2.5 - 10.0 / 3 + 5) * 600 / 10);

    // Upper half of the second screen: half the height, stepping down.
    overlay->setHelpDescriptors(
        { entry({ 10, 20, 40, 40 }, "A", true), entry({ 100, 20, 40, 40 }, "B", true) });
    overlay->setUpViews();
    EXPECT_EQ(textHeights(*overlay), (std::vector<double> { 200, 300 }));
}

TEST_F(HelpScreenLayoutTest, SearchCallOutStandsLowerOnAPhoneInLandscape)
{
    struct SearchCase {
        bool pad;
        ui::Orientation orientation;
        double expected;
    };
    const SearchCase cases[] = {
        { false, ui::Orientation::LandscapeLeft, 0.4 * 375 + 16 },
        { false, ui::Orientation::Portrait, 0.4 * 375 },
        { true, ui::Orientation::LandscapeRight, 0.4 * 375 },
    };
    for (const auto& testCase : cases) {
        environment().setIdiom(testCase.pad ? ui::UserInterfaceIdiom::Pad : ui::UserInterfaceIdiom::Phone);
        environment().setDeviceOrientation(testCase.orientation);
        auto overlay = makeOverlay(667, 375);
        overlay->setHelpDescriptors({ entry({ 10, 330, 40, 40 }, "Search") });
        overlay->setUpViews();
        EXPECT_EQ(textHeights(*overlay), std::vector<double> { testCase.expected });
    }
}

TEST_F(HelpScreenLayoutTest, ItemPositionsAreTakenInTheWindowBelowTheTopInset)
{
    environment().setSafeAreaInsets({ 20, 0, 0, 0 });
    auto bar = ui::View::create({ 0, 100, 375, 60 });
    window->addSubview(bar);
    auto item = makeItem(1, { 30, 10, 40, 40 });
    bar->addSubview(item);
    auto descriptor = HelpDescriptor::create(item->firstLabel(), "Contents", "Text", "");
    auto zeroSized = entry({ 200, 50, 0, 40 }, "Zero");
    auto loose = HelpDescriptor::create(ui::Label::create({ 300, 10, 30, 30 }), "Loose", "Text", "");
    auto overlay = makeOverlay(375, 667);
    overlay->setHelpDescriptors({ descriptor, zeroSized, loose });
    overlay->setUpViews();
    EXPECT_EQ(descriptor->frameUsed(), ui::Rect(30, 90, 40, 40));
    EXPECT_EQ(zeroSized->frameUsed(), ui::Rect(200, 30, 23, 58));
    EXPECT_EQ(loose->frameUsed(), ui::Rect(300, -10, 30, 30));
}

TEST_F(HelpScreenLayoutTest, RunningTheLayoutTwiceLeavesOneSetOfViews)
{
    auto overlay = makeOverlay(375, 667);
    auto plain = HelpDescriptor::create(ui::View::create({ 300, 10, 30, 30 }), "Not a label", "Text", "");
    overlay->setHelpDescriptors({ entry({ 10, 20, 40, 40 }, "A"), entry({ 100, 600, 40, 40 }, "B"), plain });
    overlay->setUpViews();
    overlay->setUpViews();
    EXPECT_EQ(overlay->labels().size(), 6u);
    EXPECT_EQ(overlay->layers().size(), 6u);
    EXPECT_EQ(overlay->images().size(), 2u) << "an icon that is no label gets no copy";
    // Button, page indicator, two icon copies, six labels.
    EXPECT_EQ(overlay->view()->subviews().size(), 10u);
    EXPECT_EQ(overlay->view()->layer()->sublayers().size(), 16u);
    for (const auto& image : overlay->images())
        EXPECT_FALSE(image->isAccessibilityElement());
}

TEST_F(HelpScreenLayoutTest, SharedCallOutsJoinTheTwoLeftmostItems)
{
    auto overlay = makeOverlay(375, 667);
    overlay->setHelpDescriptors({ entry({ 100, 20, 40, 40 }, "Lone pen", false, "PenColor") });
    overlay->setUpViews();
    EXPECT_TRUE(overlay->labels().empty());
    EXPECT_TRUE(overlay->layers().empty());

    auto a = entry({ 100, 20, 40, 40 }, "Colours", false, "PenColor", "Pick a colour.");
    auto b = entry({ 160, 20, 40, 40 }, "Ignored", false, "PenColor");
    auto c = entry({ 220, 20, 40, 40 }, "Ignored too", false, "PenColor");
    overlay->setHelpDescriptors({ c, b, a });
    overlay->setUpViews();
    ASSERT_EQ(overlay->layers().size(), 3u);
    EXPECT_EQ(overlay->images().size(), 2u);
    ASSERT_EQ(overlay->labels().size(), 2u);
    EXPECT_EQ(overlay->labels()[0]->text(), "Colours");
    EXPECT_EQ(overlay->labels()[1]->text(), "Pick a colour.");
    EXPECT_EQ(overlay->combLineDecrementVal(), 3);

    auto bracket = std::dynamic_pointer_cast<ui::ShapeLayer>(overlay->layers()[0]);
    ui::BezierPath expected;
    expected.moveTo({ 120, 57 });
    expected.lineTo({ 120, 73 });
    expected.lineTo({ 180, 73 });
    expected.lineTo({ 180, 57 });
    EXPECT_EQ(*bracket->path(), expected);
    EXPECT_EQ(bracket->fillColor(), ui::Color::clear());
    // The stem stands between A's left edge and B's right edge, at 4/10 of the height.
    EXPECT_EQ(textHeights(*overlay), std::vector<double> { 667 * 0.4 });
    EXPECT_EQ(overlay->labels()[0]->frame().origin, ui::Point(150 + 10, 667 * 0.4 - 22));
}

TEST_F(HelpScreenLayoutTest, SharedCallOutsInTheLowerHalfStandAboveTheItems)
{
    environment().setLayoutDirection(ui::LayoutDirection::RightToLeft);
    auto overlay = makeOverlay(375, 600);
    overlay->setHelpDescriptors({ entry({ 50, 500, 40, 40 }, "Arrows", false, "Arrow"),
        entry({ 300, 500, 40, 40 }, "x", false, "Arrow") });
    overlay->setUpViews();
    EXPECT_EQ(textHeights(*overlay), std::vector<double> { 600 * 0.6 });
    EXPECT_EQ(overlay->combLineIncrementVal(), 2);
    auto title = overlay->labels()[0];
    EXPECT_EQ(title->frame().origin.x + title->frame().size.width, 195.0 - 10)
        << "right to left: the text ends left of the stem";
}

TEST_F(HelpScreenLayoutTest, TextsMoveLeftWhenTheyWouldLeaveTheScreen)
{
    auto overlay = makeOverlay(375, 667);
    overlay->setHelpDescriptors(
        { entry({ 330, 20, 40, 40 }, "A long title here", false, "", "A description of some length.") });
    overlay->setUpViews();
    const double cx = 350;
    auto title = overlay->labels()[0];
    auto description = overlay->labels()[1];
    EXPECT_EQ(title->frame().origin.x + title->frame().size.width, cx - 10);
    EXPECT_EQ(description->frame().origin.x + description->frame().size.width, cx - 10);
    EXPECT_EQ(description->textAlignment(), ui::TextAlignment::Right);
    // The description starts right under the title.
    EXPECT_DOUBLE_EQ(description->frame().origin.y, title->frame().origin.y + title->frame().size.height);
}

struct DumpCase {
    const char* file;
    bool pad;
    ui::Size size;
    bool teacherReview;
};

TEST_F(HelpScreenLayoutTest, OverlayMatchesTheExpectedDumps)
{
    const DumpCase cases[] = {
        { "help_overlay_phone.txt", false, { 375, 667 }, false },
        { "help_overlay_tablet_teacher.txt", true, { 1024, 768 }, true },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.file);
        environment().setIdiom(testCase.pad ? ui::UserInterfaceIdiom::Pad : ui::UserInterfaceIdiom::Phone);
        environment().setScreenSize(testCase.size);
        const double w = testCase.size.width;
        const double h = testCase.size.height;
        std::vector<std::shared_ptr<HelpDescriptor>> descriptors {
            entry({ 0, 0, w / 6, 50 }, "Home", false, "", "Back to the bookshelf."),
            entry({ w / 6, 0, w / 6, 50 }, "Contents", false, "",
                "Open the contents, bookmarks and resources of the book."),
            entry({ w - w / 6, 0, w / 6, 50 }, "Profile", false, "", "Your profile."),
            entry({ 0, h - 50, w / 5, 50 }, "My data", false, "", "Your notes and highlights."),
            entry({ w / 5, h - 50, w / 5, 50 }, "Search", false, "", "Find words in the book."),
            entry({ 2 * w / 5, h - 50, w / 5, 50 }, "Note", true, "", "Write a note."),
            entry({ 4 * w / 5, h - 50, w / 5, 50 }, "More settings", true, "", "More tools."),
        };
        if (testCase.teacherReview) {
            descriptors.push_back(
                entry({ w / 2 - 60, 0, 50, 50 }, "Arrow", false, "Arrow", "Move between pages."));
            descriptors.push_back(
                entry({ w / 2 + 10, 0, 50, 50 }, "Arrow", false, "Arrow", "Move between pages."));
        }
        auto overlay = HelpScreen::create();
        overlay->setShowSecondScreen(true);
        overlay->setIsForTeacherReview(testCase.teacherReview);
        overlay->setHelpDescriptors(descriptors);
        overlay->view()->setFrame({ 0, 0, w, h });
        overlay->viewWillAppear(true);
        std::string text
            = uitest::dumpViewTree(overlay->view()) + "--- layers\n" + dumpLayers(*overlay->view());
        overlay->swipeToLeft();
        text += "=== second screen\n" + uitest::dumpViewTree(overlay->view()) + "--- layers\n"
            + dumpLayers(*overlay->view());
        uitest::expectMatchesFile(
            text, std::string(LECTORO_TESTS_DIR "/reader/help/expected/") + testCase.file);
    }
}

} // namespace
} // namespace lectoro::helptest
