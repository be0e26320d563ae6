#include "LectoroSDKWithReader/reader/help/ReaderHelp.h"

#include "LectoroSDKWithReader/reader/help/HelpScreen.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/Button.h"
#include "platform/ui/Constraint.h"
#include "tests/reader/help/HelpTestSupport.h"

#include <filesystem>
#include <fstream>

namespace lectoro::helptest {
namespace {

class FakeHelpHost : public ReaderHelpHost {
public:
    std::shared_ptr<ui::ViewController> helpParentViewController() override { return reader; }
    std::shared_ptr<LectoroBookVO> helpCurrentBook() override { return book; }
    void moveTopAndBottomOnScreen(bool animate) override
    {
        log.push_back(animate ? "bars on, animated" : "bars on");
    }
    void moveTopAndBottomOffScreen(bool animate) override
    {
        log.push_back(animate ? "bars off, animated" : "bars off");
    }
    std::shared_ptr<ui::View> playerTopActionBarView() override { return topBar; }
    bool readAloudPopupShown() override { return readAloudShown; }
    void showReadAloudController() override { log.push_back("read-aloud chooser"); }
    void notifyEvent(const std::string& name, const base::Value& info) override
    {
        log.push_back("event " + name + (info.isNull() ? "" : " " + info.description()));
    }
    std::shared_ptr<ui::View> helpBookmark() override { return bookmark; }
    std::shared_ptr<ui::View> penToolActionBarView() override { return teacherTop; }
    std::shared_ptr<ui::View> penToolActionBottomBarView() override { return teacherBottom; }

    std::shared_ptr<ui::ViewController> reader = ui::ViewController::create();
    std::shared_ptr<LectoroBookVO> book;
    std::shared_ptr<ui::View> topBar;
    std::shared_ptr<ui::View> bookmark;
    std::shared_ptr<ui::View> teacherTop;
    std::shared_ptr<ui::View> teacherBottom;
    bool readAloudShown = false;
    std::vector<std::string> log;
};

std::shared_ptr<EPUBBookVO> epubBook(int layout, bool audioSync = false)
{
    auto book = std::make_shared<EPUBBookVO>();
    book->meta.layout = layout;
    book->isAudioSyncSupported = audioSync;
    return book;
}

std::shared_ptr<PXBookVO> pageBook(bool readAloud = false)
{
    auto book = std::make_shared<PXBookVO>();
    book->isReadAloudEnabled = readAloud;
    return book;
}

class ReaderHelpTest : public HelpTest {
protected:
    void SetUp() override
    {
        HelpTest::SetUp();
        environment().setSafeAreaInsets({ 20, 0, 34, 0 });
        uitest::showInWindow(host.reader);
        auto readerView = host.reader->view();

        // The top bar holds its items directly; the bottom bar in a row.
        auto topBar = NamedBar::create("PlayerActionTopBar", { 0, 20, 375, 50 });
        topBar->addSubview(makeItem(22, { 0, 0, 60, 50 }));
        topBar->addSubview(makeItem(1, { 60, 0, 60, 50 }));
        topBar->addSubview(makeItem(14, { 120, 0, 60, 50 }));
        topBar->addSubview(makeItem(16, { 315, 0, 60, 50 }));
        host.topBar = topBar;
        auto bottomBar = NamedBar::create("PlayerActionBottomBar", { 0, 583, 375, 50 });
        auto row = ui::View::create({ 0, 0, 375, 50 });
        bottomBar->addSubview(row);
        row->addSubview(makeItem(2, { 0, 0, 75, 50 }));
        row->addSubview(makeItem(3, { 75, 0, 75, 50 }));
        row->addSubview(makeItem(7, { 150, 0, 75, 50 }));
        row->addSubview(makeItem(4, { 225, 0, 75, 50 }));
        row->addSubview(makeItem(11, { 300, 0, 75, 50 }));
        // A view that is no bar contributes nothing, whatever its subviews' tags.
        auto other = ui::View::create({ 0, 300, 100, 100 });
        other->addSubview(makeItem(6, { 0, 0, 50, 50 }));
        readerView->addSubview(other);
        readerView->addSubview(topBar);
        readerView->addSubview(bottomBar);

        help = ReaderHelp::create(host);
    }

    std::vector<std::string> titles(
        const std::vector<std::shared_ptr<HelpDescriptor>>& descriptors, bool secondScreen)
    {
        std::vector<std::string> found;
        for (const auto& descriptor : descriptors) {
            if (descriptor->onSecondScreen() == secondScreen)
                found.push_back(descriptor->helpTitle());
        }
        return found;
    }

    std::optional<bool> flag(const char* key)
    {
        return m_defaults->objectForKey(key) ? std::optional(m_defaults->boolForKey(key)) : std::nullopt;
    }

