// Read-aloud in the reader over the companion's renderer stand-in: which page is read,
// how words are highlighted, the narration bar and its colour pop-over, and the toolbar.

#include "reader/shell/ShellTestSupport.h"

#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/interactive/players/InteractiveMarkupPlayers.h"
#include "LectoroSDKWithReader/media/ReaderReadAloud.h"
#include "LectoroSDKWithReader/media/readaloud/MVReadToMeViewController.h"
#include "LectoroSDKWithReader/media/readaloud/MVSpeedSelectionOptionsView.h"
#include "LectoroSDKWithReader/reader/chrome/LectoroPenToolColorPalleteViewController.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTopBar.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/records/PXLinkVO.h"
#include "platform/base/Dispatch.h"
#include "platform/media/Player.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/Label.h"

#include <functional>

namespace lectoro::shelltest {
namespace {

class ReadAloudReader : public ShellTest {
protected:
    // Opens the sample page book on the pages; the chooser it offers by itself on opening
    // is closed, as a user would, unless the test looks at it.
    void openSpread(std::vector<RendererPage> active, bool closeOfferedChooser = true,
        const std::string& book = "sample-pagebook")
    {
        openBook(sample(book), std::move(active), closeOfferedChooser);
    }
    void openBook(
        std::shared_ptr<LectoroBookVO> book, std::vector<RendererPage> active, bool closeOfferedChooser)
    {
        makeReader();
        uitest::showInWindow(m_reader);
        helpAlreadySeen();
        m_renderer->loadBook(std::move(book), active);
        base::RunLoop::main().advanceBy(1);
        m_renderer->setActivePages(std::move(active));
        if (!m_reader->context().theme)
            m_reader->context().theme = std::make_shared<LXMVThemeVO>();
        if (closeOfferedChooser) {
            closeOfferedReadAloudChooser();
            uitest::completePresentations();
        }
    }
    ReaderReadAloud& readAloud() { return m_reader->readAloud(); }
    std::vector<std::string> tagsOfBar()
    {
        std::vector<std::string> tags;
        for (const auto& item : readAloud().playerBottomActionBarViewForAudioSync()->getTappableItems())
            tags.push_back(std::to_string(item->tag()));
        return tags;
    }
};

TEST_F(ReadAloudReader, ReadToMeStartsOnThePageOfTheSpreadThatHasNarration)
{
    // Page 103 has no narration, 104 has.
    ui::Environment::current().setDeviceOrientation(ui::Orientation::LandscapeLeft);
    openSpread({ pageBookPage(103, "1"), pageBookPage(104, "2") });
    readAloud().didTapOnReadToMeForReadAloud();
    base::RunLoop::main().advanceBy(0.3);
    ASSERT_TRUE(readAloud().audioSyncController());
    EXPECT_EQ(readAloud().audioSyncController()->audioPlayingForPageIdentifier(), "104");
    EXPECT_EQ(readAloud().audioSyncController()->narrationKind(), NarrationPlayback::Kind::Audio)
        << "page 104's narration is the book's audio file";
    EXPECT_EQ(m_reader->context().currentReadAloudPageId, "104");
    EXPECT_EQ(m_reader->context().activeMode, ReaderActiveModeReadAloud);
    ASSERT_TRUE(readAloud().playerBottomActionBarViewForAudioSync());
    EXPECT_EQ(readAloud().playerBottomActionBarViewForAudioSync()->tag(), AudioSyncBar);
    EXPECT_FALSE(uitest::topmostAlert());

    // Asking for the page already read does not start it again.
    auto playing = readAloud().audioSyncController();
    readAloud().loadAudioSyncIdAvailableForPageNumber(104);
    base::RunLoop::main().advanceBy(0.3);
    EXPECT_EQ(readAloud().audioSyncController(), playing);
}

TEST_F(ReadAloudReader, InPortraitOnlyTheFirstPageCountsAndNoNarrationShowsTheAlert)
{
    ui::Environment::current().setDeviceOrientation(ui::Orientation::Portrait);
    openSpread({ pageBookPage(103, "1"), pageBookPage(104, "2") });
    readAloud().didTapOnReadToMeForReadAloud();
    base::RunLoop::main().advanceBy(0.3);
    auto alert = uitest::topmostAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->actions().size(), 1u);
    EXPECT_EQ(m_reader->context().readAloudMode, ReadAloudModeReadToMe);
    EXPECT_FALSE(readAloud().audioSyncController());
    EXPECT_FALSE(readAloud().playerBottomActionBarViewForAudioSync());
}

TEST_F(ReadAloudReader, EachWordClearsThePreviousMarkAndUsesTheChosenColour)
{
    openSpread({ pageBookPage(104, "2") });
    readAloud().didTapOnReadToMeForReadAloud();
    base::RunLoop::main().advanceBy(0.25);
    // A colour that is no swatch changes nothing; letter case does not matter.
    readAloud().didSelectAudioSyncColor("#123456");
    EXPECT_EQ(m_reader->context().audioSyncSelectedColor, "#E8BD7F");
    readAloud().didSelectAudioSyncColor("#c061ff");
    EXPECT_EQ(m_reader->context().audioSyncSelectedColor, "#DFAFFF");
    base::RunLoop::main().advanceBy(1);

    std::vector<std::pair<double, std::string>> marks; // (x, colour) of each word mark
    for (const auto& call : m_renderer->calls()) {
        if (call.name == "highlightTextWithFrame")
            marks.emplace_back(call.arguments.at(0)["width"].doubleValue(), call.arguments.at(2).description());
    }
    size_t words = 0;
    for (size_t i = 0; i < marks.size(); ++i) {
        if (marks[i].second.empty())
            continue;
        ++words;
        ASSERT_GT(i, 0u);
        EXPECT_EQ(marks[i - 1], (std::pair<double, std::string> { 0.0, "" })) << "word " << words;
    }
    EXPECT_EQ(words, 3u);
    EXPECT_EQ(marks.back().second, "#DFAFFF");
    bool recoloured = false;
    for (const auto& call : m_renderer->calls())
        recoloured |= call.name == "updateBackgroundForAudioSyncFramesWithColor"
            && call.arguments.at(0).description() == "#DFAFFF";
    EXPECT_TRUE(recoloured);
}

TEST_F(ReadAloudReader, TheBarHoldsItsItemsPerDeviceAndClosingRestoresTheReader)
{
    struct Case {
        ui::UserInterfaceIdiom idiom;
        std::vector<std::string> tags;
    };
    const Case cases[] = {
        { ui::UserInterfaceIdiom::Phone, { "15", "29", "33", "26" } },
        { ui::UserInterfaceIdiom::Pad, { "15", "29", "32", "32", "32", "32", "32", "26" } },
    };
    openSpread({ pageBookPage(104, "2") });
    for (const auto& c : cases) {
        ui::Environment::current().setIdiom(c.idiom);
        readAloud().addPlayerBottomBarForAudioSync();
        EXPECT_EQ(tagsOfBar(), c.tags);
    }
    readAloud().removeAudioSyncBottomBar();
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Phone);
    readAloud().didTapOnReadToMeForReadAloud();
    base::RunLoop::main().advanceBy(0.25);
    auto bar = readAloud().playerBottomActionBarViewForAudioSync();
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->itemWithTag(PlayerItemPlayPause)->subviews().size() > 0, true);
    auto playLabel = std::dynamic_pointer_cast<ui::Label>(bar->itemWithTag(PlayerItemPlayPause)->subviews().front());
    EXPECT_EQ(playLabel->text(), "K") << "pause glyph while narrating";
    ASSERT_TRUE(uitest::tap(*bar->itemWithTag(PlayerItemPlayPause)));
    EXPECT_EQ(playLabel->text(), "L");
    EXPECT_FALSE(readAloud().isAudioSyncPlaying());

    // The speed list stands above the speed item; an option changes the rate.
    ASSERT_TRUE(uitest::tap(*bar->itemWithTag(PlayerItemSpeedRate)));
    auto list = readAloud().viewForSpeedSelection();
    ASSERT_TRUE(list && list->superview());
    ASSERT_TRUE(uitest::tap(*list->optionsArray()[3]));
    EXPECT_FALSE(list->superview());
    EXPECT_EQ(m_reader->context().audioSyncSpeedRateOption, 4);
    EXPECT_FLOAT_EQ(readAloud().audioSyncController()->rate(), 2.0f);
    ASSERT_TRUE(readAloud().audioSyncController()->audioPlayer());
    EXPECT_DOUBLE_EQ(readAloud().audioSyncController()->audioPlayer()->defaultRate(), 2.0)
        << "the speed is the media player's rate (paused: it plays at it when resumed)";
    EXPECT_EQ(readAloud().getAudioSyncSpeedRateLabel()->text(), "2 x");
    ASSERT_TRUE(uitest::tap(*bar->itemWithTag(PlayerItemSpeedRate)));
    ASSERT_TRUE(readAloud().viewForSpeedSelection());
    EXPECT_TRUE(readAloud().viewForSpeedSelection()->superview()) << "the speed item shows the list again";

    ASSERT_TRUE(uitest::tap(*bar->itemWithTag(PlayerItemMarkupClose)));
    EXPECT_FALSE(readAloud().playerBottomActionBarViewForAudioSync());
    EXPECT_FALSE(readAloud().viewForSpeedSelection());
    EXPECT_EQ(m_reader->context().activeMode, ReaderActiveModeNone);
    EXPECT_EQ(m_reader->context().readAloudMode, ReadAloudModeOff);
    EXPECT_EQ(m_reader->context().lastReadAloudPageId, "104");
    EXPECT_TRUE(m_reader->context().currentReadAloudPageId.empty());
}

