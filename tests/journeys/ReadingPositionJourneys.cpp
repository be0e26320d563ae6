// Where a reflowable book is: closed on a page inside a chapter, it opens there again; and
// the share of the book read, as the host hears it while the reader turns pages.

#include "journeys/JourneySupport.h"

#include "LectoroSDKWithReader/reader/ReaderReflowable.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowablePageCount.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowablePageCountView.h"
#include "platform/ui/Label.h"

#include <cmath>

namespace lectoro::journeys {
namespace {

class ReadingPositionJourney : public Journey {
protected:
    // The page-count strip under the text, as the reader sees it.
    static std::string strip(ReaderViewController& reader)
    {
        auto* count = reader.reflowable().pageCount();
        auto view = count ? count->reflowableSliderPageCountView() : nullptr;
        if (!view || view->isHidden() || !view->window())
            return {};
        return view->pageLabel()->text();
    }

    // A finger moving against the reading direction, as many times as asked.
    void turnForward(ReaderViewController& reader, int turns)
    {
        for (int turn = 0; turn < turns; ++turn) {
            ASSERT_TRUE(rendererOf(reader)->swipe(companion::RendererSwipe::Left));
            settle();
        }
    }

    // The page's place in the whole book, from 1.
    static int64_t absolutePage(companion::BookRenderer& renderer)
    {
        auto shown = renderer.currentReflowPage();
        if (!shown)
            return 0;
        int64_t before = 0;
        for (int64_t chapter : renderer.pageNumbers()) {
            if (chapter == shown->chapter)
                break;
            before += static_cast<int64_t>(renderer.reflowPage(chapter, 0)->count);
        }
        return before + static_cast<int64_t>(shown->index) + 1;
    }
};

TEST_F(ReadingPositionJourney, AReflowableBookClosedInsideAChapterReopensOnThatPage)
{
    auto reader = open(SampleBook::LongEpub);
    ASSERT_TRUE(reader);
    auto renderer = rendererOf(*reader);
    ASSERT_GT(renderer->reflowPage(0, 0)->count, 4u) << "the first chapter runs past its fourth page";
    turnForward(*reader, 3);
    const std::string closedOn = strip(*reader);
    EXPECT_EQ(closedOn.rfind("Page 4 of ", 0), 0u) << closedOn;
    const std::string position = renderer->getCurrentCFI();
    ASSERT_FALSE(position.empty());
    picture("closed-on");

    ASSERT_TRUE(tapBarItem(*reader, reader->context().playerTopActionBarView, PlayerItemBackToBookshelf));
    settle();
    ASSERT_FALSE(m_host->closes.empty());
    ASSERT_TRUE(m_host->closes.back().lastPageFolio);
    EXPECT_NE(m_host->closes.back().lastPageFolio->find(position), std::string::npos)
        << "the host keeps the position: " << *m_host->closes.back().lastPageFolio;
    reader.reset();
    renderer.reset();

    // The host opens the book again with a new launcher; the position comes from the store.
    m_launcher = LectoroReaderViewController::create();
    m_launcher->setDelegate(m_host);
    uitest::showInWindow(m_launcher);
    reader = open(SampleBook::LongEpub);
    ASSERT_TRUE(reader);
    renderer = rendererOf(*reader);
    // The book laid out again in the background, the strip shows the book's count too.
    settle();
    picture("reopened");
    EXPECT_EQ(strip(*reader), closedOn);
    auto shown = renderer->currentReflowPage();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->chapter, 0);
    EXPECT_EQ(shown->index, 3u);
    EXPECT_EQ(renderer->getCurrentCFI(), position);
    expectReading(*reader);
}

TEST_F(ReadingPositionJourney, TheHostHearsTheShareReadOnlyOnceTheBookIsLaidOut)
{
    auto reader = open(SampleBook::ReflowableEpub);
    ASSERT_TRUE(reader);
    auto renderer = rendererOf(*reader);
    auto total = renderer->reflowBookPageCount();
    ASSERT_TRUE(total) << "the book is laid out once the reader has settled";
    ASSERT_GT(*total, 1);
    // The first page is a small part of the book, however few chapters were laid out first.
    ASSERT_FALSE(m_host->readPercentages.empty());
    for (int64_t heard : m_host->readPercentages)
        EXPECT_NE(heard, 100) << "heard 100% on the first page";
    const auto truePercentage = [&] {
        return static_cast<int64_t>(std::trunc(static_cast<float>(absolutePage(*renderer)) / static_cast<float>(*total) * 100.0f));
    };
    EXPECT_EQ(m_host->readPercentages.back(), truePercentage());
    EXPECT_NE(strip(*reader).find("/ " + std::to_string(*total)), std::string::npos) << strip(*reader);

    turnForward(*reader, 2);
    EXPECT_EQ(m_host->readPercentages.back(), truePercentage());
    EXPECT_GT(m_host->readPercentages.back(), m_host->readPercentages.front());
    expectReading(*reader);
}

} // namespace
} // namespace lectoro::journeys
