#include "platform/base/UserDefaults.h"

#include "platform/base/FileManager.h"
#include "platform/base/Plist.h"

#include <filesystem>
#include <utility>
#include <vector>

namespace base {

namespace {

struct StandardSlot {
    std::mutex mutex;
    std::shared_ptr<UserDefaults> replacement;
    std::vector<std::shared_ptr<UserDefaults>> retired;
};

StandardSlot& standardSlot()
{
    static StandardSlot slot;
    return slot;
}

Value::Dictionary loadDictionary(const std::string& path)
{
    if (path.empty())
        return {};
    auto text = FileManager::defaultManager().readFile(path);
    if (!text)
        return {};
    auto parsed = parsePlist(*text);
    if (!parsed.ok())
        return {};
    if (const auto* dictionary = parsed.value().asDictionary())
        return *dictionary;
    return {};
}

} // namespace

UserDefaults& UserDefaults::standard()
{
    StandardSlot& slot = standardSlot();
    std::lock_guard lock(slot.mutex);
    if (slot.replacement)
        return *slot.replacement;
    // Destroyed at exit, which writes any change nobody synchronised.
    static std::shared_ptr<UserDefaults> real
        = std::make_shared<UserDefaults>(preferencesPath(standardDomain));
    return *real;
}

void UserDefaults::setStandardForTesting(std::shared_ptr<UserDefaults> defaults)
{
    StandardSlot& slot = standardSlot();
    std::lock_guard lock(slot.mutex);
    if (slot.replacement)
        slot.retired.push_back(std::move(slot.replacement));
    slot.replacement = std::move(defaults);
}

std::string UserDefaults::preferencesPath(const std::string& domain)
{
    namespace fs = std::filesystem;
    return (fs::path(FileManager::defaultManager().libraryDirectory()) / "Preferences" / (domain + ".plist"))
        .string();
}

UserDefaults::UserDefaults() = default;

UserDefaults::UserDefaults(std::string plistPath)
    : m_path(std::move(plistPath))
    , m_values(loadDictionary(m_path))
{
}

UserDefaults::~UserDefaults()
{
    bool dirty;
    {
        std::lock_guard lock(m_mutex);
        dirty = m_dirty;
    }
    if (dirty && !m_path.empty())
        synchronize();
}

const Value* UserDefaults::lookupLocked(const std::string& key) const
{
    if (const Value* set = m_values.find(key))
        return set;
    return m_registered.find(key);
}

std::optional<Value> UserDefaults::objectForKey(const std::string& key) const
{
    std::lock_guard lock(m_mutex);
    if (const Value* value = lookupLocked(key))
        return *value;
    return std::nullopt;
}

std::optional<std::string> UserDefaults::stringForKey(const std::string& key) const
{
    std::lock_guard lock(m_mutex);
    const Value* value = lookupLocked(key);
    if (!value)
        return std::nullopt;
    if (const std::string* text = value->stringPointer())
        return *text;
    if (value->isNumber() || value->isBool())
        return value->description();
    return std::nullopt;
}

bool UserDefaults::boolForKey(const std::string& key) const
{
    std::lock_guard lock(m_mutex);
    const Value* value = lookupLocked(key);
    return value && value->boolValue();
}

int64_t UserDefaults::integerForKey(const std::string& key) const
{
    std::lock_guard lock(m_mutex);
    const Value* value = lookupLocked(key);
    return value ? value->integerValue() : 0;
}

double UserDefaults::doubleForKey(const std::string& key) const
{
    std::lock_guard lock(m_mutex);
    const Value* value = lookupLocked(key);
    return value ? value->doubleValue() : 0;
}

std::optional<Value::List> UserDefaults::listForKey(const std::string& key) const
{
    std::lock_guard lock(m_mutex);
    const Value* value = lookupLocked(key);
    if (!value || !value->asList())
        return std::nullopt;
    return *value->asList();
}

std::optional<Value::Dictionary> UserDefaults::dictionaryForKey(const std::string& key) const
{
    std::lock_guard lock(m_mutex);
    const Value* value = lookupLocked(key);
    if (!value || !value->asDictionary())
        return std::nullopt;
    return *value->asDictionary();
}

void UserDefaults::setObject(const std::string& key, Value value)
{
    if (value.isNull()) {
        removeObjectForKey(key);
        return;
    }
    std::lock_guard lock(m_mutex);
    m_values.set(key, std::move(value));
    m_dirty = true;
}

void UserDefaults::setString(const std::string& key, std::string value)
{
    setObject(key, Value(std::move(value)));
}

void UserDefaults::setBool(const std::string& key, bool value)
{
    setObject(key, Value(value));
}

void UserDefaults::setInteger(const std::string& key, int64_t value)
{
    setObject(key, Value(value));
}

void UserDefaults::setDouble(const std::string& key, double value)
{
    setObject(key, Value(value));
}

void UserDefaults::removeObjectForKey(const std::string& key)
{
    std::lock_guard lock(m_mutex);
    if (m_values.remove(key))
        m_dirty = true;
}

void UserDefaults::registerDefaults(const Value::Dictionary& defaults)
{
    std::lock_guard lock(m_mutex);
    for (const auto& [key, value] : defaults)
        m_registered.set(key, value);
}

Value::Dictionary UserDefaults::dictionaryRepresentation() const
{
    std::lock_guard lock(m_mutex);
    Value::Dictionary merged = m_registered;
    for (const auto& [key, value] : m_values)
        merged.set(key, value);
    return merged;
}

bool UserDefaults::synchronize()
{
    std::lock_guard writeLock(m_writeMutex);
    std::string plist;
    {
        std::lock_guard lock(m_mutex);
        ++m_synchronizeCount;
        if (m_path.empty()) {
            m_dirty = false;
            return true;
        }
        plist = toPlist(Value(m_values));
        m_dirty = false;
    }
    FileManager& files = FileManager::defaultManager();
    std::string folder = std::filesystem::path(m_path).parent_path().string();
    if (!folder.empty())
        files.createDirectory(folder, true);
    if (files.writeFileAtomically(m_path, plist))
        return true;
    std::lock_guard lock(m_mutex);
    m_dirty = true; // still unwritten: try again on the next synchronize or at the end
    return false;
}

size_t UserDefaults::synchronizeCount() const
{
    std::lock_guard lock(m_mutex);
    return m_synchronizeCount;
}

} // namespace base
