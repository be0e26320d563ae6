#include "platform/base/NotificationCenter.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <utility>
#include <vector>

namespace base {

struct ObserverToken::Registry {
    struct Observer {
        uint64_t id = 0;
        std::string name;
        const void* object = nullptr;
        NotificationCenter::Callback callback;
        // Cleared on removal; a post already under way checks it before each call.
        std::atomic<bool> active { true };
    };

    void remove(uint64_t id)
    {
        std::shared_ptr<Observer> doomed;
        {
            std::lock_guard lock(mutex);
            auto found = std::find_if(observers.begin(), observers.end(),
                [id](const auto& observer) { return observer->id == id; });
            if (found == observers.end())
                return;
            (*found)->active = false;
            doomed = std::move(*found);
            observers.erase(found);
        }
        // The callback's captures die here, outside the lock, in case they hold tokens too.
    }

    bool contains(uint64_t id)
    {
        std::lock_guard lock(mutex);
        return std::any_of(
            observers.begin(), observers.end(), [id](const auto& observer) { return observer->id == id; });
    }

    std::mutex mutex;
    std::vector<std::shared_ptr<Observer>> observers; // registration order
    uint64_t nextId = 1;
};

ObserverToken::ObserverToken(std::weak_ptr<Registry> registry, uint64_t id)
    : m_registry(std::move(registry))
    , m_id(id)
{
}

ObserverToken::~ObserverToken()
{
    reset();
}

ObserverToken::ObserverToken(ObserverToken&& other) noexcept
    : m_registry(std::move(other.m_registry))
    , m_id(std::exchange(other.m_id, 0))
{
    other.m_registry.reset();
}

ObserverToken& ObserverToken::operator=(ObserverToken&& other) noexcept
{
    if (this != &other) {
        reset();
        m_registry = std::move(other.m_registry);
        other.m_registry.reset();
        m_id = std::exchange(other.m_id, 0);
    }
    return *this;
}

void ObserverToken::reset()
{
    auto registry = m_registry.lock();
    m_registry.reset();
    uint64_t id = std::exchange(m_id, 0);
    if (registry && id)
        registry->remove(id);
}

bool ObserverToken::isActive() const
{
    auto registry = m_registry.lock();
    return registry && m_id && registry->contains(m_id);
}

NotificationCenter& NotificationCenter::defaultCenter()
{
    // Never destroyed, so observers in other static objects can still unregister at exit.
    static NotificationCenter* center = new NotificationCenter;
    return *center;
}

NotificationCenter::NotificationCenter()
    : m_registry(std::make_shared<ObserverToken::Registry>())
{
}

NotificationCenter::~NotificationCenter() = default;

ObserverToken NotificationCenter::addObserver(std::string name, const void* object, Callback callback)
{
    auto observer = std::make_shared<ObserverToken::Registry::Observer>();
    observer->name = std::move(name);
    observer->object = object;
    observer->callback = std::move(callback);
    std::lock_guard lock(m_registry->mutex);
    observer->id = m_registry->nextId++;
    m_registry->observers.push_back(observer);
    return ObserverToken(m_registry, observer->id);
}

void NotificationCenter::post(std::string name, const void* object, Value userInfo)
{
    post(Notification { std::move(name), object, std::move(userInfo) });
}

void NotificationCenter::post(const Notification& notification)
{
    // Observers added during this post wait for the next one; the snapshot also keeps
    // each callback alive while it runs, even if it removes itself.
    std::vector<std::shared_ptr<ObserverToken::Registry::Observer>> targets;
    {
        std::lock_guard lock(m_registry->mutex);
        for (const auto& observer : m_registry->observers) {
            bool nameMatches = observer->name.empty() || observer->name == notification.name;
            bool objectMatches = !observer->object || observer->object == notification.object;
            if (nameMatches && objectMatches)
                targets.push_back(observer);
        }
    }
    for (const auto& observer : targets) {
        if (observer->active && observer->callback)
            observer->callback(notification);
    }
}

size_t NotificationCenter::observerCount(const std::string& name) const
{
    std::lock_guard lock(m_registry->mutex);
    return static_cast<size_t>(std::count_if(m_registry->observers.begin(), m_registry->observers.end(),
        [&](const auto& observer) { return observer->name == name; }));
}

} // namespace base
