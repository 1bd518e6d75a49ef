#pragma once
// Fails the run when a call into the plug-in does not return: each driving
// thread marks the call it is in on its slot, and a watching thread ends the
// process, naming the call, once one has been pending longer than the limit.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

class Watchdog {
public:
  class Slot {
  public:
    explicit Slot(const char* thread) : mThread(thread) {}
    const char* Thread() const { return mThread; }
    void SetStep(uint64_t step) { mStep.store(step, std::memory_order_relaxed); }
    uint64_t Step() const { return mStep.load(std::memory_order_relaxed); }

  private:
    friend class Watchdog;
    friend class PendingCall;
    const char* mThread;
    std::atomic<const char*> mCall{nullptr};
    std::atomic<int64_t> mSinceNs{0};
    std::atomic<uint64_t> mStep{0};
  };

  Watchdog(double limitSeconds, uint64_t seed) : mLimitSeconds(limitSeconds), mSeed(seed) {}
  ~Watchdog() { Stop(); }
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

  // Slots are added before Start and outlive the watchdog's thread.
  void Watch(Slot* slot) { mSlots.push_back(slot); }
  void Start();
  void Stop();

  static int64_t NowNs();

private:
  void Run();
  void Check(int64_t now) const;

  double mLimitSeconds;
  uint64_t mSeed;
  std::vector<Slot*> mSlots;
  std::thread mThread;
  std::mutex mLock;
  std::condition_variable mWake;
  bool mStopping = false;
};

// Marks a call as pending on a slot for as long as it lives.
class PendingCall {
public:
  PendingCall(Watchdog::Slot& slot, const char* call) : mSlot(slot) {
    mSlot.mSinceNs.store(Watchdog::NowNs(), std::memory_order_relaxed);
    mSlot.mCall.store(call, std::memory_order_release);
  }
  ~PendingCall() { mSlot.mCall.store(nullptr, std::memory_order_release); }
  PendingCall(const PendingCall&) = delete;
  PendingCall& operator=(const PendingCall&) = delete;

private:
  Watchdog::Slot& mSlot;
};
