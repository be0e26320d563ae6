#pragma once

// The service client: one request per instance, results through a success and a failure
// handler. Exactly one of the two runs, once, on the thread that delivered the service's
// answer. A missing handler is allowed (that outcome is then silent).
//
// Some operations hand back a request that runs only when started (start() more than
// once sends it once); the others are sent at once.
//
// Created through CompanionFramework::makeServiceInterface(baseURL, clientID).

#include "platform/base/Error.h"
#include "platform/base/Value.h"

#include <functional>
#include <memory>
#include <string>

namespace lectoro {

class LectoroServiceRequest {
public:
    virtual ~LectoroServiceRequest() = default;
    virtual void start() = 0;
    virtual bool isStarted() const = 0;
};

class LectoroServiceInterface {
public:
    // The response is the service's JSON object (a dictionary).
    using SuccessHandler = std::function<void(const base::Value& response)>;
    using FailureHandler = std::function<void(const base::Error&)>;

    virtual ~LectoroServiceInterface() = default;

    virtual const std::string& baseURLString() const = 0;
    virtual const std::string& clientID() const = 0;

    // Success carries {"userToken": new token}.
    virtual void refreshUserTokenWithToken(const std::string& expiredToken, SuccessHandler, FailureHandler) = 0;
    // Success carries {"LastPageFolio": text} when the service knows one.
    virtual std::shared_ptr<LectoroServiceRequest> fetchLastPageAccessed(const std::string& userToken,
        const std::string& bookId, SuccessHandler, FailureHandler) = 0;
    // Success carries the learner's submitted work: {"pageUgc": [page dictionaries]}.
    virtual std::shared_ptr<LectoroServiceRequest> fetchStudentAnnotations(const std::string& userToken,
        const std::string& bookId, const std::string& learnerId, const std::string& bookVersion, SuccessHandler,
        FailureHandler) = 0;
    // Success carries {"toc": [chapter dictionaries]}.
    virtual void fetchBookTOC(const std::string& userToken, const std::string& bookId, SuccessHandler, FailureHandler) = 0;
    virtual void fetchStudentMarkupReport(const std::string& userToken, const std::string& bookId,
        const std::string& classId, const base::Value& chapters, const std::string& emailID, const base::Value& userIds,
        SuccessHandler, FailureHandler) = 0;
    // Success carries {"responseMsg": playable address}.
    virtual void getKalturaSessionURL(const std::string& userToken, const std::string& entryID, int64_t type,
        SuccessHandler, FailureHandler) = 0;
    // Success carries {"token": ..., "subdomain": ...}.
    virtual void getImmersiveReaderTokenWithUserToken(const std::string& userToken, SuccessHandler, FailureHandler) = 0;
};

} // namespace lectoro
