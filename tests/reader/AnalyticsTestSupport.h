#pragma once

#include "LectoroSDKWithReader/readersdk/AnalyticsManager.h"
#include "platform/base/Json.h"

#include <string>
#include <vector>

namespace lectoro::testing {

// An analytics manager that keeps every event it is given, in order, and hands the
// tracked ones over as the session JSON (every event queued so far).
class RecordingAnalyticsManager : public AnalyticsManager {
public:
    struct Tracked {
        std::string name;
        base::Value info;
        std::string uniqueID;
    };
    struct Live {
        std::optional<std::string> name;
        base::Value info;
    };

    void trackEvent(const std::string& name, const base::Value& info, const std::string& uniqueID) override
    {
        tracked.push_back({ name, info, uniqueID });
    }
    void notifyEvent(const std::optional<std::string>& name, const base::Value& info) override
    {
        live.push_back({ name, info });
    }
    std::string getTrackingJSON() override
    {
        if (tracked.empty())
            return {};
        base::Value::Dictionary byName;
        for (const auto& event : tracked) {
            base::Value::Dictionary entry;
            entry.set("EventName", event.name);
            entry.set("UniqueID", event.uniqueID);
            entry.set("EventInfo", event.info);
            base::Value* list = byName.find(event.name);
            if (!list)
                list = &byName.set(event.name, base::Value::List {});
            list->asList()->push_back(base::Value(std::move(entry)));
        }
        return base::toJson(base::Value(std::move(byName)));
    }

    std::vector<std::string> names() const
    {
        std::vector<std::string> result;
        for (const auto& event : tracked)
            result.push_back(event.name);
        return result;
    }
    std::vector<Tracked> named(const std::string& name) const
    {
        std::vector<Tracked> result;
        for (const auto& event : tracked) {
            if (event.name == name)
                result.push_back(event);
        }
        return result;
    }

    std::vector<Tracked> tracked;
    std::vector<Live> live;
};

} // namespace lectoro::testing
