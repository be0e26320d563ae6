#pragma once

// One thing to play: a file or a streaming playlist, read in the background.
//
// create(url) starts reading at once on a background queue; the status turns ReadyToPlay
// (duration, tracks, chapters, selection options known) or Failed (error() says why) on
// the main run loop. An item plays in one player at a time.

#include "platform/base/Error.h"
#include "platform/media/Asset.h"

#include <memory>
#include <optional>
#include <string>

namespace media {

class Player;

class PlayerItem : public std::enable_shared_from_this<PlayerItem> {
public:
    enum class Status { Unknown, ReadyToPlay, Failed };

    static std::shared_ptr<PlayerItem> create(std::string urlOrPath, AssetLoadOptions = {});
    // An asset already read: ready at once.
    static std::shared_ptr<PlayerItem> create(Asset);

    const std::string& url() const { return m_url; }
    Status status() const { return m_status; }
    const std::optional<base::Error>& error() const { return m_error; }
    // Null until ready.
    const Asset* asset() const { return m_asset ? &*m_asset : nullptr; }
    // 0 until ready.
    double duration() const { return m_asset ? m_asset->duration : 0; }
    // Where the player is in this item (seconds).
    double currentTime() const;

    // Streams: the audio language and subtitles in use. Selecting an option the item does
    // not offer answers false and changes nothing; selecting no legible option turns
    // subtitles off.
    const std::optional<MediaSelectionOption>& selectedAudibleOption() const { return m_audible; }
    const std::optional<MediaSelectionOption>& selectedLegibleOption() const { return m_legible; }
    bool selectAudibleOption(const std::string& languageCode);
    bool selectLegibleOption(const std::optional<std::string>& languageCode);
    // Bits per second the player may use; 0 lets it choose. The variant in use is the
    // richest whose bandwidth fits.
    double preferredPeakBitRate() const { return m_preferredPeakBitRate; }
    void setPreferredPeakBitRate(double);
    std::optional<HLSVariant> currentVariant() const;

    // Test support: what a stream that breaks off during playback reports to its player.
    void failPlaybackForTesting(const base::Error&);

private:
    friend class Player;
    explicit PlayerItem(std::string url);
    void finishLoading(base::Result<Asset>);
    void selectDefaults();

    std::string m_url;
    Status m_status = Status::Unknown;
    std::optional<base::Error> m_error;
    std::optional<Asset> m_asset;
    std::optional<MediaSelectionOption> m_audible;
    std::optional<MediaSelectionOption> m_legible;
    double m_preferredPeakBitRate = 0;
    // Set while the item is some player's current item.
    std::weak_ptr<Player> m_player;
};

} // namespace media
