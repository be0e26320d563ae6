#pragma once

// Small persistent settings: a dictionary of Values kept in an XML plist.
//
// Reads answer, in order, the value set, the registered default, or the type's zero.
// Reading coerces the way the platform does: integerForKey of the text "12" is 12,
// boolForKey of "YES" is true, stringForKey of the number 4 is "4".
//
// synchronize() writes the whole dictionary atomically (temporary file, then rename). A
// store with unwritten changes also writes itself when destroyed, so a change made
// without synchronize() is not lost when the process ends normally. Registered defaults
// are never written. A missing, unreadable or broken file loads as empty.
//
// Every operation is thread-safe.

#include "platform/base/Value.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace base {

class UserDefaults {
public:
    // The standard store's file is <Library>/Preferences/<standardDomain>.plist.
    static constexpr const char* standardDomain = "lectoro";

    static UserDefaults& standard();
    // Makes standard() answer this store; nullptr restores the real one. A store that is
    // replaced stays alive for the process, so references taken earlier stay valid.
    static void setStandardForTesting(std::shared_ptr<UserDefaults>);
    // <Library>/Preferences/<domain>.plist of the default file manager.
    static std::string preferencesPath(const std::string& domain);

    // Memory only.
    UserDefaults();
    // Loads the plist at the path (when it holds a dictionary) and writes back there.
    explicit UserDefaults(std::string plistPath);
    ~UserDefaults();
    UserDefaults(const UserDefaults&) = delete;
    UserDefaults& operator=(const UserDefaults&) = delete;

    std::optional<Value> objectForKey(const std::string& key) const;
    // Text as is; a number or bool as its "%@" text; anything else is absent.
    std::optional<std::string> stringForKey(const std::string& key) const;
    bool boolForKey(const std::string& key) const;
    int64_t integerForKey(const std::string& key) const;
    double doubleForKey(const std::string& key) const;
    std::optional<Value::List> listForKey(const std::string& key) const;
    std::optional<Value::Dictionary> dictionaryForKey(const std::string& key) const;

    // Setting a null Value removes the key.
    void setObject(const std::string& key, Value);
    void setString(const std::string& key, std::string);
    void setBool(const std::string& key, bool);
    void setInteger(const std::string& key, int64_t);
    void setDouble(const std::string& key, double);
    void removeObjectForKey(const std::string& key);

    // Merged into earlier registrations; answered only where nothing is set.
    void registerDefaults(const Value::Dictionary&);
    // Set values over registered ones.
    Value::Dictionary dictionaryRepresentation() const;

    // Writes the file (a memory-only store has nothing to write and succeeds). False
    // when the file could not be written; the values stay in memory either way.
    bool synchronize();
    size_t synchronizeCount() const;
    const std::string& path() const { return m_path; }

private:
    const Value* lookupLocked(const std::string& key) const;

    const std::string m_path;
    mutable std::mutex m_mutex;
    // Keeps writes in the order their snapshots were taken.
    std::mutex m_writeMutex;
    Value::Dictionary m_values;
    Value::Dictionary m_registered;
    bool m_dirty = false;
    size_t m_synchronizeCount = 0;
};

} // namespace base
