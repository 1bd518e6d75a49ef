#include "detail/RunLoopEventLoop.h"

#include <algorithm>
#include <atomic>

#include "detail/HostCall.h"

using namespace Steinberg;
using namespace Steinberg::Linux;

namespace vst3binding {
namespace {

// Reference counting and interface queries for a bridge of one interface.
template <class Interface> class Counted : public Interface {
public:
  tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override {
    if (!obj) return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, Interface::iid) ||
        FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
      addRef();
      *obj = static_cast<Interface*>(this);
      return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
  }
  uint32 PLUGIN_API addRef() override { return ++mRefCount; }
  uint32 PLUGIN_API release() override {
    const uint32 left = mRefCount.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) delete this;
    return left;
  }

protected:
  virtual ~Counted() = default;

private:
  std::atomic<uint32> mRefCount{1};
};

} // namespace

class RunLoopEventLoop::TimerBridge : public Counted<ITimerHandler> {
public:
  explicit TimerBridge(IEventLoopTimer* target) : mTarget(target) {}
  void PLUGIN_API onTimer() override {
    HostCall([&] {
      if (mTarget) mTarget->OnTimer();
    });
  }
  IEventLoopTimer* mTarget;
};

class RunLoopEventLoop::FdBridge : public Counted<IEventHandler> {
public:
  explicit FdBridge(IEventLoopFdHandler* target) : mTarget(target) {}
  void PLUGIN_API onFDIsSet(FileDescriptor fd) override {
    HostCall([&] {
      if (mTarget) mTarget->OnFdReady(fd);
    });
  }
  IEventLoopFdHandler* mTarget;
};

RunLoopEventLoop::RunLoopEventLoop(IRunLoop* runLoop) : mRunLoop(runLoop) {
  if (mRunLoop) mRunLoop->addRef();
}

RunLoopEventLoop::~RunLoopEventLoop() {
  RemoveAll();
  if (mRunLoop) mRunLoop->release();
}

IRunLoop* RunLoopEventLoop::Find(FUnknown* frame, FUnknown* hostContext) {
  for (FUnknown* source : {frame, hostContext}) {
    if (!source) continue;
    IRunLoop* runLoop = nullptr;
    if (source->queryInterface(IRunLoop::iid, reinterpret_cast<void**>(&runLoop)) == kResultOk &&
        runLoop)
      return runLoop;
  }
  return nullptr;
}

bool RunLoopEventLoop::AddTimer(IEventLoopTimer* timer, int periodMs) {
  if (!mRunLoop || !timer) return false;
  for (TimerBridge* b : mTimers)
    if (b->mTarget == timer) return false;
  auto* bridge = new TimerBridge(timer);
  const TimerInterval interval = static_cast<TimerInterval>(std::max(periodMs, 1));
  if (mRunLoop->registerTimer(bridge, interval) != kResultOk) {
    bridge->mTarget = nullptr;
    bridge->release();
    return false;
  }
  mTimers.push_back(bridge);
  return true;
}

void RunLoopEventLoop::RemoveTimer(IEventLoopTimer* timer) {
  for (auto it = mTimers.begin(); it != mTimers.end(); ++it) {
    TimerBridge* bridge = *it;
    if (bridge->mTarget != timer) continue;
    mTimers.erase(it);
    bridge->mTarget = nullptr;
    mRunLoop->unregisterTimer(bridge);
    bridge->release();
    return;
  }
}

bool RunLoopEventLoop::AddFdWatch(int fd, IEventLoopFdHandler* handler) {
  if (!mRunLoop || !handler || fd < 0) return false;
  for (FdBridge* b : mWatches)
    if (b->mTarget == handler) return false;
  auto* bridge = new FdBridge(handler);
  if (mRunLoop->registerEventHandler(bridge, fd) != kResultOk) {
    bridge->mTarget = nullptr;
    bridge->release();
    return false;
  }
  mWatches.push_back(bridge);
  return true;
}

void RunLoopEventLoop::RemoveFdWatch(IEventLoopFdHandler* handler) {
  for (auto it = mWatches.begin(); it != mWatches.end(); ++it) {
    FdBridge* bridge = *it;
    if (bridge->mTarget != handler) continue;
    mWatches.erase(it);
    bridge->mTarget = nullptr;
    mRunLoop->unregisterEventHandler(bridge);
    bridge->release();
    return;
  }
}

void RunLoopEventLoop::RemoveAll() {
  while (!mTimers.empty()) RemoveTimer(mTimers.back()->mTarget);
  while (!mWatches.empty()) RemoveFdWatch(mWatches.back()->mTarget);
}

} // namespace vst3binding
