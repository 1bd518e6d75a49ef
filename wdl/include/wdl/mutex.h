#pragma once
// A recursive lock: a plain POSIX mutex, the owning thread and a nesting
// count. Notifications made while holding it may enter it again.
#include <pthread.h>

#include <atomic>

class WDL_Mutex {
public:
  WDL_Mutex() { pthread_mutex_init(&mMutex, nullptr); }
  ~WDL_Mutex() { pthread_mutex_destroy(&mMutex); }
  WDL_Mutex(const WDL_Mutex&) = delete;
  WDL_Mutex& operator=(const WDL_Mutex&) = delete;

  void Enter() {
    const pthread_t self = pthread_self();
    if (mOwned.load(std::memory_order_acquire) && pthread_equal(mOwner, self)) {
      ++mCount;
      return;
    }
    pthread_mutex_lock(&mMutex);
    mOwner = self;
    mOwned.store(true, std::memory_order_release);
    mCount = 0;
  }

  void Leave() {
    if (--mCount < 0) {
      mOwned.store(false, std::memory_order_release);
      pthread_mutex_unlock(&mMutex);
    }
  }

private:
  pthread_mutex_t mMutex;
  // mOwner is written only by the thread holding mMutex; another thread can
  // only see itself as owner if it set the field itself.
  pthread_t mOwner{};
  std::atomic<bool> mOwned{false};
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
