#pragma once
// X reports single presses only; a second left press close enough in time
// and place to the first is a double click.
#include <cstdint>

class ClickTracker {
public:
  static constexpr uint32_t kMaxIntervalMs = 400;
  static constexpr int kMaxDistance = 4;

  // Records a left press (server time in ms, window pixels); true when it
  // completes a double click. The press after a double click starts afresh.
  bool Press(uint32_t timeMs, int x, int y);
  void Reset() { mPending = false; }

private:
  bool mPending = false;
  uint32_t mTime = 0;
  int mX = 0, mY = 0;
};
