#pragma once

// A scripted answer of the service and how it is delivered: what tests and the example
// host use to make the service succeed, refuse a token, go offline, answer slowly or
// answer from a worker thread.

#include "companion/service/Transport.h"

#include <functional>

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
    enum class Kind { Success, ExpiredToken, Unauthorized, Offline, Failure };

    Kind kind = Kind::Success;
    // The JSON answered on success.
    base::Value body;
    // The error answered for Kind::Failure.
    base::Error error;
    Delivery delivery = Delivery::MainQueue;
    double delay = 0;

    static ServiceAnswer success(base::Value body = base::Value::Dictionary {});
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

// Runs the task as the delivery says.
void deliver(Delivery, double delay, std::function<void()> task);

} // namespace companion
