#include "companion/store/SqliteDatabaseManager.h"

#include "companion/store/SqliteDatabase.h"
#include "companion/store/TemporaryFolder.h"

#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"

#include "platform/base/Json.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sqlite3.h>

using namespace lectoro;
using companion::SqliteDatabaseManager;
using companion::testing::TemporaryFolder;

namespace {

constexpr int64_t user = 501;
const std::string book = "9001";

std::shared_ptr<SqliteDatabaseManager> openStore(const TemporaryFolder& folder)
{
    auto store = SqliteDatabaseManager::open(folder.string());
    EXPECT_TRUE(store.ok()) << (store.ok() ? "" : store.error().localizedDescription());
    return store.ok() ? store.value() : nullptr;
}

// The record's content without what the store stamps on it.
base::Value contentOf(const SDKUGCVO& record)
{
    base::Value dictionary = record.toUGCDictionary();
    for (const char* key : { "modifiedDate", "createdDate", "isSynced", "localID" })
        dictionary.asDictionary()->remove(key);
    return dictionary;
}

struct RecordKind {
    const char* name;
    std::function<std::shared_ptr<SDKUGCVO>()> make;
    std::function<void(SqliteDatabaseManager&, const std::shared_ptr<SDKUGCVO>&)> save;
    std::function<void(SqliteDatabaseManager&, const std::shared_ptr<SDKUGCVO>&)> remove;
    std::function<std::vector<std::shared_ptr<SDKUGCVO>>(SqliteDatabaseManager&, const std::string& page)> onPage;
};

template<class Record>
std::vector<std::shared_ptr<SDKUGCVO>> erase(const std::vector<std::shared_ptr<Record>>& records)
{
    return { records.begin(), records.end() };
}

template<class Record>
std::shared_ptr<Record> as(const std::shared_ptr<SDKUGCVO>& record)
{
    return std::dynamic_pointer_cast<Record>(record);
}

std::vector<RecordKind> recordKinds()
{
    return {
        { "highlight",
            [] {
                auto record = std::make_shared<SDKHighlightVO>();
                record->text = "the quick \"brown\" fox";
                record->noteText = "a note with ünïcødé";
                record->backgroundColor = "#FFFF00";
                record->isImportant = true;
                record->startIndex = 4;
                record->endIndex = 19;
                record->sharedUsers = base::Value::List { 7, 8 };
                record->acceptedUsers = base::Value::List { 7 };
                record->declinedUsers = base::Value::List { 8 };
                record->textColor = "#000000";
                record->creatorName = "Ann";
                record->positionIdentifier = "epubcfi(/6/2!/4/1:3)";
                record->isStickyNote = true;
                record->isTeacherReviewNote = true;
                record->noteRect = ui::Rect(3, 4, 24, 24);
                record->href = "ch1.xhtml";
                record->chapterName = "One";
                record->metaData = base::Value::Dictionary { { "tag", "x" } };
                record->noteComments = base::Value::List { base::Value::Dictionary { { "Text", "hi" }, { "UserID", "7" } } };
                return record;
            },
            [](auto& store, auto& record) { store.saveHighlight(as<SDKHighlightVO>(record), book, user); },
            [](auto& store, auto& record) { store.deleteHighlight(as<SDKHighlightVO>(record), book, user); },
            [](auto& store, auto& page) { return erase(store.highlightForPageID(page, "", book, user)); } },
        { "bookmark",
            [] {
                auto record = std::make_shared<SDKBookmarkVO>();
                record->title = "chapter start";
                record->positionIdentifier = "epubcfi(/6/4[ch1]!/4/2)";
                record->metaData = base::Value::Dictionary { { "CurrentTime", 125 } };
                return record;
            },
            [](auto& store, auto& record) { store.saveBookmark(as<SDKBookmarkVO>(record), book, user); },
            [](auto& store, auto& record) { store.deleteBookmark(as<SDKBookmarkVO>(record), book, user); },
            [](auto& store, auto& page) { return erase(store.bookmarkForPageID(page, "", book, user)); } },
        { "pen drawing",
            [] {
                auto record = std::make_shared<SDKPentoolVO>();
                record->penColor = "#82F675";
                record->thickness = 6.5;
                record->points = { { 1, 2 }, { 3.25, 4.5 }, { 10, 20 } };
                return record;
            },
            [](auto& store, auto& record) { store.savePentoolDrawing(as<SDKPentoolVO>(record), book, user); },
            [](auto& store, auto& record) { store.deletePentoolDrawing(as<SDKPentoolVO>(record), book, user); },
            [](auto& store, auto& page) { return erase(store.pentoolDrawingForPageID(page, "", book, user)); } },
        { "text box",
            [] {
                auto record = std::make_shared<SDKTextAnnotationVO>();
                record->text = "line one\nline two";
                record->textColor = "#112233";
                record->textAlignment = 2;
                record->rect = ui::Rect(10, 20, 200, 40);
                return record;
            },
            [](auto& store, auto& record) { store.saveTextAnnotation(as<SDKTextAnnotationVO>(record), book, user); },
            [](auto& store, auto& record) { store.deleteTextAnnotation(as<SDKTextAnnotationVO>(record), book, user); },
            [](auto& store, auto& page) { return erase(store.textAnnotationVOForPageID(page, "", book, user)); } },
        { "fill-in answer",
            [] {
                auto record = std::make_shared<SDKFIBVO>();
                record->linkID = 77;
                record->text = "42";
                record->isEquation = true;
                record->review = 1;
                record->teacherComment = "well done";
                return record;
            },
            [](auto& store, auto& record) { store.saveFIB(as<SDKFIBVO>(record), book, user); },
            [](auto& store, auto& record) { store.deleteFIB(as<SDKFIBVO>(record), book, user); },
            [](auto& store, auto& page) {
                std::vector<std::shared_ptr<SDKUGCVO>> result;
                if (store.isFIBsAvailableOnPageID(page, "", book, user, true))
                    result.push_back(store.getFIBObjectWithLinkId(77, user));
                return result;
            } },
        { "protractor",
            [] {
                auto record = std::make_shared<SDKProtractorVO>();
                record->frame = ui::Rect(5, 6, 300, 150);
                record->rotation = 12.5;
                record->measuredAngle = 90;
                return record;
            },
            [](auto& store, auto& record) { store.saveProtractor(as<SDKProtractorVO>(record), book, user); },
            [](auto& store, auto& record) { store.deleteProtractorDrawing(as<SDKProtractorVO>(record), book, user); },
            [](auto& store, auto& page) { return erase(store.protractorForPageID(page, "", book, user)); } },
    };
}

} // namespace