TEST_F(ReadAloudReader, ThePhonePopOverFitsItsFiveSwatchesWhateverTheThemesPenColours)
{
    openSpread({ pageBookPage(104, "2") });
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Phone);
    for (size_t themeColours : { 8, 5, 3, 0 }) {
        base::Value::List colours(themeColours, base::Value("#000000"));
        m_reader->context().theme->setPen_Color_Array(colours);
        readAloud().actionForAudioSyncColorPalletePicker();
        ASSERT_TRUE(readAloud().penColorPallete());
        EXPECT_EQ(readAloud().penColorPallete()->view()->frame().size, ui::Size(300, 62)) << themeColours;
        EXPECT_EQ(readAloud().penColorPallete()->penColors().size(), 5u);
    }
    // Touches on the pop-over reach its swatches; anywhere else in its container they close it.
    auto container = readAloud().penToolPalleteContainer();
    ASSERT_TRUE(container && !container->gestureRecognizers().empty());
    auto press = container->gestureRecognizers().front();
    ASSERT_TRUE(press->delegate());
    EXPECT_FALSE(press->delegate()->shouldReceiveTouch(*press, readAloud().penColorPallete()->view().get()));
    EXPECT_TRUE(press->delegate()->shouldReceiveTouch(*press, container.get()));

    // Picking a colour in the pop-over during narration closes it and repaints the item.
    readAloud().didTapOnReadToMeForReadAloud();
    base::RunLoop::main().advanceBy(0.25);
    readAloud().actionForAudioSyncColorPalletePicker();
    auto palette = readAloud().penColorPallete();
    ASSERT_TRUE(palette && palette->delegate());
    palette->delegate()->didSelectPenColor("#6F9C21");
    EXPECT_FALSE(readAloud().penColorPallete());
    EXPECT_FALSE(readAloud().penToolPalleteContainer());
    EXPECT_EQ(m_reader->context().audioSyncSelectedColor, "#B6CD8F");
}

