#pragma once
// The processing thread: one process call per step, with blocks of odd
// sizes and layouts (missing, null and in-place buffers, more or fewer
// channels than arranged), odd samples, and parameter changes of many points
// and odd values. After each call it checks that every written sample is
// finite and within the clipper's bound (or the host's own sample passed
// through when bypassed), that the channels the plug-in must write were
// written and that the host's input buffers were left alone.
#include <string>
#include <vector>

#include "Driver.h"
#include "HostObjects.h"
#include "Round.h"
#include "Target.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

class ProcessDriver {
public:
  static const int kBuses = 2;
  static const int kChannels = 3;
  // Frames per channel buffer: the longest block the torture sends.
  static const int kCapacity = 65536 + 1024;

  ProcessDriver(Target* target, Driver* driver);
  ~ProcessDriver();
  ProcessDriver(const ProcessDriver&) = delete;
  ProcessDriver& operator=(const ProcessDriver&) = delete;

  void Step(const RoundSetup& round);

private:
  struct Plan {
    Steinberg::int32 sampleSize;
    bool use64;
    Steinberg::int32 frames; // as the host says it
    int numInputs, numOutputs;
    bool inputsNull, outputsNull;
    int inChannels[kBuses], outChannels[kBuses];
    bool inListNull[kBuses], outListNull[kBuses];
    bool inNull[kBuses][kChannels], outNull[kBuses][kChannels];
    bool inPlace;
  };
  struct Bus {
    std::vector<double> source[kChannels]; // the samples the host meant
    std::vector<double> in64[kChannels], out64[kChannels];
    std::vector<float> in32[kChannels], out32[kChannels];
    // What the host hands over: null for a missing channel; an output may be
    // an input's buffer (in place).
    double* inPtr64[kChannels];
    double* outPtr64[kChannels];
    float* inPtr32[kChannels];
    float* outPtr32[kChannels];
  };

  Plan MakePlan(const RoundSetup& round);
  int PickFrames(const RoundSetup& round);
  void FillSource(std::vector<double>& source, int n, bool use64);
  void Prepare(const Plan& plan, int n);
  uint64_t SilenceFlags(const Bus& bus, int channels, int n);
  void FillChanges(int n);
  void FillContext();
  Steinberg::Vst::ProcessData Data(const Plan& plan);
  void CheckResult(const Plan& plan, const RoundSetup& round, Steinberg::tresult result);
  void CheckOutputs(const Plan& plan, const RoundSetup& round, int n, Steinberg::tresult result);
  void CheckInputs(const Plan& plan, int n);
  bool MustWrite(const Plan& plan, const RoundSetup& round, int n, Steinberg::tresult result,
                 int channel) const;
  const std::vector<double>* InputFor(const Plan& plan, int channel) const;
  double InputAt(const Plan& plan, int channel, int frame) const;
  double OutputAt(const Plan& plan, int bus, int channel, int frame) const;
  bool Aliased(const Plan& plan, int channel) const;
  static std::string Describe(const Plan& plan);

  Target* mTarget;
  Driver* mDriver;
  Bus mBus[kBuses];
  Steinberg::Vst::AudioBusBuffers mIn[kBuses], mOut[kBuses];
  TortureChanges* mChanges;
  TortureChanges* mOutChanges;
  Steinberg::Vst::ProcessContext mContext = {};
  bool mWithChanges = false;
  bool mWithContext = false;
};
