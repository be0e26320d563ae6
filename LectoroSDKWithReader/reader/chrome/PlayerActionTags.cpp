#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"

namespace lectoro {

std::optional<PlayerActionBarTag> playerActionBarGroupForTag(int barTag)
{
    switch (barTag) {
    case MainBarGroup:
    case MainBarGroupAlternate:
    case TopBar:
    case BottomBar:
        return MainBarGroup;
    case PenToolBar:
    case TextAnnotationBar:
    case TextAlignmentBar:
    case TextColorBar:
    case ReadAloudBar:
    case AudioSyncBar:
    case TeacherBar:
        return static_cast<PlayerActionBarTag>(barTag);
    default:
        return std::nullopt;
    }
}

} // namespace lectoro
