// The text-box road around a scripted renderer and the real store: when a box may start
// editing, the bar following the keyboard and the text, the pop-ups, storing and deleting
// the finished box with the book version, drawing a page's boxes, the delete confirmation
// and the page moved clear of the keyboard.

#include "annotations/AnnotationsTestSupport.h"

#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationActionView.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationAlignmentActionView.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationPalleteActionView.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationRoad.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/readersdk/records/SDKTextAnnotationVO.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextView.h"

namespace lectoro::annotationstest {
namespace {

const ui::Color textBoxYellow = ui::Color::fromRGB255(255, 235, 59);

class TextAnnotationRoadTests : public AnnotationsTest {
protected:
    void SetUp() override
    {
        AnnotationsTest::SetUp();
        ui::Environment::current().setScreenSize({ 375, 812 });
        m_settings->setIsTextAnnotationEnabled(true);
        m_theme->setTextAnnotation_color_popup_color4_background(textBoxYellow);
        m_renderer->setActivePages({ page(10, "v") });
        m_renderer->view()->setFrame({ { 0, 0 }, { 375, 812 } });
        m_host.controller->view()->setFrame({ { 0, 0 }, { 375, 812 } });
    }

    void TearDown() override
    {
        m_textBoxes.reset();
        AnnotationsTest::TearDown();
    }

    static RendererPage page(int64_t id, std::string display)
    {
        RendererPage active;
        active.pageID = id;
        active.displayNum = std::move(display);
        return active;
    }

    TextAnnotationRoad& textBoxes()
    {
        if (!m_textBoxes)
            m_textBoxes = std::make_unique<TextAnnotationRoad>(m_context, m_host, drawer());
        return *m_textBoxes;
    }

    // A box the renderer shows on its page, its text view inside it.
    std::shared_ptr<ui::TextView> showBox(const ui::Rect& frame, const std::string& text = {})
    {
        auto pageView = ui::View::create({ { 0, 0 }, { 375, 812 } });
        m_renderer->view()->addSubview(pageView);
        auto box = ui::View::create(frame);
        pageView->addSubview(box);
        auto textView = ui::TextView::create({ {}, frame.size });
        textView->setText(text);
        box->addSubview(textView);
        return textView;
    }

    std::shared_ptr<TextAnnotationActionView> beginEditing(const std::string& text = {})
    {
        auto textView = showBox({ { 40, 80 }, { 200, 60 } }, text);
        textBoxes().didTextAnnotationBeginEditing(textView);
        textBoxes().updatePlayerBottomBarPositionWithKeyboardSize({ { 0, 512 }, { 375, 300 } });
        return textBoxes().textAnnotationPlayerBottomActionBarView();
    }

    std::shared_ptr<SDKTextAnnotationVO> storedBox(const std::string& page, const std::string& display)
    {
        auto record = std::make_shared<SDKTextAnnotationVO>();
        record->localID = "box-" + page;
        record->text = "stored";
        record->pageIdentifier = page;
        record->displayNum = display;
        EXPECT_TRUE(m_store->saveTextAnnotation(record, "42", 5000000000).ok());
        return record;
    }

    static std::string keyboardGlyph(const TextAnnotationActionView& bar)
    {
        auto item = bar.getTextAnnotationViewItemWithTag(7);
        return item ? item->firstLabel()->text() : std::string();
    }

