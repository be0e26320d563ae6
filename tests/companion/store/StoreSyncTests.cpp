#include "companion/store/SqliteDatabaseManager.h"

#include <gtest/gtest.h>

#include <functional>

using namespace lectoro;
using companion::SqliteDatabaseManager;
using companion::UploadedUGC;

namespace {

constexpr int64_t syncUser = 3;

std::shared_ptr<SqliteDatabaseManager> memoryStore()
{
    auto store = SqliteDatabaseManager::openInMemory();
    EXPECT_TRUE(store.ok());
    return store.value();
}

std::shared_ptr<SDKHighlightVO> note(const std::string& page, const std::string& text)
{
    auto highlight = std::make_shared<SDKHighlightVO>();
    highlight->pageIdentifier = page;
    highlight->noteText = text;
    return highlight;
}

} // namespace

TEST(StoreSync, UnsyncedContentIsListedPerBookUntilUploaded)
{
    auto store = memoryStore();
    store->saveHighlight(note("1", "a"), "b1", syncUser);
    store->saveBookmark(std::make_shared<SDKBookmarkVO>(), "b2", syncUser);
    store->saveHighlight(note("1", "other user"), "b1", syncUser + 1);

    auto pending = store->getUnsynedUGCDictionaryForUserID(syncUser);
    const auto& books = pending["ugcBookList"];
    ASSERT_EQ(books.count(), 2u);
    EXPECT_EQ(books.at(0)["bookID"], base::Value("b1"));
    ASSERT_EQ(books.at(0)["ugcList"].count(), 1u);
    EXPECT_EQ(books.at(0)["ugcList"].at(0)["noteText"], base::Value("a"));
    EXPECT_EQ(books.at(0)["ugcList"].at(0)["type"], base::Value(static_cast<int>(UGCType::Highlight)));
    EXPECT_EQ(books.at(1)["ugcList"].at(0)["type"], base::Value(static_cast<int>(UGCType::Bookmark)));

    for (const char* book : { "b1", "b2" }) {
        std::vector<UploadedUGC> uploads;
        for (const auto& entry : store->unsyncedUGCForBookID(book, syncUser))
            uploads.push_back({ entry.record, entry.revision, "srv-" + entry.record->localID });
        store->markUGCUploaded(book, syncUser, uploads);
    }
    EXPECT_EQ(store->getUnsynedUGCDictionaryForUserID(syncUser)["ugcBookList"].count(), 0u);
    auto uploaded = store->highlightBookID("b1", syncUser);
    ASSERT_EQ(uploaded.size(), 1u);
    EXPECT_TRUE(uploaded[0]->isSynced);
    EXPECT_EQ(uploaded[0]->ugcID, "srv-" + uploaded[0]->localID);
}

TEST(StoreSync, ASaveDuringAnUploadStaysUnsynced)
{
    auto store = memoryStore();
    auto highlight = note("1", "first");
    store->saveHighlight(highlight, "b", syncUser);
    auto inFlight = store->unsyncedUGCForBookID("b", syncUser);
    ASSERT_EQ(inFlight.size(), 1u);

    highlight->noteText = "edited while uploading";
    store->saveHighlight(highlight, "b", syncUser);
    store->markUGCUploaded("b", syncUser, { { inFlight[0].record, inFlight[0].revision, "srv-1" } });

    auto pending = store->unsyncedUGCForBookID("b", syncUser);
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_EQ(std::dynamic_pointer_cast<SDKHighlightVO>(pending[0].record)->noteText, "edited while uploading");
    EXPECT_EQ(pending[0].record->ugcID, "srv-1") << "the next upload updates the server's copy";
}

TEST(StoreSync, FetchedContentMergesWithoutOverwritingLocalChanges)
{
    auto store = memoryStore();
    auto mine = note("1", "mine");
    store->saveHighlight(mine, "b", syncUser);
    auto pending = store->unsyncedUGCForBookID("b", syncUser);
    store->markUGCUploaded("b", syncUser, { { pending[0].record, pending[0].revision, "s1" } });

    auto edited = note("1", "edited locally");
    edited->localID = mine->localID;
    store->saveHighlight(edited, "b", syncUser);

    auto serverCopy = note("1", "server's older copy");
    serverCopy->ugcID = "s1";
    auto serverOnly = note("2", "from another device");
    serverOnly->ugcID = "s2";
    store->storeFetchedUGC("b", syncUser, { serverCopy, serverOnly });

    auto notes = store->highlightBookID("b", syncUser);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0]->noteText, "edited locally");
    EXPECT_EQ(notes[1]->noteText, "from another device");
    EXPECT_TRUE(notes[1]->isSynced);

    // Fetching the same again changes nothing; a server deletion removes a synced record.
    store->storeFetchedUGC("b", syncUser, { serverOnly });
    auto deletion = note("2", "");
    deletion->ugcID = "s2";
    deletion->status = UGCStatusDeleted;
    store->storeFetchedUGC("b", syncUser, { deletion });
    notes = store->highlightBookID("b", syncUser);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0]->noteText, "edited locally");
}

