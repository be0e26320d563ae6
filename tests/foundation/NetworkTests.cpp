#include "FoundationTestSupport.h"

#include "LectoroSDKWithReader/foundation/LectoroNetworkManager.h"
#include "platform/base/NotificationCenter.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/un.h>

namespace lectoro {
namespace {

using namespace ReachabilityFlags;

class FakeReachabilitySource : public ReachabilitySource {
public:
    std::optional<uint32_t> flags() override { return currentFlags; }
    bool start(std::function<void()> onChange) override
    {
        changed = std::move(onChange);
        return canNotify;
    }
    void stop() override { changed = nullptr; }

    void change(std::optional<uint32_t> flags)
    {
        currentFlags = flags;
        if (changed)
            changed();
    }

    std::optional<uint32_t> currentFlags;
    std::function<void()> changed;
    bool canNotify = true;
};

TEST(ReachabilityTest, StatusFromFlags)
{
    struct Case {
        std::optional<uint32_t> flags;
        NetworkStatus status;
        bool internet;
    };
    const Case cases[] = {
        { 0, NotReachable, false },
        { std::nullopt, NotReachable, false },
        { Reachable, ReachableViaWiFi, true },
        { Reachable | IsWWAN, ReachableViaWWAN, true },
        { Reachable | IsWWAN | ConnectionRequired, ReachableViaWWAN, false },
        { Reachable | ConnectionRequired, NotReachable, false },
        { Reachable | ConnectionRequired | ConnectionOnDemand, ReachableViaWiFi, true },
        { Reachable | ConnectionRequired | ConnectionOnTraffic, ReachableViaWiFi, true },
        { Reachable | ConnectionRequired | ConnectionOnDemand | InterventionRequired, NotReachable, false },
        { Reachable | ConnectionOnDemand | InterventionRequired, ReachableViaWiFi, true },
        { IsWWAN, NotReachable, false },
    };
    testing::FoundationScope scope;
    auto source = std::make_shared<FakeReachabilitySource>();
    auto& manager = LectoroNetworkManager::getInstance();
    manager.setInternetReachability(Reachability::reachabilityWithSource(source));
    for (auto& c : cases) {
        source->currentFlags = c.flags;
        EXPECT_EQ(manager.getNetworkStatus(), c.status) << (c.flags ? *c.flags : 0xFFFFFFFF);
        EXPECT_EQ(manager.isInternetAvailable(), c.internet) << (c.flags ? *c.flags : 0xFFFFFFFF);
    }
    EXPECT_FALSE(scope.log().empty());
    EXPECT_EQ(scope.log().back().rfind("Reachability Flag Status: ", 0), 0u);
}

TEST(ReachabilityTest, LocalWiFiNeedsReachableAndDirect)
{
    testing::FoundationScope scope;
    auto source = std::make_shared<FakeReachabilitySource>();
    auto wifi = Reachability::reachabilityWithSource(source, true);
    EXPECT_TRUE(wifi->alwaysReturnLocalWiFiStatus());
    for (auto [flags, expected] : { std::pair<uint32_t, NetworkStatus> { Reachable | IsDirect, ReachableViaWiFi },
             { Reachable, NotReachable }, { IsDirect, NotReachable }, { Reachable | IsDirect | IsWWAN, ReachableViaWiFi } }) {
        source->currentFlags = flags;
        EXPECT_EQ(wifi->currentReachabilityStatus(), expected) << flags;
    }
    EXPECT_EQ(Reachability::flagsDescription(Reachable | IsDirect | IsWWAN), "WR ------d");
}

TEST(ReachabilityTest, ChangesArePostedWithTheMonitor)
{
    testing::FoundationScope scope;
    auto source = std::make_shared<FakeReachabilitySource>();
    auto monitor = Reachability::reachabilityWithSource(source);
    std::vector<const void*> senders;
    auto token = base::NotificationCenter::defaultCenter().addObserver(kReachabilityChangedNotification, nullptr,
        [&](const base::Notification& note) { senders.push_back(note.object); });

    source->change(Reachable);
    EXPECT_TRUE(senders.empty());
    EXPECT_TRUE(monitor->startNotifier());
    source->change(Reachable | IsWWAN);
    source->change(0);
    EXPECT_EQ(senders, (std::vector<const void*> { monitor.get(), monitor.get() }));
    monitor->stopNotifier();
    source->change(Reachable);
    EXPECT_EQ(senders.size(), 2u);

    source->canNotify = false;
    EXPECT_FALSE(monitor->startNotifier());
}

TEST(ReachabilityTest, InterfaceReaderFindsAnUpInterface)
{
    testing::FoundationScope scope;
    auto root = scope.folder() / "net";
    testing::writeFile(root + "/lo/operstate", "unknown\n");
    testing::writeFile(root + "/lo/carrier", "1\n");
    testing::writeFile(root + "/eth0/operstate", "down\n");
    InterfaceReachabilitySource internet(ReachabilitySource::Target::Internet, root);
    InterfaceReachabilitySource wifi(ReachabilitySource::Target::LocalWiFi, root);
    EXPECT_EQ(internet.flags(), 0u);

    testing::writeFile(root + "/wlan0/operstate", "up\n");
    std::filesystem::create_directories(root + "/wlan0/wireless");
    EXPECT_EQ(internet.flags(), Reachable);
    EXPECT_EQ(wifi.flags(), Reachable | IsDirect);

    testing::writeFile(root + "/wwan0/operstate", "up\n");
    EXPECT_EQ(internet.flags(), Reachable | IsWWAN);

    InterfaceReachabilitySource missing(ReachabilitySource::Target::Internet, scope.folder() / "nowhere");
    EXPECT_EQ(missing.flags(), std::nullopt);

    // While started, a change found by the poll is announced.
    InterfaceReachabilitySource polled(ReachabilitySource::Target::Internet, root);
    int changes = 0;
    ASSERT_TRUE(polled.start([&] { ++changes; }));
    base::RunLoop::main().advanceBy(InterfaceReachabilitySource::pollInterval);
    EXPECT_EQ(changes, 0);
    testing::writeFile(root + "/wwan0/operstate", "down\n");
    testing::writeFile(root + "/wlan0/operstate", "down\n");
    base::RunLoop::main().advanceBy(InterfaceReachabilitySource::pollInterval);
    EXPECT_EQ(changes, 1);
    polled.stop();
}

TEST(ReachabilityTest, MonitorsBySocketAddress)
{
    testing::FoundationScope scope;
    std::vector<std::pair<ReachabilitySource::Target, std::string>> made;
    Reachability::setSourceFactory([&](ReachabilitySource::Target target, const std::string& name) {
        made.emplace_back(target, name);
        return std::make_shared<FakeReachabilitySource>();
    });

    sockaddr_in loopback {};
    loopback.sin_family = AF_INET;
    loopback.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_NE(Reachability::reachabilityWithAddress(reinterpret_cast<sockaddr*>(&loopback)), nullptr);
    sockaddr_in6 ipv6 {};
    ipv6.sin6_family = AF_INET6;
    ipv6.sin6_addr = in6addr_loopback;
    EXPECT_NE(Reachability::reachabilityWithAddress(reinterpret_cast<sockaddr*>(&ipv6)), nullptr);
    EXPECT_NE(Reachability::reachabilityForInternetConnection(), nullptr);
    // No address, or one that is not an internet address, makes no monitor.
    sockaddr_un local {};
    local.sun_family = AF_UNIX;
    EXPECT_EQ(Reachability::reachabilityWithAddress(reinterpret_cast<sockaddr*>(&local)), nullptr);
    EXPECT_EQ(Reachability::reachabilityWithAddress(nullptr), nullptr);
    Reachability::setSourceFactory(nullptr);

    using Target = ReachabilitySource::Target;
    const std::vector<std::pair<Target, std::string>> expected {
        { Target::Address, "127.0.0.1" }, { Target::Address, "::1" }, { Target::Internet, "" } };
    EXPECT_EQ(made, expected);

    // The interface reader finds a loopback address reachable even with every interface down.
    InterfaceReachabilitySource source(Target::Address, scope.folder() / "no-interfaces");
    source.setAddress("127.0.0.1");
    EXPECT_EQ(source.flags(), Reachable | IsLocalAddress | IsDirect);
}

} // namespace
} // namespace lectoro
