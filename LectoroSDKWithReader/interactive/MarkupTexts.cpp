#include "LectoroSDKWithReader/interactive/MarkupTexts.h"

#include "platform/base/Strings.h"

namespace lectoro {

namespace {

// The text before and after the first separator; false when there is none.
bool splitOnce(const std::string& text, const std::string& separator, std::string& head, std::string& tail)
{
    auto at = text.find(separator);
    if (at == std::string::npos)
        return false;
    head = text.substr(0, at);
    tail = text.substr(at + separator.size());
    return true;
}

} // namespace

std::vector<std::string> imageCaptions(const std::vector<std::string>& properties)
{
    std::vector<std::string> captions;
    for (const auto& property : properties) {
        std::string name, value;
        if (!splitOnce(property, ":", name, value) || name != "captions")
            continue;
        for (const auto& item : base::split(value, "#$#")) {
            std::string key, caption;
            if (splitOnce(item, "=", key, caption))
                captions.push_back(caption);
        }
    }
    return captions;
}

std::string instructionText(const std::string& properties)
{
    std::string text;
    for (const auto& entry : base::split(properties, ";")) {
        if (!entry.starts_with("instruction"))
            continue;
        std::string name, value;
        text = splitOnce(entry, ":", name, value) ? value : std::string {};
    }
    return text;
}

std::string webPackageFolder(const std::string& address)
{
    return base::replaceAll(address, "/index.html", "");
}

} // namespace lectoro
