#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "effect/Readout.h"

namespace {

std::string Text(const SafeTextReadout& r, int size = 64) {
  char buf[64];
  r.GetText(buf, size);
  return buf;
}

TEST(SafeTextReadout, StoresTextAndCountsOnlyChanges) {
  SafeTextReadout r("50 %");
  EXPECT_EQ(Text(r), "50 %");
  const uint32_t v = r.Version();
  r.SetTextFromPlug("50 %");
  EXPECT_EQ(r.Version(), v);
  r.SetTextFromPlug("51 %");
  EXPECT_EQ(r.Version(), v + 1);
  r.SetTextFromPlug(nullptr);
  EXPECT_EQ(Text(r), "");
}

TEST(SafeTextReadout, LongTextsAreCutAndSmallBuffersTerminated) {
  SafeTextReadout r;
  const std::string longText(200, 'x');
  r.SetTextFromPlug(longText.c_str());
  EXPECT_EQ(Text(r), std::string(63, 'x'));
  const uint32_t v = r.Version();
  r.SetTextFromPlug(longText.c_str()); // same text once cut: no change
  EXPECT_EQ(r.Version(), v);
  EXPECT_EQ(Text(r, 4), "xxx");
  char one[1] = {'z'};
  r.GetText(one, 1);
  EXPECT_EQ(one[0], 0);
}

// Texts of different lengths and characters, so that any mix of two reads as
// neither; the writer runs for as long as the reader reads. Under
// ThreadSanitizer this also checks the synchronisation itself.
TEST(SafeTextReadout, ReaderOnAnotherThreadNeverSeesATornText) {
  const std::string texts[3] = {std::string(63, 'x'), "-20.00 dB", std::string(40, '7')};
  SafeTextReadout r(texts[0].c_str());
  std::atomic<bool> stop{false}, started{false};
  std::thread writer([&] {
    started = true;
    for (int i = 0; !stop.load(std::memory_order_relaxed); ++i)
      r.SetTextFromPlug(texts[i % 3].c_str());
  });
  while (!started.load()) std::this_thread::yield();
  int torn = 0;
  for (int i = 0; i < 200000; ++i) {
    const std::string t = Text(r);
    torn += t != texts[0] && t != texts[1] && t != texts[2];
  }
  stop = true;
  writer.join();
  EXPECT_EQ(torn, 0);
}

} // namespace
