// The sample page book's interactive screens where a person meets them, on a phone and a
// tablet, upright and turned: the markups lie on the page as it is shown (also after a
// turn) and take their taps there, and each screen a markup opens (glossary, information
// pop-over, answer drop-down, multi-link list, image viewer, equation keyboard, protractor,
// web and SCORM players) shows what its markup holds, is used as a person would, and is
// closed again with its own control or a tap beside it, after which the page takes a tap.
// No layout pass while these screens show reports a conflict.

#include "journeys/HeldDevices.h"
#include "journeys/JourneySupport.h"

#include "LayoutConflictLog.h"
#include "reader/ReaderTaps.h"

#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/interactive/answers/InteractiveAnswers.h"
#include "LectoroSDKWithReader/interactive/web/InteractiveWebContent.h"
#include "LectoroSDKWithReader/interactive/MultiLinkController.h"
#include "LectoroSDKWithReader/interactive/players/InteractiveMarkupPlayers.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXLinkVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "LectoroSDKWithReader/readersdk/widgets/EquationEditorKeyboardViewController.h"
#include "LectoroSDKWithReader/readersdk/widgets/GlossaryViewController.h"
#include "LectoroSDKWithReader/readersdk/widgets/InfomationPopOverContentViewController.h"
#include "LectoroSDKWithReader/readersdk/widgets/LectoroScormWebPlayer.h"
#include "LectoroSDKWithReader/readersdk/widgets/LinkDropDownViewController.h"
#include "LectoroSDKWithReader/readersdk/widgets/MVFIB.h"
#include "LectoroSDKWithReader/readersdk/widgets/players/LectoroMarkupPlayers.h"
#include "platform/web/WebView.h"
#include "LectoroSDKWithReader/readersdk/widgets/MarkupView.h"
#include "platform/testing/Interaction.h"

namespace lectoro::journeys {
namespace {

using DeviceHeld = HeldDevice;

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

TEST_P(InteractiveScreenJourney, TheGlossaryEntryShowsItsTermAndMediaAndClosesBesideIt)
{
    auto reader = openOnPage(103);
    ASSERT_TRUE(reader);
    ASSERT_TRUE(tapMarkupOf(*reader, 103, 1031));
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeGlossary);
    auto glossary = reader->interactiveContent().glossaryViewController();
    ASSERT_TRUE(glossary);
    // A tablet presents the entry at its word; a phone lays it on the reader's view.
    if (GetParam().idiom == ui::UserInterfaceIdiom::Pad)
        EXPECT_EQ(topPresented(*reader), glossary);
    ASSERT_TRUE(glossary->view()->window()) << "the entry is not in the window";
    EXPECT_EQ(glossary->alphabetLabel()->text(), "E");
    EXPECT_EQ(glossary->keywordLabel()->text(), "Evaporation");
    EXPECT_NE(glossary->descriptionLabel()->text().find("vapour"), std::string::npos);
    std::vector<std::string> media;
    for (const auto& button : glossary->mediaButtons()) {
        media.push_back(button->currentTitle());
        EXPECT_TRUE(uitest::landOn(*button)) << button->currentTitle() << " is out of a finger's reach";
    }
    EXPECT_EQ(media, (std::vector<std::string> { "Audio", "Image" }));
    picture("glossary");

