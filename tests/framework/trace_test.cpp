#include "framework/Trace.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string RecordText(int index) {
  TraceRecord record{};
  return GetTraceRecord(index, &record) ? record.text : "<missing>";
}

class TraceRing : public ::testing::Test {
protected:
  void SetUp() override { ClearTraceRecords(); }
  void TearDown() override { ClearTraceRecords(); }
};

TEST_F(TraceRing, KeepsLocationLineAndFormattedText) {
  RecordTrace("SetHost", 42, "host_%sknown:%s:%s", "", "Reaper", "v6.0.0");
  ASSERT_EQ(TraceRecordCount(), 1);
  TraceRecord record{};
  ASSERT_TRUE(GetTraceRecord(0, &record));
  EXPECT_STREQ(record.location, "SetHost");
  EXPECT_EQ(record.line, 42);
  EXPECT_STREQ(record.text, "host_known:Reaper:v6.0.0");
}

TEST_F(TraceRing, RefusesIndicesOutsideTheHeldRecords) {
  TraceRecord record{};
  EXPECT_FALSE(GetTraceRecord(0, &record));
  RecordTrace("a", 1, "x");
  EXPECT_FALSE(GetTraceRecord(-1, &record));
  EXPECT_FALSE(GetTraceRecord(1, &record));
  EXPECT_FALSE(GetTraceRecord(0, nullptr));
}

TEST_F(TraceRing, OverwritesTheOldestWhenFull) {
  for (int i = 0; i < kTraceCapacity + 5; ++i) RecordTrace("loop", i, "%d", i);
  ASSERT_EQ(TraceRecordCount(), kTraceCapacity);
  EXPECT_EQ(RecordText(0), "5");
  EXPECT_EQ(RecordText(kTraceCapacity - 1), std::to_string(kTraceCapacity + 4));
}

TEST_F(TraceRing, CutsLongTextsAndLocationsInsteadOfOverrunning) {
  const std::string longText(1000, 'x');
  const std::string longLocation(200, 'L');
  RecordTrace(longLocation.c_str(), 1, "%s", longText.c_str());
  TraceRecord record{};
  ASSERT_TRUE(GetTraceRecord(0, &record));
  EXPECT_EQ(strlen(record.text), sizeof record.text - 1);
  EXPECT_EQ(strlen(record.location), sizeof record.location - 1);
}

TEST_F(TraceRing, AcceptsNullLocationAndFormat) {
  RecordTrace(nullptr, 3, nullptr);
  TraceRecord record{};
  ASSERT_TRUE(GetTraceRecord(0, &record));
  EXPECT_STREQ(record.location, "");
  EXPECT_STREQ(record.text, "");
}

TEST_F(TraceRing, ConcurrentWritersEachGetASlot) {
  std::vector<std::thread> writers;
  for (int t = 0; t < 4; ++t)
    writers.emplace_back([t] {
      for (int i = 0; i < 50; ++i) RecordTrace("thread", t, "%d:%d", t, i);
    });
  for (std::thread& w : writers) w.join();
  EXPECT_EQ(TraceRecordCount(), 200);
}

int gEvaluations = 0;
int CountedArgument() {
  return ++gEvaluations;
}

TEST_F(TraceRing, TracePointsEvaluateArgumentsAndRecordOnlyInTracingBuilds) {
  gEvaluations = 0;
  TRACE_POINT("%d", CountedArgument());
  EXPECT_EQ(gEvaluations, 1);
#ifdef PLUG_TRACE_RECORDS
  ASSERT_EQ(TraceRecordCount(), 1);
  TraceRecord record{};
  ASSERT_TRUE(GetTraceRecord(0, &record));
  EXPECT_STREQ(record.location, "TestBody");
  EXPECT_STREQ(record.text, "1");
#else
  EXPECT_EQ(TraceRecordCount(), 0);
#endif
}

} // namespace
