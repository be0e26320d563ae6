#include "companion/store/SqliteDatabaseManager.h"
#include "companion/store/TemporaryFolder.h"

#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"

#include <gtest/gtest.h>

using companion::SqliteDatabaseManager;

// Media bookmarks are bookmark rows whose metaData holds the time ("CurrentTime", whole
// seconds) and the chapter file; a status 3 record deletes its row.
TEST(MediaBookmarks, KeepTheirTimeAcrossAReopenAndGoWhenDeleted)
{
    companion::testing::TemporaryFolder folder;
    auto bookmark = std::make_shared<lectoro::SDKBookmarkVO>();
    {
        auto store = SqliteDatabaseManager::open(folder.string()).value();
        base::Value::Dictionary meta;
        meta.set("CurrentTime", int64_t(40));
        meta.set("FileName", "chapter-1.m4a");
        meta.set("ChapterName", "The Lighthouse");
        bookmark->metaData = base::Value(meta);
        bookmark->chapterName = "The Lighthouse";
        ASSERT_TRUE(store->saveBookmark(bookmark, "9101", 7).ok());
        auto other = std::make_shared<lectoro::SDKBookmarkVO>();
        other->metaData = bookmark->metaData;
        ASSERT_TRUE(store->saveBookmark(other, "9101", 8).ok());
    }
    auto store = SqliteDatabaseManager::open(folder.string()).value();
    auto listed = store->bookMarkBookID("9101", 7);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0]->metaData["CurrentTime"].asInteger(), 40);
    EXPECT_EQ(listed[0]->metaData["FileName"].asString(), "chapter-1.m4a");
    EXPECT_TRUE(store->bookMarkBookID("9102", 7).empty());

    listed[0]->status = lectoro::UGCStatusDeleted;
    ASSERT_TRUE(store->deleteBookmark(listed[0], "9101", 7).ok());
    EXPECT_TRUE(store->bookMarkBookID("9101", 7).empty());
    EXPECT_EQ(store->bookMarkBookID("9101", 8).size(), 1u);
}
