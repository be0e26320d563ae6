#pragma once

// The service client over a Transport. See LectoroServiceInterface: exactly one handler
// runs per request, once, on the transport's thread; a request returned to be started is
// sent by its first start().

#include "LectoroSDKWithReader/readersdk/LectoroServiceInterface.h"
#include "companion/service/Transport.h"

#include <memory>

namespace companion {

class ServiceInterface final : public lectoro::LectoroServiceInterface,
                               public std::enable_shared_from_this<ServiceInterface> {
public:
    // The transport is held weakly (its owner keeps it); once it is gone, requests answer
    // with the offline error.
    static std::shared_ptr<ServiceInterface> create(std::string baseURL, std::string clientID, std::shared_ptr<Transport>);

    const std::string& baseURLString() const override { return m_baseURL; }
    const std::string& clientID() const override { return m_clientID; }

    void refreshUserTokenWithToken(const std::string& expiredToken, SuccessHandler, FailureHandler) override;
    std::shared_ptr<lectoro::LectoroServiceRequest> fetchLastPageAccessed(const std::string& userToken,
        const std::string& bookId, SuccessHandler, FailureHandler) override;
    std::shared_ptr<lectoro::LectoroServiceRequest> fetchStudentAnnotations(const std::string& userToken,
        const std::string& bookId, const std::string& learnerId, const std::string& bookVersion, SuccessHandler,
        FailureHandler) override;
    void fetchBookTOC(const std::string& userToken, const std::string& bookId, SuccessHandler, FailureHandler) override;
    void fetchStudentMarkupReport(const std::string& userToken, const std::string& bookId, const std::string& classId,
        const base::Value& chapters, const std::string& emailID, const base::Value& userIds, SuccessHandler,
        FailureHandler) override;
    void getKalturaSessionURL(const std::string& userToken, const std::string& entryID, int64_t type, SuccessHandler,
        FailureHandler) override;
    void getImmersiveReaderTokenWithUserToken(const std::string& userToken, SuccessHandler, FailureHandler) override;

private:
    ServiceInterface(std::string baseURL, std::string clientID, std::shared_ptr<Transport>);

    ServiceRequest makeRequest(const char* operation, base::Value::Dictionary body, const std::string& userToken) const;
    std::shared_ptr<lectoro::LectoroServiceRequest> prepare(ServiceRequest, SuccessHandler, FailureHandler);
    void sendNow(ServiceRequest, SuccessHandler, FailureHandler);

    const std::string m_baseURL;
    const std::string m_clientID;
    // Weak: the transport belongs to the framework (or the test); holding it here would
    // make a cycle with the requests it keeps. Without it requests fail as offline.
    const std::weak_ptr<Transport> m_transport;
};

} // namespace companion
