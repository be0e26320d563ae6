// Clearing answers and drawings: the confirmation, the store's submitted flag by class
// association, teacher review's page and book clearing, the clear-all and read-aloud items,
// and the reset dialog.

#include "annotations/pen/PenTestSupport.h"

#include "LectoroSDKWithReader/annotations/pen/ResetAllViewController.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"

namespace lectoro::pentest {
namespace {

class ClearAnswersTests : public PenRoadTest {
protected:
    void SetUp() override
    {
        PenRoadTest::SetUp();
        m_bottomBar = PlayerActionBar::create();
        m_bottomBar->addActionBarItem(PlayerActionBarItem::createWithLabel(PlayerItemClearAllFIBs, "C"), 40, 0, true);
        m_bottomBar->addActionBarItem(PlayerActionBarItem::createWithLabel(PlayerItemReadAloud, "R"), 40, 0, true);
        m_context.playerBottomActionBarView = m_bottomBar;
        m_penHost.verticalBar = PlayerActionBar::create();
        m_penHost.verticalBar->addActionBarItem(PlayerActionBarItem::createWithLabel(PlayerItemClearAllFIBs, "C"), 40, 0, true);
    }

    // An answer on page 10 ("iv"), handed in or not.
    void answer(int64_t linkID, bool submitted)
    {
        auto record = std::make_shared<SDKFIBVO>();
        record->localID = "fib" + std::to_string(linkID);
        record->linkID = linkID;
        record->text = "42";
        record->pageIdentifier = "10";
        record->displayNum = "iv";
        record->isSubmitted = submitted;
        ASSERT_TRUE(m_store->saveFIB(record, "42", 5000000000).ok());
    }

    double clearItemAlpha() { return ClearAnswersRoad::getClearAllFIBsButtonForPlayer(*m_bottomBar)->alpha(); }

    std::shared_ptr<PlayerActionBar> m_bottomBar;
};

TEST_F(ClearAnswersTests, NoClearsNothingAndYesClearsTheVisiblePagesRedrawingEachWithItsOwnFolio)
{
    answer(1, false);
    clearing().didTapOnClearAllFIBs();
    auto alert = uitest::topmostAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->actions().at(0)->titleTextColor(), std::optional<ui::Color>(ui::Color::black()));
    ASSERT_TRUE(uitest::tapAction("NO"));
    uitest::completePresentations();
    EXPECT_TRUE(m_store->isFIBsAvailableOnPageID("10", "iv", "42", 5000000000, true));

