#include "companion/sync/DataSyncingManager.h"

#include "LectoroSDKWithReader/readersdk/LectoroDataSyncingManagerDelegate.h"
#include "LectoroSDKWithReader/readersdk/records/RecordCoding.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookClassInfoVO.h"
#include "platform/base/RunLoop.h"
#include "companion/service/ServiceAnswer.h"
#include "companion/service/ServiceErrors.h"
#include "companion/service/ValueText.h"
#include "platform/base/Json.h"

#include <algorithm>

namespace companion {

namespace {

// Whole milliseconds read in a reading session: the sum of its page times (seconds).
int64_t sessionMilliseconds(const base::Value& session)
{
    base::Value parsed;
    if (auto text = session.stringPointer()) {
        auto result = base::parseJson(*text);
        if (!result.ok())
            return 0;
        parsed = std::move(result.value());
    } else {
        parsed = session;
    }
    int64_t seconds = 0;
    if (auto pages = parsed["PageTracking"].asList()) {
        for (const auto& page : *pages)
            seconds += page["EventInfo"]["TimeSpend"].integerValue();
    }
    return seconds * 1000;
}

bool isIdList(const base::Value& list)
{
    if (list.isNull())
        return true;
    const auto* entries = list.asList();
    return entries && std::all_of(entries->begin(), entries->end(), [](const base::Value& entry) {
        return lectoro::coding::readId(entry).has_value();
    });
}

// A UGC answer whose user ids cannot all be read as numbers is refused as a whole: storing
// part of it, or an unreadable id as user 0, would share with or show the wrong people.
std::optional<base::Error> unreadableUserIds(const base::Value& answer)
{
    if (!answer["userID"].isNull() && !lectoro::coding::readId(answer["userID"]))
        return malformedAnswerError("its userID is not a number");
    if (const auto* classes = answer["classInfo"].asList()) {
        for (const auto& theClass : *classes) {
            if (!lectoro::SDKBookClassInfoVO::fromDictionary(theClass))
                return malformedAnswerError("a class holds a user id that is not a number");
        }
    }
    if (const auto* items = answer["ugcList"].asList()) {
        for (const auto& item : *items) {
            for (const char* key : { "sharedUsers", "acceptedUsers", "declinedUsers" }) {
                if (!isIdList(item[key]))
                    return malformedAnswerError(std::string("a record's ") + key + " holds an id that is not a number");
            }
        }
    }
    return std::nullopt;
}

} // namespace

std::shared_ptr<DataSyncingManager> DataSyncingManager::create(std::string baseURL, std::string clientID,
    std::shared_ptr<Transport> transport, std::shared_ptr<SyncStore> store)
{
    return std::shared_ptr<DataSyncingManager>(
        new DataSyncingManager(std::move(baseURL), std::move(clientID), std::move(transport), std::move(store)));
}

DataSyncingManager::DataSyncingManager(std::string baseURL, std::string clientID, std::shared_ptr<Transport> transport,
    std::shared_ptr<SyncStore> store)
    : m_baseURL(std::move(baseURL))
    , m_clientID(std::move(clientID))
    , m_transport(std::move(transport))
    , m_store(std::move(store))
{
}

std::optional<std::string> DataSyncingManager::microServicesBaseURLString() const
{
    std::lock_guard lock(m_mutex);
    return m_microServicesBaseURL;
}

void DataSyncingManager::setMicroServicesBaseURLString(std::optional<std::string> url)
{
    std::lock_guard lock(m_mutex);
    m_microServicesBaseURL = std::move(url);
}

void DataSyncingManager::setDelegate(lectoro::SyncDelegate delegate)
{
    std::lock_guard lock(m_mutex);
    m_delegate = std::move(delegate);
}

lectoro::SyncDelegate DataSyncingManager::remember(lectoro::SyncDelegate delegate)
{
    std::lock_guard lock(m_mutex);
    m_lastDelegate = delegate;
    return delegate;
}

void DataSyncingManager::noteBook(int64_t bookID)
{
    std::lock_guard lock(m_mutex);
    if (std::find(m_knownBooks.begin(), m_knownBooks.end(), bookID) == m_knownBooks.end())
        m_knownBooks.push_back(bookID);
}

std::vector<int64_t> DataSyncingManager::knownBooks() const
{
    std::lock_guard lock(m_mutex);
    return m_knownBooks;
}

lectoro::SyncDelegate DataSyncingManager::implicitDelegate() const
{
    std::lock_guard lock(m_mutex);
    if (!m_delegate.expired())
        return m_delegate;
    return m_lastDelegate;
}

void DataSyncingManager::send(const char* operation, base::Value::Dictionary body, const std::string& userToken,
    lectoro::SyncDelegate delegate, Handler handler, Application application)
{
    if (auto bookID = body.find("bookID")) {
        if (auto number = bookID->asInteger())
            noteBook(*number);
    }
    ServiceRequest request;
    request.operation = operation;
    request.body = base::Value(std::move(body));
    request.userToken = userToken;
    request.clientID = m_clientID;
    {
        std::lock_guard lock(m_mutex);
        bool microService = std::string_view(operation) == op::furthestPageSave
            || std::string_view(operation) == op::furthestPageFetch;
        request.baseURL = microService && m_microServicesBaseURL ? *m_microServicesBaseURL : m_baseURL;
    }

    // The completion owns the client: it stays alive until its answer has been handled.
    sendChecked(m_transport, std::move(request),
        [self = shared_from_this(), delegate = std::move(delegate), handler = std::move(handler), application](
            ServiceResult result) mutable {
            self->handleAnswer(std::move(delegate), std::move(handler), std::move(result), application);
        });
}

void DataSyncingManager::handleAnswer(lectoro::SyncDelegate delegate, Handler handler, ServiceResult result,
    Application application)
{
    bool queued = application == Application::OffMainLoop;
    {
        std::lock_guard lock(m_mutex);
        queued = queued || m_answersWaiting > 0;
        if (queued)
            ++m_answersWaiting;
    }
    if (!queued) {
        Tell tell = handler(*this, result);
        auto strongDelegate = delegate.lock();
        if (tell)
            tell(strongDelegate.get());
        return;
    }
    // The queue keeps the store work in arrival order, and each task posts its report before
    // the next one starts, so the reports reach the main run loop in that order too. The count
    // drops only after the report, so an answer arriving meanwhile on another thread cannot
    // report first.
    m_applyQueue.async([self = shared_from_this(), delegate = std::move(delegate), handler = std::move(handler),
                           result = std::move(result)]() mutable {
        Tell tell = handler(*self, result);
        base::RunLoop::main().post([self, delegate = std::move(delegate), tell = std::move(tell)]() {
            auto strongDelegate = delegate.lock();
            if (tell)
                tell(strongDelegate.get());
            std::lock_guard lock(self->m_mutex);
            --self->m_answersWaiting;
        });
    });
}

DataSyncingManager::Handler DataSyncingManager::telling(Reporter reporter)
{
    return [reporter = std::move(reporter)](DataSyncingManager& self, ServiceResult& result) -> Tell {
        return [self = self.shared_from_this(), reporter, result = std::move(result)](Delegate* delegate) mutable {
            reporter(*self, result, delegate);
        };
    };
}

std::optional<base::Error> DataSyncingManager::applyFetchedUGC(int64_t userID, int64_t bookID,
    const base::Value& response)
{
    if (!m_store)
        return std::nullopt;
    if (auto list = response["ugcList"].asList()) {
        auto stored = m_store->storeFetchedUGC(userID, bookID, *list);
        if (!stored.ok())
            return stored.error();
    }
    if (auto classInfo = response["classInfo"].asList())
        m_store->storeClassInfo(userID, bookID, base::Value(*classInfo));
    return std::nullopt;
}

void DataSyncingManager::fetchUGC(int64_t bookID, int64_t userID, const std::string& userToken,
    const std::string& bookVersion, lectoro::SyncDelegate delegate, Report report)
{
    base::Value::Dictionary body;
    body.set("bookID", bookID);
    body.set("userID", userID);
    body.set("bookVersion", bookVersion);
    send(
        op::ugcFetch, std::move(body), userToken, std::move(delegate),
        [bookID, userID, report = std::move(report)](DataSyncingManager& self, ServiceResult& result) -> Tell {
            if (result.ok()) {
                if (auto unreadable = unreadableUserIds(result.value()))
                    result = *unreadable;
                else if (auto unstored = self.applyFetchedUGC(userID, bookID, result.value()))
                    result = *unstored;
                else // Let go here rather than on the main loop: thousands of records.
                    result = base::Value();
            }
            return [report, result = std::move(result)](Delegate* delegate) mutable {
                if (delegate)
                    report(*delegate, result);
            };
        },
        Application::OffMainLoop);
}

void DataSyncingManager::fetchUGCOperationForBookID(int64_t bookID, int64_t userID, lectoro::SyncDelegate delegate,
    const std::string& userToken, const std::string& bookVersion)
{
    fetchUGC(bookID, userID, userToken, bookVersion, remember(std::move(delegate)),
        [bookID, userID](Delegate& delegate, ServiceResult& result) {
            if (result.ok())
                delegate.didUGCFetchCompletedSuccessfullyWithUserID(userID, bookID);
            else
                delegate.didUGCFetchFailedWithError(result.error(), userID, bookID);
        });
}

void DataSyncingManager::fetchUGCForBookID(int64_t bookID, int64_t userID, lectoro::SyncDelegate delegate,
    const std::string& userToken, const std::string& bookVersion)
{
    fetchUGC(bookID, userID, userToken, bookVersion, remember(std::move(delegate)),
        [](Delegate& delegate, ServiceResult& result) {
            if (result.ok())
                delegate.didFetchedUGCSuccessfully();
            else
                delegate.didFailedToFetchUGCWithError(result.error());
        });
}

void DataSyncingManager::uploadUGC(int64_t userID, std::optional<int64_t> bookID, lectoro::SyncDelegate delegate,
    const std::string& userToken, std::string metaData, Reporter then)
{
    auto upload = std::make_shared<SyncStore::UGCUpload>();
    if (m_store)
        *upload = m_store->prepareUGCUpload(userID, bookID);
    Handler reportAfter = telling(std::move(then));
    if (upload->failure) {
        // Answered on the main loop, as a service answer would be.
        base::RunLoop::main().post([self = shared_from_this(), delegate = std::move(delegate),
                                       error = *upload->failure, reportAfter]() mutable {
            self->handleAnswer(std::move(delegate), reportAfter, ServiceResult(error), Application::WhereAnswered);
        });
        return;
    }
    if (!upload->books.isList())
        upload->books = base::Value::List {};
    base::Value::Dictionary body;
    body.set("userID", userID);
    if (bookID)
        body.set("bookID", *bookID);
    // The records' dictionaries go to the request as they are: the upload keeps only what
    // marks them done.
    body.set("books", std::move(upload->books));
    if (!metaData.empty())
        body.set("metaData", std::move(metaData));
    send(
        op::ugcSave, std::move(body), userToken, std::move(delegate),
        [userID, upload, reportAfter](DataSyncingManager& self, ServiceResult& result) -> Tell {
            if (result.ok() && self.m_store) {
                static const base::Value& noneSaved = *new base::Value(base::Value::List {});
                const base::Value& saved = result.value()["saved"];
                self.m_store->completeUGCUpload(userID, *upload, saved.isList() ? saved : noneSaved);
                result = base::Value(base::Value::Dictionary {});
            }
            return reportAfter(self, result);
        },
        Application::OffMainLoop);
}

void DataSyncingManager::synchUGCForBookID(int64_t bookID, int64_t userID, lectoro::SyncDelegate delegate,
    const std::string& userToken, const std::string& bookVersion)
{
    remember(delegate);
    // Collaboration data go up on their own and report on their own.
    base::Value collab = m_store ? m_store->unsyncedCollabData(userID, bookID) : base::Value();
    if (collab.isDictionary() && collab.count()) {
        base::Value::Dictionary body;
        body.set("userID", userID);
        body.set("bookID", bookID);
        body.set("collab", collab);
        send(op::collabSave, std::move(body), userToken, delegate,
            [userID, bookID](DataSyncingManager& self, ServiceResult& result) -> Tell {
                if (result.ok() && self.m_store)
                    self.m_store->markCollabSynced(userID, bookID);
                return [result](Delegate* delegate) {
                    if (!delegate)
                        return;
                    if (result.ok())
                        delegate->didSaveCollabDataSuccessfully();
                    else
                        delegate->didSaveCollabDataFailedWithError(result.error());
                };
            });
    }

    uploadUGC(userID, bookID, delegate, userToken, {},
        [bookID, userID, userToken, bookVersion, delegate](DataSyncingManager& self, ServiceResult& result,
            Delegate* strongDelegate) {
            if (!result.ok()) {
                if (strongDelegate)
                    strongDelegate->didUGCSynchFailedWithError(result.error(), userID, bookID);
                return;
            }
            self.fetchUGC(bookID, userID, userToken, bookVersion, delegate,
                [bookID, userID](Delegate& delegate, ServiceResult& result) {
                    if (result.ok())
                        delegate.didUGCSynchCompletedSuccessfully();
                    else
                        delegate.didUGCSynchFailedWithError(result.error(), userID, bookID);
                });
        });
}

void DataSyncingManager::saveUGCOperationForBookID(int64_t bookID, int64_t userID, lectoro::SyncDelegate delegate,
    const std::string& userToken, const lectoro::LectoroServiceMetaData& metaData)
{
    uploadUGC(userID, bookID, remember(std::move(delegate)), userToken, metaData.initialisedValue(),
        [bookID, userID](DataSyncingManager&, ServiceResult& result, Delegate* delegate) {
            if (!delegate)
                return;
            if (result.ok())
                delegate->didUGCSaveCompletedSuccessfullyWithUserID(userID, bookID);
            else
                delegate->didUGCSaveFailedWithError(result.error(), userID, bookID);
        });
}

void DataSyncingManager::saveUGCForUserID(int64_t userID, lectoro::SyncDelegate delegate, const std::string& userToken)
{
    uploadUGC(userID, std::nullopt, remember(std::move(delegate)), userToken, {},
        [](DataSyncingManager&, ServiceResult& result, Delegate* delegate) {
            if (!delegate)
                return;
            if (result.ok())
                delegate->didSavedUGCSuccessfully();
            else
                delegate->didFailedToSaveUGCWithError(result.error());
        });
}

void DataSyncingManager::saveTracking(int64_t bookID, const std::string& userToken, int64_t userId,
    std::optional<int64_t> minimum)
{
    SyncStore::Sessions stored;
    if (m_store)
        stored = m_store->unsyncedReadingSessions(userId, bookID);
    base::Value::List sessions;
    for (const auto& session : stored.sessions) {
        if (minimum && sessionMilliseconds(session) < *minimum)
            continue;
        sessions.push_back(session);
    }
    base::Value::Dictionary body;
    body.set("bookID", bookID);
    body.set("userID", userId);
    body.set("sessions", std::move(sessions));
    if (minimum)
        body.set("minimumTimeSpend", *minimum);
    // Every session read is settled by a successful answer, those too short to count
    // included: they are not worth sending again.
    send(op::trackingSave, std::move(body), userToken, implicitDelegate(),
        [bookID, userId, ids = std::move(stored.ids)](DataSyncingManager& self, ServiceResult& result) -> Tell {
            if (result.ok() && self.m_store && !ids.empty())
                self.m_store->markReadingSessionsSynced(userId, bookID, ids);
            return [bookID, userId, result](Delegate* delegate) {
                if (!delegate)
                    return;
                if (result.ok())
                    delegate->didSaveTrackingDataSuccessfully();
                else
                    delegate->didSaveTrackingDataFailedWithError(result.error(), bookID, userId);
            };
        });
}

void DataSyncingManager::saveTrackingDataForBookID(int64_t bookID, const std::string& userToken, int64_t userId)
{
    saveTracking(bookID, userToken, userId, std::nullopt);
}

void DataSyncingManager::saveTrackingDataForBookID(int64_t bookID, const std::string& userToken, int64_t userId,
    int64_t minimumTimeSpend)
{
    saveTracking(bookID, userToken, userId, minimumTimeSpend);
}

void DataSyncingManager::saveFurthestPageDataForUserID(int64_t userID, lectoro::SyncDelegate delegate,
    const std::string& userToken)
{
    base::Value books = m_store ? m_store->furthestPages(userID, knownBooks()) : base::Value();
    if (!books.isList())
        books = base::Value::List {};
    // The answer names one book: the last one sent (the only one for a reader's book).
    int64_t reportedBook = books.count() ? books.at(books.count() - 1)["bookID"].integerValue() : 0;
    base::Value::Dictionary body;
    body.set("userID", userID);
    body.set("books", std::move(books));
    send(op::furthestPageSave, std::move(body), userToken, remember(std::move(delegate)),
        telling([reportedBook](DataSyncingManager&, ServiceResult& result, Delegate* delegate) {
            if (!delegate)
                return;
            if (result.ok())
                delegate->didSaveFurthestPageDataSuccessfully(reportedBook);
            else
                delegate->didFailedToSaveFurthestPageDataWithError(result.error(), reportedBook);
        }));
}

void DataSyncingManager::fetchFurthestPageDataForBookID(int64_t bookID, int64_t userID, lectoro::SyncDelegate delegate,
    const std::string& userToken)
{
    base::Value::Dictionary body;
    body.set("bookID", bookID);
    body.set("userID", userID);
    send(op::furthestPageFetch, std::move(body), userToken, remember(std::move(delegate)),
        telling([bookID](DataSyncingManager&, ServiceResult& result, Delegate* delegate) {
            if (!delegate)
                return;
            if (!result.ok()) {
                delegate->didFailedToFetchFurthestPageDataWithError(result.error(), bookID);
                return;
            }
            std::optional<std::string> data;
            if (auto text = result.value()["furthestPageData"].stringPointer())
                data = *text;
            delegate->didFetchFurthestPageDataSuccessfullyForBookID(bookID, data);
        }));
}

void DataSyncingManager::fetchAndSaveSormDataForUserID(int64_t userID, int64_t bookID, const std::string& classId,
    lectoro::SyncDelegate delegate, const std::string& userToken)
{
    base::Value::Dictionary body;
    body.set("userID", userID);
    body.set("bookID", bookID);
    body.set("classId", classId);
    send(op::scormFetch, std::move(body), userToken, remember(std::move(delegate)),
        [userID, bookID](DataSyncingManager& self, ServiceResult& result) -> Tell {
            if (result.ok() && self.m_store) {
                const base::Value& data = result.value()["scormData"];
                if (data.isList() && data.count())
                    self.m_store->storeScormData(userID, bookID, data);
            }
            return [result](Delegate* delegate) {
                if (!delegate)
                    return;
                if (result.ok())
                    delegate->didFetchScormDataSuccessfully();
                else
                    delegate->didFailedToFetchScormWithError(result.error());
            };
        });
}

void DataSyncingManager::saveSormDataForUserID(int64_t userID, int64_t bookID, const std::string& classId,
    lectoro::SyncDelegate delegate, const std::string& userToken)
{
    base::Value entries = m_store ? m_store->unsyncedScormData(userID, bookID) : base::Value();
    if (!entries.isList())
        entries = base::Value::List {};
    std::vector<std::string> scormIDs;
    for (const auto& entry : *entries.asList())
        scormIDs.push_back(textOf(entry["ScormID"]));
    std::string reportedID = scormIDs.empty() ? std::string() : scormIDs.front();
    base::Value::Dictionary body;
    body.set("userID", userID);
    body.set("bookID", bookID);
    body.set("classId", classId);
    body.set("scormData", std::move(entries));
    send(op::scormSave, std::move(body), userToken, remember(std::move(delegate)),
        [userID, bookID, reportedID, scormIDs, classId](DataSyncingManager& self, ServiceResult& result) -> Tell {
            if (result.ok() && self.m_store) {
                for (const auto& scormID : scormIDs)
                    self.m_store->markScormSynced(userID, bookID, scormID);
            }
            return [bookID, reportedID, classId, result](Delegate* delegate) {
                if (!delegate)
                    return;
                if (result.ok())
                    delegate->didSavedScormDataSuccessfully();
                else
                    delegate->didFailedToSaveScormWithError(result.error(), bookID, reportedID, classId);
            };
        });
}

void DataSyncingManager::saveHighlightData(const base::Value& shareAndRecieveDict, int64_t bookID,
    const std::string& userToken)
{
    base::Value::Dictionary body;
    body.set("bookID", bookID);
    body.set("share", shareAndRecieveDict);
    send(op::highlightShare, std::move(body), userToken, implicitDelegate(),
        telling([shareAndRecieveDict, bookID](DataSyncingManager&, ServiceResult& result, Delegate* delegate) {
            if (!delegate)
                return;
            if (result.ok())
                delegate->didSaveHighlightDataSuccessfully();
            else
                delegate->didSaveHighlightDataFailedWithError(result.error(), shareAndRecieveDict, bookID);
        }));
}

void DataSyncingManager::acceptOrRejectCollab(const std::string& ugcID, bool isAccepted, const std::string& userToken)
{
    base::Value::Dictionary body;
    body.set("ugcID", ugcID);
    body.set("isAccepted", isAccepted);
    send(op::collabAnswer, std::move(body), userToken, implicitDelegate(),
        telling([ugcID, isAccepted](DataSyncingManager&, ServiceResult& result, Delegate* delegate) {
            if (!delegate)
                return;
            if (result.ok())
                delegate->didAcceptOrRejectDataSuccessfullywithUGCId(ugcID, isAccepted);
            else
                delegate->didAcceptOrRejectDataFailedWithError(result.error(), ugcID, isAccepted);
        }));
}

void DataSyncingManager::saveTeacherAnnotationsForAnnotation(const base::Value& annotation, const std::string& learnerID,
    int64_t bookID, lectoro::SyncDelegate delegate, const std::string& userToken)
{
    base::Value::Dictionary body;
    body.set("learnerID", learnerID);
    body.set("bookID", bookID);
    body.set("annotation", annotation);
    send(op::teacherAnnotationsSave, std::move(body), userToken, remember(std::move(delegate)),
        telling([](DataSyncingManager&, ServiceResult& result, Delegate* delegate) {
            if (!delegate)
                return;
            if (result.ok())
                delegate->didSavedStudentAnotationSuccessfully();
            else
                delegate->didFailedToSaveStudentAnotationWithError(result.error());
        }));
}

void DataSyncingManager::submitAnotationForBookID(int64_t bookID, int64_t userID, lectoro::SyncDelegate delegate,
    const std::string& userToken)
{
    auto report = [](DataSyncingManager&, ServiceResult& result, Delegate* delegate) {
        if (!delegate)
            return;
        if (result.ok())
            delegate->didSubmitedAnotationSuccessfully();
        else
            delegate->didFailedToSubmitAnotationWithError(result.error());
    };
    auto submit = [bookID, userID, userToken, delegate, report](DataSyncingManager& self) {
        base::Value::Dictionary body;
        body.set("bookID", bookID);
        body.set("userID", userID);
        self.send(op::annotationsSubmit, std::move(body), userToken, delegate, telling(report));
    };
    remember(delegate);
    // The service submits what it holds: answers and drawings not uploaded yet go first.
    bool pending = false;
    if (m_store) {
        auto upload = m_store->prepareUGCUpload(userID, bookID);
        pending = upload.books.count() > 0;
    }
    if (!pending) {
        submit(*this);
        return;
    }
    uploadUGC(userID, bookID, delegate, userToken, {},
        [submit, report](DataSyncingManager& self, ServiceResult& result, Delegate* strongDelegate) {
            if (!result.ok()) {
                report(self, result, strongDelegate);
                return;
            }
            submit(self);
        });
}

} // namespace companion
