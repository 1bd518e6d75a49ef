#include <gtest/gtest.h>

#include <vector>

#include "plug_base_test_plug.h"

namespace {

// Records what the plug-in's processing receives and writes a marker. It only
// reads its inputs and says so, so 64-bit host inputs reach it directly.
class ProbePlug : public PlugBaseTestPlug {
public:
  explicit ProbePlug(const char* channelIO = "2-2 1-1", int nParams = 3, int latency = 0)
      : PlugBaseTestPlug(channelIO, nParams, latency) {
    SetInputsReadOnly(true);
  }
  using IPlugBase::SetProcessesSingleReplacing;
  void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) override {
    seenInputs.assign(inputs, inputs + NInChannels());
    calls.push_back(nFrames);
    if (doubleIt) {
      for (int c = 0; c < NOutChannels(); ++c)
        for (int s = 0; s < nFrames; ++s) outputs[c][s] = 2.0 * inputs[c][s];
    } else {
      IPlugBase::ProcessDoubleReplacing(inputs, outputs, nFrames);
    }
  }
  std::vector<double*> seenInputs;
  std::vector<int> calls;
  bool doubleIt = true;
};

void ConnectAll(IPlugBase* plug) {
  plug->SetInputChannelConnections(0, plug->NInChannels(), true);
  plug->SetOutputChannelConnections(0, plug->NOutChannels(), true);
}

TEST(PlugBaseBuffers, DoubleBuffersPassThroughWithoutCopy) {
  ProbePlug plug;
  ConnectAll(&plug);
  plug.SetBlockSize(4);
  double l[4] = {1, 2, 3, 4}, r[4] = {5, 6, 7, 8}, ol[4] = {}, orr[4] = {};
  double* in[2] = {l, r};
  double* out[2] = {ol, orr};
  plug.AttachInputBuffers(0, 2, in, 4);
  plug.AttachOutputBuffers(0, 2, out);
  plug.ProcessBuffers(0.0, 4);
  EXPECT_EQ(plug.seenInputs[0], l);
  EXPECT_EQ(plug.seenInputs[1], r);
  EXPECT_EQ(ol[3], 8.0);
  EXPECT_EQ(orr[0], 10.0);
}

TEST(PlugBaseBuffers, FloatBuffersAreConvertedBothWays) {
  ProbePlug plug;
  ConnectAll(&plug);
  plug.SetBlockSize(3);
  float l[3] = {0.5f, -0.25f, 1.0f}, r[3] = {0, 0, 0.125f}, ol[3] = {}, orr[3] = {};
  float* in[2] = {l, r};
  float* out[2] = {ol, orr};
  plug.AttachInputBuffers(0, 2, in, 3);
  plug.AttachOutputBuffers(0, 2, out);
  plug.ProcessBuffers(0.0f, 3);
  EXPECT_EQ(ol[0], 1.0f);
  EXPECT_EQ(ol[1], -0.5f);
  EXPECT_EQ(orr[2], 0.25f);
  plug.AttachInputBuffers(0, 2, in, 3);
  plug.AttachOutputBuffers(0, 2, out);
  plug.ProcessBuffersAccumulating(0.0f, 3);
  EXPECT_EQ(ol[0], 2.0f);
}

TEST(PlugBaseBuffers, DisconnectedInputReadsZeroedScratch) {
  ProbePlug plug;
  ConnectAll(&plug);
  plug.SetInputChannelConnections(1, 1, false);
  plug.SetBlockSize(4);
  plug.ZeroScratchBuffers();
  double l[4] = {1, 1, 1, 1}, ol[4], orr[4] = {9, 9, 9, 9};
  double* in[1] = {l};
  double* out[2] = {ol, orr};
  plug.AttachInputBuffers(0, 2, in, 4); // one pointer feeds the one connected channel
  plug.AttachOutputBuffers(0, 2, out);
  plug.ProcessBuffers(0.0, 4);
  EXPECT_EQ(plug.seenInputs[0], l);
  ASSERT_NE(plug.seenInputs[1], nullptr);
  EXPECT_NE(plug.seenInputs[1], l);
  for (double v : orr) EXPECT_EQ(v, 0.0);
  EXPECT_EQ(ol[2], 2.0);
}

