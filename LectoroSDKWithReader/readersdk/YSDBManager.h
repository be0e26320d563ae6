#pragma once

// The local store of the companion framework: the reader's user content and book data,
// keyed by book id (its decimal text, as the reader holds it) and numeric user id.
//
// Every call is synchronous and returns at once. A write answers success only once it is
// durable; a write that could not be made answers the store's error and changes nothing,
// so nothing is ever reported as saved that is not on disk. A save marks the record unsynced (it waits for the batch upload); a delete of a record that
// was uploaded keeps it as a deleted, unsynced record until the upload tells the server,
// and a delete of one that never was removes it. Reads never answer deleted records.
// The store may be used from several threads.

#include "LectoroSDKWithReader/readersdk/AnalyticsManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXLinkVO.h"
#include "LectoroSDKWithReader/readersdk/records/ReaderFontSettingsVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookClassInfoVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKProtractorVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKTextAnnotationVO.h"

#include "platform/base/Error.h"
#include "platform/base/Value.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lectoro {

// What went wrong with the store itself, as the code of the errors it answers and reports
// (their domain is the store's own); the description names the cause in words.
enum class YSDBManagerErrorCode : int64_t {
    // The storage cannot be written: a read-only folder, file or medium.
    ReadOnly = 100,
    // The disk is full.
    Full = 101,
    // Another process holds the store locked.
    Locked = 102,
    // The file is not a database, or fails its own consistency check.
    Damaged = 103,
    // A newer version of the framework wrote it.
    NewerSchema = 104,
    // Anything else that keeps the store from opening or writing.
    Unusable = 105,
    // A damaged store was moved aside ("keptPath" in the user info) and a fresh, empty one
    // started; the data in the kept file is not in the new store.
    ReplacedDamaged = 106,
    // A record to save holds text that is not UTF-8: it is not saved (what was stored
    // stays), as the sync's JSON could not carry the text unchanged.
    InvalidText = 107,
};

class YSDBManager {
public:
    virtual ~YSDBManager() = default;

    // Problems of the store beside the answers of its calls: a damaged store replaced by a
    // fresh one or a store that could not be opened at all (each reported once, to the
    // first handler set, or at once when one is set later) and every write that fails.
    // The handler runs on the thread of the failing call; setting one replaces the last,
    // and an empty one removes it.
    virtual void setProblemHandler(std::function<void(const base::Error&)>) { }

    // The open book; answer lookups that carry no book id (getFIBObjectWithLinkId) are
    // made in it.
    virtual void setBook(std::shared_ptr<LectoroBookVO>) = 0;

    // Per-page queries answer the records whose page identifier is `pageID`, or, for a
    // record without one, whose display number is `displayNumber`; in saving order.

    virtual base::Result<void> saveHighlight(const std::shared_ptr<SDKHighlightVO>&, const std::string& bookID, int64_t userID) = 0;
    virtual base::Result<void> deleteHighlight(const std::shared_ptr<SDKHighlightVO>&, const std::string& bookID, int64_t userID) = 0;
    virtual std::vector<std::shared_ptr<SDKHighlightVO>> highlightForPageID(const std::string& pageID,
        const std::string& displayNumber, const std::string& bookID, int64_t userID) = 0;
    // Every highlight and note of the user in the book.
    virtual std::vector<std::shared_ptr<SDKHighlightVO>> highlightBookID(const std::string& bookID, int64_t userID) = 0;
    // The same list for a reader that only reads it: one list that nobody changes, shared by
    // every holder, so a big book's ten thousand highlights are not copied for each reader. A
    // holder keeps what it was given; a later save or delete shows in the next answer.
    using SharedHighlightList = std::shared_ptr<const std::vector<std::shared_ptr<const SDKHighlightVO>>>;
    virtual SharedHighlightList sharedHighlightsOfBook(const std::string& bookID, int64_t userID)
    {
        auto records = highlightBookID(bookID, userID);
        return std::make_shared<const std::vector<std::shared_ptr<const SDKHighlightVO>>>(records.begin(), records.end());
    }
    // The user's answer to a received note: accepted marks it answered; declined removes it.
    virtual base::Result<void> updateAnsweredUGC(const std::string& ugcID, bool accepted, const std::string& userId) = 0;