    ui::EnvironmentScope m_environment;
    std::unique_ptr<TextAnnotationRoad> m_textBoxes;
};

TEST_F(TextAnnotationRoadTests, ABoxStartsEditingOnlyInTheNormalAudioAndTextBoxModes)
{
    struct Case {
        uint64_t mode;
        bool allowed;
    };
    const Case cases[] = {
        { ReaderActiveModeNone, true },
        { ReaderActiveModeAudioPlayer, true },
        { ReaderActiveModeTextAnnotation, true },
        { ReaderActiveModePenTool, false },
        { ReaderActiveModeSearch, false },
        { ReaderActiveModeHighlightPopup, false },
        { ReaderActiveModeNoteView, false },
    };
    for (const auto& c : cases) {
        m_context.activeMode = c.mode;
        EXPECT_EQ(textBoxes().textAnnotationShouldBeginEditing(), c.allowed) << "mode " << c.mode;
    }
}

TEST_F(TextAnnotationRoadTests, StartingAsksTheRendererForABoxAndAddsOnlyOneItGives)
{
    textBoxes().actionForTextAnnotation();
    EXPECT_EQ(m_renderer->callNames(),
        (std::vector<std::string> { "resetZoomScaleToDefault", "getTextAnnotationVOWithDefaultPosition" }));
    EXPECT_EQ(m_host.calls, std::vector<std::string> { "barsOff" });
    EXPECT_FALSE(textBoxes().textAnnotationPlayerBottomActionBarView());

    m_renderer->clearCalls();
    auto record = std::make_shared<SDKTextAnnotationVO>();
    record->localID = "new";
    m_renderer->setTextAnnotationAnswer(record);
    textBoxes().actionForTextAnnotation();
    EXPECT_EQ(m_renderer->countOf("addTextAnnotation"), 1u);

    textBoxes().didTextAnnotationBeginEditing(showBox({ { 40, 80 }, { 200, 60 } }));
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeTextAnnotation);
}

TEST_F(TextAnnotationRoadTests, TheBarRestsOnTheKeyboardAndItsKeyboardItemFollowsIt)
{
    // Keyboards outside text-box mode are not followed.
    textBoxes().updatePlayerBottomBarPositionWithKeyboardSize({ { 0, 512 }, { 375, 300 } });
    EXPECT_FALSE(textBoxes().textAnnotationPlayerBottomActionBarView());

    auto bar = beginEditing();
    ASSERT_TRUE(bar);
    auto textView = textBoxes().textAnnotationView();
    textView->becomeFirstResponder();
    // On a screen 812 high the home indicator's 34 points stay below the bar.
    EXPECT_EQ(bar->textAnnotationBottomMarginConstraint()->constant(), -266);
    EXPECT_EQ(bar->frame().maxY(), 812 - 266);
    EXPECT_FALSE(bar->isTextAnnotationKeyboardAvailable());
    EXPECT_EQ(keyboardGlyph(*bar), ICON_KEYBOARD_DOWN);

    textBoxes().updatePlayerBottomBarPositionWithKeyboardSize(ui::Rect {});
    EXPECT_EQ(bar->textAnnotationBottomMarginConstraint()->constant(), 0);
    EXPECT_EQ(bar->frame().maxY(), 812);
    EXPECT_EQ(keyboardGlyph(*bar), ICON_KEYBOARD_UP);
    EXPECT_FALSE(textView->isFirstResponder());

    // The keyboard item brings the keyboard back.
    textBoxes().actionForTextAnnotationKeyBoard();
    EXPECT_EQ(keyboardGlyph(*bar), ICON_KEYBOARD_DOWN);
    EXPECT_TRUE(textView->isFirstResponder());
    textView->resignFirstResponder();
}

TEST_F(TextAnnotationRoadTests, TheSaveItemFollowsTheTextAndTheDeleteItemTheStoredBoxesOfTheSpread)
{
    auto bar = beginEditing();
    auto save = bar->getTextAnnotationViewItemWithTag(5);
    EXPECT_FALSE(save->isEnabled());
    EXPECT_FALSE(bar->getTextAnnotationViewItemWithTag(6));

    auto textView = textBoxes().textAnnotationView();
    textView->setText("a");
    textBoxes().didTextAnnotationValueChanged(textView);
    EXPECT_TRUE(save->isEnabled());
    textView->setText("");
    textBoxes().didTextAnnotationValueChanged(textView);
    EXPECT_FALSE(save->isEnabled());
    textBoxes().removeTextAnnotationView();

    // A spread whose second page holds a stored box gets the delete item.
    m_renderer->setActivePages({ page(10, "v"), page(11, "vi") });
    storedBox("11", "vi");
    bar = beginEditing("text");
    ASSERT_TRUE(bar);
    EXPECT_TRUE(bar->getTextAnnotationViewItemWithTag(6));
    EXPECT_EQ(bar->numberOfItems(), 7);
}

TEST_F(TextAnnotationRoadTests, OnePopupAtATimeWithItsBarItemMarked)
{
    auto bar = beginEditing("text");
    auto textView = textBoxes().textAnnotationView();
    textView->setTextAlignment(ui::TextAlignment::Center);
    textView->setBackgroundColor(textBoxYellow);
    auto alignmentLabel = bar->getTextAnnotationViewItemWithTag(2)->firstLabel();

    textBoxes().addTextAnnotationAlignmentView();
    textBoxes().removeTextAnnotationColorView();
    auto alignment = textBoxes().textAnnotationAlignmentActionBarView();
    ASSERT_TRUE(alignment);
    EXPECT_TRUE(alignment->accessibilityViewIsModal());
    EXPECT_EQ(alignment->numberOfItems(), 6);
    EXPECT_TRUE(alignment->items()[1]->isSelected());
    EXPECT_EQ(alignmentLabel->backgroundColor(), m_theme->textAnnotation_selected_icon_bg());

    // The dispatcher opens the colour pop-up and closes the alignment one in one step.
    textBoxes().addTextAnnotationTextColorView();
    textBoxes().removeTextAnnotationAlignmentView();
    EXPECT_FALSE(textBoxes().textAnnotationAlignmentActionBarView());
    EXPECT_FALSE(alignment->superview());
    EXPECT_EQ(alignmentLabel->backgroundColor(), m_theme->textAnnotation_background());
    auto palette = textBoxes().textAnnotationColorActionBarView();
    ASSERT_TRUE(palette);
    EXPECT_TRUE(palette->items()[3]->isSelected());
    EXPECT_EQ(palette->frame().maxY(), bar->frame().minY());

    textBoxes().removeTextAnnotationView();
    EXPECT_FALSE(palette->superview());
    EXPECT_FALSE(bar->superview());
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeNone);
    EXPECT_FALSE(textBoxes().textAnnotationView());
}

