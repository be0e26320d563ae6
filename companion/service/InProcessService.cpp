#include "companion/service/InProcessService.h"

#include "companion/service/ServiceErrors.h"
#include "companion/service/ValueText.h"
#include "platform/base/Json.h"

#include <algorithm>
#include <charconv>

namespace companion {

namespace {

// An id given as an integer or as decimal text; anything else is absent.
std::optional<int64_t> idFrom(const base::Value& value)
{
    if (auto integer = value.asInteger())
        return integer;
    if (auto text = value.stringPointer()) {
        int64_t result = 0;
        auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), result);
        if (error == std::errc() && end == text->data() + text->size() && !text->empty())
            return result;
    }
    return std::nullopt;
}

base::Error malformed(const std::string& what)
{
    return serviceError(400, "Malformed request: " + what);
}

// A service id; records never uploaded carry "-1" or nothing.
std::string serverIDOf(const base::Value& item)
{
    std::string ugcID = textOf(item["ugcID"]);
    return ugcID == "-1" ? std::string() : ugcID;
}

// The identity of a UGC item: its service id once it has one, else the client's local id.
std::string identityOf(const base::Value& item)
{
    std::string ugcID = serverIDOf(item);
    if (!ugcID.empty())
        return "u:" + ugcID;
    std::string localID = textOf(item["localID"]);
    if (!localID.empty())
        return "l:" + localID;
    return {};
}

bool isFurthestPageOperation(const std::string& operation)
{
    return operation == op::furthestPageSave || operation == op::furthestPageFetch;
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
            result = isFurthestPageOperation(request.operation) ? ServiceResult(unauthorizedError())
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

    if (operation == op::collabSave) {
        auto userID = idFrom(body["userID"]);
        auto bookID = idFrom(body["bookID"]);
        if (!userID || !bookID)
            return malformed("collab.save needs userID and bookID");
        auto& stored = m_collab[{ *userID, *bookID }];
        if (auto collab = body["collab"].asDictionary()) {
            for (const auto& [key, value] : *collab)
                stored.set(key, value);
        }
        return base::Value(base::Value::Dictionary {});
    }
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
                auto same = std::find_if(list.begin(), list.end(),
                    [&](const base::Value& other) { return textOf(other["ScormID"]) == scormID; });
                if (same != list.end())
                    *same = entry;
                else
                    list.push_back(entry);
            }
            return base::Value(base::Value::Dictionary {});
        }
        base::Value::Dictionary answer;
        answer.set("scormData", stored);
        return base::Value(std::move(answer));
    }
    if (operation == op::highlightShare) {
        m_sharedHighlights.push_back(body);
        return base::Value(base::Value::Dictionary {});
    }
    if (operation == op::collabAnswer) {
        if (textOf(body["ugcID"]).empty())
            return malformed("collab.answer needs ugcID");
        m_collabAnswers.push_back(body);
        return base::Value(base::Value::Dictionary {});
    }
    if (operation == op::teacherAnnotationsSave) {
        if (!idFrom(body["bookID"]) || textOf(body["learnerID"]).empty())
            return malformed("teacherAnnotations.save needs bookID and learnerID");
        m_teacherAnnotations.push_back(body);
        return base::Value(base::Value::Dictionary {});
    }
    if (operation == op::annotationsSubmit) {
        if (!idFrom(body["bookID"]) || !idFrom(body["userID"]))
            return malformed("annotations.submit needs bookID and userID");
        m_submissions.push_back(body);
        return base::Value(base::Value::Dictionary {});
    }
    if (operation == op::studentAnnotationsFetch) {
        auto bookID = idFrom(body["bookId"]);
        std::string learnerID = textOf(body["learnerId"]);
        if (!bookID || learnerID.empty())
            return malformed("studentAnnotations.fetch needs bookId and learnerId");
        base::Value::Dictionary answer;
        auto found = m_studentAnnotations.find({ learnerID, *bookID });
        answer.set("pageUgc", found == m_studentAnnotations.end() ? base::Value(base::Value::List {}) : found->second);
        return base::Value(std::move(answer));
    }
    if (operation == op::bookTocFetch) {
        auto bookID = idFrom(body["bookId"]);
        if (!bookID)
            return malformed("bookToc.fetch needs bookId");
        base::Value::Dictionary answer;
        auto found = m_bookTOC.find(*bookID);
        answer.set("toc", found == m_bookTOC.end() ? base::Value(base::Value::List {}) : found->second);
        return base::Value(std::move(answer));
    }
    if (operation == op::markupReport) {
        if (textOf(body["emailID"]).empty())
            return malformed("markupReport.request needs emailID");
        base::Value::Dictionary answer;
        answer.set("status", "200");
        answer.set("message", "Report requested");
        return base::Value(std::move(answer));
    }
    if (operation == op::kalturaSession) {
        std::string entryID = textOf(body["entryID"]);
        if (entryID.empty())
            return malformed("kaltura.session needs entryID");
        base::Value::Dictionary answer;
        answer.set("responseMsg", "https://media.lectoro.invalid/entry/" + entryID + "/play.m3u8");
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
    answer.set("ugcList", found == m_ugc.end() ? base::Value::List {} : found->second);
    auto classInfo = m_classInfo.find(*bookID);
    answer.set("classInfo", classInfo == m_classInfo.end() ? base::Value(base::Value::List {}) : classInfo->second);
    auto collab = m_collab.find({ *userID, *bookID });
    if (collab != m_collab.end())
        answer.set("collab", collab->second);
    return base::Value(std::move(answer));
}

