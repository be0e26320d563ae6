#include "Snapshot.h"

#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/help/ReaderHelp.h"
#include "companion/renderer/BookRenderer.h"
#include "companion/renderer/PagePainter.h"
#include "platform/base/UserDefaults.h"
#include "platform/print/ViewPainter.h"
#include "platform/ui/Environment.h"
#include "platform/ui/ViewController.h"

namespace host {

void markHelpScreensSeen()
{
    auto& defaults = base::UserDefaults::standard();
    for (const char* key : { lectoro::ReaderHelp::pdfFlagKey, lectoro::ReaderHelp::reflowEpubFlagKey,
             lectoro::ReaderHelp::fixedEpubFlagKey, lectoro::ReaderHelp::teacherReviewFlagKey })
        defaults.setBool(key, false);
}

base::Result<void> writeSnapshot(const ui::ViewController& screen, lectoro::ReaderViewController& reader,
    const std::string& path)
{
    // The bars show as after a tap on the page, laid out before they are drawn.
    reader.moveTopAndBottomOnScreenWithIsAnimate(false);
    if (auto view = screen.viewIfLoaded())
        view->layoutIfNeeded();

    auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader.rendererView());
    return companion::writeScreenPicture(companion::screenLayers(screen, &reader), renderer.get(), path);
}

} // namespace host
