#pragma once
// What each driving thread carries: its name and watchdog slot, its random
// sequence, its step count and the shared findings. Every call into the
// plug-in goes through Call, which the watchdog sees and which turns an
// exception coming out of the plug-in into a finding (a real host would end
// there).
#include <exception>
#include <string>

#include "Findings.h"
#include "Rng.h"
#include "Watchdog.h"

class Driver {
public:
  Driver(const char* thread, uint64_t seed, Findings* findings)
      : mSlot(thread), mRng(seed), mFindings(findings) {}

  Watchdog::Slot& Slot() { return mSlot; }
  Rng& Random() { return mRng; }
  uint64_t Steps() const { return mSteps; }
  void NextStep() { mSlot.SetStep(++mSteps); }

  void Fail(const std::string& kind, const std::string& detail) {
    mFindings->Fail(mSlot.Thread(), mSteps, kind, detail);
  }

  // False when the call threw.
  template <class F> bool Call(const char* call, F&& run) {
    PendingCall pending(mSlot, call);
    try {
      run();
      return true;
    } catch (const std::exception& e) {
      Fail("exception out of the plug-in", std::string(call) + ": " + e.what());
    } catch (...) {
      Fail("exception out of the plug-in", std::string(call) + ": not a std::exception");
    }
    return false;
  }

private:
  Watchdog::Slot mSlot;
  Rng mRng;
  Findings* mFindings;
  uint64_t mSteps = 0;
};
