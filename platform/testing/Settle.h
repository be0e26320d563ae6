#pragma once

// Lets work that hops between the main run loop and the background queues come to rest: a
// sync answer applied to the store on a queue, its report posted back to the main loop,
// the next request that report sends, and so on. The virtual clock does not move, so
// delayed work stays where it is.

#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"

namespace uitest {

inline void runUntilSettled()
{
    // Once the background queues are empty and the main loop finds nothing to run, nothing
    // is left that could post more. Bounded, as runUntilIdle() is, against work that keeps
    // posting itself.
    for (int round = 0; round < 1000; ++round) {
        base::waitForBackgroundWork();
        if (base::RunLoop::main().runUntilIdle() == 0)
            return;
    }
}

} // namespace uitest
