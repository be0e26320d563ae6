#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "LectoroSDKWithReader/readersdk/widgets/BookMarkController.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVLectoroFontManager.h"
#include "LectoroSDKWithReader/readersdk/widgets/BookMarkView.h"
#include "LectoroSDKWithReader/readersdk/widgets/EquationEditorKeyboardViewController.h"
#include "LectoroSDKWithReader/readersdk/widgets/GlossaryViewController.h"
#include "LectoroSDKWithReader/readersdk/widgets/HighlightActionView.h"
#include "LectoroSDKWithReader/readersdk/widgets/LinkDropDownViewController.h"
#include "LectoroSDKWithReader/readersdk/widgets/MVFIB.h"
#include "LectoroSDKWithReader/readersdk/widgets/MarkupView.h"
#include "LectoroSDKWithReader/readersdk/widgets/StickyNoteController.h"
#include "companion/books/PageBookMarkups.h"
#include "companion/renderer/BookRenderer.h"
#include "platform/base/RunLoop.h"
#include "platform/testing/UIScope.h"
#include "platform/ui/Environment.h"

#include <gtest/gtest.h>

using namespace lectoro;

namespace {

using Lines = std::vector<std::string>;

// One delegate for every widget: each report becomes a line of the log.
class RecordingWidgetDelegate : public HighlightActionViewDelegate,
                                public BookMarkViewDelegate,
                                public BookmarkControllerDelegate,
                                public StickyNoteControllerDelegate,
                                public MVFIBDelegate,
                                public FIBMathEquationViewDelegate,
                                public LinkDropDownViewControllerDelegate,
                                public GlossaryViewControllerDelegate,
                                public EquationEditorKeyboardViewControllerDelegate {
public:
    void didHighlightClosed() override { log.push_back("highlightClosed"); }
    void didTapOnBookMark(BookMarkView& view) override
    {
        log.push_back("bookmarkTap:" + std::to_string(view.pageNumber()));
    }
    void didBookmarkCompleteWithBookmarkVO(std::shared_ptr<SDKBookmarkVO> record) override
    {
        log.push_back("bookmark:" + record->title + ":" + std::to_string(record->status));
    }
    void didTapOnStickNoteController(StickyNoteController&, const ui::Point& point) override
    {
        log.push_back("sticky:" + std::to_string(static_cast<int>(point.x)) + ","
            + std::to_string(static_cast<int>(point.y)));
    }
    void didUpdateSDKFIBVO(std::shared_ptr<SDKFIBVO> fib) override
    {
        log.push_back("fib:" + fib->text + ":" + std::to_string(fib->status));
        fibs.push_back(fib);
    }
    void didSelectSubmittedFIB(
        std::shared_ptr<SDKFIBVO> fib, std::shared_ptr<PXLinkVO>, std::shared_ptr<ui::View>) override
    {
        log.push_back("submittedFib:" + fib->text);
    }
    bool shouldAllowEditingForLinkVO(std::shared_ptr<PXLinkVO>) override { return allowEditing; }
    void showEquationEditorKeyboardForLink(std::shared_ptr<PXLinkVO>, std::shared_ptr<SDKFIBVO>) override
    {
        log.push_back("equationKeyboard");
    }
    void didSelectSubmittedEquation(
        FIBMathEquationView&, std::shared_ptr<PXLinkVO>, std::shared_ptr<ui::View>) override
    {
        log.push_back("submittedEquation");
    }
    void didSelectDropDownItemWithText(const std::string& text, std::shared_ptr<MarkupView> box) override
    {
        log.push_back("dropDown:" + text + ":" + std::to_string(box ? box->linkID : 0));
    }
    void didSelectActionToCloseDropDown() override { log.push_back("dropDownClosed"); }
    void didSelectGlossaryItemWithType(int64_t kind, const std::string& path) override
    {
        log.push_back("glossary:" + std::to_string(kind) + ":" + path);
    }
    void changeEquationKeyboardToNormalForLink(
        std::shared_ptr<PXLinkVO>, std::shared_ptr<SDKFIBVO>, const std::string& text) override
    {
        log.push_back("normalKeyboard:" + text);
    }
    void saveEquationEditorForLink(
        std::shared_ptr<PXLinkVO>, std::shared_ptr<SDKFIBVO>, const std::string& text) override
    {
        log.push_back("saveEquation:" + text);
    }
    void closeEquationEditor() override { log.push_back("closeEquation"); }

    Lines log;
    bool allowEditing = true;
    std::vector<std::shared_ptr<SDKFIBVO>> fibs;
};

class FrameworkWidgetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui::Environment::current().setScreenSize({ 768, 1024 });
        ui::Environment::current().setInterfaceOrientation(ui::Orientation::Portrait);
    }

    std::shared_ptr<companion::BookRenderer> openSample()
    {
        auto renderer = companion::BookRenderer::create(
            std::string(LECTORO_SAMPLES_DIR) + "/books/sample-pagebook", {});
        renderer->view()->setFrame({ { 0, 0 }, { 768, 1024 } });
        base::RunLoop::main().runUntilIdle();
        return renderer;
    }

    static std::shared_ptr<PXLinkVO> fillInLink()
    {
        auto link = std::make_shared<PXLinkVO>();
        link->linkID = 1051;
        link->linkType = 5;
        link->pageID = "105";
        link->folioNumber = "3";
        link->boxTansformedRect = { { 200, 300 }, { 160, 36 } };
        return link;
    }

    uitest::UIScope scope;
    std::shared_ptr<RecordingWidgetDelegate> delegate = std::make_shared<RecordingWidgetDelegate>();
};

