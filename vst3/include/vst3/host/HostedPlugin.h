#pragma once
// One effect from a VST 3 bundle, driven the way an offline host drives it:
// load, factory, create, initialize with a host context, bus arrangement,
// setup, activation, then blocks of audio with parameter changes. Parameters
// are addressed by the titles the host sees. Every step reports a refusal as
// false with a reason in Error().
#include <memory>
#include <string>
#include <vector>

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "vst3/host/HostContext.h"
#include "vst3/host/HostModule.h"
#include "vst3/host/ParameterChangeSet.h"

namespace vst3host {

class HostedPlugin {
public:
  // hostName is what the effect learns from the host context.
  explicit HostedPlugin(const std::string& hostName);
  ~HostedPlugin();
  HostedPlugin(const HostedPlugin&) = delete;
  HostedPlugin& operator=(const HostedPlugin&) = delete;

  // Loads the bundle and creates its first audio effect class.
  bool Load(const std::string& bundlePath);
  // Initialises, arranges `channels` in and out (1 or 2), sets up and activates.
  bool Start(int channels, double sampleRate, int maxBlock, bool use64);
  void Stop();

  // Queues a value for the next block. text is a plain value in the
  // parameter's units ("3.5") or one of its value texts ("on").
  bool SetParameter(const std::string& title, const std::string& text);
  // The plain value the effect now holds for a parameter, read back through the controller.
  bool GetPlain(const std::string& title, double* plain);

  bool RestoreState(const std::vector<uint8_t>& bytes);
  bool SaveState(std::vector<uint8_t>* bytes);

  // A VST 3 preset file of the effect's class: its state in the component
  // chunk and the controller chunk, as hosts exchange them.
  bool SavePreset(std::vector<uint8_t>* bytes);
  // Refuses a preset of another class, or one damaged or cut short, before
  // the effect sees any of it.
  bool LoadPreset(const std::vector<uint8_t>& bytes);

  // One block of at most maxBlock frames; inputs and outputs hold `channels` buffers.
  bool Process(double* const* inputs, double* const* outputs, int nFrames);

  // The effect's controller (null until loaded); the plug-in keeps the reference.
  Steinberg::Vst::IEditController* Controller() const { return mController; }
  const std::string& Error() const { return mError; }
  const std::string& ModuleFile() const { return mModule.ModuleFile(); }

private:
  bool Fail(const std::string& what);
  bool FindParameter(const std::string& title, Steinberg::Vst::ParamID* id);
  void Release();

  HostModule mModule;
  HostContext* mContext;
  Steinberg::Vst::IComponent* mComponent = nullptr;
  Steinberg::Vst::IAudioProcessor* mProcessor = nullptr;
  Steinberg::Vst::IEditController* mController = nullptr;
  Steinberg::TUID mClassId = {};
  ParameterChangeSet* mChanges;
  bool mInitialized = false;
  bool mActive = false;
  bool mUse64 = true;
  int mChannels = 0;
  int mMaxBlock = 0;
  // 32-bit conversion buffers, sized in Start.
  std::vector<std::vector<float>> mIn32, mOut32;
  std::string mError;
};

} // namespace vst3host
