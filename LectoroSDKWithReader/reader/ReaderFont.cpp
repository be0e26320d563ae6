#include "LectoroSDKWithReader/reader/ReaderFont.h"

#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"

namespace lectoro {

ui::Font readerFont(double size, ui::FontWeight weight)
{
    if (auto font
        = weight == ui::FontWeight::Regular ? getCustomFont(size) : getCustomFontForWeight(size, weight))
        return *font;
    return ui::Font::systemFont(size, weight);
}

} // namespace lectoro
