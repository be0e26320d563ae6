#include "ContentsTestSupport.h"

#include "LectoroSDKWithReader/contents/TOCModel.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "platform/base/Json.h"

#include <gtest/gtest.h>

namespace lectoro::contentstest {
namespace {

std::vector<std::string> titles(const std::vector<std::shared_ptr<TOCTreeRow>>& rows)
{
    std::vector<std::string> result;
    for (const auto& row : rows)
        result.push_back(row->title);
    return result;
}

TEST(TOCModel, TheCurrentPagesChapterOpensAndAPageBookAlsoOpensItsSecondLevelEntry)
{
    TOCModel fixed(twoChapterPageBook(), 0, "", { pageBookPage(22) });
    fixed.setDataWithData(threeChapterContents());
    const auto& rows = fixed.dataArray();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_FALSE(rows[0]->isExpanded);
    EXPECT_TRUE(rows[1]->isExpanded);
    EXPECT_FALSE(rows[2]->isExpanded);
    EXPECT_TRUE(rows[1]->subnodes[0]->isExpanded);
    EXPECT_EQ(titles(rows[1]->subCatArray),
        (std::vector<std::string> { "Two.One", "Deep A", "Deep B", "Two.Two" }));
    EXPECT_TRUE(rows[1]->subCatArray[1]->isCurrentPage);
    EXPECT_EQ(rows[1]->subCatArray[1]->level, "2.1.1");

    // A reflowable book marks the same entry by its chapter file, and opens row 2 only.
    TOCModel reflowable(reflowableEpub(), 0, "", { epubPage(1, "c2.xhtml#a") });
    reflowable.setDataWithData(threeChapterContents());
    const auto& flowRows = reflowable.dataArray();
    EXPECT_TRUE(flowRows[1]->isExpanded);
    EXPECT_FALSE(flowRows[1]->subnodes[0]->isExpanded);
    EXPECT_EQ(titles(flowRows[1]->subCatArray), (std::vector<std::string> { "Two.One", "Two.Two" }));
}

TEST(TOCModel, LevelsCountEachDepthAndACurrentTopLevelEntryStaysClosed)
{
    base::Value contents = base::Value::List { node("1", 1), node("2", 2), node("3", 3),
        node("4", 4, { node("4.1", 41, { node("a", 411), node("b", 412), node("c", 413) }) }) };
    TOCModel model(twoChapterPageBook(), 0, "", { pageBookPage(4) });
    model.setDataWithData(contents);
    const auto& fourth = *model.dataArray()[3];
    EXPECT_EQ(fourth.subnodes[0]->subnodes[2]->level, "4.1.3");
    EXPECT_EQ(fourth.subnodes[0]->subnodes[2]->depth(), 3);
    EXPECT_TRUE(fourth.isCurrentPage);
    EXPECT_FALSE(fourth.isExpanded);

    TOCModel none(twoChapterPageBook(), 0, "", {});
    none.setDataWithData(base::Value::List {});
    EXPECT_TRUE(none.dataArray().empty());
}

TEST(TOCModel, TheBooksNodesAreNeverWrittenInto)
{
    base::Value contents = threeChapterContents();
    std::string before = base::toJson(contents);
    TOCModel model(twoChapterPageBook(), 0, "", { pageBookPage(22) });
    model.setDataWithData(contents);
    model.toggleSection(TOCFilterContents, false, 1);
    model.toggleRow(TOCFilterContents, false, 0, 0);
    EXPECT_EQ(base::toJson(contents), before);
}

TEST(TOCModel, OpeningAndClosingBranches)
{
    TOCModel model(twoChapterPageBook(), 0, "", { pageBookPage(22) });
    model.setDataWithData(threeChapterContents());
    auto& two = *model.dataArray()[1];

    // Closing 2.1 (whose children are shown) takes them out.
    EXPECT_FALSE(model.toggleRow(TOCFilterContents, false, 1, 0));
    EXPECT_EQ(titles(two.subCatArray), (std::vector<std::string> { "Two.One", "Two.Two" }));
    // Opening it again puts them back right after it, closed.
    model.toggleRow(TOCFilterContents, false, 1, 0);
    EXPECT_EQ(
        titles(two.subCatArray), (std::vector<std::string> { "Two.One", "Deep A", "Deep B", "Two.Two" }));
    // A leaf's arrow answers its page and changes nothing.
    EXPECT_EQ(model.toggleRow(TOCFilterContents, false, 1, 1), std::optional<std::string>("22"));
    EXPECT_EQ(two.subCatArray.size(), 4u);

    // Closing the section closes every branch under it; opening shows the children only.
    EXPECT_TRUE(model.toggleSection(TOCFilterContents, false, 1));
    EXPECT_FALSE(two.isExpanded);
    EXPECT_FALSE(two.subnodes[0]->isExpanded);
    EXPECT_EQ(titles(two.subCatArray), (std::vector<std::string> { "Two.One", "Two.Two" }));
    EXPECT_TRUE(model.toggleSection(TOCFilterContents, false, 1));
    EXPECT_TRUE(two.isExpanded);
    // A row without children has nothing to open; sections out of range are ignored.
    EXPECT_FALSE(model.toggleSection(TOCFilterContents, false, 0));
    EXPECT_FALSE(model.toggleSection(TOCFilterContents, false, 9));
    EXPECT_FALSE(model.toggleRow(TOCFilterContents, false, 1, 99));
}

TEST(TOCModel, ResourcesListOnlyShownMarkupsWithATooltip)
{
    auto book = twoChapterPageBook();
    addLink(*book, 3, 1, 9, "Web activity");
    for (int32_t skipped : { 0, 5, 7, 8, 11, 13, 20, 23 })
        addLink(*book, 3, 100 + skipped, skipped, "Skipped");
    addLink(*book, 3, 2, 3, "");
    addLink(*book, 3, 3, 3, "Hidden", false);
    auto entries = TOCModel::collectPageResources(*book->pages.at("3"));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].title, "Web activity");
    EXPECT_EQ(entries[0].folioNumber, std::optional<std::string>("f3"));
    EXPECT_EQ(entries[0].linkVO->linkID, 1);
}