TEST(SqliteDatabaseManager, EachRecordKindRoundTripsThroughAReopenedStore)
{
    for (const auto& kind : recordKinds()) {
        SCOPED_TRACE(kind.name);
        TemporaryFolder folder;
        auto record = kind.make();
        record->pageIdentifier = "12";
        record->displayNum = "xii";
        record->bookVersion = "3";
        {
            auto store = openStore(folder);
            kind.save(*store, record);
            EXPECT_FALSE(record->localID.empty()) << "a record saved without a local id gets one";
        }
        auto reopened = openStore(folder);
        auto found = kind.onPage(*reopened, "12");
        ASSERT_EQ(found.size(), 1u);
        ASSERT_TRUE(found[0]);
        EXPECT_EQ(base::toJson(contentOf(*found[0])), base::toJson(contentOf(*record)));
        EXPECT_EQ(found[0]->localID, record->localID);
        EXPECT_FALSE(found[0]->isSynced);
        EXPECT_TRUE(kind.onPage(*reopened, "13").empty());
    }
}

TEST(SqliteDatabaseManager, DeletingForgetsNewRecordsAndKeepsUploadedOnesForTheUpload)
{
    for (const auto& kind : recordKinds()) {
        SCOPED_TRACE(kind.name);
        TemporaryFolder folder;
        auto store = openStore(folder);
        auto fresh = kind.make();
        fresh->pageIdentifier = "1";
        kind.save(*store, fresh);
        kind.remove(*store, fresh);
        EXPECT_TRUE(kind.onPage(*store, "1").empty());
        EXPECT_EQ(store->getUnsynedUGCDictionaryForUserID(user)["ugcBookList"].count(), 0u);

        auto uploaded = kind.make();
        uploaded->pageIdentifier = "2";
        uploaded->ugcID = "srv-9";
        kind.save(*store, uploaded);
        kind.remove(*store, uploaded);
        EXPECT_TRUE(kind.onPage(*store, "2").empty());
        auto pending = store->unsyncedUGCForBookID(book, user);
        ASSERT_EQ(pending.size(), 1u);
        EXPECT_EQ(pending[0].record->status, UGCStatusDeleted);
        EXPECT_EQ(pending[0].record->ugcID, "srv-9");

        store->markUGCUploaded(book, user, { { pending[0].record, pending[0].revision, "" } });
        EXPECT_TRUE(store->unsyncedUGCForBookID(book, user).empty());
    }
}

