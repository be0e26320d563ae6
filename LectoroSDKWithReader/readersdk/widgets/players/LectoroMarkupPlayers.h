#pragma once

// The framework's players for image, video, 3D, YouTube and document markups: screens the
// reader puts over itself or whose inline view the renderer places on a page. Each shows
// what it was given, reports to a weak delegate, and offers the taps a user would make.

#include "platform/base/Error.h"
#include "platform/base/URL.h"
#include "platform/base/Value.h"
#include "platform/ui/Button.h"
#include "platform/ui/Color.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ViewController.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace media {
class Player;
}

namespace lectoro {

class LectoroBookVO;
class PXLinkVO;

// --- Image viewer ---

class LectoroImageControllerDelegate {
public:
    virtual ~LectoroImageControllerDelegate() = default;
    virtual void didTapOnCloseForImageContoller() { }
    // A book image that is not there.
    virtual void didFailedLoadingImage() { }
    // A remote image that could not be fetched.
    virtual void didFailedLoadingImage(const base::Error&) { }
    virtual void didLoadRemoteImage(int64_t /*index*/) { }
    virtual void loadImagePlayer() { }
};

class LectoroImageController : public ui::ViewController {
public:
    // Fetches one remote image: its bytes' outcome. The stand-in has no network, so the
    // default answers "not connected" (NSURLErrorDomain −1009); tests install their own.
    using RemoteImageLoader = std::function<base::Result<void>(const std::string& address)>;
    static void setRemoteImageLoader(RemoteImageLoader);
    static void setIsExternalResource(bool);

    // initWithImageURLs:withProperties:withISBN:isEncrypted:isZoomable:WithDelegate:
    static std::shared_ptr<LectoroImageController> create(std::vector<std::string> imageURLs,
        std::vector<std::string> captions, std::string isbn, bool isEncrypted, bool isZoomable,
        std::weak_ptr<LectoroImageControllerDelegate>);
    std::string_view className() const override { return "LectoroImageController"; }
    void viewDidLoad() override;

    const std::vector<std::string>& imageURLs() const { return m_urls; }
    const std::vector<std::string>& captions() const { return m_captions; }
    bool isEncrypted() const { return m_encrypted; }
    bool isZoomable() const { return m_zoomable; }
    bool isExternal() const { return m_external; }
    // Images shown so far, by index.
    const std::vector<bool>& loadedImages() const { return m_loaded; }
    // The first image, its caption and the close button, once the view is loaded.
    const std::shared_ptr<ui::ImageView>& imageView() const { return m_imageView; }
    const std::shared_ptr<ui::Label>& captionLabel() const { return m_captionLabel; }
    const std::shared_ptr<ui::Button>& closeButton() const { return m_closeButton; }

    void setDownloadedImageAtPosition(int64_t index);
    void retryImageLoading();
    void close();

protected:
    LectoroImageController(std::vector<std::string>, std::vector<std::string>, std::string, bool, bool,
        std::weak_ptr<LectoroImageControllerDelegate>);

private:
    void loadImages();

    std::vector<std::string> m_urls;
    std::vector<std::string> m_captions;
    std::string m_isbn;
    bool m_encrypted = false;
    bool m_zoomable = false;
    bool m_external = false;
    std::vector<bool> m_loaded;
    std::weak_ptr<LectoroImageControllerDelegate> m_delegate;
    std::shared_ptr<ui::ImageView> m_imageView;
    std::shared_ptr<ui::Label> m_captionLabel;
    std::shared_ptr<ui::Button> m_closeButton;
};

// --- Video and 3D players ---

class LectoroVideoPlayerDelegate {
public:
    virtual ~LectoroVideoPlayerDelegate() = default;
    virtual void videoPlayerDidStopPlaying() { }
    virtual void videoPlayerDidFinishPlaying() { }
    virtual void videoPlayerDidPausePlaying() { }
    virtual void videoPlayerDidEnterFullScreenWithLinkVO(std::shared_ptr<PXLinkVO>) { }
    virtual void videoPlayerDidExitFullScreenWithLinkVO(std::shared_ptr<PXLinkVO>) { }
};

class LectoroVideoPlayer : public ui::ViewController {
public:
    static void setIsExternalResource(bool);

    // initWithVideoPath:withBookVO:withLinkVO:
    static std::shared_ptr<LectoroVideoPlayer> create(
        std::string path, std::shared_ptr<LectoroBookVO>, std::shared_ptr<PXLinkVO>);
    // initWithVideoPath:withType:withDecrytionKey:
    static std::shared_ptr<LectoroVideoPlayer> create(
        std::string path, int64_t type, std::string decryptionKey);
    // initWithVideoPath:withBookVO:withResource:
    static std::shared_ptr<LectoroVideoPlayer> create(
        std::string path, std::shared_ptr<LectoroBookVO>, base::Value resource);
    ~LectoroVideoPlayer() override;
    std::string_view className() const override { return "LectoroVideoPlayer"; }

    std::shared_ptr<LectoroVideoPlayerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<LectoroVideoPlayerDelegate> delegate) { m_delegate = std::move(delegate); }
    const std::string& videoPath() const { return m_path; }
    const std::shared_ptr<PXLinkVO>& linkVO() const { return m_link; }
    const std::string& decryptionKey() const { return m_key; }
    bool isExternal() const { return m_external; }