    if (GetParam().idiom == ui::UserInterfaceIdiom::Pad) {
        closePopover(glossary);
    } else {
        // The page beside the entry takes the tap that closes it.
        auto window = glossary->view()->window();
        ui::Rect entry = glossary->view()->convertRectTo(glossary->view()->bounds(), nullptr);
        ui::Point beside { entry.midX(), entry.maxY() + 20 < window->bounds().maxY() ? entry.maxY() + 20 : entry.minY() - 20 };
        auto renderer = rendererOf(*reader)->view();
        ASSERT_TRUE(testing::tapPage(*reader, renderer->convertPointFrom(beside, nullptr)));
        settle();
    }
    EXPECT_FALSE(reader->interactiveContent().glossaryViewController());
    EXPECT_FALSE(glossary->view()->window()) << "the entry stayed on screen";
    expectReading(*reader);
}

TEST_P(InteractiveScreenJourney, TheTeachersTipShowsItsInstructionOnThePageUntilThePageIsTapped)
{
    auto reader = openOnPage(106);
    ASSERT_TRUE(reader);
    ASSERT_TRUE(tapMarkupOf(*reader, 106, 1061));
    auto tip = reader->interactiveContent().webContent().instructionPopOver();
    ASSERT_TRUE(tip);
    EXPECT_EQ(tip->instructionText(), "Ask the class to compare a snowflake and a raindrop.");
    // The renderer lays the tip on its page, wholly inside it.
    auto page = rendererOf(*reader)->pageView(106);
    ASSERT_TRUE(page);
    auto view = tip->view();
    ASSERT_TRUE(view->window());
    ui::Rect inPage = view->convertRectTo(view->bounds(), page.get());
    EXPECT_TRUE(page->bounds().contains(inPage)) << "the tip runs off its page";
    EXPECT_FALSE(uitest::visibleRectInWindow(*tip->textLabel()).isEmpty());
    picture("information");

    ASSERT_TRUE(testing::tapPage(*reader));
    settle();
    EXPECT_FALSE(reader->interactiveContent().webContent().instructionPopOver());
    EXPECT_FALSE(view->window()) << "the tip stayed on the page";
    expectReading(*reader);
}

TEST_P(InteractiveScreenJourney, TheMultiLinkListOpensAtItsIconAndItsImageRowOpensTheImage)
{
    auto reader = openOnPage(108);
    ASSERT_TRUE(reader);
    auto icon = groupIcon(*reader, 108);
    ASSERT_TRUE(icon);
    ASSERT_TRUE(tapMarkupOf(*reader, 108, 0));
    auto list = reader->interactiveContent().multiLinkController();
    ASSERT_TRUE(list);
    auto table = list->tableView();
    ASSERT_TRUE(table->window()) << "the list is not on the page";
    auto page = rendererOf(*reader)->pageView(108);
    ASSERT_TRUE(page);
    ui::Rect inPage = table->convertRectTo(table->bounds(), page.get());
    EXPECT_TRUE(page->bounds().contains(inPage)) << "the list runs off its page";
    std::vector<std::string> rows;
    for (int row = 0; row < table->numberOfRowsInSection(0); ++row) {
        auto cell = std::dynamic_pointer_cast<MultiLinkCell>(table->cellForRowAtIndexPath(ui::IndexPath(0, row)));
        ASSERT_TRUE(cell) << "row " << row << " is not shown";
        EXPECT_EQ(cell->linkName()->superview().get(), cell.get());
        rows.push_back(cell->linkName()->text());
    }
    EXPECT_EQ(rows, (std::vector<std::string> { "Image", "Image", "Document" }));
    picture("multi-link-list");

    // The delta map's row.
    ASSERT_TRUE(uitest::tapRow(*table, ui::IndexPath(0, 1)));
    settle();
    base::RunLoop::main().advanceBy(1);
    settle();
    EXPECT_FALSE(reader->interactiveContent().multiLinkController());
    EXPECT_FALSE(table->window()) << "the list stayed on the page";
    auto viewer = reader->interactiveContent().players().imageController();
    ASSERT_TRUE(viewer) << "the image row opened no image";
    picture("multi-link-image");
    ASSERT_TRUE(viewer->closeButton());
    ASSERT_TRUE(tapAndSettle(*viewer->closeButton()));
    expectReading(*reader);
}

TEST_P(InteractiveScreenJourney, TheAnswerDropDownOpensAtItsBoxAndAPickedChoiceStays)
{
    auto reader = openOnPage(105);
    ASSERT_TRUE(reader);
    auto box = markup(*reader, 105, 1052);
    ASSERT_TRUE(box);
    ASSERT_TRUE(tapMarkupOf(*reader, 105, 1052));
    auto list = reader->interactiveContent().answers().linkDropDownController();
    ASSERT_TRUE(list) << "no choices listed";
    std::vector<std::string> titles;
    for (const auto& row : list->rows())
        titles.push_back(row->currentTitle());
    EXPECT_EQ(titles, (std::vector<std::string> { "Select", "warms", "cools", "stops" }));
    auto view = list->view();
    ASSERT_TRUE(view->window());
    ui::Rect listRect = view->convertRectTo(view->bounds(), nullptr);
    ui::Rect boxRect = box->convertRectTo(box->bounds(), nullptr);
    if (GetParam().idiom == ui::UserInterfaceIdiom::Phone) {
        // At its box, just below or above it, never over the page's print button.
        EXPECT_TRUE(std::abs(listRect.minY() - boxRect.maxY()) < 1 || std::abs(listRect.maxY() - boxRect.minY()) < 1)
            << "the list is not at its box";
        EXPECT_NEAR(listRect.minX(), boxRect.minX(), 1);
        auto page = rendererOf(*reader)->pageView(105);
        for (const auto& child : page ? page->subviews() : std::vector<std::shared_ptr<ui::View>> {}) {
            if (child->accessibilityIdentifier().starts_with("printPageButton"))
                EXPECT_FALSE(listRect.intersects(child->convertRectTo(child->bounds(), nullptr))) << "the list covers the print button";
        }
    }
    picture("answer-drop-down");

    auto cools = list->rows().at(2);
    ASSERT_TRUE(tapAndSettle(*cools));
    EXPECT_FALSE(reader->interactiveContent().answers().linkDropDownController()) << "the list stayed after the pick";
    EXPECT_FALSE(view->window());
    EXPECT_EQ(markup(*reader, 105, 1052)->currentTitle().rfind("cools", 0), 0u);
    auto saved = reader->context().dbManager->getFIBObjectWithLinkId(1052, reader->user()->numericUserID());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->text, "cools");
    picture("answer-drop-down-picked");
    expectReading(*reader);
}

