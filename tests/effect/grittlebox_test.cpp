#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "editor/IGraphics.h"
#include "editor/ITextControl.h"
#include "effect/ClipKernel.h"
#include "effect/Grittlebox.h"
#include "effect/GrittleboxEditor.h"
#include "effect/GrittleboxIdentity.h"
#include "framework/IPlugOffline.h"

namespace {

// What the editor's readout for a parameter shows.
std::string ReadoutText(const Grittlebox& fx, int idx) {
  auto* gui = fx.GetGUI();
  auto* readout = static_cast<ITextControl*>(gui->GetControl(grittlebox::kInReadoutControl + idx));
  char text[SharedText::kCapacity + 1];
  readout->GetTextCopy(text);
  return text;
}

// Runs one stereo block through the plug-in the way a host does.
struct Rig {
  Grittlebox fx{IPlugInstanceInfo()};
  Rig() { PrepareOffline(&fx, 48000.0, 64); }
  void Set(int idx, double plain) {
    fx.GetParam(idx)->SetNormalized(fx.GetParam(idx)->GetNormalized(plain));
    fx.OnParamChange(idx);
  }
  std::vector<double> Run(std::vector<double>* in) {
    std::vector<double> outL(in->size()), outR(in->size());
    std::vector<double> right(*in);
    double* ins[2] = {in->data(), right.data()};
    double* outs[2] = {outL.data(), outR.data()};
    ProcessOffline(&fx, ins, outs, static_cast<int>(in->size()));
    EXPECT_EQ(outL, outR);
    return outL;
  }
};

TEST(GrittleboxSetup, ParametersAndIdentityAsDeclared) {
  Grittlebox fx{IPlugInstanceInfo()};
  ASSERT_EQ(fx.NParams(), 3);
  const char* names[3] = {"In", "Out", "Distort"};
  const char* labels[3] = {"dB", "dB", "%"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_STREQ(fx.GetParam(i)->GetNameForHost(), names[i]);
    EXPECT_STREQ(fx.GetParam(i)->GetLabelForHost(), labels[i]);
    EXPECT_EQ(fx.GetParam(i)->GetPrecision(), 2);
    EXPECT_EQ(fx.GetParam(i)->Type(), IParam::kTypeDouble);
  }
  EXPECT_EQ(fx.GetParam(0)->GetMin(), -20.0);
  EXPECT_EQ(fx.GetParam(2)->GetMin(), 0.01);
  EXPECT_EQ(fx.GetParam(2)->GetMax(), 100.0);
  EXPECT_EQ(fx.GetParam(2)->Value(), 50.0);
  EXPECT_STREQ(fx.GetEffectName(), "Grittlebox");
  EXPECT_STREQ(fx.GetMfrName(), "Quartzy Lantern");
  EXPECT_EQ(fx.GetUniqueID(), 0x514C3030);
  EXPECT_EQ(fx.GetMfrID(), 0x516C6E74);
  EXPECT_EQ(fx.GetEffectVersion(false), 0x20000);
  EXPECT_TRUE(fx.LegalIO(2, 2));
  EXPECT_TRUE(fx.LegalIO(1, 1));
  EXPECT_FALSE(fx.LegalIO(1, 2));
  EXPECT_EQ(fx.NPresets(), 0);
  EXPECT_FALSE(fx.DoesStateChunks());
}

TEST(GrittleboxSetup, FreshInstanceFollowsItsParameters) {
  Grittlebox fx{IPlugInstanceInfo()};
  EXPECT_DOUBLE_EQ(fx.GetThreshold(), 0.4);
  EXPECT_EQ(fx.GetInDB(), 0.0);
  // The readouts keep the editor's first texts until a parameter changes.
  EXPECT_EQ(ReadoutText(fx, 0), "0.00 db");
  EXPECT_EQ(ReadoutText(fx, 1), "0.00 db");
  EXPECT_EQ(ReadoutText(fx, 2), "50 %");
}

TEST(GrittleboxSetup, MakePlugSerialisesConstructions) {
  std::vector<Grittlebox*> made(8, nullptr);
  std::vector<std::thread> threads;
  for (int i = 0; i < 8; ++i) threads.emplace_back([&made, i] { made[i] = MakePlug(); });
  for (auto& t : threads) t.join();
  for (Grittlebox* fx : made) {
    ASSERT_NE(fx, nullptr);
    EXPECT_DOUBLE_EQ(fx->GetThreshold(), 0.4);
    delete fx;
  }
}

TEST(GrittleboxProcess, ClipsAtThresholdAndReturnsToFullScale) {
  Rig rig;
  std::vector<double> in = {0.2, 0.4, 0.9, -0.9, 0.0};
  const std::vector<double> before = in;
  const std::vector<double> out = rig.Run(&in);
  EXPECT_DOUBLE_EQ(out[0], 0.5);
  EXPECT_DOUBLE_EQ(out[1], 1.0);
  EXPECT_DOUBLE_EQ(out[2], 1.0);
  EXPECT_DOUBLE_EQ(out[3], -1.0);
  EXPECT_EQ(out[4], 0.0);
  EXPECT_EQ(in, before);
}

TEST(GrittleboxProcess, InputGainNeverWritesIntoTheInput) {
  Rig rig;
  rig.Set(Grittlebox::kIn, 6.014);
  rig.Set(Grittlebox::kDistort, 0.01);
  std::vector<double> in = {0.1, -0.2, 0.3};
  const std::vector<double> before = in;
  const std::vector<double> out = rig.Run(&in);
  EXPECT_EQ(in, before);
  const double t = 0.01 / -100.0 + 0.9;
  EXPECT_DOUBLE_EQ(out[0], 0.2 / t);
  EXPECT_DOUBLE_EQ(out[1], -0.4 / t);
}

TEST(GrittleboxProcess, OutputGainScalesClippedSamples) {
  Rig rig;
  rig.Set(Grittlebox::kOut, -20.0);
  std::vector<double> in = {5.0, -5.0};
  const std::vector<double> out = rig.Run(&in);
  EXPECT_NEAR(out[0], 0.09975, 1e-5);
  EXPECT_NEAR(out[1], -0.09975, 1e-5);
}

TEST(GrittleboxProcess, AboveNinetyPercentSilenceStaysSilentAndFinite) {
  for (double distort : {89.99, 89.995, 90.0, 95.0, 100.0}) {
    Rig rig;
    rig.Set(Grittlebox::kDistort, distort);
    EXPECT_GT(rig.fx.GetThreshold(), 0.0);
    std::vector<double> in = {0.0, 0.0, -0.001, 0.001, 0.00005};
    const std::vector<double> out = rig.Run(&in);
    EXPECT_EQ(out[0], 0.0) << distort;
    EXPECT_EQ(out[1], 0.0);
    EXPECT_DOUBLE_EQ(out[2], -1.0);
    EXPECT_DOUBLE_EQ(out[3], 1.0);
    EXPECT_TRUE(std::isfinite(out[4]));
    EXPECT_LT(out[4], 1.0);
  }
}

TEST(GrittleboxProcess, NaNSampleComesOutAtMinusGain) {
  Rig rig;
  std::vector<double> in = {std::numeric_limits<double>::quiet_NaN(), 0.1};
  const std::vector<double> out = rig.Run(&in);
  EXPECT_EQ(out[0], -1.0);
  EXPECT_DOUBLE_EQ(out[1], 0.25);
}

TEST(GrittleboxProcess, EmptyBlockTouchesNothing) {
  Grittlebox fx{IPlugInstanceInfo()};
  double in[2] = {0.3, 0.3}, out[2] = {7.0, 7.0};
  double* ins[2] = {in, in};
  double* outs[2] = {out, out};
  fx.ProcessDoubleReplacing(ins, outs, 0);
  fx.ProcessDoubleReplacing(ins, outs, -5);
  EXPECT_EQ(out[0], 7.0);
  EXPECT_EQ(in[0], 0.3);
}

TEST(GrittleboxProcess, MonoHostStillGetsValidSecondChannel) {
  Grittlebox fx{IPlugInstanceInfo()};
  PrepareOffline(&fx, 44100.0, 8);
  fx.SetInputChannelConnections(1, 1, false);
  fx.SetOutputChannelConnections(1, 1, false);
  double in[8] = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8}, out[8] = {};
  double* ins[1] = {in};
  double* outs[1] = {out};
  WDL_MutexLock lock(fx.GetMutex());
  fx.AttachInputBuffers(0, 2, ins, 8);
  fx.AttachOutputBuffers(0, 2, outs);
  fx.ProcessBuffers(0.0, 8);
  EXPECT_DOUBLE_EQ(out[0], 0.25);
  EXPECT_DOUBLE_EQ(out[7], 1.0);
}

