#include "companion/service/ServiceAnswer.h"

#include "companion/service/ServiceErrors.h"
#include "platform/base/Dispatch.h"
#include "platform/base/Json.h"
#include "platform/base/RunLoop.h"

namespace companion {

ServiceAnswer ServiceAnswer::success(base::Value body)
{
    ServiceAnswer answer;
    answer.kind = Kind::Success;
    answer.body = std::move(body);
    return answer;
}

ServiceAnswer ServiceAnswer::rawText(std::string text)
{
    ServiceAnswer answer;
    answer.kind = Kind::Text;
    answer.text = std::move(text);
    return answer;
}

ServiceAnswer ServiceAnswer::expiredToken()
{
    ServiceAnswer answer;
    answer.kind = Kind::ExpiredToken;
    return answer;
}

ServiceAnswer ServiceAnswer::unauthorized()
{
    ServiceAnswer answer;
    answer.kind = Kind::Unauthorized;
    return answer;
}

ServiceAnswer ServiceAnswer::offline()
{
    ServiceAnswer answer;
    answer.kind = Kind::Offline;
    return answer;
}

ServiceAnswer ServiceAnswer::failure(base::Error error)
{
    ServiceAnswer answer;
    answer.kind = Kind::Failure;
    answer.error = std::move(error);
    return answer;
}

ServiceAnswer ServiceAnswer::after(double seconds) const
{
    ServiceAnswer answer = *this;
    answer.delivery = Delivery::Delayed;
    answer.delay = seconds < 0 ? 0 : seconds;
    return answer;
}

ServiceAnswer ServiceAnswer::onWorkerThread() const
{
    ServiceAnswer answer = *this;
    answer.delivery = Delivery::WorkerThread;
    return answer;
}

ServiceAnswer ServiceAnswer::immediately() const
{
    ServiceAnswer answer = *this;
    answer.delivery = Delivery::Immediately;
    return answer;
}

ServiceResult ServiceAnswer::resultFor(const ServiceRequest& request) const
{
    switch (kind) {
    case Kind::Success:
        return body;
    case Kind::Text: {
        auto parsed = base::parseJson(text);
        if (!parsed.ok())
            return malformedAnswerError("it is not JSON (" + parsed.error().localizedDescription() + ")");
        return std::move(parsed.value());
    }
    case Kind::ExpiredToken:
        return expiredTokenError(request.userToken);
    case Kind::Unauthorized:
        return unauthorizedError();
    case Kind::Offline:
        return offlineError();
    case Kind::Failure:
        return error;
    }
    return error;
}

ServiceResult checkedAnswer(ServiceResult result)
{
    if (result.ok() && !result.value().isDictionary())
        return malformedAnswerError("it is not a JSON object");
    return result;
}

void sendChecked(const std::weak_ptr<Transport>& weakTransport, ServiceRequest request, ServiceCompletion completion)
{
    auto checked = [completion = std::move(completion)](ServiceResult result) {
        if (completion)
            completion(checkedAnswer(std::move(result)));
    };
    auto transport = weakTransport.lock();
    if (!transport) {
        deliver(Delivery::MainQueue, 0, [checked = std::move(checked)]() { checked(offlineError()); });
        return;
    }
    transport->send(std::move(request), std::move(checked));
}

void deliver(Delivery delivery, double delay, std::function<void()> task)
{
    switch (delivery) {
    case Delivery::Immediately:
        task();
        return;
    case Delivery::MainQueue:
        base::RunLoop::main().post(std::move(task));
        return;
    case Delivery::Delayed:
        base::RunLoop::main().postDelayed(delay, std::move(task));
        return;
    case Delivery::WorkerThread:
        base::globalQueue().async(std::move(task));
        return;
    }
}

} // namespace companion
