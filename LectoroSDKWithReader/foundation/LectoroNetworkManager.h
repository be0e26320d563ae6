#pragma once

#include "LectoroSDKWithReader/foundation/Reachability.h"

#include <memory>

namespace lectoro {

// The one network monitor every online feature asks before it calls out.
class LectoroNetworkManager {
public:
    // Made on first use with the internet monitor, whose notifier starts at once.
    static LectoroNetworkManager& getInstance();

    std::shared_ptr<Reachability> internetReachability() const { return m_internetReachability; }
    // Replaces the monitor (the new one's notifier is started); tests and hosts inject here.
    void setInternetReachability(std::shared_ptr<Reachability>);

    NetworkStatus getNetworkStatus() const;
    // Reachable through a non-cellular path, or through the cellular network when no
    // connection has to be set up first.
    bool isInternetAvailable() const;

private:
    LectoroNetworkManager();

    std::shared_ptr<Reachability> m_internetReachability;
};

} // namespace lectoro