TEST(SqliteDatabaseManager, SavingAStatusThreeRecordDeletesIt)
{
    TemporaryFolder folder;
    auto store = openStore(folder);
    auto highlight = std::make_shared<SDKHighlightVO>();
    highlight->pageIdentifier = "4";
    store->saveHighlight(highlight, book, user);
    highlight->status = UGCStatusDeleted;
    store->saveHighlight(highlight, book, user);
    EXPECT_TRUE(store->highlightForPageID("4", "", book, user).empty());
}

TEST(SqliteDatabaseManager, PageQueriesMatchThePageIdOrTheFolioOfRecordsWithoutOne)
{
    TemporaryFolder folder;
    auto store = openStore(folder);
    struct Case {
        const char* pageIdentifier;
        const char* displayNum;
    };
    for (Case placed : { Case { "10", "x" }, Case { "", "x" }, Case { "11", "x" }, Case { "", "xi" } }) {
        auto highlight = std::make_shared<SDKHighlightVO>();
        highlight->pageIdentifier = placed.pageIdentifier;
        highlight->displayNum = placed.displayNum;
        highlight->text = std::string(placed.pageIdentifier) + "/" + placed.displayNum;
        store->saveHighlight(highlight, book, user);
    }
    auto found = store->highlightForPageID("10", "x", book, user);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0]->text, "10/x");
    EXPECT_EQ(found[1]->text, "/x");
    EXPECT_EQ(store->highlightBookID(book, user).size(), 4u);
    EXPECT_TRUE(store->highlightBookID(book, user + 1).empty());
    EXPECT_TRUE(store->highlightBookID("other", user).empty());
}

TEST(SqliteDatabaseManager, ResavingARecordUpdatesItInPlaceAndKeepsItsServerId)
{
    TemporaryFolder folder;
    auto store = openStore(folder);
    auto highlight = std::make_shared<SDKHighlightVO>();
    highlight->pageIdentifier = "3";
    highlight->noteText = "first";
    store->saveHighlight(highlight, book, user);
    auto pending = store->unsyncedUGCForBookID(book, user);
    ASSERT_EQ(pending.size(), 1u);
    store->markUGCUploaded(book, user, { { pending[0].record, pending[0].revision, "srv-1" } });

    // A stale copy that never learnt its server id must not erase it.
    auto stale = std::make_shared<SDKHighlightVO>(*highlight);
    stale->noteText = "second";
    stale->status = UGCStatusUpdated;
    store->saveHighlight(stale, book, user);

    auto found = store->highlightForPageID("3", "", book, user);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0]->noteText, "second");
    EXPECT_EQ(found[0]->ugcID, "srv-1");
    EXPECT_FALSE(found[0]->isSynced);
}

