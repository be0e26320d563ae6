#pragma once

// The service, in process: the default transport of the example host and of tests that
// want a working back end. It keeps what it receives per user and book and answers the
// way the real service does (UGC save and fetch, reading sessions, furthest and last page,
// SCORM data, class info, sharing, teacher review, token refresh).
//
// Tokens are accepted until they are expired (expireToken(), or a refresh that replaces
// them); a request with an expired token is refused with the expired-session error (the
// furthest-page operations answer 401 instead, as the real service does).
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
    void setStudentAnnotations(const std::string& learnerID, int64_t bookID, base::Value pageUgcList);
    void setBookTOC(int64_t bookID, base::Value toc);

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
    void rememberUserOfToken(const ServiceRequest&);
    void mergeUGC(base::Value::List& stored, const base::Value& item, base::Value::List& saved, int64_t bookID);

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
    std::map<Key, base::Value::Dictionary> m_collab;
    std::map<Key, base::Value::List> m_tracking;
    std::map<Key, std::string> m_furthestPage;
    std::map<Key, std::string> m_lastPage;
    std::map<Key, base::Value> m_scorm;
    std::map<int64_t, base::Value> m_classInfo;
    std::map<std::pair<std::string, int64_t>, base::Value> m_studentAnnotations;
    std::map<int64_t, base::Value> m_bookTOC;
    base::Value::List m_sharedHighlights;
    base::Value::List m_collabAnswers;
    base::Value::List m_teacherAnnotations;
    base::Value::List m_submissions;
};

} // namespace companion
