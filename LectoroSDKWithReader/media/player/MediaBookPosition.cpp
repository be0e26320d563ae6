#include "LectoroSDKWithReader/media/player/MediaBookPosition.h"

#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"

#include <algorithm>

namespace lectoro {

namespace {

std::optional<std::string> mediaPositionText(const base::Value& position, std::string_view upper, std::string_view lower)
{
    for (auto key : { upper, lower }) {
        if (const auto* text = position[key].stringPointer())
            return *text;
    }
    return std::nullopt;
}

std::optional<int64_t> mediaPositionSeconds(const base::Value& position)
{
    for (std::string_view key : { "CurrentTime", "currentTime" }) {
        if (position[key].isInteger())
            return position[key].asInteger();
    }
    return std::nullopt;
}

} // namespace

base::Value mediaBookMetaData(const MVMediaBookModel* model)
{
    base::Value::Dictionary position;
    if (!model || !model->timeIndexVOArray)
        return position;
    auto entry = model->timeIndexEntryForCurrentPosition();
    if (!entry || !entry->fileName || !entry->folio)
        return position;
    std::string chapterName = model->mediaBookTitle;
    if (model->currentChapter && model->currentChapter->chapterTitle)
        chapterName = *model->currentChapter->chapterTitle;
    position.set("currentTime", model->currentTime);
    position.set("fileName", *entry->fileName);
    position.set("chapterName", chapterName);
    position.set("folioID", *entry->folio);
    return position;
}

std::optional<std::pair<std::shared_ptr<MVMediaBookChapterVO>, int64_t>> findMediaBookStartPosition(
    const MVMediaBookModel& model, const base::Value& position)
{
    if (!position.isDictionary())
        return std::nullopt;
    auto fileName = mediaPositionText(position, "FileName", "fileName").value_or("");
    auto chapterName = mediaPositionText(position, "ChapterName", "chapterName").value_or("");
    auto seconds = mediaPositionSeconds(position).value_or(0);
    for (const auto& chapter : model.mediaBookAllChaptersArray) {
        if (chapter && chapter->filePart() == fileName && chapter->chapterTitle.value_or("") == chapterName)
            return std::make_pair(chapter, seconds);
    }
    return std::nullopt;
}

std::optional<std::vector<std::shared_ptr<SDKBookmarkVO>>> mediaBookChapterBookmarks(
    const std::vector<std::shared_ptr<SDKBookmarkVO>>& bookmarks, const std::shared_ptr<MVMediaBookChapterVO>& currentChapter)
{
    if (!currentChapter)
        return std::nullopt;
    std::vector<std::shared_ptr<SDKBookmarkVO>> kept;
    if (!currentChapter->urlLastPathComponent)
        return kept;
    auto filePart = currentChapter->filePart();
    for (const auto& bookmark : bookmarks) {
        if (!bookmark || !bookmark->metaData.isDictionary())
            continue;
        if (mediaPositionText(bookmark->metaData, "FileName", "fileName").value_or("") == filePart)
            kept.push_back(bookmark);
    }
    return kept;
}

std::vector<std::shared_ptr<SDKBookmarkVO>> sortedMediaBookmarks(std::vector<std::shared_ptr<SDKBookmarkVO>> bookmarks)
{
    auto timeOf = [](const std::shared_ptr<SDKBookmarkVO>& bookmark) {
        return bookmark ? bookmark->metaData["CurrentTime"].asDouble().value_or(0) : 0.0;
    };
    std::stable_sort(bookmarks.begin(), bookmarks.end(),
        [&](const auto& first, const auto& second) { return timeOf(first) < timeOf(second); });
    return bookmarks;
}

} // namespace lectoro
