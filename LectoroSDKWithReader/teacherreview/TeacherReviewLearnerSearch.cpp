// The learner panel's search field and its moves to the next or previous learner with
// work, as the review bar asks for them.

#include "LectoroSDKWithReader/teacherreview/TeacherReviewLearner.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewViewController.h"


namespace lectoro {

// MARK: - Search

void TeacherReviewViewController::showFilteredStudents()
{
    showStudentList(m_filteredStudentListArray && !m_filteredStudentListArray->empty());
    m_studentListTableView->reloadData();
}

void TeacherReviewViewController::textFieldEditingDidChange(ui::TextField& field)
{
    // Typing does not filter; only an emptied field lists the class again at once.
    if (!field.text().empty())
        return;
    m_filteredStudentListArray = m_studentListArray;
    showFilteredStudents();
}

bool TeacherReviewViewController::textFieldShouldClear(ui::TextField&)
{
    m_filteredStudentListArray = m_studentListArray;
    showFilteredStudents();
    return true;
}

bool TeacherReviewViewController::textFieldShouldReturn(ui::TextField& field)
{
    const std::string query = field.text();
    if (query.empty()) {
        m_filteredStudentListArray = m_studentListArray;
    } else {
        base::Value::List matches;
        if (m_studentListArray) {
            for (const auto& record : *m_studentListArray) {
                // A plain substring test: case, accents and spaces all count.
                const auto& user = record["user"];
                const std::string fullName = user["firstName"].asString().value_or(std::string()) + " "
                    + user["lastName"].asString().value_or(std::string());
                if (fullName.find(query) != std::string::npos)
                    matches.push_back(record);
            }
        }
        m_filteredStudentListArray = std::move(matches);
    }
    showFilteredStudents();
    view()->endEditing(true);
    return true;
}

// MARK: - Next and previous learner

std::optional<base::Value> TeacherReviewViewController::learnerWithWorkBeside(bool forward) const
{
    if (!m_studentListArray || !selectedLearnerID)
        return std::nullopt;
    auto hasWork = [this](const std::string& learnerID) {
        auto entry = m_studentDataDict.find(learnerID);
        if (entry == m_studentDataDict.end())
            return false;
        const auto* pages = entry->second.asList();
        return pages && !pages->empty();
    };
    auto walk = [&](auto first, auto last) -> std::optional<base::Value> {
        bool passed = false;
        for (; first != last; ++first) {
            const auto& record = *first;
            auto learner = readLearnerRecord(record);
            if (!learner)
                continue;
            if (passed && hasWork(learner->learnerID))
                return record;
            if (learner->learnerID == *selectedLearnerID)
                passed = true;
        }
        return std::nullopt;
    };
    const auto& learners = *m_studentListArray;
    if (forward)
        return walk(learners.begin(), learners.end());
    return walk(learners.rbegin(), learners.rend());
}

void TeacherReviewViewController::selectLearner(const base::Value& record)
{
    auto learner = readLearnerRecord(record);
    if (!learner)
        return;
    selectedLearnerName = learner->fullName;
    selectedLearnerImageUrl = learner->profilePicURL;
    selectedLearnerID = learner->learnerID;
    if (!LearnerSelectionAction)
        return;
    auto entry = m_studentDataDict.find(learner->learnerID);
    LearnerSelectionAction(entry == m_studentDataDict.end() ? base::Value() : entry->second, learner->learnerID);
}

void TeacherReviewViewController::jumpToNextStudent()
{
    if (auto record = learnerWithWorkBeside(true))
        selectLearner(*record);
}

void TeacherReviewViewController::jumpToPreviousStudent()
{
    if (auto record = learnerWithWorkBeside(false))
        selectLearner(*record);
}

bool TeacherReviewViewController::isAvailableNextStudent() const
{
    return learnerWithWorkBeside(true).has_value();
}

bool TeacherReviewViewController::isAvailablePreviousStudent() const
{
    return learnerWithWorkBeside(false).has_value();
}

} // namespace lectoro
