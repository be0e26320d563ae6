// The learner panel as its table's data source and delegate: one row per listed learner,
// the rows' two looks, the fetch a row starts when it comes on screen, and the tap that
// hands a learner's work to the owner.

#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/reader/chrome/ChromeMetrics.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewLearner.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewStudentListTableViewCell.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewViewController.h"
#include "platform/ui/Label.h"

namespace lectoro {

namespace {

// A page counts as submitted when its "ugcList" holds at least one dictionary.
bool hasSubmittedPage(const base::Value& pages)
{
    const auto* list = pages.asList();
    if (!list)
        return false;
    for (const auto& page : *list) {
        const auto* items = page["ugcList"].asList();
        if (!items)
            continue;
        for (const auto& item : *items) {
            if (item.isDictionary())
                return true;
        }
    }
    return false;
}

} // namespace

double TeacherReviewViewController::rowHeight()
{
    return isIpad() ? 60 : 55;
}

int TeacherReviewViewController::numberOfRowsInSection(ui::TableView&, int)
{
    return m_filteredStudentListArray ? static_cast<int>(m_filteredStudentListArray->size()) : 0;
}

std::optional<double> TeacherReviewViewController::heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&)
{
    return rowHeight();
}

std::shared_ptr<ui::TableViewCell> TeacherReviewViewController::cellForRowAtIndexPath(
    ui::TableView& table, const ui::IndexPath& indexPath)
{
    if (!m_filteredStudentListArray || indexPath.row < 0
        || static_cast<size_t>(indexPath.row) >= m_filteredStudentListArray->size())
        return nullptr;
    auto learner = readLearnerRecord((*m_filteredStudentListArray)[indexPath.row]);
    if (!learner) {
        // A record the panel cannot key is listed without a learner behind it.
        auto cell = TeacherReviewStudentListTableViewCell::create(ui::TableViewCellStyle::Default, {});
        cell->showSubmitStatus(true);
        return cell;
    }

    auto cell = std::dynamic_pointer_cast<TeacherReviewStudentListTableViewCell>(
        table.dequeueReusableCellWithIdentifier(learner->learnerID));
    if (cell && cell->isDataAvailable)
        return cell;
    if (!cell) {
        cell = TeacherReviewStudentListTableViewCell::create(ui::TableViewCellStyle::Default, learner->learnerID);
        static const LXMVThemeVO noTheme;
        chrome::applyTextColor(*cell->userNameLabel(), (themeVo ? *themeVo : noTheme).teacher_studentlist_name_color());
        cell->userNameLabel()->setText(learner->fullName);
        cell->loadProfileImage(learner->profilePicURL);
        cell->studentId = learner->learnerID;
    }

    auto entry = m_studentDataDict.find(learner->learnerID);
    if (entry != m_studentDataDict.end() && hasSubmittedPage(entry->second)) {
        cell->isDataAvailable = true;
        cell->showSubmitStatus(false);
        return cell;
    }
    cell->showSubmitStatus(true);

    // The learner on screen is fetched now, ahead of the chain; taking it out of the
    // pending map first makes sure it is fetched once.
    if (FetchEachLearnerData && m_studentIdArray.contains(learner->learnerID)) {
        m_studentIdArray.remove(learner->learnerID);
        fetchLearner(learner->fullName, learner->learnerID);
    }
    return cell;
}

void TeacherReviewViewController::didSelectRowAtIndexPath(ui::TableView& table, const ui::IndexPath& indexPath)
{
    if (!m_filteredStudentListArray || indexPath.row < 0
        || static_cast<size_t>(indexPath.row) >= m_filteredStudentListArray->size())
        return;
    if (auto cell = table.cellForRowAtIndexPath(indexPath))
        cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
    auto learner = readLearnerRecord((*m_filteredStudentListArray)[indexPath.row]);
    if (!learner)
        return;
    selectedLearnerName = learner->fullName;
    selectedLearnerImageUrl = learner->profilePicURL;
    selectedLearnerID = learner->learnerID;

    auto entry = m_studentDataDict.find(learner->learnerID);
    if (entry == m_studentDataDict.end())
        return;
    const auto* pages = entry->second.asList();
    if (pages && !pages->empty() && LearnerSelectionAction)
        LearnerSelectionAction(entry->second, learner->learnerID);
}

} // namespace lectoro
