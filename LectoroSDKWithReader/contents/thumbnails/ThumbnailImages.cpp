#include "LectoroSDKWithReader/contents/thumbnails/ThumbnailImages.h"

#include "platform/base/Thread.h"

namespace lectoro {

ThumbnailImages& ThumbnailImages::shared()
{
    static ThumbnailImages images;
    return images;
}

void ThumbnailImages::setSnapshotMaker(SnapshotMaker maker)
{
    BASE_ASSERT_MAIN_THREAD();
    m_maker = std::move(maker);
    m_snapshots.clear();
}

ui::ImagePtr ThumbnailImages::imageForPage(const base::Value& page)
{
    BASE_ASSERT_MAIN_THREAD();
    const std::string path = page["PageThumbnailPath"].asString().value_or("");
    if (!path.empty())
        return ui::Image::fromFile(path);
    if (!m_maker)
        return nullptr;
    const std::string key = page["SRC"].asString().value_or("") + "#" + page["DisplayNumber"].description();
    auto found = m_snapshots.find(key);
    if (found != m_snapshots.end())
        return found->second;
    auto image = m_maker(page);
    m_snapshots.emplace(key, image);
    return image;
}

} // namespace lectoro
