#include "LectoroSDKWithReader/reader/ReadingSession.h"

#include "LectoroSDKWithReader/media/ReaderReadAloud.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/ReaderNavigation.h"
#include "LectoroSDKWithReader/reader/ReaderReflowable.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/ReadingTimeManager.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookClassInfoVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/NumberLocalizationHandler.h"
#include "platform/base/Date.h"
#include "platform/base/Json.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Strings.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <set>

namespace lectoro {

namespace {

using EventType = MVLectoroAnalyticsHandler::MVAnalyticsEventType;

constexpr double defaultSecondsPerPage = 5.0;

std::string sixDecimals(double seconds)
{
    char text[64];
    std::snprintf(text, sizeof text, "%f", seconds);
    return text;
}

std::string wholeSeconds(double seconds)
{
    // Cut toward zero to a 32-bit value; NaN and out-of-range values stay in range.
    if (!(seconds == seconds))
        return "0";
    double clamped = std::clamp(std::trunc(seconds), double(std::numeric_limits<int32_t>::min()),
        double(std::numeric_limits<int32_t>::max()));
    return std::to_string(static_cast<int32_t>(clamped));
}

std::string utcText(base::Date date)
{
    base::DateFormatter formatter("yyyy-MM-dd HH:mm:ss");
    formatter.setTimeZone(base::TimeZone::utc());
    formatter.setLocaleIdentifier("en_US_POSIX");
    return formatter.string(date);
}

std::shared_ptr<EPUBBookVO> sessionEpubOf(const ReaderContext& context)
{
    return std::dynamic_pointer_cast<EPUBBookVO>(context.currentBook);
}

std::shared_ptr<EPUBChapterVO> chapterAt(const ReaderContext& context, int64_t index)
{
    auto epub = sessionEpubOf(context);
    // An index from stored data or a display number may name no chapter at all.
    if (!epub || index < 0 || static_cast<size_t>(index) >= epub->chapters.size())
        return nullptr;
    return epub->chapters[static_cast<size_t>(index)];
}

double now()
{
    return base::RunLoop::main().now();
}

} // namespace

ReadingSession::ReadingSession(ReaderContext& context)
    : m_context(context)
{
}

ReadingSession::~ReadingSession()
{
    stopAnalyticsScheduledTimer();
}

void ReadingSession::initiateReaderAnalyticsSession()
{
    m_context.pagesLoadStartTimeDictionary.clear();
    m_context.CFIsLoadStartTimeDictionary.clear();
}

void ReadingSession::startAnalyticsScheduledTimer()
{
    stopAnalyticsScheduledTimer();
    m_timer = base::Timer::scheduled(
        sessionInterval, true, [this](base::Timer&) { analyticsScheduledTimerTriggered(); });
}

void ReadingSession::stopAnalyticsScheduledTimer()
{
    if (m_timer)
        m_timer->invalidate();
    m_timer.reset();
}

void ReadingSession::analyticsScheduledTimerTriggered()
{
    createAndSaveReaderAnalyticsSessionWithCalledUsingTimer(true);
}

std::string ReadingSession::bookIDText() const
{
    return std::to_string(m_context.bookID);
}

void ReadingSession::send(EventType type, const MVLectoroAnalyticsMetaData& record)
{
    if (m_context.analyticsHandler)
        m_context.analyticsHandler->trackEvent(type, record);
}

void ReadingSession::trackBookOpenEvent()
{
    std::optional<std::string> openTime;
    if (m_context.bookOpenTimeStamp)
        openTime = utcText(*m_context.bookOpenTimeStamp);
    std::optional<std::string> classID;
    if (m_context.bookClassInfo)
        classID = m_context.bookClassInfo->classId;
    send(EventType::BookOpen,
        MVLectoroAnalyticsMetaData::bookOpen(bookIDText(), openTime, classID, std::nullopt, bookIDText()));
}

void ReadingSession::trackBookCloseEvent(const std::optional<std::string>& lastPageFolio)
{
    send(EventType::BookClose,
        MVLectoroAnalyticsMetaData::bookClose(utcText(base::Clock::now()), lastPageFolio, bookIDText()));
}

std::string ReadingSession::reflowablePositionJSON() const
{
    base::Value::Dictionary position;
    std::vector<RendererPage> active;
    if (m_context.renderer)
        active = m_context.renderer->getActivePages();
    if (!active.empty())
        position.set("chapterid", std::to_string(active.front().fileIndex));
    // Each value stands on its own: a missing range must not drop the position that
    // reopening jumps to.
    auto addIfKnown = [&](const char* key, const std::string& value) {
        if (!value.empty())
            position.set(key, value);
    };
    if (m_context.renderer) {
        addIfKnown("page", m_context.renderer->getLastVisitedRangeInfo());
        addIfKnown("positionIdentifier", m_context.renderer->getCurrentCFI());
        addIfKnown("pageCFI", m_context.renderer->getCurrentBookDataCFI());
    }
    return base::toJson(base::Value(std::move(position)));
}

std::optional<std::string> ReadingSession::currentFolio(bool preferLastCompletePosition)
{
    if (!m_context.renderer)
        return std::nullopt;
    auto active = m_context.renderer->getActivePages();
    if (active.empty())
        return std::nullopt;
    const auto& first = active.front();
    if (std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook))
        return first.displayNum;
    auto epub = sessionEpubOf(m_context);
    if (epub && epub->isFixedLayout())
        return std::to_string(first.fileIndex);
    if (!epub)
        return std::nullopt;
    std::string position = reflowablePositionJSON();
    if (!preferLastCompletePosition)
        return position;
    bool complete = !m_context.renderer->getCurrentCFI().empty()
        && !m_context.renderer->getLastVisitedRangeInfo().empty();
    if (complete) {
        m_context.validLastPageFolio = position;
        return position;
    }
    if (m_context.validLastPageFolio)
        return m_context.validLastPageFolio;
    return position;
}

