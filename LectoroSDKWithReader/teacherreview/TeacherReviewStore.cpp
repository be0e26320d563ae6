// The learner panel as the store of one learner's review: what each page holds, the
// teacher's edits and clearings, and the set of records a save sends.

#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewPages.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewViewController.h"
#include "platform/base/Strings.h"

#include <algorithm>

namespace lectoro {

namespace {

template <class Record> std::shared_ptr<Record> reviewRecordAs(const std::shared_ptr<SDKUGCVO>& record)
{
    return std::dynamic_pointer_cast<Record>(record);
}

bool isReviewRecord(const std::shared_ptr<SDKUGCVO>& record)
{
    return reviewRecordAs<SDKPentoolVO>(record) || reviewRecordAs<SDKFIBVO>(record);
}

// Whether a record still has something the clear operations would take away.
bool isClearable(const std::shared_ptr<SDKUGCVO>& record)
{
    if (auto answer = reviewRecordAs<SDKFIBVO>(record))
        return !base::trimWhitespaceAndNewlines(answer->text).empty();
    if (auto drawing = reviewRecordAs<SDKPentoolVO>(record))
        return drawing->status != UGCStatusDeleted;
    return false;
}

bool belongsInSaveSet(const std::shared_ptr<SDKUGCVO>& record)
{
    if (reviewRecordAs<SDKFIBVO>(record))
        return record->status == UGCStatusUpdated || record->status == UGCStatusDeleted;
    if (!reviewRecordAs<SDKPentoolVO>(record))
        return false;
    // A drawing the server has never seen goes as new; one it knows only as erased.
    if (!record->isUploaded())
        return record->status == UGCStatusNew || record->status == UGCStatusUpdated;
    return record->status == UGCStatusDeleted;
}

void clearAnswers(TeacherReviewRecordList& list)
{
    for (const auto& record : list) {
        if (auto answer = reviewRecordAs<SDKFIBVO>(record)) {
            answer->teacherComment.clear();
            answer->text.clear();
            answer->status = UGCStatusDeleted;
        }
    }
}

void clearDrawings(TeacherReviewRecordList& list)
{
    for (const auto& record : list) {
        if (auto drawing = reviewRecordAs<SDKPentoolVO>(record))
            drawing->status = UGCStatusDeleted;
    }
}

template <class Record>
std::shared_ptr<Record> firstOverAllPages(
    const std::optional<TeacherReviewPageUGC>& pages, const std::function<bool(const Record&)>& matches)
{
    if (!pages)
        return nullptr;
    for (const auto& [key, list] : *pages) {
        for (const auto& record : list) {
            auto typed = reviewRecordAs<Record>(record);
            if (typed && matches(*typed))
                return typed;
        }
    }
    return nullptr;
}

} // namespace

std::vector<std::shared_ptr<SDKPentoolVO>> teacherReviewPenDrawingsOf(const TeacherReviewRecordList& list)
{
    std::vector<std::shared_ptr<SDKPentoolVO>> drawings;
    for (const auto& record : list) {
        if (auto drawing = reviewRecordAs<SDKPentoolVO>(record))
            drawings.push_back(drawing);
    }
    return drawings;
}

std::vector<std::shared_ptr<SDKFIBVO>> teacherReviewLiveAnswersOf(const TeacherReviewRecordList& list)
{
    std::vector<std::shared_ptr<SDKFIBVO>> answers;
    for (const auto& record : list) {
        auto answer = reviewRecordAs<SDKFIBVO>(record);
        if (answer && answer->status != UGCStatusDeleted)
            answers.push_back(answer);
    }
    return answers;
}

bool teacherReviewHasLiveRecord(const TeacherReviewRecordList& list)
{
    return std::any_of(list.begin(), list.end(),
        [](const auto& record) { return isReviewRecord(record) && record->status != UGCStatusDeleted; });
}

TeacherReviewRecordList* TeacherReviewViewController::listOfPageInUse()
{
    if (!SelectedPageIdentifier || !studentPageUGCDictionary)
        return nullptr;
    auto found = studentPageUGCDictionary->find(*SelectedPageIdentifier);
    return found == studentPageUGCDictionary->end() ? nullptr : &found->second;
}

bool TeacherReviewViewController::isAlreadySaved(const std::shared_ptr<SDKUGCVO>& record) const
{
    return std::any_of(m_savedRecords.begin(), m_savedRecords.end(), [&](const SavedReviewRecord& saved) {
        return saved.record == record && saved.state == record->toUGCDictionary();
    });
}

// MARK: - Page queries

bool TeacherReviewViewController::doesCurrentPageHaveActiveUGC() const
{
    if (!SelectedPageIdentifier || !studentPageUGCDictionary)
        return false;
    auto found = studentPageUGCDictionary->find(*SelectedPageIdentifier);
    if (found == studentPageUGCDictionary->end())
        return false;
    return teacherReviewHasLiveRecord(found->second);
}

std::vector<std::shared_ptr<SDKPentoolVO>> TeacherReviewViewController::getPenToolUGCForPageIdentifier(
    const std::string& pageIdentifier)
{
    SelectedPageIdentifier = pageIdentifier;
    auto* list = listOfPageInUse();
    return list ? teacherReviewPenDrawingsOf(*list) : std::vector<std::shared_ptr<SDKPentoolVO>> {};
}

std::vector<std::shared_ptr<SDKFIBVO>> TeacherReviewViewController::getFIBUGCForPageIdentifier(
    const std::string& pageIdentifier)
{
    SelectedPageIdentifier = pageIdentifier;
    auto* list = listOfPageInUse();
    return list ? teacherReviewLiveAnswersOf(*list) : std::vector<std::shared_ptr<SDKFIBVO>> {};
}

// MARK: - Edits

void TeacherReviewViewController::addPenDrawing(const std::shared_ptr<SDKPentoolVO>& drawing)
{
    auto* list = listOfPageInUse();
    if (!list || !drawing)
        return;
    list->push_back(drawing);
}

void TeacherReviewViewController::updatePenDrawing(const std::shared_ptr<SDKPentoolVO>& drawing)
{
    auto* list = listOfPageInUse();
    if (!list || !drawing)
        return;
    const std::string localID = drawing->localID;
    auto earlier = firstOverAllPages<SDKPentoolVO>(
        studentPageUGCDictionary, [&](const SDKPentoolVO& held) { return held.localID == localID; });
    // An earlier copy on another page stays where it is.
    if (earlier)
        std::erase(*list, std::static_pointer_cast<SDKUGCVO>(earlier));
    if (drawing->isUploaded())
        list->push_back(drawing);
}

void TeacherReviewViewController::updateFIBData(const std::shared_ptr<SDKFIBVO>& answer)
{
    auto* list = listOfPageInUse();
    if (!list || !answer)
        return;
    const std::string localID = answer->localID;
    auto earlier = firstOverAllPages<SDKFIBVO>(
        studentPageUGCDictionary, [&](const SDKFIBVO& held) { return held.localID == localID; });
    if (earlier)
        std::erase(*list, std::static_pointer_cast<SDKUGCVO>(earlier));
    if (answer->isUploaded()) {
        answer->status = UGCStatusUpdated;
        list->push_back(answer);
    }
}

// MARK: - Lookups

std::shared_ptr<SDKFIBVO> TeacherReviewViewController::getSDKFIBVOWithUgcId(const std::string& ugcID) const
{
    return firstOverAllPages<SDKFIBVO>(
        studentPageUGCDictionary, [&](const SDKFIBVO& answer) { return answer.ugcID == ugcID; });
}

std::shared_ptr<SDKFIBVO> TeacherReviewViewController::getSDKFIBVOForLinkID(int64_t linkID) const
{
    // An answer without a link (0) belongs to no markup.
    if (linkID == 0)
        return nullptr;
    return firstOverAllPages<SDKFIBVO>(
        studentPageUGCDictionary, [&](const SDKFIBVO& answer) { return answer.linkID == linkID; });
}

bool TeacherReviewViewController::isEditingAllowedForLinkID(int64_t linkID) const
{
    return getSDKFIBVOForLinkID(linkID) != nullptr;
}

// MARK: - Clearing and availability

void TeacherReviewViewController::clearAllFIBsForPageID(const std::string& pageIdentifier)
{
    if (!studentPageUGCDictionary)
        return;
    auto found = studentPageUGCDictionary->find(pageIdentifier);
    if (found != studentPageUGCDictionary->end())
        clearAnswers(found->second);
}

void TeacherReviewViewController::clearAllPenDrawingsForPageID(const std::string& pageIdentifier)
{
    if (!studentPageUGCDictionary)
        return;
    auto found = studentPageUGCDictionary->find(pageIdentifier);
    if (found != studentPageUGCDictionary->end())
        clearDrawings(found->second);
}

void TeacherReviewViewController::clearAllFIBs()
{
    if (!studentPageUGCDictionary)
        return;
    for (auto& [key, list] : *studentPageUGCDictionary)
        clearAnswers(list);
}

void TeacherReviewViewController::clearAllPenDrawings()
{
    if (!studentPageUGCDictionary)
        return;
    for (auto& [key, list] : *studentPageUGCDictionary)
        clearDrawings(list);
}

bool TeacherReviewViewController::isFIBsAndPentoolAvailableOnPageID(const std::string& pageIdentifier) const
{
    if (!studentPageUGCDictionary)
        return false;
    auto found = studentPageUGCDictionary->find(pageIdentifier);
    return found != studentPageUGCDictionary->end()
        && std::any_of(found->second.begin(), found->second.end(), isClearable);
}

bool TeacherReviewViewController::isFIBsAndPentoolAvailable() const
{
    if (!studentPageUGCDictionary)
        return false;
    return std::any_of(studentPageUGCDictionary->begin(), studentPageUGCDictionary->end(),
        [](const auto& entry) { return std::any_of(entry.second.begin(), entry.second.end(), isClearable); });
}

// MARK: - Saving

TeacherReviewRecordList TeacherReviewViewController::getAnotationToSave() const
{
    TeacherReviewRecordList toSave;
    if (!studentPageUGCDictionary)
        return toSave;
    for (const auto& [key, list] : *studentPageUGCDictionary) {
        for (const auto& record : list) {
            if (!belongsInSaveSet(record))
                continue;
            // A record listed twice (added twice, or held by two pages) is one upload.
            if (std::find(toSave.begin(), toSave.end(), record) != toSave.end())
                continue;
            if (isAlreadySaved(record))
                continue;
            toSave.push_back(record);
        }
    }
    return toSave;
}

void TeacherReviewViewController::didSaveAnotations(const TeacherReviewRecordList& saved)
{
    if (!studentPageUGCDictionary)
        return;
    for (const auto& record : saved) {
        if (!record)
            continue;
        // An erased drawing the server now knows as erased has nothing left to show.
        if (reviewRecordAs<SDKPentoolVO>(record) && record->status == UGCStatusDeleted) {
            for (auto& [key, list] : *studentPageUGCDictionary)
                std::erase(list, record);
            continue;
        }
        std::erase_if(m_savedRecords, [&](const SavedReviewRecord& held) { return held.record == record; });
        m_savedRecords.push_back({ record, record->toUGCDictionary() });
    }
}

} // namespace lectoro
