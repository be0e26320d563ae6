#include "companion/testing/StorageFaults.h"

#include <sqlite3.h>

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <new>
#include <unistd.h>
#include <vector>

namespace companion::testing {

namespace {

// What a write or truncation replaced, to put back when the power goes before a sync.
struct Undo {
    sqlite3_int64 offset;
    std::string oldBytes;
    sqlite3_int64 oldSize;
};

struct WrappedFile;

} // namespace

struct PowerCutVfs::State {
    sqlite3_vfs vfs {};
    sqlite3_vfs* system = nullptr;
    std::string name;
    bool readOnly = false;

    std::recursive_mutex mutex;
    int64_t writes = 0;
    int64_t cutAt = 0;
    bool powerCut = false;
    int lastErrno = 0;
    std::map<std::string, std::vector<Undo>> journals;
    std::multimap<std::string, WrappedFile*> openFiles;

    void cutPower();
};

namespace {

using State = PowerCutVfs::State;

struct WrappedFile {
    sqlite3_file file; // first: SQLite sees this
    State* state = nullptr;
    std::string path;
    // A file whose contents must survive a power cut only once synced (database, log,
    // journal); temporary files are not tracked.
    bool tracked = false;
    sqlite3_file* real = nullptr;
};

constexpr int wrappedSize = static_cast<int>((sizeof(WrappedFile) + 15) / 16 * 16);

WrappedFile& wrapped(sqlite3_file* file)
{
    return *reinterpret_cast<WrappedFile*>(file);
}

sqlite3_file* realOf(sqlite3_file* file)
{
    return wrapped(file).real;
}

// The file's bytes in [offset, offset + amount) that exist, and its size.
Undo undoFor(sqlite3_file* real, sqlite3_int64 offset, sqlite3_int64 amount)
{
    Undo undo { offset, {}, 0 };
    real->pMethods->xFileSize(real, &undo.oldSize);
    sqlite3_int64 available = std::min(amount, undo.oldSize - offset);
    if (available > 0) {
        undo.oldBytes.resize(static_cast<size_t>(available));
        real->pMethods->xRead(real, undo.oldBytes.data(), static_cast<int>(available), offset);
    }
    return undo;
}

void applyUndo(int fd, const Undo& undo)
{
    if (!undo.oldBytes.empty())
        (void)!::pwrite(fd, undo.oldBytes.data(), undo.oldBytes.size(), undo.offset);
    (void)!::ftruncate(fd, undo.oldSize);
}

void applyUndo(sqlite3_file* real, const Undo& undo)
{
    if (!undo.oldBytes.empty())
        real->pMethods->xWrite(real, undo.oldBytes.data(), static_cast<int>(undo.oldBytes.size()), undo.offset);
    real->pMethods->xTruncate(real, undo.oldSize);
}

// --- The file's methods ---

int fileClose(sqlite3_file* file)
{
    auto& self = wrapped(file);
    int result = SQLITE_OK;
    if (self.real->pMethods)
        result = self.real->pMethods->xClose(self.real);
    {
        std::lock_guard lock(self.state->mutex);
        auto range = self.state->openFiles.equal_range(self.path);
        for (auto it = range.first; it != range.second; ++it) {
            if (it->second == &self) {
                self.state->openFiles.erase(it);
                break;
            }
        }
    }
    self.~WrappedFile();
    return result;
}

int fileRead(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset)
{
    auto& self = wrapped(file);
    {
        std::lock_guard lock(self.state->mutex);
        if (self.state->powerCut)
            return SQLITE_IOERR_READ;
    }
    return self.real->pMethods->xRead(self.real, buffer, amount, offset);
}

int fileWrite(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset)
{
    auto& self = wrapped(file);
    State& state = *self.state;
    std::lock_guard lock(state.mutex);
    if (state.readOnly && self.tracked) {
        state.lastErrno = EROFS;
        return SQLITE_IOERR_WRITE;
    }
    if (state.powerCut)
        return SQLITE_IOERR_WRITE;
    ++state.writes;
    if (state.cutAt > 0 && state.writes == state.cutAt) {
        state.cutPower();
        return SQLITE_IOERR_WRITE;
    }
    if (self.tracked)
        state.journals[self.path].push_back(undoFor(self.real, offset, amount));
    return self.real->pMethods->xWrite(self.real, buffer, amount, offset);
}

int fileTruncate(sqlite3_file* file, sqlite3_int64 size)
{
    auto& self = wrapped(file);
    State& state = *self.state;
    std::lock_guard lock(state.mutex);
    if (state.readOnly && self.tracked) {
        state.lastErrno = EROFS;
        return SQLITE_IOERR_TRUNCATE;
    }
    if (state.powerCut)
        return SQLITE_IOERR_TRUNCATE;
    if (self.tracked) {
        sqlite3_int64 oldSize = 0;
        self.real->pMethods->xFileSize(self.real, &oldSize);
        if (oldSize > size)
            state.journals[self.path].push_back(undoFor(self.real, size, oldSize - size));
    }
    return self.real->pMethods->xTruncate(self.real, size);
}

int fileSync(sqlite3_file* file, int flags)
{
    auto& self = wrapped(file);
    State& state = *self.state;
    std::lock_guard lock(state.mutex);
    if (state.powerCut)
        return SQLITE_IOERR_FSYNC;
    // What counts as on disk is this VFS's own account, so the device's sync is skipped:
    // a test may cut the power hundreds of times.
    (void)flags;
    state.journals.erase(self.path);
    return SQLITE_OK;
}

int fileSize(sqlite3_file* file, sqlite3_int64* size)
{
    return realOf(file)->pMethods->xFileSize(realOf(file), size);
}

int fileLock(sqlite3_file* file, int level)
{
    return realOf(file)->pMethods->xLock(realOf(file), level);
}

int fileUnlock(sqlite3_file* file, int level)
{
    return realOf(file)->pMethods->xUnlock(realOf(file), level);
}

int fileCheckReservedLock(sqlite3_file* file, int* result)
{
    return realOf(file)->pMethods->xCheckReservedLock(realOf(file), result);
}

int fileControl(sqlite3_file* file, int operation, void* argument)
{
    return realOf(file)->pMethods->xFileControl(realOf(file), operation, argument);
}

int fileSectorSize(sqlite3_file* file)
{
    return realOf(file)->pMethods->xSectorSize(realOf(file));
}

int fileDeviceCharacteristics(sqlite3_file* file)
{
    return realOf(file)->pMethods->xDeviceCharacteristics(realOf(file));
}

int fileShmMap(sqlite3_file* file, int region, int size, int extend, void volatile** map)
{
    return realOf(file)->pMethods->xShmMap(realOf(file), region, size, extend, map);
}

int fileShmLock(sqlite3_file* file, int offset, int count, int flags)
{
    return realOf(file)->pMethods->xShmLock(realOf(file), offset, count, flags);
}

void fileShmBarrier(sqlite3_file* file)
{
    realOf(file)->pMethods->xShmBarrier(realOf(file));
}

int fileShmUnmap(sqlite3_file* file, int deleteFlag)
{
    return realOf(file)->pMethods->xShmUnmap(realOf(file), deleteFlag);
}

// Memory-mapped reads would bypass the journal; SQLite falls back to reads without them.
int fileFetch(sqlite3_file*, sqlite3_int64, int, void** pointer)
{
    *pointer = nullptr;
    return SQLITE_OK;
}

int fileUnfetch(sqlite3_file*, sqlite3_int64, void*)
{
    return SQLITE_OK;
}

const sqlite3_io_methods fileMethods = {
    3,
    fileClose,
    fileRead,
    fileWrite,
    fileTruncate,
    fileSync,
    fileSize,
    fileLock,
    fileUnlock,
    fileCheckReservedLock,
    fileControl,
    fileSectorSize,
    fileDeviceCharacteristics,
    fileShmMap,
    fileShmLock,
    fileShmBarrier,
    fileShmUnmap,
    fileFetch,
    fileUnfetch,
};

// --- The VFS's methods ---

State& stateOf(sqlite3_vfs* vfs)
{
    return *static_cast<State*>(vfs->pAppData);
}

int vfsOpen(sqlite3_vfs* vfs, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags)
{
    State& state = stateOf(vfs);
    file->pMethods = nullptr;
    auto* self = new (file) WrappedFile {};
    self->file.pMethods = nullptr;
    self->state = &state;
    self->path = name ? name : "";
    self->tracked = name && (flags & (SQLITE_OPEN_MAIN_DB | SQLITE_OPEN_WAL | SQLITE_OPEN_MAIN_JOURNAL | SQLITE_OPEN_SUPER_JOURNAL));
    self->real = reinterpret_cast<sqlite3_file*>(reinterpret_cast<char*>(file) + wrappedSize);
    self->real->pMethods = nullptr;

    int openFlags = flags;
    {
        std::lock_guard lock(state.mutex);
        bool refused = state.powerCut;
        if (state.readOnly && self->tracked) {
            int exists = 0;
            state.system->xAccess(state.system, name, SQLITE_ACCESS_EXISTS, &exists);
            refused = refused || !exists;
            openFlags = (flags & ~(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_DELETEONCLOSE))
                | SQLITE_OPEN_READONLY;
        }
        if (refused) {
            state.lastErrno = EROFS;
            self->~WrappedFile();
            return SQLITE_CANTOPEN;
        }
    }
    int result = state.system->xOpen(state.system, name, self->real, openFlags, outFlags);
    if (result != SQLITE_OK) {
        self->~WrappedFile();
        file->pMethods = nullptr;
        return result;
    }
    self->file.pMethods = &fileMethods;
    std::lock_guard lock(state.mutex);
    state.openFiles.emplace(self->path, self);
    return SQLITE_OK;
}

int vfsDelete(sqlite3_vfs* vfs, const char* name, int syncDirectory)
{
    State& state = stateOf(vfs);
    {
        std::lock_guard lock(state.mutex);
        if (state.readOnly) {
            state.lastErrno = EROFS;
            return SQLITE_IOERR_DELETE;
        }
        if (state.powerCut)
            return SQLITE_IOERR_DELETE;
        state.journals.erase(name);
    }
    return state.system->xDelete(state.system, name, syncDirectory);
}

int vfsAccess(sqlite3_vfs* vfs, const char* name, int flags, int* result)
{
    State& state = stateOf(vfs);
    if (state.readOnly && flags == SQLITE_ACCESS_READWRITE) {
        *result = 0;
        return SQLITE_OK;
    }
    return state.system->xAccess(state.system, name, flags, result);
}

int vfsFullPathname(sqlite3_vfs* vfs, const char* name, int size, char* out)
{
    return stateOf(vfs).system->xFullPathname(stateOf(vfs).system, name, size, out);
}

void* vfsDlOpen(sqlite3_vfs* vfs, const char* name)
{
    return stateOf(vfs).system->xDlOpen(stateOf(vfs).system, name);
}

void vfsDlError(sqlite3_vfs* vfs, int size, char* message)
{
    stateOf(vfs).system->xDlError(stateOf(vfs).system, size, message);
}

void (*vfsDlSym(sqlite3_vfs* vfs, void* handle, const char* symbol))(void)
{
    return stateOf(vfs).system->xDlSym(stateOf(vfs).system, handle, symbol);
}

void vfsDlClose(sqlite3_vfs* vfs, void* handle)
{
    stateOf(vfs).system->xDlClose(stateOf(vfs).system, handle);
}

int vfsRandomness(sqlite3_vfs* vfs, int size, char* out)
{
    return stateOf(vfs).system->xRandomness(stateOf(vfs).system, size, out);
}

int vfsSleep(sqlite3_vfs* vfs, int microseconds)
{
    return stateOf(vfs).system->xSleep(stateOf(vfs).system, microseconds);
}

int vfsCurrentTime(sqlite3_vfs* vfs, double* now)
{
    return stateOf(vfs).system->xCurrentTime(stateOf(vfs).system, now);
}

int vfsCurrentTimeInt64(sqlite3_vfs* vfs, sqlite3_int64* now)
{
    return stateOf(vfs).system->xCurrentTimeInt64(stateOf(vfs).system, now);
}

// SQLite reads the errno behind an I/O failure from here.
int vfsGetLastError(sqlite3_vfs* vfs, int size, char* message)
{
    State& state = stateOf(vfs);
    {
        std::lock_guard lock(state.mutex);
        if (state.lastErrno != 0)
            return state.lastErrno;
    }
    return state.system->xGetLastError(state.system, size, message);
}

void setUp(State& state, std::string name, bool readOnly)
{
    state.system = sqlite3_vfs_find(nullptr);
    state.name = std::move(name);
    state.readOnly = readOnly;
    sqlite3_vfs& vfs = state.vfs;
    vfs.iVersion = 2;
    vfs.szOsFile = wrappedSize + state.system->szOsFile;
    vfs.mxPathname = state.system->mxPathname;
    vfs.zName = state.name.c_str();
    vfs.pAppData = &state;
    vfs.xOpen = vfsOpen;
    vfs.xDelete = vfsDelete;
    vfs.xAccess = vfsAccess;
    vfs.xFullPathname = vfsFullPathname;
    vfs.xDlOpen = vfsDlOpen;
    vfs.xDlError = vfsDlError;
    vfs.xDlSym = vfsDlSym;
    vfs.xDlClose = vfsDlClose;
    vfs.xRandomness = vfsRandomness;
    vfs.xSleep = vfsSleep;
    vfs.xCurrentTime = vfsCurrentTime;
    vfs.xGetLastError = vfsGetLastError;
    vfs.xCurrentTimeInt64 = vfsCurrentTimeInt64;
    sqlite3_vfs_register(&vfs, 0);
}

} // namespace

void PowerCutVfs::State::cutPower()
{
    powerCut = true;
    for (auto& [path, undos] : journals) {
        auto open = openFiles.find(path);
        int fd = -1;
        if (open == openFiles.end()) {
            fd = ::open(path.c_str(), O_RDWR);
            if (fd < 0)
                continue;
        }
        for (auto undo = undos.rbegin(); undo != undos.rend(); ++undo) {
            if (fd >= 0)
                applyUndo(fd, *undo);
            else
                applyUndo(open->second->real, *undo);
        }
        if (fd >= 0)
            ::close(fd);
    }
    journals.clear();
}

PowerCutVfs::PowerCutVfs(std::string name)
    : m_state(std::make_unique<State>())
{
    setUp(*m_state, std::move(name), false);
}

PowerCutVfs::~PowerCutVfs()
{
    sqlite3_vfs_unregister(&m_state->vfs);
}

const std::string& PowerCutVfs::name() const
{
    return m_state->name;
}

void PowerCutVfs::cutAtWrite(int64_t write)
{
    std::lock_guard lock(m_state->mutex);
    m_state->cutAt = write;
}

void PowerCutVfs::cutNow()
{
    std::lock_guard lock(m_state->mutex);
    m_state->cutPower();
}

bool PowerCutVfs::isPowerCut() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->powerCut;
}

int64_t PowerCutVfs::writes() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->writes;
}

void PowerCutVfs::reset()
{
    std::lock_guard lock(m_state->mutex);
    m_state->writes = 0;
    m_state->cutAt = 0;
    m_state->powerCut = false;
    m_state->journals.clear();
}

const char* readOnlyVfsName()
{
    static State* state = [] {
        auto* made = new State();
        setUp(*made, "lectoro-read-only", true);
        return made;
    }();
    return state->name.c_str();
}

} // namespace companion::testing
