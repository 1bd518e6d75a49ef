#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "effect/ClipKernel.h"

namespace {

using grittlebox::ClipBlock;
using grittlebox::ClipSampleLiteral;
using grittlebox::GainFromDB;
using grittlebox::ThresholdFromDistort;

bool SameBits(double a, double b) {
  return memcmp(&a, &b, sizeof a) == 0;
}

// Compares the block kernel with the per-sample formula for every sample.
void ExpectBitIdentical(const std::vector<double>& in, double inDB, double distort, double outDB) {
  const double t = ThresholdFromDistort(distort);
  std::vector<double> out(in.size());
  ClipBlock(in.data(), out.data(), static_cast<int>(in.size()), GainFromDB(inDB), t,
            GainFromDB(outDB));
  for (size_t i = 0; i < in.size(); ++i) {
    const double expected = ClipSampleLiteral(in[i], inDB, t, outDB);
    ASSERT_TRUE(SameBits(out[i], expected))
        << "sample " << i << " in " << in[i] << " got " << out[i] << " want " << expected << " ("
        << inDB << ", " << distort << ", " << outDB << ")";
  }
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
const double kDenorm = std::numeric_limits<double>::denorm_min();

std::vector<double> SpecialSamples() {
  return {0.0,
          -0.0,
          kNaN,
          -kNaN,
          kInf,
          -kInf,
          kDenorm,
          -kDenorm,
          1e-310,
          -3e-309,
          1e308,
          -1e308,
          0.4,
          -0.4,
          0.39999999999999997,
          1.0,
          -1.0,
          0.5,
          std::nextafter(0.4, 1.0)};
}

TEST(ClipKernel, BitIdenticalOnRandomBlocksAcrossParameterCorners) {
  std::mt19937_64 rng(42);
  std::uniform_real_distribution<double> sample(-3.0, 3.0);
  const double gains[] = {-20.0, -6.014, -0.004, 0.0, 0.01, 6.014, 13.3, 20.0};
  const double distorts[] = {0.01, 10.0, 50.0, 89.98, 89.99, 89.995, 90.0, 99.0, 100.0};
  for (double inDB : gains)
    for (double outDB : {-20.0, 0.0, 20.0})
      for (double distort : distorts) {
        const int n = static_cast<int>(rng() % 67);
        std::vector<double> in(n);
        for (double& v : in) v = sample(rng);
        ExpectBitIdentical(in, inDB, distort, outDB);
      }
}

TEST(ClipKernel, BitIdenticalOnNaNInfinitiesDenormalsAndSignedZeros) {
  std::vector<double> special = SpecialSamples();
  // Every special value at every position of a vector pair and in the tail.
  for (size_t shift = 0; shift < 5; ++shift) {
    std::vector<double> in(shift, 0.25);
    in.insert(in.end(), special.begin(), special.end());
    for (double inDB : {-20.0, 0.0, 20.0})
      for (double distort : {0.01, 50.0, 100.0}) ExpectBitIdentical(in, inDB, distort, 0.0);
  }
}

TEST(ClipKernel, InPlaceProcessingMatchesSeparateBuffers) {
  std::vector<double> in = SpecialSamples();
  std::vector<double> out(in.size());
  ClipBlock(in.data(), out.data(), static_cast<int>(in.size()), 1.5, 0.3, 0.7);
  ClipBlock(in.data(), in.data(), static_cast<int>(in.size()), 1.5, 0.3, 0.7);
  for (size_t i = 0; i < in.size(); ++i) EXPECT_TRUE(SameBits(in[i], out[i])) << i;
}

TEST(ClipKernel, NaNGoesToMinusGainAndZeroKeepsItsSign) {
  const double t = ThresholdFromDistort(50.0);
  EXPECT_EQ(ClipSampleLiteral(kNaN, 0.0, t, 0.0), -1.0);
  EXPECT_TRUE(std::signbit(ClipSampleLiteral(-0.0, 0.0, t, 0.0)));
  double in[3] = {kNaN, -0.0, kInf}, out[3];
  ClipBlock(in, out, 3, 1.0, t, 2.0);
  EXPECT_EQ(out[0], -2.0);
  EXPECT_TRUE(std::signbit(out[1]));
  EXPECT_EQ(out[2], 2.0);
}

TEST(ClipKernel, GainAndThresholdConventions) {
  EXPECT_EQ(GainFromDB(6.014), 2.0);
  EXPECT_NEAR(GainFromDB(-20.0), 0.09975, 1e-5);
  EXPECT_NEAR(GainFromDB(20.0), 10.025, 1e-3);
  EXPECT_DOUBLE_EQ(ThresholdFromDistort(10.0), 0.8);
  EXPECT_DOUBLE_EQ(ThresholdFromDistort(50.0), 0.4);
  EXPECT_EQ(ThresholdFromDistort(89.99), grittlebox::kMinThreshold);
  EXPECT_NEAR(grittlebox::kMinThreshold, 0.0001, 1e-12);
  EXPECT_EQ(ThresholdFromDistort(90.0), grittlebox::kMinThreshold);
  EXPECT_EQ(ThresholdFromDistort(100.0), grittlebox::kMinThreshold);
  EXPECT_EQ(ThresholdFromDistort(kNaN), grittlebox::kMinThreshold);
  EXPECT_LT(ThresholdFromDistort(89.98), 0.00021);
  EXPECT_GT(ThresholdFromDistort(89.98), grittlebox::kMinThreshold);
}

} // namespace
