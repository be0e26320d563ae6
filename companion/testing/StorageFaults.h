#pragma once

// SQLite VFSs for tests, wrapping the system's own, that make storage fail the way devices
// do. Give a VFS's name to the store (StoreOptions::vfs, FrameworkOptions::storeVfs).
//
// PowerCutVfs keeps, per file, a journal of what was written since the file was last
// synced. At a chosen write it "cuts the power": that write and everything not yet synced
// is undone on disk, as if it had never reached the platter, and every later read, write,
// sync or delete through the VFS fails until reset(). A test then closes the store, opens
// the files again and checks what survived.
//
// The read-only VFS behaves like a read-only storage folder (a read-only mount), which
// cannot be had by changing permissions when tests run as root: files that exist open for
// reading only, new files cannot be created (errno EROFS), and writes and deletes fail.

#include <cstdint>
#include <memory>
#include <string>

namespace companion::testing {

class PowerCutVfs {
public:
    // Registers a VFS of this name (not as the default); unregisters it when destroyed.
    explicit PowerCutVfs(std::string name = "lectoro-power-cut");
    ~PowerCutVfs();
    PowerCutVfs(const PowerCutVfs&) = delete;
    PowerCutVfs& operator=(const PowerCutVfs&) = delete;

    const std::string& name() const;
    // The power goes at the `write`th write (counting from 1 since the last reset); 0 never.
    void cutAtWrite(int64_t write);
    // Cuts the power now.
    void cutNow();
    bool isPowerCut() const;
    // Writes made since the last reset.
    int64_t writes() const;
    // Power back on, counting from zero again; the journals of unsynced writes are dropped.
    void reset();

    struct State;

private:
    std::unique_ptr<State> m_state;
};

// The name of the read-only VFS, registered on first use.
const char* readOnlyVfsName();

} // namespace companion::testing
