#include "companion/media/HLSServiceInterface.h"

#include "companion/service/ServiceAnswer.h"
#include "companion/service/ServiceErrors.h"

namespace companion {

HLSServiceInterface::HLSServiceInterface(Configuration configuration, std::weak_ptr<Transport> transport)
    : m_configuration(std::move(configuration))
    , m_transport(std::move(transport))
{
}

void HLSServiceInterface::cancel()
{
    ++*m_generation;
}

void HLSServiceInterface::fetchHLSMediaBookDownloadURL(const std::string& userToken, int64_t bookID, int64_t timeStamp,
    bool isHLSOnlineStreaming, SuccessHandler success, FailureHandler failure)
{
    base::Value::Dictionary body;
    body.set("bookID", bookID);
    body.set("timeStamp", timeStamp);
    body.set("isOnline", isHLSOnlineStreaming);
    body.set("enableCDNCookies", m_configuration.enableCDNCookies);
    body.set("isLectoroContentServer", m_configuration.IsLectoroContentServer);
    ServiceRequest request;
    request.operation = op::hlsMediaBook;
    request.body = base::Value(std::move(body));
    request.userToken = userToken;
    request.baseURL = m_configuration.microServicesBaseUrl.value_or(m_configuration.baseURL);
    request.clientID = m_configuration.clientID;

    uint64_t sentWith = m_generation->load();
    sendChecked(m_transport, std::move(request),
        [generation = m_generation, sentWith, success = std::move(success), failure = std::move(failure)](
            ServiceResult result) {
            if (generation->load() != sentWith)
                return;
            if (!result.ok()) {
                if (failure)
                    failure(result.error());
                return;
            }
            const auto& answer = result.value();
            auto path = answer["mediaPath"].asString();
            if (!path || path->empty()) {
                if (failure)
                    failure(malformedAnswerError("the answer names no media folder"));
                return;
            }
            std::optional<base::Value> cookies;
            if (const auto& value = answer["cookies"]; value.isDictionary())
                cookies = value;
            if (success)
                success(*path, cookies);
        });
}

} // namespace companion
