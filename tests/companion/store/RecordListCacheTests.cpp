// The store keeps the open book's lists of highlights and bookmarks between reads. Whatever
// changed them - this store's saves and deletes, the sync client's results, another
// connection's writes - the next read must answer what a fresh connection reads from the file.

#include "companion/store/SqliteDatabaseManager.h"
#include "companion/store/TemporaryFolder.h"

#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"

#include "platform/base/Json.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

using namespace lectoro;
using companion::SqliteDatabaseManager;
using companion::testing::TemporaryFolder;

namespace {

constexpr int64_t listUser = 31;
const std::string listBook = "7070";

std::shared_ptr<SDKHighlightVO> listHighlight(const std::string& localID, const std::string& text)
{
    auto record = std::make_shared<SDKHighlightVO>();
    record->localID = localID;
    record->pageIdentifier = "3";
    record->text = text;
    return record;
}

std::shared_ptr<SDKBookmarkVO> listBookmark(const std::string& localID)
{
    auto record = std::make_shared<SDKBookmarkVO>();
    record->localID = localID;
    record->pageIdentifier = "4";
    record->title = "mark " + localID;
    return record;
}

template<class Records>
std::string asJson(const Records& records)
{
    base::Value::List list;
    for (const auto& record : records)
        list.push_back(record->toUGCDictionary());
    return base::toJson(base::Value(std::move(list)));
}

struct ListCacheFixture {
    ListCacheFixture()
    {
        store = SqliteDatabaseManager::open(folder.string()).value();
        other = SqliteDatabaseManager::open(folder.string()).value();
    }

    // Both lists as this store answers them, and as a connection that kept nothing does.
    void expectSameAsFresh(const std::string& step)
    {
        SCOPED_TRACE(step);
        auto fresh = SqliteDatabaseManager::open(folder.string()).value();
        EXPECT_EQ(asJson(store->highlightBookID(listBook, listUser)), asJson(fresh->highlightBookID(listBook, listUser)));
        EXPECT_EQ(asJson(*store->sharedHighlightsOfBook(listBook, listUser)), asJson(fresh->highlightBookID(listBook, listUser)));
        EXPECT_EQ(asJson(store->bookMarkBookID(listBook, listUser)), asJson(fresh->bookMarkBookID(listBook, listUser)));
    }

    TemporaryFolder folder;
    std::shared_ptr<SqliteDatabaseManager> store;
    std::shared_ptr<SqliteDatabaseManager> other;
};

} // namespace

