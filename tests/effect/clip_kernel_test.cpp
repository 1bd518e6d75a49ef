#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "effect/ClipKernel.h"
#include "effect/detail/ClipKernelPaths.h"

namespace {

using grittlebox::ClipBlock;
using grittlebox::ClipIsa;
using grittlebox::ClipKernelPath;
using grittlebox::ClipPathFor;
using grittlebox::ClipSampleLiteral;
using grittlebox::GainFromDB;
using grittlebox::ThresholdFromDistort;

template <class Sample> bool SameBits(Sample a, Sample b) {
  return memcmp(&a, &b, sizeof a) == 0;
}

struct Settings {
  double inDB, distort, outDB;
};

// The formula on one sample; the 32-bit form widens, clips and rounds.
template <class Sample> Sample Expected(Sample in, const Settings& s) {
  const double t = ThresholdFromDistort(s.distort);
  return static_cast<Sample>(ClipSampleLiteral(static_cast<double>(in), s.inDB, t, s.outDB));
}

template <class Sample>
using ClipFn = bool (*)(const Sample*, Sample*, int, double, double, double);

ClipFn<double> KernelOf(const ClipKernelPath& path, double) {
  return path.clipDoubles;
}
ClipFn<float> KernelOf(const ClipKernelPath& path, float) {
  return path.clipFloats;
}

template <class Sample>
bool RunKernel(ClipFn<Sample> fn, const Sample* in, Sample* out, int n, const Settings& s) {
  return fn(in, out, n, GainFromDB(s.inDB), ThresholdFromDistort(s.distort), GainFromDB(s.outDB));
}

const double kGuard = 12345.0;

// Runs the kernel on `in` placed `inOffset` samples into its buffer (or in
// place), checks every written sample against the formula bit for bit, that
// nothing outside the block moved and that the silence answer is right.
template <class Sample>
void ExpectMatchesFormula(ClipFn<Sample> fn, const std::vector<Sample>& in, const Settings& s,
                          int inOffset, bool inPlace) {
  const int n = static_cast<int>(in.size());
  const int outOffset = inPlace ? inOffset : (inOffset + 1) % 4;
  std::vector<Sample> inBuf(inOffset + n + 4, static_cast<Sample>(kGuard));
  std::copy(in.begin(), in.end(), inBuf.begin() + inOffset);
  std::vector<Sample> outBuf = inPlace ? inBuf : std::vector<Sample>(outOffset + n + 4, kGuard);
  Sample* out = outBuf.data() + outOffset;
  const bool silent = RunKernel(fn, inPlace ? out : inBuf.data() + inOffset, out, n, s);
  bool allZero = true;
  for (int i = 0; i < n; ++i) {
    const Sample want = Expected(in[i], s);
    allZero = allZero && want == 0;
    ASSERT_TRUE(SameBits(out[i], want))
        << "sample " << i << " of " << n << " in " << in[i] << " got " << out[i] << " want " << want
        << " (" << s.inDB << ", " << s.distort << ", " << s.outDB << ")";
  }
  for (int i = 0; i < outOffset; ++i) ASSERT_EQ(outBuf[i], kGuard) << "before the block";
  for (int i = outOffset + n; i < static_cast<int>(outBuf.size()); ++i)
    ASSERT_EQ(outBuf[i], kGuard) << "after the block of " << n;
  if (!inPlace) {
    for (int i = 0; i < n; ++i) ASSERT_TRUE(SameBits(inBuf[inOffset + i], in[i])) << "input moved";
  }
  EXPECT_EQ(silent, allZero) << n << " samples";
}

template <class Sample> std::vector<Sample> SpecialSamples() {
  using Limits = std::numeric_limits<Sample>;
  return {0,
          -Sample(0),
          Limits::quiet_NaN(),
          -Limits::quiet_NaN(),
          Limits::infinity(),
          -Limits::infinity(),
          Limits::denorm_min(),
          -Limits::denorm_min(),
          Limits::min(),
          -Limits::min() / 3,
          Limits::max(),
          -Limits::max(),
          Sample(0.4),
          Sample(-0.4),
          std::nextafter(Sample(0.4), Sample(0)),
          std::nextafter(Sample(0.4), Sample(1)),
          1,
          -1,
          Sample(0.5)};
}

// Random samples with the special values strewn among them.
template <class Sample> std::vector<Sample> MixedBlock(int n, std::mt19937_64& rng) {
  const std::vector<Sample> special = SpecialSamples<Sample>();
  std::uniform_real_distribution<double> sample(-3.0, 3.0);
  std::vector<Sample> block(n);
  for (int i = 0; i < n; ++i)
    block[i] = rng() % 4 == 0 ? special[rng() % special.size()] : static_cast<Sample>(sample(rng));
  return block;
}

const double kGains[] = {-20.0, -6.014, -0.004, 0.0, 0.01, 6.014, 13.3, 20.0};
const double kDistorts[] = {0.01, 10.0, 50.0, 89.98, 89.99, 89.995, 90.0, 99.0, 100.0};

// Every path this processor can run; the others are reported as skipped.
class ClipKernelPathTest : public testing::TestWithParam<ClipIsa> {
protected:
  void SetUp() override {
    path = ClipPathFor(GetParam());
    if (!path) GTEST_SKIP() << IsaName(GetParam()) << " skipped: not run by this processor/system";
  }
  static const char* IsaName(ClipIsa isa) { return isa == ClipIsa::kSse2 ? "SSE2" : "AVX2"; }

