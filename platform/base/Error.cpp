#include "platform/base/Error.h"

namespace base {

Error Error::make(std::string domain, int64_t code, std::string description)
{
    Error error { std::move(domain), code, Value() };
    if (!description.empty())
        error.userInfo = Value::Dictionary { { localizedDescriptionKey, Value(std::move(description)) } };
    return error;
}

std::string Error::localizedDescription() const
{
    if (const std::string* text = userInfo[localizedDescriptionKey].stringPointer())
        return *text;
    return "The operation couldn\u2019t be completed. (" + domain + " error " + std::to_string(code) + ".)";
}

std::string Error::description() const
{
    return "Error Domain=" + domain + " Code=" + std::to_string(code) + " \"" + localizedDescription() + "\"";
}

} // namespace base
