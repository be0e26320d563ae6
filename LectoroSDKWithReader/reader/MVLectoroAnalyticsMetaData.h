#pragma once

// One tracked analytics event's details. Each constructor fills only its own fields;
// every other field stays absent.

#include "platform/base/Value.h"

#include <optional>
#include <string>

namespace lectoro {

class MVLectoroAnalyticsMetaData {
public:
    using Text = std::optional<std::string>;

    static MVLectoroAnalyticsMetaData pageTracking(
        Text cfi, Text pageId, Text timeSpent, Text chapterId, Text chapterName, Text uniqueId);
    static MVLectoroAnalyticsMetaData bookOpen(
        Text bookId, Text openTimeStamp, Text classId, Text suspendData, Text uniqueId);
    static MVLectoroAnalyticsMetaData bookClose(Text accessTime, Text lastPageFolio, Text uniqueId);
    static MVLectoroAnalyticsMetaData ugcTracking(Text pageId, Text uniqueId);
    static MVLectoroAnalyticsMetaData resourceTracking(
        std::optional<base::Value> resourceDict, Text uniqueId);

    Text cfi;
    Text pageId;
    Text timeSpent;
    Text chapterId;
    Text chapterName;
    Text uniqueId;
    Text bookId;
    Text openTimeStamp;
    Text classId;
    Text accessTime;
    Text lastPageFolio;
    Text suspendData;
    std::optional<base::Value> resourceDict;

private:
    MVLectoroAnalyticsMetaData() = default;
};

} // namespace lectoro