    virtual base::Result<void> saveBookmark(const std::shared_ptr<SDKBookmarkVO>&, const std::string& bookID, int64_t userID) = 0;
    virtual base::Result<void> deleteBookmark(const std::shared_ptr<SDKBookmarkVO>&, const std::string& bookID, int64_t userID) = 0;
    virtual std::vector<std::shared_ptr<SDKBookmarkVO>> bookmarkForPageID(const std::string& pageID,
        const std::string& displayNumber, const std::string& bookID, int64_t userID) = 0;
    virtual std::vector<std::shared_ptr<SDKBookmarkVO>> bookMarkBookID(const std::string& bookID, int64_t userID) = 0;

    virtual base::Result<void> savePentoolDrawing(const std::shared_ptr<SDKPentoolVO>&, const std::string& bookID, int64_t userID) = 0;
    virtual base::Result<void> deletePentoolDrawing(const std::shared_ptr<SDKPentoolVO>&, const std::string& bookID, int64_t userID) = 0;
    virtual std::vector<std::shared_ptr<SDKPentoolVO>> pentoolDrawingForPageID(const std::string& pageID,
        const std::string& displayNumber, const std::string& bookID, int64_t userID) = 0;

    virtual base::Result<void> saveTextAnnotation(const std::shared_ptr<SDKTextAnnotationVO>&, const std::string& bookID, int64_t userID) = 0;
    virtual base::Result<void> deleteTextAnnotation(const std::shared_ptr<SDKTextAnnotationVO>&, const std::string& bookID, int64_t userID) = 0;
    virtual std::vector<std::shared_ptr<SDKTextAnnotationVO>> textAnnotationVOForPageID(const std::string& pageID,
        const std::string& displayNumber, const std::string& bookID, int64_t userID) = 0;

    // One answer per markup: saving an answer for a link that has one replaces it.
    virtual base::Result<void> saveFIB(const std::shared_ptr<SDKFIBVO>&, const std::string& bookID, int64_t userID) = 0;
    virtual base::Result<void> updateFIB(const std::shared_ptr<SDKFIBVO>&, const std::string& bookID, int64_t userID) = 0;
    virtual base::Result<void> deleteFIB(const std::shared_ptr<SDKFIBVO>&, const std::string& bookID, int64_t userID) = 0;
    // The stored answer of the link in the open book (setBook); null when there is none.
    virtual std::shared_ptr<SDKFIBVO> getFIBObjectWithLinkId(int64_t linkID, int64_t userId) = 0;
    // The stored equation answer of the link, or a new one for it; either way carrying `text`.
    virtual std::shared_ptr<SDKFIBVO> getEquationFIBObjectForText(const std::string& text, const PXLinkVO& link,
        int64_t userId) = 0;
    // `submitted` YES counts every answer; NO only those not yet handed in.
    virtual bool isFIBsAvailableOnPageID(const std::string& pageID, const std::string& displayNumber,
        const std::string& bookID, int64_t userID, bool submitted) = 0;
    // Deletes the answers that isFIBsAvailableOnPageID counts.
    virtual base::Result<void> clearAllFIBsOnPageNumber(const std::string& pageID, const std::string& displayNumber,
        const std::string& bookID, int64_t userID, bool submitted) = 0;
    // Record builders for UGC items of learner work; null for an item of another kind.
    virtual std::shared_ptr<SDKFIBVO> getSDKFIBVOFromUGCDictionary(const base::Value&) = 0;
    virtual std::shared_ptr<SDKPentoolVO> getSDKPenToolVOFromUGCDictionary(const base::Value&) = 0;

    // Submission of a learner's work: answers and pen drawings, or answers only.
    virtual bool isSubmitAnotationAllowedForBookID(const std::string& bookID, int64_t userID) = 0;
    virtual bool isSubmitAnotationAllowedForFibForBookID(const std::string& bookID, int64_t userID) = 0;
    virtual base::Result<void> submitAnotationForBookID(const std::string& bookID, int64_t userID) = 0;
    virtual base::Result<void> submitAnotationForFibForBookID(const std::string& bookID, int64_t userID) = 0;

    virtual base::Result<void> saveProtractor(const std::shared_ptr<SDKProtractorVO>&, const std::string& bookID, int64_t userID) = 0;
    virtual base::Result<void> deleteProtractorDrawing(const std::shared_ptr<SDKProtractorVO>&, const std::string& bookID, int64_t userID) = 0;
    virtual std::vector<std::shared_ptr<SDKProtractorVO>> protractorForPageID(const std::string& pageID,
        const std::string& displayNumber, const std::string& bookID, int64_t userID) = 0;

    // SCORM learner data, one text per package.
    virtual base::Result<void> saveSCORMdataToDB(const std::string& bookID, int64_t userID, const std::string& scormID,
        const std::string& scormString, const std::string& classId, int64_t pageID, const std::string& activityName,
        bool isSynced) = 0;
    virtual std::optional<std::string> fetchScormDataWithBookID(const std::string& bookID, int64_t userID,
        const std::string& scormID) = 0;

