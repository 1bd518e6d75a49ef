#pragma once
// A Grittlebox made the way a host makes it: the module's factory creates the
// component, the host asks it for the edit controller and initializes it with
// a host context. Linked into the target rather than loaded with dlopen, so
// that the whole effect is instrumented for the fuzzer.
#include <cstdint>
#include <vector>

#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

class FuzzedEffect {
public:
  FuzzedEffect();
  ~FuzzedEffect();
  FuzzedEffect(const FuzzedEffect&) = delete;
  FuzzedEffect& operator=(const FuzzedEffect&) = delete;

  Steinberg::Vst::IComponent* Component() const { return mComponent; }
  Steinberg::Vst::IEditController* Controller() const { return mController; }

  // The controller's state pair over a byte stream.
  Steinberg::tresult Restore(const std::vector<uint8_t>& bytes);
  std::vector<uint8_t> Save();
  // The component's state pair.
  Steinberg::tresult RestoreComponent(const std::vector<uint8_t>& bytes);
  Steinberg::tresult SaveComponent(std::vector<uint8_t>* bytes);

private:
  Steinberg::Vst::IComponent* mComponent = nullptr;
  Steinberg::Vst::IEditController* mController = nullptr;
};
