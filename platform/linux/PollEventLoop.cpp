#include "platform/linux/PollEventLoop.h"

#include <algorithm>
#include <ctime>
#include <poll.h>

int64_t PollEventLoop::NowMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

bool PollEventLoop::AddTimer(IEventLoopTimer* timer, int periodMs) {
  if (!timer) return false;
  for (const Timer& t : mTimers)
    if (t.timer == timer) return false;
  const int period = std::max(periodMs, 1);
  mTimers.push_back({timer, period, NowMs() + period});
  return true;
}

void PollEventLoop::RemoveTimer(IEventLoopTimer* timer) {
  // Only cleared here: a dispatch pass may be walking the list.
  for (Timer& t : mTimers)
    if (t.timer == timer) t.timer = nullptr;
}

bool PollEventLoop::AddFdWatch(int fd, IEventLoopFdHandler* handler) {
  if (!handler || fd < 0) return false;
  for (const Watch& w : mWatches)
    if (w.handler == handler) return false;
  mWatches.push_back({fd, handler});
  return true;
}

void PollEventLoop::RemoveFdWatch(IEventLoopFdHandler* handler) {
  for (Watch& w : mWatches)
    if (w.handler == handler) w.handler = nullptr;
}

int PollEventLoop::TimerCount() const {
  return static_cast<int>(
      std::count_if(mTimers.begin(), mTimers.end(), [](const Timer& t) { return t.timer; }));
}

int PollEventLoop::WatchCount() const {
  return static_cast<int>(
      std::count_if(mWatches.begin(), mWatches.end(), [](const Watch& w) { return w.handler; }));
}

void PollEventLoop::Compact() {
  mTimers.erase(
      std::remove_if(mTimers.begin(), mTimers.end(), [](const Timer& t) { return !t.timer; }),
      mTimers.end());
  mWatches.erase(
      std::remove_if(mWatches.begin(), mWatches.end(), [](const Watch& w) { return !w.handler; }),
      mWatches.end());
}

int PollEventLoop::MsUntilNextTimer(int64_t now) const {
  int64_t wait = -1;
  for (const Timer& t : mTimers) {
    if (!t.timer) continue;
    const int64_t left = std::max<int64_t>(t.dueMs - now, 0);
    if (wait < 0 || left < wait) wait = left;
  }
  return static_cast<int>(std::min<int64_t>(wait, 1 << 30));
}

void PollEventLoop::FireDueTimers() {
  const int64_t now = NowMs();
  // By index: a callback may add timers, which can move the vector.
  const size_t n = mTimers.size();
  for (size_t i = 0; i < n; ++i) {
    if (!mTimers[i].timer || mTimers[i].dueMs > now) continue;
    // A late loop fires once and catches up, rather than firing in a burst.
    mTimers[i].dueMs = std::max(mTimers[i].dueMs + mTimers[i].periodMs, now + 1);
    mTimers[i].timer->OnTimer();
  }
}

void PollEventLoop::PollDescriptors(int waitMs) {
  std::vector<pollfd> fds;
  std::vector<IEventLoopFdHandler*> handlers;
  for (const Watch& w : mWatches) {
    if (!w.handler) continue;
    fds.push_back({w.fd, POLLIN, 0});
    handlers.push_back(w.handler);
  }
  const int ready = poll(fds.data(), fds.size(), waitMs);
  if (ready <= 0) return; // time-out, or EINTR: the next round retries
  for (size_t i = 0; i < fds.size(); ++i) {
    if (!fds[i].revents) continue;
    // A handler removed by an earlier callback of this pass is not called.
    const bool live = std::any_of(mWatches.begin(), mWatches.end(), [&](const Watch& w) {
      return w.handler == handlers[i] && w.fd == fds[i].fd;
    });
    if (live) handlers[i]->OnFdReady(fds[i].fd);
  }
}

bool PollEventLoop::RunOnce(int maxWaitMs) {
  Compact();
  if (mTimers.empty() && mWatches.empty()) return false;
  const int untilTimer = MsUntilNextTimer(NowMs());
  int wait = std::max(maxWaitMs, 0);
  if (untilTimer >= 0) wait = std::min(wait, untilTimer);
  PollDescriptors(wait);
  FireDueTimers();
  Compact();
  return true;
}

bool PollEventLoop::RunUntil(const std::function<bool()>& done, int timeoutMs) {
  const int64_t end = NowMs() + std::max(timeoutMs, 0);
  while (!done()) {
    const int64_t left = end - NowMs();
    if (left <= 0) return done();
    // An empty loop still waits out the time, checking the condition.
    if (!RunOnce(static_cast<int>(std::min<int64_t>(left, 10)))) {
      timespec nap{0, 1000000};
      nanosleep(&nap, nullptr);
    }
  }
  return true;
}

void PollEventLoop::RunFor(int ms) {
  RunUntil([] { return false; }, ms);
}