TEST_F(TextAnnotationRoadTests, AFinishedBoxIsStoredWithTheBookVersionOnTheRecordThatIsStored)
{
    beginEditing("hello");
    auto finished = std::make_shared<SDKTextAnnotationVO>();
    finished->localID = "box";
    finished->text = "hello";
    finished->pageIdentifier = "10";
    finished->displayNum = "v";
    // The renderer's second record is another object: the version must reach the first.
    auto rendererCopy = std::make_shared<SDKTextAnnotationVO>(*finished);
    textBoxes().didTextAnnotationCompleteWithTextAnnotation(finished, rendererCopy);

    auto stored = m_store->textAnnotationVOForPageID("10", "v", "42", 5000000000);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]->bookVersion, "3.1");
    EXPECT_EQ(stored[0]->text, "hello");
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeNone);
    EXPECT_FALSE(textBoxes().textAnnotationPlayerBottomActionBarView());

    finished->status = UGCStatusDeleted;
    textBoxes().didTextAnnotationCompleteWithTextAnnotation(finished, rendererCopy);
    EXPECT_TRUE(m_store->textAnnotationVOForPageID("10", "v", "42", 5000000000).empty());
    // Nothing is uploaded here.
    EXPECT_EQ(m_renderer->countOf("drawTextAnnotation"), 0u);
}

TEST_F(TextAnnotationRoadTests, OnlyFixedLayoutPagesGetTheirBoxesAndOnlyWithTheFeatureOn)
{
    storedBox("10", "v");
    struct Case {
        const char* name;
        std::shared_ptr<LectoroBookVO> book;
        bool enabled;
        bool drawn;
    };
    auto reflowable = std::make_shared<EPUBBookVO>();
    auto fixed = std::make_shared<EPUBBookVO>();
    fixed->meta.layout = 1;
    const Case cases[] = {
        { "page book", m_book, true, true },
        { "fixed-layout EPUB", fixed, true, true },
        { "reflowable EPUB", reflowable, true, false },
        { "feature off", m_book, false, false },
    };
    for (const auto& c : cases) {
        m_renderer->clearCalls();
        m_context.currentBook = c.book;
        m_settings->setIsTextAnnotationEnabled(c.enabled);
        textBoxes().drawTextAnnotationsOnPageNumber("10", "v");
        auto drawn = m_renderer->lastCall("drawTextAnnotation");
        EXPECT_EQ(drawn.has_value(), c.drawn) << c.name;
        if (drawn && c.drawn) {
            EXPECT_EQ(drawn->arguments.at(0).asList()->size(), 1u);
            EXPECT_EQ(drawn->arguments.at(1).asInteger(), 10);
        }
    }
}

