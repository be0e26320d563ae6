#include "ContentsTestSupport.h"
#include "reader/ReaderTestSupport.h"

#include "LectoroSDKWithReader/contents/TOCCells.h"
#include "LectoroSDKWithReader/contents/TOCViewController.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "platform/base/Dispatch.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

namespace lectoro::contentstest {
namespace {

class RecordingTOCDelegate : public TOCViewControllerDelegate {
public:
    std::vector<std::string> events;
    void didSelectActionToCloseTOC() override { events.push_back("close"); }
    void navigateToPageWithPageId(const std::string& page) override { events.push_back("page:" + page); }
    void actionForLinkWithLinkVO(const std::shared_ptr<PXLinkVO>& link) override
    {
        events.push_back("link:" + std::to_string(link ? link->linkID : 0));
    }
    void actionForResource(const base::Value&) override { events.push_back("resource"); }
    void didSelectTEKSStandard() override { events.push_back("teks"); }
    void didSelectELPSStandard() override { events.push_back("elps"); }
    void didLoadWebLinkForStandardsWithWebLink(const std::string& link) override
    {
        events.push_back("standard:" + link);
    }
    std::vector<TOCResourceGroup> didSelectInternalResources() override { return {}; }
    void didSelectExternalResources() override { events.push_back("external"); }
    void didLoadWebLinkForExternalResourcesWithWebLink(const std::string& link) override
    {
        events.push_back("externalLink:" + link);
    }
    void didSelectActionToJumpToBookWithBookID(const std::string&) override { }
    void sessionExpiredOnTOC() override { }
};

class TOCPanelTest : public testing::ReaderTest {
protected:
    std::shared_ptr<TOCViewController> makePanel(
        TOCViewController::Inputs inputs, ui::UserInterfaceIdiom idiom)
    {
        ui::Environment::current().setIdiom(idiom);
        ui::Environment::current().setScreenSize({ 768, 1024 });
        auto panel = TOCViewController::create(std::move(inputs));
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
        panel.tableView()->layoutIfNeeded();
    }

    static TOCViewController::Inputs pageBookInputs()
    {
        TOCViewController::Inputs inputs;
        inputs.book = twoChapterPageBook();
        inputs.activePages = { pageBookPage(22) };
        inputs.tocData = threeChapterContents();
        inputs.resources = std::vector<TOCResourceGroup> {};
        return inputs;
    }

