#pragma once

// What the pen and the clearing of answers ask of teacher review while a learner's work is
// on screen: the learner panel's list of the page under review and its answers, and the
// redraw of the learner's layers. Teacher review hands one over through the annotations
// host while it runs; outside review there is none.

#include "platform/base/Value.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lectoro {

class SDKPentoolVO;

class ReviewAnnotationPanel {
public:
    virtual ~ReviewAnnotationPanel() = default;

    // --- The page and learner under review ---
    // The page a review drawing belongs to; none until the first drawing names one.
    virtual std::optional<std::string> pageIdentifierForTeacherReview() const = 0;
    virtual void setPageIdentifierForTeacherReview(const std::string&) = 0;
    // The learner's page content and id, as the panel is given them before each drawing.
    virtual base::Value teacherAnnotationData() const = 0;
    virtual std::string selectLearnerIDForTeacherReview() const = 0;

    // --- The panel ---
    virtual void setSelectedPageIdentifier(const std::string&) = 0;
    virtual void setStudentPageUGCDictionary(const base::Value&) = 0;
    virtual void setSelectedLearnerID(const std::string&) = 0;
    // Appends the drawing to the selected page's list.
    virtual void addPenDrawing(std::shared_ptr<SDKPentoolVO>) = 0;
    // Puts the drawing in place of the one it changes (replacePenDrawing).
    virtual void updatePenDrawing(std::shared_ptr<SDKPentoolVO>) = 0;
    // The selected page has a drawing not deleted or an answer with text.
    virtual bool isFIBsAndPentoolAvailable() = 0;
    virtual bool isAnnotationEnabled() = 0;
    virtual void clearAllFIBsForPageID(const std::string& pageID) = 0;
    virtual void clearAllFIBs() = 0;
    virtual void clearAllPenDrawingsForPageID(const std::string& pageID) = 0;
    virtual void clearAllPenDrawings() = 0;

    // --- The learner's layers on a page (page id as a number) ---
    virtual void drawTeacherReviewFIBOnPageNumber(int64_t pageNumber) = 0;
    virtual void drawTeacherReviewDropDownOnPageNumber(int64_t pageNumber) = 0;
    virtual void drawTeacherReviewPenDrawingsOnPageNumber(int64_t pageNumber) = 0;

    // A colour picked from the pen palette in review.
    virtual void didSelectPenColorForTeacherReview(const std::string& hexColor) = 0;
};

// Puts a changed drawing in place of its earlier self: the one with the same local id,
// else (for a drawing that came from the server) the one with the same server id; a
// drawing the list does not hold yet is appended. Answers whether one was replaced.
bool replacePenDrawing(std::vector<std::shared_ptr<SDKPentoolVO>>& drawings, const std::shared_ptr<SDKPentoolVO>&);

} // namespace lectoro