TEST_F(TextAnnotationRoadTests, DeleteAsksFirstThenTheRendererDeletesAndTheModeEnds)
{
    struct Case {
        bool pad;
        ui::AlertControllerStyle style;
        ui::AlertActionStyle cancel;
        ui::AlertActionStyle remove;
    };
    const Case cases[] = {
        { false, ui::AlertControllerStyle::ActionSheet, ui::AlertActionStyle::Cancel,
            ui::AlertActionStyle::Destructive },
        { true, ui::AlertControllerStyle::Alert, ui::AlertActionStyle::Default,
            ui::AlertActionStyle::Default },
    };
    for (const auto& c : cases) {
        ui::Environment::current().setIdiom(
            c.pad ? ui::UserInterfaceIdiom::Pad : ui::UserInterfaceIdiom::Phone);
        uitest::showInWindow(m_host.controller);
        beginEditing("text");
        textBoxes().addTextAnnotationTextColorView();
        m_renderer->clearCalls();
        textBoxes().actionForDeleteTextAnnotation();
        uitest::completePresentations();
        // Asking closes the pop-up and leaves the box alone.
        EXPECT_FALSE(textBoxes().textAnnotationColorActionBarView());
        EXPECT_EQ(m_renderer->countOf("deleteTextAnnotation"), 0u);
        auto sheet = uitest::topmostAlert();
        ASSERT_TRUE(sheet);
        EXPECT_EQ(sheet, textBoxes().actionSheet());
        EXPECT_EQ(sheet->preferredStyle(), c.style);
        EXPECT_EQ(sheet->message(), "Do you wish to delete this text box?");
        ASSERT_EQ(sheet->actions().size(), 2u);
        EXPECT_EQ(sheet->actions()[0]->style(), c.cancel);
        EXPECT_EQ(sheet->actions()[1]->style(), c.remove);

        ASSERT_TRUE(uitest::tapAction("Delete"));
        uitest::completePresentations();
        EXPECT_EQ(m_renderer->countOf("deleteTextAnnotation"), 1u);
        EXPECT_EQ(m_context.activeMode, ReaderActiveModeNone);
        EXPECT_FALSE(textBoxes().textAnnotationPlayerBottomActionBarView());
    }
}

TEST_F(TextAnnotationRoadTests, CancellingTheConfirmationKeepsTheBoxAndTheReaderOnScreen)
{
    // The reader is itself shown by the host's screen; cancelling must dismiss only the
    // confirmation, never the reader.
    auto hostScreen = ui::ViewController::create();
    uitest::showInWindow(hostScreen);
    hostScreen->presentViewController(m_host.controller, false);
    uitest::completePresentations();
    beginEditing("text");
    textBoxes().actionForDeleteTextAnnotation();
    uitest::completePresentations();
    ASSERT_TRUE(uitest::tapAction("Cancel"));
    uitest::completePresentations();

    EXPECT_EQ(hostScreen->presentedViewController(), m_host.controller);
    EXPECT_FALSE(m_host.controller->presentedViewController());
    EXPECT_EQ(m_renderer->countOf("deleteTextAnnotation"), 0u);
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeTextAnnotation);
    EXPECT_TRUE(textBoxes().textAnnotationPlayerBottomActionBarView());
}

TEST_F(TextAnnotationRoadTests, ThePageMovesClearOfTheKeyboardAndBackWhenItGoesOrTheBoxEnds)
{
    auto pageView = m_renderer->view();
    // A box low on the page: bottom 700 + 50 reaches the keyboard's top at 512.
    auto textView = showBox({ { 40, 640 }, { 200, 60 } }, "low");
    textBoxes().didTextAnnotationBeginEditing(textView);
    textBoxes().updatePlayerBottomBarPositionWithKeyboardSize({ { 0, 512 }, { 375, 300 } });
    base::RunLoop::main().advanceBy(0.5);
    EXPECT_EQ(pageView->frame().origin.y, -(640 - 512 + 60 + 50.0));
    EXPECT_TRUE(pageView->translatesAutoresizingMaskIntoConstraints());

    textBoxes().updatePlayerBottomBarPositionWithKeyboardSize(ui::Rect {});
    base::RunLoop::main().advanceBy(0.5);
    EXPECT_EQ(pageView->frame().origin.y, 0);
    EXPECT_FALSE(pageView->translatesAutoresizingMaskIntoConstraints());

    // Saving while the keyboard is still up: the mode ends before the keyboard goes down,
    // so the page goes back as the box is left.
    textBoxes().updatePlayerBottomBarPositionWithKeyboardSize({ { 0, 512 }, { 375, 300 } });
    base::RunLoop::main().advanceBy(0.5);
    ASSERT_LT(pageView->frame().origin.y, 0);
    textBoxes().removeTextAnnotationView();
    base::RunLoop::main().advanceBy(0.5);
    EXPECT_EQ(pageView->frame().origin.y, 0);
    textBoxes().updatePlayerBottomBarPositionWithKeyboardSize(ui::Rect {});
    EXPECT_EQ(pageView->frame().origin.y, 0);
}

} // namespace
} // namespace lectoro::annotationstest
