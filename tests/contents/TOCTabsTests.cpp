// The contents panel's tab bars, tab switching, empty-list notices, the iPad sheet's
// drag and overlay tap, and the background resource load.

#include "ContentsTestSupport.h"
#include "LayoutConflictLog.h"
#include "reader/ReaderTestSupport.h"

#include "LectoroSDKWithReader/contents/TOCCells.h"
#include "LectoroSDKWithReader/contents/TOCViewController.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "platform/base/Dispatch.h"
#include "platform/testing/Interaction.h"
#include "platform/testing/Landing.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"

namespace lectoro::contentstest {
namespace {

class TOCTabsDelegate : public TOCViewControllerDelegate {
public:
    std::vector<std::string> events;
    std::vector<TOCResourceGroup> internalAnswer;
    void didSelectActionToCloseTOC() override { events.push_back("close"); }
    void navigateToPageWithPageId(const std::string& page) override { events.push_back("page:" + page); }
    void actionForLinkWithLinkVO(const std::shared_ptr<PXLinkVO>&) override { }
    void actionForResource(const base::Value&) override { }
    void didSelectTEKSStandard() override { events.push_back("teks"); }
    void didSelectELPSStandard() override { events.push_back("elps"); }
    void didLoadWebLinkForStandardsWithWebLink(const std::string&) override { }
    std::vector<TOCResourceGroup> didSelectInternalResources() override
    {
        events.push_back("internal");
        return internalAnswer;
    }
    void didSelectExternalResources() override { events.push_back("external"); }
    void didLoadWebLinkForExternalResourcesWithWebLink(const std::string&) override { }
    void didSelectActionToJumpToBookWithBookID(const std::string&) override { }
    void sessionExpiredOnTOC() override { }
};

struct TOCTabsData {
    bool bookmarksOn = true;
    bool standards = false;
    bool internal = false;
    bool external = false;
    bool contentsRows = true;
};

class TOCTabsTest : public testing::ReaderTest {
protected:
    void SetUp() override
    {
        ReaderTest::SetUp();
        m_theme->setToc_selected_text_color(ui::Color::red());
        m_theme->setToc_tab_text_color(ui::Color::blue());
    }

    std::shared_ptr<TOCViewController> makePanel(
        const TOCTabsData& data, ui::UserInterfaceIdiom idiom, ui::Size size = { 768, 1024 })
    {
        ui::Environment::current().setIdiom(idiom);
        ui::Environment::current().setScreenSize(size);
        TOCViewController::Inputs inputs;
        inputs.theme = m_theme;
        inputs.book = twoChapterPageBook();
        inputs.activePages = { pageBookPage(3) };
        inputs.tocData = data.contentsRows ? threeChapterContents() : base::Value(base::Value::List {});
        std::vector<TOCResourceGroup> groups;
        if (data.internal) {
            TOCResourceGroup group;
            group.chapterName = "Clouds";
            group.resourceArray.push_back(TOCResourceEntry {});
            groups.push_back(group);
        }
        inputs.resources = groups;
        if (data.standards)
            inputs.standards = base::Value::List { node("Reading", 3) };
        auto panel = TOCViewController::create(std::move(inputs));
        auto settings = std::make_shared<MVReaderSettingModel>();
        settings->setIsBookmarkEnabled(data.bookmarksOn);
        panel->setUserSettingsModel(settings);
        panel->setIsExternalResourceAvailable(data.external);
        panel->setDelegate(m_delegate);
        uitest::showInWindow(panel);
        settle(*panel);
        return panel;
    }

    static void settle(TOCViewController& panel)
    {
        base::RunLoop::main().runUntilIdle();
        panel.view()->setNeedsLayout();
        panel.view()->layoutIfNeeded();
    }

