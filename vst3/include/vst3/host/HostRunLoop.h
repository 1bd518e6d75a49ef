#pragma once
// The run loop a Linux host offers its plug-ins' views (Steinberg::Linux::
// IRunLoop), over a poll() loop of our own: every handler is called on the
// thread that runs it. Registrations are counted, so a test can tell that a
// view left nothing behind.
#include <functional>
#include <memory>
#include <vector>

#include "platform/linux/PollEventLoop.h"
#include "pluginterfaces/gui/iplugview.h"
#include "vst3/host/HostObject.h"

namespace vst3host {

class HostRunLoop : public HostObject<Steinberg::Linux::IRunLoop> {
public:
  HostRunLoop();

  Steinberg::tresult PLUGIN_API registerEventHandler(Steinberg::Linux::IEventHandler* handler,
                                                     Steinberg::Linux::FileDescriptor fd) override;
  Steinberg::tresult PLUGIN_API
  unregisterEventHandler(Steinberg::Linux::IEventHandler* handler) override;
  Steinberg::tresult PLUGIN_API
  registerTimer(Steinberg::Linux::ITimerHandler* handler,
                Steinberg::Linux::TimerInterval milliseconds) override;
  Steinberg::tresult PLUGIN_API unregisterTimer(Steinberg::Linux::ITimerHandler* handler) override;

  // Runs what is due, waiting at most maxWaitMs; false when nothing is registered.
  bool RunOnce(int maxWaitMs);
  // Runs until done() is true or timeoutMs has passed; returns done()'s answer.
  bool RunUntil(const std::function<bool()>& done, int timeoutMs);
  void RunFor(int ms);
  // Our own descriptors (the host's window) are watched through the same loop.
  PollEventLoop& Loop() { return mLoop; }

  // Handlers of plug-ins still registered, and all registrations ever made.
  int Registered() const;
  int RegistrationsMade() const { return mRegistrationsMade; }
  // The longest a plug-in's handler has kept the loop's thread, in ms.
  int64_t LongestCallbackMs() const { return mLongestCallbackMs; }

private:
  ~HostRunLoop() override;
  struct Link;
  void Forget(Link* link);
  // Links removed while the loop may still be inside them go at the next round.
  void CollectRemoved();

  PollEventLoop mLoop;
  std::vector<std::unique_ptr<Link>> mLinks;
  std::vector<std::unique_ptr<Link>> mRemoved;
  int mRegistrationsMade = 0;
  int64_t mLongestCallbackMs = 0;
};

} // namespace vst3host