    void playVideo();
    bool isPlaying() const;
    // The view the renderer places on the page for an inline video.
    std::shared_ptr<ui::View> getInlineVideoPlayer();
    // A user's taps.
    void tapFullScreen();
    void tapDone();

protected:
    explicit LectoroVideoPlayer(std::string path);

private:
    std::string m_path;
    std::shared_ptr<LectoroBookVO> m_book;
    std::shared_ptr<PXLinkVO> m_link;
    std::string m_key;
    int64_t m_type = 0;
    base::Value m_resource;
    bool m_external = false;
    bool m_fullScreen = false;
    std::shared_ptr<media::Player> m_player;
    std::shared_ptr<ui::View> m_inlineView;
    std::weak_ptr<LectoroVideoPlayerDelegate> m_delegate;
};

class Lectoro3dPlayerViewControllerDelegate {
public:
    virtual ~Lectoro3dPlayerViewControllerDelegate() = default;
    virtual void lectoro3dPlayerFullscreenButtonTappedWithIsFullScreen(bool, std::shared_ptr<PXLinkVO>) { }
    virtual void lectoro3dPlayerDidClosed() { }
};

class Lectoro3dPlayerViewController : public ui::ViewController {
public:
    // From the layout "Lectoro3dPlayerViewController".
    static std::shared_ptr<Lectoro3dPlayerViewController> create();
    std::string_view className() const override { return "Lectoro3dPlayerViewController"; }

    std::shared_ptr<Lectoro3dPlayerViewControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<Lectoro3dPlayerViewControllerDelegate> delegate)
    {
        m_delegate = std::move(delegate);
    }
    // initDataWithVideoPath:with:with:
    void initDataWithVideoPath(std::string path, std::shared_ptr<LectoroBookVO>, std::shared_ptr<PXLinkVO>);
    const std::string& modelPath() const { return m_path; }
    void play() { m_playing = true; }
    bool isPlaying() const { return m_playing; }
    std::shared_ptr<ui::View> getInlineVideoPlayer();
    void tapFullScreen();
    void tapClose();

protected:
    Lectoro3dPlayerViewController() = default;

private:
    std::string m_path;
    std::shared_ptr<LectoroBookVO> m_book;
    std::shared_ptr<PXLinkVO> m_link;
    bool m_playing = false;
    bool m_fullScreen = false;
    std::shared_ptr<ui::View> m_inlineView;
    std::weak_ptr<Lectoro3dPlayerViewControllerDelegate> m_delegate;
};

// --- YouTube ---

class LectoroYTPlayerDelegate {
public:
    virtual ~LectoroYTPlayerDelegate() = default;
    virtual void didCloseYoutubePlayer() { }
};

class LectoroYTPlayer : public ui::ViewController {
public:
    // initWithLinkVO:
    static std::shared_ptr<LectoroYTPlayer> create(std::shared_ptr<PXLinkVO>);
    std::string_view className() const override { return "LectoroYTPlayer"; }

    std::shared_ptr<LectoroYTPlayerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<LectoroYTPlayerDelegate> delegate) { m_delegate = std::move(delegate); }
    const std::shared_ptr<PXLinkVO>& link() const { return m_link; }
    bool isInline() const;
    std::shared_ptr<ui::View> getYoutubeInlinePlayer();
    // Stops and takes the inline view off the page; nothing is reported.
    void close();
    bool isClosed() const { return m_closed; }
    // The close button: reported to the delegate.
    void tapClose();

protected:
    explicit LectoroYTPlayer(std::shared_ptr<PXLinkVO> link)
        : m_link(std::move(link))
    {
    }

private:
    std::shared_ptr<PXLinkVO> m_link;
    std::shared_ptr<ui::View> m_inlineView;
    bool m_closed = false;
    std::weak_ptr<LectoroYTPlayerDelegate> m_delegate;
};

// --- Documents ---

class LectoroDocumentPlayerDelegate {
public:
    virtual ~LectoroDocumentPlayerDelegate() = default;
    virtual void documentPLayerDidClosed() { }
};

class LectoroDocumentPlayer : public ui::ViewController {
public:
    static void setIsExternalResource(bool);
    // initWithURL:
    static std::shared_ptr<LectoroDocumentPlayer> create(base::URL);
    std::string_view className() const override { return "LectoroDocumentPlayer"; }

    std::shared_ptr<LectoroDocumentPlayerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<LectoroDocumentPlayerDelegate> delegate)
    {
        m_delegate = std::move(delegate);
    }
    const base::URL& url() const { return m_url; }
    void setThemeColorToView(const ui::Color& color) { m_themeColor = color; }
    const std::optional<ui::Color>& themeColor() const { return m_themeColor; }
    // The close button: the viewer leaves the screen and tells its delegate.
    void tapClose();

protected:
    explicit LectoroDocumentPlayer(base::URL url)
        : m_url(std::move(url))
    {
    }

private:
    base::URL m_url;
    std::optional<ui::Color> m_themeColor;
    std::weak_ptr<LectoroDocumentPlayerDelegate> m_delegate;
};

} // namespace lectoro