    std::shared_ptr<LXMVThemeVO> m_theme = std::make_shared<LXMVThemeVO>();
    std::shared_ptr<TOCTabsDelegate> m_delegate = std::make_shared<TOCTabsDelegate>();
};

TEST_F(TOCTabsTest, TheTabsThatExistShareTheBarInEqualParts)
{
    struct Case {
        const char* name;
        TOCTabsData data;
        std::vector<int> tags;
        bool standardsBar;
        bool resourcesBar;
    };
    const Case cases[] = {
        { "nothing but contents", { false, false, false, false }, { 0 }, false, false },
        { "bookmarks only", { true, false, false, false }, { 0, 2 }, false, false },
        { "all four", { true, true, true, false }, { 0, 3, 2, 1 }, true, false },
        { "external resources only", { false, false, false, true }, { 0, 1 }, false, true },
    };
    for (const auto& c : cases) {
        auto panel = makePanel(c.data, ui::UserInterfaceIdiom::Phone);
        const auto& tabs = panel->visibleTabs();
        std::vector<int> tags;
        for (const auto& tab : tabs)
            tags.push_back(tab->tag());
        EXPECT_EQ(tags, c.tags) << c.name;
        const double barWidth = panel->segmentView()->frame().size.width;
        for (size_t index = 0; index < tabs.size(); ++index) {
            EXPECT_DOUBLE_EQ(tabs[index]->frame().size.width, barWidth / static_cast<double>(tabs.size())) << c.name;
            EXPECT_DOUBLE_EQ(tabs[index]->frame().origin.x, barWidth / static_cast<double>(tabs.size()) * index)
                << c.name;
        }
        EXPECT_DOUBLE_EQ(panel->lineView2()->frame().size.width, tabs.front()->frame().size.width) << c.name;
        EXPECT_EQ(panel->standardResourceView() != nullptr, c.standardsBar) << c.name;
        EXPECT_EQ(panel->lineView3() != nullptr, c.standardsBar) << c.name;
        EXPECT_EQ(panel->externalResourceView() != nullptr, c.resourcesBar) << c.name;
        EXPECT_EQ(panel->lineView4() != nullptr, c.resourcesBar) << c.name;
        // Sub-tab bars stay hidden until their tab is chosen; the first tab is selected.
        if (panel->standardResourceView()) {
            EXPECT_TRUE(panel->standardResourceView()->isHidden()) << c.name;
        }
        EXPECT_EQ(panel->contentButton()->titleColorForState(ui::ControlState::Normal), ui::Color::red());
    }
}

TEST_F(TOCTabsTest, SubTabBarsSitBesideTheMainBarByIdiom)
{
    for (auto idiom : { ui::UserInterfaceIdiom::Phone, ui::UserInterfaceIdiom::Pad }) {
        auto panel = makePanel({ true, true, false, true }, idiom);
        const ui::Rect bar = panel->segmentView()->frame();
        const ui::Rect standards = panel->standardResourceView()->frame();
        const bool pad = idiom == ui::UserInterfaceIdiom::Pad;
        EXPECT_EQ(standards.origin.y, pad ? bar.maxY() : bar.minY() - 50);
        EXPECT_EQ(panel->externalResourceView()->frame(), standards);
        // The 5.0 asked for on iPhone reads back as the layer's full opacity.
        EXPECT_EQ(panel->lineView3()->layer()->shadowOpacity(), pad ? 0.0 : 1.0);
        // The selection line: along the tab's top on iPhone, its bottom on iPad.
        EXPECT_EQ(panel->lineView2()->frame().origin.y, pad ? bar.maxY() - 2 : bar.minY() + 2);
    }
}

TEST_F(TOCTabsTest, ThePanelStandsWhereItsConstraintsPutItWithoutConflicts)
{
    struct Case {
        const char* name;
        ui::UserInterfaceIdiom idiom;
        ui::Size screen;
    };
    const Case cases[] = {
        { "phone upright", ui::UserInterfaceIdiom::Phone, { 375, 812 } },
        { "phone turned", ui::UserInterfaceIdiom::Phone, { 812, 375 } },
        { "tablet upright", ui::UserInterfaceIdiom::Pad, { 768, 1024 } },
        { "tablet turned", ui::UserInterfaceIdiom::Pad, { 1024, 768 } },
    };
    for (const auto& c : cases) {
        testing::LayoutConflictLog conflicts;
        // No rows: the rows' cells place their own subviews, apart from the panel's tree.
        auto panel = makePanel({ true, true, true, true, false }, c.idiom, c.screen);
        panel->viewDidAppear(false);
        base::RunLoop::main().advanceBy(0.5);
        settle(*panel);
        const bool pad = c.idiom == ui::UserInterfaceIdiom::Pad;
        const ui::Rect container = panel->containerView()->frame();
        const ui::Rect header = panel->headerView()->frame();
        const ui::Rect bar = panel->segmentView()->frame();
        const ui::Rect table = panel->tableView()->frame();
        EXPECT_EQ(header.size.width, container.size.width) << c.name;
        EXPECT_EQ(bar.size, (ui::Size { container.size.width, 50 })) << c.name;
        // iPad: the bar 15 under the header, the list under it down to the screen's bottom;
        // iPhone: the bar along the panel's bottom, the list 60 under the header's top.
        if (pad) {
            EXPECT_EQ(bar.minY(), header.maxY() + 15) << c.name;
            EXPECT_EQ(table.minY(), bar.maxY() + panel->tableViewTop()) << c.name;
            EXPECT_EQ(panel->tableView()->convertRectTo(panel->tableView()->bounds(), panel->view().get()).maxY(),
                panel->view()->bounds().maxY())
                << c.name;
            const ui::Rect handle = panel->upDirectionIconLbl()->frame();
            EXPECT_EQ(handle.size.height, 46) << c.name;
            EXPECT_DOUBLE_EQ(handle.midX(), panel->pangestureContainer()->bounds().midX()) << c.name;
            EXPECT_EQ(container.minY(), handle.maxY()) << c.name;
        } else {
            EXPECT_EQ(bar.maxY(), container.size.height) << c.name;
            EXPECT_EQ(table.minY(), header.minY() + panel->tableViewTop()) << c.name;
            EXPECT_EQ(table.maxY(), bar.minY()) << c.name;
        }
        EXPECT_EQ(table.size.width, container.size.width) << c.name;
        EXPECT_EQ(panel->backButton()->frame(), (ui::Rect { 5, 10, 40, 40 })) << c.name;
        EXPECT_EQ(panel->headerTitle()->frame(), (ui::Rect { 60, 10, 250, 40 })) << c.name;
        for (const auto& tab : panel->visibleTabs())
            EXPECT_EQ(tab->frame().size.height, 50) << c.name;
        // A tab tapped moves the selection line under it.
        ASSERT_TRUE(uitest::tap(*panel->bookmarkButton())) << c.name;
        base::RunLoop::main().advanceBy(1);
        uitest::settleLayout();
        EXPECT_EQ(panel->lineView2()->frame().minX(), panel->bookmarkButton()->frame().minX()) << c.name;
        EXPECT_TRUE(conflicts.empty()) << c.name << "\n" << conflicts.text();
    }
}

TEST_F(TOCTabsTest, SwitchingTabsMovesTheTableAndShowsTheSubTabBar)
{
    struct Case {
        ui::UserInterfaceIdiom idiom;
        double subBarBottom;
    };
    for (auto c : { Case { ui::UserInterfaceIdiom::Phone, -55 }, Case { ui::UserInterfaceIdiom::Pad, 0 } }) {
        m_delegate->events.clear();
        auto panel = makePanel({ true, true, true, true }, c.idiom);
        const double tableTop = panel->tableViewTop();

        ASSERT_TRUE(uitest::tap(*panel->resourcesButton()));
        EXPECT_EQ(panel->selectedButton(), TOCFilterResources);
        EXPECT_EQ(panel->topConstraintOfTableView()->constant(), 55);
        EXPECT_EQ(panel->bottomConstraintOfTableView()->constant(), c.subBarBottom);
        EXPECT_FALSE(panel->externalResourceView()->isHidden());
        EXPECT_FALSE(panel->lineView4()->isHidden());
        EXPECT_EQ(panel->headerTitle()->text(), TOCConstants::localized("Table_of_Resources"));
        EXPECT_EQ(panel->resourcesButton()->titleColorForState(ui::ControlState::Normal), ui::Color::red());
        EXPECT_EQ(panel->contentButton()->titleColorForState(ui::ControlState::Normal), ui::Color::blue());

        // Every switch to the standards tab asks for the TEKS list again.
        ASSERT_TRUE(uitest::tap(*panel->standardsButton()));
        ASSERT_TRUE(uitest::tap(*panel->standardsButton()));
        EXPECT_EQ(m_delegate->events, (std::vector<std::string> { "teks", "teks" }));
        EXPECT_TRUE(panel->externalResourceView()->isHidden());
        EXPECT_FALSE(panel->standardResourceView()->isHidden());
        EXPECT_EQ(panel->topConstraintOfTableView()->constant(), 55);
        EXPECT_EQ(panel->bottomConstraintOfTableView()->constant(), c.subBarBottom);

        ASSERT_TRUE(uitest::tap(*panel->contentButton()));
        EXPECT_EQ(panel->topConstraintOfTableView()->constant(), tableTop);
        EXPECT_EQ(panel->bottomConstraintOfTableView()->constant(), 0);
        EXPECT_TRUE(panel->standardResourceView()->isHidden());
        EXPECT_EQ(panel->headerTitle()->text(), TOCConstants::localized("Table_of_Content"));
        settle(*panel);
        EXPECT_EQ(panel->lineViewLeftAnchor()->constant(), 0) << "under the contents tab";
    }
}

TEST_F(TOCTabsTest, EverySwitchForgetsTheHeightsOfTheTabLeft)
{
    auto panel = makePanel({ true, false, false, false }, ui::UserInterfaceIdiom::Phone);
    panel->tableView()->layoutIfNeeded();
    auto shown = panel->estimatedHeaderHeight(0);
    ASSERT_TRUE(shown);
    ASSERT_NE(*shown, 65.0) << "a shown header remembers its height";
    panel->showTab(TOCFilterContents);
    EXPECT_EQ(panel->estimatedHeaderHeight(0), std::optional<double>(65.0))
        << "a switch to the tab already shown empties the caches too";
}

TEST_F(TOCTabsTest, AnEmptyBookmarkListShowsItsNoticePerIdiom)
{
    struct Case {
        ui::UserInterfaceIdiom idiom;
        double glyphSize;
        double blockHeight;
        double textSize;
    };
    for (auto c : { Case { ui::UserInterfaceIdiom::Pad, 84, 164, 18 }, Case { ui::UserInterfaceIdiom::Phone, 80, 160, 16 } }) {
        auto panel = makePanel({ true, false, false, false }, c.idiom);
        ASSERT_TRUE(uitest::tap(*panel->bookmarkButton()));
        settle(*panel);
        const auto& header = panel->tableviewHeaderView();
        EXPECT_FALSE(header->isHidden());
        EXPECT_EQ(header->frame().size, panel->tableView()->frame().size);
        const auto& block = panel->emptyBookMarkContainer();
        ASSERT_TRUE(block);
        EXPECT_EQ(block->superview(), header);
        EXPECT_EQ(block->frame().size, (ui::Size { 200, c.blockHeight }));
        EXPECT_DOUBLE_EQ(block->frame().midX(), header->bounds().midX());
        EXPECT_DOUBLE_EQ(block->frame().midY(), header->bounds().midY());
        ASSERT_EQ(block->subviews().size(), 2u);
        auto glyph = std::dynamic_pointer_cast<ui::Label>(block->subviews()[0]);
        auto message = std::dynamic_pointer_cast<ui::Label>(block->subviews()[1]);
        ASSERT_TRUE(glyph && message);
        EXPECT_EQ(glyph->text(), "q");
        EXPECT_EQ(glyph->font().pointSize(), c.glyphSize);
        EXPECT_EQ(glyph->textColor(), ui::Color::fromRGB255(0xCD, 0xCD, 0xCD));
        EXPECT_EQ(message->text(), TOCConstants::localized("Your_added_bookmarks_will_be_listed_here"));
        EXPECT_EQ(message->textColor(), ui::Color::fromRGB255(0x6E, 0x6E, 0x6E));
        EXPECT_EQ(message->font().pointSize(), c.textSize);
        EXPECT_EQ(message->numberOfLines(), 0);

        // Back on the contents tab the header shrinks and hides with its notice.
        ASSERT_TRUE(uitest::tap(*panel->contentButton()));
        EXPECT_TRUE(header->isHidden());
        EXPECT_EQ(header->frame().size, (ui::Size {}));
    }
}

TEST_F(TOCTabsTest, NoInternalResourcesNoticeComesAndGoesWithTheSubTabs)
{
    auto panel = makePanel({ true, false, false, true }, ui::UserInterfaceIdiom::Phone);
    ASSERT_TRUE(uitest::tap(*panel->resourcesButton()));
    settle(*panel);
    const auto& header = panel->tableviewHeaderView();
    ASSERT_TRUE(panel->emptyBookMarkContainer());
    auto glyph = std::dynamic_pointer_cast<ui::Label>(panel->emptyBookMarkContainer()->subviews()[0]);
    EXPECT_EQ(glyph->text(), "!");
    EXPECT_FALSE(header->isHidden());

    // Going back and forth between two empty lists leaves one notice on screen.
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(uitest::tap(*panel->bookmarkButton()));
        ASSERT_TRUE(uitest::tap(*panel->resourcesButton()));
    }
    EXPECT_EQ(header->subviews().size(), 1u);

