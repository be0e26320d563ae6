#pragma once

// What teacher review needs of the reader beyond the shared ReaderContext: the reader as
// the presenting controller and bar delegate, its bars, its session-expiry handling and
// its host's token renewal. The reader implements it; tests can stand in for it.

#include <functional>
#include <memory>
#include <string>

namespace ui {
class ViewController;
}

namespace lectoro {

class LectoroDataSyncingManagerDelegate;
class PlayerActionBarItem;
class PlayerActionDelegate;

class TeacherReviewReader {
public:
    virtual ~TeacherReviewReader() = default;

    // The reader as the controller that presents the picker and the learner panel.
    virtual std::shared_ptr<ui::ViewController> presentingController() = 0;
    // The reader as its bars' delegate, and as the data-sync manager's delegate.
    virtual std::weak_ptr<PlayerActionDelegate> playerActionDelegate() = 0;
    virtual std::weak_ptr<LectoroDataSyncingManagerDelegate> dataSyncDelegate() = 0;
    // Slides the reader's own top and bottom bars off screen, animated.
    virtual void moveTopAndBottomOffScreen() = 0;
    virtual void resetAllPlayerActionBar() = 0;
    // The first tappable item with the tag on the review (or pen-tool) bars; null for none.
    virtual std::shared_ptr<PlayerActionBarItem> getPenToolItemWithTag(int tag) = 0;
    virtual void showSessionExpiredAlert() = 0;
    // Asks the host for a fresh token for the reader's user. False when the host offers no
    // renewal (nothing is asked then). Otherwise `renewed` runs once on the main queue,
    // after the reader has taken the renewed user, with whether a user came back.
    virtual bool refreshUserTokenForExpiredToken(const std::string& expiredToken, std::function<void(bool renewed)>) = 0;
    // Work bound to this token is dropped once the reader is cleared or gone.
    virtual std::weak_ptr<const void> lifetimeToken() = 0;
};

} // namespace lectoro
