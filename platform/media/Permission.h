#pragma once

// A permission the user answers once: its status, and requests that reach their caller on
// the main run loop whatever thread the answer came from.
//
// Who answers is a responder: a function handed the request's answer callback, which it may
// call on any thread, at once or later. Tests install one to script the user; the default
// (no user and no device on this platform) answers from a background queue with the
// default answer given at construction.

#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"

#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace media {

template<class Status>
class Permission {
public:
    using Answer = std::function<void(Status)>;
    using Responder = std::function<void(Answer)>;

    Permission(Status undetermined, Status defaultAnswer)
        : m_state(std::make_shared<State>(undetermined, defaultAnswer))
    {
    }

    Status status() const
    {
        std::lock_guard lock(m_state->mutex);
        return m_state->status;
    }

    // Once determined, the status is answered without asking again.
    void request(std::function<void(Status)> completion)
    {
        Responder responder;
        {
            std::lock_guard lock(m_state->mutex);
            if (m_state->status != m_state->undetermined) {
                Status status = m_state->status;
                base::RunLoop::main().post([completion = std::move(completion), status] {
                    if (completion)
                        completion(status);
                });
                return;
            }
            m_state->waiting.push_back(std::move(completion));
            if (m_state->waiting.size() > 1)
                return; // one question to the user at a time; every caller gets its answer
            responder = m_state->responder;
        }
        std::weak_ptr<State> weakState = m_state;
        Answer answer = [weakState](Status status) { deliver(weakState, status); };
        if (responder) {
            responder(std::move(answer));
        } else {
            Status defaultAnswer = m_state->defaultAnswer;
            base::globalQueue().async([answer = std::move(answer), defaultAnswer] { answer(defaultAnswer); });
        }
    }

    void setResponder(Responder responder)
    {
        std::lock_guard lock(m_state->mutex);
        m_state->responder = std::move(responder);
    }

    // Test support: forget the answer (and the responder) as a fresh install would.
    void reset()
    {
        std::lock_guard lock(m_state->mutex);
        m_state->status = m_state->undetermined;
        m_state->responder = nullptr;
        m_state->waiting.clear();
    }

private:
    struct State {
        State(Status undetermined, Status defaultAnswer)
            : undetermined(undetermined), defaultAnswer(defaultAnswer), status(undetermined)
        {
        }
        std::mutex mutex;
        const Status undetermined;
        const Status defaultAnswer;
        Status status;
        Responder responder;
        std::vector<std::function<void(Status)>> waiting;
    };

    // Any thread. An answer of "undetermined" leaves the status as it was.
    static void deliver(const std::weak_ptr<State>& weakState, Status status)
    {
        auto state = weakState.lock();
        if (!state)
            return;
        std::vector<std::function<void(Status)>> waiting;
        {
            std::lock_guard lock(state->mutex);
            if (status != state->undetermined)
                state->status = status;
            waiting.swap(state->waiting);
        }
        base::RunLoop::main().post([waiting = std::move(waiting), status] {
            for (const auto& completion : waiting) {
                if (completion)
                    completion(status);
            }
        });
    }

    std::shared_ptr<State> m_state;
};

} // namespace media
