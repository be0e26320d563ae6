#pragma once

#include "platform/base/Value.h"

#include <string>

namespace companion {

// A value as the text the service and the store compare: strings as they are, null as
// empty, anything else (numbers, mostly) as its description.
std::string textOf(const base::Value&);

} // namespace companion
