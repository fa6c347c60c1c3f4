// Waiting while the windows stay responsive.
#pragma once

namespace tavi {

// Returns after the given seconds; window events (clicks included) are processed
// meanwhile. Measured on a monotonic clock, so a wait across midnight or a clock
// change ends on time; the processor sleeps in the event loop instead of spinning.
void WaitSeconds(float seconds);

} // namespace tavi
