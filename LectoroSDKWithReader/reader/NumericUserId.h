#pragma once

// The services and the store only know decimal user ids. A host whose ids hold other
// characters gets, on this device, a stable decimal stand-in: the epoch seconds of the
// id's first launch, remembered in the user defaults under the id itself.

#include <string>

namespace base {
class UserDefaults;
}

namespace lectoro {

class LectoroUser;

// Only the ASCII digits count: an id made of other scripts' digits would read as 0 as a
// number and merge with every other such user, so it gets a stand-in like any other
// non-decimal id. The empty id is left alone.
bool isDecimalUserId(const std::string&);

// Answers the decimal id for `userID`, remembering a new one when needed.
std::string numericUserIdFor(const std::string& userID, base::UserDefaults&);

// Replaces the user's id in place (the same object goes on to the reader).
void updateUserIDWithNumericValueForLectoroUser(LectoroUser&);

} // namespace lectoro
