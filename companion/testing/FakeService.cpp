#include "companion/testing/FakeService.h"

namespace companion::testing {

std::shared_ptr<FakeService> FakeService::create()
{
    return std::shared_ptr<FakeService>(new FakeService);
}

void FakeService::send(ServiceRequest request, ServiceCompletion completion)
{
    std::optional<ServiceAnswer> answer;
    {
        std::lock_guard lock(m_mutex);
        m_requests.push_back(request);
        if (!m_queued.empty()) {
            answer = std::move(m_queued.front());
            m_queued.pop_front();
        } else if (m_autoAnswer) {
            answer = m_autoAnswer;
        }
        if (!answer) {
            m_pending.push_back({ std::move(request), std::move(completion) });
            return;
        }
    }
    reply({ std::move(request), std::move(completion) }, *answer);
}

void FakeService::reply(Pending pending, const ServiceAnswer& answer)
{
    if (!pending.completion)
        return;
    auto result = std::make_shared<ServiceResult>(answer.resultFor(pending.request));
    deliver(answer.delivery, answer.delay, [completion = std::move(pending.completion), result]() mutable {
        completion(std::move(*result));
    });
}

std::vector<ServiceRequest> FakeService::requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

std::vector<std::string> FakeService::operations() const
{
    std::lock_guard lock(m_mutex);
    std::vector<std::string> names;
    for (const auto& request : m_requests)
        names.push_back(request.operation);
    return names;
}

size_t FakeService::requestCount() const
{
    std::lock_guard lock(m_mutex);
    return m_requests.size();
}

std::optional<ServiceRequest> FakeService::lastRequest(const std::string& operation) const
{
    std::lock_guard lock(m_mutex);
    for (auto it = m_requests.rbegin(); it != m_requests.rend(); ++it) {
        if (it->operation == operation)
            return *it;
    }
    return std::nullopt;
}

size_t FakeService::pendingCount() const
{
    std::lock_guard lock(m_mutex);
    return m_pending.size();
}

std::optional<ServiceRequest> FakeService::pendingRequest(size_t index) const
{
    std::lock_guard lock(m_mutex);
    if (index >= m_pending.size())
        return std::nullopt;
    return m_pending[index].request;
}

bool FakeService::answerNext(const ServiceAnswer& answer)
{
    return this->answer(0, answer);
}

bool FakeService::answer(size_t pendingIndex, const ServiceAnswer& answer)
{
    Pending pending;
    {
        std::lock_guard lock(m_mutex);
        if (pendingIndex >= m_pending.size())
            return false;
        pending = std::move(m_pending[pendingIndex]);
        m_pending.erase(m_pending.begin() + static_cast<std::ptrdiff_t>(pendingIndex));
    }
    reply(std::move(pending), answer);
    return true;
}

size_t FakeService::answerAll(const ServiceAnswer& answer)
{
    std::deque<Pending> all;
    {
        std::lock_guard lock(m_mutex);
        all.swap(m_pending);
    }
    size_t count = all.size();
    for (auto& pending : all)
        reply(std::move(pending), answer);
    return count;
}

void FakeService::setAutoAnswer(std::optional<ServiceAnswer> answer)
{
    std::lock_guard lock(m_mutex);
    m_autoAnswer = std::move(answer);
}

void FakeService::enqueue(ServiceAnswer answer)
{
    std::lock_guard lock(m_mutex);
    m_queued.push_back(std::move(answer));
}

} // namespace companion::testing