TEST_F(ReadAloudReader, ChapterNarrationSpeaksAndMarksTheFirstWordOnScreenFirst)
{
    // The first chapter narrated word by word (w1 to w20, no recording: the voice speaks
    // them); the reader has scrolled so that w12 is the first word on screen.
    auto book = std::dynamic_pointer_cast<EPUBBookVO>(sample("sample-reflowable-epub"));
    ASSERT_TRUE(book && !book->chapters.empty());
    auto chapter = book->chapters.front();
    const char* text[] = { "Rain", "falls", "on", "the", "hills.", "It", "runs", "down", "to", "the",
        "river.", "The", "river", "carries", "it", "to", "the", "sea.", "Then", "clouds." };
    base::Value::List words;
    for (int i = 0; i < 20; ++i)
        words.push_back(base::Value::Dictionary { { "wordId", "w" + std::to_string(i + 1) },
            { "text", text[i] }, { "start", 0.4 * i }, { "end", 0.4 * i + 0.35 } });
    chapter->audioSyncArray = base::Value(std::move(words));
    chapter->isAudioSyncSupported = true;
    book->isAudioSyncSupported = true;
    RendererPage page;
    page.fileIndex = chapter->fileIndex;
    page.href = chapter->href;
    makeReader();
    uitest::showInWindow(m_reader);
    m_renderer->setFirstVisibleWord(base::Value::Dictionary { { "wordId", "w12" }, { "text", "The" } });
    helpAlreadySeen();
    m_renderer->loadBook(book, { page });
    base::RunLoop::main().advanceBy(1);
    m_reader->context().theme = std::make_shared<LXMVThemeVO>();
    uitest::completePresentations();

    // The narrated book offers the chooser; the user picks read to me.
    auto chooser = readAloud().readToMeViewController();
    ASSERT_TRUE(chooser);
    ASSERT_TRUE(uitest::tap(*chooser->readToMeButton()));
    uitest::completePresentations();
    std::vector<std::string> marked;
    for (int step = 0; step < 200 && marked.size() < 3; ++step) {
        base::waitForBackgroundWork();
        base::RunLoop::main().advanceBy(0.05);
        marked.clear();
        for (const auto& call : m_renderer->calls()) {
            if (call.name == "highlightWordByWordId" && !call.arguments.at(0).description().empty()) {
                marked.push_back(call.arguments.at(0).description());
                EXPECT_EQ(call.arguments.at(1).description(), chapter->href);
                EXPECT_EQ(call.arguments.at(2).description(), "#E8BD7F");
            }
        }
    }
    ASSERT_TRUE(readAloud().audioSyncController());
    EXPECT_EQ(readAloud().audioSyncController()->narrationKind(), NarrationPlayback::Kind::Speech)
        << "the words are spoken, each marked as the voice reaches it";
    ASSERT_GE(marked.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(marked.begin(), marked.begin() + 3),
        (std::vector<std::string> { "w12", "w13", "w14" }));
    auto bar = readAloud().playerBottomActionBarViewForAudioSync();
    ASSERT_TRUE(bar);
    EXPECT_TRUE(bar->isDescendantOf(ui::Environment::current().keyWindow().get()))
        << "the narration bar is on screen";
    readAloud().stopAndCloseAudioSync();
}