TEST(SqliteDatabaseManager, BookMetadataIsMergedByKey)
{
    TemporaryFolder folder;
    auto store = openStore(folder);
    store->saveBookMetadata(base::Value::Dictionary { { "LastPageFolio", "12" } }, book, user);
    store->saveBookMetadata(base::Value::Dictionary { { "FurthestPageData", "{\"page\":40}" } }, book, user);
    store->saveBookMetadata(base::Value::Dictionary { { "LastPageFolio", base::Value() } }, book, user);
    store->saveBookMetadata(base::Value::Dictionary {}, book, user);
    store->saveBookMetadata(base::Value("not a dictionary"), book, user);

    auto metadata = store->getBookMetadataForbookID(book, user);
    EXPECT_EQ(metadata["LastPageFolio"], base::Value("12"));
    EXPECT_EQ(metadata["FurthestPageData"], base::Value("{\"page\":40}"));
    EXPECT_EQ(metadata.count(), 2u);

    store->saveBookMetadata(base::Value::Dictionary { { "LastPageFolio", "13" }, { "Flag", true } }, book, user);
    metadata = store->getBookMetadataForbookID(book, user);
    EXPECT_EQ(metadata["LastPageFolio"], base::Value("13"));
    EXPECT_EQ(metadata["FurthestPageData"], base::Value("{\"page\":40}"));
    EXPECT_EQ(metadata["Flag"], base::Value(true));
    EXPECT_TRUE(store->getBookMetadataForbookID(book, user + 1).asDictionary()->empty());
}

TEST(SqliteDatabaseManager, UserIdsAreKeptWholeAt64Bits)
{
    // Ids that agree in their low 32 bits must not see each other's content.
    const int64_t users[] = { 1, 1 + (int64_t(1) << 32), INT64_MAX, INT64_MIN, -1 };
    TemporaryFolder folder;
    {
        auto store = openStore(folder);
        for (int64_t id : users) {
            auto highlight = std::make_shared<SDKHighlightVO>();
            highlight->pageIdentifier = "1";
            highlight->text = std::to_string(id);
            store->saveHighlight(highlight, book, id);
            store->saveBookMetadata(
                base::Value::Dictionary { { "LastPageFolio", std::to_string(id) } }, book, id);
        }
    }
    auto reopened = openStore(folder);
    for (int64_t id : users) {
        SCOPED_TRACE(id);
        auto found = reopened->highlightBookID(book, id);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0]->text, std::to_string(id));
        EXPECT_EQ(
            reopened->getBookMetadataForbookID(book, id)["LastPageFolio"], base::Value(std::to_string(id)));
    }
}

TEST(SqliteDatabaseManager, HostileIdsAndTextAreStoredAsGiven)
{
    const std::string withNul("a\0b", 3);
    const std::string longText(200000, 'x');
    const char* injection = "1'); DROP TABLE ugc; --";
    struct Case {
        std::string bookID;
        std::string pageID;
        std::string text;
    };
    const Case cases[] = {
        { injection, "\"quoted\"", "it's \"quoted\"" },
        { "../../etc/passwd", "../1", "%s%n%x" },
        { longText, longText, longText },
        { withNul, withNul, withNul },
        { "книга", "страница", "текст 📚" },
        { "", "", "" },
    };
    TemporaryFolder folder;
    auto store = openStore(folder);
    for (const auto& entry : cases) {
        auto highlight = std::make_shared<SDKHighlightVO>();
        highlight->pageIdentifier = entry.pageID;
        highlight->text = entry.text;
        highlight->localID = entry.pageID.empty() ? std::string() : entry.pageID;
        store->saveHighlight(highlight, entry.bookID, user);
        store->saveBookMetadata(base::Value::Dictionary { { entry.pageID, entry.text } }, entry.bookID, user);
    }
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.bookID.substr(0, 40));
        auto found = store->highlightForPageID(entry.pageID, "", entry.bookID, user);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0]->text, entry.text);
        EXPECT_EQ(found[0]->pageIdentifier, entry.pageID);
        EXPECT_EQ(store->getBookMetadataForbookID(entry.bookID, user)[entry.pageID], base::Value(entry.text));
    }
    // Nothing was written outside the storage folder, and the table is still there.
    EXPECT_EQ(store->highlightBookID("../../etc/passwd", user).size(), 1u);
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        files.push_back(entry.path().filename().string());
    for (const auto& name : files)
        EXPECT_EQ(name.rfind(companion::storeFileName, 0), 0u) << name;
}

