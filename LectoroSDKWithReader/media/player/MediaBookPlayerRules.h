#pragma once

// Decisions of the player screen that need no views: whether a position is too close to a
// bookmark to add another, and how the sleep timer's countdown is written.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lectoro {

class SDKBookmarkVO;

// True when `currentTime` equals a bookmark's "CurrentTime" or lies within `window` seconds
// of it (both ends included). Bookmarks without an integer "CurrentTime" are skipped; a
// negative window counts as 0.
bool isNearMediaBookmark(const std::vector<std::shared_ptr<SDKBookmarkVO>>&, int64_t currentTime, int64_t window);

// "HH:MM:SS" of the whole seconds (toward zero; hours go past 24), in the reader language's
// digits. Negative and non-finite values read as 0.
std::string formattedSleepTime(double seconds);

} // namespace lectoro
