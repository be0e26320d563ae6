#pragma once

namespace lectoro {

// The device is a tablet: it answers the idiom query with the pad idiom (a device that does
// not answer counts as a phone).
bool isIpad();
// The application lays its interface out right to left.
bool isRTL();

} // namespace lectoro
