#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsMetaData.h"

namespace lectoro {

MVLectoroAnalyticsMetaData MVLectoroAnalyticsMetaData::pageTracking(
    Text cfi, Text pageId, Text timeSpent, Text chapterId, Text chapterName, Text uniqueId)
{
    MVLectoroAnalyticsMetaData record;
    record.cfi = std::move(cfi);
    record.pageId = std::move(pageId);
    record.timeSpent = std::move(timeSpent);
    record.chapterId = std::move(chapterId);
    record.chapterName = std::move(chapterName);
    record.uniqueId = std::move(uniqueId);
    return record;
}

MVLectoroAnalyticsMetaData MVLectoroAnalyticsMetaData::bookOpen(
    Text bookId, Text openTimeStamp, Text classId, Text suspendData, Text uniqueId)
{
    MVLectoroAnalyticsMetaData record;
    record.bookId = std::move(bookId);
    record.openTimeStamp = std::move(openTimeStamp);
    record.classId = std::move(classId);
    record.suspendData = std::move(suspendData);
    record.uniqueId = std::move(uniqueId);
    return record;
}

MVLectoroAnalyticsMetaData MVLectoroAnalyticsMetaData::bookClose(
    Text accessTime, Text lastPageFolio, Text uniqueId)
{
    MVLectoroAnalyticsMetaData record;
    record.accessTime = std::move(accessTime);
    record.lastPageFolio = std::move(lastPageFolio);
    record.uniqueId = std::move(uniqueId);
    return record;
}

MVLectoroAnalyticsMetaData MVLectoroAnalyticsMetaData::ugcTracking(Text pageId, Text uniqueId)
{
    MVLectoroAnalyticsMetaData record;
    record.pageId = std::move(pageId);
    record.uniqueId = std::move(uniqueId);
    return record;
}

MVLectoroAnalyticsMetaData MVLectoroAnalyticsMetaData::resourceTracking(
    std::optional<base::Value> resourceDict, Text uniqueId)
{
    MVLectoroAnalyticsMetaData record;
    record.resourceDict = std::move(resourceDict);
    record.uniqueId = std::move(uniqueId);
    return record;
}

} // namespace lectoro
