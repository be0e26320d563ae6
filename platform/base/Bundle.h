#pragma once

// A folder of resources with optional per-language subfolders ("fr.lproj").
//
// Resources are looked up in the bundle's root first, then in the folder of the bundle's
// current language, then in the development-language folders "Base.lproj" and
// "en.lproj". With no language chosen (the default) only the development languages are
// used.
//
// Localised strings come from "<table>.strings" files read with StringTable, each
// loaded once per (language folder, table) and cached, with the list of tables a lookup
// in a table reads (a lookup is then a few hash lookups, with no file system call). A key missing from the
// current language's table is looked up in the development-language tables, then in a table in the root, and
// only then answers the default value (or, when that is empty, the key).
//
// Names with ".." components or absolute paths never leave the bundle: they are not
// found. Every operation is thread-safe.

#include "platform/base/StringTable.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace base {

class Bundle {
public:
    static constexpr const char* defaultTable = "Localizable";

    explicit Bundle(std::string rootPath);
    Bundle(const Bundle&) = delete;
    Bundle& operator=(const Bundle&) = delete;

    // The host's bundle: the current directory unless set.
    static Bundle& main();
    static void setMainBundlePath(std::string);
    // The library's own resources: the built bundle folder when it exists, else the
    // source resources folder.
    static Bundle& library();
    static void setLibraryBundlePath(std::string);

    std::string rootPath() const;
    // Also forgets cached string tables.
    void setRootPath(std::string);

    // "name.type" (just "name" when the type is empty; a leading dot on the type is
    // allowed). Folders count as resources too.
    std::optional<std::string> pathForResource(const std::string& name, const std::string& type) const;
    std::optional<std::string> pathForResource(
        const std::string& name, const std::string& type, const std::string& inDirectory) const;

    std::string localizedString(
        const std::string& key, const std::string& value = {}, const std::string& table = {}) const;

    // Takes effect for every later lookup; a code without a folder falls back to the
    // development languages. An empty code goes back to no choice.
    void setLanguage(std::string code);
    std::string language() const;
    // The names of the ".lproj" folders without the extension, sorted.
    std::vector<std::string> availableLanguages() const;

    // Drops cached string tables, so edited files (and language folders made since) are
    // read again.
    void reloadStringTables();

private:
    std::vector<std::string> searchFoldersLocked() const;
    std::shared_ptr<const StringTable> tableLocked(const std::string& folder, const std::string& table) const;
    using LookupTables = std::vector<std::shared_ptr<const StringTable>>;
    const LookupTables& lookupTablesLocked(const std::string& table) const;
    void forgetTablesLocked();

    mutable std::mutex m_mutex;
    std::string m_root;
    std::string m_language;
    mutable std::map<std::pair<std::string, std::string>, std::shared_ptr<const StringTable>> m_tables;
    // By table name: the tables a lookup reads, in order (language, development, root).
    mutable std::unordered_map<std::string, LookupTables> m_lookupTables;
};

} // namespace base
