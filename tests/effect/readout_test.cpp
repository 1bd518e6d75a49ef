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

TEST(SafeTextReadout, ReaderOnAnotherThreadNeverSeesATornText) {
  SafeTextReadout r("-20.00 dB");
  std::atomic<bool> done{false};
  std::thread writer([&] {
    for (int i = 0; i < 200000; ++i) r.SetTextFromPlug(i % 2 ? "-20.00 dB" : "5.5 dB");
    done = true;
  });
  int reads = 0;
  while (!done.load() || reads < 1000) {
    const std::string t = Text(r);
    ASSERT_TRUE(t == "-20.00 dB" || t == "5.5 dB") << t;
    ++reads;
  }
  writer.join();
}

} // namespace
