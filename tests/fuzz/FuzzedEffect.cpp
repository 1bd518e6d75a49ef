#include "FuzzedEffect.h"

#include "FuzzInput.h"
#include "pluginterfaces/base/ipluginbase.h"
#include "vst3/host/ByteStream.h"
#include "vst3/host/HostContext.h"

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace vst3host;

// The module entry point, linked in from the product's module file.
extern "C" IPluginFactory* PLUGIN_API GetPluginFactory();

namespace {

// The factory and the class id of its one effect, looked up once per process.
IPluginFactory* Factory(TUID classId) {
  static IPluginFactory* factory = [] {
    IPluginFactory* made = GetPluginFactory();
    FUZZ_CHECK(made && made->countClasses() == 1);
    return made;
  }();
  PClassInfo info;
  FUZZ_CHECK(factory->getClassInfo(0, &info) == kResultOk);
  memcpy(classId, info.cid, sizeof(TUID));
  return factory;
}

} // namespace

FuzzedEffect::FuzzedEffect() {
  TUID classId;
  IPluginFactory* factory = Factory(classId);
  void* made = nullptr;
  FUZZ_CHECK(factory->createInstance(classId, IComponent::iid, &made) == kResultOk && made);
  mComponent = static_cast<IComponent*>(made);
  void* controller = nullptr;
  FUZZ_CHECK(mComponent->queryInterface(IEditController::iid, &controller) == kResultOk);
  mController = static_cast<IEditController*>(controller);
  HostContext* context = new HostContext("Fuzz Host");
  FUZZ_CHECK(mComponent->initialize(context) == kResultOk);
  context->release();
}

FuzzedEffect::~FuzzedEffect() {
  mComponent->terminate();
  mController->release();
  mComponent->release();
}

tresult FuzzedEffect::Restore(const std::vector<uint8_t>& bytes) {
  ByteStream* stream = new ByteStream(bytes);
  const tresult result = mController->setState(stream);
  stream->release();
  return result;
}

std::vector<uint8_t> FuzzedEffect::Save() {
  ByteStream* stream = new ByteStream;
  FUZZ_CHECK(mController->getState(stream) == kResultOk);
  std::vector<uint8_t> bytes = stream->Bytes();
  stream->release();
  return bytes;
}

tresult FuzzedEffect::RestoreComponent(const std::vector<uint8_t>& bytes) {
  ByteStream* stream = new ByteStream(bytes);
  const tresult result = mComponent->setState(stream);
  stream->release();
  return result;
}

tresult FuzzedEffect::SaveComponent(std::vector<uint8_t>* bytes) {
  ByteStream* stream = new ByteStream;
  const tresult result = mComponent->getState(stream);
  *bytes = stream->Bytes();
  stream->release();
  return result;
}
