#include "LectoroSDKWithReader/annotations/HighlightRules.h"

#include "LectoroSDKWithReader/readersdk/records/SDKBookClassInfoVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "platform/ui/Environment.h"

#include <algorithm>

namespace lectoro {

using EventType = MVLectoroAnalyticsHandler::MVAnalyticsEventType;

HighlightPopupGeometry highlightPopupGeometry(const HighlightToolSwitches& switches)
{
    const auto& environment = ui::Environment::current();
    HighlightPopupGeometry geometry;
    geometry.itemCount = 6 + int(switches.contextualNote) + int(switches.search) + int(switches.translation)
        + int(switches.immersiveReader);
    const double n = geometry.itemCount;
    // The device's own orientation decides, as the pop-up is built before any rotation
    // of the interface settles.
    auto device = environment.deviceOrientation();
    if (device == ui::Orientation::LandscapeLeft || device == ui::Orientation::LandscapeRight)
        geometry.itemWidth = static_cast<double>(400 / geometry.itemCount);
    else
        geometry.itemWidth = (environment.screenSize().width - 10) / n;

    const bool pad = environment.isPad();
    geometry.itemHeight = pad ? 54.0 : 44.0;
    geometry.frame = ui::Rect { { 5.0, 0.0 }, { pad ? n * 56 : n * geometry.itemWidth, geometry.itemHeight } };
    geometry.frameAfterTools = geometry.frame;
    if (!switches.contextualNote && !switches.search) {
        double perItem = pad ? 56 : (environment.screenSize().width == 320 ? 40 : 46);
        geometry.frameAfterTools.size.width = n * perItem;
    }
    return geometry;
}

std::vector<std::string> highlightColorsOf(const std::optional<base::Value::List>& list)
{
    std::vector<std::string> colors;
    if (!list)
        return colors;
    for (const auto& entry : *list) {
        if (auto text = entry.asString())
            colors.push_back(*text);
    }
    return colors;
}

std::vector<EventType> highlightEventsFor(const SDKHighlightVO& record,
    const std::vector<std::shared_ptr<SDKHighlightVO>>& storedOnPage, const SDKBookClassInfoVO* firstClass)
{
    std::vector<EventType> events;
    bool isNew = true;
    for (const auto& stored : storedOnPage) {
        if (!stored || stored->localID != record.localID)
            continue;
        if (!record.noteText.empty() && stored->noteText.empty()) {
            // A plain highlight became a note.
            events.push_back(EventType::NormHighlightDeleted);
            if (record.isUploaded())
                events.push_back(EventType::NoteCreated);
        } else if ((!record.text.empty() && !stored->text.empty())
            || (!record.noteText.empty() && record.text.empty() && stored->text.empty())) {
            isNew = false;
        }
    }

    if (record.isDeleted()) {
        if (!record.noteText.empty())
            events.push_back(EventType::NoteDeleted);
        else
            events.push_back(record.isImportant ? EventType::ImpHighlightDeleted : EventType::NormHighlightDeleted);
        return events;
    }
    if (record.isUploaded())
        return events;
    if (record.isImportant || isNew) {
        if (!record.noteText.empty()) {
            events.push_back(EventType::NoteCreated);
        } else {
            events.push_back(EventType::NormHighlightCreated);
            const auto* shared = firstClass ? firstClass->shareList.asList() : nullptr;
            if (shared && !shared->empty())
                events.push_back(EventType::NormalHighlightShared);
        }
    }
    return events;
}

std::vector<std::shared_ptr<SDKHighlightVO>> migrateHighlightColors(
    const std::vector<std::shared_ptr<const SDKHighlightVO>>& records, const std::vector<std::string>& offered)
{
    std::vector<std::shared_ptr<SDKHighlightVO>> changed;
    for (const auto& record : records) {
        if (!record || record->isTeacherReviewNote)
            continue;
        if (std::find(offered.begin(), offered.end(), record->backgroundColor) != offered.end())
            continue;
        // A theme with fewer colours than the rule reads leaves the record as it is.
        size_t wanted = record->isImportant ? 1 : 0;
        if (wanted >= offered.size())
            continue;
        auto migrated = std::make_shared<SDKHighlightVO>(*record);
        migrated->backgroundColor = offered[wanted];
        migrated->isImportant = false;
        migrated->status = UGCStatusUpdated;
        changed.push_back(std::move(migrated));
    }
    return changed;
}

} // namespace lectoro