    std::shared_ptr<RecordingTOCDelegate> m_delegate = std::make_shared<RecordingTOCDelegate>();
    LXMVThemeVO m_theme;
};

TEST_F(TOCPanelTest, LevelIndentsAndDividersDifferByIdiom)
{
    struct Case {
        ui::UserInterfaceIdiom idiom;
        const char* level;
        double content;
        double divider;
    };
    for (auto c : { Case { ui::UserInterfaceIdiom::Phone, "3", 20, 21 },
             Case { ui::UserInterfaceIdiom::Pad, "3", 26, 26 },
             Case { ui::UserInterfaceIdiom::Phone, "1.2.3", 60, 63 },
             Case { ui::UserInterfaceIdiom::Pad, "1.2.3", 78, 78 } }) {
        ui::Environment::current().setIdiom(c.idiom);
        auto cell = TOCContentCell::create(ui::TableViewCellStyle::Default, TOCContentCell::reuseIdentifier);
        TOCTreeRow row;
        row.title = "Row";
        row.level = c.level;
        cell->configureViewForTocWithDataDictionary(row, m_theme);
        EXPECT_EQ(cell->cellLeadConstraint()->constant(), c.content) << c.level;
        EXPECT_EQ(cell->seperatorSuperviewLeadingConstraint()->constant(), c.divider) << c.level;
        cell->setFrame({ 0, 0, 400, 60 });
        cell->layoutIfNeeded();
        EXPECT_EQ(cell->dataLabel()->frame().origin.x, c.content);
        EXPECT_EQ(cell->seperatorView()->frame().origin.x, c.divider);
    }
}

TEST_F(TOCPanelTest, AReusedCellKeepsNothingOfItsPreviousRow)
{
    auto cell = TOCContentCell::create(ui::TableViewCellStyle::Default, TOCContentCell::reuseIdentifier);
    auto leafChild = std::make_shared<TOCTreeRow>();
    leafChild->title = "web links";
    leafChild->resourceURL = "https://example.org/activity";
    TOCTreeRow standard;
    standard.title = "Fractions";
    standard.level = "1.1";
    standard.subnodes = { leafChild };
    cell->configureViewForStandardsWithDataDictionary(standard, m_theme);
    ASSERT_TRUE(cell->dataLabel()->attributedText());
    EXPECT_EQ(cell->dataLabel()->attributedText()->string(), "Activity: Fractions");
    EXPECT_EQ(cell->updatedURL(), std::optional<std::string>("https://example.org/activity"));
    EXPECT_TRUE(cell->downArrowButton()->isHidden());

    // The next row, of any kind, shows its own plain title and carries no link.
    TOCTreeRow chapter;
    chapter.title = "Chapter";
    chapter.level = "2.1";
    cell->configureViewForTocWithDataDictionary(chapter, m_theme);
    EXPECT_FALSE(cell->dataLabel()->attributedText());
    EXPECT_EQ(cell->dataLabel()->text(), "Chapter");
    EXPECT_FALSE(cell->updatedURL());
    EXPECT_TRUE(cell->downArrowButton()->isHidden()) << "no children, no arrow";

    // A standards row with an empty list of children has no first child to read.
    TOCTreeRow empty;
    empty.title = "Empty";
    empty.level = "1.2";
    cell->configureViewForStandardsWithDataDictionary(empty, m_theme);
    EXPECT_EQ(cell->dataLabel()->text(), "Empty");
    EXPECT_FALSE(cell->updatedURL());

    auto narrative = std::make_shared<TOCTreeRow>();
    narrative->title = "toc";
    narrative->resourceURL = "12";
    standard.subnodes = { narrative };
    cell->configureViewForStandardsWithDataDictionary(standard, m_theme);
    EXPECT_EQ(cell->dataLabel()->text(), "Narrative: Fractions");
    EXPECT_EQ(cell->updatedURL(), std::optional<std::string>("12"));
}

TEST_F(TOCPanelTest, CurrentRowColoursComeAndGo)
{
    m_theme.setToc_selected_toc_section_background(ui::Color::red());
    m_theme.setToc_popup_background(ui::Color::white());
    auto cell = TOCContentCell::create(ui::TableViewCellStyle::Default, TOCContentCell::reuseIdentifier);
    TOCTreeRow row;
    row.title = "Row";
    row.level = "1.1";
    row.isCurrentPage = true;
    cell->configureViewForTocWithDataDictionary(row, m_theme);
    EXPECT_EQ(cell->contentView()->backgroundColor(), ui::Color::red());
    row.isCurrentPage = false;
    cell->configureViewForTocWithDataDictionary(row, m_theme);
    EXPECT_EQ(cell->contentView()->backgroundColor(), ui::Color::white());
    EXPECT_EQ(cell->barView()->backgroundColor(), ui::Color::clear());
}

TEST_F(TOCPanelTest, ThePhonePanelFillsTheSafeAreaWithItsHeader)
{
    auto panel = makePanel(pageBookInputs(), ui::UserInterfaceIdiom::Phone);
    panel->viewDidAppear(false);
    base::RunLoop::main().advanceBy(0.5);
    settle(*panel);
    EXPECT_EQ(panel->topConstraintOfContainerView()->constant(), 0);
    EXPECT_EQ(panel->headerView()->frame().size.height, 44);
    EXPECT_FALSE(panel->headerView()->isHidden());
    EXPECT_EQ(panel->backButton()->currentTitle(), "G");
    EXPECT_EQ(panel->tableView()->frame().origin.y, 60);
    EXPECT_EQ(panel->tableView()->frame().origin.y + panel->tableView()->frame().size.height,
        panel->segmentView()->frame().origin.y);

    auto pad = makePanel(pageBookInputs(), ui::UserInterfaceIdiom::Pad);
    EXPECT_EQ(pad->headerView()->frame().size.height, 0);
    EXPECT_TRUE(pad->headerView()->isHidden());
    EXPECT_FALSE(pad->upDirectionIconLbl()->isHidden());
    EXPECT_EQ(pad->containerView()->layer()->borderWidth(), 0.6);
    pad->viewDidAppear(false);
    base::RunLoop::main().advanceBy(0.5);
    settle(*pad);
    EXPECT_EQ(pad->pangestureContainer()->frame().origin.y + 46, 1024 * 0.5);
    pad->updateHeaderHeight(60);
    EXPECT_FALSE(pad->headerView()->isHidden());
    EXPECT_TRUE(pad->upDirectionIconLbl()->isHidden());
}

TEST_F(TOCPanelTest, SectionsRowsAndHeightsPerTab)
{
    auto inputs = pageBookInputs();
    inputs.tocData = base::Value::List {};
    auto panel = makePanel(std::move(inputs), ui::UserInterfaceIdiom::Phone);
    auto& table = *panel->tableView();
    EXPECT_EQ(table.numberOfSections(), 0) << "empty contents";

    panel->showTab(TOCFilterBookmarks);
    settle(*panel);
    EXPECT_EQ(table.numberOfSections(), 1);
    EXPECT_EQ(table.numberOfRowsInSection(0), 0);
    EXPECT_EQ(panel->tableviewHeaderView()->frame().size, table.frame().size) << "room for the empty notice";
    EXPECT_EQ(panel->heightForHeaderInSection(table, 0), std::optional<double>(0));
    EXPECT_FALSE(panel->heightForRowAtIndexPath(table, { 0, 0 }));

    panel->showTab(TOCFilterResources);
    EXPECT_EQ(panel->heightForRowAtIndexPath(table, { 0, 0 }), std::optional<double>(55.4));
    EXPECT_FALSE(panel->heightForHeaderInSection(table, 0));
    EXPECT_EQ(panel->estimatedHeightForRowAtIndexPath(table, { 0, 3 }), std::optional<double>(65.0));
    EXPECT_EQ(panel->heightForFooterInSection(table, 0), std::optional<double>(0.00001));
}

TEST_F(TOCPanelTest, BookmarkRowsShowTheirPageAndMarkTheCurrentOne)
{
    m_theme.setToc_selected_toc_title_color(ui::Color::green());
    auto inputs = pageBookInputs();
    inputs.theme = std::make_shared<LXMVThemeVO>(m_theme);
    for (const char* page : { "22", "30" }) {
        auto bookmark = std::make_shared<SDKBookmarkVO>();
        bookmark->title = std::string("At ") + page;
        bookmark->pageIdentifier = page;
        bookmark->displayNum = page;
        inputs.bookmarks.push_back(bookmark);
    }
    auto panel = makePanel(std::move(inputs), ui::UserInterfaceIdiom::Phone);
    panel->showTab(TOCFilterBookmarks);
    settle(*panel);
    auto& table = *panel->tableView();
    ASSERT_EQ(table.numberOfRowsInSection(0), 2);
    auto first = std::dynamic_pointer_cast<TOCTableViewCell>(table.cellForRowAtIndexPath({ 0, 0 }));
    auto second = std::dynamic_pointer_cast<TOCTableViewCell>(table.cellForRowAtIndexPath({ 0, 1 }));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->dataLabel()->text(), "At 22");
    EXPECT_EQ(first->pageLabel()->text(), "Page 22");
    EXPECT_EQ(first->barLabel()->backgroundColor(), ui::Color::green());
    EXPECT_EQ(second->barLabel()->backgroundColor(), ui::Color::clear());
    // The estimate of a shown row is its height when it was shown.
    EXPECT_EQ(panel->estimatedHeightForRowAtIndexPath(table, { 0, 0 }),
        std::optional<double>(static_cast<int>(first->frame().size.height)));

