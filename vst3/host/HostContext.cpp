#include "vst3/host/HostContext.h"

#include "vst3/HostText.h"

using namespace Steinberg;

namespace vst3host {

tresult PLUGIN_API HostContext::getName(Vst::String128 name) {
  if (!name) return kInvalidArgument;
  WidenUtf8(mName.c_str(), name, 128);
  return kResultOk;
}

tresult PLUGIN_API HostContext::createInstance(TUID, TUID, void** obj) {
  if (obj) *obj = nullptr;
  return kNotImplemented;
}

} // namespace vst3host
