// A text box on a page of the sample page book through the companion framework itself:
// placed from the toolbar, typed, aligned and coloured from the bar's pop-ups, saved,
// drawn again when its page comes back, then opened by a tap and deleted after asking.

#include "reader/CompanionEndToEndSupport.h"

#include "LectoroSDKWithReader/annotations/ReaderAnnotations.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationActionView.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationAlignmentActionView.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationPalleteActionView.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationRoad.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/SDKTextAnnotationVO.h"
#include "companion/Framework.h"
#include "companion/renderer/BookRenderer.h"
#include "platform/base/Bundle.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/Environment.h"
#include "platform/ui/TextView.h"

#include <fstream>

namespace lectoro {
namespace {

class TextAnnotationEndToEndTests : public testing::CompanionEndToEndTest {
protected:
    void setUpHost() override
    {
        // A host theme: the text-box colours come from the default theme only beside one.
        std::filesystem::create_directories(m_storage / "host");
        std::ofstream(m_storage / "host" / "ReaderTheme.json")
            << R"({"Text_Annotation": {"color_popup": {"color4": {"background": "#FDD835"}}}})";
        m_previousMainBundle = base::Bundle::main().rootPath();
        base::Bundle::setMainBundlePath((m_storage / "host").string());
    }
    void TearDown() override
    {
        CompanionEndToEndTest::TearDown();
        base::Bundle::setMainBundlePath(m_previousMainBundle);
    }

    std::shared_ptr<ReaderViewController> open()
    {
        auto settings = std::make_shared<MVReaderSettingModel>();
        settings->setIsTextAnnotationEnabled(true);
        m_launcher->launchBook(samplePageBook("1001"), makeUser("6000000001"), serviceConfiguration(), settings, false);
        base::RunLoop::main().advanceBy(1);
        return m_launcher->reader();
    }

    std::vector<std::shared_ptr<SDKTextAnnotationVO>> storedBoxes(ReaderViewController& reader, int64_t page)
    {
        auto display = reader.context().renderer->getActivePages().at(0).displayNum;
        return reader.context().dbManager->textAnnotationVOForPageID(
            std::to_string(page), display, std::to_string(reader.bookID()), reader.user()->numericUserID());
    }

    // Opens the book and starts a box from the toolbar's item with the keyboard up.
    std::shared_ptr<companion::BookRenderer> openAndStartABox(std::shared_ptr<ReaderViewController>& reader)
    {
        reader = open();
        auto renderer
            = reader ? std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView()) : nullptr;
        if (!renderer || !renderer->isBookLoaded())
            return nullptr;
        reader->annotations().actionForTextAnnotation();
        keyboardUp();
        return renderer;
    }

    static void keyboardUp() { ui::Environment::current().showKeyboard({ { 0, 367 }, { 375, 300 } }); }
    static void keyboardDown() { ui::Environment::current().hideKeyboard(); }

    ui::EnvironmentScope m_environment;
    std::string m_previousMainBundle;
};

TEST_F(TextAnnotationEndToEndTests, ABoxTypedAndSavedIsDrawnAgainAndDeletedOnlyAfterAsking)
{
    auto reader = open();
    ASSERT_TRUE(reader);
    auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView());
    ASSERT_TRUE(renderer && renderer->isBookLoaded());
    const int64_t page = renderer->getActivePages().at(0).pageID;
    auto& road = reader->textAnnotationRoad();