  template <class Sample> void EveryBlockSizeAlignmentAndAliasing() {
    std::mt19937_64 rng(7);
    int round = 0;
    for (int n = 0; n <= 67; ++n)
      for (int offset = 0; offset < 4; ++offset)
        for (bool inPlace : {false, true}) {
          const Settings s{kGains[round % 8], kDistorts[round % 9], kGains[(round / 8) % 8]};
          ++round;
          ExpectMatchesFormula(KernelOf(*path, Sample()), MixedBlock<Sample>(n, rng), s, offset,
                               inPlace);
          if (HasFatalFailure()) return;
        }
  }

  template <class Sample> void ParameterCornersWithSpecialsAtEveryLane() {
    const std::vector<Sample> special = SpecialSamples<Sample>();
    for (int shift = 0; shift < 16; ++shift) {
      std::vector<Sample> in(shift, Sample(0.25));
      in.insert(in.end(), special.begin(), special.end());
      for (double inDB : kGains)
        for (double outDB : {-20.0, 0.0, 20.0})
          for (double distort : kDistorts) {
            ExpectMatchesFormula(KernelOf(*path, Sample()), in, {inDB, distort, outDB}, 0, false);
            if (HasFatalFailure()) return;
          }
    }
  }

  // Zeros of both signs in every block size, then one non-zero sample at
  // each position in turn must turn the answer round.
  template <class Sample> void SilenceAnswer() {
    const ClipFn<Sample> fn = KernelOf(*path, Sample());
    const Settings unity{0.0, 50.0, 0.0};
    EXPECT_TRUE(RunKernel<Sample>(fn, nullptr, nullptr, 0, unity));
    for (int n = 1; n <= 67; ++n) {
      std::vector<Sample> in(n), out(n);
      for (int i = 0; i < n; ++i) in[i] = i % 3 ? Sample(0) : -Sample(0);
      ASSERT_TRUE(RunKernel(fn, in.data(), out.data(), n, unity)) << n;
      for (int at = 0; at < n; ++at) {
        const Sample saved = in[at];
        in[at] = at % 2 ? std::numeric_limits<Sample>::denorm_min()
                        : std::numeric_limits<Sample>::quiet_NaN();
        ASSERT_FALSE(RunKernel(fn, in.data(), out.data(), n, unity)) << at << " of " << n;
        in[at] = saved;
      }
    }
  }

