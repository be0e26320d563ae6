#pragma once

// Process-wide broadcast of named events.
//
// post() delivers synchronously, on the posting thread, to the observers registered when
// the post began, in registration order. An observer removed while a post is under way
// (by itself or by another observer) is not called afterwards. Observers may post again
// from inside their callback.

#include "platform/base/Value.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace base {

struct Notification {
    std::string name;
    // Identity only: the sender, compared by address and never dereferenced here.
    const void* object = nullptr;
    Value userInfo;
};

class NotificationCenter;

// Observation lasts as long as the token: destroying it or calling reset() stops it. A
// token may outlive its center.
class [[nodiscard]] ObserverToken {
public:
    ObserverToken() = default;
    ~ObserverToken();
    ObserverToken(ObserverToken&&) noexcept;
    ObserverToken& operator=(ObserverToken&&) noexcept;
    ObserverToken(const ObserverToken&) = delete;
    ObserverToken& operator=(const ObserverToken&) = delete;

    void reset();
    bool isActive() const;

    struct Registry;

private:
    friend class NotificationCenter;
    ObserverToken(std::weak_ptr<Registry>, uint64_t id);

    std::weak_ptr<Registry> m_registry;
    uint64_t m_id = 0;
};

class NotificationCenter {
public:
    using Callback = std::function<void(const Notification&)>;

    static NotificationCenter& defaultCenter();

    NotificationCenter();
    ~NotificationCenter();
    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;

    // An empty name observes every notification; a null object observes every sender.
    [[nodiscard]] ObserverToken addObserver(std::string name, const void* object, Callback);
    void post(std::string name, const void* object = nullptr, Value userInfo = {});
    void post(const Notification&);

    // Observers registered for exactly this name (test support).
    size_t observerCount(const std::string& name) const;

private:
    std::shared_ptr<ObserverToken::Registry> m_registry;
};

} // namespace base
