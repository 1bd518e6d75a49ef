#include "platform/linux/ClickTracker.h"

#include <cstdlib>

bool ClickTracker::Press(uint32_t timeMs, int x, int y) {
  // Unsigned difference: the server's clock wraps after 49 days.
  const bool isDouble = mPending && timeMs - mTime <= kMaxIntervalMs &&
                        std::abs(x - mX) <= kMaxDistance && std::abs(y - mY) <= kMaxDistance;
  mPending = !isDouble;
  mTime = timeMs;
  mX = x;
  mY = y;
  return isDouble;
}