struct RecordingReadout : Readout {
  void SetTextFromPlug(const char* text) override { texts.push_back(text); }
  std::vector<std::string> texts;
};

TEST(GrittleboxReadouts, TextsForValues) {
  Grittlebox fx{IPlugInstanceInfo()};
  RecordingReadout in, out, distort;
  fx.SetReadouts(&in, &out, &distort);
  const struct {
    int idx;
    double value;
    const char* text;
  } cases[] = {
      {0, 0.0, "0.00 dB"},     {1, -20.0, "-20.00 dB"}, {0, -3.4567, "-3.46 dB"},
      {0, -0.004, "-0.00 dB"}, {2, 50.0, "50 %"},       {2, 0.01, "0 %"},
      {2, 89.99, "89 %"},      {2, 100.0, "100 %"},     {2, 99.999, "100 %"},
  };
  RecordingReadout* readouts[3] = {&in, &out, &distort};
  for (const auto& c : cases) {
    fx.GetParam(c.idx)->Set(c.value);
    fx.OnParamChange(c.idx);
    EXPECT_EQ(readouts[c.idx]->texts.back(), c.text) << c.value;
  }
}

TEST(GrittleboxReadouts, UnknownIndexChangesNothing) {
  Grittlebox fx{IPlugInstanceInfo()};
  RecordingReadout in, out, distort;
  fx.SetReadouts(&in, &out, &distort);
  const size_t n = in.texts.size() + out.texts.size() + distort.texts.size();
  const double t = fx.GetThreshold();
  fx.OnParamChange(3);
  fx.OnParamChange(-1);
  EXPECT_EQ(in.texts.size() + out.texts.size() + distort.texts.size(), n);
  EXPECT_EQ(fx.GetThreshold(), t);
}