TEST(SqliteDatabaseManager, OneAnswerPerMarkupInTheOpenBook)
{
    TemporaryFolder folder;
    auto store = openStore(folder);
    auto first = std::make_shared<SDKFIBVO>();
    first->linkID = 5;
    first->text = "cat";
    first->pageIdentifier = "2";
    store->saveFIB(first, book, user);
    auto elsewhere = std::make_shared<SDKFIBVO>(*first);
    elsewhere->localID.clear();
    elsewhere->text = "other book";
    store->saveFIB(elsewhere, "other", user);

    auto second = std::make_shared<SDKFIBVO>();
    second->linkID = 5;
    second->text = "dog";
    second->pageIdentifier = "2";
    store->saveFIB(second, book, user);
    EXPECT_EQ(second->localID, first->localID) << "a new answer for the link takes the stored one's place";

    auto bookRecord = std::make_shared<PXBookVO>();
    bookRecord->bookID = book;
    store->setBook(bookRecord);
    auto answer = store->getFIBObjectWithLinkId(5, user);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->text, "dog");
    EXPECT_FALSE(store->getFIBObjectWithLinkId(6, user));
    EXPECT_FALSE(store->getFIBObjectWithLinkId(5, user + 1));
    EXPECT_EQ(store->unsyncedUGCForBookID(book, user).size(), 1u);

    PXLinkVO link;
    link.linkID = 5;
    auto equation = store->getEquationFIBObjectForText("x+1", link, user);
    EXPECT_EQ(equation->localID, first->localID);
    EXPECT_EQ(equation->text, "x+1");
    link.linkID = 9;
    link.pageID = "3";
    auto fresh = store->getEquationFIBObjectForText("y", link, user);
    EXPECT_EQ(fresh->linkID, 9);
    EXPECT_EQ(fresh->pageIdentifier, "3");
    EXPECT_TRUE(fresh->isEquation);
    EXPECT_FALSE(fresh->localID.empty());
}

TEST(SqliteDatabaseManager, SubmittedFlagDecidesWhichAnswersCountAndClear)
{
    TemporaryFolder folder;
    auto store = openStore(folder);
    auto makeAnswer = [&](int64_t linkID, const std::string& page) {
        auto answer = std::make_shared<SDKFIBVO>();
        answer->linkID = linkID;
        answer->pageIdentifier = page;
        answer->text = "a";
        store->saveFIB(answer, book, user);
        return answer;
    };
    makeAnswer(1, "7");
    EXPECT_TRUE(store->isSubmitAnotationAllowedForFibForBookID(book, user));
    store->submitAnotationForFibForBookID(book, user);
    EXPECT_FALSE(store->isSubmitAnotationAllowedForFibForBookID(book, user));
    EXPECT_TRUE(store->isFIBsAvailableOnPageID("7", "", book, user, true));
    EXPECT_FALSE(store->isFIBsAvailableOnPageID("7", "", book, user, false));

    makeAnswer(2, "7");
    EXPECT_TRUE(store->isFIBsAvailableOnPageID("7", "", book, user, false));
    store->clearAllFIBsOnPageNumber("7", "", book, user, false);
    EXPECT_FALSE(store->isFIBsAvailableOnPageID("7", "", book, user, false));
    EXPECT_TRUE(store->isFIBsAvailableOnPageID("7", "", book, user, true)) << "the submitted answer stays";
    store->clearAllFIBsOnPageNumber("7", "", book, user, true);
    EXPECT_FALSE(store->isFIBsAvailableOnPageID("7", "", book, user, true));

    auto pen = std::make_shared<SDKPentoolVO>();
    pen->pageIdentifier = "8";
    store->savePentoolDrawing(pen, book, user);
    EXPECT_FALSE(store->isSubmitAnotationAllowedForFibForBookID(book, user));
    EXPECT_TRUE(store->isSubmitAnotationAllowedForBookID(book, user));
    store->submitAnotationForBookID(book, user);
    EXPECT_FALSE(store->isSubmitAnotationAllowedForBookID(book, user));
    EXPECT_TRUE(store->pentoolDrawingForPageID("8", "", book, user).at(0)->isSubmitted);
}

