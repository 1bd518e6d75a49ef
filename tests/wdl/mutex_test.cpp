#include "wdl/mutex.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST(Mutex, NestsOnTheOwningThreadAndExcludesOthers) {
  WDL_Mutex m;
  std::atomic<bool> entered{false};
  m.Enter();
  m.Enter();
  std::thread other([&] {
    WDL_MutexLock lock(&m);
    entered = true;
  });
  m.Leave();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(entered) << "one Leave of two must keep the lock";
  m.Leave();
  other.join();
  EXPECT_TRUE(entered);
}

TEST(Mutex, CountsStayConsistentUnderContention) {
  WDL_Mutex m;
  long counter = 0;
  auto work = [&] {
    for (int i = 0; i < 20000; ++i) {
      WDL_MutexLock outer(&m);
      WDL_MutexLock inner(&m);
      ++counter;
    }
  };
  std::thread a(work), b(work);
  a.join();
  b.join();
  EXPECT_EQ(counter, 40000);
  WDL_MutexLock none(nullptr); // a null holder does nothing
}
