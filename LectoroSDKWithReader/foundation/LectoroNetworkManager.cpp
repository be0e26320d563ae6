#include "LectoroSDKWithReader/foundation/LectoroNetworkManager.h"

namespace lectoro {

LectoroNetworkManager& LectoroNetworkManager::getInstance()
{
    static LectoroNetworkManager* instance = new LectoroNetworkManager;
    return *instance;
}

LectoroNetworkManager::LectoroNetworkManager()
{
    setInternetReachability(Reachability::reachabilityForInternetConnection());
}

void LectoroNetworkManager::setInternetReachability(std::shared_ptr<Reachability> reachability)
{
    if (m_internetReachability)
        m_internetReachability->stopNotifier();
    m_internetReachability = std::move(reachability);
    if (m_internetReachability)
        m_internetReachability->startNotifier();
}

NetworkStatus LectoroNetworkManager::getNetworkStatus() const
{
    return m_internetReachability ? m_internetReachability->currentReachabilityStatus() : NotReachable;
}

bool LectoroNetworkManager::isInternetAvailable() const
{
    switch (getNetworkStatus()) {
    case ReachableViaWiFi:
        return true;
    case ReachableViaWWAN:
        return !m_internetReachability->connectionRequired();
    default:
        return false;
    }
}

} // namespace lectoro
