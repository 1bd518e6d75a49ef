#include "vst3/module/GrittleboxFactory.h"

#include <cstring>
#include <mutex>

#include "effect/Grittlebox.h"
#include "effect/GrittleboxIdentity.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "vst3/ClassFactory.h"

using namespace Steinberg;
using vst3binding::ClassFactory;

namespace {

// How hosts see the module and its class.
const char* const kVendor = "Quartzy Lantern";
const char* const kVendorUrl = "https://quartzylantern.example/grittlebox";
const char* const kVendorEmail = "support@quartzylantern.example";
const char* const kClassName = "Grittlebox";
const char* const kSubCategories = "Fx|Distortion";
const char* const kClassVersion = "2.0";
const char* const kClassSdkVersion = "VST 3.6.0";

// The class id: two fixed words, then the manufacturer and the plug-in codes.
const uint32 GUID_DATA1 = 0xF2AEE70D;
const uint32 GUID_DATA2 = 0x00DE4F4E;
const uint32 GUID_DATA3 = static_cast<uint32>(grittlebox::kMfrID);
const uint32 GUID_DATA4 = static_cast<uint32>(grittlebox::kUniqueID);

ClassFactory* gPluginFactory = nullptr;
std::mutex gFactoryLock;

void PutWord(uint32 word, char8* at) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<char8>((word >> (24 - 8 * i)) & 0xFF);
}

void BuildClassId(TUID cid) {
  PutWord(GUID_DATA1, cid);
  PutWord(GUID_DATA2, cid + 4);
  PutWord(GUID_DATA3, cid + 8);
  PutWord(GUID_DATA4, cid + 12);
}

const PFactoryInfo& FactoryInfo() {
  static const PFactoryInfo info(kVendor, kVendorUrl, kVendorEmail, PFactoryInfo::kUnicode);
  return info;
}

const PClassInfo2& ComponentClass() {
  static const PClassInfo2 info = [] {
    TUID cid;
    BuildClassId(cid);
    return PClassInfo2(cid, PClassInfo::kManyInstances, kVstAudioEffectClass, kClassName,
                       Vst::kSimpleModeSupported, kSubCategories, nullptr, kClassVersion,
                       kClassSdkVersion);
  }();
  return info;
}

FUnknown* createInstance(void*) {
  Grittlebox* plug = MakePlug();
  return plug ? static_cast<Vst::IAudioProcessor*>(plug) : nullptr;
}

} // namespace

IPluginFactory* GetGrittleboxFactory() {
  std::lock_guard<std::mutex> hold(gFactoryLock);
  // A factory whose last reference is going is not handed out again; its
  // deletion waits for this lock and leaves the new factory's slot alone.
  if (gPluginFactory && gPluginFactory->tryAddRef()) return gPluginFactory;
  gPluginFactory = new ClassFactory(FactoryInfo(), &gPluginFactory, &gFactoryLock);
  gPluginFactory->registerClass(ComponentClass(), createInstance);
  return gPluginFactory;
}