TEST_F(ReadAloudReader, EveryEndOfNarrationTakesTheFloatingAudioPlayerOffTheScreen)
{
    // What the synchroniser reports, and the reader's own stop, each with the audio link's
    // player floating over the page.
    struct Case {
        const char* name;
        std::function<void(ReaderReadAloud&)> end;
    };
    const Case cases[] = {
        { "the narration completes", [](ReaderReadAloud& readAloud) { readAloud.audioSyncdidComplete(); } },
        { "the narration stops", [](ReaderReadAloud& readAloud) { readAloud.audioSyncDidStopped(); } },
        { "read-aloud is stopped and closed",
            [](ReaderReadAloud& readAloud) { readAloud.stopAndCloseAudioSync(); } },
        { "a page heard in let me read ends",
            [](ReaderReadAloud& readAloud) { readAloud.audioSyncdidCompleteForPageIdentifier("104"); } },
    };
    openSpread({ pageBookPage(104, "2") });
    uitest::showInWindow(m_reader);
    auto rain = std::make_shared<PXLinkVO>();
    rain->linkType = 2;
    rain->pageID = "104";
    rain->url = "assets/media/rain.mp3";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_reader->interactiveContent().actionForLink(rain);
        base::RunLoop::main().runUntilIdle();
        auto player = m_reader->interactiveContent().players().playerView();
        ASSERT_TRUE(player && player->superview());
        ASSERT_EQ(m_reader->context().activeMode, ReaderActiveModeAudioPlayer);
        c.end(readAloud());
        EXPECT_FALSE(player->superview());
        EXPECT_TRUE(m_renderer->view()->isUserInteractionEnabled());
    }
}

