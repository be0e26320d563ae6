#include "LectoroSDKWithReader/readingaids/ImmersiveReaderRecords.h"

#include "platform/base/Json.h"

namespace lectoro {

namespace {

template <typename T>
void setIfPresent(base::Value::Dictionary& object, const char* key, const std::optional<T>& value)
{
    if (value)
        object.set(key, base::Value(*value));
}

template <typename Record>
void setIfPresent(base::Value::Dictionary& object, const char* key, const std::shared_ptr<Record>& record)
{
    if (record)
        object.set(key, record->encode());
}

} // namespace

base::Value Chunk::encode() const
{
    base::Value::Dictionary object;
    object.set("content", content);
    setIfPresent(object, "lang", lang);
    setIfPresent(object, "mimeType", mimeType);
    return base::Value(std::move(object));
}

base::Value Content::encode() const
{
    base::Value::Dictionary object;
    object.set("title", title);
    base::Value::List list;
    for (const auto& chunk : chunks) {
        // A null entry has nothing to say; writing it as null would break the page's reading.
        if (chunk)
            list.push_back(chunk->encode());
    }
    object.set("chunks", base::Value(std::move(list)));
    return base::Value(std::move(object));
}

std::optional<CookiePolicy> cookiePolicyFromString(const std::string& text)
{
    if (text == "Disable")
        return CookiePolicy::Disable;
    if (text == "Enable")
        return CookiePolicy::Enable;
    return std::nullopt;
}

std::string cookiePolicyString(CookiePolicy policy)
{
    return policy == CookiePolicy::Enable ? "Enable" : "Disable";
}

base::Value ReadAloudOptions::encode() const
{
    base::Value::Dictionary object;
    object.set("voice", voice);
    setIfPresent(object, "speed", speed);
    setIfPresent(object, "autoplay", autoplay);
    return base::Value(std::move(object));
}

base::Value TranslationOptions::encode() const
{
    base::Value::Dictionary object;
    setIfPresent(object, "language", language);
    setIfPresent(object, "autoEnableDocumentTranslation", autoEnableDocumentTranslation);
    setIfPresent(object, "autoEnableWordTranslation", autoEnableWordTranslation);
    return base::Value(std::move(object));
}

base::Value DisplayOptions::encode() const
{
    base::Value::Dictionary object;
    setIfPresent(object, "textSize", textSize);
    setIfPresent(object, "increaseSpacing", increaseSpacing);
    setIfPresent(object, "fontFamily", fontFamily);
    return base::Value(std::move(object));
}

base::Value Options::encode() const
{
    base::Value::Dictionary object;
    setIfPresent(object, "uiLang", uiLang);
    setIfPresent(object, "timeout", timeout);
    setIfPresent(object, "uiZIndex", uiZIndex);
    setIfPresent(object, "useWebview", useWebview);
    setIfPresent(object, "customDomain", customDomain);
    setIfPresent(object, "allowFullscreen", allowFullscreen);
    setIfPresent(object, "hideExitButton", hideExitButton);
    if (cookiePolicy)
        object.set("cookiePolicy", cookiePolicyString(*cookiePolicy));
    setIfPresent(object, "disableFirstRun", disableFirstRun);
    setIfPresent(object, "readAloudOptions", readAloudOptions);
    setIfPresent(object, "translationOptions", translationOptions);
    setIfPresent(object, "displayOptions", displayOptions);
    setIfPresent(object, "preferences", preferences);
    setIfPresent(object, "disableGrammar", disableGrammar);
    setIfPresent(object, "disableTranslation", disableTranslation);
    setIfPresent(object, "disableLanguageDetection", disableLanguageDetection);
    return base::Value(std::move(object));
}

base::Value Message::encode() const
{
    base::Value::Dictionary object;
    object.set("cogSvcsAccessToken", cogSvcsAccessToken);
    object.set("cogSvcsSubdomain", cogSvcsSubdomain);
    object.set("content", content ? content->encode() : base::Value(base::Value::Dictionary {}));
    setIfPresent(object, "options", options);
    return base::Value(std::move(object));
}

std::string launchMessageJSON(const Message& message)
{
    std::string json = base::toJson(message.encode());
    std::string safe;
    safe.reserve(json.size());
    for (size_t i = 0; i < json.size(); ++i) {
        char c = json[i];
        // U+2028 and U+2029 are E2 80 A8 / E2 80 A9 in UTF-8.
        if (c == '\xE2' && i + 2 < json.size() && json[i + 1] == '\x80'
            && (json[i + 2] == '\xA8' || json[i + 2] == '\xA9')) {
            safe += json[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
            i += 2;
        } else if (c == '<') {
            safe += "\\u003c";
        } else {
            safe += c;
        }
    }
    return safe;
}

std::string launchScript(const Message& message)
{
    return "launchImmersiveReader(" + launchMessageJSON(message) + ")";
}

} // namespace lectoro