void ReadingSession::createAndSaveReaderAnalyticsSessionWithCalledUsingTimer(bool calledUsingTimer)
{
    if (!m_context.renderer)
        return;
    auto active = m_context.renderer->getActivePages();
    if (active.empty())
        return;

    if (calledUsingTimer) {
        auto folio = currentFolio(true);
        if (auto* controller = m_context.controller) {
            if (auto delegate = controller->delegate(); delegate && folio)
                delegate->didLastVisitedFolioNumberForBookID(m_context.bookID, *folio);
        }
        trackBookCloseEvent(folio);
        trackBookOpenEvent();
    }

    const double share = active.size() > 1 ? 2.0 : 1.0;
    auto& pageStarts = m_context.pagesLoadStartTimeDictionary;
    if (auto book = std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook)) {
        for (const auto& page : active) {
            double current = now();
            auto start = pageStarts.find(page.displayNum);
            // A page the renderer gave no start time (no display number) counts from now.
            double seconds = start == pageStarts.end() ? 0 : (current - start->second) / share;
            auto chapter = book->getChapterForPageID(std::to_string(page.pageID));
            send(EventType::PageTracking,
                MVLectoroAnalyticsMetaData::pageTracking(std::nullopt, page.displayNum, sixDecimals(seconds),
                    chapter ? std::optional<std::string>(std::to_string(chapter->chapterID)) : std::nullopt,
                    chapter ? std::optional<std::string>(chapter->title) : std::nullopt, base::makeUuid()));
            pageStarts[page.displayNum] = current;
        }
    } else if (auto epub = sessionEpubOf(m_context)) {
        const auto& first = active.front();
        std::string firstIndex = std::to_string(first.fileIndex);
        if (epub->isReflowable()) {
            auto& cfiStarts = m_context.CFIsLoadStartTimeDictionary;
            double divisor = cfiStarts.size() >= 2 ? double(cfiStarts.size()) : 1.0;
            for (auto& [cfi, start] : cfiStarts) {
                double current = now();
                double seconds = (current - start) / divisor;
                send(EventType::PageTracking,
                    MVLectoroAnalyticsMetaData::pageTracking(
                        cfi, firstIndex, sixDecimals(seconds), firstIndex, first.idref, base::makeUuid()));
                start = current;
            }
        }
        if (!pageStarts.empty()) {
            for (const auto& page : active) {
                double current = now();
                std::string index = std::to_string(page.fileIndex);
                auto start = pageStarts.find(index);
                double seconds = start == pageStarts.end() ? 0 : (current - start->second) / share;
                send(EventType::PageTracking,
                    MVLectoroAnalyticsMetaData::pageTracking(
                        std::nullopt, index, wholeSeconds(seconds), index, page.idref, base::makeUuid()));
                pageStarts[index] = current;
            }
        }
    }
    storeTrackingJSON();
}