    // Toolbar item 19 places a box; the renderer lets it edit in the normal mode.
    reader->annotations().actionForTextAnnotation();
    ASSERT_TRUE(road.textAnnotationView());
    EXPECT_EQ(road.textAnnotationView(), renderer->textAnnotationTextView());
    EXPECT_EQ(road.textAnnotationView()->accessibilityIdentifier(), "textAnnotationTextView");
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeTextAnnotation);

    keyboardUp();
    auto bar = road.textAnnotationPlayerBottomActionBarView();
    ASSERT_TRUE(bar);
    // Nothing is stored on the page yet: no delete item; nothing typed: save disabled.
    EXPECT_FALSE(bar->getTextAnnotationViewItemWithTag(6));
    EXPECT_FALSE(bar->getTextAnnotationViewItemWithTag(5)->isEnabled());
    ASSERT_TRUE(renderer->textAnnotationTextView()->insertText("Water boils"));
    EXPECT_TRUE(bar->getTextAnnotationViewItemWithTag(5)->isEnabled());

    // Centre from the alignment pop-up, colour 4 from the colour pop-up.
    ASSERT_TRUE(bar->tapItemWithTag(2));
    auto alignment = road.textAnnotationAlignmentActionBarView();
    ASSERT_TRUE(alignment);
    ASSERT_TRUE(alignment->tapItemWithTag(2));
    EXPECT_FALSE(road.textAnnotationAlignmentActionBarView());
    ASSERT_TRUE(bar->tapItemWithTag(3));
    auto palette = road.textAnnotationColorActionBarView();
    ASSERT_TRUE(palette);
    ASSERT_TRUE(palette->tapItemWithTag(4));
    EXPECT_FALSE(road.textAnnotationColorActionBarView());

    ASSERT_TRUE(bar->tapItemWithTag(5));
    keyboardDown();
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeNone);
    EXPECT_FALSE(road.textAnnotationPlayerBottomActionBarView());
    auto stored = storedBoxes(*reader, page);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]->text, "Water boils");
    EXPECT_EQ(stored[0]->textAlignment, 1);
    EXPECT_EQ(stored[0]->textColor, "#000000");
    EXPECT_EQ(stored[0]->metaData["backgroundColor"].asString(), "#FDD835");
    EXPECT_EQ(stored[0]->bookVersion, reader->context().bookVersion);
    const std::string localID = stored[0]->localID;

    // The page goes and comes back: its box is drawn again from the store.
    ASSERT_TRUE(renderer->swipe(companion::RendererSwipe::Next));
    base::RunLoop::main().advanceBy(1);
    EXPECT_TRUE(renderer->overlayForPage(page).textAnnotations.empty());
    ASSERT_TRUE(renderer->swipe(companion::RendererSwipe::Previous));
    base::RunLoop::main().advanceBy(1);
    auto drawn = renderer->overlayForPage(page).textAnnotations;
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0]->localID, localID);
    EXPECT_EQ(drawn[0]->text, "Water boils");
    EXPECT_EQ(drawn[0]->textAlignment, 1);
    EXPECT_EQ(drawn[0]->metaData["backgroundColor"].asString(), "#FDD835");

    // A tap opens it again, with the delete item since the page holds it.
    renderer->tapPoint(page, { 60, 100 });
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeTextAnnotation);
    EXPECT_EQ(road.textAnnotationView()->text(), "Water boils");
    EXPECT_EQ(road.textAnnotationView()->textAlignment(), ui::TextAlignment::Center);
    keyboardUp();
    bar = road.textAnnotationPlayerBottomActionBarView();
    ASSERT_TRUE(bar && bar->getTextAnnotationViewItemWithTag(6));
    ASSERT_TRUE(bar->tapItemWithTag(6));
    uitest::completePresentations();
    // Asking deletes nothing.
    EXPECT_EQ(storedBoxes(*reader, page).size(), 1u);
    ASSERT_TRUE(uitest::tapAction("Delete"));
    uitest::completePresentations();
    keyboardDown();

    EXPECT_TRUE(storedBoxes(*reader, page).empty());
    EXPECT_TRUE(renderer->overlayForPage(page).textAnnotations.empty());
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeNone);
    EXPECT_FALSE(road.textAnnotationPlayerBottomActionBarView());
}

TEST_F(TextAnnotationEndToEndTests, TurningTheDeviceWhileEditingEndsTheBoxAndItsChrome)
{
    std::shared_ptr<ReaderViewController> reader;
    auto renderer = openAndStartABox(reader);
    ASSERT_TRUE(renderer);
    auto& road = reader->textAnnotationRoad();
    ASSERT_TRUE(renderer->textAnnotationTextView()->insertText("kept"));
    ASSERT_TRUE(road.textAnnotationPlayerBottomActionBarView()->tapItemWithTag(3));
    auto palette = road.textAnnotationColorActionBarView();
    ASSERT_TRUE(palette);

    uitest::transitionToSize(reader, { 667, 375 });
    base::RunLoop::main().advanceBy(1);
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeNone);
    EXPECT_FALSE(road.textAnnotationPlayerBottomActionBarView());
    EXPECT_FALSE(palette->superview());
    EXPECT_FALSE(renderer->textAnnotationTextView());
    // The renderer left the mode keeping the box, which was stored.
    EXPECT_EQ(storedBoxes(*reader, renderer->getActivePages().at(0).pageID).size(), 1u);
}

TEST_F(TextAnnotationEndToEndTests, WithoutTheThemesColoursAColourTapLeavesTheBoxAsItWas)
{
    // Only a host theme brings the text-box colours; without one every pair is missing.
    std::filesystem::remove(m_storage / "host" / "ReaderTheme.json");
    std::shared_ptr<ReaderViewController> reader;
    auto renderer = openAndStartABox(reader);
    ASSERT_TRUE(renderer);
    auto& road = reader->textAnnotationRoad();
    ASSERT_TRUE(road.textAnnotationPlayerBottomActionBarView()->tapItemWithTag(3));
    auto palette = road.textAnnotationColorActionBarView();
    ASSERT_TRUE(palette);
    ASSERT_TRUE(palette->tapItemWithTag(3));

    auto box = renderer->editingTextAnnotation();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->textColor, "#000000");
    EXPECT_FALSE(box->metaData.asDictionary()->contains("backgroundColor"));
    EXPECT_FALSE(road.textAnnotationColorActionBarView());
    keyboardDown();
}

} // namespace
} // namespace lectoro
