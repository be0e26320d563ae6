#pragma once

// The listening position as the reader reports it and reads it back, and the rules that
// tie bookmarks to chapters. Pure functions over the model, so the controller, the reader
// and the tests share one reading of the keys.

#include "LectoroSDKWithReader/readersdk/media/MVMediaBookModel.h"
#include "platform/base/Value.h"

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace lectoro {

class SDKBookmarkVO;

// {"currentTime", "fileName", "chapterName", "folioID"}, or an empty dictionary when there
// is no position (no model, no time index, no matching entry, or one without file or folio).
base::Value mediaBookMetaData(const MVMediaBookModel*);

// The chapter and seconds a stored position names ("FileName"/"fileName",
// "ChapterName"/"chapterName", "CurrentTime"/"currentTime", upper case first, a value
// counting only with the right type), or none when no chapter matches.
std::optional<std::pair<std::shared_ptr<MVMediaBookChapterVO>, int64_t>> findMediaBookStartPosition(
    const MVMediaBookModel&, const base::Value& position);

// The bookmarks of the current chapter, in stored order; none without a current chapter.
std::optional<std::vector<std::shared_ptr<SDKBookmarkVO>>> mediaBookChapterBookmarks(
    const std::vector<std::shared_ptr<SDKBookmarkVO>>&, const std::shared_ptr<MVMediaBookChapterVO>& currentChapter);

// Stable, ascending by "CurrentTime" of metaData (a missing time counts as 0).
std::vector<std::shared_ptr<SDKBookmarkVO>> sortedMediaBookmarks(std::vector<std::shared_ptr<SDKBookmarkVO>>);

} // namespace lectoro
