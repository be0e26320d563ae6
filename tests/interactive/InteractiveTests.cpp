// Markup drawing and link actions against a hand-made page book and a reader stand-in.

#include "LectoroSDKWithReader/foundation/LectoroNetworkManager.h"
#include "LectoroSDKWithReader/interactive/InteractiveReader.h"
#include "LectoroSDKWithReader/interactive/LinkAddresses.h"
#include "LectoroSDKWithReader/interactive/MarkupGeometry.h"
#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsHandler.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/readersdk/AnalyticsManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/widgets/MarkupView.h"
#include "LectoroSDKWithReader/interactive/MultiLinkController.h"
#include "platform/base/Json.h"
#include "platform/base/URL.h"
#include "platform/ui/ViewController.h"
#include "reader/AnalyticsTestSupport.h"
#include "reader/ReaderTestSupport.h"

namespace lectoro {
namespace {

class OfflineSource : public ReachabilitySource {
public:
    std::optional<uint32_t> flags() override { return online ? ReachabilityFlags::Reachable : 0u; }
    bool start(std::function<void()>) override { return true; }
    void stop() override { }
    bool online = true;
};

class StandInReader : public InteractiveReader {
public:
    std::shared_ptr<ui::ViewController> presentingController() override { return controller; }
    void moveTopAndBottomOffScreen() override { }
    void showAlertWithTitle(const std::string& title, const std::string& message) override
    {
        alerts.push_back(title + "|" + message);
    }
    void singleTapOnPage() override { }
    void removeHighlightPopup() override { }
    void saveReadingSessionForLinkOpen() override { ++sessionsSaved; }
    int64_t getPageIDForDisplayNumber(const std::string& display) override { return display == "2" ? 7 : 0; }
    void stopAudioSyncIfAny() override { }
    void startAudioSyncForLink(std::shared_ptr<PXLinkVO>) override { }
    bool isBookDownloaded(const std::string& id) override { return id == downloaded; }
    void closeAndJumpToBook(const std::string& id, const std::string& folio) override { jumped = id + "@" + folio; }

    std::shared_ptr<ui::ViewController> controller = ui::ViewController::create();
    std::vector<std::string> alerts;
    int sessionsSaved = 0;
    std::string downloaded;
    std::string jumped;
};

std::shared_ptr<PXLinkVO> makeLink(int64_t id, int32_t type, ui::Rect box)
{
    auto link = std::make_shared<PXLinkVO>();
    link->linkID = id;
    link->linkType = type;
    link->pageID = "5";
    link->boxTansformedRect = box;
    link->transformedRect = box;
    link->xCoordinate = std::to_string(static_cast<int>(box.origin.x));
    link->yCoordinate = std::to_string(static_cast<int>(box.origin.y));
    link->toolTip = "link " + std::to_string(id);
    return link;
}

class InteractiveTest : public testing::ReaderTest {
protected:
    void SetUp() override
    {
        ReaderTest::SetUp();
        m_analytics = std::make_shared<testing::RecordingAnalyticsManager>();
        AnalyticsManager::setInstance(m_analytics);
        auto& network = LectoroNetworkManager::getInstance();
        m_previous = network.internetReachability();
        network.setInternetReachability(Reachability::reachabilityWithSource(m_network));
        m_book = std::make_shared<PXBookVO>();
        m_book->pages["5"] = std::make_shared<PXPageVO>();
        m_book->pages["5"]->pageID = 5;
        m_context.currentBook = m_book;
        m_context.bookPath = "/books/my book";
        m_context.analyticsHandler = std::make_shared<MVLectoroAnalyticsHandler>();
        m_content.setActionObserver([this](const MarkupAction& action) { actions.push_back(action); });
    }

    void TearDown() override
    {
        LectoroNetworkManager::getInstance().setInternetReachability(m_previous);
        AnalyticsManager::setInstance(nullptr);
        ReaderTest::TearDown();
    }

