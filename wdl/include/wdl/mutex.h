#pragma once
// A recursive lock: a plain POSIX mutex, the owning thread and a nesting
// count. Notifications made while holding it may enter it again.
#include <pthread.h>

#include <atomic>
#include <thread>

class WDL_Mutex {
public:
  WDL_Mutex() { pthread_mutex_init(&mMutex, nullptr); }
  ~WDL_Mutex() { pthread_mutex_destroy(&mMutex); }
  WDL_Mutex(const WDL_Mutex&) = delete;
  WDL_Mutex& operator=(const WDL_Mutex&) = delete;

  void Enter() {
    const std::thread::id self = std::this_thread::get_id();
    if (mOwner.load(std::memory_order_relaxed) == self) {
      ++mCount;
      return;
    }
    pthread_mutex_lock(&mMutex);
    mOwner.store(self, std::memory_order_relaxed);
    mCount = 0;
  }

  void Leave() {
    if (--mCount < 0) {
      mOwner.store(std::thread::id(), std::memory_order_relaxed);
      pthread_mutex_unlock(&mMutex);
    }
  }

private:
  pthread_mutex_t mMutex;
  // Read before taking the lock, so atomic; relaxed is enough: a thread can
  // only read its own id here if it stored it itself and has not since
  // cleared it, as no other thread stores that id. The count is the owner's.
  std::atomic<std::thread::id> mOwner{};
  static_assert(std::atomic<std::thread::id>::is_always_lock_free,
                "the owner check must not take a lock of its own");
  int mCount = 0;
};

// Enters in the constructor and leaves in the destructor, on every path.
class WDL_MutexLock {
public:
  explicit WDL_MutexLock(WDL_Mutex* mutex) : mMutex(mutex) {
    if (mMutex) mMutex->Enter();
  }
  ~WDL_MutexLock() {
    if (mMutex) mMutex->Leave();
  }
  WDL_MutexLock(const WDL_MutexLock&) = delete;
  WDL_MutexLock& operator=(const WDL_MutexLock&) = delete;

private:
  WDL_Mutex* mMutex;
};
