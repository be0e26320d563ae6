#include "platform/media/MediaError.h"

#include "platform/base/URL.h"

#include <cctype>

namespace media {

namespace {

base::Error makeError(const char* domain, int64_t code, std::string description, const std::string& path)
{
    base::Error error = base::Error::make(domain, code, std::move(description));
    if (!path.empty()) {
        if (!error.userInfo.isDictionary())
            error.userInfo = base::Value::Dictionary {};
        error.userInfo.asDictionary()->set(filePathErrorKey, path);
    }
    return error;
}

// Letters, digits, "+", "-", "." up to a ":" make a scheme; a Windows-like "C:" or a
// relative path with a colon further on does not.
bool hasScheme(const std::string& text)
{
    size_t colon = text.find(':');
    if (colon == std::string::npos || colon < 2 || !std::isalpha(static_cast<unsigned char>(text[0])))
        return false;
    for (size_t i = 0; i < colon; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.')
            return false;
    }
    return true;
}

} // namespace

base::Error mediaError(int64_t code, std::string description, const std::string& path)
{
    return makeError(avFoundationErrorDomain, code, std::move(description), path);
}

base::Error urlError(int64_t code, std::string description, const std::string& path)
{
    return makeError(urlErrorDomain, code, std::move(description), path);
}

base::Error speechError(int64_t code, std::string description)
{
    return makeError(speechErrorDomain, code, std::move(description), {});
}

base::Result<std::string> localPathOf(const std::string& urlOrPath)
{
    if (urlOrPath.empty())
        return urlError(urlErrorFileDoesNotExist, "No file was given.");
    if (!hasScheme(urlOrPath))
        return urlOrPath;
    auto url = base::URL::parse(urlOrPath);
    if (!url || !url->isFileURL())
        return urlError(urlErrorUnsupportedURL, "Only local files can be opened: " + urlOrPath, urlOrPath);
    std::string path = url->path();
    if (path.empty())
        return urlError(urlErrorFileDoesNotExist, "The address names no file: " + urlOrPath, urlOrPath);
    return path;
}

} // namespace media
