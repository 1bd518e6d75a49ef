#pragma once
// An event loop of its own for programs that have no host: poll() over the
// watched descriptors, woken for the next due timer, every callback on the
// thread that runs it. Tests and the stand-alone tool drive editors with it.
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/IEventLoop.h"

class PollEventLoop : public IEventLoop {
public:
  PollEventLoop() = default;
  PollEventLoop(const PollEventLoop&) = delete;
  PollEventLoop& operator=(const PollEventLoop&) = delete;

  bool AddTimer(IEventLoopTimer* timer, int periodMs) override;
  void RemoveTimer(IEventLoopTimer* timer) override;
  bool AddFdWatch(int fd, IEventLoopFdHandler* handler) override;
  void RemoveFdWatch(IEventLoopFdHandler* handler) override;

  // Waits at most maxWaitMs (0: not at all) for a readable descriptor or the
  // next due timer, then calls what is ready. False when nothing is
  // registered, so that a caller does not spin on an empty loop.
  bool RunOnce(int maxWaitMs);
  // Runs until done() is true (checked after every round) or timeoutMs has
  // passed; returns done()'s last answer.
  bool RunUntil(const std::function<bool()>& done, int timeoutMs);
  void RunFor(int ms);

  int TimerCount() const;
  int WatchCount() const;

  // Milliseconds of a monotonic clock.
  static int64_t NowMs();

private:
  struct Timer {
    IEventLoopTimer* timer; // null once removed
    int periodMs;
    int64_t dueMs;
  };
  struct Watch {
    int fd;
    IEventLoopFdHandler* handler; // null once removed
  };
  int MsUntilNextTimer(int64_t now) const;
  void FireDueTimers();
  void PollDescriptors(int waitMs);
  // Drops removed entries; only between dispatch passes.
  void Compact();

  std::vector<Timer> mTimers;
  std::vector<Watch> mWatches;
};