TEST(PlugBaseBuffers, DisconnectedOutputWritesGoToScratch) {
  ProbePlug plug;
  ConnectAll(&plug);
  plug.SetOutputChannelConnections(0, 1, false);
  plug.SetBlockSize(2);
  double l[2] = {1, 2}, r[2] = {3, 4}, orr[2] = {};
  double* in[2] = {l, r};
  double* out[1] = {orr};
  plug.AttachInputBuffers(0, 2, in, 2);
  plug.AttachOutputBuffers(0, 2, out);
  plug.ProcessBuffers(0.0, 2);
  EXPECT_EQ(orr[1], 8.0);
}

TEST(PlugBaseBuffers, SameBlockSizeKeepsScratchContents) {
  PlugBaseTestPlug plug;
  plug.SetBlockSize(4);
  plug.InScratch(1)[3] = 3.0;
  plug.OutScratch(0)[0] = 4.0;
  plug.SetBlockSize(4);
  EXPECT_EQ(plug.InScratch(1)[3], 3.0);
  EXPECT_EQ(plug.OutScratch(0)[0], 4.0);
  plug.SetBlockSize(8);
  EXPECT_EQ(plug.InScratch(1)[3], 0.0);
  plug.InScratch(0)[7] = 1.0;
  plug.ZeroScratchBuffers();
  EXPECT_EQ(plug.InScratch(0)[7], 0.0);
}

TEST(PlugBaseBuffers, LongFloatBlockIsProcessedInSlices) {
  ProbePlug plug;
  ConnectAll(&plug);
  plug.SetBlockSize(64);
  const int n = 1000;
  std::vector<float> l(n), r(n), ol(n + 1, -1.0f), orr(n + 1, -1.0f);
  for (int i = 0; i < n; ++i) l[i] = r[i] = static_cast<float>(i) / n;
  float* in[2] = {l.data(), r.data()};
  float* out[2] = {ol.data(), orr.data()};
  plug.AttachInputBuffers(0, 2, in, n);
  plug.AttachOutputBuffers(0, 2, out);
  plug.ProcessBuffers(0.0f, n);
  for (int i = 0; i < n; ++i) ASSERT_EQ(ol[i], 2.0f * l[i]) << i;
  EXPECT_EQ(ol[n], -1.0f); // nothing written past the block
  EXPECT_EQ(plug.calls.size(), 16u);
  EXPECT_EQ(plug.calls.back(), 1000 - 15 * 64);
}

TEST(PlugBaseBuffers, LongDoubleBlockWithDisconnectedChannelIsSliced) {
  ProbePlug plug;
  ConnectAll(&plug);
  plug.SetInputChannelConnections(1, 1, false);
  plug.SetBlockSize(16);
  std::vector<double> l(100, 0.5), ol(100), orr(100, 7.0);
  double* in[1] = {l.data()};
  double* out[2] = {ol.data(), orr.data()};
  plug.AttachInputBuffers(0, 2, in, 100);
  plug.AttachOutputBuffers(0, 2, out);
  plug.ProcessBuffers(0.0, 100);
  EXPECT_EQ(plug.calls.size(), 7u);
  for (int i = 0; i < 100; ++i) {
    ASSERT_EQ(ol[i], 1.0);
    ASSERT_EQ(orr[i], 0.0);
  }
}

TEST(PlugBaseBuffers, BlockNeedingScratchBeforeBlockSizeIsSilence) {
  ProbePlug plug;
  ConnectAll(&plug);
  float l[8] = {1, 1, 1, 1, 1, 1, 1, 1}, ol[8], orr[8];
  for (int i = 0; i < 8; ++i) ol[i] = orr[i] = 5.0f;
  float* in[2] = {l, l};
  float* out[2] = {ol, orr};
  plug.AttachInputBuffers(0, 2, in, 8);
  plug.AttachOutputBuffers(0, 2, out);
  plug.ProcessBuffers(0.0f, 8);
  EXPECT_TRUE(plug.calls.empty());
  for (int i = 0; i < 8; ++i) EXPECT_EQ(ol[i], 0.0f);
}

// The same for a plug-in that processes 32-bit blocks itself: what the
// host's output buffers held before must not reach the speakers.
TEST(PlugBaseBuffers, SingleProcessingBlockNeedingScratchBeforeBlockSizeIsSilence) {
  ProbePlug plug;
  plug.SetProcessesSingleReplacing(true);
  ConnectAll(&plug);
  float l[8] = {1, 1, 1, 1, 1, 1, 1, 1}, ol[8], orr[8];
  for (int i = 0; i < 8; ++i) ol[i] = orr[i] = 5.0f;
  float* in[2] = {l, nullptr}; // a missing input needs scratch
  float* out[2] = {ol, orr};
  plug.AttachInputBuffers(0, 2, in, 8);
  plug.AttachOutputBuffers(0, 2, out);
  plug.ProcessBuffers(0.0f, 8);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(ol[i], 0.0f);
    EXPECT_EQ(orr[i], 0.0f);
  }
}

