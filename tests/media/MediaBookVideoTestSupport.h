#pragma once

// Opening the sample video book on a chosen device and listening to what the reader passes
// on from its video view and settings pop-over.

#include "media/MediaBookTestSupport.h"

#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookPanels.h"
#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookPlayerViews.h"

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
    // The sample video book on a phone or a tablet with the screen view of `size`, playing.
    std::shared_ptr<lectoro::MVLectoroMediaBookReader> openVideoBook(bool pad, ui::Size size)
    {
        ui::Environment::current().setIdiom(
            pad ? ui::UserInterfaceIdiom::Pad : ui::UserInterfaceIdiom::Phone);
        m_controller->view()->setFrame(ui::Rect(ui::Point(), size));
        m_controller->enabledNextPreviousFeature(true);
        launchSample("sample-videobook", false, 9102);
        m_controller->beginAppearanceTransition(true, false);
        m_controller->endAppearanceTransition();
        auto reader = m_controller->mediaReader();
        reader->setVideoPlayerDelegate(m_listener);
        reader->setPopOverDelegate(m_listener);
        advance(2.0);
        return reader;
    }

    static void tapVideoControl(lectoro::MVLectoroMediaBookReader& reader, const std::string& identifier)
    {
        auto button = reader.videoPlayerView()->button(identifier);
        ASSERT_TRUE(button) << identifier;
        button->sendActions(ui::ControlEvent::TouchUpInside);
    }

    std::shared_ptr<MediaVideoTapListener> m_listener = std::make_shared<MediaVideoTapListener>();
};

} // namespace mediatest
