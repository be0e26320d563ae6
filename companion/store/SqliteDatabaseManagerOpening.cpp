// Opening the store: the storage folder, the database's own check, moving a damaged file
// aside, the stand-in for a store that cannot be opened, and the problem handler.

#include "companion/store/SqliteDatabaseManager.h"

#include "companion/store/SqliteDatabase.h"
#include "companion/store/StoreCleanClose.h"
#include "companion/store/StoreSchema.h"

#include <sqlite3.h>

#include <ctime>
#include <filesystem>
#include <system_error>

namespace companion {

using lectoro::YSDBManagerErrorCode;

namespace {

base::Error codedError(YSDBManagerErrorCode code, const std::string& description)
{
    return base::Error::make(storeErrorDomain, static_cast<int64_t>(code), description);
}

bool isDamaged(const base::Error& error)
{
    return error.domain == storeErrorDomain && error.code == static_cast<int64_t>(YSDBManagerErrorCode::Damaged);
}

std::string utcStamp()
{
    std::time_t now = std::time(nullptr);
    std::tm utc {};
    gmtime_r(&now, &utc);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y%m%d-%H%M%S", &utc);
    return buffer;
}

// Renames the database and its -wal and -shm files to "<stem>.damaged-<UTC time>[-n].sqlite…",
// so the kept file still opens with its log. Answers the new database path.
base::Result<std::string> moveAside(const std::filesystem::path& database)
{
    namespace fs = std::filesystem;
    std::string stem = database.stem().string() + ".damaged-" + utcStamp();
    fs::path kept;
    std::error_code error;
    for (int attempt = 1; attempt < 1000; ++attempt) {
        std::string suffix = attempt == 1 ? std::string() : "-" + std::to_string(attempt);
        kept = database.parent_path() / (stem + suffix + database.extension().string());
        if (!fs::exists(kept, error) && !fs::exists(kept.string() + "-wal", error))
            break;
    }
    fs::rename(database, kept, error);
    if (error) {
        return codedError(YSDBManagerErrorCode::Damaged,
            "The store at " + database.string() + " is damaged and cannot be moved aside: " + error.message());
    }
    for (const char* companionFile : { "-wal", "-shm" }) {
        fs::path from = database.string() + companionFile;
        if (fs::exists(from, error))
            fs::rename(from, kept.string() + companionFile, error);
    }
    return kept.string();
}

} // namespace

base::Result<std::shared_ptr<SqliteDatabaseManager>> SqliteDatabaseManager::open(const std::string& storageRoot,
    const StoreOptions& options)
{
    if (storageRoot.empty())
        return codedError(YSDBManagerErrorCode::Unusable, "No storage folder was given for the store");
    std::error_code error;
    std::filesystem::create_directories(storageRoot, error);
    if (error || !std::filesystem::is_directory(storageRoot, error)) {
        std::string cause = error ? error.message() : std::string("it is not a folder");
        auto code = error == std::errc::read_only_file_system || error == std::errc::permission_denied
            ? YSDBManagerErrorCode::ReadOnly
            : YSDBManagerErrorCode::Unusable;
        return codedError(code, "The storage folder " + storageRoot + " cannot be used: " + cause);
    }
    auto path = std::filesystem::path(storageRoot) / storeFileName;
    // Read before the connection opens: opening makes the log.
    bool closedCleanly = wasClosedCleanly(path.string());
    auto opened = openAt(path.string(), options, !closedCleanly);
    if (opened.ok() || !isDamaged(opened.error()))
        return opened;

    // Writing into a damaged file spreads the damage; keep it for recovery and start anew.
    auto kept = moveAside(path);
    if (!kept.ok())
        return kept.error();
    auto fresh = openAt(path.string(), options, true);
    if (!fresh.ok())
        return fresh.error();
    auto notice = codedError(YSDBManagerErrorCode::ReplacedDamaged,
        "The store was damaged (" + opened.error().localizedDescription() + "); it was kept as " + kept.value()
            + " and a new, empty store was started");
    if (auto* info = notice.userInfo.asDictionary())
        info->set("keptPath", kept.value());
    auto& store = *fresh.value();
    store.m_openingProblem = notice;
    store.m_openingProblemPending = true;
    return fresh;
}

base::Result<std::shared_ptr<SqliteDatabaseManager>> SqliteDatabaseManager::openInMemory()
{
    return openAt(":memory:", {}, false);
}

std::shared_ptr<SqliteDatabaseManager> SqliteDatabaseManager::openUnusable(base::Error cause)
{
    auto opened = openAt(":memory:", {}, false);
    if (!opened.ok())
        return nullptr;
    auto store = opened.value();
    // Reads answer nothing; any write SQLite is asked for fails.
    store->m_database->execute("PRAGMA query_only = 1");
    store->m_unusable = cause;
    store->m_openingProblem = cause;
    store->m_openingProblemPending = true;
    return store;
}

base::Result<std::shared_ptr<SqliteDatabaseManager>> SqliteDatabaseManager::openAt(const std::string& path,
    const StoreOptions& options, bool checkFile)
{
    auto database = SqliteDatabase::open(path, options.vfs);
    if (!database.ok())
        return database.error();
    auto& db = *database.value();
    std::string what = "The store at " + path + " cannot be opened";
    auto readOnly = [&] { return storeError(SQLITE_READONLY, 0, what, "the file can only be read"); };
    if (path != ":memory:") {
        if (db.isReadOnly())
            return readOnly();
        // WAL keeps readers and the writer apart; FULL syncs the log at every commit, so a
        // save survives a crash or a power cut once it has returned.
        auto* mode = db.statement("PRAGMA journal_mode = WAL");
        if (!mode || !mode->step())
            return db.lastError(what);
        std::string journal = mode->columnText(0);
        mode->reset();
        if (db.isReadOnly())
            return readOnly();
        if (journal != "wal")
            return codedError(YSDBManagerErrorCode::Unusable, what + ": it cannot use write-ahead logging");
    }
    const char* synchronous = options.durable ? "PRAGMA synchronous = FULL" : "PRAGMA synchronous = OFF";
    if (!db.execute(synchronous) || !db.execute("PRAGMA foreign_keys = ON"))
        return db.lastError(what);
    // A book's annotations are read whole when it opens and page by page on every turn:
    // 16 MB of cached pages keep ten thousand of each in memory instead of reading them
    // back from the file at each query (the default 2 MB is smaller than such a book's rows).
    if (!db.execute("PRAGMA cache_size = -16384"))
        return db.lastError(what);
    // The file's pages are read where the system keeps them instead of being copied into
    // the cache: a new process's first read of a book's list then needs no fresh memory for
    // them (filling 16 MB of cache first touched cost more than SQLite's whole step). Writes
    // still go through the log. The store never makes its file smaller (no vacuum), so a
    // mapped page cannot be cut away beneath a reader.
    if (!db.execute("PRAGMA mmap_size = 268435456"))
        return db.lastError(what);

    // A damaged page must be found before anything is written next to it. A file closed
    // cleanly and unchanged since is as sound as when it was last checked; any other (a crash
    // left its log, something wrote to it while closed, it is new) is read through first.
    if (checkFile) {
        auto* check = db.statement("PRAGMA quick_check(1)");
        if (!check)
            return db.lastError(what);
        bool answered = check->step();
        if (!check->ok())
            return db.lastError(what);
        std::string verdict = answered ? check->columnText(0) : std::string();
        check->reset();
        if (verdict != "ok")
            return codedError(YSDBManagerErrorCode::Damaged, what + ": the file is damaged (" + verdict + ")");
    }
    bool isFile = path != ":memory:";
    if (isFile)
        forgetCleanClose(path);

    auto migrated = migrateStoreSchema(db);
    if (!migrated.ok())
        return migrated.error();
    auto store = std::shared_ptr<SqliteDatabaseManager>(new SqliteDatabaseManager(std::move(database.value()), path));
    store->m_checkedOnOpening = checkFile;
    store->m_marksCleanClose = isFile;
    store->m_syncsCommits = options.durable;
    return store;
}

std::optional<base::Error> SqliteDatabaseManager::openingProblem() const
{
    std::lock_guard lock(m_mutex);
    return m_openingProblem;
}

std::optional<base::Error> SqliteDatabaseManager::unusableCause() const
{
    std::lock_guard lock(m_mutex);
    return m_unusable;
}

void SqliteDatabaseManager::setProblemHandler(std::function<void(const base::Error&)> handler)
{
    std::optional<base::Error> pending;
    {
        std::lock_guard lock(m_mutex);
        m_problemHandler = handler;
        if (handler && m_openingProblemPending) {
            m_openingProblemPending = false;
            pending = m_openingProblem;
        }
    }
    if (pending)
        handler(*pending);
}

} // namespace companion
