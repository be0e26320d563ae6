// Reading sessions: the analytics of one visit to a book, stored again on every timer tick
// and at close until the sync client has sent them.
//
// A visit's text grows for as long as the book stays open and is handed over whole each
// time, so it is stored in parts of about `sessionPartSize` bytes and a save rewrites only
// the parts whose bytes changed. New events land near the end of the text, so a tick
// writes a few parts however long the visit has been. The reader saves by name instead
// (storeReaderAnalyticsChanges): only the new events come, and are added where they belong
// without the whole text being joined or compared.

#include "companion/store/SqliteDatabase.h"
#include "companion/store/SqliteDatabaseManager.h"
#include "platform/base/Json.h"
#include "platform/base/Strings.h"

#include <limits>
#include <vector>

namespace companion {

namespace {

constexpr size_t sessionPartSize = 8192;

// The text naming the visit a session belongs to, as it stands in the session's JSON
// ("ReaderSeatingID":"<id>"); empty when the session names none.
std::string visitMarker(const std::string& json)
{
    static const std::string key = "\"ReaderSeatingID\":\"";
    auto start = json.find(key);
    if (start == std::string::npos)
        return {};
    auto end = json.find('"', start + key.size());
    if (end == std::string::npos || end == start + key.size())
        return {};
    return json.substr(start, end + 1 - start);
}

// Where the parts of `text` begin. A part ends after the first event separator ("},")
// found once it holds `sessionPartSize` bytes, so an event that changed its length early in
// the text moves only its own part's end, and the parts after it keep their bytes. Text
// without separators is cut at the size, never inside a UTF-8 sequence, so each part is
// valid text on its own.
std::vector<size_t> partStarts(std::string_view text)
{
    std::vector<size_t> starts;
    size_t start = 0;
    while (start < text.size()) {
        starts.push_back(start);
        size_t least = start + sessionPartSize;
        if (least >= text.size())
            break;
        size_t separator = text.substr(least, sessionPartSize + 1).find("},");
        if (separator != std::string_view::npos && least + separator + 2 < text.size()) {
            start = least + separator + 2;
            continue;
        }
        size_t next = least;
        while (next > start + 1 && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80)
            --next;
        start = next;
    }
    return starts;
}

} // namespace

base::Result<void> SqliteDatabaseManager::createReaderAnalyticsSessionForUserID(const std::string& userID,
    const std::string& bookID, const std::string& analyticsData)
{
    std::lock_guard lock(m_mutex);
    int64_t numericUser = base::longLongValue(userID);
    std::string marker = visitMarker(analyticsData);
    if (!beginWriting())
        return failWrite();

    int64_t sessionID = 0;
    if (!sessionRowFor(numericUser, bookID, marker, sessionID))
        return finishWriting(false);
    m_storedGroups.reset();
    auto written = finishWriting(writeSessionParts(sessionID, analyticsData));
    m_storedSession.reset();
    if (written.ok()) {
        if (auto version = dataVersion())
            m_storedSession = StoredSession { sessionID, analyticsData, *version };
    }
    return written;
}

bool SqliteDatabaseManager::sessionRowFor(
    int64_t numericUser, const std::string& bookID, const std::string& marker, int64_t& sessionIDOut)
{
    // A save replaces the unsynced session of the same visit only: a new visit (the reader
    // opened again, perhaps in a new process, while the last one is still unsynced) gets a row
    // of its own, so an earlier visit's reading time is never overwritten before it is sent.
    // A row stored before sessions had parts names its visit inside its text.
    auto* latest = m_database->statement(
        "SELECT id, data <> '', ?3 = '' OR visit = ?3 OR (visit = '' AND instr(data, ?3) > 0) FROM analytics_session "
        "WHERE user_id = ?1 AND book_id = ?2 AND is_synced = 0 ORDER BY id DESC LIMIT 1");
    if (!latest)
        return false;
    latest->bind(1, numericUser).bind(2, bookID).bind(3, marker);
    std::optional<int64_t> sessionID;
    bool wholeTextInRow = false;
    if (latest->step() && latest->columnInteger(2) != 0) {
        sessionID = latest->columnInteger(0);
        wholeTextInRow = latest->columnInteger(1) != 0;
    }
    bool ok = latest->ok();
    latest->reset();
    if (!ok)
        return false;

    if (!sessionID) {
        auto* insert = m_database->statement(
            "INSERT INTO analytics_session (user_id, book_id, data, is_synced, visit) VALUES (?1, ?2, '', 0, ?3)");
        if (!insert || !insert->bind(1, numericUser).bind(2, bookID).bind(3, marker).run())
            return false;
        sessionID = m_database->lastInsertRowId();
    } else if (wholeTextInRow) {
        auto* update = m_database->statement("UPDATE analytics_session SET data = '', visit = ?2 WHERE id = ?1");
        if (!update || !update->bind(1, *sessionID).bind(2, marker).run())
            return false;
    }
    sessionIDOut = *sessionID;
    return true;
}

std::optional<int64_t> SqliteDatabaseManager::dataVersion()
{
    auto* query = m_database->statement("PRAGMA data_version");
    if (!query || !query->step())
        return std::nullopt;
    int64_t version = query->columnInteger(0);
    query->reset();
    return version;
}

bool SqliteDatabaseManager::writeSessionParts(int64_t sessionID, std::string_view text)
{
    auto starts = partStarts(text);
    auto partOf = [&](size_t index) {
        size_t end = index + 1 < starts.size() ? starts[index + 1] : text.size();
        return text.substr(starts[index], end - starts[index]);
    };
    std::vector<bool> unchanged(starts.size(), false);
    if (m_storedSession && m_storedSession->sessionID == sessionID && dataVersion() == m_storedSession->dataVersion) {
        std::string_view before = m_storedSession->text;
        auto startsBefore = partStarts(before);
        for (size_t index = 0; index < starts.size() && index < startsBefore.size(); ++index) {
            size_t end = index + 1 < startsBefore.size() ? startsBefore[index + 1] : before.size();
            unchanged[index] = before.substr(startsBefore[index], end - startsBefore[index]) == partOf(index);
        }
        // Parts past the new end are deleted below whatever they hold.
        return writeChangedParts(sessionID, text, starts, unchanged);
    }
    auto* stored = m_database->statement(
        "SELECT seq, data FROM analytics_session_part WHERE session_id = ?1 ORDER BY seq");
    if (!stored)
        return false;
    stored->bind(1, sessionID);
    while (stored->step()) {
        int64_t seq = stored->columnInteger(0);
        if (seq >= 0 && static_cast<size_t>(seq) < starts.size())
            unchanged[static_cast<size_t>(seq)] = stored->columnView(1) == partOf(static_cast<size_t>(seq));
    }
    bool ok = stored->ok();
    stored->reset();
    if (!ok)
        return false;
    return writeChangedParts(sessionID, text, starts, unchanged);
}

bool SqliteDatabaseManager::writeChangedParts(int64_t sessionID, std::string_view text,
    const std::vector<size_t>& starts, const std::vector<bool>& unchanged)
{
    for (size_t index = 0; index < starts.size(); ++index) {
        if (unchanged[index])
            continue;
        auto* write = m_database->statement(
            "INSERT INTO analytics_session_part (session_id, seq, data) VALUES (?1, ?2, ?3) "
            "ON CONFLICT (session_id, seq) DO UPDATE SET data = excluded.data");
        size_t end = index + 1 < starts.size() ? starts[index + 1] : text.size();
        auto part = text.substr(starts[index], end - starts[index]);
        if (!write || !write->bind(1, sessionID).bind(2, static_cast<int64_t>(index)).bind(3, part).run())
            return false;
    }
    auto* trim = m_database->statement("DELETE FROM analytics_session_part WHERE session_id = ?1 AND seq >= ?2");
    return trim && trim->bind(1, sessionID).bind(2, static_cast<int64_t>(starts.size())).run();
}

// A session stored by name lays each name's array out as a run of parts: the opening
// ("{" or "," and the name, with the first entries) at the run's base, added entries after
// it, the closing bracket at the run's end, and the closing brace last of all. The text
// read back in part order is the tracking JSON; new events of a name go into its last
// part while that stays under `appendedPartSize`, else into a part of their own.
namespace {

// Appends rewrite their part's row on every page turn. Kept well inside one of the
// store's 4 KB pages, a row never spills into overflow pages, so an append commits about
// one page to the log instead of a chain of them (and their freelist) four times over.
constexpr size_t appendedPartSize = 2048;

int64_t sessionGroupBase(size_t index)
{
    return (static_cast<int64_t>(index) + 1) << 32;
}

int64_t sessionGroupEnd(size_t index)
{
    return sessionGroupBase(index) + 0xFFFFFFFF;
}

constexpr int64_t sessionTextEnd = std::numeric_limits<int64_t>::max();

} // namespace

base::Result<bool> SqliteDatabaseManager::storeReaderAnalyticsChanges(
    const std::string& userID, const std::string& bookID, const lectoro::TrackingChanges& changes)
{
    std::lock_guard lock(m_mutex);
    return storeSessionChanges(userID, bookID, changes);
}

base::Result<bool> SqliteDatabaseManager::storeReaderAnalyticsChangesWithoutSync(
    const std::string& userID, const std::string& bookID, const lectoro::TrackingChanges& changes)
{
    std::lock_guard lock(m_mutex);
    if (!m_syncsCommits)
        return storeSessionChanges(userID, bookID, changes);
    // In write-ahead logging, NORMAL commits without syncing the log: the commit is in the
    // log, safe from the process ending, and the next FULL commit syncs it with its own.
    // (Kept prepared: a page turn runs both.)
    auto setSynchronous = [this](const char* pragma) {
        auto* statement = m_database->statement(pragma);
        return statement && statement->run();
    };
    if (!setSynchronous("PRAGMA synchronous = NORMAL"))
        return failWrite().error();
    auto stored = storeSessionChanges(userID, bookID, changes);
    if (!setSynchronous("PRAGMA synchronous = FULL"))
        return failWrite().error();
    return stored;
}

base::Result<bool> SqliteDatabaseManager::storeSessionChanges(
    const std::string& userID, const std::string& bookID, const lectoro::TrackingChanges& changes)
{
    int64_t numericUser = base::longLongValue(userID);
    if (changes.groups.empty())
        return true;
    if (!changes.whole && (!m_storedGroups || m_storedGroups->userID != numericUser || m_storedGroups->bookID != bookID))
        return false;
    if (!beginWriting())
        return failWrite().error();
    if (!changes.whole) {
        // Only while the session stored last is still unsynced and no other connection has
        // written since: otherwise the caller hands over the whole visit.
        auto* unsynced = m_database->statement("SELECT 1 FROM analytics_session WHERE id = ?1 AND is_synced = 0");
        if (!unsynced)
            return finishWriting(false).error();
        unsynced->bind(1, m_storedGroups->sessionID);
        bool placeable = unsynced->step() && dataVersion() == m_storedGroups->dataVersion;
        bool ok = unsynced->ok();
        unsynced->reset();
        if (!ok)
            return finishWriting(false).error();
        if (!placeable || !appendSessionGroups(changes)) {
            m_storedGroups.reset();
            m_database->execute("ROLLBACK");
            return false;
        }
        auto written = finishWriting(true);
        if (!written.ok()) {
            m_storedGroups.reset();
            return written.error();
        }
        return true;
    }

    int64_t sessionID = 0;
    std::string text = changes.wholeText();
    m_storedSession.reset();
    m_storedGroups.reset();
    bool ok = sessionRowFor(numericUser, bookID, visitMarker(text), sessionID) && writeSessionGroups(sessionID, changes);
    auto written = finishWriting(ok);
    if (!written.ok()) {
        m_storedGroups.reset();
        return written.error();
    }
    if (m_storedGroups) {
        m_storedGroups->userID = numericUser;
        m_storedGroups->bookID = bookID;
    }
    return true;
}

bool SqliteDatabaseManager::writeSessionGroups(int64_t sessionID, const lectoro::TrackingChanges& changes)
{
    auto* clear = m_database->statement("DELETE FROM analytics_session_part WHERE session_id = ?1");
    if (!clear || !clear->bind(1, sessionID).run())
        return false;
    StoredSessionGroups stored;
    stored.sessionID = sessionID;
    auto write = [&](int64_t seq, const std::string& data) {
        auto* insert = m_database->statement("INSERT INTO analytics_session_part (session_id, seq, data) VALUES (?1, ?2, ?3)");
        return insert && insert->bind(1, sessionID).bind(2, seq).bind(3, data).run();
    };
    for (const auto& group : changes.groups) {
        if (group.entries.empty())
            continue;
        std::string opening = stored.lastParts.empty() ? "{" : ",";
        opening += base::toJson(base::Value(group.name));
        opening += ":[";
        opening += group.entries;
        if (!write(sessionGroupBase(group.index), opening) || !write(sessionGroupEnd(group.index), "]"))
            return false;
        stored.lastParts[group.index] = { sessionGroupBase(group.index), opening.size() };
    }
    if (stored.lastParts.empty())
        return true;
    if (!write(sessionTextEnd, "}"))
        return false;
    auto version = dataVersion();
    if (!version)
        return false;
    stored.dataVersion = *version;
    m_storedGroups = std::move(stored);
    return true;
}

bool SqliteDatabaseManager::appendSessionGroups(const lectoro::TrackingChanges& changes)
{
    auto& stored = *m_storedGroups;
    int64_t sessionID = stored.sessionID;
    for (const auto& group : changes.groups) {
        if (group.entries.empty())
            continue;
        auto last = stored.lastParts.find(group.index);
        if (last != stored.lastParts.end() && group.replaced) {
            // The name's run is written again (its few open and close events change in place).
            auto* clear = m_database->statement(
                "DELETE FROM analytics_session_part WHERE session_id = ?1 AND seq BETWEEN ?2 AND ?3");
            if (!clear || !clear->bind(1, sessionID).bind(2, sessionGroupBase(group.index))
                    .bind(3, sessionGroupEnd(group.index)).run())
                return false;
            stored.lastParts.erase(last);
            last = stored.lastParts.end();
        } else if (last == stored.lastParts.end() && !stored.lastParts.empty()
            && stored.lastParts.rbegin()->first > group.index) {
            // A name new to the visit comes after every name stored.
            return false;
        }
        if (last == stored.lastParts.end()) {
            bool first = stored.lastParts.empty() || stored.lastParts.begin()->first > group.index;
            std::string opening = (first ? "{" : ",") + base::toJson(base::Value(group.name)) + ":[" + group.entries;
            auto* insert = m_database->statement(
                "INSERT INTO analytics_session_part (session_id, seq, data) VALUES (?1, ?2, ?3), (?1, ?4, ']')");
            if (!insert || !insert->bind(1, sessionID).bind(2, sessionGroupBase(group.index)).bind(3, opening)
                    .bind(4, sessionGroupEnd(group.index)).run())
                return false;
            stored.lastParts[group.index] = { sessionGroupBase(group.index), opening.size() };
            continue;
        }
        auto& [seq, bytes] = last->second;
        std::string added = "," + group.entries;
        if (bytes + added.size() <= appendedPartSize) {
            auto* append = m_database->statement(
                "UPDATE analytics_session_part SET data = data || ?3 WHERE session_id = ?1 AND seq = ?2");
            if (!append || !append->bind(1, sessionID).bind(2, seq).bind(3, added).run() || m_database->changes() != 1)
                return false;
            bytes += added.size();
            continue;
        }
        if (seq + 1 >= sessionGroupEnd(group.index))
            return false;
        auto* insert = m_database->statement("INSERT INTO analytics_session_part (session_id, seq, data) VALUES (?1, ?2, ?3)");
        if (!insert || !insert->bind(1, sessionID).bind(2, seq + 1).bind(3, added).run())
            return false;
        seq += 1;
        bytes = added.size();
    }
    auto version = dataVersion();
    if (!version)
        return false;
    stored.dataVersion = *version;
    return true;
}

base::Value SqliteDatabaseManager::getReaderAnalyticsForUser(int64_t userID, const std::string& bookID)
{
    std::lock_guard lock(m_mutex);
    return analyticsSessions(false, userID, bookID);
}

base::Value SqliteDatabaseManager::analyticsSessions(bool unsyncedOnly, int64_t userID, const std::string& bookID)
{
    base::Value::Dictionary result;
    auto* sessions = m_database->statement(unsyncedOnly
            ? "SELECT id, data FROM analytics_session WHERE user_id = ?1 AND book_id = ?2 AND is_synced = 0 ORDER BY id"
            : "SELECT id, data FROM analytics_session WHERE user_id = ?1 AND book_id = ?2 ORDER BY id");
    if (!sessions) {
        recordFailure();
        return result;
    }
    sessions->bind(1, userID).bind(2, bookID);
    std::vector<std::pair<int64_t, std::string>> texts;
    while (sessions->step())
        texts.emplace_back(sessions->columnInteger(0), sessions->columnText(1));
    bool ok = sessions->ok();
    sessions->reset();

    for (auto& [sessionID, text] : texts) {
        if (!ok)
            break;
        auto* parts = m_database->statement("SELECT data FROM analytics_session_part WHERE session_id = ?1 ORDER BY seq");
        if (!parts) {
            ok = false;
            break;
        }
        parts->bind(1, sessionID);
        while (parts->step())
            text += parts->columnView(0);
        ok = parts->ok();
        parts->reset();
        result.set(std::to_string(sessionID), std::move(text));
    }
    recordOutcome(ok);
    return ok ? base::Value(std::move(result)) : base::Value(base::Value::Dictionary {});
}

} // namespace companion