TEST_P(InteractiveScreenJourney, TheImageMarkupShowsItsImageAndClosesWithItsButton)
{
    auto reader = openOnPage(106);
    ASSERT_TRUE(reader);
    ASSERT_TRUE(tapMarkupOf(*reader, 106, 1062));
    base::RunLoop::main().advanceBy(1);
    settle();
    auto viewer = reader->interactiveContent().players().imageController();
    ASSERT_TRUE(viewer);
    ASSERT_TRUE(viewer->view()->window());
    ASSERT_FALSE(viewer->loadedImages().empty());
    EXPECT_TRUE(viewer->loadedImages().front());
    ASSERT_TRUE(viewer->imageView());
    ASSERT_TRUE(viewer->imageView()->image()) << "the viewer shows no image";
    EXPECT_NE(viewer->imageView()->image()->filePath().find("assets/media/"), std::string::npos);
    EXPECT_FALSE(uitest::visibleRectInWindow(*viewer->imageView()).isEmpty());
    picture("image-viewer");

    ASSERT_TRUE(tapAndSettle(*viewer->closeButton()));
    EXPECT_FALSE(viewer->view()->window()) << "the viewer stayed";
    expectReading(*reader);
}

// A web or SCORM activity's page is loaded in its player; the player's close button
// hands the page back.
void expectActivityPageThenClose(InteractiveScreenJourney& journey, ReaderViewController& reader,
    const std::string& folder, const std::function<void(const std::string&)>& picture)
{
    auto player = reader.interactiveContent().webContent().currentWebPlayer();
    ASSERT_TRUE(player);
    ASSERT_TRUE(player->view()->window());
    auto web = player->webView();
    ASSERT_TRUE(web);
    EXPECT_FALSE(web->isLoading());
    ASSERT_TRUE(web->url());
    EXPECT_NE(web->url()->path().find(folder + "/index.html"), std::string::npos) << web->url()->path();
    EXPECT_TRUE(web->document());
    picture("player");
    ASSERT_TRUE(player->closeButton());
    ASSERT_TRUE(uitest::tap(*player->closeButton()));
    (void)journey;
}

TEST_P(InteractiveScreenJourney, AWebActivityLoadsItsPageInTheWebPlayerAndClosesWithItsButton)
{
    auto reader = openOnPage(109);
    ASSERT_TRUE(reader);
    ASSERT_TRUE(tapMarkupOf(*reader, 109, 1092));
    base::RunLoop::main().advanceBy(1);
    settle();
    expectActivityPageThenClose(*this, *reader, "assets/html/cycle", [this](const std::string& step) { picture("web-" + step); });
    settle();
    base::RunLoop::main().advanceBy(1);
    settle();
    EXPECT_FALSE(reader->interactiveContent().webContent().currentWebPlayer());
    expectReading(*reader);
}

