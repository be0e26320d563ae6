#include "LectoroSDKWithReader/reader/ReaderContext.h"

#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"

namespace lectoro {

const LXMVThemeVO& themeOf(const ReaderContext& context)
{
    static const LXMVThemeVO noTheme;
    return context.theme ? *context.theme : noTheme;
}

} // namespace lectoro