void ReadingSession::storeTrackingJSON()
{
    storeTracking(true);
}

void ReadingSession::storePageTimeAsItLeaves()
{
    storeTracking(false);
}

void ReadingSession::storePositionsBeforeTheirPage()
{
    if (m_positionsSaveOwed)
        return;
    m_positionsSaveOwed = true;
    std::weak_ptr<const void> alive = m_alive;
    base::RunLoop::main().post(alive, [this] {
        if (m_positionsSaveOwed)
            storePageTimeAsItLeaves();
    });
}

void ReadingSession::storeTracking(bool synced)
{
    // Whatever this save stores includes the positions that left before it.
    m_positionsSaveOwed = false;
    if (!m_context.analyticsHandler || !m_context.dbManager)
        return;
    std::string userID = m_context.user ? std::to_string(m_context.user->numericUserID()) : std::string("0");
    // Only what changed since the last save goes to the store, which adds it to the session
    // it stored then; when it cannot, the whole visit is stored again.
    if (auto changes = m_context.analyticsHandler->takeTrackingChanges(false)) {
        if (changes->groups.empty())
            return;
        auto& store = *m_context.dbManager;
        auto stored = synced ? store.storeReaderAnalyticsChanges(userID, bookIDText(), *changes)
                             : store.storeReaderAnalyticsChangesWithoutSync(userID, bookIDText(), *changes);
        if (stored.ok() && !stored.value() && !changes->whole) {
            if (auto whole = m_context.analyticsHandler->takeTrackingChanges(true); whole && !whole->groups.empty())
                (void)m_context.dbManager->storeReaderAnalyticsChanges(userID, bookIDText(), *whole);
        }
        ++m_storedSessionCount;
        return;
    }
    std::string json = m_context.analyticsHandler->getTrackingJSON();
    if (json.empty())
        return;
    m_context.dbManager->createReaderAnalyticsSessionForUserID(userID, bookIDText(), json);
    ++m_storedSessionCount;
}

void ReadingSession::trackAnalyticsEvent()
{
    auto& starts = m_context.pagesLoadStartTimeDictionary;
    if (starts.empty())
        return;
    const double share = starts.size() >= 2 ? 2.0 : 1.0;
    auto book = std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook);
    for (auto& [key, start] : starts) {
        double current = now();
        double seconds = current - start;
        if (seconds <= 1.0)
            continue;
        seconds /= share;
        std::optional<std::string> chapterID;
        std::optional<std::string> chapterName;
        if (book) {
            int64_t pageID = m_context.controller
                ? m_context.controller->navigation().getPageIDForDisplayNumber(key)
                : 0;
            chapterID = std::to_string(pageID);
            if (auto chapter = book->getChapterForPageID(std::to_string(pageID)))
                chapterName = chapter->title;
        } else {
            chapterID = key;
            if (auto chapter = chapterAt(m_context, base::integerValue(key)))
                chapterName = chapter->idref;
        }
        send(EventType::PageTracking,
            MVLectoroAnalyticsMetaData::pageTracking(
                std::nullopt, key, wholeSeconds(seconds), chapterID, chapterName, base::makeUuid()));
        start = current;
    }
}

void ReadingSession::trackCFIAnalyticsEventWith(const std::string& chapterIndex)
{
    auto& starts = m_context.CFIsLoadStartTimeDictionary;
    if (starts.empty())
        return;
    std::optional<std::string> chapterName;
    if (auto chapter = chapterAt(m_context, base::integerValue(chapterIndex)))
        chapterName = chapter->idref;
    const double count = double(starts.size());
    for (auto& [cfi, start] : starts) {
        double current = now();
        double seconds = current - start;
        if (seconds <= 1.0)
            continue;
        send(EventType::PageTracking,
            MVLectoroAnalyticsMetaData::pageTracking(cfi, chapterIndex, sixDecimals(seconds / count),
                chapterIndex, chapterName, base::makeUuid()));
        start = current;
    }
}