    ASSERT_TRUE(uitest::tap(*panel->externalResourceButton()));
    EXPECT_TRUE(header->isHidden());
    EXPECT_FALSE(panel->emptyBookMarkContainer()->superview());
    EXPECT_TRUE(panel->isExternalResourcesSelected());
    // Returning to the tab keeps the external list: no notice is built.
    ASSERT_TRUE(uitest::tap(*panel->contentButton()));
    ASSERT_TRUE(uitest::tap(*panel->resourcesButton()));
    EXPECT_TRUE(header->isHidden());
    EXPECT_EQ(header->frame().size, (ui::Size {}));

    // The internal sub-tab asks the reader; an empty answer brings the notice back.
    ASSERT_TRUE(uitest::tap(*panel->internalResourceButton()));
    EXPECT_FALSE(header->isHidden());
    EXPECT_TRUE(panel->emptyBookMarkContainer()->superview());
    EXPECT_EQ(m_delegate->events, (std::vector<std::string> { "external", "internal" }));
}

TEST_F(TOCTabsTest, ASubTabTapAsksOnlyWhenItChangesTheList)
{
    auto panel = makePanel({ true, true, false, false }, ui::UserInterfaceIdiom::Phone);
    ASSERT_TRUE(uitest::tap(*panel->standardsButton()));
    ASSERT_TRUE(uitest::tap(*panel->teksButton()));
    ASSERT_TRUE(uitest::tap(*panel->elpsButton()));
    ASSERT_TRUE(uitest::tap(*panel->elpsButton()));
    ASSERT_TRUE(uitest::tap(*panel->teksButton()));
    EXPECT_EQ(m_delegate->events, (std::vector<std::string> { "teks", "elps", "teks" }));
    EXPECT_EQ(panel->teksButton()->titleColorForState(ui::ControlState::Normal), ui::Color::red());
    EXPECT_EQ(panel->elpsButton()->titleColorForState(ui::ControlState::Normal), ui::Color::blue());
}

// The iPad sheet: H 1000, drag handle 46. Each drag starts from the half position the
// sheet rises to when shown (top 454), moves by the translation to `top`, and ends with
// the vertical velocity.
TEST_F(TOCTabsTest, SheetDragOutcomes)
{
    enum Outcome { Full, Half, Close, Stays };
    struct Case {
        const char* name;
        double top;
        double velocity;
        Outcome outcome;
    };
    const Case cases[] = {
        { "upward flick above the middle", 300, -800, Full },
        { "upward flick from the lower half", 500, -800, Stays },
        { "downward flick above half", 100, 800, Half },
        { "downward flick at half", 454, 800, Close },
        { "downward flick below half", 700, 800, Close },
        { "release without velocity", 300, 0, Stays },
        { "release without velocity at the top", -20, 0, Stays },
    };
    for (const auto& c : cases) {
        m_delegate->events.clear();
        auto panel = makePanel({ true, false, false, false }, ui::UserInterfaceIdiom::Pad, { 768, 1000 });
        ASSERT_EQ(panel->upDirectionIconLbl()->frame().size.height, 46);
        auto& pan = *panel->panGesture();
        const auto& top = *panel->topConstraintOfContainerView();
        // Shown, the sheet rises from where it was parked.
        base::RunLoop::main().advanceBy(0.5);
        ASSERT_EQ(top.constant(), 454) << "risen to half";
        ASSERT_TRUE(pan.simulatePan(ui::GestureState::Began, { 10, 10 }, { 0, 0 }));
        ASSERT_TRUE(pan.simulatePan(ui::GestureState::Changed, { 10, 10 }, { 0, c.top - 454 }));
        ASSERT_TRUE(pan.simulatePan(ui::GestureState::Ended, { 10, 10 }, { 0, c.top - 454 }, { 0, c.velocity }));
        base::RunLoop::main().advanceBy(0.5);
        switch (c.outcome) {
        case Full:
            EXPECT_EQ(top.constant(), -46) << c.name;
            EXPECT_EQ(panel->leftConstraintOfContainerView()->constant(), 0) << c.name;
            EXPECT_EQ(panel->headerHeightConstraint()->constant(), panel->headerDefaultHeight()) << c.name;
            break;
        case Half:
            EXPECT_EQ(top.constant(), 454) << c.name;
            EXPECT_EQ(panel->leftConstraintOfContainerView()->constant(), 15) << c.name;
            EXPECT_EQ(panel->rightConstraintOfContainerView()->constant(), -15) << c.name;
            EXPECT_EQ(panel->headerHeightConstraint()->constant(), 0) << c.name;
            break;
        case Close:
            EXPECT_EQ(m_delegate->events, (std::vector<std::string> { "close" })) << c.name;
            EXPECT_EQ(top.constant(), 1000) << c.name;
            break;
        case Stays:
            EXPECT_EQ(top.constant(), c.top) << c.name;
            EXPECT_TRUE(m_delegate->events.empty()) << c.name;
            break;
        }
    }
}

TEST_F(TOCTabsTest, DraggingTakesTheFullLookAboveTheTopAndStopsAtTheHandle)
{
    auto panel = makePanel({ true, false, false, false }, ui::UserInterfaceIdiom::Pad, { 768, 1000 });
    panel->viewDidAppear(false);
    base::RunLoop::main().advanceBy(0.5);
    auto& pan = *panel->panGesture();
    ASSERT_TRUE(pan.simulatePan(ui::GestureState::Began, { 10, 10 }, { 0, 0 }));
    ASSERT_TRUE(pan.simulatePan(ui::GestureState::Changed, { 10, 10 }, { 0, -449 }));
    EXPECT_EQ(panel->leftConstraintOfContainerView()->constant(), 15) << "still below the top: the card look";
    EXPECT_EQ(panel->headerHeightConstraint()->constant(), 0);
    EXPECT_FALSE(panel->upDirectionIconLbl()->isHidden());
    ASSERT_TRUE(pan.simulatePan(ui::GestureState::Changed, { 10, 10 }, { 0, -3000 }));
    EXPECT_EQ(panel->topConstraintOfContainerView()->constant(), -46) << "never past the full position";
    EXPECT_EQ(panel->leftConstraintOfContainerView()->constant(), 0);
    EXPECT_EQ(panel->headerHeightConstraint()->constant(), panel->headerDefaultHeight());
    EXPECT_TRUE(panel->upDirectionIconLbl()->isHidden());
    ASSERT_TRUE(pan.simulatePan(ui::GestureState::Cancelled, { 10, 10 }, { 0, -3000 }));
    EXPECT_EQ(panel->topConstraintOfContainerView()->constant(), -46) << "a cancelled drag stays";
}

TEST_F(TOCTabsTest, OnlyATapOnTheOverlayClosesThePanel)
{
    auto panel = makePanel({ true, false, false, false }, ui::UserInterfaceIdiom::Pad, { 768, 1000 });
    auto& tap = *panel->dismissTapGesture();
    EXPECT_TRUE(panel->shouldReceiveTouch(tap, panel->dismissBackgroundView().get()));
    EXPECT_TRUE(panel->shouldReceiveTouch(tap, panel->view().get()));
    EXPECT_FALSE(panel->shouldReceiveTouch(tap, panel->tableView().get()));
    EXPECT_FALSE(panel->shouldReceiveTouch(tap, panel->contentButton().get()));
    EXPECT_TRUE(panel->shouldReceiveTouch(*panel->panGesture(), panel->tableView().get()));
    EXPECT_FALSE(panel->shouldRecognizeSimultaneously(tap, *panel->panGesture()));
    EXPECT_TRUE(panel->shouldBegin(tap));
    ASSERT_TRUE(tap.simulate(ui::GestureState::Ended, { 5, 5 }));
    EXPECT_EQ(m_delegate->events, (std::vector<std::string> { "close" }));
}

class TOCLoadTest : public TOCTabsTest {
protected:
    std::shared_ptr<TOCViewController> makeLoadingPanel(std::shared_ptr<LectoroBookVO> book)
    {
        ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Phone);
        TOCViewController::Inputs inputs;
        inputs.theme = m_theme;
        inputs.book = std::move(book);
        inputs.tocData = threeChapterContents();
        auto panel = TOCViewController::create(std::move(inputs));
        auto settings = std::make_shared<MVReaderSettingModel>();
        settings->setIsBookmarkEnabled(true);
        panel->setUserSettingsModel(settings);
        panel->view()->setFrame({ 0, 0, 768, 1024 });
        panel->view()->layoutIfNeeded();
        return panel;
    }
};