// Each step changes the lists a different way after they have been read (and kept).
TEST(RecordListCache, EveryKindOfChangeReadsAsAFreshConnectionReadsIt)
{
    ListCacheFixture fixture;
    auto& store = *fixture.store;
    auto& other = *fixture.other;
    auto first = listHighlight("h1", "first");
    auto second = listHighlight("h2", "second");

    const std::vector<std::pair<std::string, std::function<void()>>> steps = {
        { "saved here", [&] {
             ASSERT_TRUE(store.saveHighlight(first, listBook, listUser).ok());
             ASSERT_TRUE(store.saveHighlight(second, listBook, listUser).ok());
             ASSERT_TRUE(store.saveBookmark(listBookmark("b1"), listBook, listUser).ok());
         } },
        { "saved again here, in place", [&] {
             first->noteText = "a note now";
             first->isImportant = true;
             ASSERT_TRUE(store.saveHighlight(first, listBook, listUser).ok());
         } },
        { "uploaded by the sync client", [&] {
             auto pending = store.unsyncedUGCForBookID(listBook, listUser);
             std::vector<companion::UploadedUGC> uploads;
             for (size_t index = 0; index < pending.size(); ++index)
                 uploads.push_back({ pending[index].record, pending[index].revision, "srv-" + std::to_string(index) });
             ASSERT_TRUE(store.markUGCUploaded(listBook, listUser, uploads).ok());
         } },
        { "deleted here after the upload (kept for the server)", [&] {
             ASSERT_TRUE(store.deleteHighlight(second, listBook, listUser).ok());
         } },
        { "fetched from the server", [&] {
             auto fetched = listHighlight("h-server", "from elsewhere");
             fetched->ugcID = "srv-99";
             fetched->isReceived = true;
             fetched->isAnswered = false;
             ASSERT_TRUE(store.storeFetchedUGC(listBook, listUser, { fetched }).ok());
         } },
        { "a received note accepted", [&] {
             ASSERT_TRUE(store.updateAnsweredUGC("srv-99", true, std::to_string(listUser)).ok());
         } },
        { "saved by another connection", [&] {
             ASSERT_TRUE(other.saveHighlight(listHighlight("h-other", "theirs"), listBook, listUser).ok());
             ASSERT_TRUE(other.saveBookmark(listBookmark("b-other"), listBook, listUser).ok());
         } },
        { "changed and deleted by another connection", [&] {
             auto theirs = other.highlightBookID(listBook, listUser);
             auto found = std::find_if(theirs.begin(), theirs.end(), [](const auto& record) { return record->localID == "h-other"; });
             ASSERT_NE(found, theirs.end());
             (*found)->text = "changed elsewhere";
             ASSERT_TRUE(other.saveHighlight(*found, listBook, listUser).ok());
             ASSERT_TRUE(other.deleteBookmark(listBookmark("b-other"), listBook, listUser).ok());
         } },
        { "saved here again after the other connection", [&] {
             ASSERT_TRUE(store.saveHighlight(listHighlight("h3", "third"), listBook, listUser).ok());
         } },
    };
    fixture.expectSameAsFresh("empty");
    for (const auto& [name, change] : steps) {
        // Read twice first, so the change lands on a kept list.
        for (int read = 0; read < 2; ++read) {
            store.sharedHighlightsOfBook(listBook, listUser);
            store.highlightBookID(listBook, listUser);
            store.bookMarkBookID(listBook, listUser);
        }
        change();
        fixture.expectSameAsFresh(name);
    }
    auto texts = store.highlightBookID(listBook, listUser);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0]->text, "first");
    EXPECT_EQ(texts[1]->text, "from elsewhere");
    EXPECT_TRUE(texts[1]->isAnswered);
    EXPECT_EQ(texts[2]->text, "changed elsewhere");
    EXPECT_EQ(texts[3]->text, "third");
}

TEST(RecordListCache, ARecordHandedOutCanBeChangedWithoutChangingTheStore)
{
    ListCacheFixture fixture;
    ASSERT_TRUE(fixture.store->saveHighlight(listHighlight("h1", "as saved"), listBook, listUser).ok());
    fixture.store->highlightBookID(listBook, listUser);
    fixture.store->highlightBookID(listBook, listUser);
    auto handedOut = fixture.store->highlightBookID(listBook, listUser);
    ASSERT_EQ(handedOut.size(), 1u);
    handedOut[0]->text = "changed by its holder, not saved";
    EXPECT_EQ(fixture.store->highlightBookID(listBook, listUser)[0]->text, "as saved");
}

TEST(RecordListCache, TheSharedListIsOneListUntilItChangesAndAHolderKeepsWhatItWasGiven)
{
    ListCacheFixture fixture;
    auto& store = *fixture.store;
    ASSERT_TRUE(store.saveHighlight(listHighlight("h1", "first"), listBook, listUser).ok());
    auto given = store.sharedHighlightsOfBook(listBook, listUser);
    ASSERT_EQ(given->size(), 1u);
    EXPECT_EQ(store.sharedHighlightsOfBook(listBook, listUser), given);

    auto changed = listHighlight("h1", "changed");
    ASSERT_TRUE(store.saveHighlight(changed, listBook, listUser).ok());
    ASSERT_TRUE(store.saveHighlight(listHighlight("h2", "second"), listBook, listUser).ok());
    auto after = store.sharedHighlightsOfBook(listBook, listUser);
    ASSERT_EQ(after->size(), 2u);
    EXPECT_EQ((*after)[0]->text, "changed");
    ASSERT_EQ(given->size(), 1u);
    EXPECT_EQ((*given)[0]->text, "first");
    // A copy handed out for changing is not the shared record.
    auto copies = store.highlightBookID(listBook, listUser);
    copies[1]->text = "changed by its holder, not saved";
    EXPECT_EQ((*store.sharedHighlightsOfBook(listBook, listUser))[1]->text, "second");

    ASSERT_TRUE(fixture.other->deleteHighlight(changed, listBook, listUser).ok());
    auto afterOther = store.sharedHighlightsOfBook(listBook, listUser);
    ASSERT_EQ(afterOther->size(), 1u);
    EXPECT_EQ((*afterOther)[0]->localID, "h2");
    EXPECT_EQ(after->size(), 2u);
}

