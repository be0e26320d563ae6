#pragma once

// Where the services are. Plain text, stored as given: nothing is checked or trimmed, so
// an absent micro-services address is handed on as absent.

#include <memory>
#include <optional>
#include <string>

namespace lectoro {

class LectoroServiceConfiguration {
public:
    LectoroServiceConfiguration(std::string baseURL, std::string clientID)
        : baseURL(std::move(baseURL))
        , clientID(std::move(clientID))
    {
    }
    LectoroServiceConfiguration(
        std::string baseURL, std::string clientID, std::optional<std::string> microServicesBaseURL)
        : baseURL(std::move(baseURL))
        , clientID(std::move(clientID))
        , microServicesBaseURL(std::move(microServicesBaseURL))
    {
    }

    std::string baseURL;
    std::string clientID;
    std::optional<std::string> microServicesBaseURL;
};

} // namespace lectoro
