// The renderer's text box while it is edited: the owner's say before editing starts, the
// text view it reports, typing reported as it happens, and what each way out hands back.

#include "companion/renderer/BookRenderer.h"

#include "LectoroSDKWithReader/readersdk/records/SDKTextAnnotationVO.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/Environment.h"
#include "platform/ui/TextView.h"

#include <gtest/gtest.h>

namespace {

class TextBoxOwner : public lectoro::RendererViewControllerDelegate {
public:
    bool allows = true;
    std::vector<std::string> log;
    std::shared_ptr<ui::TextView> textView;
    std::vector<std::pair<std::shared_ptr<lectoro::SDKTextAnnotationVO>,
        std::shared_ptr<lectoro::SDKTextAnnotationVO>>>
        finished;

    bool textAnnotationShouldBeginEditing() override
    {
        log.push_back("should");
        return allows;
    }
    void didTextAnnotationBeginEditing(std::shared_ptr<ui::TextView> view) override
    {
        log.push_back("begin");
        textView = view;
    }
    void didTextAnnotationValueChanged(std::shared_ptr<ui::TextView> view) override
    {
        log.push_back("changed:" + view->text());
    }
    void didTextAnnotationCompleteWithTextAnnotation(std::shared_ptr<lectoro::SDKTextAnnotationVO> record,
        std::shared_ptr<lectoro::SDKTextAnnotationVO> copy) override
    {
        log.push_back("finished:" + std::to_string(record->status));
        finished.emplace_back(record, copy);
    }
};

class TextBoxEditingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui::Environment::current().setScreenSize({ 768, 1024 });
        ui::Environment::current().setInterfaceOrientation(ui::Orientation::Portrait);
        m_renderer = companion::BookRenderer::create(
            std::string(LECTORO_SAMPLES_DIR) + "/books/sample-pagebook", m_owner);
        m_renderer->view()->setFrame({ { 0, 0 }, { 768, 1024 } });
        base::RunLoop::main().runUntilIdle();
        m_page = m_renderer->getActivePages().at(0).pageID;
    }

    std::shared_ptr<lectoro::SDKTextAnnotationVO> startBox()
    {
        auto box = m_renderer->getTextAnnotationVOWithDefaultPosition();
        m_renderer->addTextAnnotation(box);
        return box;
    }

    ui::EnvironmentScope m_environment;
    std::shared_ptr<TextBoxOwner> m_owner = std::make_shared<TextBoxOwner>();
    std::shared_ptr<companion::BookRenderer> m_renderer;
    int64_t m_page = 0;
};

TEST_F(TextBoxEditingTest, AnOwnerThatSaysNoGetsNoBox)
{
    m_owner->allows = false;
    startBox();
    EXPECT_EQ(m_owner->log, std::vector<std::string> { "should" });
    EXPECT_FALSE(m_renderer->textAnnotationTextView());
    EXPECT_FALSE(m_renderer->settings().textAnnotationMode);
    m_renderer->exitTextAnnotationMode();
    EXPECT_TRUE(m_owner->finished.empty());
}

TEST_F(TextBoxEditingTest, ANewBoxIsTypedIntoAndHandedBackWhenKept)
{
    auto box = startBox();
    ASSERT_TRUE(m_owner->textView);
    EXPECT_EQ(m_owner->textView, m_renderer->textAnnotationTextView());
    EXPECT_TRUE(m_owner->textView->isFirstResponder());
    auto boxView = m_owner->textView->superview();
    ASSERT_TRUE(boxView && boxView->superview() == m_renderer->pageView(m_page));

    ASSERT_TRUE(m_owner->textView->insertText("Hi"));
    EXPECT_EQ(box->text, "Hi");
    m_renderer->updateTextAnnotationAlignment(2);
    m_renderer->updateTextAnnotationWithBackground("#FDD835", "#112233");
    EXPECT_EQ(m_owner->textView->textAlignment(), ui::TextAlignment::Right);
    EXPECT_EQ(m_owner->textView->backgroundColor(), ui::Color::fromRGB255(0xFD, 0xD8, 0x35));
    // A colour not given keeps the box's own.
    m_renderer->updateTextAnnotationWithBackground("", "");
    EXPECT_EQ(box->textColor, "#112233");

    m_renderer->exitTextAnnotationMode();
    EXPECT_EQ(m_owner->log, (std::vector<std::string> { "should", "begin", "changed:Hi", "finished:1" }));
    ASSERT_EQ(m_owner->finished.size(), 1u);
    EXPECT_EQ(m_owner->finished[0].first, box);
    EXPECT_NE(m_owner->finished[0].second, box);
    EXPECT_FALSE(boxView->superview());
    EXPECT_FALSE(m_owner->textView->isFirstResponder());
    ASSERT_EQ(m_renderer->overlayForPage(m_page).textAnnotations.size(), 1u);
}

TEST_F(TextBoxEditingTest, AStoredBoxIsEditedAsACopyThatClosingDrops)
{
    auto stored = startBox();
    m_owner->textView->insertText("kept");
    m_renderer->exitTextAnnotationMode();
    m_owner->log.clear();

    // Tapped, changed, closed without saving: the page keeps the stored box as it was.
    m_renderer->tapPoint(m_page, { stored->rect.midX(), stored->rect.midY() });
    ASSERT_TRUE(m_renderer->editingTextAnnotation());
    EXPECT_NE(m_renderer->editingTextAnnotation(), stored);
    EXPECT_EQ(m_owner->textView->text(), "kept");
    m_owner->textView->insertText(" more");
    m_renderer->removeTextAnnotationModeWithoutSave();
    EXPECT_EQ(stored->text, "kept");
    EXPECT_EQ(m_renderer->overlayForPage(m_page).textAnnotations.at(0), stored);

    // Emptied and kept: a stored box that lost its text is handed back deleted.
    m_renderer->tapPoint(m_page, { stored->rect.midX(), stored->rect.midY() });
    m_owner->textView->setSelectedRange({ 0, 4 });
    m_owner->textView->replaceRange({ 0, 4 }, "");
    m_renderer->exitTextAnnotationMode();
    ASSERT_FALSE(m_owner->finished.empty());
    EXPECT_EQ(m_owner->finished.back().first->status, lectoro::UGCStatusDeleted);
    EXPECT_TRUE(m_renderer->overlayForPage(m_page).textAnnotations.empty());

    // A new box never typed in leaves nothing behind.
    m_owner->finished.clear();
    startBox();
    m_renderer->exitTextAnnotationMode();
    EXPECT_TRUE(m_owner->finished.empty());
}

TEST_F(TextBoxEditingTest, DeletingTheEditedBoxHandsItBackDeleted)
{
    auto box = startBox();
    m_owner->textView->insertText("gone");
    m_renderer->deleteTextAnnotation();
    ASSERT_EQ(m_owner->finished.size(), 1u);
    EXPECT_EQ(m_owner->finished[0].first, box);
    EXPECT_EQ(box->status, lectoro::UGCStatusDeleted);
    EXPECT_FALSE(m_renderer->textAnnotationTextView());
    EXPECT_FALSE(m_renderer->settings().textAnnotationMode);
}

} // namespace
