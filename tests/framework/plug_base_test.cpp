#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "plug_base_test_plug.h"
#include "probed_graphics.h"

namespace {

TEST(PlugBaseChannels, ParsesChannelIOString) {
  PlugBaseTestPlug plug("2-2 1-1");
  EXPECT_EQ(plug.NChannelIO(), 2);
  EXPECT_EQ(plug.NInChannels(), 2);
  EXPECT_EQ(plug.NOutChannels(), 2);
  int in = -1, out = -1;
  EXPECT_TRUE(plug.GetChannelIO(1, &in, &out));
  EXPECT_EQ(in, 1);
  EXPECT_EQ(out, 1);
  EXPECT_FALSE(plug.GetChannelIO(2, &in, &out));
}

TEST(PlugBaseChannels, UnreadableTokensAndNullString) {
  PlugBaseTestPlug x("x 1-4");
  int in = -1, out = -1;
  x.GetChannelIO(0, &in, &out);
  EXPECT_EQ(in, 0);
  EXPECT_EQ(out, 0);
  EXPECT_EQ(x.NOutChannels(), 4);
  PlugBaseTestPlug none(nullptr);
  EXPECT_EQ(none.NChannelIO(), 0);
  EXPECT_EQ(none.NInChannels(), 0);
  EXPECT_FALSE(none.LegalIO(-1, -1));
}

TEST(PlugBaseChannels, LegalIOWithWildcards) {
  PlugBaseTestPlug plug("2-2 1-1");
  EXPECT_TRUE(plug.LegalIO(2, 2));
  EXPECT_TRUE(plug.LegalIO(1, 1));
  EXPECT_FALSE(plug.LegalIO(1, 2));
  EXPECT_TRUE(plug.LegalIO(-1, 1));
  EXPECT_TRUE(plug.LegalIO(2, -1));
  EXPECT_TRUE(plug.LegalIO(-1, -1));
}

TEST(PlugBaseChannels, ConnectionsClampToExistingChannels) {
  PlugBaseTestPlug plug("4-4");
  plug.SetInputChannelConnections(1, 100, true);
  EXPECT_FALSE(plug.IsInChannelConnected(0));
  EXPECT_TRUE(plug.IsInChannelConnected(3));
  EXPECT_FALSE(plug.IsInChannelConnected(4));
  plug.SetInputChannelConnections(-5, 6, true);
  EXPECT_TRUE(plug.IsInChannelConnected(0));
  plug.SetOutputChannelConnections(2, INT32_MAX, true); // no overflow
  EXPECT_TRUE(plug.IsOutChannelConnected(3));
  EXPECT_FALSE(plug.IsOutChannelConnected(1));
  plug.SetInputChannelConnections(0, 4, true);
  plug.LimitToStereoIO();
  EXPECT_FALSE(plug.IsInChannelConnected(2));
  EXPECT_TRUE(plug.IsOutChannelConnected(3));
  EXPECT_FALSE(plug.IsOutChannelConnected(0));
}

TEST(PlugBaseLabels, ChannelAndBusLabels) {
  PlugBaseTestPlug plug;
  plug.SetInputLabel(1, "R");
  plug.SetInputLabel(2, "none");
  EXPECT_STREQ(plug.GetInputLabel(1), "R");
  EXPECT_STREQ(plug.GetInputLabel(2), "");
  plug.SetInputBusLabel(2, "x");
  EXPECT_EQ(plug.GetInputBusLabel(0), nullptr);
  plug.SetInputBusLabel(0, "main");
  plug.SetInputBusLabel(0, "main2");
  EXPECT_STREQ(plug.GetInputBusLabel(0)->Get(), "main2");
  EXPECT_EQ(plug.GetInputBusLabel(1), nullptr);
  plug.SetOutputBusLabel(5, "out");
  EXPECT_STREQ(plug.GetOutputBusLabel(0)->Get(), "out");
}

TEST(PlugBaseIdentity, NamesVersionsAndHost) {
  PlugBaseTestPlug plug;
  EXPECT_STREQ(plug.GetEffectName(), "TestFx");
  EXPECT_EQ(plug.GetEffectVersion(false), 0x10203);
  EXPECT_EQ(plug.GetEffectVersion(true), 10203);
  char text[32];
  plug.GetEffectVersionStr(text);
  EXPECT_STREQ(text, "v1.2.3");
  EXPECT_STREQ(plug.GetAPIString(), "VST3");
  EXPECT_STREQ(plug.GetArchString(), "x64");
  EXPECT_EQ(plug.GetHost(), kHostUninit);
  plug.SetHost("Cubase 8", 0x20000);
  EXPECT_EQ(plug.GetHost(), kHostCubase);
  EXPECT_EQ(plug.GetHostVersion(true), 20000);
  plug.GetHostVersionStr(text);
  EXPECT_STREQ(text, "v2.0.0");
  EXPECT_EQ(plug.GetSampleRate(), 44100.0);
  EXPECT_EQ(plug.GetBlockSize(), 0);
}

TEST(PlugBaseIdentity, SamplesPerBeatNeedsATempo) {
  PlugBaseTestPlug plug;
  EXPECT_EQ(plug.GetSamplesPerBeat(), 0.0);
  plug.mTempo = 120.0;
  EXPECT_DOUBLE_EQ(plug.GetSamplesPerBeat(), 22050.0);
}

TEST(PlugBaseGraphics, AttachPushesNormalizedValuesAndOwns) {
  int deleted = 0;
  {
    PlugBaseTestPlug plug;
    plug.GetParam(0)->InitDouble("g", 10, -20, 20, 0.01);
    plug.AttachGraphics(nullptr);
    EXPECT_EQ(plug.GetGUI(), nullptr);
    auto* graphics = new ProbedGraphics(&plug, &deleted);
    plug.AttachGraphics(graphics);
    EXPECT_EQ(plug.GetGUI(), graphics);
    ASSERT_EQ(graphics->mProbes[0]->mValues.size(), 1u);
    EXPECT_DOUBLE_EQ(graphics->mProbes[0]->mValues[0], 0.75);
    // The first value from the plug-in becomes the control's default.
    EXPECT_DOUBLE_EQ(graphics->mProbes[0]->GetDefaultValue(), 0.75);
    EXPECT_NE(graphics->GetDrawBitmap(), nullptr); // prepared to draw
    // A redraw pushes plain values, which the editor converts.
    plug.GetParam(0)->Set(-20.0);
    plug.RedrawParamControls();
    EXPECT_DOUBLE_EQ(graphics->mProbes[0]->mValues.back(), 0.0);
    plug.AttachGraphics(new ProbedGraphics(&plug, &deleted)); // the first is not leaked
    EXPECT_EQ(deleted, 1);
  }
  EXPECT_EQ(deleted, 2);
}

TEST(PlugBaseGui, SetParameterFromGUISetsInformsAndNotifies) {
  PlugBaseTestPlug plug;
  plug.GetParam(1)->InitDouble("g", 0, -20, 20, 0.01);
  plug.SetParameterFromGUI(1, 0.25);
  EXPECT_DOUBLE_EQ(plug.GetParam(1)->Value(), -10.0);
  ASSERT_EQ(plug.mInformed.size(), 1u);
  EXPECT_EQ(plug.mInformed[0].idx, 1);
  EXPECT_EQ(plug.mNotified, std::vector<int>{1});
  plug.SetParameterFromGUI(7, 0.5); // no such parameter
  EXPECT_EQ(plug.mInformed.size(), 1u);
  plug.DirtyParameters();
  EXPECT_EQ(plug.mInformed.size(), 4u);
  plug.mNotified.clear();
  plug.OnParamReset();
  EXPECT_EQ(plug.mNotified, (std::vector<int>{0, 1, 2}));
}

TEST(PlugBaseState, CompareStateWithinFloatTolerance) {
  PlugBaseTestPlug plug;
  plug.GetParam(0)->InitDouble("a", 1.5, -20, 20, 0.01);
  plug.GetParam(1)->InitDouble("b", -2, -20, 20, 0.01);
  plug.GetParam(2)->InitDouble("c", 50, 0, 100, 0.01);
  const double same[4] = {99, 1.5, -2, 50};
  EXPECT_TRUE(plug.CompareState(reinterpret_cast<const unsigned char*>(same), 1));
  const double other[3] = {1.5, -2, 50.01};
  EXPECT_FALSE(plug.CompareState(reinterpret_cast<const unsigned char*>(other), 0));
  EXPECT_FALSE(plug.CompareState(nullptr, 0));
}

TEST(PlugBaseMidi, SendMidiMsgsNeedsEverySend) {
  PlugBaseTestPlug plug;
  WDL_TypedBuf<IMidiMsg> msgs;
  EXPECT_TRUE(plug.SendMidiMsgs(&msgs));
  msgs.Add(IMidiMsg(0, 0x90, 60, 100));
  msgs.Add(IMidiMsg(0, 0xFF));
  msgs.Add(IMidiMsg(0, 0x80, 60));
  EXPECT_FALSE(plug.SendMidiMsgs(&msgs));
  EXPECT_EQ(plug.mSent.size(), 3u);
  IMidiMsg msg(0, 0x90);
  plug.ProcessMidiMsg(&msg);
  EXPECT_EQ(plug.mSent.size(), 4u);
  char name[8] = "x";
  EXPECT_FALSE(plug.MidiNoteName(60, name));
  EXPECT_STREQ(name, "");
}

TEST(PlugBaseLock, RecursiveForOwnerAndExclusiveAcrossThreads) {
  PlugBaseTestPlug plug;
  std::atomic<bool> entered{false};
  plug.GetMutex()->Enter();
  plug.Reset(); // nests without deadlock
  plug.OnActivate(true);
  std::thread other([&] {
    WDL_MutexLock inner(plug.GetMutex());
    entered = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(entered.load());
  plug.GetMutex()->Leave();
  other.join();
  EXPECT_TRUE(entered.load());
}

} // namespace