TEST(GrittleboxState, RestoreUpdatesDerivedValuesAndReadouts) {
  Grittlebox fx{IPlugInstanceInfo()};
  ByteChunk chunk;
  for (double v : {6.0, -6.0, 80.0}) chunk.Put(&v);
  EXPECT_EQ(fx.UnserializeState(&chunk, 0), 24);
  EXPECT_EQ(fx.GetInDB(), 6.0);
  EXPECT_EQ(fx.GetOutDB(), -6.0);
  EXPECT_DOUBLE_EQ(fx.GetThreshold(), 80.0 / -100.0 + 0.9);
  EXPECT_EQ(ReadoutText(fx, 2), "80 %");
  ByteChunk saved;
  EXPECT_TRUE(fx.SerializeState(&saved));
  EXPECT_TRUE(saved.IsEqual(chunk));
}

// The program file of the effect with its defaults, byte for byte; loading
// one back reaches processing and the readouts although there is no preset.
TEST(GrittleboxState, ProgramFileIsTheSixtyEightBytesOfItsParameters) {
  Grittlebox fx{IPlugInstanceInfo()};
  ByteChunk file;
  ASSERT_TRUE(fx.MakeProgramFile(&file));
  std::vector<unsigned char> expected = {'C', 'c', 'n',  'K',  0, 0, 0,   0,   'F', 'x',
                                         'C', 'k', 0,    0,    0, 1, 'Q', 'L', '0', '0',
                                         0,   0,   0x4e, 0x20, 0, 0, 0,   3};
  expected.resize(56);
  const float distort = static_cast<float>((50.0 - 0.01) / 99.99);
  unsigned char bits[4];
  memcpy(bits, &distort, 4);
  expected.insert(expected.end(),
                  {0x3f, 0, 0, 0, 0x3f, 0, 0, 0, bits[3], bits[2], bits[1], bits[0]});
  EXPECT_EQ(std::vector<unsigned char>(file.GetBytes(), file.GetBytes() + file.Size()), expected);

  expected[64] = 0x3f, expected[65] = 0x80, expected[66] = 0, expected[67] = 0; // Distort 1.0
  ASSERT_TRUE(fx.LoadProgramFromBytes(expected.data(), static_cast<int>(expected.size())));
  EXPECT_EQ(fx.GetThreshold(), grittlebox::kMinThreshold);
  EXPECT_EQ(ReadoutText(fx, 2), "100 %");
}

TEST(GrittleboxState, EditorChangeReachesProcessing) {
  Rig rig;
  rig.fx.SetParameterFromGUI(Grittlebox::kDistort, 1.0);
  EXPECT_EQ(rig.fx.GetParam(Grittlebox::kDistort)->Value(), 100.0);
  EXPECT_EQ(rig.fx.GetThreshold(), grittlebox::kMinThreshold);
  EXPECT_EQ(ReadoutText(rig.fx, 2), "100 %");
}

// The host's controller sets values outside processing; the derived values
// and the readouts follow at once.
TEST(GrittleboxState, ControllerChangeReachesProcessingAndReadouts) {
  Grittlebox fx{IPlugInstanceInfo()};
  ASSERT_EQ(fx.setParamNormalized(Grittlebox::kIn, 0.75), Steinberg::kResultOk);
  ASSERT_EQ(fx.setParamNormalized(Grittlebox::kDistort, 0.0), Steinberg::kResultOk);
  EXPECT_EQ(fx.GetInDB(), 10.0);
  EXPECT_EQ(fx.GetThreshold(), grittlebox::ThresholdFromDistort(0.01));
  EXPECT_EQ(ReadoutText(fx, 0), "10.00 dB");
  EXPECT_EQ(ReadoutText(fx, 2), "0 %");
}

} // namespace
