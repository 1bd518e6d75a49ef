// The saved state travels through both state pairs, the same bytes in each.
// Its layout and the rules of a restore are the framework's
// (IPlugStateStream.h); here the host's stream is only adapted to it.
#include "detail/HostCall.h"
#include "framework/IPlugStateStream.h"
#include "pluginterfaces/base/ibstream.h"
#include "vst3/IPlugVST3.h"

using namespace Steinberg;
using namespace Steinberg::Vst;
using vst3binding::HostCall;

namespace {

class HostStreamWriter final : public IStateWriter {
public:
  explicit HostStreamWriter(IBStream* stream) : mStream(stream) {}
  bool Write(const void* bytes, int size) override {
    int32 written = 0;
    const tresult result = mStream->write(const_cast<void*>(bytes), size, &written);
    return result == kResultOk && written == size;
  }

private:
  IBStream* mStream;
};

// Hosts' streams answer the end of their data with false and fewer bytes.
class HostStreamReader final : public IStateReader {
public:
  explicit HostStreamReader(IBStream* stream) : mStream(stream) {}
  int Read(void* bytes, int size) override {
    int32 got = 0;
    const tresult result = mStream->read(bytes, size, &got);
    if (result != kResultOk && result != kResultFalse) return -1;
    return got < 0 ? -1 : (got > size ? size : got);
  }

private:
  IBStream* mStream;
};

} // namespace

tresult IPlugVST3::SaveState(IBStream* stream) {
  if (!stream) return kInvalidArgument;
  HostStreamWriter writer(stream);
  return SaveStateStream(this, &writer) ? kResultOk : kResultFalse;
}

tresult IPlugVST3::RestoreState(IBStream* stream) {
  if (!stream) return kInvalidArgument;
  HostStreamReader reader(stream);
  if (!RestoreStateStream(this, &reader)) return kResultFalse;
  // Hosts that cache parameter values may not ask the controller again after
  // a restore: tell them to read the restored values. Outside the plug-in
  // lock, since the host calls back into the controller.
  if (componentHandler) componentHandler->restartComponent(kParamValuesChanged);
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::getEditorState(IBStream* stream) {
  return HostCall([&] { return SaveState(stream); });
}
tresult PLUGIN_API IPlugVST3::setEditorState(IBStream* stream) {
  return HostCall([&] { return RestoreState(stream); });
}
tresult PLUGIN_API IPlugVST3::getProcessorState(IBStream* stream) {
  return HostCall([&] { return SaveState(stream); });
}
tresult PLUGIN_API IPlugVST3::setProcessorState(IBStream* stream) {
  return HostCall([&] { return RestoreState(stream); });
}

tresult PLUGIN_API IPlugVST3::setComponentState(IBStream* stream) {
  return stream ? kResultOk : kInvalidArgument;
}
