#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsHandler.h"

#include "LectoroSDKWithReader/readersdk/AnalyticsManager.h"
#include "platform/base/Strings.h"

namespace lectoro {

namespace {

constexpr const char* eventNames[] = {
    "PageTracking",
    "NoteCreated",
    "ImpHighlightCreated",
    "NormHighlightCreated",
    "NoteShared",
    "NoteReceived",
    "NoteDeleted",
    "ImpHighlightDeleted",
    "NormHighlightDeleted",
    "BookClose",
    "BookOpen",
    "ImpHighlightReceived",
    "NormHighlightReceived",
    "ImpHighlightShared",
    "NormalHighlightShared",
    "LinkOpen",
};

void setIfPresent(
    base::Value::Dictionary& payload, const std::string& key, const std::optional<std::string>& value)
{
    if (value)
        payload.set(key, *value);
}

} // namespace

std::optional<MVLectoroAnalyticsHandler::MVAnalyticsEventType>
MVLectoroAnalyticsHandler::eventTypeFromRawValue(int64_t raw)
{
    if (raw < 0 || raw > 15)
        return std::nullopt;
    return static_cast<MVAnalyticsEventType>(raw);
}

std::string MVLectoroAnalyticsHandler::analyticsEventNameForType(uint64_t raw)
{
    return raw <= 15 ? eventNames[raw] : "";
}

MVLectoroAnalyticsHandler::MVLectoroAnalyticsHandler()
    : m_readerSessionId(base::makeUuid())
{
}

base::Value MVLectoroAnalyticsHandler::payloadFor(
    MVAnalyticsEventType type, const MVLectoroAnalyticsMetaData& record) const
{
    base::Value::Dictionary payload;
    switch (type) {
    case MVAnalyticsEventType::PageTracking:
        setIfPresent(payload, cfiString, record.cfi);
        setIfPresent(payload, pageIdString, record.pageId);
        setIfPresent(payload, chapterIdString, record.chapterId);
        setIfPresent(payload, chapterNameString, record.chapterName);
        setIfPresent(payload, timespendString, record.timeSpent);
        break;
    case MVAnalyticsEventType::BookClose:
        setIfPresent(payload, accessTimeString, record.accessTime);
        setIfPresent(payload, lastPageFolioString, record.lastPageFolio);
        break;
    case MVAnalyticsEventType::BookOpen:
        setIfPresent(payload, bookIdString, record.bookId);
        setIfPresent(payload, openTimeStampString, record.openTimeStamp);
        setIfPresent(payload, classIdString, record.classId);
        payload.set(suspendDataString, record.suspendData.value_or("0"));
        break;
    case MVAnalyticsEventType::LinkOpen:
        if (record.resourceDict) {
            if (const auto* resource = record.resourceDict->asDictionary())
                payload = *resource;
        }
        break;
    default:
        setIfPresent(payload, pageIdString, record.pageId);
        break;
    }
    payload.set(sessionIdString, m_readerSessionId);
    return base::Value(std::move(payload));
}

void MVLectoroAnalyticsHandler::trackEvent(
    MVAnalyticsEventType type, const MVLectoroAnalyticsMetaData& record)
{
    auto manager = AnalyticsManager::getInstance();
    if (!manager)
        return;
    // A new id only when the record brings none (value_or would make one every time).
    std::string uniqueId = record.uniqueId ? *record.uniqueId : base::makeUuid();
    manager->trackEvent(
        analyticsEventNameForType(static_cast<uint64_t>(type)), payloadFor(type, record), uniqueId);
}

void MVLectoroAnalyticsHandler::notifyEvent(
    const std::optional<std::string>& eventName, const base::Value& eventInfo)
{
    if (auto manager = AnalyticsManager::getInstance())
        manager->notifyEvent(eventName, eventInfo);
}

std::string MVLectoroAnalyticsHandler::getTrackingJSON()
{
    auto manager = AnalyticsManager::getInstance();
    return manager ? manager->getTrackingJSON() : std::string();
}

std::optional<TrackingChanges> MVLectoroAnalyticsHandler::takeTrackingChanges(bool whole)
{
    auto manager = AnalyticsManager::getInstance();
    return manager ? manager->takeTrackingChanges(whole) : std::nullopt;
}

} // namespace lectoro