TEST(PlugBaseBuffers, DoubleBlockWithoutBlockSizePassesStraightThrough) {
  ProbePlug plug;
  ConnectAll(&plug);
  double l[3] = {1, 2, 3}, ol[3], orr[3];
  double* in[2] = {l, l};
  double* out[2] = {ol, orr};
  plug.AttachInputBuffers(0, 2, in, 3);
  plug.AttachOutputBuffers(0, 2, out);
  plug.ProcessBuffers(0.0, 3);
  EXPECT_EQ(orr[2], 6.0);
}

TEST(PlugBaseBuffers, StaleHostBuffersAreForgottenAfterTheBlock) {
  ProbePlug plug;
  ConnectAll(&plug);
  plug.SetBlockSize(4);
  double l[4] = {1, 1, 1, 1}, ol[4] = {}, orr[4] = {};
  double* in[2] = {l, l};
  double* out[2] = {ol, orr};
  plug.AttachInputBuffers(0, 2, in, 4);
  plug.AttachOutputBuffers(0, 2, out);
  plug.ProcessBuffers(0.0, 4);
  ol[0] = 42;
  plug.ProcessBuffers(0.0, 4); // nothing attached: scratch only
  EXPECT_EQ(ol[0], 42.0);
  EXPECT_NE(plug.seenInputs[0], l);
}

// Works in place in its input buffers, as some plug-ins do, and makes no
// promise about them.
class InputWritingPlug : public PlugBaseTestPlug {
public:
  void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) override {
    firstInput = inputs[0];
    ++calls;
    for (int c = 0; c < NOutChannels(); ++c)
      for (int s = 0; s < nFrames; ++s) outputs[c][s] = inputs[c][s] *= 3.0;
  }
  const double* firstInput = nullptr;
  int calls = 0;
};

// One block through a plug-in that writes its inputs: the host's inputs come
// back untouched, the outputs are as the table row says.
template <typename T> void ExpectInputsUntouched(int blockSize, int nFrames, int slices) {
  InputWritingPlug plug;
  ConnectAll(&plug);
  plug.SetBlockSize(blockSize);
  std::vector<T> l(nFrames), r(nFrames), ol(nFrames, T(9)), orr(nFrames, T(9));
  for (int i = 0; i < nFrames; ++i) l[i] = r[i] = static_cast<T>(i + 1);
  const std::vector<T> original(l);
  T* in[2] = {l.data(), r.data()};
  T* out[2] = {ol.data(), orr.data()};
  plug.AttachInputBuffers(0, 2, in, nFrames);
  plug.AttachOutputBuffers(0, 2, out);
  plug.ProcessBuffers(T(0), nFrames);
  EXPECT_EQ(l, original);
  EXPECT_EQ(r, original);
  EXPECT_EQ(plug.calls, slices);
  if (slices) {
    EXPECT_NE(static_cast<const void*>(plug.firstInput), static_cast<void*>(l.data()));
  }
  for (int i = 0; i < nFrames; ++i) ASSERT_EQ(ol[i], slices ? T(3) * original[i] : T(0)) << i;
}

TEST(PlugBaseBuffers, APlugInThatWritesItsInputsNeverWritesTheHosts) {
  const struct {
    int blockSize, nFrames, slices;
  } cases[] = {{16, 16, 1}, {4, 10, 3}, {0, 5, 0}}; // the last: no room yet, silence
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.blockSize << " " << c.nFrames);
    ExpectInputsUntouched<double>(c.blockSize, c.nFrames, c.slices);
    ExpectInputsUntouched<float>(c.blockSize, c.nFrames, c.slices);
  }
}

