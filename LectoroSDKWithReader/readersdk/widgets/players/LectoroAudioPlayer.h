#pragma once

// The audio player of audio markups: plays a book file or a web address on the platform's
// media player, with a small control view the reader places over the page. A remote medium
// reports remoteAudioDidLoad or remoteAudioLoadingDidFailed once its item is read; a local
// one is started at once by its owner.

#include "platform/base/Error.h"
#include "platform/ui/Button.h"
#include "platform/ui/View.h"

#include <memory>
#include <string>

namespace media {
class Player;
class PlayerItem;
} // namespace media

namespace lectoro {

class AudioPlayerDelegate {
public:
    virtual ~AudioPlayerDelegate() = default;
    virtual void audioPlayerFinishPlaying() { }
    virtual void audioPlayerDidStart() { }
    virtual void audioPlayerDidStopped() { }
    virtual void remoteAudioDidLoad() { }
    virtual void remoteAudioLoadingDidFailed(const base::Error&) { }
};

class LectoroAudioPlayer : public std::enable_shared_from_this<LectoroAudioPlayer> {
public:
    // Whether the next players play a remote address (setIsExternalResource:).
    static void setIsExternalResource(bool);
    static bool isExternalResource();

    // initWithURL:withBookPath:withISBN:WithPlayerUIEnable:withIsEncrypted: — a web address
    // is played as it is; anything else is a path the book names, read inside the book
    // folder (base::pathInsideFolder) through the media layer's bounded opener. Null for a
    // path that leaves the book (an absolute path, a "file:" address, "..", a link out).
    static std::shared_ptr<LectoroAudioPlayer> create(const std::string& url, const std::string& bookPath,
        const std::string& isbn, bool playerUIEnable, bool isEncrypted);
    ~LectoroAudioPlayer();

    std::shared_ptr<AudioPlayerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<AudioPlayerDelegate> delegate) { m_delegate = std::move(delegate); }
    bool isAudioResourcePlaybackground = false;
    bool isExternal() const { return m_external; }
    const std::string& mediaPath() const { return m_path; }
    const std::string& isbn() const { return m_isbn; }
    bool isEncrypted() const { return m_encrypted; }

    void start();
    void stop();
    bool isPlaying() const;
    // Reads a remote medium again after a failure.
    void retryAudioLoading();
    // The control view (300 × 100), made on first use.
    std::shared_ptr<ui::View> getPlayerView();

private:
    class Observer;
    LectoroAudioPlayer(
        std::string path, std::string root, std::string isbn, bool playerUI, bool encrypted, bool external);
    void loadItem();

    std::string m_path;
    // The book folder a local file is read inside; empty for a web address.
    std::string m_root;
    std::string m_isbn;
    bool m_playerUI = true;
    bool m_encrypted = false;
    bool m_external = false;
    std::shared_ptr<media::Player> m_player;
    std::shared_ptr<Observer> m_observer;
    std::shared_ptr<ui::View> m_view;
    std::shared_ptr<ui::Button> m_playButton;
    std::weak_ptr<AudioPlayerDelegate> m_delegate;
};

} // namespace lectoro
