// Whole blocks handed over by a binding (ProcessBlock): every buffer layout a
// host may pass gives what processing the original inputs gives, the silence
// the base reports is true, and flagged silence is passed on unprocessed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "plug_base_test_plug.h"

namespace {

// Output c is 2 x input c + c, so a crossed channel or a stale input shows.
// It reads its inputs only and works in place, and says what it wrote.
class BlockPlug : public PlugBaseTestPlug {
public:
  BlockPlug(bool processesSingle, bool passesSilence)
      : mPassesSilence(passesSilence), mProcessesSingle(processesSingle) {
    SetInputsReadOnly(true);
    SetProcessesSingleReplacing(processesSingle);
  }
  void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) override {
    Write(inputs, outputs, nFrames);
  }
  void ProcessSingleReplacing(float** inputs, float** outputs, int nFrames) override {
    ++singleCalls;
    Write(inputs, outputs, nFrames);
  }
  bool PassesSilence() override { return mPassesSilence; }
  bool ProcessesSingle() const { return mProcessesSingle; }
  template <typename T> void Write(T** inputs, T** outputs, int nFrames) {
    ++calls;
    for (int c = 0; c < 2; ++c) {
      bool silent = true;
      for (int s = 0; s < nFrames; ++s) {
        outputs[c][s] = T(2) * inputs[c][s] + T(c);
        silent = silent && outputs[c][s] == T(0);
      }
      ReportOutputSilence(c, silent);
    }
  }
  int calls = 0;
  int singleCalls = 0;
  bool mPassesSilence;
  bool mProcessesSingle;
};

enum class Layout { kSeparate, kInPlace, kCrossed, kSharedOutput, kShifted, kNoInput1, kNoOutput0 };

// One block through ProcessBlock in the given layout, checked sample for
// sample against the probe's rule applied to the inputs as they were. The
// same plug-in sees every layout in turn, as a host may change its buffers.
template <typename T>
void ExpectLayout(BlockPlug& plug, Layout layout, int blockSize, int nFrames) {
  const bool processesSingle = plug.ProcessesSingle();
  plug.calls = plug.singleCalls = 0;
  plug.SetBlockSize(blockSize);
  // Room for nFrames + 1 samples per channel, so one buffer can start a
  // sample into another.
  std::vector<T> memory(4 * (nFrames + 1), T(-7));
  T* in[2] = {memory.data(), memory.data() + (nFrames + 1)};
  T* out[2] = {memory.data() + 2 * (nFrames + 1), memory.data() + 3 * (nFrames + 1)};
  for (int s = 0; s < nFrames + 1; ++s) {
    in[0][s] = T(s + 1);
    in[1][s] = T(-(s + 1)) / T(4);
  }
  if (layout == Layout::kInPlace) out[0] = in[0], out[1] = in[1];
  if (layout == Layout::kCrossed) out[0] = in[1];
  if (layout == Layout::kSharedOutput) out[1] = out[0];
  if (layout == Layout::kShifted) out[0] = in[0] + 1;
  if (layout == Layout::kNoInput1) in[1] = nullptr;
  if (layout == Layout::kNoOutput0) out[0] = nullptr;
  std::vector<T> original[2];
  for (int c = 0; c < 2; ++c)
    original[c] = in[c] ? std::vector<T>(in[c], in[c] + nFrames) : std::vector<T>(nFrames, T(0));

  const IOutputSilence silence = plug.ProcessBlock<T>(in, out, nFrames, 0);
  for (int c = 1; c >= 0; --c) { // with a shared output, channel 1 wrote last
    if (!out[c] || (layout == Layout::kSharedOutput && c == 0)) continue;
    for (int s = 0; s < nFrames; ++s)
      ASSERT_EQ(out[c][s], T(2) * original[c][s] + T(c)) << "channel " << c << " frame " << s;
  }
  for (int c = 0; c < 2; ++c) {
    if (!(silence.mKnown >> c & 1)) continue;
    ASSERT_TRUE(out[c]);
    bool silent = true;
    for (int s = 0; s < nFrames; ++s) silent = silent && out[c][s] == T(0);
    EXPECT_EQ(silent, (silence.mSilent >> c & 1) != 0) << c;
  }
  const bool direct = std::is_same<T, double>::value || processesSingle;
  if (direct && (layout == Layout::kSeparate || layout == Layout::kInPlace)) {
    EXPECT_EQ(silence.mKnown, 3u); // the binding then need not look
    EXPECT_EQ(plug.calls, 1);      // no slices: nothing needed scratch
  }
  if (layout == Layout::kSharedOutput) {
    EXPECT_EQ(silence.mKnown, 0u);
  }
  const bool single = std::is_same<T, float>::value && processesSingle;
  EXPECT_EQ(plug.singleCalls > 0, single);
}

