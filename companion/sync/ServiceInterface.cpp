#include "companion/sync/ServiceInterface.h"

#include "companion/service/ServiceAnswer.h"
#include "companion/service/ServiceErrors.h"

#include <atomic>

namespace companion {

namespace {

// A request waiting for start(). It keeps the client alive until it has been sent.
class PendingRequest final : public lectoro::LectoroServiceRequest {
public:
    using Send = std::function<void()>;

    explicit PendingRequest(Send send)
        : m_send(std::move(send))
    {
    }

    void start() override
    {
        if (m_started.exchange(true))
            return;
        Send send = std::move(m_send);
        m_send = nullptr;
        send();
    }

    bool isStarted() const override { return m_started; }

private:
    Send m_send;
    std::atomic<bool> m_started { false };
};

} // namespace

std::shared_ptr<ServiceInterface> ServiceInterface::create(std::string baseURL, std::string clientID,
    std::shared_ptr<Transport> transport)
{
    return std::shared_ptr<ServiceInterface>(
        new ServiceInterface(std::move(baseURL), std::move(clientID), std::move(transport)));
}

ServiceInterface::ServiceInterface(std::string baseURL, std::string clientID, std::shared_ptr<Transport> transport)
    : m_baseURL(std::move(baseURL))
    , m_clientID(std::move(clientID))
    , m_transport(std::move(transport))
{
}

ServiceRequest ServiceInterface::makeRequest(const char* operation, base::Value::Dictionary body,
    const std::string& userToken) const
{
    ServiceRequest request;
    request.operation = operation;
    request.body = base::Value(std::move(body));
    request.userToken = userToken;
    request.baseURL = m_baseURL;
    request.clientID = m_clientID;
    return request;
}

void ServiceInterface::sendNow(ServiceRequest request, SuccessHandler success, FailureHandler failure)
{
    sendChecked(m_transport, std::move(request),
        [self = shared_from_this(), success = std::move(success), failure = std::move(failure)](ServiceResult result) {
            if (result.ok()) {
                if (success)
                    success(result.value());
            } else if (failure) {
                failure(result.error());
            }
        });
}

std::shared_ptr<lectoro::LectoroServiceRequest> ServiceInterface::prepare(ServiceRequest request, SuccessHandler success,
    FailureHandler failure)
{
    return std::make_shared<PendingRequest>([self = shared_from_this(), request = std::move(request),
                                                success = std::move(success), failure = std::move(failure)]() mutable {
        self->sendNow(std::move(request), std::move(success), std::move(failure));
    });
}

void ServiceInterface::refreshUserTokenWithToken(const std::string& expiredToken, SuccessHandler success,
    FailureHandler failure)
{
    base::Value::Dictionary body;
    body.set("expiredToken", expiredToken);
    sendNow(makeRequest(op::tokenRefresh, std::move(body), expiredToken), std::move(success), std::move(failure));
}

std::shared_ptr<lectoro::LectoroServiceRequest> ServiceInterface::fetchLastPageAccessed(const std::string& userToken,
    const std::string& bookId, SuccessHandler success, FailureHandler failure)
{
    base::Value::Dictionary body;
    body.set("bookId", bookId);
    return prepare(makeRequest(op::lastPageFetch, std::move(body), userToken), std::move(success), std::move(failure));
}

std::shared_ptr<lectoro::LectoroServiceRequest> ServiceInterface::fetchStudentAnnotations(const std::string& userToken,
    const std::string& bookId, const std::string& learnerId, const std::string& bookVersion, SuccessHandler success,
    FailureHandler failure)
{
    base::Value::Dictionary body;
    body.set("bookId", bookId);
    body.set("learnerId", learnerId);
    body.set("bookVersion", bookVersion);
    return prepare(makeRequest(op::studentAnnotationsFetch, std::move(body), userToken), std::move(success),
        std::move(failure));
}

void ServiceInterface::fetchBookTOC(const std::string& userToken, const std::string& bookId, SuccessHandler success,
    FailureHandler failure)
{
    base::Value::Dictionary body;
    body.set("bookId", bookId);
    sendNow(makeRequest(op::bookTocFetch, std::move(body), userToken), std::move(success), std::move(failure));
}

void ServiceInterface::fetchStudentMarkupReport(const std::string& userToken, const std::string& bookId,
    const std::string& classId, const base::Value& chapters, const std::string& emailID, const base::Value& userIds,
    SuccessHandler success, FailureHandler failure)
{
    base::Value::Dictionary body;
    body.set("bookId", bookId);
    body.set("classId", classId);
    body.set("chapters", chapters);
    body.set("emailID", emailID);
    body.set("userIds", userIds);
    sendNow(makeRequest(op::markupReport, std::move(body), userToken), std::move(success), std::move(failure));
}

void ServiceInterface::getKalturaSessionURL(const std::string& userToken, const std::string& entryID, int64_t type,
    SuccessHandler success, FailureHandler failure)
{
    base::Value::Dictionary body;
    body.set("entryID", entryID);
    body.set("type", type);
    sendNow(makeRequest(op::kalturaSession, std::move(body), userToken), std::move(success), std::move(failure));
}

void ServiceInterface::getImmersiveReaderTokenWithUserToken(const std::string& userToken, SuccessHandler success,
    FailureHandler failure)
{
    sendNow(makeRequest(op::immersiveReaderToken, {}, userToken), std::move(success), std::move(failure));
}

} // namespace companion
