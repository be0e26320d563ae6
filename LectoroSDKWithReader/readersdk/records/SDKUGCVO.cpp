#include "LectoroSDKWithReader/readersdk/records/SDKUGCVO.h"

#include "LectoroSDKWithReader/readersdk/records/RecordCoding.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKProtractorVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKTextAnnotationVO.h"

#include "platform/base/Date.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace lectoro {

base::Value SDKUGCVO::toUGCDictionary() const
{
    base::Value::Dictionary dictionary;
    // A highlight's keys, the most of any kind: an upload builds thousands of these, and a
    // dictionary left to grow holds room for twice as many.
    dictionary.reserve(34);
    dictionary.set("type", static_cast<int>(ugcType()));
    dictionary.set("localID", localID.view());
    dictionary.set("ugcID", ugcID.view());
    dictionary.set("status", status);
    dictionary.set("isSynced", isSynced);
    dictionary.set("isSubmitted", isSubmitted);
    dictionary.set("bookVersion", bookVersion.view());
    dictionary.set("pageId", pageIdentifier.view());
    dictionary.set("folioID", displayNum.view());
    dictionary.set("href", href.view());
    dictionary.set("chapterName", chapterName.view());
    dictionary.set("createdDate", createdDate.view());
    dictionary.set("modifiedDate", modifiedDate.view());
    dictionary.set("metaData", metaData.isDictionary() ? metaData : base::Value(base::Value::Dictionary {}));
    writeFields(dictionary);
    return dictionary;
}

void SDKUGCVO::readCommonFields(const base::Value& dictionary)
{
    localID = coding::readString(dictionary, "localID");
    ugcID = coding::readString(dictionary, "ugcID", UGCNotUploadedID);
    if (ugcID.empty())
        ugcID = UGCNotUploadedID;
    status = static_cast<int16_t>(coding::readInteger(dictionary, "status", UGCStatusNew));
    isSynced = coding::readBool(dictionary, "isSynced");
    isSubmitted = coding::readBool(dictionary, "isSubmitted");
    bookVersion = coding::readString(dictionary, "bookVersion");
    pageIdentifier = coding::readString(dictionary, "pageId");
    displayNum = coding::readString(dictionary, "folioID");
    href = coding::readString(dictionary, "href");
    chapterName = coding::readString(dictionary, "chapterName");
    createdDate = coding::readString(dictionary, "createdDate");
    modifiedDate = coding::readString(dictionary, "modifiedDate");
    metaData = coding::readDictionary(dictionary, "metaData");
}

std::shared_ptr<SDKUGCVO> makeUGCRecordFromDictionary(const base::Value& dictionary)
{
    if (!dictionary.isDictionary())
        return nullptr;
    switch (static_cast<UGCType>(coding::readInteger(dictionary, "type", -1))) {
    case UGCType::Highlight:
        return SDKHighlightVO::fromUGCDictionary(dictionary);
    case UGCType::Bookmark:
        return SDKBookmarkVO::fromUGCDictionary(dictionary);
    case UGCType::PenDrawing:
        return SDKPentoolVO::fromUGCDictionary(dictionary);
    case UGCType::TextAnnotation:
        return SDKTextAnnotationVO::fromUGCDictionary(dictionary);
    case UGCType::FillInBlank:
    case UGCType::DropDown:
        return SDKFIBVO::fromUGCDictionary(dictionary);
    case UGCType::Protractor:
        return SDKProtractorVO::fromUGCDictionary(dictionary);
    }
    return nullptr;
}

std::string currentUGCDateString()
{
    double seconds = base::Clock::now().timeIntervalSince1970;
    double whole = std::floor(seconds);
    auto time = static_cast<std::time_t>(whole);
    std::tm utc {};
    gmtime_r(&time, &utc);
    int milliseconds = static_cast<int>((seconds - whole) * 1000.0);
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d.%03d", utc.tm_year + 1900, utc.tm_mon + 1,
        utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, milliseconds);
    return buffer;
}

} // namespace lectoro
