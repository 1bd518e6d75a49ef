#pragma once
// The host's run loop (Steinberg::Linux::IRunLoop, from the view's frame or
// the host context) as the event loop the editor's platform host drives its
// window with. Every timer and descriptor watch goes through a small counted
// bridge object the host holds while registered; a removed bridge forgets
// its target, so a host that calls it once more reaches nothing.
#include <vector>

#include "platform/IEventLoop.h"
#include "pluginterfaces/gui/iplugview.h"

namespace vst3binding {

class RunLoopEventLoop : public IEventLoop {
public:
  // Holds a reference to the run loop until destroyed.
  explicit RunLoopEventLoop(Steinberg::Linux::IRunLoop* runLoop);
  ~RunLoopEventLoop() override;
  RunLoopEventLoop(const RunLoopEventLoop&) = delete;
  RunLoopEventLoop& operator=(const RunLoopEventLoop&) = delete;

  bool AddTimer(IEventLoopTimer* timer, int periodMs) override;
  void RemoveTimer(IEventLoopTimer* timer) override;
  bool AddFdWatch(int fd, IEventLoopFdHandler* handler) override;
  void RemoveFdWatch(IEventLoopFdHandler* handler) override;
  // Unregisters whatever is still registered.
  void RemoveAll();

  int Registrations() const { return static_cast<int>(mTimers.size() + mWatches.size()); }

  // The run loop of the frame, else of the host context; null when neither
  // offers one. The caller owns the reference.
  static Steinberg::Linux::IRunLoop* Find(Steinberg::FUnknown* frame,
                                          Steinberg::FUnknown* hostContext);

private:
  class TimerBridge;
  class FdBridge;

  Steinberg::Linux::IRunLoop* mRunLoop;
  std::vector<TimerBridge*> mTimers;
  std::vector<FdBridge*> mWatches;
};

} // namespace vst3binding
