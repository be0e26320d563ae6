#include "companion/service/InProcessService.h"

#include "companion/service/InProcessServiceSupport.h"
#include "companion/service/ServiceErrors.h"
#include "companion/service/ValueText.h"
#include "platform/base/Json.h"
#include "platform/base/Strings.h"

#include <algorithm>

namespace companion {

using namespace inprocess;

namespace {

// The furthest-page and report services refuse an expired token with 401.
bool answersExpiryWith401(const std::string& operation)
{
    return operation == op::furthestPageSave || operation == op::furthestPageFetch || operation == op::bookTocFetch
        || operation == op::markupReport;
}

// The last page a reading session closed on, when its events carry one.
std::optional<std::string> lastPageInSession(const base::Value& session)
{
    const base::Value* parsed = &session;
    base::Value holder;
    if (auto text = session.stringPointer()) {
        auto result = base::parseJson(*text);
        if (!result.ok())
            return std::nullopt;
        holder = std::move(result.value());
        parsed = &holder;
    }
    std::optional<std::string> found;
    const base::Value::List* events = (*parsed)["BookClose"].asList();
    if (!events)
        return std::nullopt;
    for (const auto& event : *events) {
        const base::Value& folio = event["EventInfo"]["LastPageFolio"];
        if (!folio.isNull())
            found = textOf(folio);
    }
    return found;
}

} // namespace

std::shared_ptr<InProcessService> InProcessService::create()
{
    return std::shared_ptr<InProcessService>(new InProcessService);
}

void InProcessService::send(ServiceRequest request, ServiceCompletion completion)
{
    std::optional<ServiceAnswer> scripted;
    Delivery delivery;
    double delay;
    ServiceResult result = base::Value();
    {
        std::lock_guard lock(m_mutex);
        m_requests.push_back(request);
        for (auto it = m_script.begin(); it != m_script.end(); ++it) {
            if (it->operation.empty() || it->operation == request.operation) {
                scripted = it->answer;
                m_script.erase(it);
                break;
            }
        }
        delivery = m_delivery;
        delay = m_delay;
        if (scripted) {
            result = scripted->resultFor(request);
            delivery = scripted->delivery;
            delay = scripted->delay;
        } else if (m_offline) {
            result = offlineError();
        } else if (request.operation != op::tokenRefresh && m_expiredTokens.contains(request.userToken)) {
            result = answersExpiryWith401(request.operation) ? ServiceResult(unauthorizedError())
                                                                 : ServiceResult(expiredTokenError(request.userToken));
        } else {
            rememberUserOfToken(request);
            result = handle(request);
        }
    }
    if (!completion)
        return;
    auto shared = std::make_shared<ServiceResult>(std::move(result));
    deliver(delivery, delay, [completion = std::move(completion), shared]() mutable {
        completion(std::move(*shared));
    });
}

std::string InProcessService::nextUGCID()
{
    return std::to_string(1000 + m_nextUGCID++);
}

std::optional<int64_t> InProcessService::userOfToken(const std::string& token) const
{
    auto found = m_userOfToken.find(token);
    if (found == m_userOfToken.end())
        return std::nullopt;
    return found->second;
}

void InProcessService::rememberUserOfToken(const ServiceRequest& request)
{
    if (request.userToken.empty())
        return;
    if (auto userID = idFrom(request.body["userID"]))
        m_userOfToken[request.userToken] = *userID;
}

ServiceResult InProcessService::handle(const ServiceRequest& request)
{
    const base::Value& body = request.body;
    if (!body.isDictionary() && !body.isNull())
        return malformed("the body is not an object");
    const std::string& operation = request.operation;

    if (operation == op::ugcFetch)
        return handleUGCFetch(body);
    if (operation == op::ugcSave)
        return handleUGCSave(body);
    if (operation == op::trackingSave)
        return handleTrackingSave(body);
    if (operation == op::furthestPageSave)
        return handleFurthestPageSave(body);
    if (operation == op::furthestPageFetch)
        return handleFurthestPageFetch(body);
    if (operation == op::lastPageFetch)
        return handleLastPageFetch(request);
    if (operation == op::tokenRefresh)
        return handleTokenRefresh(request);
    if (operation == op::collabSave)
        return handleCollabSave(body);
    if (operation == op::highlightShare)
        return handleHighlightShare(request);
    if (operation == op::collabAnswer)
        return handleCollabAnswer(request);
    if (operation == op::annotationsSubmit)
        return handleSubmit(body);
    if (operation == op::studentAnnotationsFetch)
        return handleStudentAnnotationsFetch(body);
    if (operation == op::teacherAnnotationsSave)
        return handleTeacherAnnotationsSave(body);
    if (operation == op::bookTocFetch)
        return handleBookTOCFetch(body);
    if (operation == op::markupReport)
        return handleMarkupReport(body);
    if (operation == op::hlsMediaBook)
        return handleHLSMediaBook(request);
    if (operation.starts_with(op::translationPrefix))
        return handleTranslation(request);

    if (operation == op::scormFetch || operation == op::scormSave) {
        auto userID = idFrom(body["userID"]);
        auto bookID = idFrom(body["bookID"]);
        if (!userID || !bookID)
            return malformed(operation + " needs userID and bookID");
        Key key { *userID, *bookID };
        auto& stored = m_scorm[key];
        if (!stored.isList())
            stored = base::Value::List {};
        if (operation == op::scormSave) {
            const base::Value::List* entries = body["scormData"].asList();
            if (!entries)
                return malformed("scorm.save needs a scormData list");
            auto& list = *stored.asList();
            for (const auto& entry : *entries) {
                std::string scormID = textOf(entry["ScormID"]);
                if (scormID.empty())
                    return malformed("every SCORM entry needs a ScormID");
            }
            for (const auto& entry : *entries) {
                std::string scormID = textOf(entry["ScormID"]);
                auto same = std::find_if(list.begin(), list.end(),
                    [&](const base::Value& other) { return textOf(other["ScormID"]) == scormID; });
                if (same != list.end())
                    *same = entry;
                else
                    list.push_back(entry);
            }
            return base::Value(base::Value::Dictionary {});
        }
        // A class id asks for that class's entries only.
        std::string classId = textOf(body["classId"]);
        base::Value::List entries;
        for (const auto& entry : *stored.asList()) {
            std::string entryClass = textOf(entry["classId"]);
            if (classId.empty() || entryClass.empty() || entryClass == classId)
                entries.push_back(entry);
        }
        base::Value::Dictionary answer;
        answer.set("scormData", std::move(entries));
        return base::Value(std::move(answer));
    }
    if (operation == op::kalturaSession) {
        std::string entryID = textOf(body["entryID"]);
        if (entryID.empty())
            return malformed("kaltura.session needs entryID");
        if (!body["type"].isNull() && !body["type"].asInteger())
            return malformed("kaltura.session wants an integer type");
        base::Value::Dictionary answer;
        answer.set("responseMsg", "https://media.lectoro.invalid/entry/" + base::percentEncode(entryID) + "/play.m3u8");
        return base::Value(std::move(answer));
    }
    if (operation == op::immersiveReaderToken) {
        base::Value::Dictionary answer;
        answer.set("token", "ir-" + std::to_string(m_nextToken++));
        answer.set("subdomain", "lectoro-local");
        return base::Value(std::move(answer));
    }
    return serviceError(404, "Unknown operation " + operation);
}

ServiceResult InProcessService::handleUGCFetch(const base::Value& body)
{
    auto userID = idFrom(body["userID"]);
    auto bookID = idFrom(body["bookID"]);
    if (!userID || !bookID)
        return malformed("ugc.fetch needs userID and bookID");
    base::Value::Dictionary answer;
    answer.set("bookID", *bookID);
    answer.set("userID", *userID);
    auto found = m_ugc.find({ *userID, *bookID });
    base::Value::List items = found == m_ugc.end() ? base::Value::List {} : found->second;
    for (auto& received : receivedNotesFor(*userID, *bookID))
        items.push_back(std::move(received));
    auto tombstones = m_tombstones.find({ *userID, *bookID });
    if (tombstones != m_tombstones.end())
        items.insert(items.end(), tombstones->second.begin(), tombstones->second.end());
    answer.set("ugcList", std::move(items));
    answer.set("classInfo", classInfoFor(*userID, *bookID));
    auto collab = m_collab.find({ *userID, *bookID });
    if (collab != m_collab.end())
        answer.set("collab", collab->second);
    return base::Value(std::move(answer));
}

void InProcessService::mergeUGC(base::Value::List& stored, const base::Value& item, base::Value::List& saved,
    int64_t bookID, base::Value::List* tombstones, inprocess::UGCPlaces* places)
{
    if (!item.isDictionary())
        return;
    base::Value record = item;
    std::string identity = ugcIdentityOf(record);
    bool deleted = record["status"].intValue() == 3;

    // A record the service has seen before may come back under its local id only; match
    // on either id.
    std::optional<size_t> at;
    std::string localID = identity.empty() ? std::string() : textOf(record["localID"]);
    if (places) {
        at = places->find(identity, localID);
    } else if (!identity.empty()) {
        auto same = std::find_if(stored.begin(), stored.end(), [&](const base::Value& other) {
            return ugcIdentityOf(other) == identity || (!localID.empty() && textOf(other["localID"]) == localID);
        });
        if (same != stored.end())
            at = static_cast<size_t>(same - stored.begin());
    }
    auto answer = [&](const std::string& ugcID) {
        base::Value::Dictionary entry;
        entry.set("bookID", bookID);
        entry.set("localID", record["localID"]);
        entry.set("ugcID", ugcID);
        saved.push_back(base::Value(std::move(entry)));
    };
    if (at) {
        base::Value& held = stored[*at];
        std::string ugcID = serverIDOf(held);
        if (deleted) {
            if (tombstones)
                tombstones->push_back(tombstoneOf(held));
            // With places, positions must stay until the save is over: the list is compacted then.
            if (places)
                held = base::Value();
            else
                stored.erase(stored.begin() + static_cast<std::ptrdiff_t>(*at));
        } else {
            if (serverIDOf(record).empty())
                record.asDictionary()->set("ugcID", ugcID);
            keepServiceFields(held, record);
            held = record;
            if (places)
                places->add(*at);
        }
        answer(ugcID);
        return;
    }
    if (deleted)
        return;
    std::string ugcID = serverIDOf(record);
    if (ugcID.empty()) {
        ugcID = nextUGCID();
        record.asDictionary()->set("ugcID", ugcID);
    }
    answer(ugcID);
    stored.push_back(std::move(record));
    if (places)
        places->add(stored.size() - 1);
}

ServiceResult InProcessService::handleUGCSave(const base::Value& body)
{
    auto userID = idFrom(body["userID"]);
    const base::Value::List* books = body["books"].asList();
    if (!userID || !books)
        return malformed("ugc.save needs userID and books");
    base::Value::List saved;
    for (const auto& book : *books) {
        auto bookID = idFrom(book["bookID"]);
        const base::Value::List* items = book["ugcList"].asList();
        if (!bookID || !items)
            return malformed("every book needs bookID and ugcList");
    }
    for (const auto& book : *books) {
        int64_t bookID = *idFrom(book["bookID"]);
        Key key { *userID, bookID };
        base::Value::List& stored = m_ugc[key];
        UGCPlaces places(stored);
        for (const auto& item : *book["ugcList"].asList()) {
            if (mergeIntoSharedNote(*userID, bookID, item, saved, places))
                continue;
            mergeUGC(stored, item, saved, bookID, &m_tombstones[key], &places);
        }
        std::erase_if(stored, [](const base::Value& record) { return record.isNull(); });
    }
    base::Value::Dictionary answer;
    answer.set("saved", std::move(saved));
    return base::Value(std::move(answer));
}

ServiceResult InProcessService::handleTrackingSave(const base::Value& body)
{
    auto userID = idFrom(body["userID"]);
    auto bookID = idFrom(body["bookID"]);
    const base::Value::List* sessions = body["sessions"].asList();
    if (!userID || !bookID || !sessions)
        return malformed("tracking.save needs userID, bookID and sessions");
    Key key { *userID, *bookID };
    auto& stored = m_tracking[key];
    for (const auto& session : *sessions) {
        stored.push_back(session);
        if (auto lastPage = lastPageInSession(session))
            m_lastPage[key] = *lastPage;
    }
    base::Value::Dictionary answer;
    answer.set("accepted", static_cast<int64_t>(sessions->size()));
    return base::Value(std::move(answer));
}

ServiceResult InProcessService::handleFurthestPageSave(const base::Value& body)
{
    auto userID = idFrom(body["userID"]);
    const base::Value::List* books = body["books"].asList();
    if (!userID || !books)
        return malformed("furthestPage.save needs userID and books");
    for (const auto& book : *books) {
        auto bookID = idFrom(book["bookID"]);
        const std::string* data = book["furthestPageData"].stringPointer();
        if (bookID && data)
            m_furthestPage[{ *userID, *bookID }] = *data;
    }
    return base::Value(base::Value::Dictionary {});
}

ServiceResult InProcessService::handleFurthestPageFetch(const base::Value& body)
{
    auto userID = idFrom(body["userID"]);
    auto bookID = idFrom(body["bookID"]);
    if (!userID || !bookID)
        return malformed("furthestPage.fetch needs userID and bookID");
    base::Value::Dictionary answer;
    auto found = m_furthestPage.find({ *userID, *bookID });
    if (found != m_furthestPage.end())
        answer.set("furthestPageData", found->second);
    return base::Value(std::move(answer));
}

ServiceResult InProcessService::handleLastPageFetch(const ServiceRequest& request)
{
    auto bookID = idFrom(request.body["bookId"]);
    if (!bookID)
        return malformed("lastPage.fetch needs bookId");
    base::Value::Dictionary answer;
    auto user = m_userOfToken.find(request.userToken);
    if (user != m_userOfToken.end()) {
        auto found = m_lastPage.find({ user->second, *bookID });
        if (found != m_lastPage.end())
            answer.set("LastPageFolio", found->second);
    }
    return base::Value(std::move(answer));
}

ServiceResult InProcessService::handleTokenRefresh(const ServiceRequest& request)
{
    std::string expired = textOf(request.body["expiredToken"]);
    std::string fresh = "token-" + std::to_string(m_nextToken++);
    if (!expired.empty()) {
        m_expiredTokens.insert(expired);
        auto user = m_userOfToken.find(expired);
        if (user != m_userOfToken.end())
            m_userOfToken[fresh] = user->second;
    }
    base::Value::Dictionary answer;
    answer.set("userToken", fresh);
    return base::Value(std::move(answer));
}

void InProcessService::scriptNext(ServiceAnswer answer)
{
    std::lock_guard lock(m_mutex);
    m_script.push_back({ {}, std::move(answer) });
}

void InProcessService::scriptNext(const std::string& operation, ServiceAnswer answer)
{
    std::lock_guard lock(m_mutex);
    m_script.push_back({ operation, std::move(answer) });
}

void InProcessService::clearScript()
{
    std::lock_guard lock(m_mutex);
    m_script.clear();
}

void InProcessService::setOffline(bool offline)
{
    std::lock_guard lock(m_mutex);
    m_offline = offline;
}

void InProcessService::setDefaultDelivery(Delivery delivery, double delay)
{
    std::lock_guard lock(m_mutex);
    m_delivery = delivery;
    m_delay = delay < 0 ? 0 : delay;
}

void InProcessService::expireToken(const std::string& token)
{
    std::lock_guard lock(m_mutex);
    m_expiredTokens.insert(token);
}

bool InProcessService::isTokenExpired(const std::string& token) const
{
    std::lock_guard lock(m_mutex);
    return m_expiredTokens.contains(token);
}

void InProcessService::setClassInfo(int64_t bookID, base::Value classInfoList)
{
    std::lock_guard lock(m_mutex);
    m_classInfo[bookID] = std::move(classInfoList);
}

void InProcessService::setLastPage(int64_t userID, int64_t bookID, std::string lastPageFolio)
{
    std::lock_guard lock(m_mutex);
    m_lastPage[{ userID, bookID }] = std::move(lastPageFolio);
}


void InProcessService::setBookTOC(int64_t bookID, base::Value toc)
{
    std::lock_guard lock(m_mutex);
    m_bookTOC[bookID] = std::move(toc);
}

std::vector<ServiceRequest> InProcessService::requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

size_t InProcessService::requestCount() const
{
    std::lock_guard lock(m_mutex);
    return m_requests.size();
}

base::Value InProcessService::ugcFor(int64_t userID, int64_t bookID) const
{
    std::lock_guard lock(m_mutex);
    auto found = m_ugc.find({ userID, bookID });
    return found == m_ugc.end() ? base::Value(base::Value::List {}) : base::Value(found->second);
}

base::Value InProcessService::trackingSessionsFor(int64_t userID, int64_t bookID) const
{
    std::lock_guard lock(m_mutex);
    auto found = m_tracking.find({ userID, bookID });
    return found == m_tracking.end() ? base::Value(base::Value::List {}) : base::Value(found->second);
}

std::optional<std::string> InProcessService::furthestPageFor(int64_t userID, int64_t bookID) const
{
    std::lock_guard lock(m_mutex);
    auto found = m_furthestPage.find({ userID, bookID });
    if (found == m_furthestPage.end())
        return std::nullopt;
    return found->second;
}

std::optional<std::string> InProcessService::lastPageFor(int64_t userID, int64_t bookID) const
{
    std::lock_guard lock(m_mutex);
    auto found = m_lastPage.find({ userID, bookID });
    if (found == m_lastPage.end())
        return std::nullopt;
    return found->second;
}

base::Value InProcessService::scormDataFor(int64_t userID, int64_t bookID) const
{
    std::lock_guard lock(m_mutex);
    auto found = m_scorm.find({ userID, bookID });
    return found == m_scorm.end() ? base::Value() : found->second;
}

base::Value InProcessService::sharedHighlights() const
{
    std::lock_guard lock(m_mutex);
    return base::Value(m_sharedHighlights);
}

base::Value InProcessService::collabAnswers() const
{
    std::lock_guard lock(m_mutex);
    return base::Value(m_collabAnswers);
}

base::Value InProcessService::teacherAnnotations() const
{
    std::lock_guard lock(m_mutex);
    return base::Value(m_teacherAnnotations);
}

base::Value InProcessService::submissions() const
{
    std::lock_guard lock(m_mutex);
    return base::Value(m_submissions);
}

base::Value InProcessService::shareListsFor(int64_t userID, int64_t bookID) const
{
    std::lock_guard lock(m_mutex);
    auto found = m_collab.find({ userID, bookID });
    return found == m_collab.end() ? base::Value() : base::Value(found->second);
}

base::Value InProcessService::submittedWorkFor(int64_t learnerID, int64_t bookID) const
{
    std::lock_guard lock(m_mutex);
    auto found = m_submitted.find({ learnerID, bookID });
    return found == m_submitted.end() ? base::Value(base::Value::List {}) : base::Value(found->second);
}

base::Value InProcessService::reportRequests() const
{
    std::lock_guard lock(m_mutex);
    return base::Value(m_reports);
}

} // namespace companion
