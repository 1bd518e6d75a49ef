#include "vst3/host/HostRunLoop.h"

#include <algorithm>
#include <ctime>

using namespace Steinberg;
using namespace Steinberg::Linux;

namespace vst3host {

// One registration: the plug-in's handler, held with a reference while
// registered, as the loop's timer or descriptor watch.
struct HostRunLoop::Link : IEventLoopTimer, IEventLoopFdHandler {
  explicit Link(int64_t* longestMs) : longest(longestMs) {}
  ITimerHandler* timer = nullptr;
  IEventHandler* events = nullptr;
  int64_t* longest;
  void OnTimer() override {
    const int64_t start = PollEventLoop::NowMs();
    if (timer) timer->onTimer();
    Took(start);
  }
  void OnFdReady(int fd) override {
    const int64_t start = PollEventLoop::NowMs();
    if (events) events->onFDIsSet(fd);
    Took(start);
  }
  // Only the start is read before the call: the link may be removed inside it,
  // but stays alive until the loop's round is over.
  void Took(int64_t start) { *longest = std::max(*longest, PollEventLoop::NowMs() - start); }
  FUnknown* Handler() const {
    return timer ? static_cast<FUnknown*>(timer) : static_cast<FUnknown*>(events);
  }
};

HostRunLoop::HostRunLoop() = default;

HostRunLoop::~HostRunLoop() {
  // A plug-in that never unregistered still gets its references back.
  while (!mLinks.empty()) Forget(mLinks.back().get());
}

tresult PLUGIN_API HostRunLoop::registerEventHandler(IEventHandler* handler, FileDescriptor fd) {
  if (!handler || fd < 0) return kInvalidArgument;
  for (const auto& link : mLinks)
    if (link->events == handler) return kResultFalse;
  auto link = std::make_unique<Link>(&mLongestCallbackMs);
  link->events = handler;
  if (!mLoop.AddFdWatch(fd, link.get())) return kResultFalse;
  handler->addRef();
  mLinks.push_back(std::move(link));
  ++mRegistrationsMade;
  return kResultOk;
}

tresult PLUGIN_API HostRunLoop::registerTimer(ITimerHandler* handler, TimerInterval ms) {
  if (!handler || ms == 0) return kInvalidArgument;
  for (const auto& link : mLinks)
    if (link->timer == handler) return kResultFalse;
  auto link = std::make_unique<Link>(&mLongestCallbackMs);
  link->timer = handler;
  if (!mLoop.AddTimer(link.get(), static_cast<int>(std::min<TimerInterval>(ms, 1u << 30))))
    return kResultFalse;
  handler->addRef();
  mLinks.push_back(std::move(link));
  ++mRegistrationsMade;
  return kResultOk;
}

tresult PLUGIN_API HostRunLoop::unregisterEventHandler(IEventHandler* handler) {
  for (const auto& link : mLinks)
    if (handler && link->events == handler) {
      Forget(link.get());
      return kResultOk;
    }
  return kResultFalse;
}

tresult PLUGIN_API HostRunLoop::unregisterTimer(ITimerHandler* handler) {
  for (const auto& link : mLinks)
    if (handler && link->timer == handler) {
      Forget(link.get());
      return kResultOk;
    }
  return kResultFalse;
}

void HostRunLoop::Forget(Link* link) {
  auto it = std::find_if(mLinks.begin(), mLinks.end(),
                         [link](const std::unique_ptr<Link>& l) { return l.get() == link; });
  if (it == mLinks.end()) return;
  if (link->timer) mLoop.RemoveTimer(link);
  if (link->events) mLoop.RemoveFdWatch(link);
  FUnknown* handler = link->Handler();
  link->timer = nullptr;
  link->events = nullptr;
  mRemoved.push_back(std::move(*it));
  mLinks.erase(it);
  handler->release();
}

void HostRunLoop::CollectRemoved() {
  mRemoved.clear();
}

bool HostRunLoop::RunOnce(int maxWaitMs) {
  const bool any = mLoop.RunOnce(maxWaitMs);
  CollectRemoved();
  return any;
}

bool HostRunLoop::RunUntil(const std::function<bool()>& done, int timeoutMs) {
  const int64_t end = PollEventLoop::NowMs() + std::max(timeoutMs, 0);
  while (!done()) {
    const int64_t left = end - PollEventLoop::NowMs();
    if (left <= 0) return done();
    if (!RunOnce(static_cast<int>(std::min<int64_t>(left, 10)))) {
      timespec nap{0, 1000000}; // nothing registered: wait out the time all the same
      nanosleep(&nap, nullptr);
    }
  }
  return true;
}

void HostRunLoop::RunFor(int ms) {
  RunUntil([] { return false; }, ms);
}

int HostRunLoop::Registered() const {
  return static_cast<int>(mLinks.size());
}

} // namespace vst3host
