#pragma once

// A learner's work as the reader shows it: the service's page list turned into records by
// page key and by printed folio, the ordered lists the page buttons move along, the
// review bar's page label and which page buttons it leaves enabled. No views here.
//
// Page key: a page's "pageId" as text; without one, the page number the book gives for
// the folio of the page's first item. Folio key: the "folioID" of the page's first item,
// which may name a spread ("4,5"). Pages without an item, or with neither key, add nothing.

#include "LectoroSDKWithReader/teacherreview/TeacherReviewViewController.h"
#include "platform/base/Value.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace lectoro {

class YSDBManager;

struct TeacherReviewLearnerWork {
    TeacherReviewPageUGC pages;
    // Folio key to the page key of the same records.
    std::map<std::string, std::string> folioPages;
    // The page keys, ascending by their numeric value.
    std::vector<std::string> pageArray;
};

// Items of type 5 and 7 become answers, any other a pen drawing; a record without a page
// identifier takes the page number of its display number. `store` builds the records when
// there is one. A page list that is not a list gives no work.
TeacherReviewLearnerWork buildTeacherReviewLearnerWork(const base::Value& pages, YSDBManager* store,
    const std::function<std::string(const std::string& displayNumber)>& pageNumberForDisplayNumber);

// Ascending by numeric text order.
std::vector<std::string> sortedTeacherReviewPageKeys(std::vector<std::string> keys);
// Ascending by the numeric order of the part before the first ","; a spread is listed by
// its last folio.
std::vector<std::string> sortedTeacherReviewFolioKeys(std::vector<std::string> keys);

// "PAGE 3" for one page on screen, "PAGE 3, 4" for two or more (first and last).
std::string teacherReviewPageLabelText(const std::string& pageWord, const std::vector<std::string>& displayNumbers);

// The folios the label shows that hold work, in the label's order, blanks removed.
std::vector<std::string> teacherReviewShownFolios(
    const std::string& labelText, const std::string& pageWord, const std::vector<std::string>& folioList);

struct TeacherReviewPageButtons {
    bool previousEnabled = true;
    bool nextEnabled = true;
    bool operator==(const TeacherReviewPageButtons&) const = default;
};
// The page buttons for the label shown (nullopt: no label), against the sorted folio list.
TeacherReviewPageButtons teacherReviewPageButtons(const std::optional<std::string>& labelText,
    const std::string& pageWord, const std::vector<std::string>& folioList, size_t activePageCount);

// The page with work a page button goes to: 9 the one before the pages on screen, any
// other tag the one after; nullopt when there is none.
std::optional<std::string> teacherReviewPageButtonTarget(
    int tag, const std::vector<std::string>& pageList, const std::vector<std::string>& activePageIDs);

// What both review panels answer of one page's records: the pen drawings whatever their
// status, the answers not deleted, and whether any pen drawing or answer is not deleted.
std::vector<std::shared_ptr<SDKPentoolVO>> teacherReviewPenDrawingsOf(const TeacherReviewRecordList&);
std::vector<std::shared_ptr<SDKFIBVO>> teacherReviewLiveAnswersOf(const TeacherReviewRecordList&);
bool teacherReviewHasLiveRecord(const TeacherReviewRecordList&);

// Hands a changed answer to the store on the answer's own page when that page holds work
// (else on the page in use).
void editAnswerOnItsPage(TeacherReviewViewController&, const std::shared_ptr<SDKFIBVO>&);

} // namespace lectoro
