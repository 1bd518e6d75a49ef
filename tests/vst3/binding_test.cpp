// The binding driven directly, with a test plug-in that uses what Grittlebox
// does not: parameter groups, presets, a side chain, MIDI, a list parameter
// and latency; plus the edit notifications and host-time queries.
#include <gtest/gtest.h>

#include <vector>

#include "pluginterfaces/vst/ivstevents.h"
#include "vst3/HostText.h"
#include "vst3/IPlugVST3.h"
#include "vst3/host/ByteStream.h"
#include "vst3/host/ParameterChangeSet.h"

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace vst3host;

namespace {

class Handler : public HostObject<IComponentHandler> {
public:
  tresult PLUGIN_API beginEdit(ParamID id) override { return Log('b', id, 0); }
  tresult PLUGIN_API performEdit(ParamID id, ParamValue v) override { return Log('p', id, v); }
  tresult PLUGIN_API endEdit(ParamID id) override { return Log('e', id, 0); }
  tresult PLUGIN_API restartComponent(int32 flags) override {
    restarts.push_back(flags);
    return kResultOk;
  }
  tresult Log(char kind, ParamID id, double v) {
    log.push_back({kind, id, v});
    return kResultOk;
  }
  struct Entry {
    char kind;
    ParamID id;
    double value;
  };
  std::vector<Entry> log;
  std::vector<int32> restarts;
};

class EventList : public HostObject<IEventList> {
public:
  int32 PLUGIN_API getEventCount() override { return static_cast<int32>(events.size()); }
  tresult PLUGIN_API getEvent(int32 index, Event& e) override {
    if (index < 0 || index >= getEventCount()) return kResultFalse;
    e = events[static_cast<size_t>(index)];
    return kResultOk;
  }
  tresult PLUGIN_API addEvent(Event& e) override {
    events.push_back(e);
    return kResultOk;
  }
  std::vector<Event> events;
};

// Groups "Main", "FX", "Main"; a bool; three presets; a side chain of up to
// two channels; MIDI: what the binding offers beyond a plain effect.
class EveryFeaturePlug : public IPlugVST3 {
public:
  EveryFeaturePlug()
      : IPlugVST3(IPlugInstanceInfo(), 4, "4-2 3-2", 3, "Test", "", "Maker", 0x10000, 1, 2, 0, true,
                  false, false, 2) {
    GetParam(0)->InitDouble("Gain", 0, -10, 10, 0.1, "dB", "Main");
    GetParam(1)->InitDouble("Mix", 50, 0, 100, 1, "%", "FX");
    GetParam(2)->InitDouble("Trim", 0, -1, 1, 0.01, "dB", "Main");
    GetParam(3)->InitBool("Phase", false);
    GetParam(3)->SetCanAutomate(false);
  }
  void ProcessMidiMsg(IMidiMsg* msg) override { midi.push_back(*msg); }
  void OnParamChange(int idx) override { changes.push_back(idx); }
  std::vector<IMidiMsg> midi;
  std::vector<int> changes;
};

struct BindingTest : ::testing::Test {
  EveryFeaturePlug* plug = new EveryFeaturePlug;
  void SetUp() override { ASSERT_EQ(kResultOk, plug->initialize(nullptr)); }
  void TearDown() override {
    plug->terminate();
    plug->release();
  }
};

} // namespace

TEST_F(BindingTest, GroupsBecomeUnitsUnderTheRoot) {
  EXPECT_EQ(3, plug->getUnitCount());
  UnitInfo unit = {};
  ASSERT_EQ(kResultOk, plug->getUnitInfo(1, unit));
  EXPECT_EQ(1, unit.id);
  EXPECT_EQ(kRootUnitId, unit.parentUnitId);
  EXPECT_EQ("Main", NarrowString(unit.name));
  ASSERT_EQ(kResultOk, plug->getUnitInfo(2, unit));
  EXPECT_EQ("FX", NarrowString(unit.name));
  EXPECT_EQ(kResultFalse, plug->getUnitInfo(3, unit));

  // Container order: preset, bypass, then the plug-in's parameters.
  ASSERT_EQ(6, plug->getParameterCount());
  ParameterInfo info = {};
  ASSERT_EQ(kResultOk, plug->getParameterInfo(0, info));
  EXPECT_EQ(IPlugVST3::kPresetParamId, info.id);
  EXPECT_EQ(3, info.stepCount);
  EXPECT_EQ(ParameterInfo::kIsProgramChange, info.flags);
  const int32 expectedUnits[] = {1, 2, 1, 0};
  for (int32 i = 0; i < 4; ++i) {
    ASSERT_EQ(kResultOk, plug->getParameterInfo(i + 2, info));
    EXPECT_EQ(expectedUnits[i], info.unitId) << i;
  }
  EXPECT_EQ(1, info.stepCount); // the bool is a two-entry list, not automatable
  EXPECT_EQ(ParameterInfo::kIsList, info.flags);

  // Terminate and initialize again: no group is added twice.
  plug->terminate();
  ASSERT_EQ(kResultOk, plug->initialize(nullptr));
  EXPECT_EQ(3, plug->getUnitCount());
}