std::optional<int64_t> ReadingSession::getAvgTimePerPageFromAnalyticsEvents() const
{
    if (!m_context.dbManager)
        return std::nullopt;
    int64_t userID = m_context.user ? m_context.user->numericUserID() : 0;
    auto sessions = m_context.dbManager->getReaderAnalyticsForUser(userID, bookIDText());
    const auto* stored = sessions.asDictionary();
    if (!stored)
        return std::nullopt;
    int64_t total = 0;
    std::set<std::string> positions;
    for (const auto& [key, value] : *stored) {
        auto text = value.asString();
        if (!text)
            continue;
        auto parsed = base::parseJson(*text);
        if (!parsed.ok())
            continue;
        const auto* entries = parsed.value()["PageTracking"].asList();
        if (!entries)
            continue;
        for (const auto& entry : *entries) {
            const auto& info = entry["EventInfo"];
            const auto& cfi = info["cfID"];
            if (cfi.isNull())
                continue;
            total += info["TimeSpend"].integerValue();
            positions.insert(cfi.description());
        }
    }
    // No position was ever recorded: there is nothing to average.
    if (positions.empty())
        return std::nullopt;
    return static_cast<int64_t>(static_cast<uint64_t>(std::max<int64_t>(total, 0)) / positions.size());
}

void ReadingSession::saveReaderAnalytics()
{
    std::vector<RendererPage> active;
    if (m_context.renderer)
        active = m_context.renderer->getActivePages();
    trackBookOpenEvent();
    if (!active.empty()) {
        auto folio = currentFolio(false);
        m_context.lastPageFolio = folio;
        trackBookCloseEvent(folio);
    }
    createAndSaveReaderAnalyticsSessionWithCalledUsingTimer(false);
    if (m_context.readingTimeManager) {
        if (auto average = getAvgTimePerPageFromAnalyticsEvents())
            m_context.avgTimePerPage = (m_context.avgTimePerPage + *average) / 2;
    }
}

int64_t ReadingSession::minutesLeftForSeconds(int64_t seconds)
{
    if (seconds >= 61)
        return seconds / 60;
    if (seconds >= 1)
        return 1;
    return 0;
}

void ReadingSession::didChangePageIdentifier(const std::string& identifier)
{
    auto epub = sessionEpubOf(m_context);
    if (!m_context.readingTimeManager && epub)
        m_context.readingTimeManager = companionFramework()->makeReadingTimeManager(epub->absolutePath);
    auto manager = m_context.readingTimeManager;
    if (!manager || !manager->isCFIDataAvailable())
        return;
    manager->setDefaultAverageTimePerPage(defaultSecondsPerPage);
    const int64_t seconds = manager->getTimeLeftForpage(identifier, defaultSecondsPerPage);
    if (seconds <= 0) {
        // No time left is no estimate: the manager answers it for a position it cannot place
        // (the opening page before the book's positions are measured) as much as for the
        // end, and "0 min left" on a book just opened reads as a fault.
        m_context.timeLeftMinutes.reset();
        m_context.timeLeftText.clear();
    } else {
        int64_t minutes = minutesLeftForSeconds(seconds);
        m_context.timeLeftMinutes = minutes;
        m_context.timeLeftText = NumberLocalizationHandler::localizeNumberWithNumber(base::Value(minutes)) + " "
            + LocalizationHelper::localizedStringWithKey("MIN_LEFT");
    }
    if (m_context.controller)
        m_context.controller->reflowable().setTimeLeftData(m_context.timeLeftText);
}

void ReadingSession::appMovedToBackground()
{
    m_context.isappInBackground = true;
    stopAnalyticsScheduledTimer();
    createAndSaveReaderAnalyticsSessionWithCalledUsingTimer(true);
    if ((m_context.activeMode == ReaderActiveModeReadAloud
            || m_context.activeMode == ReaderActiveModeLinkAction)
        && m_context.controller)
        m_context.controller->readAloud().pauseAudioSyncIfAny();
}

void ReadingSession::appMovedToForeground()
{
    m_context.isappInBackground = false;
    // Time spent in the background does not count towards any page.
    double current = now();
    for (auto& entry : m_context.pagesLoadStartTimeDictionary)
        entry.second = current;
    for (auto& entry : m_context.CFIsLoadStartTimeDictionary)
        entry.second = current;
    startAnalyticsScheduledTimer();
    if ((m_context.activeMode == ReaderActiveModeReadAloud
            || m_context.activeMode == ReaderActiveModeLinkAction)
        && m_context.controller)
        m_context.controller->readAloud().changePlayButtonState();
}

} // namespace lectoro