TEST(PlugBaseBlock, EveryLayoutGivesWhatTheOriginalInputsGive) {
  const Layout layouts[] = {Layout::kSeparate,     Layout::kInPlace, Layout::kCrossed,
                            Layout::kSharedOutput, Layout::kShifted, Layout::kNoInput1,
                            Layout::kNoOutput0};
  const struct { int blockSize, nFrames; } sizes[] = {{16, 16}, {16, 40}, {16, 1}};
  BlockPlug doubles(false, false), floatsConverted(false, false), floats(true, false);
  for (Layout layout : layouts)
    for (const auto& size : sizes) {
      // An output a sample into an input is written before later slices of
      // that input are read; only a block without slices can come out right.
      if (layout == Layout::kShifted && size.nFrames > size.blockSize) continue;
      SCOPED_TRACE(testing::Message() << "layout " << static_cast<int>(layout) << ", "
                                      << size.nFrames << " of " << size.blockSize);
      ExpectLayout<double>(doubles, layout, size.blockSize, size.nFrames);
      ExpectLayout<float>(floatsConverted, layout, size.blockSize, size.nFrames);
      ExpectLayout<float>(floats, layout, size.blockSize, size.nFrames);
    }
}

TEST(PlugBaseBlock, FlaggedSilenceIsPassedOnWithEachZerosSign) {
  const float kMinusZero = -0.0f;
  struct Case {
    const char* what;
    bool passes, bypassed, inPlace, input1Missing;
    uint64_t flags;
    int calls;  // processing calls: 0 when passed on, and when bypassed
    bool known; // the base tells the outputs' silence
  } cases[] = {
      {"separate buffers", true, false, false, false, 3, 0, true},
      {"in place", true, false, true, false, 3, 0, true},
      {"unconnected input reads zeros", true, false, false, true, 1, 0, true},
      {"one input not flagged", true, false, false, false, 1, 1, true},
      {"plug-in does not pass silence", false, false, false, false, 3, 1, true},
      {"bypassed: copied, silence left to the binding", true, true, false, false, 3, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BlockPlug plug(true, c.passes);
    plug.SetBlockSize(8);
    plug.SetBypassed(c.bypassed);
    float l[8] = {0, kMinusZero, 0, 0, kMinusZero, 0, 0, 0}, r[8] = {}, ol[8], orr[8];
    for (int s = 0; s < 8; ++s) ol[s] = orr[s] = 5.0f;
    float* in[2] = {l, c.input1Missing ? nullptr : r};
    float* out[2] = {c.inPlace ? l : ol, c.inPlace ? r : orr};
    const IOutputSilence silence = plug.ProcessBlock<float>(in, out, 8, c.flags);
    EXPECT_EQ(plug.calls, c.calls);
    EXPECT_EQ(silence.mKnown, c.known ? 3u : 0u);
    if (c.calls) {
      EXPECT_EQ(silence.mSilent, 1u); // the probe adds 1 to channel 1
      continue;
    }
    EXPECT_EQ(silence.mSilent, c.known ? 3u : 0u);
    for (int s = 0; s < 8; ++s) {
      EXPECT_EQ(std::signbit(out[0][s]), std::signbit(l[s])) << s;
      EXPECT_EQ(out[0][s], 0.0f);
      EXPECT_FALSE(std::signbit(out[1][s]));
      EXPECT_EQ(out[1][s], 0.0f);
    }
  }
}

// A host that flags a channel silent while its buffer holds sound must not
// get that sound back unprocessed: what is passed on is zeros, signs kept.
TEST(PlugBaseBlock, AWrongSilenceFlagStillGivesSilence) {
  BlockPlug plug(true, true);
  plug.SetBlockSize(4);
  float l[4] = {0.75f, -2.0f, 0.0f, -0.0f}, r[4] = {1e30f, -1e-40f, 3.0f, 0.0f};
  float ol[4], orr[4];
  float* in[2] = {l, r};
  float* out[2] = {ol, orr};
  const IOutputSilence silence = plug.ProcessBlock<float>(in, out, 4, 3);
  EXPECT_EQ(plug.calls, 0);
  EXPECT_EQ(silence.mSilent, 3u);
  for (int s = 0; s < 4; ++s) {
    EXPECT_EQ(ol[s], 0.0f) << s;
    EXPECT_EQ(orr[s], 0.0f) << s;
    EXPECT_EQ(std::signbit(ol[s]), std::signbit(l[s])) << s;
    EXPECT_EQ(std::signbit(orr[s]), std::signbit(r[s])) << s;
  }
}

TEST(PlugBaseBlock, ConnectionsFollowTheBuffersGiven) {
  BlockPlug plug(false, false);
  plug.SetBlockSize(4);
  double a[4] = {}, b[4] = {}, o[4] = {}, p[4] = {};
  double* both[2] = {a, b};
  double* one[2] = {a, nullptr};
  double* outs[2] = {o, p};
  plug.ProcessBlock<double>(both, outs, 4, 0);
  EXPECT_TRUE(plug.IsInChannelConnected(1));
  plug.ProcessBlock<double>(one, outs, 4, 0);
  EXPECT_FALSE(plug.IsInChannelConnected(1));
  EXPECT_TRUE(plug.IsOutChannelConnected(1));
  plug.ProcessBlock<double>(both, outs, 4, 0);
  EXPECT_TRUE(plug.IsInChannelConnected(1));
}

} // namespace
