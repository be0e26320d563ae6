#pragma once

// The service, in process: the default transport of the example host and of tests that
// want a working back end. It keeps what it receives per user and book and answers the
// way the real service does (UGC save and fetch, reading sessions, furthest and last page,
// SCORM data, class info, sharing, teacher review and reports, translation, token refresh).
//
// Tokens are accepted until they are expired (expireToken(), or a refresh that replaces
// them); a request with an expired token is refused with the expired-session error (the
// furthest-page and report operations answer 401 instead, as the real services do). A
// token names the user of the first request that carried both (operations that send no
// user id, such as sharing answers, need one).
//
// Classes (setClassInfo) are dictionaries as SDKBookClassInfoVO reads them, with their
// "teachers" and "learners"; a user's UGC fetch answers only the classes the user is in,
// with "userId", "roleID" ("TEACHER" or "LEARNER") and the user's stored share lists.
//
// Sharing happens between users of one class of the book: a note saved with "isShare"
// and the other user in "sharedUsers", or any highlight or note of a user whose class
// "shareList" holds the other user (when that user has stored lists, its "recieveList"
// must hold the sharer), comes back in the other user's UGC fetch as a received copy
// ("isReceived", "isAnswered" NO until answered, "creatorName", the sharer's "ugcID").
// Answers (collab.answer) are kept per user; a declined note comes back with status 3.
// A received note saved back by its receiver only adds the receiver's comments to the
// sharer's note; comments are never removed, so every thread is the union of its posts.
// The sharer's note lists who accepted and who declined ("acceptedUsers", "declinedUsers").
//
// Teacher review: a learner's submission (annotations.submit) takes the learner's pen
// drawings and answers held for the book at that moment; studentAnnotations.fetch answers
// them grouped by page ({"pageUgc": [{"pageId", "folioID", "ugcList"}]}); a teacher's
// saved review replaces, adds or (status 3) removes records of that work and of the
// learner's own UGC. A markup report is refused with "The specified key does not exist."
// when none of its learners has submitted work for the book. Learner and user ids are
// 64-bit numbers or decimal text; anything else is a malformed request.
//
// Translation answers from a small phrase table (see PhraseTable.h).
//
// Streamed media books (setMediaBook): hls.mediaBook answers the book's media folder under
// "mediaPath" and, when the request enables CDN cookies and the book has some, its
// "cookies"; a book it does not hold is refused with 404 "The specified key does not exist.".
//
// Scripting for tests: scriptNext() replaces the answer of the next request (optionally of
// one operation) by any ServiceAnswer; setOffline() fails everything with the offline
// error; setDefaultDelivery() chooses how real answers arrive (main queue by default).
// Every request is logged. Thread-safe: clients may send from worker threads.

