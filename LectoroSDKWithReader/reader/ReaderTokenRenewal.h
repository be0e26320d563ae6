#pragma once

// Renewing an expired session through the reader's host, for the reader's features.

#include <functional>
#include <memory>
#include <string>

namespace lectoro {

class LectoroUser;
class ReaderViewController;

// Asks the host for a fresh token for the expired one; the completion gets the renewed
// user on the main queue while the reader lives. False when the host cannot renew.
bool renewUserTokenThroughHost(ReaderViewController&, const std::string& expiredToken,
    std::function<void(std::shared_ptr<LectoroUser>)> completion);

} // namespace lectoro
