// The older review panel's data: classes and learners, each learner's fetch state, the
// chosen learner's work by page and the changes to save.

#include "LectoroSDKWithReader/readersdk/records/SDKBookClassInfoVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"
#include "LectoroSDKWithReader/teacherreview/TeacherAnnotationViewController.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewLearner.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewPages.h"
#include "platform/base/Date.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Strings.h"

#include <algorithm>

namespace lectoro {

namespace {

bool hasSavedID(const SDKUGCVO& record)
{
    return !record.ugcID.empty() && record.ugcID != UGCNotUploadedID;
}

// Modification dates as the records write them; one that cannot be read sorts first.
double modificationTime(const SDKUGCVO& record)
{
    static const base::DateFormatter formatter = [] {
        base::DateFormatter made("yyyy-MM-dd HH:mm:ss.SSS");
        made.setTimeZone(base::TimeZone::utc());
        made.setLocaleIdentifier("en_US_POSIX");
        return made;
    }();
    auto date = formatter.date(record.modifiedDate);
    return date ? date->timeIntervalSince1970 : -1e300;
}

} // namespace

// MARK: - Classes and learners

void TeacherAnnotationViewController::setClasses(const std::vector<std::shared_ptr<SDKBookClassInfoVO>>& classes)
{
    m_classTitles.clear();
    m_learnersByClass.clear();
    for (const auto& info : classes) {
        if (!info)
            continue;
        m_classTitles.push_back(info->classTitle);
        const auto* learners = info->learners.asList();
        m_learnersByClass[info->classTitle] = learners ? *learners : base::Value::List {};
    }
    selectedClassName = m_classTitles.empty() ? std::nullopt : std::optional(m_classTitles.front());
    m_selectedClassIndex = 0;
}

std::optional<base::Value::List> TeacherAnnotationViewController::getAllLearnersForSelectedClass(
    const std::string& classTitle) const
{
    auto found = m_learnersByClass.find(classTitle);
    if (found == m_learnersByClass.end())
        return std::nullopt;
    return found->second;
}

const base::Value::List& TeacherAnnotationViewController::learnersOfSelectedClass() const
{
    static const base::Value::List none;
    if (!selectedClassName)
        return none;
    auto found = m_learnersByClass.find(*selectedClassName);
    return found == m_learnersByClass.end() ? none : found->second;
}

const base::Value* TeacherAnnotationViewController::stateOf(const std::string& learnerID) const
{
    if (!selectedClassName)
        return nullptr;
    auto found = m_classSubmittedData.find(*selectedClassName);
    if (found == m_classSubmittedData.end())
        return nullptr;
    auto state = found->second.find(learnerID);
    return state == found->second.end() ? nullptr : &state->second;
}

void TeacherAnnotationViewController::seedFetchStates()
{
    m_classSubmittedData.clear();
    for (const auto& title : m_classTitles) {
        auto& states = m_classSubmittedData[title];
        for (const auto& record : m_learnersByClass[title]) {
            if (auto learner = readLearnerRecord(record))
                states[learner->learnerID] = base::Value::Dictionary { { "status", 2 } };
        }
    }
}

void TeacherAnnotationViewController::setSubmittedStudentUGCArray(const base::Value& result)
{
    const auto* entries = result.asDictionary();
    if (!entries || entries->empty() || !selectedClassName)
        return;
    for (const auto& [learnerID, record] : *entries) {
        const auto* pages = record["pageUgc"].asList();
        m_classSubmittedData[*selectedClassName][learnerID]
            = base::Value::Dictionary { { "pageUgc", pages ? *pages : base::Value::List {} }, { "status", 1 } };
        reloadRowsOfLearner(learnerID);
    }
}

void TeacherAnnotationViewController::serviceFailedWithLearnerID(const std::string& learnerID)
{
    if (!selectedClassName)
        return;
    m_classSubmittedData[*selectedClassName][learnerID] = base::Value::Dictionary { { "status", 3 } };
    reloadRowsOfLearner(learnerID);
}

// MARK: - Review data

TeacherReviewRecordList* TeacherAnnotationViewController::listOfPageInUse()
{
    if (!selectedPageIdentifier || !studentPageUGCDictionary)
        return nullptr;
    auto found = studentPageUGCDictionary->find(*selectedPageIdentifier);
    return found == studentPageUGCDictionary->end() ? nullptr : &found->second;
}

std::optional<TeacherReviewRecordList> TeacherAnnotationViewController::getUGCForPageIdentifier(
    const std::string& pageIdentifier)
{
    selectedPageIdentifier = pageIdentifier;
    if (auto* list = listOfPageInUse())
        return *list;
    return std::nullopt;
}

bool TeacherAnnotationViewController::doesCurrentPageHaveActiveUGC() const
{
    if (!selectedPageIdentifier || !studentPageUGCDictionary)
        return false;
    auto found = studentPageUGCDictionary->find(*selectedPageIdentifier);
    return found != studentPageUGCDictionary->end() && teacherReviewHasLiveRecord(found->second);
}

std::vector<std::shared_ptr<SDKPentoolVO>> TeacherAnnotationViewController::getPenToolUGCForPageIdentifier(
    const std::string& pageIdentifier)
{
    selectedPageIdentifier = pageIdentifier;
    auto* list = listOfPageInUse();
    return list ? teacherReviewPenDrawingsOf(*list) : std::vector<std::shared_ptr<SDKPentoolVO>> {};
}

std::vector<std::shared_ptr<SDKFIBVO>> TeacherAnnotationViewController::getFIBUGCForPageIdentifier(
    const std::string& pageIdentifier)
{
    selectedPageIdentifier = pageIdentifier;
    auto* list = listOfPageInUse();
    return list ? teacherReviewLiveAnswersOf(*list) : std::vector<std::shared_ptr<SDKFIBVO>> {};
}

void TeacherAnnotationViewController::addPenDrawing(const std::shared_ptr<SDKPentoolVO>& drawing)
{
    if (auto* list = listOfPageInUse(); list && drawing)
        list->push_back(drawing);
}

std::shared_ptr<SDKUGCVO> TeacherAnnotationViewController::getSDKPentoolVOWithLocalID(const std::string& localID) const
{
    if (!studentPageUGCDictionary)
        return nullptr;
    for (const auto& [page, list] : *studentPageUGCDictionary) {
        for (const auto& record : list) {
            if (record && record->localID == localID)
                return record;
        }
    }
    return nullptr;
}

std::shared_ptr<SDKUGCVO> TeacherAnnotationViewController::getSDKFIBVOWithLocalID(const std::string& localID) const
{
    return getSDKPentoolVOWithLocalID(localID);
}

std::string TeacherAnnotationViewController::getUGCId(const base::Value& value)
{
    if (auto text = value.asString())
        return *text;
    return value.isNull() ? std::string() : value.description();
}

void TeacherAnnotationViewController::updatePenDrawing(const std::shared_ptr<SDKPentoolVO>& drawing)
{
    auto* list = listOfPageInUse();
    if (!list || !drawing)
        return;
    if (auto earlier = getSDKPentoolVOWithLocalID(drawing->localID))
        std::erase(*list, earlier);
    if (hasSavedID(*drawing))
        list->push_back(drawing);
}

void TeacherAnnotationViewController::updateFIBData(const std::shared_ptr<SDKFIBVO>& answer)
{
    auto* list = listOfPageInUse();
    if (!list || !answer)
        return;
    if (auto earlier = getSDKFIBVOWithLocalID(answer->localID))
        std::erase(*list, earlier);
    if (hasSavedID(*answer)) {
        answer->status = UGCStatusUpdated;
        list->push_back(answer);
    }
}

std::shared_ptr<SDKFIBVO> TeacherAnnotationViewController::getSDKFIBVOForLinkID(int64_t linkID) const
{
    if (!studentPageUGCDictionary)
        return nullptr;
    for (const auto& [page, list] : *studentPageUGCDictionary) {
        for (const auto& record : list) {
            auto answer = std::dynamic_pointer_cast<SDKFIBVO>(record);
            if (answer && answer->linkID == linkID)
                return answer;
        }
    }
    return nullptr;
}

bool TeacherAnnotationViewController::isEditingAllowedForLinkID(int64_t linkID) const
{
    return getSDKFIBVOForLinkID(linkID) != nullptr;
}

void TeacherAnnotationViewController::clearAllFIBsForPageID(const std::string& pageIdentifier)
{
    if (!studentPageUGCDictionary)
        return;
    auto found = studentPageUGCDictionary->find(pageIdentifier);
    if (found == studentPageUGCDictionary->end())
        return;
    for (const auto& record : found->second) {
        if (auto answer = std::dynamic_pointer_cast<SDKFIBVO>(record)) {
            answer->text.clear();
            answer->status = UGCStatusDeleted;
        }
    }
}

bool TeacherAnnotationViewController::isFIBsAndPentoolAvailableOnPageID(const std::string& pageIdentifier) const
{
    if (!studentPageUGCDictionary)
        return false;
    auto found = studentPageUGCDictionary->find(pageIdentifier);
    if (found == studentPageUGCDictionary->end())
        return false;
    return std::any_of(found->second.begin(), found->second.end(), [](const auto& record) {
        if (auto answer = std::dynamic_pointer_cast<SDKFIBVO>(record))
            return !base::trimWhitespaceAndNewlines(answer->text).empty();
        auto drawing = std::dynamic_pointer_cast<SDKPentoolVO>(record);
        return drawing && drawing->status != UGCStatusDeleted;
    });
}

TeacherReviewRecordList TeacherAnnotationViewController::getAnotationToSave() const
{
    TeacherReviewRecordList taken;
    if (!studentPageUGCDictionary)
        return taken;
    for (const auto& [page, list] : *studentPageUGCDictionary) {
        for (const auto& record : list) {
            if (!record)
                continue;
            bool take = false;
            if (std::dynamic_pointer_cast<SDKPentoolVO>(record))
                take = hasSavedID(*record) ? record->status == UGCStatusDeleted
                                           : (record->status == UGCStatusNew || record->status == UGCStatusUpdated);
            else if (std::dynamic_pointer_cast<SDKFIBVO>(record))
                take = record->status == UGCStatusUpdated || record->status == UGCStatusDeleted;
            // A record held by two pages is one change.
            if (take && std::find(taken.begin(), taken.end(), record) == taken.end())
                taken.push_back(record);
        }
    }
    // By the time each change was made, not by the text of its date.
    std::stable_sort(taken.begin(), taken.end(),
        [](const auto& first, const auto& second) { return modificationTime(*first) < modificationTime(*second); });
    return taken;
}

} // namespace lectoro
