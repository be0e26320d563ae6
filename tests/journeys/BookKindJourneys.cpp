// Each kind of page book opened from the launcher, paged with a finger, and closed with its
// back button: the reader shows the book, turns, and the last page reaches the store and
// the host.

#include "journeys/JourneySupport.h"

#include "LectoroSDKWithReader/readersdk/YSDBManager.h"

namespace lectoro::journeys {
namespace {

class BookKindJourney : public Journey, public ::testing::WithParamInterface<SampleBook> { };

TEST_P(BookKindJourney, OpensPagesAndClosesWithTheLastPageSaved)
{
    auto reader = open(GetParam());
    ASSERT_TRUE(reader);
    auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView());
    ASSERT_TRUE(renderer && renderer->isBookLoaded());
    ASSERT_FALSE(renderer->getActivePages().empty());
    auto first = renderer->getActivePages().front();

    // A finger moving against the reading direction turns the page forward.
    ASSERT_TRUE(renderer->swipe(GetParam() == SampleBook::RightToLeftEpub ? companion::RendererSwipe::Right
                                                                          : companion::RendererSwipe::Left));
    settle();
    picture("turned");
    ASSERT_FALSE(renderer->getActivePages().empty());
    auto second = renderer->getActivePages().front();
    // A reflowable chapter's pages share their chapter's entry; a fixed page is a page.
    if (GetParam() == SampleBook::PageBook || GetParam() == SampleBook::FixedEpub) {
        EXPECT_TRUE(second.pageID != first.pageID || second.displayNum != first.displayNum) << "the page turned";
    }
    expectReading(*reader);

    // Back closes the book: the host hears it with the page the reader was on.
    ASSERT_TRUE(tapBarItem(*reader, reader->context().playerTopActionBarView, PlayerItemBackToBookshelf));
    settle();
    ASSERT_FALSE(m_host->closes.empty());
    EXPECT_EQ(m_host->closes.back().bookID, "1001");
    ASSERT_TRUE(m_host->closes.back().lastPageFolio);
    EXPECT_FALSE(m_host->closes.back().lastPageFolio->empty());
    EXPECT_FALSE(m_launcher->reader()) << "the reader is gone";
}

INSTANTIATE_TEST_SUITE_P(SampleBooks, BookKindJourney,
    ::testing::Values(SampleBook::PageBook, SampleBook::ReflowableEpub, SampleBook::FixedEpub,
        SampleBook::RightToLeftEpub),
    [](const ::testing::TestParamInfo<SampleBook>& info) {
        switch (info.param) {
        case SampleBook::PageBook:
            return std::string("PageBook");
        case SampleBook::ReflowableEpub:
            return std::string("ReflowableEpub");
        case SampleBook::FixedEpub:
            return std::string("FixedEpub");
        case SampleBook::RightToLeftEpub:
            return std::string("RightToLeftEpub");
        case SampleBook::LongEpub:
            return std::string("LongEpub");
        }
        return std::string("Book");
    });

} // namespace
} // namespace lectoro::journeys
