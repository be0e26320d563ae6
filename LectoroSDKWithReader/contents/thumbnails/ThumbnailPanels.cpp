#include "LectoroSDKWithReader/contents/thumbnails/ThumbnailPanels.h"

#include "LectoroSDKWithReader/contents/TOCCells.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Environment.h"

namespace lectoro::thumbnails {

void presentGoToAlert(ui::ViewController& panel, const std::string& messageKey)
{
    auto alert = ui::AlertController::create(TOCConstants::localized("ERROR_ALERT_TITLE"),
        TOCConstants::localized(messageKey), ui::AlertControllerStyle::Alert);
    alert->addAction(ui::AlertAction::create(TOCConstants::localized("OK"), ui::AlertActionStyle::Default));
    panel.presentViewController(alert, true);
}

double keyboardEndHeight(const base::Notification& note)
{
    const auto& frame = note.userInfo[ui::KeyboardFrameEndUserInfoKey];
    return frame.isDictionary() ? frame["height"].doubleValue() : 0;
}

} // namespace lectoro::thumbnails