TEST_F(TOCLoadTest, APageBooksResourcesArriveBehindTheLoaderAndAddTheirTab)
{
    auto book = twoChapterPageBook();
    addLink(*book, 12, 5, 9, "Site");
    addLink(*book, 40, 6, 9, "Video");
    auto panel = makeLoadingPanel(book);
    ASSERT_TRUE(panel->loaderView());
    EXPECT_TRUE(panel->isLoadingResources());
    EXPECT_EQ(panel->loaderView()->superview(), panel->view()) << "over the whole panel";
    EXPECT_EQ(panel->visibleTabs().size(), 2u) << "contents and bookmarks while loading";

    base::RunLoop::main().runUntilIdle();
    EXPECT_TRUE(panel->isLoadingResources()) << "the scans start 0.1 s later";
    base::RunLoop::main().advanceBy(0.1);
    base::waitForBackgroundWork();
    base::RunLoop::main().runUntilIdle();
    EXPECT_FALSE(panel->isLoadingResources());
    ASSERT_EQ(panel->resourceArray().size(), 2u);
    EXPECT_EQ(panel->resourceArray()[0].chapterName, "Clouds");
    ASSERT_EQ(panel->visibleTabs().size(), 3u);
    EXPECT_EQ(panel->visibleTabs().back(), panel->resourcesButton());
}

TEST_F(TOCLoadTest, NothingToScanHidesTheLoaderWithoutANewTab)
{
    struct Case {
        const char* name;
        std::shared_ptr<LectoroBookVO> book;
    };
    auto noPages = std::make_shared<PXBookVO>();
    auto noLinks = twoChapterPageBook();
    for (const auto& c : { Case { "not a page book", reflowableEpub() }, Case { "no pages", noPages },
             Case { "pages without resources", noLinks } }) {
        auto panel = makeLoadingPanel(c.book);
        base::RunLoop::main().advanceBy(0.1);
        base::waitForBackgroundWork();
        base::RunLoop::main().runUntilIdle();
        EXPECT_FALSE(panel->isLoadingResources()) << c.name;
        EXPECT_FALSE(panel->resourcesButton()) << c.name;
        EXPECT_TRUE(panel->resourceArray().empty()) << c.name;
    }
}

} // namespace
} // namespace lectoro::contentstest
