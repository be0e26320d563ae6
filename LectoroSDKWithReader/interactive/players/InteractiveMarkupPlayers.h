#pragma once

// The players markups open: audio over the page, image viewer, video and 3D players
// (full screen or inline on the page), YouTube, Kaltura (after its session request) and
// documents, with the loading overlay and the retry alert of remote media. Interactive
// content owns one; the reader's page changes, rotation and close stop them through it.

#include "platform/base/Error.h"
#include "platform/base/URL.h"
#include "platform/base/Value.h"
#include "platform/ui/Geometry.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class View;
class ViewController;
} // namespace ui

namespace lectoro {

struct ReaderContext;
class InteractiveReader;
class Lectoro3dPlayerViewController;
class LectoroAudioPlayer;
class LectoroImageController;
class LectoroServiceInterface;
class LectoroVideoPlayer;
class LectoroYTPlayer;
class PXLinkVO;

class InteractiveMarkupPlayers {
public:
    InteractiveMarkupPlayers(ReaderContext&, InteractiveReader&);
    ~InteractiveMarkupPlayers();

    // The current link's media is remote (set by the link action before opening).
    bool isExternalResource = false;

    // --- Audio ---
    // Posted to the main queue, as a tap's work is.
    void AudioPlayerWithURL(
        const std::string& url, bool playerUIEnable, bool isEncrypted, bool playInBackground);
    void startAudio();
    ui::Rect getFrameForAudioPlayerView(const ui::View&) const;
    void audioPlayerFinishPlaying();
    void resetAudioPlayer();
    void remoteAudioDidLoad();
    void remoteAudioLoadingDidFailed(const base::Error&);
    const std::shared_ptr<LectoroAudioPlayer>& audioPlayer() const { return m_audioPlayer; }
    // The audio player's control view over the reader's view; null when none was shown.
    const std::shared_ptr<ui::View>& playerView() const { return m_playerView; }

    // --- Images ---
    void ImageControllerWithImagePath(
        const std::string& paths, const std::string& properties, int32_t linkType, bool isEncrypted);
    void ImageControllerWithImagePath(const std::string& path, bool isEncrypted);
    static std::vector<std::string> getImagePropertiesForImageMarkup(
        const std::vector<std::string>& properties);
    void didTapOnCloseForImageContoller();
    void didFailedLoadingImage();
    void didFailedLoadingImage(const base::Error&);
    void didLoadRemoteImage(int64_t index);
    const std::shared_ptr<LectoroImageController>& imageController() const { return m_imageController; }

    // --- Video, 3D, YouTube, Kaltura, documents ---
    void videoPlayer(const std::string& path, const std::shared_ptr<PXLinkVO>& link);
    void VideoPlayerWithVideoPath(const std::string& path, int64_t type, const std::string& decryptionKey);
    void videoPlayerWithVideoPath(const std::string& path, const base::Value& resource);
    void videoPlayerDidStopPlaying();
    void videoPlayerDidEnterFullScreenWithLinkVO(const std::shared_ptr<PXLinkVO>&);
    void videoPlayerDidExitFullScreenWithLinkVO(const std::shared_ptr<PXLinkVO>&);
    void lectoro3dPlayerFullscreenButtonTappedWithIsFullScreen(
        bool fullScreen, const std::shared_ptr<PXLinkVO>&);
    void lectoro3dPlayerDidClosed();
    void documentPlayer(const base::URL&);
    void documentPLayerDidClosed();
    void loadYoutubeMarkup(const std::shared_ptr<PXLinkVO>&);
    void didCloseYoutubePlayer();
    void loadKalturaVideoPlayer(const std::shared_ptr<PXLinkVO>&);
    void requestDidFinishLoadingForKalturaPlayer(
        const std::shared_ptr<PXLinkVO>&, const std::string& videoURL);
    void requestErrorOccureForKalturaPlayer(const base::Error&);
    const std::shared_ptr<LectoroVideoPlayer>& currentVideoPlayer() const { return m_videoPlayer; }
    const std::shared_ptr<Lectoro3dPlayerViewController>& k3dplayer() const { return m_3dPlayer; }
    const std::shared_ptr<LectoroYTPlayer>& youtubePlayer() const { return m_youtubePlayer; }

    // --- Stopping ---
    void stopInlineVideo();
    void removeInlineLocalPlayer();
    void removeInlineYoutubePlayer();

    // --- Overlay and alerts ---
    void addPreLoaderViewWithMessage(const std::string& message);
    void removePreLoaderView();
    const std::shared_ptr<ui::View>& activityIndicatorView() const { return m_activityIndicatorView; }
    void showAlertControllerWithMsg(const std::string& message, const std::string& title);
    void showAlertForExternalResourceLoadingFailedWithTitle(
        const std::string& titleKey, const std::string& messageKey);

private:
    class Delegates;

    void notifyMarkupEvent(const std::string& value);
    std::shared_ptr<ui::View> readerView() const;
    void setRendererTouches(bool enabled);
    void placeOverReader(const std::shared_ptr<ui::ViewController>&);
    void placeInline(const std::shared_ptr<ui::View>&, const PXLinkVO&);
    void takeOffScreen(const std::shared_ptr<ui::ViewController>&);
    void kalturaSessionFailed(const std::shared_ptr<PXLinkVO>&, const base::Error&, bool renewed);
    void requestKalturaSession(const std::shared_ptr<PXLinkVO>&, bool renewed);
    void remoteFailure(const base::Error&, bool forImages);

    ReaderContext& m_context;
    InteractiveReader& m_reader;
    std::shared_ptr<Delegates> m_delegates;
    std::shared_ptr<LectoroAudioPlayer> m_audioPlayer;
    std::shared_ptr<ui::View> m_playerView;
    std::shared_ptr<LectoroImageController> m_imageController;
    std::shared_ptr<LectoroVideoPlayer> m_videoPlayer;
    std::shared_ptr<Lectoro3dPlayerViewController> m_3dPlayer;
    std::shared_ptr<LectoroYTPlayer> m_youtubePlayer;
    std::shared_ptr<ui::View> m_activityIndicatorView;
    std::shared_ptr<LectoroServiceInterface> m_kalturaService;
};

} // namespace lectoro