TEST_P(InteractiveScreenJourney, AScormActivityLoadsItsPackageInTheScormPlayerAndClosesWithItsButton)
{
    auto reader = openOnPage(112);
    ASSERT_TRUE(reader);
    ASSERT_TRUE(tapMarkupOf(*reader, 112, 1121));
    base::RunLoop::main().advanceBy(1);
    settle();
    EXPECT_TRUE(std::dynamic_pointer_cast<LectoroScormWebPlayer>(reader->interactiveContent().webContent().currentWebPlayer()));
    expectActivityPageThenClose(*this, *reader, "assets/html/water-quiz", [this](const std::string& step) { picture("scorm-" + step); });
    // The player asks its page for the learner's data before it goes.
    for (int turn = 0; turn < 5 && reader->interactiveContent().webContent().currentWebPlayer(); ++turn) {
        base::RunLoop::main().advanceBy(1);
        settle();
    }
    EXPECT_FALSE(reader->interactiveContent().webContent().currentWebPlayer());
    expectReading(*reader);
}

TEST_P(InteractiveScreenJourney, TheEquationKeyboardTypesWithItsKeysAndSavesTheEquation)
{
    // An equation answered earlier shows on the page as the equation, which opens the keyboard.
    m_afterLaunch = [this] {
        auto reader = m_launcher->reader();
        if (!reader)
            return;
        auto link = std::make_shared<PXLinkVO>();
        link->linkID = 1111;
        link->pageID = "111";
        auto fib = reader->context().dbManager->getEquationFIBObjectForText("x=1", *link, reader->user()->numericUserID());
        ASSERT_TRUE(fib);
        fib->pageIdentifier = "111";
        EXPECT_TRUE(reader->context().dbManager->saveFIB(fib, "1001", reader->user()->numericUserID()));
    };
    auto reader = openOnPage(111);
    ASSERT_TRUE(reader);
    std::shared_ptr<FIBMathEquationView> equation;
    for (const auto& view : rendererOf(*reader)->overlayForPage(111).fibViews) {
        if (auto found = std::dynamic_pointer_cast<FIBMathEquationView>(view))
            equation = found;
    }
    ASSERT_TRUE(equation) << "the saved equation is not on the page";
    ASSERT_TRUE(tapAndSettle(*equation));
    auto keyboard = reader->interactiveContent().answers().equationEditorKeyboardViewController();
    ASSERT_TRUE(keyboard) << "no equation keyboard";
    ASSERT_TRUE(keyboard->view()->window());
    for (const char* key : { "0", "1", "9", "+", "=", "x", "\u232B", "Done", "Cancel", "ABC" })
        EXPECT_TRUE(keyboard->keyTitled(key) && uitest::landOn(*keyboard->keyTitled(key))) << "no key " << key << " a finger reaches";
    EXPECT_EQ(keyboard->preview()->text(), "x=1");
    picture("equation-keyboard");

    for (const char* key : { "\u232B", "2", "+", "1" })
        ASSERT_TRUE(uitest::tap(*keyboard->keyTitled(key)));
    settle();
    EXPECT_EQ(keyboard->preview()->text(), "x=2+1");
    picture("equation-keyboard-typed");
    ASSERT_TRUE(tapAndSettle(*keyboard->keyTitled("Done")));
    EXPECT_FALSE(reader->interactiveContent().answers().equationEditorKeyboardViewController());
    EXPECT_FALSE(keyboard->view()->window()) << "the keyboard stayed";
    auto saved = reader->context().dbManager->getFIBObjectWithLinkId(1111, reader->user()->numericUserID());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->text, "x=2+1");
    EXPECT_TRUE(saved->isEquation);
    expectReading(*reader);
}

TEST_P(InteractiveScreenJourney, TheBooksProtractorTurnsAndIsKeptWhereItWasLeft)
{
    auto reader = openOnPage(111);
    ASSERT_TRUE(reader);
    auto renderer = rendererOf(*reader);
    auto placed = renderer->protractorsOnPage(111);
    ASSERT_EQ(placed.size(), 1u);
    ASSERT_TRUE(renderer->selectProtractor(placed.front()->localID));
    settle();
    ASSERT_TRUE(renderer->openProtractor());
    double before = renderer->openProtractor()->rotation;
    renderer->rotateOpenProtractor(30);
    settle();
    EXPECT_NEAR(renderer->openProtractor()->rotation, before + 30, 0.01);
    picture("protractor");
    ASSERT_TRUE(renderer->closeProtractor());
    settle();
    auto kept = reader->context().dbManager->protractorForPageID("111", std::string(std::string_view(placed.front()->displayNum)), "1001", reader->user()->numericUserID());
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_NEAR(kept.front()->rotation, before + 30, 0.01);
    expectReading(*reader);
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

INSTANTIATE_TEST_SUITE_P(Held, InteractiveScreenJourney, everyHeldDevice(), heldDeviceName);

} // namespace
} // namespace lectoro::journeys
