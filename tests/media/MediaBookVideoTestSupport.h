#pragma once

// Opening the sample video book on a chosen device and listening to what the reader passes
// on from its video view and settings pop-over.

#include "media/MediaBookTestSupport.h"

#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookPanels.h"
#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookPlayerViews.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/ViewController.h"

namespace mediatest {

// A bookmark at `seconds` of the chapter file `file`.
inline std::shared_ptr<lectoro::SDKBookmarkVO> videoBookmark(int64_t seconds, const std::string& file)
{
    auto bookmark = std::make_shared<lectoro::SDKBookmarkVO>();
    base::Value::Dictionary metaData;
    metaData.set("CurrentTime", seconds);
    metaData.set("FileName", file);
    bookmark->metaData = base::Value(std::move(metaData));
    return bookmark;
}

struct MediaVideoTapListener : lectoro::MVVideoBookPlayerViewControllerDelegate,
                               lectoro::MVLectoroMediaPopOverControllerDelegate {
    std::vector<std::string> heard;

    void didTapOnVideoView(bool hidden) override
    {
        heard.push_back(hidden ? "picture hides" : "picture shows");
    }
    void didTapOnVideoFullScreen(bool on) override
    {
        heard.push_back(on ? "full screen on" : "full screen off");
    }
    void didTapOnVideoMute(bool muted) override { heard.push_back(muted ? "mute on" : "mute off"); }
    void didTapOnSubtitleView(bool on) override { heard.push_back(on ? "subtitles on" : "subtitles off"); }
    void didTapOnVideoMoreOptions(ui::View&) override { heard.push_back("more options"); }
    void didTapOnItem(const std::string& item) override { heard.push_back("item " + item); }
    void didChangeSwitchState(bool on) override { heard.push_back(on ? "switch on" : "switch off"); }
    void didTapOnCancelItem() override { heard.push_back("cancel"); }
};

class MediaVideoTest : public MediaTest {
protected:
    void TearDown() override
    {
        ui::setKeyWindowRootViewController(nullptr);
        MediaTest::TearDown();
    }

    // The sample video book on a phone or a tablet whose screen is `size` (held sideways when
    // wider than tall), shown in the window and playing.
    std::shared_ptr<lectoro::MVLectoroMediaBookReader> openVideoBook(bool pad, ui::Size size)
    {
        auto& environment = ui::Environment::current();
        environment.setIdiom(pad ? ui::UserInterfaceIdiom::Pad : ui::UserInterfaceIdiom::Phone);
        environment.setScreenSize(size);
        const auto orientation = size.width > size.height ? ui::Orientation::LandscapeLeft : ui::Orientation::Portrait;
        environment.setInterfaceOrientation(orientation);
        environment.setDeviceOrientation(orientation);
        environment.makeKeyWindow();
        m_controller->enabledNextPreviousFeature(true);
        launchSample("sample-videobook", false, 9102);
        uitest::showInWindow(m_controller);
        auto reader = m_controller->mediaReader();
        reader->setVideoPlayerDelegate(m_listener);
        reader->setPopOverDelegate(m_listener);
        advance(2.0);
        return reader;
    }

    // A finger on the video view's control.
    static void tapVideoControl(lectoro::MVLectoroMediaBookReader& reader, const std::string& identifier)
    {
        auto button = reader.videoPlayerView()->button(identifier);
        ASSERT_TRUE(button) << identifier;
        EXPECT_TRUE(uitest::tap(*button)) << identifier;
    }

    // A finger on a settings pop-over's row: the `index`-th value, or its Cancel row.
    static void tapPopOverRow(lectoro::MVLectoroMediaPopOverController& popOver, std::optional<size_t> index)
    {
        std::vector<std::shared_ptr<ui::View>> rows;
        std::shared_ptr<ui::View> cancel;
        for (const auto& row : popOver.view()->subviews()) {
            if (row->accessibilityIdentifier() == "MediaPopOverItem")
                rows.push_back(row);
            else if (row->accessibilityIdentifier() == "MediaPopOverCancel")
                cancel = row;
        }
        auto target = index ? (*index < rows.size() ? rows[*index] : nullptr) : cancel;
        ASSERT_TRUE(target) << "no such row";
        EXPECT_TRUE(uitest::tap(*target));
    }

    std::shared_ptr<MediaVideoTapListener> m_listener = std::make_shared<MediaVideoTapListener>();
};

} // namespace mediatest
