#pragma once

// Turns tracked events into the payloads the analytics back end expects and hands them,
// and the live events, to the companion framework's analytics manager. One handler per
// reading visit: its session id marks every tracked event sent through it.

#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsMetaData.h"
#include "LectoroSDKWithReader/readersdk/AnalyticsManager.h"
#include "platform/base/Value.h"

#include <cstdint>
#include <optional>
#include <string>

namespace lectoro {

class MVLectoroAnalyticsHandler {
public:
    enum class MVAnalyticsEventType : int64_t {
        PageTracking = 0,
        NoteCreated = 1,
        ImpHighlightCreated = 2,
        NormHighlightCreated = 3,
        NoteShared = 4,
        NoteReceived = 5,
        NoteDeleted = 6,
        ImpHighlightDeleted = 7,
        NormHighlightDeleted = 8,
        BookClose = 9,
        BookOpen = 10,
        ImpHighlightReceived = 11,
        NormHighlightReceived = 12,
        ImpHighlightShared = 13,
        NormalHighlightShared = 14,
        LinkOpen = 15,
    };

    // The member for 0…15; absent for any other value.
    static std::optional<MVAnalyticsEventType> eventTypeFromRawValue(int64_t);
    // The event's name; "" for a value above 15.
    static std::string analyticsEventNameForType(uint64_t);

    MVLectoroAnalyticsHandler();

    const std::string& readerSessionId() const { return m_readerSessionId; }

    // The payload for an event, as trackEvent sends it.
    base::Value payloadFor(MVAnalyticsEventType, const MVLectoroAnalyticsMetaData&) const;
    void trackEvent(MVAnalyticsEventType, const MVLectoroAnalyticsMetaData&);
    void notifyEvent(const std::optional<std::string>& eventName, const base::Value& eventInfo = {});
    // The tracked events handed over so far, as JSON text; "" without a manager.
    std::string getTrackingJSON();
    // The hand-over by name (see AnalyticsManager); absent without a manager that tells.
    std::optional<TrackingChanges> takeTrackingChanges(bool whole);

    // The payload keys.
    const std::string bookIdString = "bookID";
    const std::string openTimeStampString = "bookOpenTimeStamp";
    const std::string classIdString = "classID";
    const std::string suspendDataString = "suspendData";
    const std::string cfiString = "cfID";
    const std::string pageIdString = "pageID";
    const std::string chapterIdString = "chapterID";
    const std::string chapterNameString = "chapterName";
    const std::string timespendString = "TimeSpend";
    const std::string accessTimeString = "AccessTime";
    const std::string lastPageFolioString = "LastPageFolio";
    const std::string sessionIdString = "ReaderSeatingID";

private:
    std::string m_readerSessionId;
};

} // namespace lectoro