TEST_F(BindingTest, PresetsFormTheProgramListAndThePresetQueueRestoresThem) {
  ASSERT_EQ(1, plug->getProgramListCount());
  ProgramListInfo list = {};
  ASSERT_EQ(kResultOk, plug->getProgramListInfo(0, list));
  EXPECT_EQ(3, list.programCount);
  EXPECT_EQ(kResultFalse, plug->getProgramListInfo(1, list));
  String128 name;
  ASSERT_EQ(kResultOk, plug->getProgramName(IPlugVST3::kPresetParamId, 7, name));
  EXPECT_EQ("", NarrowString(name)); // outside the list: empty
  ParameterChangeSet* changes = new ParameterChangeSet;
  changes->Add(IPlugVST3::kPresetParamId, 0.5);
  ProcessData data;
  data.inputParameterChanges = changes;
  ASSERT_EQ(kResultOk, plug->process(data));
  EXPECT_EQ(1, plug->GetCurrentPresetIdx());
  changes->release();
  for (double outside : {1e300, -1e300}) { // no overflowing index; the ends of the list
    ParameterChangeSet* far = new ParameterChangeSet;
    far->Add(IPlugVST3::kPresetParamId, outside);
    data.inputParameterChanges = far;
    ASSERT_EQ(kResultOk, plug->process(data));
    far->release();
  }
  EXPECT_EQ(0, plug->GetCurrentPresetIdx());
}

TEST_F(BindingTest, SideChainAndMidiBuses) {
  EXPECT_EQ(2, plug->getBusCount(kAudio, kInput));
  BusInfo info = {};
  ASSERT_EQ(kResultOk, plug->getBusInfo(kAudio, kInput, 1, info));
  EXPECT_EQ(kAux, info.busType);
  EXPECT_EQ("Aux Input", NarrowString(info.name));
  EXPECT_EQ(0, info.flags);
  ASSERT_EQ(kResultOk, plug->getBusInfo(kEvent, kInput, 0, info));
  EXPECT_EQ("MIDI Input", NarrowString(info.name));

  SpeakerArrangement ins[2] = {SpeakerArr::kStereo, SpeakerArr::kMono};
  SpeakerArrangement out = SpeakerArr::kStereo;
  EXPECT_EQ(kResultFalse, plug->setBusArrangements(ins, 1, &out, 1)); // side chain missing
  SpeakerArrangement tooMany[2] = {SpeakerArr::k51, SpeakerArr::kStereo};
  EXPECT_EQ(kResultFalse, plug->setBusArrangements(tooMany, 2, &out, 1));
  ASSERT_EQ(kResultOk, plug->setBusArrangements(ins, 2, &out, 1));
  SpeakerArrangement arr = 0;
  ASSERT_EQ(kResultOk, plug->getBusArrangement(kInput, 1, arr));
  EXPECT_EQ(SpeakerArr::kMono, arr);

  EventList* events = new EventList;
  Event on = {};
  on.type = Event::kNoteOnEvent;
  on.sampleOffset = 5;
  on.noteOn.pitch = 60;
  on.noteOn.velocity = 0.5f;
  events->addEvent(on);
  Event other = {};
  other.type = Event::kDataEvent;
  events->addEvent(other);
  ProcessData data;
  data.inputEvents = events;
  ASSERT_EQ(kResultOk, plug->process(data));
  ASSERT_EQ(1u, plug->midi.size());
  EXPECT_EQ(60, plug->midi[0].NoteNumber());
  EXPECT_EQ(63, plug->midi[0].Velocity());
  EXPECT_EQ(5, plug->midi[0].mOffset);
  events->release();

  // Events outside MIDI's ranges are dropped; a wild velocity is held to 0..127.
  EventList* odd = new EventList;
  Event bad = on;
  bad.noteOn.channel = 16;
  odd->addEvent(bad);
  bad = on;
  bad.noteOn.pitch = 128;
  odd->addEvent(bad);
  bad = on;
  bad.noteOn.velocity = 1e30f;
  odd->addEvent(bad);
  data.inputEvents = odd;
  plug->midi.clear();
  ASSERT_EQ(kResultOk, plug->process(data));
  ASSERT_EQ(1u, plug->midi.size());
  EXPECT_EQ(127, plug->midi[0].Velocity());
  EXPECT_EQ(0, plug->midi[0].Channel());
  odd->release();
}