    FakeHelpHost host;
    std::shared_ptr<ReaderHelp> help;
};

TEST_F(ReaderHelpTest, FlagsAreSeededOnceAndNeverRaisedAgain)
{
    m_defaults->setBool(ReaderHelp::pdfFlagKey, false);
    help->configureForHelpScreen();
    EXPECT_EQ(flag(ReaderHelp::pdfFlagKey), false);
    EXPECT_EQ(flag(ReaderHelp::reflowEpubFlagKey), true);
    EXPECT_EQ(flag(ReaderHelp::fixedEpubFlagKey), true);
    EXPECT_EQ(flag(ReaderHelp::teacherReviewFlagKey), true);
    EXPECT_GE(m_defaults->synchronizeCount(), 3u);
}

TEST_F(ReaderHelpTest, ShowingBuildsTheOverlayOverTheReader)
{
    host.book = pageBook();
    help->showHelpScreen(false);
    auto overlay = help->helpScreen();
    ASSERT_TRUE(overlay);
    EXPECT_EQ(host.log, std::vector<std::string> { "bars on, animated" });
    EXPECT_EQ(overlay->parentViewController(), host.reader);
    auto readerView = host.reader->view();
    EXPECT_EQ(readerView->subviews().back(), overlay->view());
    EXPECT_EQ(overlay->view()->frame(), ui::Rect(0, 20, 375, 613)) << "the reader view's safe area";
    EXPECT_EQ(overlay->view()->constraintsAffecting().size(), 4u);
    EXPECT_EQ(overlay->view()->backgroundColor(), ui::Color::black().withAlpha(0.7));
    EXPECT_TRUE(overlay->showSecondScreen());
    EXPECT_FALSE(overlay->isForTeacherReview());
    EXPECT_EQ(overlay->delegate(), help);
    EXPECT_EQ(overlay->button()->currentTitle(), "Skip");

    // Bars in view order, the top bar's own subviews, the bottom bar's row; tags without
    // help text (14) give nothing.
    EXPECT_EQ(titles(overlay->helpDescriptors(), false),
        (std::vector<std::string> { "Home", "Contents", "Profile", "My data", "Pen tool", "Search" }));
    EXPECT_EQ(
        titles(overlay->helpDescriptors(), true), (std::vector<std::string> { "Note", "More settings" }));
    for (const auto& descriptor : overlay->helpDescriptors()) {
        EXPECT_EQ(descriptor->combinedTagName(), "");
        EXPECT_TRUE(std::dynamic_pointer_cast<ui::Label>(descriptor->icon()));
    }
    // The first screen is drawn.
    EXPECT_EQ(overlay->labels().size(), 12u);
}

TEST_F(ReaderHelpTest, PenToolMovesToTheSecondScreenInEpubBooks)
{
    host.book = epubBook(0);
    auto descriptors = help->getAllAppBarButton();
    EXPECT_EQ(titles(descriptors, true), (std::vector<std::string> { "Pen tool", "Note", "More settings" }));
    host.book = pageBook();
    descriptors = help->getAllAppBarButton();
    EXPECT_EQ(titles(descriptors, true), (std::vector<std::string> { "Note", "More settings" }));
}

TEST_F(ReaderHelpTest, ThePageBookmarkComesLast)
{
    host.book = pageBook();
    host.bookmark = makeItem(40, { 330, 80, 30, 40 });
    auto descriptors = help->getAllAppBarButton();
    EXPECT_EQ(descriptors.back()->helpTitle(), "Bookmark");
    EXPECT_TRUE(descriptors.back()->onSecondScreen());

    // A bookmark view with nothing in it has no icon to point at.
    host.bookmark = ui::View::create({ 0, 0, 10, 10 });
    host.bookmark->setTag(40);
    EXPECT_NE(help->getAllAppBarButton().back()->helpTitle(), "Bookmark");
}

TEST_F(ReaderHelpTest, EmptyTitlesGiveNoCallOut)
{
    auto folder = std::filesystem::temp_directory_path() / ("reader-help-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder / "en.lproj");
    std::ofstream(folder / "en.lproj" / "Localizable.strings") << "\"HELP_TOC_BUTTON_TITLE\" = \"\";\n";
    LocalizationHelper::setReaderLanguageBundle(std::make_shared<base::Bundle>(folder.string()));
    host.book = pageBook();
    auto descriptors = help->getAllAppBarButton();
    for (const auto& descriptor : descriptors)
        EXPECT_NE(descriptor->helpText(), "HELP_TOC_BUTTON_DETAIL");
    EXPECT_EQ(descriptors.size(), 7u);
    std::filesystem::remove_all(folder);
}

TEST_F(ReaderHelpTest, HelpTextsByTag)
{
    host.book = pageBook();
    struct TextCase {
        int tag;
        const char* title;
        bool second;
    };
    const TextCase cases[] = { { 5, "Submit", false }, { 12, "Settings", true }, { 13, "Submit", true },
        { 17, "Font setting", true }, { 19, "Addtext", true }, { 21, "Protractor", true },
        { 27, "Clear", true }, { 31, "Furthest page", true } };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.tag);
        auto texts = help->getHelpTextTitleAndDescriptionForView(*makeItem(testCase.tag, {}));
        EXPECT_EQ(texts["TITLE"].asString(), std::optional<std::string>(testCase.title));
        EXPECT_EQ(texts["ON_SECOND_SCREEN"].boolValue(), testCase.second);
    }
    for (int tag : { -1, 0, 8, 9, 10, 14, 15, 18, 20, 23, 30, 32, 39, 41 })
        EXPECT_TRUE(help->getHelpTextTitleAndDescriptionForView(*makeItem(tag, {})).asDictionary()->empty())
            << tag;
}

TEST_F(ReaderHelpTest, EachBookKindHasItsOwnFlag)
{
    struct KindCase {
        const char* name;
        std::shared_ptr<LectoroBookVO> book;
        const char* flagKey;
    };
    const KindCase cases[] = {
        { "page book", pageBook(), ReaderHelp::pdfFlagKey },
        { "reflowable EPUB", epubBook(0), ReaderHelp::reflowEpubFlagKey },
        { "fixed-layout EPUB", epubBook(1), ReaderHelp::fixedEpubFlagKey },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        host.book = testCase.book;
        help->showHelpScreen(false);
        ASSERT_TRUE(help->isHelpScreenShown());
        EXPECT_EQ(flag(testCase.flagKey), true) << "the flag stays up while the overlay shows";
        uitest::tap(*help->helpScreen()->button());
        EXPECT_FALSE(help->isHelpScreenShown());
        EXPECT_EQ(flag(testCase.flagKey), false);

        help->showHelpScreen(false);
        EXPECT_FALSE(help->isHelpScreenShown()) << "shown once per kind";
    }
    EXPECT_EQ(flag(ReaderHelp::teacherReviewFlagKey), true);
}

TEST_F(ReaderHelpTest, OtherLayoutsGetNoOverlayButTheReadAloudOffer)
{
    host.book = epubBook(2, true);
    help->showHelpScreen(false);
    EXPECT_FALSE(help->isHelpScreenShown());
    EXPECT_EQ(host.log, std::vector<std::string> { "event read_aloud_data_live" });
    base::RunLoop::main().advanceBy(0.49);
    EXPECT_EQ(host.log.size(), 1u);
    base::RunLoop::main().advanceBy(0.01);
    EXPECT_EQ(host.log.back(), "read-aloud chooser");
}

TEST_F(ReaderHelpTest, ClosingOffersReadAloudForBooksThatHaveIt)
{
    struct OfferCase {
        const char* name;
        std::shared_ptr<LectoroBookVO> book;
        bool popupShown;
        std::vector<std::string> log;
    };
    const OfferCase cases[] = {
        { "EPUB with audio sync", epubBook(0, true), false,
            { "bars on, animated", "event read_aloud_data_live", "read-aloud chooser" } },
        { "page book with read-aloud", pageBook(true), false,
            { "bars on, animated", "bars off, animated", "read-aloud chooser" } },
        { "page book without", pageBook(false), false, { "bars on, animated" } },
        { "chooser already shown", epubBook(1, true), true, { "bars on, animated" } },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        m_defaults->removeObjectForKey(ReaderHelp::pdfFlagKey);
        host.log.clear();
        host.book = testCase.book;
        host.readAloudShown = testCase.popupShown;
        help->showHelpScreen(false);
        ASSERT_TRUE(help->isHelpScreenShown());
        help->helpScreen()->removeMyself();
        base::RunLoop::main().advanceBy(0.5);
        EXPECT_EQ(host.log, testCase.log);
    }
}

TEST_F(ReaderHelpTest, SwipesHideAndShowTheTopBarAfterTheAnimation)
{
    host.book = pageBook();
    help->showHelpScreen(false);
    auto overlay = help->helpScreen();
    auto readerView = host.reader->view();

    ASSERT_TRUE(uitest::swipe(*overlay->view(), ui::SwipeDirection::Left));
    EXPECT_TRUE(overlay->isOnSecondScreenOnHelpScreen());
    EXPECT_FALSE(host.topBar->isHidden());
    base::RunLoop::main().advanceBy(0.5);
    EXPECT_TRUE(host.topBar->isHidden());
    EXPECT_EQ(readerView->subviews().back(), overlay->view());

    ASSERT_TRUE(uitest::swipe(*overlay->view(), ui::SwipeDirection::Right));
    EXPECT_FALSE(overlay->isOnSecondScreenOnHelpScreen());
    base::RunLoop::main().advanceBy(0.5);
    EXPECT_FALSE(host.topBar->isHidden());

    // Any other page changes nothing but still keeps the overlay in front.
    readerView->addSubview(ui::View::create());
    help->swipeAtIndex(*overlay, 5);
    base::RunLoop::main().advanceBy(1);
    EXPECT_FALSE(host.topBar->isHidden());
    EXPECT_EQ(readerView->subviews().back(), overlay->view());
}

TEST_F(ReaderHelpTest, ASecondShowingReplacesTheFirst)
{
    host.book = pageBook();
    help->showHelpScreen(false);
    auto first = help->helpScreen();
    help->showHelpScreen(false);
    auto second = help->helpScreen();
    EXPECT_NE(first, second);
    EXPECT_FALSE(first->view()->superview());
    EXPECT_FALSE(first->parentViewController());
    EXPECT_EQ(host.reader->childViewControllers().size(), 1u);
}

TEST_F(ReaderHelpTest, RefreshingHandsOverNewDescriptors)
{
    host.book = pageBook();
    help->refreshHelpDescriptors(true);
    help->showHelpScreen(false);
    auto overlay = help->helpScreen();
    const size_t before = overlay->helpDescriptors().size();
    host.bookmark = makeItem(40, { 330, 80, 30, 40 });
    help->refreshHelpDescriptors(false);
    EXPECT_EQ(overlay->helpDescriptors().size(), before + 1);
}

TEST_F(ReaderHelpTest, TeacherReviewHasItsOwnFlagTextsAndTagNames)
{
    host.book = pageBook();
    m_defaults->setBool(ReaderHelp::pdfFlagKey, false);
    auto teacherTop = NamedBar::create("PlayerActionTopBar", { 0, 20, 375, 50 });
    teacherTop->addSubview(makeItem(8, { 0, 0, 50, 50 }));
    teacherTop->addSubview(makeItem(9, { 50, 0, 50, 50 }));
    teacherTop->addSubview(makeItem(11, { 300, 0, 50, 50 }));
    teacherTop->addSubview(makeItem(12, { 200, 0, 50, 50 }));
    auto group = ui::View::create({ 0, 0, 200, 50 });
    auto swatch = makeItem(18, { 0, 0, 40, 40 });
    group->addSubview(swatch);
    group->addSubview(makeItem(35, { 40, 0, 40, 40 }));
    auto teacherBottom = NamedBar::create("PlayerActionBar", { 0, 583, 375, 50 });
    teacherBottom->addSubview(group);
    host.teacherTop = teacherTop;
    host.teacherBottom = teacherBottom;

    help->showHelpScreenForTeacherReview();
    auto overlay = help->helpScreen();
    ASSERT_TRUE(overlay);
    EXPECT_TRUE(overlay->isForTeacherReview());
    EXPECT_TRUE(host.log.empty()) << "teacher review leaves the bars where they are";
    std::vector<std::string> seen;
    for (const auto& descriptor : overlay->helpDescriptors())
        seen.push_back(descriptor->helpTitle() + "/" + descriptor->combinedTagName()
            + (descriptor->onSecondScreen() ? "/2" : "/1"));
    EXPECT_EQ(seen,
        (std::vector<std::string> { "Arrow/Arrow/1", "Arrow/Arrow/1", "Done//1", "Marker/PenColor/1",
            "Generate report student//2" }));

    // Already shown: a page change of the review does not make a new one.
    help->showHelpScreenForTeacherReview();
    EXPECT_EQ(help->helpScreen(), overlay);

    overlay->removeMyself();
    EXPECT_EQ(flag(ReaderHelp::teacherReviewFlagKey), false);
    EXPECT_EQ(flag(ReaderHelp::pdfFlagKey), false);
    help->showHelpScreenForTeacherReview();
    EXPECT_FALSE(help->isHelpScreenShown());
}

TEST_F(ReaderHelpTest, NothingIsWrittenForAKindWithoutAFlag)
{
    host.book = pageBook();
    help->showHelpScreen(false);
    host.book = epubBook(2);
    m_defaults->removeObjectForKey(ReaderHelp::pdfFlagKey);
    help->helpScreen()->removeMyself();
    EXPECT_FALSE(help->isHelpScreenShown());
    EXPECT_EQ(flag(ReaderHelp::pdfFlagKey), std::nullopt);
    EXPECT_EQ(flag(ReaderHelp::reflowEpubFlagKey), true);
    EXPECT_EQ(flag(ReaderHelp::fixedEpubFlagKey), true);
}

} // namespace
} // namespace lectoro::helptest
