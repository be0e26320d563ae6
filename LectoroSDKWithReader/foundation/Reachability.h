#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

struct sockaddr;

namespace base {
class Timer;
}

namespace lectoro {

enum NetworkStatus : int {
    NotReachable = 0,
    ReachableViaWiFi = 1, // or any path that is not cellular
    ReachableViaWWAN = 2,
};

// The reachability flag word.
namespace ReachabilityFlags {
inline constexpr uint32_t TransientConnection = 0x1;
inline constexpr uint32_t Reachable = 0x2;
inline constexpr uint32_t ConnectionRequired = 0x4;
inline constexpr uint32_t ConnectionOnTraffic = 0x8;
inline constexpr uint32_t InterventionRequired = 0x10;
inline constexpr uint32_t ConnectionOnDemand = 0x20;
inline constexpr uint32_t IsLocalAddress = 0x10000;
inline constexpr uint32_t IsDirect = 0x20000;
inline constexpr uint32_t IsWWAN = 0x40000;
} // namespace ReachabilityFlags

// Posted with the Reachability whose flags changed as object; nothing in the reader observes
// it, it is there for the host.
inline constexpr const char* kReachabilityChangedNotification = "kNetworkReachabilityChangedNotification";

// What a monitor watches: it reports the current flags and, once started, calls back on the
// main run loop whenever they change.
class ReachabilitySource {
public:
    enum class Target { Internet, LocalWiFi, HostName, Address };

    virtual ~ReachabilitySource() = default;
    // Nothing when the flags cannot be read.
    virtual std::optional<uint32_t> flags() = 0;
    virtual bool start(std::function<void()> onChange) = 0;
    virtual void stop() = 0;
};

// Reads the machine's network interfaces (/sys/class/net): any interface other than the
// loopback that is up makes the network reachable ("wwan*" ones cellular); the local Wi-Fi
// target needs an up wireless interface, reported as direct. Changes are found by polling
// on the main run loop while started.
class InterfaceReachabilitySource final : public ReachabilitySource {
public:
    static constexpr double pollInterval = 2.0;

    explicit InterfaceReachabilitySource(Target, std::string interfacesFolder = "/sys/class/net");
    ~InterfaceReachabilitySource() override;

    std::optional<uint32_t> flags() override;
    bool start(std::function<void()> onChange) override;
    void stop() override;
    // The watched address of an Address target, as numeric text; a loopback address is
    // always reachable, locally and directly.
    void setAddress(std::string address) { m_address = std::move(address); }

private:
    Target m_target;
    std::string m_interfacesFolder;
    std::string m_address;
    std::shared_ptr<base::Timer> m_timer;
    std::optional<uint32_t> m_lastFlags;
};

// Turns reachability flags into a network status and announces every change.
class Reachability : public std::enable_shared_from_this<Reachability> {
public:
    using SourceFactory = std::function<std::shared_ptr<ReachabilitySource>(ReachabilitySource::Target, const std::string& hostName)>;

    // Where new monitors get their source; nullptr restores the interface reader.
    static void setSourceFactory(SourceFactory);

    // Nothing for an empty host name.
    static std::shared_ptr<Reachability> reachabilityWithHostName(const std::string& hostName);
    // A monitor of an IPv4 or IPv6 socket address; nothing for a null address or another
    // family. The source factory receives the address as numeric text ("127.0.0.1").
    static std::shared_ptr<Reachability> reachabilityWithAddress(const sockaddr* address);
    // The default route: the IPv4 address 0.0.0.0.
    static std::shared_ptr<Reachability> reachabilityForInternetConnection();
    static std::shared_ptr<Reachability> reachabilityForLocalWiFi();
    static std::shared_ptr<Reachability> reachabilityWithSource(std::shared_ptr<ReachabilitySource>, bool localWiFi = false);

    ~Reachability();

    // Starts announcing changes; false when the source cannot report them.
    bool startNotifier();
    void stopNotifier();

    NetworkStatus currentReachabilityStatus() const;
    bool connectionRequired() const;
    bool alwaysReturnLocalWiFiStatus() const { return m_alwaysReturnLocalWiFiStatus; }

    static NetworkStatus networkStatusForFlags(uint32_t flags);
    static NetworkStatus localWiFiStatusForFlags(uint32_t flags);
    // "WR tcCiDld"-style text of the flags, a '-' for each flag that is clear.
    static std::string flagsDescription(uint32_t flags);

private:
    Reachability(std::shared_ptr<ReachabilitySource>, bool localWiFi);

    std::shared_ptr<ReachabilitySource> m_source;
    bool m_alwaysReturnLocalWiFiStatus = false;
    bool m_notifying = false;
};

} // namespace lectoro