    ui::Environment::current().setLayoutDirection(ui::LayoutDirection::RightToLeft);
    table.reloadData();
    table.layoutIfNeeded();
    first = std::dynamic_pointer_cast<TOCTableViewCell>(table.cellForRowAtIndexPath({ 0, 0 }));
    EXPECT_EQ(first->pageLabel()->text(), "22 Page");
}

TEST_F(TOCPanelTest, ArrowAndHeaderTagsAndWhatTheyDo)
{
    auto panel = makePanel(pageBookInputs(), ui::UserInterfaceIdiom::Phone);
    auto& table = *panel->tableView();
    ASSERT_EQ(table.numberOfSections(), 3);
    ASSERT_EQ(table.numberOfRowsInSection(1), 4);
    auto cell = std::dynamic_pointer_cast<TOCContentCell>(table.cellForRowAtIndexPath({ 1, 2 }));
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->downArrowButton()->tag(), 102);
    EXPECT_EQ(cell->dataLabel()->text(), "Deep B");
    auto header = std::dynamic_pointer_cast<TOCContentCell>(table.headerViewForSection(1));
    ASSERT_TRUE(header);
    EXPECT_EQ(header->downArrowButton()->tag(), 101);
    EXPECT_EQ(header->sectionHeaderButton()->tag(), 2001);
    EXPECT_EQ(header->dataLabel()->text(), "Two");
    EXPECT_TRUE(header->downArrowButton()->isSelected());