  const ClipKernelPath* path = nullptr;
};

TEST_P(ClipKernelPathTest, DoublesMatchFormulaForEveryBlockSizeAlignmentAndAliasing) {
  EveryBlockSizeAlignmentAndAliasing<double>();
}

TEST_P(ClipKernelPathTest, FloatsMatchWidenedFormulaForEveryBlockSizeAlignmentAndAliasing) {
  EveryBlockSizeAlignmentAndAliasing<float>();
}

TEST_P(ClipKernelPathTest, DoublesMatchFormulaOnNaNInfinitiesDenormalsAndSignedZeros) {
  ParameterCornersWithSpecialsAtEveryLane<double>();
}

TEST_P(ClipKernelPathTest, FloatsMatchWidenedFormulaOnNaNInfinitiesDenormalsAndSignedZeros) {
  ParameterCornersWithSpecialsAtEveryLane<float>();
}

TEST_P(ClipKernelPathTest, ReportsSilenceExactlyWhenEveryWrittenDoubleIsZero) {
  SilenceAnswer<double>();
}

TEST_P(ClipKernelPathTest, ReportsSilenceExactlyWhenEveryWrittenFloatIsZero) {
  SilenceAnswer<float>();
}

// A denormal float at -20 dB gives a double far below the smallest float: the
// floats written are zeros, and silence is judged on them, not on the doubles.
TEST_P(ClipKernelPathTest, FloatSilenceIsJudgedAfterRounding) {
  const Settings quiet{-20.0, 0.01, -20.0};
  std::vector<float> in(37, std::numeric_limits<float>::denorm_min()), out(in.size());
  ASSERT_EQ(Expected(in[0], quiet), 0.0f);
  ASSERT_NE(Expected(static_cast<double>(in[0]), quiet), 0.0);
  EXPECT_TRUE(RunKernel(path->clipFloats, in.data(), out.data(), 37, quiet));
  std::vector<double> wide(in.begin(), in.end()), wideOut(in.size());
  EXPECT_FALSE(RunKernel(path->clipDoubles, wide.data(), wideOut.data(), 37, quiet));
}

INSTANTIATE_TEST_SUITE_P(Isa, ClipKernelPathTest, testing::Values(ClipIsa::kSse2, ClipIsa::kAvx2),
                         [](const testing::TestParamInfo<ClipIsa>& info) {
                           return std::string(info.param == ClipIsa::kSse2 ? "Sse2" : "Avx2");
                         });

// ClipBlock runs the widest path the processor offers, in both forms.
TEST(ClipKernel, ClipBlockRunsTheWidestSupportedPath) {
  const ClipKernelPath* widest = nullptr;
  for (ClipIsa isa : {ClipIsa::kSse2, ClipIsa::kAvx2})
    if (const ClipKernelPath* p = ClipPathFor(isa)) widest = p;
  ASSERT_NE(widest, nullptr);
  EXPECT_STREQ(grittlebox::ActiveClipPath().name, widest->name);
  std::printf("active clip path: %s\n", grittlebox::ActiveClipPath().name);
  std::mt19937_64 rng(3);
  const std::vector<double> in = MixedBlock<double>(45, rng);
  ExpectMatchesFormula<double>(ClipBlock, in, {3.0, 60.0, -2.0}, 1, false);
  const std::vector<float> inF = MixedBlock<float>(45, rng);
  ExpectMatchesFormula<float>(ClipBlock, inF, {3.0, 60.0, -2.0}, 1, true);
}

TEST(ClipKernel, NaNGoesToMinusGainAndZeroKeepsItsSign) {
  const double t = ThresholdFromDistort(50.0);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(ClipSampleLiteral(nan, 0.0, t, 0.0), -1.0);
  EXPECT_TRUE(std::signbit(ClipSampleLiteral(-0.0, 0.0, t, 0.0)));
  double in[3] = {nan, -0.0, std::numeric_limits<double>::infinity()}, out[3];
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
  EXPECT_EQ(ThresholdFromDistort(std::numeric_limits<double>::quiet_NaN()),
            grittlebox::kMinThreshold);
  EXPECT_LT(ThresholdFromDistort(89.98), 0.00021);
  EXPECT_GT(ThresholdFromDistort(89.98), grittlebox::kMinThreshold);
}

} // namespace
