// Buses as hosts negotiate them: information, arrangements, activation.
#include "ConformanceHost.h"
#include "vst3/HostText.h"

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace conformance;
using namespace vst3host;

namespace {

class BusesTest : public EffectTest {
protected:
  void SetUp() override {
    EffectTest::SetUp();
    ASSERT_EQ(kResultOk, component->initialize(context));
    initialized = true;
  }
  BusInfo Info(BusDirection dir, int index) {
    BusInfo info = {};
    EXPECT_EQ(kResultOk, component->getBusInfo(kAudio, dir, index, info));
    return info;
  }
  SpeakerArrangement Arrangement(BusDirection dir) {
    SpeakerArrangement arr = 0;
    EXPECT_EQ(kResultOk, processor->getBusArrangement(dir, 0, arr));
    return arr;
  }
};

} // namespace

TEST_F(BusesTest, OneStereoInputAndOutputAndNoEventBus) {
  EXPECT_EQ(1, component->getBusCount(kAudio, kInput));
  EXPECT_EQ(1, component->getBusCount(kAudio, kOutput));
  EXPECT_EQ(0, component->getBusCount(kEvent, kInput));
  EXPECT_EQ(0, component->getBusCount(kEvent, kOutput));

  const BusInfo in = Info(kInput, 0);
  EXPECT_EQ("Main Input", NarrowString(in.name));
  EXPECT_EQ(2, in.channelCount);
  EXPECT_EQ(kMain, in.busType);
  EXPECT_EQ(kAudio, in.mediaType);
  EXPECT_EQ(kInput, in.direction);
  EXPECT_TRUE(in.flags & BusInfo::kDefaultActive);
  const BusInfo out = Info(kOutput, 0);
  EXPECT_EQ("Output", NarrowString(out.name));
  EXPECT_EQ(2, out.channelCount);
  EXPECT_EQ(SpeakerArr::kStereo, Arrangement(kOutput));
}

TEST_F(BusesTest, BadBusIndexesAreRefused) {
  BusInfo info = {};
  EXPECT_NE(kResultOk, component->getBusInfo(kAudio, kInput, 1, info));
  EXPECT_NE(kResultOk, component->getBusInfo(kAudio, kOutput, -1, info));
  EXPECT_NE(kResultOk, component->getBusInfo(kEvent, kInput, 0, info));
  EXPECT_NE(kResultOk, component->getBusInfo(7, kInput, 0, info));
  EXPECT_NE(kResultOk, component->activateBus(kAudio, kInput, 3, true));
  SpeakerArrangement arr = 0;
  EXPECT_NE(kResultOk, processor->getBusArrangement(kOutput, 1, arr));
}

TEST_F(BusesTest, MonoAndStereoProposalsAreAccepted) {
  SpeakerArrangement mono = SpeakerArr::kMono, stereo = SpeakerArr::kStereo;
  ASSERT_EQ(kResultOk, processor->setBusArrangements(&mono, 1, &mono, 1));
  EXPECT_EQ(SpeakerArr::kMono, Arrangement(kInput));
  EXPECT_EQ(SpeakerArr::kMono, Arrangement(kOutput));
  EXPECT_EQ(1, Info(kInput, 0).channelCount);
  EXPECT_EQ("Input", NarrowString(Info(kInput, 0).name));
  EXPECT_EQ("Output", NarrowString(Info(kOutput, 0).name));
  EXPECT_EQ(1, component->getBusCount(kAudio, kInput));

  ASSERT_EQ(kResultOk, processor->setBusArrangements(&stereo, 1, &stereo, 1));
  EXPECT_EQ(SpeakerArr::kStereo, Arrangement(kInput));
  EXPECT_EQ(SpeakerArr::kStereo, Arrangement(kOutput));
}

TEST_F(BusesTest, RefusedProposalsChangeNothing) {
  SpeakerArrangement mono = SpeakerArr::kMono, stereo = SpeakerArr::kStereo;
  SpeakerArrangement two[2] = {SpeakerArr::kStereo, SpeakerArr::kStereo};
  SpeakerArrangement surround = SpeakerArr::k51;
  ASSERT_EQ(kResultOk, processor->setBusArrangements(&mono, 1, &mono, 1));

  EXPECT_EQ(kResultFalse, processor->setBusArrangements(&mono, 1, &stereo, 1));
  EXPECT_EQ(kResultFalse, processor->setBusArrangements(two, 2, &stereo, 1));
  EXPECT_EQ(kResultFalse, processor->setBusArrangements(&stereo, 1, two, 2));
  EXPECT_EQ(kResultFalse, processor->setBusArrangements(&surround, 1, &surround, 1));
  EXPECT_EQ(kResultFalse, processor->setBusArrangements(nullptr, 0, &stereo, 1));
  EXPECT_EQ(kResultFalse, processor->setBusArrangements(&stereo, 1, nullptr, 0));
  EXPECT_NE(kResultOk, processor->setBusArrangements(nullptr, 1, nullptr, 1));
  EXPECT_NE(kResultOk, processor->setBusArrangements(&stereo, -1, &stereo, 1));

  EXPECT_EQ(SpeakerArr::kMono, Arrangement(kInput));
  EXPECT_EQ(SpeakerArr::kMono, Arrangement(kOutput));
  EXPECT_EQ("Input", NarrowString(Info(kInput, 0).name));
  EXPECT_EQ(1, component->getBusCount(kAudio, kInput));
  EXPECT_EQ(1, component->getBusCount(kAudio, kOutput));
}

TEST_F(BusesTest, ActivationIsKeptPerBus) {
  EXPECT_EQ(kResultOk, component->activateBus(kAudio, kInput, 0, false));
  EXPECT_EQ(kResultOk, component->activateBus(kAudio, kOutput, 0, true));
  EXPECT_EQ(kResultOk, component->activateBus(kAudio, kInput, 0, true));
}
