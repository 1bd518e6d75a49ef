#pragma once
// The plug-in under torture, loaded from its bundle with dlopen as a Linux
// host loads it, and what the host learns about it from its own answers: the
// parameters, their plain ranges and the size of the saved state.
#include <string>
#include <vector>

#include "HostObjects.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "vst3/host/HostContext.h"
#include "vst3/host/HostModule.h"

struct EffectModel {
  struct Value {
    Steinberg::Vst::ParamID id;
    std::string title;
    double lo, hi; // plain range
  };
  // Plain-valued parameters in id order, as the saved state holds them.
  std::vector<Value> values;
  Steinberg::Vst::ParamID bypassId = 0;
  bool hasBypass = false;
  // The state: one little-endian double per value, then a 32-bit bypass flag.
  size_t StateSize() const { return values.size() * 8 + 4; }
  const Value* Find(Steinberg::Vst::ParamID id) const;
  // The loudest output the clipper can make: full scale at the top output gain.
  double outputBound = 0.0;
};

class Target {
public:
  Target();
  ~Target();
  Target(const Target&) = delete;
  Target& operator=(const Target&) = delete;

  // Loads, creates and initializes the effect and learns its model; false
  // with *error set otherwise.
  bool Open(const std::string& bundle, std::string* error);

  Steinberg::Vst::IComponent* component = nullptr;
  Steinberg::Vst::IAudioProcessor* processor = nullptr;
  Steinberg::Vst::IEditController* controller = nullptr;
  Steinberg::Vst::IUnitInfo* units = nullptr;
  vst3host::HostContext* context;
  CountingHandler* handler;
  EffectModel model;

private:
  bool Learn(std::string* error);

  vst3host::HostModule mModule;
};
