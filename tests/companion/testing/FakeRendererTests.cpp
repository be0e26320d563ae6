#include "companion/testing/FakeRenderer.h"

#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "companion/renderer/RecordingRendererDelegate.h"
#include "platform/base/RunLoop.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

lectoro::RendererPage page(int64_t id, std::string display)
{
    lectoro::RendererPage page;
    page.pageID = id;
    page.displayNum = std::move(display);
    return page;
}

TEST(FakeRenderer, FiresLoadingAsTheRealRendererOrdersIt)
{
    auto delegate = std::make_shared<companiontest::RecordingRendererDelegate>();
    delegate->initialAnswer = "5";
    auto renderer = companion::testing::FakeRenderer::create("/books/b", delegate);
    auto book = std::make_shared<lectoro::PXBookVO>();
    EXPECT_EQ(renderer->loadBook(book, { page(5, "3"), page(6, "4") }), "5");
    EXPECT_EQ(delegate->log,
        (Lines { "initialDisplayNumber", "loaded", "willLoad:5:3", "didLoad:5:3", "available:1:5", "willLoad:6:4",
            "didLoad:6:4", "available:1:6" }));
    EXPECT_EQ(renderer->currentBook(), book);

    delegate->log.clear();
    renderer->showPages({ page(7, "") });
    EXPECT_EQ(delegate->log,
        (Lines { "available:0:5", "willUnload:5", "available:0:6", "willUnload:6", "willLoad:7:-", "didLoad:7:-",
            "available:1:7" }));
    EXPECT_EQ(renderer->getActivePages().size(), 1u);
}

TEST(FakeRenderer, RecordsCallsAndAnswersWhatTheTestSet)
{
    auto renderer = companion::testing::FakeRenderer::create();
    auto highlight = std::make_shared<lectoro::SDKHighlightVO>();
    highlight->text = "drops";
    renderer->setHighlightForSelection(highlight);
    renderer->drawHighlights({ highlight }, 103);
    renderer->navigateToPageNumber("104");
    renderer->highlightText("rain", 103, std::nullopt, std::string("para"));
    EXPECT_EQ(renderer->getHighlightForSelectedTextWithTextColor("#000", "#FF0"), highlight);
    renderer->enableFurthestPage(true);
    EXPECT_TRUE(renderer->isFurthestPageEnabled());

    EXPECT_EQ(renderer->callNames(),
        (Lines { "drawHighlights", "navigateToPageNumber", "highlightTextWithParagraph",
            "getHighlightForSelectedTextWithTextColor", "enableFurthestPage" }));
    auto drawn = renderer->lastCall("drawHighlights");
    ASSERT_TRUE(drawn);
    EXPECT_EQ(*drawn->arguments.at(0).at(0)["text"].asString(), "drops");
    EXPECT_EQ(drawn->arguments.at(1).integerValue(), 103);
    EXPECT_EQ(*renderer->lastCall("navigateToPageNumber")->arguments.at(0).asString(), "104");
    EXPECT_TRUE(renderer->lastCall("highlightTextWithParagraph")->arguments.at(2).isNull());

    // Callback answers come on the run loop.
    std::shared_ptr<lectoro::SDKHighlightVO> answered;
    renderer->getHighlightForSelectedTextEpubWithTextColor("#000", "#FF0", [&](auto record) { answered = record; });
    EXPECT_FALSE(answered);
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(answered, highlight);
}

} // namespace
