#pragma once

#include "platform/base/Error.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace ui {
class ImageView;
}

namespace lectoro {

class LectoroUser;
class MVLectoroMediaBookController;

// What a media-book controller tells its owner. Every operation is optional: the
// defaults do what an owner that does not implement it would see.
class MVLectoroMediaBookControllerDelegate {
public:
    virtual ~MVLectoroMediaBookControllerDelegate() = default;

    virtual void didTapOnBackWithBookID(
        MVLectoroMediaBookController&, const std::string& /*bookID*/, const std::string& /*lastPageFolio*/)
    {
    }
    virtual void didUserSessionExpired(MVLectoroMediaBookController&) { }
    virtual void refreshUserToken(MVLectoroMediaBookController&, std::shared_ptr<LectoroUser>,
        const std::string& /*expiredToken*/, std::function<void(std::shared_ptr<LectoroUser>)> /*completed*/)
    {
    }
    virtual void didHLSMediaLoadingFailWithError(MVLectoroMediaBookController&, const base::Error&,
        const std::string& /*bookId*/, int64_t /*timeStamp*/)
    {
    }
    virtual std::shared_ptr<ui::ImageView> imageViewForThumbnail(
        MVLectoroMediaBookController&, const std::string& /*address*/)
    {
        return nullptr;
    }
    virtual void didFetchLastAccessedForBookID(
        MVLectoroMediaBookController&, const std::string&, const std::string&)
    {
    }
    virtual void didTapOnNextMediaWithBookID(
        MVLectoroMediaBookController&, const std::string&, const std::string&)
    {
    }
    virtual void didTapOnPreviousMediaWithBookID(
        MVLectoroMediaBookController&, const std::string&, const std::string&)
    {
    }
};

} // namespace lectoro
