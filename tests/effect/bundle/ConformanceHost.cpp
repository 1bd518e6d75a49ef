#include "ConformanceHost.h"

#include <cmath>
#include <cstdlib>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace vst3host;

namespace conformance {

std::string BundlePath() {
  const char* path = std::getenv("GRITTLEBOX_BUNDLE");
  return path && *path ? path : GRITTLEBOX_BUILT_BUNDLE;
}

HostModule& Module() {
  static HostModule module;
  if (!module.Factory()) module.Load(BundlePath());
  return module;
}

double PlainFromNormalized(ParamID id, double normalized) {
  const double lo = id == kDistort ? 0.01 : -20.0;
  const double hi = id == kDistort ? 100.0 : 20.0;
  return (hi - lo) * normalized + lo;
}

double ClipReference(double in, double inDB, double outDB, double distort) {
  const double threshold = distort / -100.0 + 0.9;
  const double x = std::pow(2.0, inDB / 6.014) * in;
  const double y = x >= 0.0 ? std::fmin(x, threshold) : std::fmax(x, -threshold);
  return (y / threshold) * std::pow(2.0, outDB / 6.014);
}

tresult PLUGIN_API RecordingHandler::beginEdit(ParamID id) {
  edits.push_back({'b', id, 0.0});
  return kResultOk;
}
tresult PLUGIN_API RecordingHandler::performEdit(ParamID id, ParamValue value) {
  edits.push_back({'p', id, value});
  return kResultOk;
}
tresult PLUGIN_API RecordingHandler::endEdit(ParamID id) {
  edits.push_back({'e', id, 0.0});
  return kResultOk;
}
tresult PLUGIN_API RecordingHandler::restartComponent(int32 flags) {
  restarts.push_back(flags);
  return kResultOk;
}

Block::Block(int inChannels, int outChannels, int frames_, bool use64_)
    : use64(use64_), frames(frames_) {
  const size_t n = static_cast<size_t>(frames > 0 ? frames : 0);
  if (use64) {
    in64.assign(static_cast<size_t>(inChannels), std::vector<double>(n, 0.0));
    out64.assign(static_cast<size_t>(outChannels), std::vector<double>(n, 0.0));
    for (auto& c : in64) inPtr64.push_back(c.data());
    for (auto& c : out64) outPtr64.push_back(c.data());
  } else {
    in32.assign(static_cast<size_t>(inChannels), std::vector<float>(n, 0.0f));
    out32.assign(static_cast<size_t>(outChannels), std::vector<float>(n, 0.0f));
    for (auto& c : in32) inPtr32.push_back(c.data());
    for (auto& c : out32) outPtr32.push_back(c.data());
  }
  inBus.numChannels = inChannels;
  outBus.numChannels = outChannels;
  if (use64) {
    inBus.channelBuffers64 = inPtr64.data();
    outBus.channelBuffers64 = outPtr64.data();
  } else {
    inBus.channelBuffers32 = inPtr32.data();
    outBus.channelBuffers32 = outPtr32.data();
  }
}

void Block::FillInput(double (*signal)(int channel, int frame)) {
  for (int c = 0; c < inBus.numChannels; ++c)
    for (int s = 0; s < frames; ++s) {
      if (use64)
        in64[c][s] = signal(c, s);
      else
        in32[c][s] = static_cast<float>(signal(c, s));
    }
}

double Block::In(int c, int s) const {
  return use64 ? in64[c][s] : in32[c][s];
}
double Block::Out(int c, int s) const {
  return use64 ? out64[c][s] : out32[c][s];
}

ProcessData Block::Data(IParameterChanges* changes) {
  ProcessData data;
  data.processMode = kRealtime;
  data.symbolicSampleSize = use64 ? kSample64 : kSample32;
  data.numSamples = frames;
  data.numInputs = 1;
  data.numOutputs = 1;
  data.inputs = &inBus;
  data.outputs = &outBus;
  data.inputParameterChanges = changes;
  return data;
}

void EffectTest::SetUp() {
  ASSERT_TRUE(Module().Factory()) << Module().Error() << " (bundle: " << BundlePath() << ")";
  context = new HostContext("Grittlebox Conformance Host");
  ASSERT_TRUE(CreateEffect());
}

void EffectTest::TearDown() {
  StopProcessing();
  ReleaseEffect();
  if (context) context->release();
  context = nullptr;
}

bool EffectTest::CreateEffect() {
  IPluginFactory* factory = Module().Factory();
  PClassInfo info;
  if (factory->getClassInfo(0, &info) != kResultOk) return false;
  void* obj = nullptr;
  if (factory->createInstance(info.cid, IComponent::iid, &obj) != kResultOk || !obj) return false;
  component = static_cast<IComponent*>(obj);
  component->queryInterface(IAudioProcessor::iid, reinterpret_cast<void**>(&processor));
  component->queryInterface(IEditController::iid, reinterpret_cast<void**>(&controller));
  component->queryInterface(IUnitInfo::iid, reinterpret_cast<void**>(&units));
  return processor && controller && units;
}

void EffectTest::ReleaseEffect() {
  if (units) units->release();
  if (controller) controller->release();
  if (processor) processor->release();
  if (component) component->release();
  units = nullptr;
  controller = nullptr;
  processor = nullptr;
  component = nullptr;
}

ProcessSetup EffectTest::Setup(double sampleRate, int maxBlock, bool use64) const {
  ProcessSetup setup;
  setup.processMode = kRealtime;
  setup.symbolicSampleSize = use64 ? kSample64 : kSample32;
  setup.maxSamplesPerBlock = maxBlock;
  setup.sampleRate = sampleRate;
  return setup;
}

void EffectTest::StartProcessing(double sampleRate, int maxBlock, bool use64) {
  ASSERT_EQ(kResultOk, component->initialize(context));
  initialized = true;
  SpeakerArrangement stereo = SpeakerArr::kStereo;
  ASSERT_EQ(kResultOk, processor->setBusArrangements(&stereo, 1, &stereo, 1));
  ActivateMainBuses();
  ProcessSetup setup = Setup(sampleRate, maxBlock, use64);
  ASSERT_EQ(kResultOk, processor->setupProcessing(setup));
  ASSERT_EQ(kResultOk, component->setActive(true));
  active = true;
  processor->setProcessing(true);
}

// Hosts switch on the buses they use; a bus starts switched off.
void EffectTest::ActivateMainBuses() {
  ASSERT_EQ(kResultOk, component->activateBus(kAudio, kInput, 0, true));
  ASSERT_EQ(kResultOk, component->activateBus(kAudio, kOutput, 0, true));
}

void EffectTest::StopProcessing() {
  if (active) {
    processor->setProcessing(false);
    component->setActive(false);
  }
  active = false;
  if (initialized) component->terminate();
  initialized = false;
}

tresult EffectTest::Run(Block& block, IParameterChanges* changes) {
  ProcessData data = block.Data(changes);
  return processor->process(data);
}

tresult EffectTest::SendChanges(IParameterChanges* changes) {
  ProcessData data;
  data.symbolicSampleSize = kSample64;
  data.numSamples = 0;
  data.inputParameterChanges = changes;
  return processor->process(data);
}

} // namespace conformance
