#pragma once
// IComponent and IEditController both declare getState/setState with the same
// signature, so one override would answer for both. These two intermediate
// classes give each interface its own overrider and forward to distinct names:
// the controller pair to getEditorState/setEditorState, the component pair to
// getProcessorState/setProcessorState.
#include "pluginterfaces/vst/ivstcomponent.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

namespace vst3binding {

using Steinberg::IBStream;
using Steinberg::kNotImplemented;
using Steinberg::tresult;

class ControllerStatePair : public Steinberg::Vst::EditController {
public:
  tresult PLUGIN_API getState(IBStream* state) final { return getEditorState(state); }
  tresult PLUGIN_API setState(IBStream* state) final { return setEditorState(state); }

  virtual tresult PLUGIN_API getEditorState(IBStream*) { return kNotImplemented; }
  virtual tresult PLUGIN_API setEditorState(IBStream*) { return kNotImplemented; }
};

class ComponentStatePair : public Steinberg::Vst::IComponent {
public:
  tresult PLUGIN_API getState(IBStream* state) final { return getProcessorState(state); }
  tresult PLUGIN_API setState(IBStream* state) final { return setProcessorState(state); }

  virtual tresult PLUGIN_API getProcessorState(IBStream*) { return kNotImplemented; }
  virtual tresult PLUGIN_API setProcessorState(IBStream*) { return kNotImplemented; }
};

} // namespace vst3binding
