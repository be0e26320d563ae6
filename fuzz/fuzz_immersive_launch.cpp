// Builds an immersive-reader launch from arbitrary text (the fields split at NUL bytes: the
// title, a chunk, its language, the interface language, the stored preferences, the access
// token) and checks what the page is handed: exactly launchImmersiveReader(<JSON>), the JSON
// reads back, holds no "<", U+2028, U+2029 or control byte that could end a script element
// or a line, and gives back every text as sent (invalid UTF-8 as U+FFFD).

#include "LectoroSDKWithReader/readingaids/ImmersiveReaderRecords.h"

#include "platform/base/Json.h"
#include "platform/base/Strings.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::vector<std::string> launchFields(std::string_view input, size_t count)
{
    std::vector<std::string> fields;
    while (fields.size() + 1 < count) {
        size_t end = input.find('\0');
        if (end == std::string_view::npos)
            break;
        fields.emplace_back(input.substr(0, end));
        input.remove_prefix(end + 1);
    }
    fields.emplace_back(input);
    fields.resize(count);
    return fields;
}

void expectText(const base::Value& value, const std::string& sent)
{
    if (value.asString() != base::validUtf8(sent))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto fields = launchFields(std::string_view(reinterpret_cast<const char*>(data), size), 6);
    const std::string& title = fields[0];
    const std::string& chunk = fields[1];
    const std::string& language = fields[2];
    const std::string& uiLanguage = fields[3];
    const std::string& preferences = fields[4];
    const std::string& token = fields[5];

    lectoro::Message message;
    message.cogSvcsAccessToken = token;
    message.cogSvcsSubdomain = "fuzz";
    message.content = std::make_shared<lectoro::Content>(
        title, std::vector { std::make_shared<lectoro::Chunk>(chunk, language, std::string("text/plain")) });
    message.options = std::make_shared<lectoro::Options>(uiLanguage, 15000, 1000, true, preferences);

    std::string json = lectoro::launchMessageJSON(message);
    if (lectoro::launchScript(message) != "launchImmersiveReader(" + json + ")")
        std::abort();
    for (unsigned char c : json) {
        if (c < 0x20 || c == '<')
            std::abort();
    }
    if (json.find("\xE2\x80\xA8") != std::string::npos || json.find("\xE2\x80\xA9") != std::string::npos)
        std::abort();

    auto parsed = base::parseJson(json);
    if (!parsed.ok())
        std::abort();
    const base::Value& launched = parsed.value();
    expectText(launched["cogSvcsAccessToken"], token);
    expectText(launched["content"]["title"], title);
    expectText(launched["content"]["chunks"].at(0)["content"], chunk);
    expectText(launched["content"]["chunks"].at(0)["lang"], language);
    expectText(launched["options"]["uiLang"], uiLanguage);
    expectText(launched["options"]["preferences"], preferences);
    return 0;
}