    // The row arrow of 2.1 closes it; the header arrow closes the chapter.
    auto twoOne = std::dynamic_pointer_cast<TOCContentCell>(table.cellForRowAtIndexPath({ 1, 0 }));
    ASSERT_TRUE(uitest::tap(*twoOne->downArrowButton()));
    settle(*panel);
    EXPECT_EQ(table.numberOfRowsInSection(1), 2);
    header = std::dynamic_pointer_cast<TOCContentCell>(table.headerViewForSection(1));
    ASSERT_TRUE(uitest::tap(*header->downArrowButton()));
    settle(*panel);
    EXPECT_EQ(table.numberOfRowsInSection(1), 0);

    // A leaf's arrow goes to its page without leaving the panel. The reload put a new
    // header on screen.
    header = std::dynamic_pointer_cast<TOCContentCell>(table.headerViewForSection(1));
    ASSERT_TRUE(header);
    ASSERT_TRUE(uitest::tap(*header->downArrowButton()));
    settle(*panel);
    auto leaf = std::dynamic_pointer_cast<TOCContentCell>(table.cellForRowAtIndexPath({ 1, 1 }));
    ASSERT_TRUE(leaf);
    EXPECT_TRUE(leaf->downArrowButton()->isHidden());
    panel->didSelectCellDropDownButtonWithSender(*leaf->downArrowButton());
    EXPECT_EQ(m_delegate->events, (std::vector<std::string> { "page:24" }));
}

TEST_F(TOCPanelTest, AResourceRowGoesToItsFolioThenRunsItsLink)
{
    auto book = twoChapterPageBook();
    addLink(*book, 12, 5, 9, "Site");
    auto inputs = pageBookInputs();
    inputs.book = book;
    inputs.resources.reset();
    auto panel = makePanel(std::move(inputs), ui::UserInterfaceIdiom::Phone);
    base::RunLoop::main().advanceBy(0.1);
    base::waitForBackgroundWork();
    base::RunLoop::main().runUntilIdle();
    ASSERT_EQ(panel->resourceArray().size(), 1u) << "collected in the background once the panel exists";
    panel->showTab(TOCFilterResources);
    panel->model().resourceGroups()[0].isExpanded = true;
    settle(*panel);
    auto& table = *panel->tableView();
    ASSERT_EQ(table.numberOfRowsInSection(0), 1);
    auto cell = std::dynamic_pointer_cast<TOCTableViewCell>(table.cellForRowAtIndexPath({ 0, 0 }));
    EXPECT_EQ(cell->pageLabel()->text(), "Page f12");
    // Not presented: the dismissal has nothing to do and the page is not sent; the link
    // still runs a second later.
    panel->didSelectRowAtIndexPath(table, { 0, 0 });
    base::RunLoop::main().advanceBy(0.9);
    EXPECT_TRUE(m_delegate->events.empty());
    base::RunLoop::main().advanceBy(0.2);
    EXPECT_EQ(m_delegate->events, (std::vector<std::string> { "link:5" }));
}

TEST(TOCTexts, EpubResourcePagesKeepEveryDigit)
{
    EXPECT_EQ(pageDigitsOfHref("pages/page-10.xhtml"), "10");
    EXPECT_EQ(pageDigitsOfHref("page-205.xhtml"), "205");
    EXPECT_EQ(iconForResourceType("video"), "j");
    EXPECT_EQ(iconForResourceType("quiz"), "");
}

} // namespace
} // namespace lectoro::contentstest
