#include "platform/media/PlayerItem.h"

#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Strings.h"
#include "platform/media/Player.h"

namespace media {

namespace {

const MediaSelectionOption* findOption(const std::vector<MediaSelectionOption>& options, const std::string& wanted)
{
    for (const MediaSelectionOption& option : options) {
        if (base::equalsCaseInsensitive(option.languageCode, wanted) || option.displayName == wanted)
            return &option;
    }
    return nullptr;
}

const MediaSelectionOption* defaultOption(const std::vector<MediaSelectionOption>& options)
{
    for (const MediaSelectionOption& option : options) {
        if (option.isDefault)
            return &option;
    }
    return nullptr;
}

} // namespace

PlayerItem::PlayerItem(std::string url)
    : m_url(std::move(url))
{
}

std::shared_ptr<PlayerItem> PlayerItem::create(std::string urlOrPath, AssetLoadOptions options)
{
    std::shared_ptr<PlayerItem> item(new PlayerItem(urlOrPath));
    std::weak_ptr<PlayerItem> weakItem = item;
    base::globalQueue().async([weakItem, urlOrPath, options] {
        auto result = std::make_shared<base::Result<Asset>>(Asset::load(urlOrPath, options));
        base::RunLoop::main().post(weakItem, [weakItem, result] {
            if (auto item = weakItem.lock())
                item->finishLoading(std::move(*result));
        });
    });
    return item;
}

std::shared_ptr<PlayerItem> PlayerItem::create(Asset asset)
{
    std::shared_ptr<PlayerItem> item(new PlayerItem(asset.path));
    item->m_asset = std::move(asset);
    item->m_status = Status::ReadyToPlay;
    item->selectDefaults();
    return item;
}

void PlayerItem::finishLoading(base::Result<Asset> result)
{
    if (result.ok()) {
        m_asset = std::move(result.value());
        m_status = Status::ReadyToPlay;
        selectDefaults();
    } else {
        m_error = result.error();
        m_status = Status::Failed;
    }
    if (auto player = m_player.lock())
        player->itemStatusDidChange(*this);
}

void PlayerItem::selectDefaults()
{
    const auto& audible = m_asset->audibleOptions;
    if (const MediaSelectionOption* option = defaultOption(audible))
        m_audible = *option;
    else if (!audible.empty())
        m_audible = audible.front();
    // Subtitles only when the stream asks for them.
    if (const MediaSelectionOption* option = defaultOption(m_asset->legibleOptions))
        m_legible = *option;
}

double PlayerItem::currentTime() const
{
    auto player = m_player.lock();
    return player ? player->currentTime() : 0;
}

bool PlayerItem::selectAudibleOption(const std::string& languageCode)
{
    const MediaSelectionOption* option = m_asset ? findOption(m_asset->audibleOptions, languageCode) : nullptr;
    if (!option)
        return false;
    m_audible = *option;
    return true;
}

bool PlayerItem::selectLegibleOption(const std::optional<std::string>& languageCode)
{
    if (!languageCode) {
        m_legible.reset();
        return true;
    }
    const MediaSelectionOption* option = m_asset ? findOption(m_asset->legibleOptions, *languageCode) : nullptr;
    if (!option)
        return false;
    m_legible = *option;
    return true;
}

void PlayerItem::setPreferredPeakBitRate(double bitsPerSecond)
{
    m_preferredPeakBitRate = bitsPerSecond > 0 ? bitsPerSecond : 0;
}

std::optional<HLSVariant> PlayerItem::currentVariant() const
{
    if (!m_asset || !m_asset->masterPlaylist)
        return std::nullopt;
    std::vector<HLSVariant> variants = m_asset->masterPlaylist->variantsByBandwidth();
    if (variants.empty())
        return std::nullopt;
    if (m_preferredPeakBitRate <= 0)
        return variants.front();
    for (const HLSVariant& variant : variants) {
        if (static_cast<double>(variant.bandwidth) <= m_preferredPeakBitRate)
            return variant;
    }
    return variants.back();
}

void PlayerItem::failPlaybackForTesting(const base::Error& error)
{
    if (auto player = m_player.lock())
        player->itemFailedToPlay(*this, error);
}

} // namespace media