TEST(StoreSync, LearnerWorkItemsBuildTheirRecords)
{
    auto store = memoryStore();
    base::Value answer = base::Value::Dictionary { { "type", 7 }, { "folioID", "4" }, { "linkID", "12" }, { "text", "B" } };
    auto fib = store->getSDKFIBVOFromUGCDictionary(answer);
    ASSERT_TRUE(fib);
    EXPECT_TRUE(fib->isDropDown);
    EXPECT_EQ(fib->linkID, 12);
    EXPECT_EQ(fib->displayNum, "4");
    EXPECT_FALSE(store->getSDKFIBVOFromUGCDictionary(base::Value::Dictionary { { "type", 3 } }));
    EXPECT_FALSE(store->getSDKFIBVOFromUGCDictionary(base::Value("junk")));

    base::Value drawing = base::Value::Dictionary { { "type", 11 }, { "points", base::Value::List { base::Value::List { 1, 2 }, "junk" } } };
    auto pen = store->getSDKPenToolVOFromUGCDictionary(drawing);
    ASSERT_TRUE(pen);
    ASSERT_EQ(pen->points.size(), 1u) << "a malformed point is skipped";
    EXPECT_FALSE(store->getSDKPenToolVOFromUGCDictionary(base::Value()));
}

TEST(StoreSync, TextThatIsNotUTF8IsRefusedWhenSavedAndWhatWasStoredStays)
{
    auto store = memoryStore();
    std::vector<base::Error> heard;
    store->setProblemHandler([&](const base::Error& error) { heard.push_back(error); });
    auto kept = note("1", "caf\xC3\xA9");
    ASSERT_TRUE(store->saveHighlight(kept, "b", syncUser).ok());
    auto pending = store->unsyncedUGCForBookID("b", syncUser);
    store->markUGCUploaded("b", syncUser, { { pending[0].record, pending[0].revision, "s1" } });

    struct Case {
        const char* name;
        std::function<std::shared_ptr<SDKHighlightVO>()> record;
        const char* field;
        size_t byte;
    };
    const Case cases[] = {
        { "an edit of the stored note", [&] {
             auto edited = note("1", "caf\xE9 au lait");
             edited->localID = kept->localID;
             return edited;
         }, "noteText", 3 },
        { "a new note", [] { return note("2", "\xFF"); }, "noteText", 0 },
        { "a new highlight's passage", [] {
             auto highlight = note("2", "");
             highlight->text = "ok \xC3\x28";
             return highlight;
         }, "text", 3 },
        { "a comment in a thread", [] {
             auto highlight = note("2", "");
             highlight->noteComments = base::Value::List { base::Value::Dictionary { { "text", "\xE2\x82" } } };
             return highlight;
         }, "noteComments[0].text", 0 },
    };
    for (const auto& [name, record, field, byte] : cases) {
        SCOPED_TRACE(name);
        heard.clear();
        auto saved = store->saveHighlight(record(), "b", syncUser);
        ASSERT_FALSE(saved.ok());
        EXPECT_EQ(saved.error().code, static_cast<int64_t>(YSDBManagerErrorCode::InvalidText));
        std::string description = saved.error().localizedDescription();
        EXPECT_NE(description.find(std::string("\"") + field + "\""), std::string::npos) << description;
        EXPECT_NE(description.find("byte " + std::to_string(byte)), std::string::npos) << description;
        ASSERT_EQ(heard.size(), 1u) << "the host hears of it";
        EXPECT_EQ(heard[0], saved.error());

        auto notes = store->highlightBookID("b", syncUser);
        ASSERT_EQ(notes.size(), 1u);
        EXPECT_EQ(notes[0]->noteText, "caf\xC3\xA9");
        EXPECT_TRUE(notes[0]->isSynced) << "nothing is waiting to go to the service";
    }
}
