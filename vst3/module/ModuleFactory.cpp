#include "vst3/module/ModuleFactory.h"

#include <memory>
#include <mutex>

#include "../detail/ClassFactory.h"
#include "../detail/HostCall.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "vst3/IPlugVST3.h"

using namespace Steinberg;

namespace vst3binding {
namespace {

ClassFactory* gPluginFactory = nullptr;
std::mutex gFactoryLock;

void PutWord(uint32_t word, char8* at) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<char8>((word >> (24 - 8 * i)) & 0xFF);
}

const PFactoryInfo& FactoryInfo(const FactoryDescription& description) {
  static const PFactoryInfo info(description.vendor, description.url, description.email,
                                 PFactoryInfo::kUnicode);
  return info;
}

const PClassInfo2& ComponentClass(const FactoryDescription& description) {
  static const PClassInfo2 info = [&description] {
    TUID cid;
    for (int i = 0; i < 4; ++i) PutWord(description.classIdWords[i], cid + 4 * i);
    return PClassInfo2(cid, PClassInfo::kManyInstances, kVstAudioEffectClass, description.className,
                       Vst::kSimpleModeSupported, description.subCategories, nullptr,
                       description.classVersion, description.sdkVersion);
  }();
  return info;
}

// The registration's context is the description.
FUnknown* createInstance(void* context) {
  IPlugVST3* plug = static_cast<const FactoryDescription*>(context)->makePlug();
  return plug ? static_cast<Vst::IAudioProcessor*>(plug) : nullptr;
}

} // namespace

// Without memory there is no factory: the host gets null.
IPluginFactory* GetModuleFactory(const FactoryDescription& description) {
  return HostCall(static_cast<IPluginFactory*>(nullptr), [&]() -> IPluginFactory* {
    std::lock_guard<std::mutex> hold(gFactoryLock);
    // A factory whose last reference is going is not handed out again; its
    // deletion waits for this lock and leaves the new factory's slot alone.
    if (gPluginFactory && gPluginFactory->tryAddRef()) return gPluginFactory;
    std::unique_ptr<ClassFactory> factory(
        new ClassFactory(FactoryInfo(description), &gPluginFactory, &gFactoryLock));
    factory->registerClass(ComponentClass(description), createInstance,
                           const_cast<FactoryDescription*>(&description));
    gPluginFactory = factory.release();
    return gPluginFactory;
  });
}

} // namespace vst3binding
