#pragma once

// What the reader records of a reading visit: book open and close events, the time each
// page (or reflowable position) stays on screen, the session stored every 10 seconds on
// the main run loop, the average time per page, the reading time left of reflowable
// books, and the reflowable position text. Times come from the main run loop's clock, so
// time in the background (where the timer stops and the start times are renewed) is not
// counted. The timer lives exactly as long as this object, or until stopped.
//
// The session is stored when a page or position leaves the screen, on the timer, on going
// to the background and at close, so a killed process loses at most the time of the pages
// still on screen. Each save writes only the events new since the last one (the store
// adds them to the session it stored then), and a page's save is not synced to the disk
// itself (the timer's is), so a page turn stays cheap. A chapter of a reflowable book
// that leaves stores its positions and its page in one save.

#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsHandler.h"
#include "platform/base/Timer.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace lectoro {

struct ReaderContext;

class ReadingSession {
public:
    static constexpr double sessionInterval = 10.0;

    explicit ReadingSession(ReaderContext&);
    ~ReadingSession();

    void initiateReaderAnalyticsSession();
    void startAnalyticsScheduledTimer();
    void stopAnalyticsScheduledTimer();
    bool isTimerRunning() const { return m_timer && m_timer->isValid(); }
    void analyticsScheduledTimerTriggered();

    void trackBookOpenEvent();
    void trackBookCloseEvent(const std::optional<std::string>& lastPageFolio);
    void createAndSaveReaderAnalyticsSessionWithCalledUsingTimer(bool calledUsingTimer);
    void saveReaderAnalytics();
    void trackAnalyticsEvent();
    void trackCFIAnalyticsEventWith(const std::string& chapterIndex);
    // Stores the handler's tracking JSON as the reading session, when there is one.
    void storeTrackingJSON();
    // The same as a page or position leaves the screen: what changed is stored at once,
    // safe from the process ending, and reaches the disk with the next synced save.
    void storePageTimeAsItLeaves();
    // A chapter's positions leave just before its page does (the renderer reports them in
    // that order), and the page's save stores them with its own: one commit for the two.
    // Should the page's leave not follow (a renderer stopped part way), they are stored on
    // the next pass of the main run loop.
    void storePositionsBeforeTheirPage();
    // How many times this session stored the reading session (a durable write each).
    size_t storedSessionCount() const { return m_storedSessionCount; }

    // Seconds per page over the stored sessions of this user and book; absent when no
    // stored page record carries a position to count by.
    std::optional<int64_t> getAvgTimePerPageFromAnalyticsEvents() const;

    // The reflowable position: "chapterid", "page", "positionIdentifier" and "pageCFI",
    // each present only when known.
    std::string reflowablePositionJSON() const;
    // Where the reader is: a page book's display number, a fixed-layout EPUB's file index,
    // a reflowable book's position. Absent with no page on screen.
    std::optional<std::string> currentFolio(bool preferLastCompletePosition);

    // A new reflowable page came on screen: the reading time left.
    void didChangePageIdentifier(const std::string& identifier);
    static int64_t minutesLeftForSeconds(int64_t seconds);

    void appMovedToBackground();
    void appMovedToForeground();

private:
    void send(MVLectoroAnalyticsHandler::MVAnalyticsEventType, const MVLectoroAnalyticsMetaData&);
    void storeTracking(bool synced);
    std::string bookIDText() const;

    ReaderContext& m_context;
    std::shared_ptr<base::Timer> m_timer;
    size_t m_storedSessionCount = 0;
    // Positions have left without a save since; any save stores them.
    bool m_positionsSaveOwed = false;
    // Lets a posted save see whether this session is still there.
    std::shared_ptr<const int> m_alive = std::make_shared<const int>(0);
};

} // namespace lectoro