#include "companion/service/ServiceAnswer.h"
#include "companion/service/Transport.h"

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace companion {

namespace inprocess {
class UGCPlaces;
}

class InProcessService final : public Transport, public std::enable_shared_from_this<InProcessService> {
public:
    static std::shared_ptr<InProcessService> create();

    void send(ServiceRequest, ServiceCompletion) override;

    // Scripting.
    void scriptNext(ServiceAnswer);
    void scriptNext(const std::string& operation, ServiceAnswer);
    void clearScript();
    void setOffline(bool);
    void setDefaultDelivery(Delivery, double delay = 0);
    void expireToken(const std::string& token);
    bool isTokenExpired(const std::string& token) const;

    // Seeding, for the host and tests.
    void setClassInfo(int64_t bookID, base::Value classInfoList);
    void setLastPage(int64_t userID, int64_t bookID, std::string lastPageFolio);
    // A learner's submitted work, as the fetch answers it ({"pageId", "folioID", "ugcList"}
    // page dictionaries); it replaces what the learner submitted before.
    void setStudentAnnotations(int64_t learnerID, int64_t bookID, base::Value pageUgcList);
    void setBookTOC(int64_t bookID, base::Value toc);
    // The folder of a streamed media book (toc.json, time-index.json and its playlists) and
    // the CDN cookies (a dictionary, or null) answered with it.
    void setMediaBook(int64_t bookID, std::string mediaFolder, base::Value cookies = {});

    // What it holds.
    std::vector<ServiceRequest> requests() const;
    size_t requestCount() const;
    base::Value ugcFor(int64_t userID, int64_t bookID) const;
    base::Value trackingSessionsFor(int64_t userID, int64_t bookID) const;
    std::optional<std::string> furthestPageFor(int64_t userID, int64_t bookID) const;
    std::optional<std::string> lastPageFor(int64_t userID, int64_t bookID) const;
    base::Value scormDataFor(int64_t userID, int64_t bookID) const;
    base::Value sharedHighlights() const;
    base::Value collabAnswers() const;
    base::Value teacherAnnotations() const;
    base::Value submissions() const;
    // The share lists the user last sent for the book: {"shareList", "recieveList"}, or
    // null.
    base::Value shareListsFor(int64_t userID, int64_t bookID) const;
    // The learner's submitted work for the book, as a flat list of UGC dictionaries.
    base::Value submittedWorkFor(int64_t learnerID, int64_t bookID) const;
    // Every markup report requested, oldest first (the request bodies).
    base::Value reportRequests() const;

private:
    InProcessService() = default;

    struct Scripted {
        std::string operation;
        ServiceAnswer answer;
    };
    using Key = std::pair<int64_t, int64_t>; // user, book

    ServiceResult handle(const ServiceRequest&);
    ServiceResult handleUGCFetch(const base::Value& body);
    ServiceResult handleUGCSave(const base::Value& body);
    ServiceResult handleTrackingSave(const base::Value& body);
    ServiceResult handleFurthestPageSave(const base::Value& body);
    ServiceResult handleFurthestPageFetch(const base::Value& body);
    ServiceResult handleLastPageFetch(const ServiceRequest&);
    ServiceResult handleTokenRefresh(const ServiceRequest&);
    // Streamed media books (InProcessServiceMedia.cpp).
    ServiceResult handleHLSMediaBook(const ServiceRequest&);
    void rememberUserOfToken(const ServiceRequest&);
    std::optional<int64_t> userOfToken(const std::string& token) const;
    // Deleting a record leaves a marker in `tombstones` (when given) so that the user's
    // other devices hear of the deletion on their next fetch. With `places` (built over
    // `stored`) a deleted record is left as a null entry, for the caller to compact.
    void mergeUGC(base::Value::List& stored, const base::Value& item, base::Value::List& saved, int64_t bookID,
        base::Value::List* tombstones, inprocess::UGCPlaces* places = nullptr);
    std::string nextUGCID();

    // Sharing (InProcessServiceSharing.cpp).
    ServiceResult handleCollabSave(const base::Value& body);
    ServiceResult handleHighlightShare(const ServiceRequest&);
    ServiceResult handleCollabAnswer(const ServiceRequest&);
    base::Value classInfoFor(int64_t userID, int64_t bookID) const;
    // Notes the user received earlier and may no longer see come back as deleted.
    base::Value::List receivedNotesFor(int64_t userID, int64_t bookID);
    // A received note saved back by its receiver: its comments join the sharer's note.
    // False when the item is not a note shared with the user.
    bool mergeIntoSharedNote(int64_t userID, int64_t bookID, const base::Value& item, base::Value::List& saved,
        const inprocess::UGCPlaces& ownPlaces);
    // The sharer's note with that service id that `receiver` may see; null otherwise.
    // With no book, any book's.
    base::Value* sharedNoteFor(int64_t receiver, std::optional<int64_t> bookID, const std::string& ugcID);
    bool isSharedWith(const base::Value& record, int64_t owner, int64_t receiver, int64_t bookID) const;
    bool inOneClass(int64_t first, int64_t second, int64_t bookID) const;
    std::string displayNameOf(int64_t userID, int64_t bookID) const;

    // Teacher review (InProcessServiceReview.cpp).
    ServiceResult handleSubmit(const base::Value& body);
    ServiceResult handleStudentAnnotationsFetch(const base::Value& body);
    ServiceResult handleTeacherAnnotationsSave(const base::Value& body);
    ServiceResult handleMarkupReport(const base::Value& body);
    ServiceResult handleBookTOCFetch(const base::Value& body);

    // Translation (InProcessServiceTranslation.cpp).
    ServiceResult handleTranslation(const ServiceRequest&);

    mutable std::mutex m_mutex;
    std::vector<ServiceRequest> m_requests;
    std::deque<Scripted> m_script;
    bool m_offline = false;
    Delivery m_delivery = Delivery::MainQueue;
    double m_delay = 0;
    std::set<std::string> m_expiredTokens;
    std::map<std::string, int64_t> m_userOfToken;
    uint64_t m_nextToken = 1;
    uint64_t m_nextUGCID = 1;

    std::map<Key, base::Value::List> m_ugc;
    // Deletion markers of records that were removed, answered with every later fetch.
    std::map<Key, base::Value::List> m_tombstones;
    // Service ids of the received notes each user's fetches have answered.
    std::map<Key, std::set<std::string>> m_deliveredReceived;
    std::map<Key, base::Value::Dictionary> m_collab;
    std::map<Key, base::Value::List> m_tracking;
    std::map<Key, std::string> m_furthestPage;
    std::map<Key, std::string> m_lastPage;
    std::map<Key, base::Value> m_scorm;
    std::map<int64_t, base::Value> m_classInfo;
    // (user, service id of someone else's note) → accepted.
    std::map<std::pair<int64_t, std::string>, bool> m_collabAnswer;
    // (learner, book) → the learner's submitted pen drawings and answers.
    std::map<Key, base::Value::List> m_submitted;
    base::Value::List m_reports;
    std::map<int64_t, base::Value> m_bookTOC;
    struct MediaBook {
        std::string folder;
        base::Value cookies;
    };
    std::map<int64_t, MediaBook> m_mediaBooks;
    base::Value::List m_sharedHighlights;
    base::Value::List m_collabAnswers;
    base::Value::List m_teacherAnnotations;
    base::Value::List m_submissions;
};

} // namespace companion