TEST_F(ReadAloudReader, TheToolbarItemOpensTheChooserShowingTheCurrentMode)
{
    openSpread({ pageBookPage(104, "2") });
    m_reader->context().lastReadAloudPageId = "12";
    m_reader->setReadAloudMode(3);
    auto bar = PlayerActionTopBar::create();
    bar->setTag(TopBar);
    auto item = PlayerActionBarItem::create();
    item->setTag(PlayerItemReadAloud);
    bar->addActionBarItem(item, 40, 0, true);
    m_reader->didTapOnPlayerActionBar(*bar, *item);
    uitest::completePresentations();
    auto chooser = readAloud().readToMeViewController();
    ASSERT_TRUE(chooser);
    EXPECT_EQ(m_reader->presentedViewController(), chooser);
    EXPECT_TRUE(m_reader->context().readAloudPopupShown);
    EXPECT_TRUE(m_reader->context().lastReadAloudPageId.empty());
    EXPECT_FALSE(chooser->autoPlayButton()->isEnabled());
    ASSERT_TRUE(uitest::tap(*chooser->letMeReadButton()));
    uitest::completePresentations();
    EXPECT_FALSE(readAloud().readToMeViewController());
    EXPECT_FALSE(m_reader->presentedViewController());
    EXPECT_EQ(m_reader->context().readAloudMode, ReadAloudModeOff);
}

TEST_F(ReadAloudReader, ANarratedBookOffersTheChooserByItselfOnOpening)
{
    openSpread({ pageBookPage(104, "2") }, false);
    uitest::completePresentations();
    auto chooser = readAloud().readToMeViewController();
    ASSERT_TRUE(chooser);
    EXPECT_EQ(m_reader->presentedViewController(), chooser);
    EXPECT_TRUE(m_reader->context().readAloudPopupShown);
    EXPECT_EQ(chooser->readAloudMode(), ReadAloudModeOff) << "let me read is the mode in force";
    ASSERT_TRUE(uitest::tap(*chooser->readToMeButton()));
    uitest::completePresentations();
    base::RunLoop::main().advanceBy(0.3);
    EXPECT_FALSE(readAloud().readToMeViewController());
    ASSERT_TRUE(readAloud().audioSyncController());
    EXPECT_EQ(readAloud().audioSyncController()->audioPlayingForPageIdentifier(), "104");
}

TEST_F(ReadAloudReader, ABookWithoutNarrationOpensWithoutTheChooser)
{
    RendererPage first;
    first.fileIndex = 0;
    openSpread({ first }, false, "sample-long-epub");
    uitest::completePresentations();
    EXPECT_FALSE(readAloud().readToMeViewController());
    EXPECT_FALSE(m_reader->context().readAloudPopupShown);
}

} // namespace
} // namespace lectoro::shelltest
