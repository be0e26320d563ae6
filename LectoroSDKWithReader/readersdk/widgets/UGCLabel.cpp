#include "LectoroSDKWithReader/readersdk/widgets/UGCLabel.h"

namespace lectoro {

std::shared_ptr<UGCLabel> UGCLabel::create(const ui::Rect& frame)
{
    return std::shared_ptr<UGCLabel>(new UGCLabel(frame));
}

UGCLabel::UGCLabel(const ui::Rect& frame)
    : ui::Label(frame)
{
}

} // namespace lectoro
