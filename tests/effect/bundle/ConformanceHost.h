#pragma once
// A small VST 3 host for the conformance tests: loads the built bundle with
// dlopen, creates the effect through the factory and drives it through the
// interfaces hosts use. Each fixture gets a fresh instance.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "vst3/host/HostContext.h"
#include "vst3/host/HostModule.h"
#include "vst3/host/ParameterChangeSet.h"

namespace conformance {

const Steinberg::Vst::ParamID kIn = 0, kOut = 1, kDistort = 2;
const Steinberg::Vst::ParamID kBypass = 0x62706173;

// The bundle the build made (GRITTLEBOX_BUNDLE, set by CMake).
std::string BundlePath();
// The one loaded module, shared by every test in the process.
vst3host::HostModule& Module();

// The effect's formula for one sample, from plain parameter values.
double ClipReference(double in, double inDB, double outDB, double distort);
double PlainFromNormalized(Steinberg::Vst::ParamID id, double normalized);

// Records what the plug-in reports to the host.
class RecordingHandler : public vst3host::HostObject<Steinberg::Vst::IComponentHandler> {
public:
  struct Edit {
    char kind; // 'b' begin, 'p' perform, 'e' end
    Steinberg::Vst::ParamID id;
    double value;
  };
  Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID id) override;
  Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id,
                                            Steinberg::Vst::ParamValue value) override;
  Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID id) override;
  Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) override;
  std::vector<Edit> edits;
  std::vector<Steinberg::int32> restarts;
};

// Host-side buffers for one block: one input and one output bus.
struct Block {
  Block(int inChannels, int outChannels, int frames, bool use64);
  void FillInput(double (*signal)(int channel, int frame));
  double In(int channel, int frame) const;
  double Out(int channel, int frame) const;
  // ProcessData pointing at these buffers.
  Steinberg::Vst::ProcessData Data(Steinberg::Vst::IParameterChanges* changes = nullptr);

  bool use64;
  int frames;
  std::vector<std::vector<float>> in32, out32;
  std::vector<std::vector<double>> in64, out64;
  std::vector<float*> inPtr32, outPtr32;
  std::vector<double*> inPtr64, outPtr64;
  Steinberg::Vst::AudioBusBuffers inBus = {}, outBus = {};
};

class EffectTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // A new instance, not yet initialized; false when the factory refused.
  bool CreateEffect();
  void ReleaseEffect();
  // initialize with a host context, stereo buses, setup and activation.
  void StartProcessing(double sampleRate = 44100.0, int maxBlock = 512, bool use64 = true);
  void StopProcessing();
  void ActivateMainBuses();
  Steinberg::Vst::ProcessSetup Setup(double sampleRate, int maxBlock, bool use64) const;
  // One block through process(); returns its result.
  Steinberg::tresult Run(Block& block, Steinberg::Vst::IParameterChanges* changes = nullptr);
  // A block with no audio that only carries parameter changes.
  Steinberg::tresult SendChanges(Steinberg::Vst::IParameterChanges* changes);

  vst3host::HostContext* context = nullptr;
  Steinberg::Vst::IComponent* component = nullptr;
  Steinberg::Vst::IAudioProcessor* processor = nullptr;
  Steinberg::Vst::IEditController* controller = nullptr;
  Steinberg::Vst::IUnitInfo* units = nullptr;
  bool initialized = false;
  bool active = false;
};

} // namespace conformance
