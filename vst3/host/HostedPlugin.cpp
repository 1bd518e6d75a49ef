#include "vst3/host/HostedPlugin.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "detail/PresetFileCheck.h"
#include "public.sdk/source/vst/vstpresetfile.h"
#include "vst3/HostText.h"
#include "vst3/host/ByteStream.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace vst3host {

HostedPlugin::HostedPlugin(const std::string& hostName)
    : mContext(new HostContext(hostName)), mChanges(new ParameterChangeSet(64, 4)) {}

HostedPlugin::~HostedPlugin() {
  Stop();
  Release();
  mChanges->release();
  mContext->release();
}

bool HostedPlugin::Fail(const std::string& what) {
  mError = what;
  return false;
}

void HostedPlugin::Release() {
  if (mController) mController->release();
  if (mProcessor) mProcessor->release();
  if (mComponent) mComponent->release();
  mController = nullptr;
  mProcessor = nullptr;
  mComponent = nullptr;
}

bool HostedPlugin::Load(const std::string& bundlePath) {
  Stop();
  Release();
  if (!mModule.Load(bundlePath)) return Fail(mModule.Error());
  IPluginFactory* factory = mModule.Factory();
  for (int32 i = 0; i < factory->countClasses(); ++i) {
    PClassInfo info;
    if (factory->getClassInfo(i, &info) != kResultOk) continue;
    if (std::string(info.category) != kVstAudioEffectClass) continue;
    void* obj = nullptr;
    if (factory->createInstance(info.cid, IComponent::iid, &obj) != kResultOk || !obj)
      return Fail("the factory could not create '" + std::string(info.name) + "'");
    mComponent = static_cast<IComponent*>(obj);
    memcpy(mClassId, info.cid, sizeof(TUID));
    break;
  }
  if (!mComponent) return Fail(mModule.ModuleFile() + " offers no audio effect");
  mComponent->queryInterface(IAudioProcessor::iid, reinterpret_cast<void**>(&mProcessor));
  mComponent->queryInterface(IEditController::iid, reinterpret_cast<void**>(&mController));
  if (!mProcessor || !mController)
    return Fail("the effect is not a single component with processor and controller");
  return true;
}

bool HostedPlugin::Start(int channels, double sampleRate, int maxBlock, bool use64) {
  if (!mComponent) return Fail("no effect loaded");
  if (mComponent->initialize(mContext) != kResultOk) return Fail("the effect refused initialize");
  mInitialized = true;
  SpeakerArrangement arr = channels == 1 ? SpeakerArr::kMono : SpeakerArr::kStereo;
  if (mProcessor->setBusArrangements(&arr, 1, &arr, 1) != kResultOk)
    return Fail("the effect refused " + std::to_string(channels) + " channels in and out");
  mComponent->activateBus(kAudio, kInput, 0, true);
  mComponent->activateBus(kAudio, kOutput, 0, true);
  if (mProcessor->canProcessSampleSize(use64 ? kSample64 : kSample32) != kResultOk)
    return Fail(std::string("the effect cannot process ") + (use64 ? "64" : "32") + "-bit samples");
  ProcessSetup setup = {kOffline, use64 ? kSample64 : kSample32, maxBlock, sampleRate};
  if (mProcessor->setupProcessing(setup) != kResultOk)
    return Fail("the effect refused the processing setup");
  if (mComponent->setActive(true) != kResultOk) return Fail("the effect refused activation");
  mActive = true;
  mProcessor->setProcessing(true);
  mChannels = channels;
  mMaxBlock = maxBlock;
  mUse64 = use64;
  mIn32.assign(static_cast<size_t>(channels), std::vector<float>(static_cast<size_t>(maxBlock)));
  mOut32.assign(static_cast<size_t>(channels), std::vector<float>(static_cast<size_t>(maxBlock)));
  return true;
}

void HostedPlugin::Stop() {
  if (mActive) {
    mProcessor->setProcessing(false);
    mComponent->setActive(false);
  }
  mActive = false;
  if (mInitialized) mComponent->terminate();
  mInitialized = false;
}

bool HostedPlugin::FindParameter(const std::string& title, ParamID* id) {
  for (int32 i = 0; i < mController->getParameterCount(); ++i) {
    ParameterInfo info = {};
    if (mController->getParameterInfo(i, info) != kResultOk) continue;
    if (NarrowString(info.title) == title) {
      *id = info.id;
      return true;
    }
  }
  return Fail("the effect has no parameter named '" + title + "'");
}