TEST(PlugBaseBypass, WithoutLatencyOutputsEqualInputs) {
  ProbePlug plug("2-2 1-1", 3, 0);
  ConnectAll(&plug);
  plug.CreateBypassDelayLine(2, 2);
  plug.SetBlockSize(4);
  double l[4] = {1, 2, 3, 4}, r[4] = {-1, -2, -3, -4}, ol[4], orr[4];
  double* in[2] = {l, r};
  double* out[2] = {ol, orr};
  plug.AttachInputBuffers(0, 2, in, 4);
  plug.AttachOutputBuffers(0, 2, out);
  plug.PassThroughBuffers(0.0, 4);
  EXPECT_TRUE(plug.calls.empty());
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(ol[i], l[i]);
    EXPECT_EQ(orr[i], r[i]);
  }
}

TEST(PlugBaseBypass, WithLatencyDelaysByExactlyTheLatencyAcrossBlocksAndSlices) {
  ProbePlug plug("2-2", 3, 3);
  ConnectAll(&plug);
  plug.CreateBypassDelayLine(2, 2);
  plug.SetBlockSize(2); // 32-bit blocks of 5 are sliced 2 + 2 + 1
  std::vector<float> outL, outR;
  for (int block = 0; block < 3; ++block) {
    float l[5], r[5], ol[5], orr[5];
    for (int i = 0; i < 5; ++i) {
      l[i] = static_cast<float>(1 + block * 5 + i);
      r[i] = -l[i];
    }
    float* in[2] = {l, r};
    float* out[2] = {ol, orr};
    plug.AttachInputBuffers(0, 2, in, 5);
    plug.AttachOutputBuffers(0, 2, out);
    plug.PassThroughBuffers(0.0f, 5);
    outL.insert(outL.end(), ol, ol + 5);
    outR.insert(outR.end(), orr, orr + 5);
  }
  for (int i = 0; i < 3; ++i) EXPECT_EQ(outL[i], 0.0f);
  for (int i = 3; i < 15; ++i) {
    EXPECT_EQ(outL[i], static_cast<float>(i - 2));
    EXPECT_EQ(outR[i], -static_cast<float>(i - 2));
  }
}

TEST(PlugBaseBypass, InPlaceBuffersAreDelayedToo) {
  ProbePlug plug("1-1", 3, 2);
  ConnectAll(&plug);
  plug.CreateBypassDelayLine(1, 1);
  double buf[4] = {1, 2, 3, 4};
  double* in[1] = {buf};
  double* out[1] = {buf};
  plug.AttachInputBuffers(0, 1, in, 4);
  plug.AttachOutputBuffers(0, 1, out);
  plug.PassThroughBuffers(0.0, 4);
  EXPECT_EQ(buf[0], 0.0);
  EXPECT_EQ(buf[1], 0.0);
  EXPECT_EQ(buf[2], 1.0);
  EXPECT_EQ(buf[3], 2.0);
}

TEST(PlugBaseBypass, SetLatencyResetsTheDelayLine) {
  ProbePlug plug("1-1", 3, 1);
  ConnectAll(&plug);
  plug.CreateBypassDelayLine(1, 1);
  double a[2] = {5, 6}, o[2];
  double* in[1] = {a};
  double* out[1] = {o};
  plug.AttachInputBuffers(0, 1, in, 2);
  plug.AttachOutputBuffers(0, 1, out);
  plug.PassThroughBuffers(0.0, 2);
  EXPECT_EQ(o[1], 5.0);
  plug.SetLatency(2);
  EXPECT_EQ(plug.GetLatency(), 2);
  plug.AttachInputBuffers(0, 1, in, 2);
  plug.AttachOutputBuffers(0, 1, out);
  plug.PassThroughBuffers(0.0, 2);
  EXPECT_EQ(o[0], 0.0);
  EXPECT_EQ(o[1], 0.0);
}

TEST(PlugBaseProcess, BaseCopiesMatchingChannelsAndZeroesOthers) {
  PlugBaseTestPlug plug("1-2");
  double l[2] = {3, 4}, o0[2], o1[2] = {9, 9};
  double* in[1] = {l};
  double* out[2] = {o0, o1};
  plug.IPlugBase::ProcessDoubleReplacing(in, out, 2);
  EXPECT_EQ(o0[1], 4.0);
  EXPECT_EQ(o1[0], 0.0);
  float fl[2] = {1, 2}, f0[2], f1[2] = {7, 7};
  float* fin[1] = {fl};
  float* fout[2] = {f0, f1};
  plug.ProcessSingleReplacing(fin, fout, 2);
  EXPECT_EQ(f0[1], 2.0f);
  EXPECT_EQ(f1[1], 0.0f);
  plug.IPlugBase::ProcessDoubleReplacing(in, out, 0);
}

} // namespace
