#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"

#include "LectoroSDKWithReader/foundation/SystemInformation.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "platform/base/Bundle.h"
#include "platform/base/FileManager.h"
#include "platform/base/Json.h"

#include <mutex>
#include <sys/stat.h>

namespace lectoro {

// One property's outcome of the lookup: not set at all (the member keeps its value), or set
// from a value that may be absent.
struct LXMVThemeVO::Resolved {
    bool set = false;
    const base::Value* value = nullptr;
};

namespace {

constexpr const char* defaultThemeFileName = "readerDefault_theme.json";

// Follows keys through nested objects. An intermediate that is not an object, and a JSON null
// leaf, count as "no value" so that the fallback document answers instead.
const base::Value* lookup(const base::Value* root, const ThemeKeyPath& path)
{
    const base::Value* current = root;
    for (auto& key : path) {
        if (!current)
            return nullptr;
        auto* dictionary = current->asDictionary();
        if (!dictionary)
            return nullptr;
        current = dictionary->find(key);
    }
    if (current && current->isNull())
        return nullptr;
    return current;
}

const base::Value* lookup(const base::Value* root, const std::optional<ThemeKeyPath>& path)
{
    if (!root || !path)
        return nullptr;
    return lookup(root, *path);
}

const base::Value* documentRoot(const std::optional<base::Value>& document)
{
    return document ? &*document : nullptr;
}

const base::Value* documentRoot(const std::shared_ptr<const base::Value>& document)
{
    return document.get();
}

ThemeValueColor toColor(const base::Value* value)
{
    if (!value)
        return std::nullopt;
    auto text = value->asString();
    if (!text)
        return std::nullopt;
    return UIColorExpanded::colorWithHexString(*text);
}

bool isNumeric(const base::Value& value)
{
    switch (value.type()) {
    case base::Value::Type::Bool:
    case base::Value::Type::Integer:
    case base::Value::Type::Double:
    case base::Value::Type::String:
        return true;
    default:
        return false;
    }
}

// The default theme is the same file for every reader screen of the process: it is parsed
// once and shared. A different path, or the file changed on disk (its modification time or
// size), parses it again.
std::shared_ptr<const base::Value> parsedDefaultTheme(const std::string& path, const struct stat& info)
{
    struct Cached {
        std::string path;
        struct timespec modified {};
        off_t size = -1;
        std::shared_ptr<const base::Value> json;
    };
    static std::mutex mutex;
    static Cached cached;

    std::lock_guard lock(mutex);
    if (cached.path == path && cached.size == info.st_size && cached.modified.tv_sec == info.st_mtim.tv_sec
        && cached.modified.tv_nsec == info.st_mtim.tv_nsec)
        return cached.json;
    std::shared_ptr<const base::Value> json;
    if (auto bytes = base::FileManager::defaultManager().readFile(path)) {
        if (auto parsed = base::parseJson(*bytes); parsed.ok())
            json = std::make_shared<const base::Value>(std::move(parsed.value()));
    }
    cached = { path, info.st_mtim, info.st_size, json };
    return json;
}

} // namespace

LXMVThemeVO::LXMVThemeVO()
{
    readDefaultThemeFile();
}

void LXMVThemeVO::readDefaultThemeFile()
{
    // One stat tells whether the USERS folder has its own default and whether it changed.
    std::string path = SystemInformation::getInstance().getUsersFolderPath() + "/" + defaultThemeFileName;
    struct stat info {};
    std::optional<std::string> chosen;
    if (::stat(path.c_str(), &info) == 0)
        chosen = path;
    else if ((chosen = base::Bundle::library().pathForResource("readerDefault_theme", "json")))
        chosen = ::stat(chosen->c_str(), &info) == 0 ? chosen : std::nullopt;
    m_defaultJson = chosen ? parsedDefaultTheme(*chosen, info) : nullptr;
}

void LXMVThemeVO::setDefaultJson(std::optional<base::Value> json)
{
    m_defaultJson = json ? std::make_shared<const base::Value>(std::move(*json)) : nullptr;
}

void LXMVThemeVO::updateThemeFromFileAtPath(const std::optional<std::string>& path)
{
    std::optional<std::string> bytes;
    if (path)
        bytes = base::FileManager::defaultManager().readFile(*path);
    if (!bytes || bytes->empty()) {
        makeDefaultTheme();
        return;
    }
    updateThemeFromContents(*bytes);
}

void LXMVThemeVO::updateThemeFromContents(std::string_view hostFileBytes)
{
    if (hostFileBytes.empty()) {
        makeDefaultTheme();
        return;
    }
    std::optional<base::Value> hostJson;
    if (auto parsed = base::parseJson(hostFileBytes); parsed.ok())
        hostJson = std::move(parsed.value());

    const base::Value* host = documentRoot(hostJson);
    const base::Value* fallback = documentRoot(m_defaultJson);
    auto& descriptors = themePropertyDescriptors();
    auto& keyPaths = themePropertyKeyPaths();

    std::vector<Resolved> resolved(descriptors.size());
    for (size_t i = 0; i < descriptors.size(); ++i) {
        auto& descriptor = descriptors[i];
        if (descriptor.kind == ThemeKind::Unset)
            continue;
        auto& family = themeFamilyPaths(descriptor.family);
        const base::Value* hostFamily = lookup(host, family.host);
        resolved[i].set = true;
        if (const base::Value* value = lookup(hostFamily, keyPaths[i])) {
            resolved[i].value = value;
            continue;
        }
        resolved[i].value = lookup(lookup(fallback, family.fallback), keyPaths[i]);
    }

    // The note text colour is chosen by the host's hint colour: a host that styles its hint
    // also styles its description; otherwise the default hint colour is used.
    static const size_t noteDescription = [] {
        auto& all = themePropertyDescriptors();
        for (size_t i = 0; i < all.size(); ++i) {
            if (std::string_view(all[i].name) == "note_description_color")
                return i;
        }
        return all.size();
    }();
    if (noteDescription < resolved.size()) {
        auto& family = themeFamilyPaths(ThemeFamily::Note);
        const base::Value* hostNote = lookup(host, family.host);
        if (lookup(hostNote, ThemeKeyPath { "hint_text-color" }))
            resolved[noteDescription].value = lookup(hostNote, ThemeKeyPath { "description-color" });
        else
            resolved[noteDescription].value = lookup(lookup(fallback, family.fallback), ThemeKeyPath { "hint_text-color" });
    }

    apply(resolved, 0.0);
}

void LXMVThemeVO::makeDefaultTheme()
{
    const base::Value* root = documentRoot(m_defaultJson);
    auto& descriptors = themePropertyDescriptors();
    auto& keyPaths = themePropertyKeyPaths();

    std::vector<Resolved> resolved(descriptors.size());
    for (size_t i = 0; i < descriptors.size(); ++i) {
        auto& descriptor = descriptors[i];
        if (descriptor.kind == ThemeKind::Unset)
            continue;
        auto& family = themeFamilyPaths(descriptor.family);
        if (!family.defaultOnly)
            continue;
        resolved[i].set = true;
        resolved[i].value = lookup(lookup(root, family.defaultOnly), keyPaths[i]);
    }
    apply(resolved, 0.45);
}

void LXMVThemeVO::apply(const std::vector<Resolved>& resolved, double absentOpacity)
{
    auto convertColor = [](const Resolved& r) { return toColor(r.value); };
    auto convertUnset = [](const Resolved&) { return ThemeValueUnset {}; };
    auto convertOpacity = [absentOpacity](const Resolved& r) -> double {
        if (!r.value || !isNumeric(*r.value))
            return absentOpacity;
        return r.value->doubleValue();
    };
    auto convertFloatOpacity = [absentOpacity](const Resolved& r) -> double {
        if (!r.value || !isNumeric(*r.value))
            return absentOpacity;
        return static_cast<double>(r.value->floatValue());
    };
    auto convertArray = [](const Resolved& r) -> ThemeValueArray {
        if (r.value) {
            if (auto* list = r.value->asList())
                return *list;
        }
        return base::Value::List {};
    };

    size_t index = 0;
#define LECTORO_THEME_PROPERTY(name, setter, kind, family, path) \
    if (resolved[index].set)                                     \
        m_##name = convert##kind(resolved[index]);               \
    ++index;
#include "LectoroSDKWithReader/foundation/ThemePropertyTable.h"
}

std::vector<ThemePropertyValue> LXMVThemeVO::allPropertyValues() const
{
    std::vector<ThemePropertyValue> values;
    values.reserve(themePropertyDescriptors().size());
#define LECTORO_THEME_PROPERTY(name, setter, kind, family, path) values.emplace_back(m_##name);
#include "LectoroSDKWithReader/foundation/ThemePropertyTable.h"
    return values;
}

std::optional<ThemePropertyValue> LXMVThemeVO::propertyValue(std::string_view name) const
{
#define LECTORO_THEME_PROPERTY(property, setter, kind, family, path) \
    if (name == #property)                                           \
        return ThemePropertyValue(m_##property);
#include "LectoroSDKWithReader/foundation/ThemePropertyTable.h"
    return std::nullopt;
}

} // namespace lectoro