// A long list is made in blocks of memory shared by its records (RecordArena): whichever way
// a read is answered - from the file, from the file while keeping a copy, from the kept
// copy, shared - every field of every record reads as saved, a holder's changes reach no one
// else, and a record outlives its list and the store.
TEST(RecordListCache, ALongListReadsAsSavedOnEveryPathAndItsHoldersChangeOnlyTheirOwn)
{
    TemporaryFolder folder;
    constexpr int count = 700; // past the arena's first block
    std::vector<std::shared_ptr<SDKHighlightVO>> saved;
    {
        auto filler = SqliteDatabaseManager::open(folder.string(), { .vfs = {}, .durable = false }).value();
        for (int index = 0; index < count; ++index) {
            auto record = listHighlight("long-" + std::to_string(index),
                "a passage long enough to need memory of its own, number " + std::to_string(index));
            record->pageIdentifier = std::to_string(index % 50);
            record->noteText = index % 3 ? "" : "a note on passage " + std::to_string(index);
            record->backgroundColor = index % 2 ? "#FFFF00" : "#00FF00";
            record->startIndex = index;
            record->endIndex = index + 40;
            if (index % 7 == 0) {
                record->sharedUsers = base::Value::List { int64_t(index), int64_t(index + 1) };
                record->noteComments = base::Value::List { base::Value::Dictionary { { "Text", "a comment" } } };
                record->metaData = base::Value::Dictionary { { "source", "test " + std::to_string(index) } };
                record->noteRect = { double(index), 2, 30, 40 };
            }
            ASSERT_TRUE(filler->saveHighlight(record, listBook, listUser).ok());
            saved.push_back(record);
        }
    }
    const std::string expected = asJson(saved);
    auto store = SqliteDatabaseManager::open(folder.string()).value();
    auto changeAll = [](const std::vector<std::shared_ptr<SDKHighlightVO>>& records) {
        for (const auto& record : records) {
            record->text = "changed by this holder, not saved: " + record->text;
            record->sharedUsers = base::Value::List { int64_t(-1) };
            record->metaData = base::Value::Dictionary { { "changed", true } };
        }
    };
    std::shared_ptr<SDKHighlightVO> keptAlone;
    {
        // From the file; from the file keeping a copy; from the kept copy.
        std::vector<std::vector<std::shared_ptr<SDKHighlightVO>>> held;
        for (const char* path : { "read", "read and kept", "copied from the kept list" }) {
            SCOPED_TRACE(path);
            held.push_back(store->highlightBookID(listBook, listUser));
            EXPECT_EQ(asJson(held.back()), expected);
            changeAll(held.back());
        }
        EXPECT_EQ(asJson(*store->sharedHighlightsOfBook(listBook, listUser)), expected);
        keptAlone = held.front()[count - 1];
    }
    // Shared first: the records read are kept as they are, and copies are made from them.
    auto other = SqliteDatabaseManager::open(folder.string()).value();
    auto shared = other->sharedHighlightsOfBook(listBook, listUser);
    EXPECT_EQ(asJson(*shared), expected);
    changeAll(other->highlightBookID(listBook, listUser));
    EXPECT_EQ(asJson(*other->sharedHighlightsOfBook(listBook, listUser)), expected);

    store.reset();
    other.reset();
    EXPECT_EQ(asJson(*shared), expected);
    EXPECT_EQ(keptAlone->localID, "long-" + std::to_string(count - 1));
    EXPECT_EQ(keptAlone->text.rfind("changed by this holder", 0), 0u);
    auto fresh = SqliteDatabaseManager::open(folder.string()).value();
    EXPECT_EQ(asJson(fresh->highlightBookID(listBook, listUser)), expected);
}