TEST(TOCModel, ResourcesSortByPageAndGroupByChapter)
{
    auto book = twoChapterPageBook();
    TOCModel model(book, 2, "Current", {});
    auto entry = [](std::optional<std::string> page, std::string title) {
        TOCResourceEntry result;
        result.pageID = std::move(page);
        result.title = std::move(title);
        return result;
    };
    // "x" counts as page 0 and names no chapter.
    auto groups = model.groupResourcesByChapter(
        { entry("12", "late"), entry("40", "rain"), entry("3", "early"), entry("x", "odd") });
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0].chapterName, "Current");
    EXPECT_EQ(groups[0].resourceArray[0].title, "odd");
    EXPECT_FALSE(groups[0].isCurrentChapter);
    EXPECT_EQ(groups[1].chapterName, "Clouds");
    ASSERT_EQ(groups[1].resourceArray.size(), 2u);
    EXPECT_EQ(groups[1].resourceArray[0].title, "early");
    EXPECT_EQ(groups[1].resourceArray[1].title, "late");
    EXPECT_EQ(groups[1].pageID, std::optional<std::string>("3"));
    EXPECT_FALSE(groups[1].isExpanded);
    EXPECT_EQ(groups[2].chapterName, "Rain");
    EXPECT_TRUE(groups[2].isExpanded);
    EXPECT_TRUE(groups[2].isCurrentChapter);

    // Collected over the whole book.
    addLink(*book, 40, 7, 3, "Video");
    addLink(*book, 12, 8, 9, "Site");
    auto collected = model.collectAndGroupResources();
    ASSERT_EQ(collected.size(), 2u);
    EXPECT_EQ(collected[0].resourceArray[0].title, "Site");
    EXPECT_EQ(collected[1].resourceArray[0].title, "Video");
}

TEST(TOCModel, WhereBookmarksAndRowsLead)
{
    SDKBookmarkVO flowing;
    flowing.href = "text/c2.xhtml";
    flowing.localID = "local-1";
    EXPECT_EQ(TOCModel::navigationTargetForBookmark(flowing), "text/c2.xhtml#local-1BOOKMARK");
    flowing.positionIdentifier = "epubcfi(/6/4)";
    EXPECT_EQ(TOCModel::navigationTargetForBookmark(flowing), "text/c2.xhtml#epubcfi(/6/4)BOOKMARK");
    SDKBookmarkVO paged;
    paged.displayNum = "iv";
    EXPECT_EQ(TOCModel::navigationTargetForBookmark(paged), "iv");

    TOCResourceEntry resource;
    EXPECT_EQ(TOCModel::navigationTargetForResource(resource), "1");
    resource.pageID = "12";
    EXPECT_EQ(TOCModel::navigationTargetForResource(resource), "12");
    resource.folioNumber = "xii";
    EXPECT_EQ(TOCModel::navigationTargetForResource(resource), "xii");
    TOCResourceGroup group;
    group.pageID = "12";
    EXPECT_EQ(TOCModel::navigationTargetForGroup(group), "12");
    group.resourceArray.push_back(resource);
    EXPECT_EQ(TOCModel::navigationTargetForGroup(group), "xii");
}

TEST(TOCModel, TheCurrentPagesBookmarkAndSegments)
{
    SDKBookmarkVO bookmark;
    bookmark.pageIdentifier = "12";
    EXPECT_TRUE(TOCModel(twoChapterPageBook(), 0, "", { pageBookPage(12), pageBookPage(13) })
                    .checkIfCurrentPageBookMark(bookmark));
    EXPECT_FALSE(TOCModel(twoChapterPageBook(), 0, "", { pageBookPage(13), pageBookPage(12) })
                     .checkIfCurrentPageBookMark(bookmark));
    EXPECT_TRUE(
        TOCModel(reflowableEpub(), 0, "", { epubPage(12, "c.xhtml") }).checkIfCurrentPageBookMark(bookmark));
    EXPECT_FALSE(TOCModel(reflowableEpub(), 0, "", {}).checkIfCurrentPageBookMark(bookmark));

    EXPECT_EQ(selectedSegmentFromRaw(1), SelectedSegment::TOC);
    EXPECT_EQ(selectedSegmentFromRaw(2), SelectedSegment::Bookmark);
    EXPECT_EQ(selectedSegmentFromRaw(3), SelectedSegment::Resources);
    EXPECT_FALSE(selectedSegmentFromRaw(0));
    EXPECT_FALSE(selectedSegmentFromRaw(4));
}

} // namespace
} // namespace lectoro::contentstest
