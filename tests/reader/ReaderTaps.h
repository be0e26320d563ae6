#pragma once

// Reaching the reader's screen as a user does: what a first opening shows over the page is
// closed, a tap on the page brings the bars in when they are away (CompanionEndToEndSupport.h),
// an item that lives in the vertical bar is reached through the bottom bar's "more" item,
// and a finger on a markup's place meets whatever lies topmost there.

#include "reader/CompanionEndToEndSupport.h"

#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/reader/chrome/ReaderVerticalBar.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/widgets/MarkupView.h"
#include "platform/base/RunLoop.h"
#include "platform/testing/Interaction.h"
#include "platform/testing/Landing.h"

#include <functional>
#include <memory>

namespace lectoro::testing {

// What a first opening puts over the page, closed with their buttons as a user does: the
// help overlay, then the read-aloud modes a narrated book offers.
inline void closeOpeningOverlays(ReaderViewController& reader)
{
    closeHelpIfShown(reader);
    base::RunLoop::main().advanceBy(1);
    closeOfferedReadAloud(reader);
}

// The item with the tag on the top or bottom bar, else in the vertical bar (opened through
// "more" when needed); null when no bar carries it.
inline std::shared_ptr<PlayerActionBarItem> readerBarItem(ReaderViewController& reader, int tag)
{
    EXPECT_TRUE(showBars(reader));
    const auto& context = reader.context();
    for (const auto& bar : { context.playerTopActionBarView, context.playerBottomActionBarView }) {
        if (auto item = bar ? bar->itemWithTag(tag) : nullptr)
            return item;
    }
    auto vertical = reader.verticalBar().playerActionVerticalBar();
    if (!vertical || !vertical->itemWithTag(tag)) {
        auto more = context.playerBottomActionBarView ? context.playerBottomActionBarView->itemWithTag(PlayerItemMore)
                                                      : nullptr;
        if (more && uitest::tap(*more))
            base::RunLoop::main().advanceBy(1);
        vertical = reader.verticalBar().playerActionVerticalBar();
    }
    return vertical ? vertical->itemWithTag(tag) : nullptr;
}

// A tap on the item; the message says what kept the finger from it.
inline ::testing::AssertionResult tapReaderBarItem(ReaderViewController& reader, int tag)
{
    auto item = readerBarItem(reader, tag);
    if (!item)
        return ::testing::AssertionFailure() << "no bar carries item " << tag;
    auto tapped = uitest::tap(*item);
    base::RunLoop::main().advanceBy(1);
    return tapped;
}

// A finger on a markup's place: an icon takes it, unless its enlarged tap area lies over
// it there, which then takes it (as on a device).
inline ::testing::AssertionResult tapMarkup(MarkupView& icon)
{
    uitest::settleLayout();
    ui::Point centre = icon.convertPointTo(icon.bounds().center(), nullptr);
    auto landing = uitest::landAtWindowPoint(centre);
    if (!landing)
        return ::testing::AssertionFailure() << landing.obstacle;
    if (landing.view.get() == &icon || landing.view->isDescendantOf(&icon)
        || !dynamic_cast<MarkupHitAreaLabel*>(landing.view.get()))
        return uitest::tap(icon);
    return uitest::tap(*landing.view, landing.view->convertPointFrom(centre, nullptr));
}

// The assembled reader on a tablet's 768 × 1024 screen, where the sample pages' markups lie
// on screen. `openSample` launches a sample book folder for the signed-in user, lets it
// load, and closes what a first opening puts over the page.
class TabletEndToEndTest : public CompanionEndToEndTest {
protected:
    void SetUp() override
    {
        ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
        ui::Environment::current().setScreenSize({ 768, 1024 });
        CompanionEndToEndTest::SetUp();
    }

    // `beforeLoad` runs once the reader exists and before the book loads (a host's
    // settings of the reader).
    std::shared_ptr<ReaderViewController> openSample(const std::string& folder, const std::string& bookID,
        std::shared_ptr<MVReaderSettingModel> settings = nullptr,
        const std::function<void(ReaderViewController&)>& beforeLoad = {})
    {
        auto package
            = std::make_shared<LectoroBookPackage>(std::string(LECTORO_SAMPLES_DIR) + "/books/" + folder, bookID, "978-0");
        auto user = makeUser("6000000001", "ada-token");
        if (settings)
            m_launcher->launchBook(package, user, serviceConfiguration(), settings, false);
        else
            m_launcher->launchBook(package, user, serviceConfiguration());
        if (auto reader = m_launcher->reader(); reader && beforeLoad)
            beforeLoad(*reader);
        settle();
        auto reader = m_launcher->reader();
        if (reader) {
            closeOpeningOverlays(*reader);
            m_renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView());
        }
        return reader;
    }

    std::shared_ptr<companion::BookRenderer> m_renderer;
};

} // namespace lectoro::testing