bool HostedPlugin::SetParameter(const std::string& title, const std::string& text) {
  ParamID id = 0;
  if (!mController || !FindParameter(title, &id)) return false;
  char* end = nullptr;
  errno = 0;
  const double plain = strtod(text.c_str(), &end);
  double normalized = 0.0;
  if (!text.empty() && *end == 0 && errno == 0 && std::isfinite(plain)) {
    const double lo = mController->normalizedParamToPlain(id, 0.0);
    const double hi = mController->normalizedParamToPlain(id, 1.0);
    if (plain < lo || plain > hi)
      return Fail(title + " " + text + " is outside " + std::to_string(lo) + " .. " +
                  std::to_string(hi));
    normalized = mController->plainParamToNormalized(id, plain);
    // The effect turns the normalized value back into a plain one; step to the
    // neighbour that lands exactly on the asked value when one does.
    for (double step : {0.0, 1.0, -1.0, 2.0, -2.0}) {
      double candidate = normalized;
      for (int k = 0; k < std::fabs(step); ++k)
        candidate = std::nextafter(candidate, step > 0 ? 2.0 : -1.0);
      if (mController->normalizedParamToPlain(id, candidate) == plain) {
        normalized = candidate;
        break;
      }
    }
  } else {
    String128 wide;
    WidenUtf8(text.c_str(), wide, 128);
    if (mController->getParamValueByString(id, wide, normalized) != kResultOk)
      return Fail("'" + text + "' is not a value of " + title);
  }
  if (!mChanges->Add(id, normalized)) return Fail("too many parameter changes for one block");
  return true;
}

bool HostedPlugin::GetPlain(const std::string& title, double* plain) {
  ParamID id = 0;
  if (!mController || !FindParameter(title, &id)) return false;
  *plain = mController->normalizedParamToPlain(id, mController->getParamNormalized(id));
  return true;
}

bool HostedPlugin::RestoreState(const std::vector<uint8_t>& bytes) {
  if (!mController) return Fail("no effect loaded");
  ByteStream* stream = new ByteStream(bytes);
  const tresult result = mController->setState(stream);
  stream->release();
  return result == kResultOk || Fail("the effect refused the saved state");
}

bool HostedPlugin::SaveState(std::vector<uint8_t>* bytes) {
  if (!mController) return Fail("no effect loaded");
  ByteStream* stream = new ByteStream;
  const tresult result = mController->getState(stream);
  *bytes = stream->Bytes();
  stream->release();
  return result == kResultOk || Fail("the effect could not save its state");
}

bool HostedPlugin::SavePreset(std::vector<uint8_t>* bytes) {
  if (!mComponent) return Fail("no effect loaded");
  ByteStream* stream = new ByteStream;
  const bool saved =
      PresetFile::savePreset(stream, FUID::fromTUID(mClassId), mComponent, mController);
  *bytes = stream->Bytes();
  stream->release();
  return saved || Fail("the effect could not save its state");
}

bool HostedPlugin::LoadPreset(const std::vector<uint8_t>& bytes) {
  if (!mComponent) return Fail("no effect loaded");
  const std::string problem = CheckPresetFile(bytes, FUID::fromTUID(mClassId));
  if (!problem.empty()) return Fail(problem);
  ByteStream* stream = new ByteStream(bytes);
  const bool loaded =
      PresetFile::loadPreset(stream, FUID::fromTUID(mClassId), mComponent, mController);
  stream->release();
  return loaded || Fail("the effect refused the state it holds (damaged)");
}

bool HostedPlugin::Process(double* const* inputs, double* const* outputs, int nFrames) {
  if (!mActive) return Fail("processing has not started");
  if (nFrames < 0 || nFrames > mMaxBlock) return Fail("block longer than the set-up maximum");
  AudioBusBuffers in = {}, out = {};
  in.numChannels = out.numChannels = mChannels;
  std::vector<float*> in32(static_cast<size_t>(mChannels)), out32(static_cast<size_t>(mChannels));
  if (mUse64) {
    in.channelBuffers64 = const_cast<double**>(inputs);
    out.channelBuffers64 = const_cast<double**>(outputs);
  } else {
    for (int c = 0; c < mChannels; ++c) {
      for (int s = 0; s < nFrames; ++s) mIn32[c][s] = static_cast<float>(inputs[c][s]);
      in32[c] = mIn32[c].data();
      out32[c] = mOut32[c].data();
    }
    in.channelBuffers32 = in32.data();
    out.channelBuffers32 = out32.data();
  }
  ProcessData data;
  data.processMode = kOffline;
  data.symbolicSampleSize = mUse64 ? kSample64 : kSample32;
  data.numSamples = nFrames;
  data.numInputs = data.numOutputs = 1;
  data.inputs = &in;
  data.outputs = &out;
  data.inputParameterChanges = mChanges->getParameterCount() ? mChanges : nullptr;
  const tresult result = mProcessor->process(data);
  mChanges->Clear();
  if (result != kResultOk) return Fail("the effect refused a block");
  if (!mUse64)
    for (int c = 0; c < mChannels; ++c)
      for (int s = 0; s < nFrames; ++s) outputs[c][s] = mOut32[c][s];
  return true;
}

} // namespace vst3host
