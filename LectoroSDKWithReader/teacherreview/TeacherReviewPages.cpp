#include "LectoroSDKWithReader/teacherreview/TeacherReviewPages.h"

#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"
#include "platform/base/Strings.h"

#include <algorithm>

namespace lectoro {

namespace {

std::string pageValueText(const base::Value& value)
{
    return value.isNull() ? std::string() : value.description();
}

std::shared_ptr<SDKUGCVO> reviewRecordFrom(const base::Value& item, YSDBManager* store)
{
    const auto type = static_cast<UGCType>(item["type"].integerValue());
    if (type == UGCType::FillInBlank || type == UGCType::DropDown) {
        auto answer = store ? store->getSDKFIBVOFromUGCDictionary(item) : SDKFIBVO::fromUGCDictionary(item);
        return answer;
    }
    auto drawing = store ? store->getSDKPenToolVOFromUGCDictionary(item) : SDKPentoolVO::fromUGCDictionary(item);
    return drawing;
}

std::string withoutBlanks(const std::string& text)
{
    std::string result;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
            result.push_back(c);
    }
    return result;
}

} // namespace

TeacherReviewLearnerWork buildTeacherReviewLearnerWork(const base::Value& pages, YSDBManager* store,
    const std::function<std::string(const std::string&)>& pageNumberForDisplayNumber)
{
    TeacherReviewLearnerWork work;
    const auto* list = pages.asList();
    if (!list)
        return work;
    for (const auto& page : *list) {
        const auto* items = page["ugcList"].asList();
        if (!items || items->empty())
            continue;
        const std::string firstFolio = pageValueText(items->front()["folioID"]);
        std::string pageKey;
        if (!page["pageId"].isNull())
            pageKey = pageValueText(page["pageId"]);
        else if (!page["folioID"].isNull())
            pageKey = pageNumberForDisplayNumber ? pageNumberForDisplayNumber(firstFolio) : firstFolio;
        if (pageKey.empty())
            continue;
        auto& records = work.pages[pageKey];
        for (const auto& item : *items) {
            if (!item.isDictionary())
                continue;
            auto record = reviewRecordFrom(item, store);
            if (!record)
                continue;
            if (record->pageIdentifier.empty() && pageNumberForDisplayNumber)
                record->pageIdentifier = pageNumberForDisplayNumber(record->displayNum);
            records.push_back(record);
        }
        if (!firstFolio.empty())
            work.folioPages[firstFolio] = pageKey;
    }
    for (const auto& [key, records] : work.pages)
        work.pageArray.push_back(key);
    std::stable_sort(work.pageArray.begin(), work.pageArray.end(), [](const std::string& first, const std::string& second) {
        return base::Value(first).longLongValue() < base::Value(second).longLongValue();
    });
    return work;
}

std::vector<std::string> sortedTeacherReviewPageKeys(std::vector<std::string> keys)
{
    std::stable_sort(keys.begin(), keys.end(), [](const std::string& first, const std::string& second) {
        return base::localizedStandardCompare(first, second) < 0;
    });
    return keys;
}

std::vector<std::string> sortedTeacherReviewFolioKeys(std::vector<std::string> keys)
{
    auto head = [](const std::string& key) { return key.substr(0, key.find(',')); };
    std::stable_sort(keys.begin(), keys.end(), [&](const std::string& first, const std::string& second) {
        return base::localizedStandardCompare(head(first), head(second)) < 0;
    });
    for (auto& key : keys) {
        auto comma = key.rfind(',');
        if (comma != std::string::npos)
            key = key.substr(comma + 1);
    }
    return keys;
}

std::string teacherReviewPageLabelText(const std::string& pageWord, const std::vector<std::string>& displayNumbers)
{
    if (displayNumbers.empty())
        return pageWord + " ";
    if (displayNumbers.size() < 2)
        return pageWord + " " + displayNumbers.front();
    return pageWord + " " + displayNumbers.front() + ", " + displayNumbers.back();
}

std::vector<std::string> teacherReviewShownFolios(
    const std::string& labelText, const std::string& pageWord, const std::vector<std::string>& folioList)
{
    std::vector<std::string> shown;
    for (const auto& part : base::split(base::replaceAll(labelText, pageWord, ""), ",")) {
        std::string folio = withoutBlanks(part);
        if (std::find(folioList.begin(), folioList.end(), folio) != folioList.end())
            shown.push_back(folio);
    }
    return shown;
}

TeacherReviewPageButtons teacherReviewPageButtons(const std::optional<std::string>& labelText,
    const std::string& pageWord, const std::vector<std::string>& folioList, size_t activePageCount)
{
    const auto shown = labelText ? teacherReviewShownFolios(*labelText, pageWord, folioList) : std::vector<std::string> {};
    const std::string current = shown.empty() ? std::string() : shown.front();
    const bool everyFolioShown = std::all_of(folioList.begin(), folioList.end(),
        [&](const std::string& folio) { return std::find(shown.begin(), shown.end(), folio) != shown.end(); });

    TeacherReviewPageButtons buttons;
    if (folioList.size() == 1 || everyFolioShown) {
        buttons = { false, false };
    } else if (!shown.empty() && current == folioList.front()) {
        buttons.previousEnabled = false;
    }
    if (!shown.empty() && !folioList.empty()) {
        if (current == folioList.back()
            || (activePageCount >= 2 && folioList.size() >= 2 && current == folioList[folioList.size() - 2]))
            buttons.nextEnabled = false;
    }
    return buttons;
}

std::optional<std::string> teacherReviewPageButtonTarget(
    int tag, const std::vector<std::string>& pageList, const std::vector<std::string>& activePageIDs)
{
    if (activePageIDs.empty() || pageList.empty())
        return std::nullopt;
    auto contains = [&](const std::string& page) {
        return std::find(pageList.begin(), pageList.end(), page) != pageList.end();
    };
    const bool previous = tag == 9;
    std::string start;
    if (previous)
        start = contains(activePageIDs.front()) ? activePageIDs.front() : activePageIDs.back();
    else
        start = contains(activePageIDs.back()) ? activePageIDs.back() : activePageIDs.front();
    auto found = std::find(pageList.begin(), pageList.end(), start);
    const long index = found == pageList.end() ? -1 : static_cast<long>(found - pageList.begin());
    const long target = previous ? index - 1 : index + 1;
    if (target < 0 || target >= static_cast<long>(pageList.size()))
        return std::nullopt;
    return pageList[static_cast<size_t>(target)];
}

// The store edits the page in use, which is the last page drawn: on a spread, or after a
// redraw of other pages, that need not be the answer's page, and the edit would be dropped.
void editAnswerOnItsPage(TeacherReviewViewController& panel, const std::shared_ptr<SDKFIBVO>& answer)
{
    if (!answer)
        return;
    if (panel.studentPageUGCDictionary && panel.studentPageUGCDictionary->contains(answer->pageIdentifier))
        panel.SelectedPageIdentifier = answer->pageIdentifier;
    panel.updateFIBData(answer);
}

} // namespace lectoro