TEST_F(BindingTest, EditorEditsAndLatencyReachTheHost) {
  Handler* handler = new Handler;
  EXPECT_NO_FATAL_FAILURE(plug->BeginInformHostOfParamChange(1)); // no handler yet: nothing
  plug->setComponentHandler(handler);
  plug->BeginInformHostOfParamChange(1);
  plug->SetParameterFromGUI(1, 0.25);
  plug->EndInformHostOfParamChange(1);
  ASSERT_EQ(3u, handler->log.size());
  EXPECT_EQ('b', handler->log[0].kind);
  EXPECT_EQ('p', handler->log[1].kind);
  EXPECT_DOUBLE_EQ(0.25, handler->log[1].value);
  EXPECT_EQ('e', handler->log[2].kind);
  EXPECT_EQ(1u, handler->log[2].id);
  EXPECT_EQ(std::vector<int>{1}, plug->changes);

  plug->SetLatency(32);
  EXPECT_EQ(32u, plug->getLatencySamples());
  EXPECT_EQ(std::vector<int32>{kLatencyChanged}, handler->restarts);
  plug->setComponentHandler(nullptr);
  handler->release();
}

TEST_F(BindingTest, HostTimeComesFromTheLastProcessContext) {
  ProcessContext context = {};
  context.state = ProcessContext::kPlaying | ProcessContext::kCycleActive;
  context.tempo = 128.0;
  context.projectTimeSamples = 44100 * 3;
  context.projectTimeMusic = 6.5;
  context.barPositionMusic = 4.0;
  context.cycleStartMusic = 2.0;
  context.cycleEndMusic = 10.0;
  context.timeSigNumerator = 7;
  context.timeSigDenominator = 8;
  ProcessData data;
  data.processContext = &context;
  ASSERT_EQ(kResultOk, plug->process(data));
  EXPECT_EQ(128.0, plug->GetTempo());
  EXPECT_EQ(44100 * 3, plug->GetSamplePos());
  int num = 0, den = 0;
  plug->GetTimeSig(&num, &den);
  EXPECT_EQ(7, num);
  EXPECT_EQ(8, den);
  ITimeInfo info;
  plug->GetTime(&info);
  EXPECT_EQ(6.5, info.mPPQPos);
  EXPECT_EQ(4.0, info.mLastBar);
  EXPECT_EQ(10.0, info.mCycleEnd);
  EXPECT_TRUE(info.mTransportIsRunning);
  EXPECT_TRUE(info.mTransportLoopEnabled);

  EXPECT_FALSE(plug->IsRenderingOffline());
  ProcessSetup setup = {kOffline, kSample32, 64, 48000.0};
  ASSERT_EQ(kResultOk, plug->setupProcessing(setup));
  EXPECT_TRUE(plug->IsRenderingOffline());
  EXPECT_EQ(48000.0, plug->GetSampleRate());
  EXPECT_EQ(64, plug->GetBlockSize());
}

TEST_F(BindingTest, RunTimeClassNamesIncludeTheBases) {
  EXPECT_STREQ("IPlugVST3", plug->isA());
  for (const char* base : {"SingleComponentEffect", "EditController", "ComponentBase", "FObject"})
    EXPECT_TRUE(plug->isTypeOf(base, true)) << base;
  EXPECT_FALSE(plug->isTypeOf("EditController", false));
}

TEST_F(BindingTest, BoolParameterTextsAndTheBypassList) {
  String128 text;
  ASSERT_EQ(kResultOk, plug->getParamStringByValue(IPlugVST3::kBypassParamId, 0.7, text));
  EXPECT_EQ("on", NarrowString(text));
  EXPECT_EQ(0.0, plug->getParamNormalized(IPlugVST3::kPresetParamId));
  EXPECT_EQ(kResultFalse, plug->setParamNormalized(IPlugVST3::kPresetParamId, 1.0));
}

// Host texts are narrowed by our own conversion before any parameter kind
// reads them: ill-formed UTF-16 is refused or read around, never thrown on.
TEST_F(BindingTest, HostTextsOfEveryParameterKindParseWithoutThrowing) {
  const char16 kLoneLow[] = {0xDCDC, 0};
  const char16 kHighThenA[] = {0xD83D, u'A', 0};
  const char16 kNumberThenLone[] = {u'-', u'5', 0xDCDC, 0};
  const char16 kNumber[] = u"5";
  const char16 kOn[] = u"on";
  struct Case {
    ParamID id;
    const char16* text;
    bool parses;
    double normalized;
  } cases[] = {
      {0, kLoneLow, false, 0},
      {0, kHighThenA, false, 0},
      {0, kNumberThenLone, true, 0.25},
      {0, kNumber, true, 0.75},
      {3, kLoneLow, false, 0},
      {3, kHighThenA, false, 0},
      {3, kOn, true, 1.0},
      {IPlugVST3::kBypassParamId, kLoneLow, false, 0},
      {IPlugVST3::kPresetParamId, kHighThenA, false, 0},
  };
  for (const Case& c : cases) {
    String128 text = {};
    for (int i = 0; c.text[i]; ++i) text[i] = c.text[i];
    ParamValue value = -1.0;
    tresult result = kInternalError;
    EXPECT_NO_THROW(result = plug->getParamValueByString(c.id, text, value)) << c.id;
    EXPECT_EQ(c.parses ? kResultOk : kResultFalse, result) << c.id << " " << NarrowString(text);
    if (c.parses) {
      EXPECT_DOUBLE_EQ(c.normalized, value) << c.id << " " << NarrowString(text);
    }
  }
}
