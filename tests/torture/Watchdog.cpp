#include "Watchdog.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

int64_t Watchdog::NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void Watchdog::Start() {
  mThread = std::thread([this] { Run(); });
}

void Watchdog::Stop() {
  if (!mThread.joinable()) return;
  {
    std::lock_guard<std::mutex> hold(mLock);
    mStopping = true;
  }
  mWake.notify_all();
  mThread.join();
}

void Watchdog::Run() {
  std::unique_lock<std::mutex> hold(mLock);
  while (!mWake.wait_for(hold, std::chrono::milliseconds(100), [this] { return mStopping; }))
    Check(NowNs());
}

// A hung plug-in cannot be unwound from here: report and end the process.
void Watchdog::Check(int64_t now) const {
  for (const Slot* slot : mSlots) {
    const char* call = slot->mCall.load(std::memory_order_acquire);
    if (!call) continue;
    const double pending = static_cast<double>(now - slot->mSinceNs.load()) * 1e-9;
    if (pending < mLimitSeconds) continue;
    fprintf(stderr, "torture: %s thread, step %llu: no answer from %s after %.1f s (seed %llu)\n",
            slot->Thread(), static_cast<unsigned long long>(slot->Step()), call, pending,
            static_cast<unsigned long long>(mSeed));
    fflush(stderr);
    std::_Exit(3);
  }
}
