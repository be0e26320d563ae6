#include "platform/base/Bundle.h"

#include "platform/base/FileManager.h"

#include <algorithm>
#include <filesystem>

namespace base {

namespace fs = std::filesystem;

namespace {

constexpr const char* languageFolderExtension = ".lproj";
const char* const developmentLanguageFolders[] = { "Base.lproj", "en.lproj" };

// A relative path that stays inside the folder it is joined to.
bool isContained(const std::string& relative)
{
    if (relative.empty())
        return true;
    fs::path path(relative);
    if (path.is_absolute() || relative.front() == '/')
        return false;
    return std::none_of(path.begin(), path.end(), [](const fs::path& part) { return part == ".."; });
}

std::string join(const std::string& root, const std::string& folder, const std::string& rest)
{
    fs::path path(root);
    if (!folder.empty())
        path /= folder;
    if (!rest.empty())
        path /= rest;
    return path.string();
}

std::string currentDirectory()
{
    std::error_code error;
    fs::path current = fs::current_path(error);
    return error ? std::string(".") : current.string();
}

std::string defaultLibraryBundlePath()
{
    std::error_code error;
#ifdef LECTORO_BUNDLE_DIR
    if (fs::is_directory(LECTORO_BUNDLE_DIR, error))
        return LECTORO_BUNDLE_DIR;
#endif
#ifdef LECTORO_RESOURCES_DIR
    return LECTORO_RESOURCES_DIR;
#else
    return currentDirectory();
#endif
}

} // namespace

Bundle::Bundle(std::string rootPath)
    : m_root(std::move(rootPath))
{
}

Bundle& Bundle::main()
{
    static Bundle* bundle = new Bundle(currentDirectory());
    return *bundle;
}

void Bundle::setMainBundlePath(std::string path)
{
    main().setRootPath(std::move(path));
}

Bundle& Bundle::library()
{
    static Bundle* bundle = new Bundle(defaultLibraryBundlePath());
    return *bundle;
}

void Bundle::setLibraryBundlePath(std::string path)
{
    library().setRootPath(path.empty() ? defaultLibraryBundlePath() : std::move(path));
}

std::string Bundle::rootPath() const
{
    std::lock_guard lock(m_mutex);
    return m_root;
}

void Bundle::setRootPath(std::string path)
{
    std::lock_guard lock(m_mutex);
    m_root = std::move(path);
    forgetTablesLocked();
}

void Bundle::forgetTablesLocked()
{
    m_tables.clear();
    m_lookupTables.clear();
}

std::vector<std::string> Bundle::searchFoldersLocked() const
{
    std::vector<std::string> folders;
    if (!m_language.empty() && isContained(m_language)) {
        std::string folder = m_language + languageFolderExtension;
        std::error_code error;
        if (fs::is_directory(join(m_root, folder, {}), error))
            folders.push_back(folder);
    }
    for (const char* folder : developmentLanguageFolders) {
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.emplace_back(folder);
    }
    return folders;
}

std::optional<std::string> Bundle::pathForResource(const std::string& name, const std::string& type) const
{
    return pathForResource(name, type, {});
}

std::optional<std::string> Bundle::pathForResource(
    const std::string& name, const std::string& type, const std::string& inDirectory) const
{
    if (name.empty() || !isContained(name) || !isContained(inDirectory))
        return std::nullopt;
    std::string extension = !type.empty() && type.front() == '.' ? type.substr(1) : type;
    if (!isContained(extension) || extension.find('/') != std::string::npos)
        return std::nullopt;
    std::string file = extension.empty() ? name : name + "." + extension;
    std::string relative = inDirectory.empty() ? file : join(inDirectory, {}, file);

    std::lock_guard lock(m_mutex);
    FileManager& files = FileManager::defaultManager();
    std::string inRoot = join(m_root, {}, relative);
    if (files.fileExists(inRoot))
        return inRoot;
    for (const auto& folder : searchFoldersLocked()) {
        std::string candidate = join(m_root, folder, relative);
        if (files.fileExists(candidate))
            return candidate;
    }
    return std::nullopt;
}

std::shared_ptr<const StringTable> Bundle::tableLocked(
    const std::string& folder, const std::string& table) const
{
    auto key = std::make_pair(folder, table);
    auto cached = m_tables.find(key);
    if (cached != m_tables.end())
        return cached->second;
    std::shared_ptr<const StringTable> loaded;
    if (auto bytes = FileManager::defaultManager().readFile(join(m_root, folder, table + ".strings")))
        loaded = std::make_shared<const StringTable>(StringTable::parse(*bytes));
    m_tables.emplace(std::move(key), loaded); // a missing file is remembered too
    return loaded;
}

const Bundle::LookupTables& Bundle::lookupTablesLocked(const std::string& table) const
{
    if (auto found = m_lookupTables.find(table); found != m_lookupTables.end())
        return found->second;
    LookupTables tables;
    if (isContained(table) && table.find('/') == std::string::npos) {
        std::vector<std::string> folders = searchFoldersLocked();
        folders.emplace_back(); // the root's own table comes last
        for (const auto& folder : folders) {
            if (auto strings = tableLocked(folder, table))
                tables.push_back(std::move(strings));
        }
    }
    return m_lookupTables.emplace(table, std::move(tables)).first->second;
}

std::string Bundle::localizedString(
    const std::string& key, const std::string& value, const std::string& table) const
{
    {
        std::lock_guard lock(m_mutex);
        for (const auto& strings : lookupTablesLocked(table.empty() ? std::string(defaultTable) : table)) {
            if (auto found = strings->lookup(key))
                return *found;
        }
    }
    return value.empty() ? key : value;
}

void Bundle::setLanguage(std::string code)
{
    std::lock_guard lock(m_mutex);
    m_language = std::move(code);
    // The tables a lookup reads depend on the language; the tables themselves stay loaded.
    m_lookupTables.clear();
}

std::string Bundle::language() const
{
    std::lock_guard lock(m_mutex);
    return m_language;
}

std::vector<std::string> Bundle::availableLanguages() const
{
    std::vector<std::string> languages;
    auto names = FileManager::defaultManager().contentsOfDirectory(rootPath());
    if (!names)
        return languages;
    const std::string extension = languageFolderExtension;
    std::string root = rootPath();
    for (const auto& name : *names) {
        if (name.size() <= extension.size()
            || name.compare(name.size() - extension.size(), extension.size(), extension))
            continue;
        bool isDirectory = false;
        if (FileManager::defaultManager().fileExists(join(root, name, {}), &isDirectory) && isDirectory)
            languages.push_back(name.substr(0, name.size() - extension.size()));
    }
    return languages; // already sorted: the names were
}

void Bundle::reloadStringTables()
{
    std::lock_guard lock(m_mutex);
    forgetTablesLocked();
}

} // namespace base
