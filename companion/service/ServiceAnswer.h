#pragma once

// A scripted answer of the service and how it is delivered: what tests and the example
// host use to make the service succeed, refuse a token, go offline, answer slowly or
// answer from a worker thread.

#include "companion/service/Transport.h"

#include <functional>
#include <memory>

namespace companion {

enum class Delivery {
    // Inside send(), before it returns.
    Immediately,
    // Posted to the main run loop (the default: like a network answer arriving later).
    MainQueue,
    // Posted to the main run loop after `delay` seconds of its clock.
    Delayed,
    // On a worker thread of base::globalQueue().
    WorkerThread,
};

struct ServiceAnswer {
    enum class Kind { Success, Text, ExpiredToken, Unauthorized, Offline, Failure };

    Kind kind = Kind::Success;
    // The JSON answered on success.
    base::Value body;
    // The answer as the network carries it, for Kind::Text: read as JSON on arrival.
    std::string text;
    // The error answered for Kind::Failure.
    base::Error error;
    Delivery delivery = Delivery::MainQueue;
    double delay = 0;

    static ServiceAnswer success(base::Value body = base::Value::Dictionary {});
    // A raw answer: JSON text that may be broken, to see how clients take it.
    static ServiceAnswer rawText(std::string);
    static ServiceAnswer expiredToken();
    static ServiceAnswer unauthorized();
    static ServiceAnswer offline();
    static ServiceAnswer failure(base::Error);

    ServiceAnswer after(double seconds) const;
    ServiceAnswer onWorkerThread() const;
    ServiceAnswer immediately() const;

    // The result for a request: the expired-token error names the request's token.
    ServiceResult resultFor(const ServiceRequest&) const;
};

// What a client makes of an answer: a success must be a JSON object; anything else (a
// list, a bare value, text that was not JSON) is a failure with the service-failure shape
// (malformedAnswerError), never handed on as data.
ServiceResult checkedAnswer(ServiceResult);

// How every client sends: through the transport when it is still there, else an offline
// error on the main run loop; the completion gets the checked answer (checkedAnswer).
void sendChecked(const std::weak_ptr<Transport>&, ServiceRequest, ServiceCompletion);

// Runs the task as the delivery says.
void deliver(Delivery, double delay, std::function<void()> task);

} // namespace companion
