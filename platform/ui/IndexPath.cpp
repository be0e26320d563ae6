#include "platform/ui/IndexPath.h"

#include <ostream>

namespace ui {

std::string IndexPath::toString() const
{
    return "[" + std::to_string(section) + ", " + std::to_string(row) + "]";
}

std::ostream& operator<<(std::ostream& stream, const IndexPath& indexPath)
{
    return stream << indexPath.toString();
}

} // namespace ui