void InProcessService::mergeUGC(base::Value::List& stored, const base::Value& item, base::Value::List& saved,
    int64_t bookID)
{
    if (!item.isDictionary())
        return;
    base::Value record = item;
    std::string identity = identityOf(record);
    bool deleted = record["status"].intValue() == 3;

    // A record the service has seen before may come back under its local id only; match
    // on either id.
    auto sameRecord = [&](const base::Value& other) {
        if (identity.empty())
            return false;
        if (identityOf(other) == identity)
            return true;
        std::string localID = textOf(record["localID"]);
        return !localID.empty() && textOf(other["localID"]) == localID;
    };
    for (auto it = stored.begin(); it != stored.end(); ++it) {
        if (!sameRecord(*it))
            continue;
        std::string ugcID = serverIDOf(*it);
        if (deleted) {
            stored.erase(it);
        } else {
            if (serverIDOf(record).empty())
                record.asDictionary()->set("ugcID", ugcID);
            *it = record;
        }
        base::Value::Dictionary entry;
        entry.set("bookID", bookID);
        entry.set("localID", record["localID"]);
        entry.set("ugcID", ugcID);
        saved.push_back(base::Value(std::move(entry)));
        return;
    }
    if (deleted)
        return;
    std::string ugcID = serverIDOf(record);
    if (ugcID.empty()) {
        ugcID = std::to_string(1000 + m_nextUGCID++);
        record.asDictionary()->set("ugcID", ugcID);
    }
    base::Value::Dictionary entry;
    entry.set("bookID", bookID);
    entry.set("localID", record["localID"]);
    entry.set("ugcID", ugcID);
    saved.push_back(base::Value(std::move(entry)));
    stored.push_back(std::move(record));
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
        auto& stored = m_ugc[{ *userID, bookID }];
        for (const auto& item : *book["ugcList"].asList())
            mergeUGC(stored, item, saved, bookID);
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

void InProcessService::setStudentAnnotations(const std::string& learnerID, int64_t bookID, base::Value pageUgcList)
{
    std::lock_guard lock(m_mutex);
    m_studentAnnotations[{ learnerID, bookID }] = std::move(pageUgcList);
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

} // namespace companion