TEST(SqliteDatabaseManager, ReadingSessionsAreReplacedUntilUploaded)
{
    TemporaryFolder folder;
    auto store = openStore(folder);
    store->createReaderAnalyticsSessionForUserID("501", book, R"({"PageTracking":[1]})");
    store->createReaderAnalyticsSessionForUserID("501", book, R"({"PageTracking":[1,2]})");
    auto sessions = store->getReaderAnalyticsForUser(user, book);
    ASSERT_EQ(sessions.count(), 1u);
    auto pending = store->unsyncedAnalyticsSessions(user, book);
    ASSERT_EQ(pending.count(), 1u);
    store->markAnalyticsSessionsSynced(user, book, pending.asDictionary()->keys());
    store->createReaderAnalyticsSessionForUserID("501", book, R"({"PageTracking":[3]})");
    sessions = store->getReaderAnalyticsForUser(user, book);
    ASSERT_EQ(sessions.count(), 2u);
    EXPECT_EQ(sessions.asDictionary()->begin()->second, base::Value(R"({"PageTracking":[1,2]})"));
    EXPECT_EQ(store->unsyncedAnalyticsSessions(user, book).count(), 1u);
}

TEST(SqliteDatabaseManager, EachVisitKeepsItsOwnUnsentSession)
{
    TemporaryFolder folder;
    auto store = openStore(folder);
    auto session = [](const char* visit, int seconds) {
        return std::string(R"({"PageTracking":[{"EventInfo":{"ReaderSeatingID":")") + visit
            + R"(","TimeSpend":")" + std::to_string(seconds) + R"("}}]})";
    };
    // The first visit saves twice (replaced), is not sent, and the book is opened again.
    store->createReaderAnalyticsSessionForUserID("501", book, session("visit-a", 10));
    store->createReaderAnalyticsSessionForUserID("501", book, session("visit-a", 20));
    store->createReaderAnalyticsSessionForUserID("501", book, session("visit-b", 5));
    store->createReaderAnalyticsSessionForUserID("501", book, session("visit-b", 15));

    auto pending = store->unsyncedAnalyticsSessions(user, book);
    ASSERT_EQ(pending.count(), 2u);
    std::vector<std::string> texts;
    for (const auto& [id, data] : *pending.asDictionary())
        texts.push_back(*data.asString());
    EXPECT_EQ(texts, (std::vector<std::string> { session("visit-a", 20), session("visit-b", 15) }));
}

TEST(SqliteDatabaseManager, ClassesCarryTheLastSavedShareLists)
{
    TemporaryFolder folder;
    auto store = openStore(folder);
    auto makeClass = [](const char* id, const char* title) {
        auto info = std::make_shared<SDKBookClassInfoVO>();
        info->classId = id;
        info->classTitle = title;
        info->userId = user;
        info->shareHighlightConfiguration.isSharingEnable = true;
        info->teachers = base::Value::List { base::Value::Dictionary {
            { "user", base::Value::Dictionary { { "id", 9 }, { "firstName", "Tess" }, { "lastName", "Teacher" } } } } };
        info->learners = base::Value::List {
            base::Value::Dictionary { { "user", base::Value::Dictionary { { "id", user }, { "firstName", "Me" } } } },
            base::Value::Dictionary { { "user", base::Value::Dictionary { { "id", "12" }, { "firstName", "Lea" }, { "lastName", "Learner" } } } },
        };
        return info;
    };
    store->saveBookClassInfo(book, user, { makeClass("c1", "Class One"), makeClass("c2", "Class Two") });
    EXPECT_TRUE(store->getUnsyncedCollabDataDictionaryForUserID(user).asDictionary()->empty());

    base::Value lists = base::Value::Dictionary { { "shareList", base::Value::List { 12 } }, { "recieveList", base::Value::List { 9 } } };
    store->saveSharedReceivedInfo(lists, book, user);

    auto classes = store->bookClassInfoArrayForBookID(book, user);
    ASSERT_EQ(classes.size(), 2u);
    EXPECT_EQ(classes[0]->classTitle, "Class One");
    EXPECT_EQ(classes[1]->classId, "c2");
    EXPECT_EQ(classes[0]->shareList, base::Value(base::Value::List { 12 }));

    auto users = classes[0]->getUserListArray(classes, user, 0);
    ASSERT_EQ(users["students"].count(), 1u) << "the user is not offered to themselves";
    EXPECT_EQ(users["students"].at(0)["fullName"], base::Value("Lea Learner"));
    EXPECT_EQ(users["students"].at(0)["isShared"], base::Value(true));
    EXPECT_EQ(users["teachers"].at(0)["isReceived"], base::Value(true));
    EXPECT_TRUE(classes[0]->getUserListArray(classes, user, 2).isNull());

    auto collab = store->getUnsyncedCollabDataDictionaryForUserID(user);
    EXPECT_EQ(collab[book], lists);
    store->markSharedReceivedInfoSynced(book, user);
    EXPECT_TRUE(store->getUnsyncedCollabDataDictionaryForUserID(user).asDictionary()->empty());
}

