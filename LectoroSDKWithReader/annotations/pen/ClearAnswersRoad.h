#pragma once

// Clearing a fixed-layout book's fill-in answers and pen drawings: on the visible pages
// after a confirmation, or, in teacher review, on the visible pages or the whole of the
// learner's book (the reset dialog's two choices). It also keeps the clear-all items
// enabled only while a visible page has something to clear, and the read-aloud item only
// while a visible chapter of a reflowable book can be read aloud.
//
// The store's answer queries carry a submitted flag: a reader launched for a class asks
// for the answers not yet handed in (NO), any other for every answer (YES).

#include <memory>

namespace lectoro {

class AnnotationsHost;
class PenRoad;
class PlayerActionBar;
class PlayerActionBarItem;
struct ReaderContext;

class ClearAnswersRoad {
public:
    ClearAnswersRoad(ReaderContext&, AnnotationsHost&, PenRoad&);
    ~ClearAnswersRoad();
    ClearAnswersRoad(const ClearAnswersRoad&) = delete;
    ClearAnswersRoad& operator=(const ClearAnswersRoad&) = delete;

    // Asks first; "YES" clears the visible pages' answers.
    void didTapOnClearAllFIBs();
    void clearAllFIBs();
    // Teacher review only: every answer, or every drawing, of the learner.
    void clearAllPageFIBs();
    void clearAllPagePenDrawings();
    // Teacher review only: the visible pages' drawings.
    void clearAllPenDrawings();
    void updateClearAllFIBsButtonStatus();
    void changeAudioButtonStatus();

    // The bar's first tappable item with tag 27 (clear all) or 14 (read aloud); null for none.
    static std::shared_ptr<PlayerActionBarItem> getClearAllFIBsButtonForPlayer(const PlayerActionBar&);
    static std::shared_ptr<PlayerActionBarItem> getAudioButtonForPlayer(const PlayerActionBar&);

    bool submittedFlag() const;

private:
    bool isPageBook() const;
    bool inTeacherReview() const;

    ReaderContext& m_context;
    AnnotationsHost& m_host;
    PenRoad& m_penRoad;
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};

} // namespace lectoro
