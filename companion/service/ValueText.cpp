#include "companion/service/ValueText.h"

namespace companion {

std::string textOf(const base::Value& value)
{
    if (auto text = value.stringPointer())
        return *text;
    if (value.isNull())
        return {};
    return value.description();
}

} // namespace companion