    clearing().didTapOnClearAllFIBs();
    ASSERT_TRUE(uitest::tapAction("YES"));
    uitest::completePresentations();
    EXPECT_FALSE(m_store->isFIBsAvailableOnPageID("10", "iv", "42", 5000000000, true));
    std::vector<std::string> markups;
    for (const auto& layer : m_penHost.overlays.layers) {
        if (layer.rfind("markups:", 0) == 0)
            markups.push_back(layer);
    }
    EXPECT_EQ(markups, std::vector<std::string>({ "markups:10/iv", "markups:11/v" }));
    EXPECT_DOUBLE_EQ(clearItemAlpha(), 0.5);
}

TEST_F(ClearAnswersTests, AClassAssociationAsksForAnswersNotYetHandedIn)
{
    // Only a handed-in answer: with a class there is nothing left to clear.
    answer(1, true);
    struct Case {
        bool classAssociation;
        double alpha;
    };
    for (const auto& c : { Case { true, 0.5 }, Case { false, 1.0 } }) {
        m_context.hasClassAssociation = c.classAssociation;
        EXPECT_EQ(clearing().submittedFlag(), !c.classAssociation);
        clearing().updateClearAllFIBsButtonStatus();
        EXPECT_DOUBLE_EQ(clearItemAlpha(), c.alpha) << c.classAssociation;
        auto vertical = ClearAnswersRoad::getClearAllFIBsButtonForPlayer(*m_penHost.verticalBar);
        EXPECT_DOUBLE_EQ(vertical->alpha(), c.alpha) << c.classAssociation;
        EXPECT_EQ(vertical->isEnabled(), c.alpha == 1.0);
    }
    // Clearing with a class leaves the handed-in answer alone.
    m_context.hasClassAssociation = true;
    clearing().clearAllFIBs();
    EXPECT_TRUE(m_store->isFIBsAvailableOnPageID("10", "iv", "42", 5000000000, true));
}

TEST_F(ClearAnswersTests, AReflowableBookHasNothingToClear)
{
    answer(1, false);
    useReflowableBook();
    clearing().clearAllFIBs();
    clearing().updateClearAllFIBsButtonStatus();
    EXPECT_TRUE(m_store->isFIBsAvailableOnPageID("10", "iv", "42", 5000000000, true));
    EXPECT_DOUBLE_EQ(clearItemAlpha(), 1.0);
}

TEST_F(ClearAnswersTests, TheReadAloudItemFollowsTheVisibleChaptersAndAStrayIndexHasNoChapter)
{
    auto epub = std::make_shared<EPUBBookVO>();
    for (bool supported : { false, true }) {
        auto chapter = std::make_shared<EPUBChapterVO>();
        chapter->fileIndex = static_cast<int64_t>(epub->chapters.size());
        chapter->isAudioSyncSupported = supported;
        epub->chapters.push_back(chapter);
    }
    m_context.currentBook = epub;
    auto item = ClearAnswersRoad::getAudioButtonForPlayer(*m_bottomBar);
    struct Case {
        std::vector<int64_t> pages;
        double alpha;
    };
    const Case cases[] = {
        { { 0 }, 0.5 },
        { { 0, 1 }, 1.0 },
        { { 7 }, 0.5 },
        { { -1, 1 }, 1.0 },
        { {}, 0.5 },
    };
    for (const auto& c : cases) {
        std::vector<RendererPage> pages;
        for (auto index : c.pages)
            pages.push_back(page(index, std::to_string(index)));
        m_renderer->setActivePages(pages);
        clearing().changeAudioButtonStatus();
        EXPECT_DOUBLE_EQ(item->alpha(), c.alpha) << c.pages.size();
        EXPECT_EQ(item->isEnabled(), c.alpha == 1.0);
    }
}

TEST_F(ClearAnswersTests, TeacherReviewClearsThroughTheLearnerPanel)
{
    RecordingReviewPanel panel;
    m_penHost.panel = &panel;
    openPen();
    m_context.activeMode = ReaderActiveModeTeacherReview;

    clearing().clearAllFIBs();
    EXPECT_EQ(panel.calls, std::vector<std::string>({ "clearFIBs:10", "drawFIB:10", "drawDropDown:10", "clearFIBs:11",
                               "drawFIB:11", "drawDropDown:11" }));
    panel.calls.clear();
    panel.annotationEnabled = false;
    clearing().clearAllPenDrawings();
    EXPECT_EQ(panel.calls, std::vector<std::string>({ "clearPen:10", "clearPen:11" }));
    panel.calls.clear();
    clearing().clearAllPagePenDrawings();
    EXPECT_EQ(panel.calls, std::vector<std::string>({ "clearAllPen", "drawPen:10", "drawPen:11" }));

    // The pen bar's delete item stands for clearing in review.
    auto remove = penItem(PlayerItemPenDeleteSelection);
    panel.available = true;
    clearing().updateClearAllFIBsButtonStatus();
    EXPECT_DOUBLE_EQ(remove->alpha(), 1.0);
    m_renderer->setActivePages({});
    clearing().updateClearAllFIBsButtonStatus();
    EXPECT_DOUBLE_EQ(remove->alpha(), 0.5);

    // Outside review the learner's book is not touched.
    panel.calls.clear();
    m_context.activeMode = ReaderActiveModePenTool;
    clearing().clearAllPageFIBs();
    EXPECT_TRUE(panel.calls.empty());
}

class ResetAllDialogTests : public PenRoadTest {
protected:
    std::shared_ptr<ResetAllViewController> present()
    {
        auto dialog = ResetAllViewController::create();
        dialog->setOkButtonAction([this](bool current) { choices.push_back(current ? "current" : "all"); });
        dialog->setCancelButtonAction([this] { choices.push_back("cancel"); });
        auto navigation = ui::NavigationController::create(dialog);
        navigation->setNavigationBarHidden(true);
        m_penHost.controller->presentViewController(navigation, true);
        uitest::completePresentations();
        dialog->view();
        return dialog;
    }
    std::vector<std::string> choices;
};

TEST_F(ResetAllDialogTests, OkWithoutAChoiceReportsTheCurrentPageAndTheOtherOptionReportsAllPages)
{
    auto dialog = present();
    EXPECT_EQ(dialog->currentPageRadioIcon()->text(), RADIO_SELECT);
    EXPECT_EQ(dialog->allPageRadioIcon()->text(), RADIO_UNSELECT);
    ASSERT_TRUE(uitest::tap(*dialog->okButton()));
    uitest::completePresentations();
    EXPECT_FALSE(m_penHost.controller->presentedViewController());

    dialog = present();
    ASSERT_TRUE(uitest::tap(*dialog->allPageRadioIcon()->superview()));
    EXPECT_EQ(dialog->allPageRadioIcon()->text(), RADIO_SELECT);
    EXPECT_FALSE(dialog->isEnableCurrentPage());
    ASSERT_TRUE(uitest::tap(*dialog->okButton()));
    uitest::completePresentations();

    dialog = present();
    ASSERT_TRUE(uitest::tap(*dialog->cancelButton()));
    uitest::completePresentations();
    EXPECT_EQ(choices, std::vector<std::string>({ "current", "all", "cancel" }));
}

TEST_F(ResetAllDialogTests, TheCardTakesTheDevicesSizes)
{
    struct Case {
        ui::UserInterfaceIdiom idiom;
        ui::Size card;
        double corner;
        double buttonHeight;
        double rowHeight;
    };
    for (const auto& c : { Case { ui::UserInterfaceIdiom::Phone, { 300, 220 }, 5.0, 50, 40 },
             Case { ui::UserInterfaceIdiom::Pad, { 400, 300 }, 8.0, 70, 50 } }) {
        ui::Environment::current().setIdiom(c.idiom);
        auto dialog = ResetAllViewController::create();
        auto root = dialog->view();
        auto card = dialog->mainView();
        EXPECT_EQ(card->frame().size, c.card);
        EXPECT_DOUBLE_EQ(card->frame().midX(), root->bounds().midX());
        EXPECT_DOUBLE_EQ(card->layer()->cornerRadius(), c.corner);
        EXPECT_DOUBLE_EQ(dialog->okButton()->frame().size.height, c.buttonHeight);
        EXPECT_DOUBLE_EQ(dialog->okButton()->frame().size.width, c.card.width / 2);
        EXPECT_DOUBLE_EQ(dialog->optionRow()->frame().size.height, c.rowHeight);
        EXPECT_DOUBLE_EQ(dialog->optionRow()->frame().maxY(), c.card.height - c.buttonHeight - 10);
        EXPECT_EQ(dialog->titleLabel()->text(), "Reset all");
    }
}

} // namespace
} // namespace lectoro::pentest
