#include <gtest/gtest.h>

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/render/DemoSignal.h"
#include "tools/render/RenderOptions.h"

namespace {

bool Parse(std::vector<const char*> args, RenderOptions* options, std::string* error) {
  args.insert(args.begin(), "grittlebox-render");
  return ParseRenderOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(RenderOptions, ReadsEveryOption) {
  RenderOptions o;
  std::string error;
  ASSERT_TRUE(Parse({"--in", "-3.5", "--out", "20", "--distort", "0.01", "--bypass", "--format",
                     "double", "in.wav", "-o", "out.wav", "-q"},
                    &o, &error))
      << error;
  EXPECT_EQ(o.inDB, -3.5);
  EXPECT_EQ(o.outDB, 20.0);
  EXPECT_EQ(o.distort, 0.01);
  EXPECT_TRUE(o.bypass);
  EXPECT_TRUE(o.quiet);
  EXPECT_EQ(o.format, "double");
  EXPECT_EQ(o.input, "in.wav");
  EXPECT_EQ(o.output, "out.wav");
}

TEST(RenderOptions, DefaultsWithoutArguments) {
  RenderOptions o;
  std::string error;
  ASSERT_TRUE(Parse({}, &o, &error));
  EXPECT_TRUE(o.input.empty());
  EXPECT_EQ(o.distort, 50.0);
  EXPECT_FALSE(o.bypass);
}

TEST(RenderOptions, RefusesMalformedOrOutOfRangeValues) {
  const std::vector<std::vector<const char*>> bad = {
      {"--in", "20.01"},      {"--in", "-21"},
      {"--out", "abc"},       {"--distort", "0"},
      {"--distort", "100.5"}, {"--distort", "50%"},
      {"--in", "nan"},        {"--in", "inf"},
      {"--in", ""},           {"--in"},
      {"--distort", "1e999"}, {"--format", "mp3"},
      {"--format"},           {"-o"},
      {"--frobnicate"},       {"a.wav", "b.wav"},
  };
  for (const auto& args : bad) {
    RenderOptions o;
    std::string error;
    EXPECT_FALSE(Parse(args, &o, &error)) << args[0];
    EXPECT_FALSE(error.empty());
  }
}

TEST(RenderOptions, FormatNames) {
  EXPECT_EQ(SubformatFromName("pcm16"), SF_FORMAT_PCM_16);
  EXPECT_EQ(SubformatFromName("double"), SF_FORMAT_DOUBLE);
  EXPECT_EQ(SubformatFromName("PCM16"), 0);
}

TEST(DemoSignal, StereoWithinFullScaleAndNotSilent) {
  const std::vector<double> demo = MakeDemoSignal();
  ASSERT_EQ(demo.size(), static_cast<size_t>(2 * kDemoSeconds * kDemoSampleRate));
  double peak = 0;
  for (double v : demo) peak = std::max(peak, std::fabs(v));
  EXPECT_GT(peak, 0.5);
  EXPECT_LE(peak, 1.0);
}

} // namespace
