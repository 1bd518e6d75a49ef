#pragma once
// The host's event loop as a platform host of the editor sees it: repeating
// timers and file-descriptor watches whose callbacks all run on the one
// user-interface thread that owns the loop. No threads are involved.
//
// The VST 3 view implements it over the host's run loop; a stand-alone
// program uses PollEventLoop (platform/linux). The loop never owns a handler:
// whoever adds one removes it before the handler goes away, and a handler may
// add or remove handlers (itself included) from inside its own callback.

class IEventLoopTimer {
public:
  virtual ~IEventLoopTimer() {}
  virtual void OnTimer() = 0;
};

class IEventLoopFdHandler {
public:
  virtual ~IEventLoopFdHandler() {}
  // The descriptor is readable, or has hung up or failed: read what is there.
  virtual void OnFdReady(int fd) = 0;
};

class IEventLoop {
public:
  virtual ~IEventLoop() {}
  // Calls timer->OnTimer() every periodMs milliseconds (at least 1) until
  // removed. False when the timer cannot be registered or already is.
  virtual bool AddTimer(IEventLoopTimer* timer, int periodMs) = 0;
  virtual void RemoveTimer(IEventLoopTimer* timer) = 0;
  // Calls handler->OnFdReady(fd) whenever fd is readable. False when the watch
  // cannot be registered or the handler already watches.
  virtual bool AddFdWatch(int fd, IEventLoopFdHandler* handler) = 0;
  virtual void RemoveFdWatch(IEventLoopFdHandler* handler) = 0;
};
