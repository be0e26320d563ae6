// Teacher review: learners' submissions, the teacher's review of them, the book's contents
// for reports and the markup report request.

#include "companion/service/InProcessService.h"

#include "LectoroSDKWithReader/readersdk/records/SDKUGCVO.h"
#include "companion/service/InProcessServiceSupport.h"

#include <algorithm>

namespace companion {

using namespace inprocess;

namespace {

// Pen drawings and answers are what a learner hands in and a teacher reviews.
bool isReviewedKind(const base::Value& item)
{
    auto type = static_cast<lectoro::UGCType>(item["type"].integerValue());
    return type == lectoro::UGCType::PenDrawing || type == lectoro::UGCType::FillInBlank
        || type == lectoro::UGCType::DropDown;
}

// The work grouped by page, pages with a numeric id first in ascending order, then pages
// known only by their folio, in the order they were met.
base::Value::List pagesOf(const base::Value::List& items)
{
    struct Page {
        std::string key;
        std::optional<int64_t> pageID;
        std::string folioID;
        base::Value::List ugcList;
    };
    std::vector<Page> pages;
    for (const auto& item : items) {
        std::string pageText = textOf(item["pageId"]);
        std::string folio = textOf(item["folioID"]);
        std::string key = pageText.empty() ? "folio:" + folio : "page:" + pageText;
        auto page = std::find_if(pages.begin(), pages.end(), [&](const Page& held) { return held.key == key; });
        if (page == pages.end()) {
            pages.push_back({ key, idFrom(item["pageId"]), folio, {} });
            page = std::prev(pages.end());
        }
        page->ugcList.push_back(item);
    }
    std::stable_sort(pages.begin(), pages.end(), [](const Page& first, const Page& second) {
        if (first.pageID.has_value() != second.pageID.has_value())
            return first.pageID.has_value();
        return first.pageID && *first.pageID < *second.pageID;
    });
    base::Value::List answer;
    for (auto& page : pages) {
        base::Value::Dictionary entry;
        if (page.pageID)
            entry.set("pageId", *page.pageID);
        entry.set("folioID", page.folioID);
        entry.set("ugcList", std::move(page.ugcList));
        answer.push_back(base::Value(std::move(entry)));
    }
    return answer;
}

} // namespace

ServiceResult InProcessService::handleSubmit(const base::Value& body)
{
    auto learnerID = idFrom(body["userID"]);
    auto bookID = idFrom(body["bookID"]);
    if (!learnerID || !bookID)
        return malformed("annotations.submit needs userID and bookID");
    base::Value::List work;
    auto held = m_ugc.find({ *learnerID, *bookID });
    if (held != m_ugc.end()) {
        for (const auto& item : held->second) {
            if (!isReviewedKind(item) || item["status"].integerValue() == lectoro::UGCStatusDeleted)
                continue;
            base::Value submitted = item;
            submitted.asDictionary()->set("isSubmitted", true);
            work.push_back(std::move(submitted));
        }
    }
    base::Value::Dictionary answer;
    answer.set("submitted", static_cast<int64_t>(work.size()));
    m_submitted[{ *learnerID, *bookID }] = std::move(work);
    m_submissions.push_back(body);
    return base::Value(std::move(answer));
}

ServiceResult InProcessService::handleStudentAnnotationsFetch(const base::Value& body)
{
    auto bookID = idFrom(body["bookId"]);
    auto learnerID = idFrom(body["learnerId"]);
    if (!bookID || !learnerID)
        return malformed("studentAnnotations.fetch needs a numeric bookId and learnerId");
    base::Value::Dictionary answer;
    answer.set("learnerId", *learnerID);
    auto found = m_submitted.find({ *learnerID, *bookID });
    answer.set("pageUgc", found == m_submitted.end() ? base::Value::List {} : pagesOf(found->second));
    return base::Value(std::move(answer));
}

ServiceResult InProcessService::handleTeacherAnnotationsSave(const base::Value& body)
{
    auto learnerID = idFrom(body["learnerID"]);
    auto bookID = idFrom(body["bookID"]);
    if (!learnerID || !bookID)
        return malformed("teacherAnnotations.save needs a numeric learnerID and bookID");
    const base::Value::List* records = body["annotation"].asList();
    if (!records)
        return malformed("teacherAnnotations.save needs the review as a list of records");
    for (const auto& record : *records) {
        if (!record.isDictionary() || !isReviewedKind(record))
            return malformed("a review holds pen drawings and answers only");
    }
    Key key { *learnerID, *bookID };
    auto& work = m_submitted[key];
    auto& learnerUGC = m_ugc[key];
    base::Value::List saved;
    for (const auto& record : *records) {
        size_t before = saved.size();
        mergeUGC(work, record, saved, *bookID, nullptr);
        // The learner sees the review in their own content too, under the same service id.
        base::Value withID = record;
        if (saved.size() > before)
            withID.asDictionary()->set("ugcID", saved.back()["ugcID"]);
        base::Value::List ignored;
        mergeUGC(learnerUGC, withID, ignored, *bookID, &m_tombstones[key]);
    }
    m_teacherAnnotations.push_back(body);
    base::Value::Dictionary answer;
    answer.set("saved", std::move(saved));
    return base::Value(std::move(answer));
}

ServiceResult InProcessService::handleBookTOCFetch(const base::Value& body)
{
    auto bookID = idFrom(body["bookId"]);
    if (!bookID)
        return malformed("bookToc.fetch needs bookId");
    base::Value::Dictionary answer;
    auto found = m_bookTOC.find(*bookID);
    answer.set("toc", found == m_bookTOC.end() ? base::Value(base::Value::List {}) : found->second);
    return base::Value(std::move(answer));
}

ServiceResult InProcessService::handleMarkupReport(const base::Value& body)
{
    auto bookID = idFrom(body["bookId"]);
    if (!bookID)
        return malformed("markupReport.request needs bookId");
    if (textOf(body["emailID"]).empty())
        return malformed("markupReport.request needs emailID");
    if (!body["chapters"].isList())
        return malformed("markupReport.request needs the chapters as a list");
    auto learners = idListFrom(body["userIds"]);
    if (!learners)
        return malformed("markupReport.request needs userIds as a list of user ids");
    bool anyWork = std::any_of(learners->begin(), learners->end(), [&](const base::Value& learner) {
        auto found = m_submitted.find({ *learner.asInteger(), *bookID });
        return found != m_submitted.end() && !found->second.empty();
    });
    // The report is built from stored submissions; with none there is nothing to read.
    if (!anyWork)
        return serviceError(404, "The specified key does not exist.");
    m_reports.push_back(body);
    base::Value::Dictionary answer;
    answer.set("status", "200");
    answer.set("message", "Report requested");
    return base::Value(std::move(answer));
}

void InProcessService::setStudentAnnotations(int64_t learnerID, int64_t bookID, base::Value pageUgcList)
{
    std::lock_guard lock(m_mutex);
    base::Value::List work;
    if (const auto* pages = pageUgcList.asList()) {
        for (const auto& page : *pages) {
            const auto* items = page["ugcList"].asList();
            if (!items)
                continue;
            for (const auto& item : *items) {
                if (!item.isDictionary())
                    continue;
                base::Value copy = item;
                auto* dictionary = copy.asDictionary();
                if (textOf(item["pageId"]).empty() && !page["pageId"].isNull())
                    dictionary->set("pageId", textOf(page["pageId"]));
                if (textOf(item["folioID"]).empty() && !page["folioID"].isNull())
                    dictionary->set("folioID", textOf(page["folioID"]));
                if (serverIDOf(copy).empty())
                    dictionary->set("ugcID", nextUGCID());
                work.push_back(std::move(copy));
            }
        }
    }
    m_submitted[{ learnerID, bookID }] = std::move(work);
}

} // namespace companion