TEST_F(FrameworkWidgetTest, TheHighlightPopUpKnowsItsHighlightAndClosesOnATapBeside)
{
    auto renderer = openSample();
    renderer->navigateToPageNumber("103");
    auto popup = HighlightActionView::create({ { 0, 0 }, { 300, 44 } });
    popup->setDelegate(delegate);
    renderer->setHighlightView(popup);

    ASSERT_TRUE(renderer->selectWords(103, 3, 5));
    ASSERT_TRUE(renderer->openHighlightView(popup, 103, renderer->selection()->rectInView.origin));
    EXPECT_FALSE(popup->highlightVO()) << "fresh text";
    renderer->highlight(popup, "#FFFF00", "#FFFF00", false);
    auto highlight = renderer->overlayForPage(103).highlights.at(0);

    ASSERT_TRUE(renderer->selectWords(103, 4, 4));
    ASSERT_TRUE(renderer->openHighlightView(popup, 103, renderer->selection()->rectInView.origin));
    EXPECT_EQ(popup->highlightVO(), highlight) << "opened on a word of the highlight";
    renderer->tapPoint(103, { 600, 900 });
    EXPECT_FALSE(popup->superview());
    EXPECT_FALSE(renderer->hasSelection());
    EXPECT_EQ(delegate->log, (Lines { "highlightClosed" }));
}

TEST_F(FrameworkWidgetTest, BookmarksAreMarkedNamedAndDeleted)
{
    auto renderer = openSample();
    auto icon = BookMarkView::create("q", "p");
    icon->setDelegate(delegate);
    renderer->addBookmarkView(icon, 101);
    EXPECT_EQ(icon->pageNumber(), 101);
    EXPECT_EQ(icon->iconLabel()->text(), "q");
    EXPECT_EQ(icon->iconLabel()->font().name(), MVLectoroFontManager::getFontName());
    EXPECT_TRUE(renderer->pageView(101)->bounds().contains(icon->frame()));
    icon->tap();

    auto popup = BookMarkController::create();
    popup->setDelegate(delegate);
    popup->setBookmarkVO(renderer->getBookmarkVOForPageNo(101));
    popup->setBackgroundColorForView("#FFEEDD");
    popup->textField()->setText("   ");
    popup->completeBookmark();
    popup->textField()->setText("Start here");
    popup->completeBookmark();
    auto record = popup->getBookmarkVO();
    renderer->addBookmark(record, 101);
    EXPECT_TRUE(icon->isSelected());
    EXPECT_EQ(icon->iconLabel()->text(), "p");

    // Emptying the name of an existing bookmark deletes it, and the icon shows it.
    popup->textField()->setText("");
    popup->completeBookmark();
    renderer->setBookmarkVO(record);
    EXPECT_FALSE(icon->isSelected());
    EXPECT_EQ(delegate->log, (Lines { "bookmarkTap:101", "bookmark:Start here:1", "bookmark:Start here:3" }));
    EXPECT_EQ(record->pageIdentifier, "101");
}