    void addLink(const std::shared_ptr<PXLinkVO>& link)
    {
        m_book->pages["5"]->links[std::to_string(link->linkID)] = link;
        m_book->links[std::to_string(link->linkID)] = link;
        m_book->pages["5"]->linkOrder.push_back(link);
    }

    std::string lastOperation() const { return actions.empty() ? "" : actions.back().operation; }

    std::shared_ptr<testing::RecordingAnalyticsManager> m_analytics;
    std::shared_ptr<OfflineSource> m_network = std::make_shared<OfflineSource>();
    std::shared_ptr<Reachability> m_previous;
    std::shared_ptr<PXBookVO> m_book;
    ReaderContext m_context;
    StandInReader m_reader;
    ReaderInteractiveContent m_content { m_context, m_reader };
    std::vector<MarkupAction> actions;
};

TEST(MarkupGeometry, IconRectanglesByDeviceOrientationBoxAndType)
{
    struct Case {
        bool pad;
        bool portrait;
        ui::Size box;
        bool member;
        std::string iconFile;
        ui::Size expected;
    };
    const Case cases[] = {
        { false, false, { 20, 40 }, false, "", { 20, 20 } }, // phone landscape, shrunk to the box
        { false, true, { 100, 100 }, false, "", { 35, 35 } },
        { true, true, { 100, 100 }, false, "", { 50, 50 } }, // pad portrait
        { true, false, { 100, 100 }, false, "", { 35, 35 } },
        { true, true, { 20, 40 }, true, "", { 50, 50 } }, // members never shrink
        { false, false, { 20, 40 }, true, "icons/flexibleicon.png", { 20, 40 } }, // the author's box
    };
    for (const auto& c : cases) {
        PXLinkVO link;
        link.linkType = c.member ? 4 : 8;
        link.isMultiLinkMember = c.member;
        link.iconURL = c.iconFile;
        link.boxTansformedRect = ui::Rect { { 10, 12 }, c.box };
        MarkupDevice device { c.pad, c.portrait };
        ui::Rect rect = c.member ? getRectForLinkMarkups(&link, device) : get220PercentScaleRectForLinkMarkups(&link, device);
        EXPECT_EQ(rect, (ui::Rect { { 10, 12 }, c.expected })) << c.pad << c.portrait << c.box.width;
    }
}

TEST(MarkupGeometry, GlossaryUnderlineIsFivePercentButAtLeastOnePoint)
{
    EXPECT_EQ(glossaryUnderlineRect({ 80, 10 }), (ui::Rect { { 0, 9 }, { 80, 1 } }));
    EXPECT_EQ(glossaryUnderlineRect({ 80, 40 }), (ui::Rect { { 0, 38 }, { 80, 2 } }));
}

TEST(MarkupGeometry, APopUpStandsAtItsMarkupAndStaysInsideItsHost)
{
    const ui::Rect host { 0, 0, 375, 667 };
    struct Case {
        const char* what;
        ui::Rect markup;
        ui::Size popup;
        ui::Rect expected;
    };
    const Case cases[] = {
        { "below, leading edges together", { 100, 200, 160, 36 }, { 220, 176 }, { 100, 236, 220, 176 } },
        { "kept inside at the trailing edge", { 300, 200, 60, 36 }, { 220, 176 }, { 155, 236, 220, 176 } },
        { "above when it does not fit below", { 100, 560, 160, 36 }, { 220, 176 }, { 100, 384, 220, 176 } },
        { "in the larger room, shortened, when taller than either", { 100, 400, 160, 36 }, { 220, 500 }, { 100, 0, 220, 400 } },
        { "never wider than its host", { 10, 10, 20, 20 }, { 500, 100 }, { 0, 30, 375, 100 } },
    };
    for (const auto& test : cases)
        EXPECT_EQ(frameAtMarkup(test.markup, test.popup, host), test.expected) << test.what;
}

TEST(MarkupGeometry, AnIconShownSmallerKeepsItsGlyphInside)
{
    // Drawn at the book's size, then shown on a page scaled down (a turned phone's two pages).
    auto icon = MarkupView::create({ 0, 0, 36, 24 });
    icon->setTitle("a");
    icon->titleLabel()->setFont(ui::Font::systemFont(12));
    icon->setGlyphFollowsHeight(true);
    icon->setFrame({ 0, 0, 17.4, 11 });
    icon->layoutIfNeeded();
    EXPECT_DOUBLE_EQ(icon->titleLabel()->font().pointSize(), 5.5);
    EXPECT_DOUBLE_EQ(icon->layer()->cornerRadius(), 5.5);
    ui::Rect glyph = icon->titleLabel()->frame();
    EXPECT_TRUE(icon->bounds().contains(glyph)) << glyph.minY() << " " << glyph.height();
}

TEST(LinkAddresses, JumpToBookTakesIdOrBookIdAndTheFolioAfterTheFirstColon)
{
    for (const char* properties : { "id:B1;folio:4:5", "bookId:B1;folio:4:5" }) {
        auto target = parseJumpToBookProperties(properties);
        EXPECT_EQ(target.bookID, "B1") << properties;
        EXPECT_EQ(target.folio, "4:5") << properties;
    }
}

TEST(LinkAddresses, OnlyTheAddressesOwnFirstHashStaysAFragmentMark)
{
    LectoroUser user;
    user.userID = "7";
    user.firstName = "A#B";
    // No "#" in the address: the user's "#" must stay escaped.
    std::string plain = jumpToBookWebAddress("https://r/DesktopReader/x?b=1", &user);
    EXPECT_NE(plain.find("MobileReader"), std::string::npos);
    EXPECT_EQ(plain.find('#'), std::string::npos);
    EXPECT_NE(plain.find("cloudFirstName=A%23B"), std::string::npos);
    // Two "#" in the address: the first stays, the second is carried as "%23".
    std::string twice = jumpToBookWebAddress("https://r/DesktopReader/DesktopReader#p1#p2", &user);
    EXPECT_EQ(twice.rfind("https://r/MobileReader/MobileReader#p1%23p2&sharetoken=", 0), 0u) << twice;
    EXPECT_NE(twice.find("cloudFirstName=A%23B"), std::string::npos);
}

TEST(LinkAddresses, FileAddressesSurviveSpacesAndNonAsciiNames)
{
    std::string address = fileAddressForPath("/books/my book/assets/Été 1.pdf");
    ASSERT_FALSE(address.empty());
    auto url = base::URL::parse(address);
    ASSERT_TRUE(url);
    EXPECT_EQ(url->path(), "/books/my book/assets/Été 1.pdf");
}

TEST_F(InteractiveTest, MembersAtTwoAnchorsGiveTwoGroupRecordsTitledWithTheMultiFileIcon)
{
    for (int id = 1; id <= 3; ++id) {
        auto member = makeLink(id, 4, { { 100, 100 }, { 30, 30 } });
        member->isMultiLinkMember = true;
        addLink(member);
    }
    auto other = makeLink(4, 8, { { 300, 50 }, { 30, 30 } });
    other->isMultiLinkMember = true;
    addLink(other);
    auto hidden = makeLink(5, 26, { { 0, 0 }, { 700, 900 } });
    addLink(hidden);

    m_content.drawMarkupsOnPageNumber("5", "1");

    const auto& drawn = m_content.multiLinksArray();
    ASSERT_EQ(drawn.size(), 2u);
    for (const auto& group : drawn) {
        EXPECT_EQ(group->linkType, 1);
        auto icon = std::dynamic_pointer_cast<MarkupView>(group->iconView.lock());
        ASSERT_TRUE(icon);
        EXPECT_EQ(icon->currentTitle(), "@");
    }
    EXPECT_FALSE(hidden->iconView.lock());
    // The group icon opens a list of its three members.
    std::dynamic_pointer_cast<MarkupView>(drawn[0]->iconView.lock())->sendActions(ui::ControlEvent::TouchUpInside);
    ASSERT_TRUE(m_content.multiLinkController());
    EXPECT_EQ(m_content.multiLinkController()->multiLinkArray().size(), 3u);
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeMultiLink);
    // Picking a member acts on it as if its own icon had been tapped.
    m_content.didSelectLinkVo(m_content.multiLinkController()->multiLinkArray()[0]);
    EXPECT_FALSE(m_content.multiLinkController());
    EXPECT_EQ(lastOperation(), "ImageControllerWithImagePath");
}

TEST_F(InteractiveTest, ExternalLinkOfflineAlertsAndRecordsNoLinkOpen)
{
    auto web = makeLink(1, 8, { { 10, 10 }, { 40, 40 } });
    web->url = "https://example.org";
    web->isExternal = true;
    m_network->online = false;
    m_content.actionForLink(web);
    ASSERT_EQ(m_reader.alerts.size(), 1u);
    EXPECT_EQ(m_reader.alerts[0], "|" + LocalizationHelper::localizedStringWithKey("INTERNET_UNAVAILABLE_MESSAGE"));
    EXPECT_TRUE(m_analytics->tracked.empty());
    EXPECT_EQ(m_reader.sessionsSaved, 0);
}

TEST_F(InteractiveTest, UnsupportedTypesShowTheNotSupportedAlert)
{
    for (int32_t type : { 6, 16, 25 }) {
        m_reader.alerts.clear();
        m_content.actionForLink(makeLink(type, type, { { 0, 0 }, { 30, 30 } }));
        ASSERT_EQ(m_reader.alerts.size(), 1u) << type;
        EXPECT_EQ(m_reader.alerts[0],
            LocalizationHelper::localizedStringWithKey("ERROR_ALERT_TITLE") + "|"
                + LocalizationHelper::localizedStringWithKey("MARKUP_NOT_SUPPORTED"))
            << type;
    }
}

TEST_F(InteractiveTest, LinkOpenLeavesOutValuesTheLinkLacks)
{
    auto link = makeLink(9, 7, { { 0, 0 }, { 30, 30 } });
    link->url = "2";
    m_content.actionForLink(link);
    ASSERT_EQ(m_analytics->tracked.size(), 1u);
    std::string json = base::toJson(m_analytics->tracked[0].info);
    EXPECT_EQ(json.find("pageID\":\"\""), std::string::npos) << json;
    EXPECT_EQ(json.find("category"), std::string::npos) << json;
    EXPECT_EQ(m_reader.sessionsSaved, 1);
    EXPECT_EQ(lastOperation(), "navigateToPageNumber");
    EXPECT_EQ(actions.back().argument, "7");
}

TEST_F(InteractiveTest, ClosingAGlossaryThatIsNotOpenKeepsAnotherPopUpsMode)
{
    m_context.activeMode = ReaderActiveModeMultiLink;
    m_content.removeGlossaryController();
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeMultiLink);

    m_reader.controller->loadViewIfNeeded();
    auto glossary = makeLink(3, 20, { { 10, 10 }, { 60, 20 } });
    glossary->url = "rain";
    m_content.loadGlossaryMarkUp(*glossary);
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeGlossary);
    m_content.removeGlossaryController();
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeNone);
}

TEST_F(InteractiveTest, JumpToBookOpensADownloadedBookOrFallsBackToTheWebReader)
{
    auto link = makeLink(4, 21, { { 0, 0 }, { 30, 30 } });
    link->properties = "bookId:B1;folio:4:5";
    link->url = "https://r/DesktopReader#x";
    m_reader.downloaded = "B1";
    m_content.actionForLink(link);
    EXPECT_EQ(m_reader.jumped, "B1@4:5");
    m_reader.downloaded.clear();
    m_content.actionForLink(link);
    EXPECT_EQ(lastOperation(), "loadWebPlayerForStandardActivityWithURL");
}

} // namespace
} // namespace lectoro
