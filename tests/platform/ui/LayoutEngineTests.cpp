#include "platform/ui/LayoutEngine.h"

#include "platform/base/RunLoop.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/View.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ui {
namespace {

// Collects the engine's conflict reports for the test's life.
class Conflicts {
public:
    Conflicts()
    {
        m_previous = layout::setConflictHandler([this](const std::string& report) { reports.push_back(report); });
    }
    ~Conflicts() { layout::setConflictHandler(std::move(m_previous)); }
    std::vector<std::string> reports;

private:
    layout::ConflictHandler m_previous;
};

std::shared_ptr<View> placed()
{
    auto view = View::create();
    view->setTranslatesAutoresizingMaskIntoConstraints(false);
    return view;
}

// Tells, in order, what the pass did to it.
class Recorder : public View {
public:
    static std::shared_ptr<Recorder> make(std::vector<std::string>& log)
    {
        return std::shared_ptr<Recorder>(new Recorder(log));
    }
    void updateConstraints() override
    {
        m_log.push_back("updateConstraints");
        View::updateConstraints();
    }
    void layoutSubviews() override
    {
        m_log.push_back("layoutSubviews width " + std::to_string(static_cast<int>(subviews().front()->frame().width())));
    }

private:
    explicit Recorder(std::vector<std::string>& log)
        : m_log(log)
    {
    }
    std::vector<std::string>& m_log;
};

class LayoutEngineTest : public ::testing::Test {
protected:
    EnvironmentScope m_environment;
    Conflicts m_conflicts;
};

// Constraints first, then the frames they give, then the view's own layout code reading
// them; a constant changed later moves the frame at the next pass.
TEST_F(LayoutEngineTest, APassUpdatesSolvesThenLaysOutAndFollowsAChangedConstant)
{
    std::vector<std::string> log;
    auto root = Recorder::make(log);
    root->setFrame({ 0, 0, 300, 200 });
    auto child = placed();
    root->addSubview(child);
    auto width = child->widthAnchor().constraintEqualTo(root->widthAnchor(), 0.5, 0);
    Constraint::activate({ width, child->leadingAnchor().constraintEqualTo(root->leadingAnchor(), 10),
        child->topAnchor().constraintEqualTo(root->topAnchor()), child->heightAnchor().constraintEqualToConstant(40) });
    root->setNeedsUpdateConstraints();
    root->layoutIfNeeded();
    EXPECT_EQ(child->frame(), Rect(10, 0, 150, 40));
    EXPECT_EQ(log, (std::vector<std::string> { "updateConstraints", "layoutSubviews width 150" }));

    width->setConstant(20);
    root->layoutIfNeeded();
    EXPECT_EQ(child->frame(), Rect(10, 0, 170, 40));

    // A size change (a turn) lays out again from the same constraints.
    root->setFrame({ 0, 0, 500, 300 });
    root->layoutIfNeeded();
    EXPECT_EQ(child->frame(), Rect(10, 0, 270, 40));
    EXPECT_TRUE(m_conflicts.reports.empty());
}

// Labels sized by their text: the one that resists compression more keeps its text's
// width, the other gives way; with room to spare the one that hugs less stretches.
TEST_F(LayoutEngineTest, LabelsShareARowByHuggingAndCompressionResistance)
{
    auto row = View::create({ 0, 0, 120, 30 });
    auto left = Label::create();
    auto right = Label::create();
    for (const auto& label : { left, right }) {
        label->setTranslatesAutoresizingMaskIntoConstraints(false);
        label->setText("Chapter One");
        row->addSubview(label);
    }
    double natural = left->intrinsicContentSize().width;
    ASSERT_GT(natural, 60);
    Constraint::activate({ left->leadingAnchor().constraintEqualTo(row->leadingAnchor()),
        right->leadingAnchor().constraintEqualTo(left->trailingAnchor()),
        right->trailingAnchor().constraintEqualTo(row->trailingAnchor()),
        left->topAnchor().constraintEqualTo(row->topAnchor()), right->topAnchor().constraintEqualTo(row->topAnchor()) });
    right->setContentCompressionResistancePriority(LayoutPriority::defaultHigh - 1, LayoutConstraintAxis::Horizontal);
    row->layoutIfNeeded();
    EXPECT_DOUBLE_EQ(left->frame().width(), natural);
    EXPECT_DOUBLE_EQ(right->frame().width(), 120 - natural);

    row->setFrame({ 0, 0, 400, 30 });
    left->setContentHuggingPriority(LayoutPriority::defaultLow + 1, LayoutConstraintAxis::Horizontal);
    row->layoutIfNeeded();
    EXPECT_DOUBLE_EQ(left->frame().width(), natural);
    EXPECT_DOUBLE_EQ(right->frame().width(), 400 - natural);

    // New text, new width.
    left->setText("A");
    row->layoutIfNeeded();
    EXPECT_LT(left->frame().width(), natural / 4);
    EXPECT_DOUBLE_EQ(right->frame().minX(), left->frame().maxX());
}

// Contradicting required constraints are reported once, naming the constraint broken and
// the ones it met, and the view keeps a defined frame; nothing is reported again until the
// constraints change.
TEST_F(LayoutEngineTest, AnUnsatisfiableSetIsReportedAndBrokenNotCrashed)
{
    auto root = View::create({ 0, 0, 300, 300 });
    auto box = placed();
    box->setAccessibilityIdentifier("box");
    root->addSubview(box);
    auto wide = box->widthAnchor().constraintEqualToConstant(200);
    wide->setIdentifier("wide");
    auto narrow = box->widthAnchor().constraintEqualToConstant(50);
    narrow->setIdentifier("narrow");
    Constraint::activate({ box->leadingAnchor().constraintEqualTo(root->leadingAnchor()),
        box->topAnchor().constraintEqualTo(root->topAnchor()), box->heightAnchor().constraintEqualToConstant(20), wide,
        narrow });
    root->layoutIfNeeded();
    ASSERT_EQ(m_conflicts.reports.size(), 1u);
    const std::string& report = m_conflicts.reports.front();
    EXPECT_NE(report.find("Unable to simultaneously satisfy constraints"), std::string::npos) << report;
    EXPECT_NE(report.find("[narrow]"), std::string::npos) << report;
    EXPECT_NE(report.find("[wide]"), std::string::npos) << report;
    EXPECT_EQ(box->frame(), Rect(0, 0, 200, 20)) << "the later one is broken";

    root->setNeedsLayout();
    root->layoutIfNeeded();
    EXPECT_EQ(m_conflicts.reports.size(), 1u);
    narrow->setActive(false);
    root->layoutIfNeeded();
    EXPECT_EQ(m_conflicts.reports.size(), 1u);
    EXPECT_EQ(box->frame(), Rect(0, 0, 200, 20));
}

// The window is laid out at the end of the run loop's turn: a constant changed in a task
// has moved the view before anyone looks.
TEST_F(LayoutEngineTest, TheKeyWindowIsLaidOutAtTheEndOfEachTurn)
{
    auto window = Environment::current().makeKeyWindow();
    auto bar = placed();
    window->addSubview(bar);
    auto bottom = bar->bottomAnchor().constraintEqualTo(window->bottomAnchor());
    Constraint::activate({ bottom, bar->leadingAnchor().constraintEqualTo(window->leadingAnchor()),
        bar->trailingAnchor().constraintEqualTo(window->trailingAnchor()), bar->heightAnchor().constraintEqualToConstant(44) });
    base::RunLoop::main().runUntilIdle();
    const double height = window->bounds().height();
    EXPECT_EQ(bar->frame(), Rect(0, height - 44, window->bounds().width(), 44));

    base::RunLoop::main().post([&] { bottom->setConstant(-100); });
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(bar->frame().minY(), height - 144);
}

// A list of rows, each under the one above it: its constraints reach the engine links first
// (the list holds them) and heights after (each row holds its own). Changed step by step,
// the rows sit where the constraints put them.
TEST_F(LayoutEngineTest, AListChangedStepByStepKeepsItsRowsWhereTheConstraintsSay)
{
    const size_t count = 120;
    auto list = View::create({ 0, 0, 320, 480 });
    std::vector<std::shared_ptr<View>> rows;
    std::vector<ConstraintPtr> heights, links;
    std::vector<double> gaps, sizes;
    for (size_t i = 0; i < count; ++i) {
        auto row = placed();
        list->addSubview(row);
        sizes.push_back(20.0 + static_cast<double>(i % 5));
        gaps.push_back(i == 0 ? 0.0 : 2.0);
        heights.push_back(row->heightAnchor().constraintEqualToConstant(sizes.back()));
        links.push_back(i == 0 ? row->topAnchor().constraintEqualTo(list->topAnchor())
                               : row->topAnchor().constraintEqualTo(rows.back()->bottomAnchor(), 2));
        Constraint::activate({ heights.back(), links.back(), row->leadingAnchor().constraintEqualTo(list->leadingAnchor()),
            row->trailingAnchor().constraintEqualTo(list->trailingAnchor()) });
        rows.push_back(row);
    }
    auto check = [&](const std::string& step) {
        list->layoutIfNeeded();
        double top = 0;
        for (size_t i = 0; i < count; ++i) {
            top += gaps[i];
            ASSERT_EQ(rows[i]->frame(), Rect(0, top, 320, sizes[i])) << step << ": row " << i;
            top += sizes[i];
        }
    };
    check("laid out");
    heights[40]->setConstant(61);
    sizes[40] = 61;
    check("a row in the middle grew");
    links[70]->setActive(false);
    links[70] = rows[70]->topAnchor().constraintEqualTo(rows[69]->bottomAnchor(), 15);
    links[70]->setActive(true);
    gaps[70] = 15;
    check("a row's link replaced");
    heights[10]->setActive(false);
    heights[10] = rows[10]->heightAnchor().constraintEqualTo(rows[11]->heightAnchor());
    heights[10]->setActive(true);
    sizes[10] = sizes[11];
    check("a row's height tied to the next row's");
    heights[11]->setConstant(33);
    sizes[11] = sizes[10] = 33;
    check("and that row grew");
    const Rect unlinked = rows[90]->frame();
    const Rect last = rows.back()->frame();
    links[90]->setActive(false);
    list->layoutIfNeeded();
    EXPECT_EQ(rows[90]->frame(), unlinked) << "a row left without its link keeps its frame";
    EXPECT_EQ(rows.back()->frame(), last);
    EXPECT_TRUE(m_conflicts.reports.empty()) << m_conflicts.reports.front() << "\n(a constraint replaced in one pass met the one it replaced)";
}

// Each tree's engine reads the changes noted since it last looked, however often another
// tree is laid out in between.
TEST_F(LayoutEngineTest, TwoTreesFollowTheirChangesWhateverOrderTheyAreLaidOutIn)
{
    struct Tree {
        std::shared_ptr<View> root = View::create({ 0, 0, 200, 200 });
        std::shared_ptr<View> child = placed();
        ConstraintPtr height;
    };
    Tree first, second;
    for (Tree* tree : { &first, &second }) {
        tree->root->addSubview(tree->child);
        tree->height = tree->child->heightAnchor().constraintEqualToConstant(10);
        Constraint::activate({ tree->height, tree->child->topAnchor().constraintEqualTo(tree->root->topAnchor()),
            tree->child->leadingAnchor().constraintEqualTo(tree->root->leadingAnchor()),
            tree->child->widthAnchor().constraintEqualToConstant(50) });
        tree->root->layoutIfNeeded();
    }
    second.height->setConstant(70);
    for (int turn = 0; turn < 5; ++turn) {
        first.height->setConstant(20 + turn);
        first.root->layoutIfNeeded();
        EXPECT_EQ(first.child->frame().height(), 20 + turn);
    }
    EXPECT_TRUE(layout::hasPendingChanges(*second.root));
    second.root->layoutIfNeeded();
    EXPECT_EQ(second.child->frame(), Rect(0, 0, 50, 70));
    EXPECT_EQ(first.child->frame(), Rect(0, 0, 50, 24));
}

// A scroll view's content edges are its content's: pinned content gives it its size.
TEST_F(LayoutEngineTest, AScrollViewTakesItsContentSizeFromItsContent)
{
    auto scroll = ScrollView::create({ 0, 0, 200, 300 });
    auto content = placed();
    scroll->addSubview(content);
    Constraint::activate({ content->leadingAnchor().constraintEqualTo(scroll->leadingAnchor()),
        content->trailingAnchor().constraintEqualTo(scroll->trailingAnchor()),
        content->topAnchor().constraintEqualTo(scroll->topAnchor()),
        content->bottomAnchor().constraintEqualTo(scroll->bottomAnchor()),
        content->widthAnchor().constraintEqualTo(scroll->widthAnchor()), content->heightAnchor().constraintEqualToConstant(900) });
    scroll->layoutIfNeeded();
    EXPECT_EQ(content->frame(), Rect(0, 0, 200, 900));
    EXPECT_EQ(scroll->contentSize(), Size(200, 900));
}

// As on the device, a touch reaches a view only inside the bounds of every ancestor: a
// button hanging out of its bar is seen but not touched there, and the tap says why.
TEST_F(LayoutEngineTest, AButtonOutsideItsParentsBoundsCannotBeTapped)
{
    auto window = Environment::current().makeKeyWindow();
    auto bar = View::create({ 0, 100, 200, 44 });
    window->addSubview(bar);
    auto inside = Button::create(Rect { 10, 0, 60, 44 });
    auto outside = Button::create(Rect { 10, 60, 60, 44 });
    inside->setAccessibilityIdentifier("inside");
    outside->setAccessibilityIdentifier("outside");
    bar->addSubview(inside);
    bar->addSubview(outside);
    int taps = 0;
    outside->addTarget(ControlEvent::TouchUpInside, [&](Control&) { ++taps; });
    inside->addTarget(ControlEvent::TouchUpInside, [&](Control&) { ++taps; });

    auto refused = uitest::tap(*outside);
    EXPECT_FALSE(refused);
    EXPECT_NE(std::string(refused.message()).find("lies outside the bounds of its ancestor"), std::string::npos)
        << refused.message();
    EXPECT_EQ(window->hitTest({ 40, 182 }), window) << "hit testing agrees";
    EXPECT_TRUE(uitest::tap(*inside));
    EXPECT_EQ(taps, 1);
}

} // namespace
} // namespace ui
