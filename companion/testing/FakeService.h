#pragma once

// A transport for tests that records every request and answers only when told: one
// request at a time (answerNext), a chosen one (answer), or all pending. An answer may be
// any ServiceAnswer (success, expired token, 401, offline, failure), delivered at once, on
// the main run loop, after a delay or on a worker thread. With setAutoAnswer() it answers
// each request as it arrives, taking queued answers first (enqueue) and the automatic one
// after.

#include "companion/service/ServiceAnswer.h"
#include "companion/service/Transport.h"

#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace companion::testing {

class FakeService final : public Transport {
public:
    static std::shared_ptr<FakeService> create();

    void send(ServiceRequest, ServiceCompletion) override;

    // Every request received, answered or not, in order.
    std::vector<ServiceRequest> requests() const;
    std::vector<std::string> operations() const;
    size_t requestCount() const;
    // The last request of an operation; absent when there was none.
    std::optional<ServiceRequest> lastRequest(const std::string& operation) const;

    // Requests not answered yet, oldest first.
    size_t pendingCount() const;
    std::optional<ServiceRequest> pendingRequest(size_t index) const;
    // False when there is nothing pending (or no such index).
    bool answerNext(const ServiceAnswer&);
    bool answer(size_t pendingIndex, const ServiceAnswer&);
    size_t answerAll(const ServiceAnswer&);

    void setAutoAnswer(std::optional<ServiceAnswer>);
    void enqueue(ServiceAnswer);

private:
    FakeService() = default;

    struct Pending {
        ServiceRequest request;
        ServiceCompletion completion;
    };
    static void reply(Pending, const ServiceAnswer&);

    mutable std::mutex m_mutex;
    std::vector<ServiceRequest> m_requests;
    std::deque<Pending> m_pending;
    std::deque<ServiceAnswer> m_queued;
    std::optional<ServiceAnswer> m_autoAnswer;
};

} // namespace companion::testing