TEST(SqliteDatabaseManager, ReceivedNotesAreAnsweredOrDeclined)
{
    TemporaryFolder folder;
    auto store = openStore(folder);
    std::vector<std::shared_ptr<SDKUGCVO>> received;
    for (const char* id : { "r1", "r2" }) {
        auto note = std::make_shared<SDKHighlightVO>();
        note->ugcID = id;
        note->noteText = "shared with you";
        note->isReceived = true;
        note->isAnswered = false;
        note->pageIdentifier = "5";
        received.push_back(note);
    }
    store->storeFetchedUGC(book, user, received);
    store->updateAnsweredUGC("r1", true, "501");
    store->updateAnsweredUGC("r2", false, "501");
    auto notes = store->highlightBookID(book, user);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0]->ugcID, "r1");
    EXPECT_TRUE(notes[0]->isAnswered);
    EXPECT_TRUE(notes[0]->isSynced);
}

TEST(SqliteDatabaseManager, ScormDataAndFontSettingsRoundTrip)
{
    TemporaryFolder folder;
    auto store = openStore(folder);
    EXPECT_FALSE(store->fetchScormDataWithBookID(book, user, "31"));
    store->saveSCORMdataToDB(book, user, "31", "cmi.location=4", "class-1", 3, "Quiz", false);
    store->saveSCORMdataToDB(book, user, "31", "cmi.location=5", "class-1", 3, "Quiz", false);
    EXPECT_EQ(store->fetchScormDataWithBookID(book, user, "31").value_or(""), "cmi.location=5");
    ASSERT_EQ(store->unsyncedScormData(book, user).count(), 1u);
    store->markScormSynced(book, user, "31");
    EXPECT_EQ(store->unsyncedScormData(book, user).count(), 0u);

    EXPECT_FALSE(store->getReaderFontSettingForBookID(book, user));
    auto settings = std::make_shared<ReaderFontSettingsVO>();
    settings->fontFamily = "OpenSans";
    settings->fontSize = 4;
    settings->scrollEnabled = true;
    settings->margin = 2;
    store->saveReaderFontSetting(settings, book, user);
    auto stored = store->getReaderFontSettingForBookID(book, user);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->toDictionary(), settings->toDictionary());
}

TEST(SqliteDatabaseManager, UnusableStorageIsAClearError)
{
    TemporaryFolder folder;
    auto file = folder.path() / "plain-file";
    std::ofstream(file) << "x";
    auto notAFolder = SqliteDatabaseManager::open(file.string());
    ASSERT_FALSE(notAFolder.ok());
    EXPECT_EQ(notAFolder.error().domain, companion::storeErrorDomain);
    EXPECT_NE(notAFolder.error().localizedDescription().find(file.string()), std::string::npos);
    EXPECT_FALSE(SqliteDatabaseManager::open("").ok());
}

TEST(SqliteDatabaseManager, ADatabaseOfANewerSchemaIsRefused)
{
    TemporaryFolder folder;
    openStore(folder);
    sqlite3* handle = nullptr;
    ASSERT_EQ(sqlite3_open((folder.path() / companion::storeFileName).c_str(), &handle), SQLITE_OK);
    sqlite3_exec(handle, "PRAGMA user_version = 99", nullptr, nullptr, nullptr);
    sqlite3_close(handle);
    auto reopened = SqliteDatabaseManager::open(folder.string());
    ASSERT_FALSE(reopened.ok());
    EXPECT_NE(reopened.error().localizedDescription().find("newer"), std::string::npos);
}