TEST_F(FrameworkWidgetTest, AnswerFieldsMakeChangeAndDeleteTheirRecord)
{
    auto field = MVFIB::create(fillInLink(), nullptr, false);
    field->setDelegate(delegate);
    EXPECT_EQ(field->tag(), 1051);
    EXPECT_EQ(field->frame(), fillInLink()->boxTansformedRect);

    ASSERT_TRUE(field->beginEditing());
    field->endEditingWithText(" full ");
    ASSERT_EQ(delegate->fibs.size(), 1u);
    auto fib = delegate->fibs[0];
    EXPECT_EQ(fib->linkID, 1051);
    EXPECT_EQ(fib->pageIdentifier, "105");
    EXPECT_EQ(fib->displayNum, "3");
    fib->ugcID = "77";
    ASSERT_TRUE(field->beginEditing());
    field->endEditingWithText("heavy");
    ASSERT_TRUE(field->beginEditing());
    field->endEditingWithText("heavy");
    ASSERT_TRUE(field->beginEditing());
    field->endEditingWithText("");
    EXPECT_EQ(delegate->log, (Lines { "fib:full:1", "fib:heavy:2", "fib:heavy:3" }));

    // A learner's submitted answer is shown, not edited; a teacher may still edit it.
    fib->status = UGCStatusUpdated;
    fib->isSubmitted = true;
    delegate->log.clear();
    EXPECT_FALSE(MVFIB::create(fillInLink(), fib, false)->beginEditing());
    auto learnerField = MVFIB::create(fillInLink(), fib, false);
    learnerField->setDelegate(delegate);
    EXPECT_FALSE(learnerField->beginEditing());
    auto teacherField = MVFIB::create(fillInLink(), fib, true);
    teacherField->setDelegate(delegate);
    EXPECT_TRUE(teacherField->beginEditing());
    delegate->allowEditing = false;
    EXPECT_FALSE(teacherField->beginEditing()) << "the delegate may refuse";
    EXPECT_EQ(delegate->log, (Lines { "submittedFib:heavy" }));

    auto equation = FIBMathEquationView::create(fillInLink(), fib, { { 360, 300 }, { 40, 36 } }, true);
    equation->setDelegate(delegate);
    equation->tap();
    fib->isSubmitted = false;
    equation->tap();
    auto keyboard = EquationEditorKeyboardViewController::create(fib);
    keyboard->setDelegate(delegate);
    keyboard->typeKey("\xCF\x80");
    keyboard->typeKey("r");
    keyboard->deleteBackward();
    keyboard->save();
    keyboard->switchToNormalKeyboard();
    keyboard->close();
    EXPECT_EQ(delegate->log,
        (Lines { "submittedFib:heavy", "submittedEquation", "equationKeyboard", "saveEquation:heavy\xCF\x80",
            "normalKeyboard:heavy\xCF\x80", "closeEquation" }));
}

TEST_F(FrameworkWidgetTest, MarkupViewsDropDownsGlossaryAndStickyNotesReport)
{
    auto renderer = openSample();
    renderer->navigateToPageNumber("105");
    auto book = std::dynamic_pointer_cast<PXBookVO>(renderer->currentBook());
    auto link = book->links.at("1052");
    auto box = MarkupView::create(link->boxTansformedRect);
    box->pageID = 105;
    box->linkID = link->linkID;
    box->updateForDropDownWithInputText("Select", link->properties);
    auto hitArea = MarkupHitAreaLabel::create(link->boxTansformedRect);
    link->iconView = box;
    link->iconHitAreaLabel = hitArea;
    renderer->drawMarkups({ link }, 105);
    EXPECT_EQ(box->superview(), renderer->pageView(105));
    EXPECT_EQ(hitArea->superview(), renderer->pageView(105));
    EXPECT_EQ(box->frame(), link->boxTansformedRect);
    renderer->drawMarkups({}, 105);
    EXPECT_FALSE(box->superview()) << "drawing the page again takes the old views off";

    std::vector<std::string> items { "Select" };
    for (const auto& item : companion::dropDownItems(*link))
        items.push_back(item);
    auto list = LinkDropDownViewController::create(items, box);
    list->setDelegate(delegate);
    ASSERT_EQ(list->rows().size(), 4u);
    // A row's tap reports its choice, then asks for the list to close.
    list->rows()[2]->sendActions(ui::ControlEvent::TouchUpInside);
    list->selectItemAtIndex(9);

    auto glossary = GlossaryViewController::create();
    glossary->setDelegate(delegate);
    glossary->setGlossaryItem(book->glossary["evaporation"]);
    EXPECT_EQ(glossary->keywordLabel()->text(), "Evaporation");
    EXPECT_EQ(glossary->alphabetLabel()->text(), "E");
    ASSERT_EQ(glossary->mediaButtons().size(), 2u);
    glossary->mediaButtons()[1]->sendActions(ui::ControlEvent::TouchUpInside);

    auto sticky = StickyNoteController::create({ { 0, 0 }, { 768, 1024 } }, delegate);
    sticky->tapAtPoint({ 120, 340 });
    sticky->tapAtPoint({ 900, 10 });
    EXPECT_EQ(delegate->log,
        (Lines { "dropDown:cools:1052", "dropDownClosed", "glossary:2:assets/media/evaporation.jpg",
            "sticky:120,340" }));
}

} // namespace