// A book's list keeps its records' texts in the list's own memory; a page's few records own
// theirs. A text taken out of a listed record, by copy or by move, is its taker's: it reads
// after the list, its records and the store are all gone.
TEST(RecordListCache, TextsTakenFromAListOutliveItsRecords)
{
    TemporaryFolder folder;
    const std::string passage = "a passage long enough to need memory of its own, on page 3";
    {
        auto filler = SqliteDatabaseManager::open(folder.string()).value();
        ASSERT_TRUE(filler->saveHighlight(listHighlight("h-text", passage), listBook, listUser).ok());
        ASSERT_TRUE(filler->saveBookmark(listBookmark("b-text"), listBook, listUser).ok());
    }
    auto store = SqliteDatabaseManager::open(folder.string()).value();
    std::vector<std::pair<std::string, lectoro::UGCText>> taken;
    std::vector<std::string> bookmarkTitles;
    {
        const struct {
            const char* path;
            std::function<std::shared_ptr<const SDKHighlightVO>()> read;
        } paths[] = {
            { "read", [&] { return store->highlightBookID(listBook, listUser).at(0); } },
            { "read and kept", [&] { return store->highlightBookID(listBook, listUser).at(0); } },
            { "copied from the kept list", [&] { return store->highlightBookID(listBook, listUser).at(0); } },
            { "shared", [&] { return store->sharedHighlightsOfBook(listBook, listUser)->at(0); } },
        };
        for (const auto& path : paths) {
            SCOPED_TRACE(path.path);
            auto record = path.read();
            EXPECT_TRUE(record->text.isInArena());
            EXPECT_TRUE(record->localID.isInArena());
            taken.emplace_back(path.path, record->text);
            auto changeable = std::const_pointer_cast<SDKHighlightVO>(record);
            if (std::string(path.path) != "shared") {
                taken.emplace_back(std::string(path.path) + ", moved", std::move(changeable->text));
                taken.emplace_back(std::string(path.path) + ", record copied", SDKHighlightVO(*record).localID);
            }
        }
        auto bookmarks = store->bookMarkBookID(listBook, listUser);
        ASSERT_EQ(bookmarks.size(), 1u);
        EXPECT_TRUE(bookmarks[0]->title.isInArena());
        bookmarkTitles.push_back(bookmarks[0]->title);

        auto onPage = store->highlightForPageID("3", "", listBook, listUser);
        ASSERT_EQ(onPage.size(), 1u);
        EXPECT_FALSE(onPage[0]->text.isInArena()) << "a page's records are made one by one";
        EXPECT_EQ(onPage[0]->text, passage);
    }
    store.reset();
    for (const auto& [path, text] : taken) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(text.isInArena());
        EXPECT_EQ(text, path.ends_with("record copied") ? std::string_view("h-text") : std::string_view(passage));
    }
    EXPECT_EQ(bookmarkTitles, std::vector<std::string> { "mark b-text" });
}

TEST(RecordListCache, ListsOfAnotherBookOrUserAreNotMixedIn)
{
    ListCacheFixture fixture;
    auto& store = *fixture.store;
    ASSERT_TRUE(store.saveHighlight(listHighlight("mine", "mine"), listBook, listUser).ok());
    EXPECT_EQ(store.highlightBookID(listBook, listUser).size(), 1u);
    ASSERT_TRUE(store.saveHighlight(listHighlight("elsewhere", "other book"), "other-book", listUser).ok());
    ASSERT_TRUE(store.saveHighlight(listHighlight("someone", "other user"), listBook, listUser + 1).ok());
    EXPECT_EQ(store.highlightBookID("other-book", listUser).size(), 1u);
    ASSERT_EQ(store.highlightBookID(listBook, listUser).size(), 1u);
    EXPECT_EQ(store.highlightBookID(listBook, listUser)[0]->localID, "mine");
    EXPECT_EQ(store.highlightBookID(listBook, listUser + 1).size(), 1u);
}
