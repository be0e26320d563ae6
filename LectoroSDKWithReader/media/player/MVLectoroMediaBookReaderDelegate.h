#pragma once

// What the media-book player screen tells the one who hosts it. Every operation is
// optional: the defaults do nothing.

#include "platform/base/Error.h"
#include "platform/base/Value.h"

#include <cstdint>
#include <memory>
#include <string>

namespace ui {
class ImageView;
}

namespace lectoro {

class MVLectoroMediaBookReader;
class SDKBookmarkVO;

class MVLectoroMediaBookReaderDelegate {
public:
    virtual ~MVLectoroMediaBookReaderDelegate() = default;
    virtual void didTapOnBack(const base::Value& /*metaData*/, MVLectoroMediaBookReader&) { }
    virtual std::shared_ptr<ui::ImageView> imageViewForThumbnail(const std::string& /*address*/) { return nullptr; }
    virtual void didBookmarkCompleteWithBookmarkVO(const std::shared_ptr<SDKBookmarkVO>&) { }
    virtual void didSchedulerCalledWithInfo(const base::Value& /*position*/) { }
    virtual void didHLSMediaServiceFailWithError(const base::Error&, int64_t /*bookId*/, int64_t /*timeStamp*/) { }
    virtual void didHLSMediaServiceCallSuccessfullyWithMediaPath(const std::string& /*path*/, int64_t /*bookId*/) { }
    // "Playing" or "Paused".
    virtual void didMediaPlaybackStateChange(const std::string& /*state*/) { }
    virtual void didTapOnNextMediaButton(MVLectoroMediaBookReader&) { }
    virtual void didTapOnPreviousMediaButton(MVLectoroMediaBookReader&) { }
};

} // namespace lectoro
