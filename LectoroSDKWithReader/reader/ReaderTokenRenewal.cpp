#include "LectoroSDKWithReader/reader/ReaderTokenRenewal.h"

#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "platform/base/RunLoop.h"

namespace lectoro {

bool renewUserTokenThroughHost(ReaderViewController& reader, const std::string& expiredToken,
    std::function<void(std::shared_ptr<LectoroUser>)> completion)
{
    auto delegate = reader.delegate();
    if (!delegate || !delegate->respondsToRefreshUserToken())
        return false;
    std::weak_ptr<const void> alive = reader.lifetimeToken();
    delegate->refreshUserTokenForUser(reader.user(), expiredToken,
        [alive, completion = std::move(completion)](std::shared_ptr<LectoroUser> user) {
            // The delegate may answer on any thread; the reader's state changes on the main one.
            base::RunLoop::main().post(alive, [completion, user] { completion(user); });
        });
    return true;
}

} // namespace lectoro