    // The reading session of an open book: each call replaces the session not yet uploaded
    // (the tracking JSON holds every event queued so far), so no event is counted twice.
    virtual base::Result<void> createReaderAnalyticsSessionForUserID(const std::string& userID, const std::string& bookID,
        const std::string& analyticsData) = 0;
    // Every stored session of the user and book: session id text to its JSON text.
    virtual base::Value getReaderAnalyticsForUser(int64_t userID, const std::string& bookID) = 0;
    // The same session from the analytics manager's hand-over by name. A whole hand-over
    // is stored as createReaderAnalyticsSessionForUserID stores its text; new events are
    // added to the session stored last, and answer false (nothing written) when the store
    // cannot place them (another session, a store changed meanwhile): the caller then
    // hands over the whole visit.
    virtual base::Result<bool> storeReaderAnalyticsChanges(const std::string& userID, const std::string& bookID,
        const TrackingChanges& changes)
    {
        if (!changes.whole)
            return false;
        auto stored = createReaderAnalyticsSessionForUserID(userID, bookID, changes.wholeText());
        if (!stored.ok())
            return stored.error();
        return true;
    }
    // The same, for saves made often (a page leaving the screen): once it returns the change
    // survives the process ending, and reaches the disk itself with the store's next synced
    // write (a power cut before then may lose it). A store without the distinction stores it
    // as above.
    virtual base::Result<bool> storeReaderAnalyticsChangesWithoutSync(const std::string& userID,
        const std::string& bookID, const TrackingChanges& changes)
    {
        return storeReaderAnalyticsChanges(userID, bookID, changes);
    }

    // The colour migration's memory, so that it reads a book's highlights only when it may
    // have something to change. Remembered: the migration ran for the book with these offered
    // colours (in this order), and every highlight stored since had one of them. A store
    // forgets it when a highlight of another colour is stored, or when a list of the book's
    // highlights could not be read. A store without a memory answers false: the migration
    // then runs every time.
    virtual bool highlightColorsWereMigrated(const std::string& bookID, int64_t userID,
        const std::vector<std::string>& offeredColors)
    {
        (void)bookID, (void)userID, (void)offeredColors;
        return false;
    }
    // Remembered before the migration reads the highlights, so that a highlight of another
    // colour stored while it runs makes the next one run again.
    virtual void rememberHighlightColorMigration(const std::string& bookID, int64_t userID,
        const std::vector<std::string>& offeredColors)
    {
        (void)bookID, (void)userID, (void)offeredColors;
    }
    // A migration that could not store every change is not remembered.
    virtual void forgetHighlightColorMigration(const std::string& bookID, int64_t userID)
    {
        (void)bookID, (void)userID;
    }

    // Book metadata is merged by key: keys not in `metadata` keep their values, and a null
    // value leaves the stored one alone. Values are any JSON-representable Value.
    virtual base::Result<void> saveBookMetadata(const base::Value& metadata, const std::string& bookID, int64_t userID) = 0;
    // A dictionary, empty when nothing is stored.
    virtual base::Value getBookMetadataForbookID(const std::string& bookID, int64_t userID) = 0;

    virtual base::Result<void> saveReaderFontSetting(const std::shared_ptr<ReaderFontSettingsVO>&, const std::string& bookID,
        int64_t userID) = 0;
    virtual std::shared_ptr<ReaderFontSettingsVO> getReaderFontSettingForBookID(const std::string& bookID,
        int64_t userID) = 0;

    // The user's classes for the book, in the order the service gave them; the lists last
    // saved with saveSharedReceivedInfo are applied to each.
    virtual std::vector<std::shared_ptr<SDKBookClassInfoVO>> bookClassInfoArrayForBookID(const std::string& bookID,
        int64_t user) = 0;
    // {"shareList": [...], "recieveList": [...]}, kept until uploaded.
    virtual base::Result<void> saveSharedReceivedInfo(const base::Value& payload, const std::string& bookID, int64_t userID) = 0;

    // {"ugcBookList": [{"bookID": text, "ugcList": [UGC dictionaries]}]}: every book with
    // content still to upload, deleted records included.
    virtual base::Value getUnsynedUGCDictionaryForUserID(int64_t userID) = 0;
    // Book id text to its share payload not yet uploaded; empty when all is uploaded.
    virtual base::Value getUnsyncedCollabDataDictionaryForUserID(int64_t userID) = 0;
};

} // namespace lectoro
