#include "LectoroSDKWithReader/foundation/Reachability.h"

#include "LectoroSDKWithReader/foundation/FoundationLog.h"
#include "platform/base/FileManager.h"
#include "platform/base/NotificationCenter.h"
#include "platform/base/Strings.h"
#include "platform/base/Timer.h"

#include <arpa/inet.h>
#include <cstring>
#include <mutex>
#include <netinet/in.h>
#include <sys/socket.h>

namespace lectoro {

namespace {

std::mutex& factoryMutex()
{
    static std::mutex mutex;
    return mutex;
}

Reachability::SourceFactory& factory()
{
    static Reachability::SourceFactory current;
    return current;
}

std::shared_ptr<ReachabilitySource> makeSource(ReachabilitySource::Target target, const std::string& hostName)
{
    Reachability::SourceFactory current;
    {
        std::lock_guard lock(factoryMutex());
        current = factory();
    }
    if (current)
        return current(target, hostName);
    auto source = std::make_shared<InterfaceReachabilitySource>(target);
    source->setAddress(hostName);
    return source;
}

std::string readFirstLine(const std::string& path)
{
    auto contents = base::FileManager::defaultManager().readFile(path);
    if (!contents)
        return {};
    return base::trimWhitespaceAndNewlines(*contents);
}

void logFlags(uint32_t flags, const char* function)
{
    systemLog("Reachability Flag Status: " + Reachability::flagsDescription(flags) + " " + function);
}

} // namespace

InterfaceReachabilitySource::InterfaceReachabilitySource(Target target, std::string interfacesFolder)
    : m_target(target)
    , m_interfacesFolder(std::move(interfacesFolder))
{
}

InterfaceReachabilitySource::~InterfaceReachabilitySource()
{
    stop();
}

std::optional<uint32_t> InterfaceReachabilitySource::flags()
{
    if (m_target == Target::Address && (base::hasPrefix(m_address, "127.") || m_address == "::1"))
        return ReachabilityFlags::Reachable | ReachabilityFlags::IsLocalAddress | ReachabilityFlags::IsDirect;
    auto& files = base::FileManager::defaultManager();
    auto names = files.contentsOfDirectory(m_interfacesFolder);
    if (!names)
        return std::nullopt;
    uint32_t result = 0;
    for (auto& name : *names) {
        if (name == "lo" || name.empty() || name[0] == '.')
            continue;
        std::string folder = m_interfacesFolder + "/" + name;
        std::string state = readFirstLine(folder + "/operstate");
        bool up = state == "up" || (state == "unknown" && readFirstLine(folder + "/carrier") == "1");
        if (!up)
            continue;
        if (m_target == Target::LocalWiFi) {
            if (files.fileExists(folder + "/wireless"))
                result |= ReachabilityFlags::Reachable | ReachabilityFlags::IsDirect;
            continue;
        }
        result |= ReachabilityFlags::Reachable;
        if (base::hasPrefix(name, "wwan"))
            result |= ReachabilityFlags::IsWWAN;
    }
    return result;
}

bool InterfaceReachabilitySource::start(std::function<void()> onChange)
{
    stop();
    m_lastFlags = flags();
    m_timer = base::Timer::scheduled(pollInterval, true, [this, onChange = std::move(onChange)](base::Timer&) {
        auto now = flags();
        if (now == m_lastFlags)
            return;
        m_lastFlags = now;
        if (onChange)
            onChange();
    });
    return true;
}

void InterfaceReachabilitySource::stop()
{
    if (m_timer)
        m_timer->invalidate();
    m_timer.reset();
}

void Reachability::setSourceFactory(SourceFactory newFactory)
{
    std::lock_guard lock(factoryMutex());
    factory() = std::move(newFactory);
}

Reachability::Reachability(std::shared_ptr<ReachabilitySource> source, bool localWiFi)
    : m_source(std::move(source))
    , m_alwaysReturnLocalWiFiStatus(localWiFi)
{
}

Reachability::~Reachability()
{
    stopNotifier();
}

std::shared_ptr<Reachability> Reachability::reachabilityWithSource(std::shared_ptr<ReachabilitySource> source, bool localWiFi)
{
    if (!source)
        return nullptr;
    return std::shared_ptr<Reachability>(new Reachability(std::move(source), localWiFi));
}

std::shared_ptr<Reachability> Reachability::reachabilityWithHostName(const std::string& hostName)
{
    if (hostName.empty())
        return nullptr;
    return reachabilityWithSource(makeSource(ReachabilitySource::Target::HostName, hostName));
}

std::shared_ptr<Reachability> Reachability::reachabilityWithAddress(const sockaddr* address)
{
    if (!address)
        return nullptr;
    char text[INET6_ADDRSTRLEN] = {};
    bool anyAddress = false;
    if (address->sa_family == AF_INET) {
        const auto* ipv4 = reinterpret_cast<const sockaddr_in*>(address);
        if (!inet_ntop(AF_INET, &ipv4->sin_addr, text, sizeof text))
            return nullptr;
        anyAddress = ipv4->sin_addr.s_addr == htonl(INADDR_ANY);
    } else if (address->sa_family == AF_INET6) {
        const auto* ipv6 = reinterpret_cast<const sockaddr_in6*>(address);
        if (!inet_ntop(AF_INET6, &ipv6->sin6_addr, text, sizeof text))
            return nullptr;
        anyAddress = std::memcmp(&ipv6->sin6_addr, &in6addr_any, sizeof(in6_addr)) == 0;
    } else {
        return nullptr;
    }
    // The unspecified address stands for the default route.
    auto target = anyAddress ? ReachabilitySource::Target::Internet : ReachabilitySource::Target::Address;
    return reachabilityWithSource(makeSource(target, anyAddress ? std::string() : std::string(text)));
}

std::shared_ptr<Reachability> Reachability::reachabilityForInternetConnection()
{
    sockaddr_in zero {};
    zero.sin_family = AF_INET;
    return reachabilityWithAddress(reinterpret_cast<const sockaddr*>(&zero));
}

std::shared_ptr<Reachability> Reachability::reachabilityForLocalWiFi()
{
    return reachabilityWithSource(makeSource(ReachabilitySource::Target::LocalWiFi, {}), true);
}

bool Reachability::startNotifier()
{
    std::weak_ptr<Reachability> weakSelf = weak_from_this();
    const void* identity = this;
    bool started = m_source->start([weakSelf, identity] {
        if (weakSelf.expired())
            return;
        base::NotificationCenter::defaultCenter().post(kReachabilityChangedNotification, identity);
    });
    m_notifying = started;
    return started;
}

void Reachability::stopNotifier()
{
    if (m_notifying && m_source)
        m_source->stop();
    m_notifying = false;
}

NetworkStatus Reachability::currentReachabilityStatus() const
{
    auto flags = m_source->flags();
    if (!flags)
        return NotReachable;
    return m_alwaysReturnLocalWiFiStatus ? localWiFiStatusForFlags(*flags) : networkStatusForFlags(*flags);
}

bool Reachability::connectionRequired() const
{
    auto flags = m_source->flags();
    return flags && (*flags & ReachabilityFlags::ConnectionRequired);
}

NetworkStatus Reachability::networkStatusForFlags(uint32_t flags)
{
    using namespace ReachabilityFlags;
    logFlags(flags, "networkStatusForFlags");
    if (!(flags & Reachable))
        return NotReachable;
    if (flags & IsWWAN)
        return ReachableViaWWAN;
    if ((flags & (ConnectionOnDemand | ConnectionOnTraffic)) && !(flags & InterventionRequired))
        return ReachableViaWiFi;
    return (flags & ConnectionRequired) ? NotReachable : ReachableViaWiFi;
}

NetworkStatus Reachability::localWiFiStatusForFlags(uint32_t flags)
{
    using namespace ReachabilityFlags;
    logFlags(flags, "localWiFiStatusForFlags");
    return ((flags & Reachable) && (flags & IsDirect)) ? ReachableViaWiFi : NotReachable;
}

std::string Reachability::flagsDescription(uint32_t flags)
{
    using namespace ReachabilityFlags;
    auto bit = [flags](uint32_t mask, char letter) { return (flags & mask) ? letter : '-'; };
    std::string text;
    text += bit(IsWWAN, 'W');
    text += bit(Reachable, 'R');
    text += ' ';
    text += bit(TransientConnection, 't');
    text += bit(ConnectionRequired, 'c');
    text += bit(ConnectionOnTraffic, 'C');
    text += bit(InterventionRequired, 'i');
    text += bit(ConnectionOnDemand, 'D');
    text += bit(IsLocalAddress, 'l');
    text += bit(IsDirect, 'd');
    return text;
}

} // namespace lectoro
