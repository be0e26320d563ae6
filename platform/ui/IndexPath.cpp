#include "platform/ui/IndexPath.h"

#include <ostream>

namespace ui {

std::string IndexPath::toString() const
{
    std::string text(1, '[');
    text += std::to_string(section);
    text += ", ";
    text += std::to_string(row);
    text += ']';
    return text;
}

std::ostream& operator<<(std::ostream& stream, const IndexPath& indexPath)
{
    return stream << indexPath.toString();
}

} // namespace ui
