#include "companion/SampleBooks.h"
#include "companion/books/EpubBookLoader.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace lectoro;

using companiontest::loadSample;

TEST(SampleBooks, PageBookHasItsChaptersPagesAndFolios)
{
    auto book = loadSample<PXBookVO>("sample-pagebook");
    ASSERT_TRUE(book);
    EXPECT_EQ(book->kind(), LectoroBookKind::PageBook);
    EXPECT_EQ(book->bookID, "1001");
    ASSERT_EQ(book->chapters.size(), 4u);
    ASSERT_EQ(book->pageList.size(), 12u);

    std::vector<std::string> folios;
    for (const auto& page : book->pageList) {
        folios.push_back(page->displayNum);
        EXPECT_EQ(page->pageNum, page->pageID);
    }
    EXPECT_EQ(folios, (std::vector<std::string> { "i", "ii", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10" }));

    auto chapter = book->getChapterForPageID("105");
    ASSERT_TRUE(chapter);
    EXPECT_EQ(chapter->title, "Clouds and Rain");
    EXPECT_FALSE(book->getChapterForPageID("999"));

    auto thumbnails = book->getThumbnailData();
    ASSERT_EQ(thumbnails.count(), 4u);
    EXPECT_EQ(thumbnails.at(1)["ChapterTitle"], base::Value("Clouds and Rain"));
    const auto& firstPage = thumbnails.at(1)["Pages"].at(0);
    EXPECT_EQ(firstPage["PageNo"], base::Value(103));
    EXPECT_EQ(firstPage["DisplayNumber"], base::Value("1"));
    EXPECT_EQ(firstPage["SRC"], base::Value("assets/pages/page-103.png"));
    EXPECT_TRUE(std::filesystem::exists(*firstPage["PageThumbnailPath"].asString()));

    auto contents = book->getBookContentForTOC();
    ASSERT_EQ(contents.count(), 4u);
    EXPECT_EQ(contents.at(1)["title"], base::Value("Clouds and Rain"));
    EXPECT_EQ(contents.at(1)["subnodes"].count(), 3u);
    EXPECT_EQ(contents.at(1)["subnodes"].at(1)["pageID"], base::Value(104));
}

TEST(SampleBooks, PageBookLinksGlossaryAndResources)
{
    auto book = loadSample<PXBookVO>("sample-pagebook");
    ASSERT_TRUE(book);
    const auto& links = book->getLinksForForPagenumber(105);
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0]->linkID, 1051);
    EXPECT_EQ(links[0]->linkType, 5);
    EXPECT_EQ(links[0]->answer, "full##heavy");
    EXPECT_EQ(links[1]->linkType, 13);
    EXPECT_EQ(links[0].get(), book->getLinksForForPagenumber(105)[0].get()) << "the same objects on every call";
    EXPECT_EQ(book->pages.at("105")->links.at("1052").get(), links[1].get());
    EXPECT_EQ(book->links.at("1052").get(), links[1].get());
    EXPECT_TRUE(book->getLinksForForPagenumber(4242).empty());

    auto info = book->links.at("1061");
    EXPECT_EQ(info->propertyValue("instruction"), "Ask the class to compare a snowflake and a raindrop.");
    auto web = book->links.at("1032");
    EXPECT_TRUE(web->isExternal);
    EXPECT_EQ(web->folioNumber, "1");
    EXPECT_EQ(book->pageForPagenumber(104)->getAudioSyncTypeLinks().size(), 1u);
    EXPECT_EQ(book->getPrevAudioLinkPagefromCurrentPageNumber(110)->pageID, 104);
    EXPECT_FALSE(book->getPrevAudioLinkPagefromCurrentPageNumber(104));

    EXPECT_EQ(book->glossary["evaporation"]["term"], base::Value("Evaporation"));
    EXPECT_EQ(book->glossary["salinity"]["alphabet"], base::Value("S"));
    EXPECT_EQ(book->getBookResourcesForTOC().count(), 3u);
    // The flat resource of the standard, then the top of its tree.
    EXPECT_EQ(book->getBookResourcesForTORSubnodesForRole("LEARNER", "TEKS").count(), 2u);
    EXPECT_EQ(book->getBookResourcesForTORSubnodesForRole("LEARNER", "TOR").count(), 0u);
    EXPECT_EQ(book->getBookResourcesForTORSubnodesForRole("TEACHER", "TOR").count(), 2u);
}

TEST(SampleBooks, ReflowableEpubHasChaptersContentsAndPageList)
{
    auto book = loadSample<EPUBBookVO>("sample-reflowable-epub");
    ASSERT_TRUE(book);
    EXPECT_EQ(book->kind(), LectoroBookKind::EPUB);
    EXPECT_EQ(book->meta.layout, 0);
    EXPECT_EQ(book->meta.title, "The Lighthouse Keeper's Notebook");
    ASSERT_EQ(book->chapters.size(), 4u);
    EXPECT_EQ(book->chapters[1]->href, "text/chapter-2.xhtml");
    EXPECT_EQ(book->chapters[1]->fileIndex, 1);
    EXPECT_EQ(book->chapters[1]->idref, "ch2");
    EXPECT_EQ(book->chapters[0]->title, "The Light on the Rock");
    EXPECT_NE(book->chapters[0]->content()->text.find("climbs one hundred and twelve steps"), std::string::npos);
    EXPECT_EQ(book->chapters[0]->content()->text.find("stylesheet"), std::string::npos);
    EXPECT_FALSE(book->isBookContentLoaded) << "measured in the background, once a reader asks";

    ASSERT_EQ(book->toc.size(), 4u);
    ASSERT_EQ(book->toc[0].subEntries.size(), 1u);
    EXPECT_EQ(book->toc[0].subEntries[0].src, "text/chapter-1.xhtml#morning");
    auto contents = book->getBookContentForTOC();
    EXPECT_EQ(contents.at(2)["pageID"], base::Value(2));

    ASSERT_EQ(book->tocPageList.size(), 6u);
    std::vector<int64_t> indices;
    for (const auto& entry : book->tocPageList)
        indices.push_back(entry.fileIndex);
    EXPECT_EQ(indices, (std::vector<int64_t> { 0, 0, 1, 1, 2, 3 }));
    const auto& text = book->chapters[0]->content()->text;
    EXPECT_EQ(book->displayNumberForPosition(0, text.find("calm days")), "2");
    EXPECT_EQ(book->displayNumberForPosition(0, text.find("lighthouse")), "1");
    EXPECT_EQ(book->displayNumberForPosition(2, 0), "5");
    ASSERT_EQ(book->guides.size(), 2u);
    EXPECT_EQ(book->guides[1].type, "bodymatter");
    // Measuring the book fills its positions, on the main run loop once the background is done.
    auto measured = std::dynamic_pointer_cast<companion::EpubBook>(book);
    ASSERT_TRUE(measured);
    std::optional<int64_t> contentSize;
    measured->measureInBackground([&](const std::optional<base::Error>& error, int64_t size) {
        EXPECT_FALSE(error);
        contentSize = size;
    });
    base::waitForBackgroundWork();
    base::RunLoop::main().runUntilIdle();
    EXPECT_GT(contentSize.value_or(0), 0);
    EXPECT_TRUE(book->isBookContentLoaded);
    EXPECT_GE(book->bookCFIArray.size(), 3u);
    EXPECT_EQ(book->bookCFIs.size(), 4u);
    EXPECT_EQ(book->chapterForHref("text/chapter-3.xhtml#page5").get(), book->chapters[2].get());
}

TEST(SampleBooks, ReflowableEpubNarratesItsLastChapterFromItsOverlay)
{
    auto book = loadSample<EPUBBookVO>("sample-reflowable-epub");
    ASSERT_TRUE(book);
    EXPECT_TRUE(book->isAudioSyncSupported);
    for (size_t index = 0; index < 3; ++index) {
        EXPECT_FALSE(book->chapters[index]->isAudioSyncSupported) << index;
        EXPECT_EQ(book->chapters[index]->audioSyncArray.count(), 0u) << index;
    }
    const auto& narrated = *book->chapters[3];
    EXPECT_EQ(narrated.title, "Night Watch");
    ASSERT_TRUE(narrated.isAudioSyncSupported);
    // One clip per word of the chapter, in reading order, each a word's own element.
    const auto& clips = narrated.audioSyncArray;
    ASSERT_EQ(clips.count(), 17u);
    const auto& anchors = narrated.content()->anchors;
    double previousEnd = 0;
    for (size_t index = 0; index < clips.count(); ++index) {
        const auto& clip = clips.at(index);
        EXPECT_EQ(clip["wordId"].asString(), "w" + std::to_string(index + 1));
        EXPECT_EQ(clip["audio"].asString(), "OEBPS/audio/night-watch.m4a");
        EXPECT_GE(clip["start"].doubleValue(), previousEnd);
        EXPECT_GT(clip["end"].doubleValue(), clip["start"].doubleValue());
        previousEnd = clip["end"].doubleValue();
        EXPECT_TRUE(std::any_of(anchors.begin(), anchors.end(),
            [&](const auto& anchor) { return anchor.first == clip["wordId"].asString(); }));
    }
    EXPECT_TRUE(std::filesystem::exists(book->absolutePath + "/OEBPS/audio/night-watch.m4a"));
}

TEST(SampleBooks, FixedLayoutEpubIsPrePaginatedWithOnePagePerChapter)
{
    auto book = loadSample<EPUBBookVO>("sample-fixed-epub");
    ASSERT_TRUE(book);
    EXPECT_EQ(book->meta.layout, 1);
    EXPECT_TRUE(book->isFixedLayout());
    ASSERT_EQ(book->chapters.size(), 4u);
    auto thumbnails = book->getThumbnailData();
    ASSERT_EQ(thumbnails.count(), 4u);
    std::vector<std::string> folios;
    for (size_t index = 0; index < thumbnails.count(); ++index) {
        ASSERT_EQ(thumbnails.at(index)["Pages"].count(), 1u);
        folios.push_back(*thumbnails.at(index)["Pages"].at(0)["DisplayNumber"].asString());
    }
    EXPECT_EQ(folios, (std::vector<std::string> { "Cover", "1", "2", "3" }));
    EXPECT_EQ(book->chapters[3]->title, "Three Shells");
    // An audio resource listed under the second page, and the third page itself.
    ASSERT_EQ(book->resources.count(), 2u);
    EXPECT_EQ(book->resources.at(0)["assetPath"].asString(), "media/shells.wav");
    EXPECT_EQ(book->resources.at(0)["chapter"]["title"].asString(), "Two Shells");
    EXPECT_EQ(book->resources.at(1)["epubLinkType"].intValue(), 5);
    EXPECT_EQ(book->resources.at(1)["chapter"]["title"].asString(), "Three Shells");
    EXPECT_TRUE(std::filesystem::exists(book->rootPath + "/media/shells.wav"));
}
