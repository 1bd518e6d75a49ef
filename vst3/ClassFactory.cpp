#include "detail/ClassFactory.h"

#include <cstring>

#include "detail/HostCall.h"
#include "vst3/HostText.h"

using namespace Steinberg;

namespace vst3binding {
namespace {

// Class texts sit in fixed fields that need not end in a terminator.
template <size_t N> void WidenField(const char8 (&field)[N], char16* dest, size_t destUnits) {
  char text[N + 1];
  std::memcpy(text, field, N);
  text[N] = 0;
  WidenUtf8(text, dest, destUnits);
}

} // namespace

ClassFactory::ClassFactory(const PFactoryInfo& info, ClassFactory** slot, std::mutex* slotLock)
    : mFactoryInfo(info), mSlot(slot), mSlotLock(slotLock) {}

ClassFactory::~ClassFactory() {
  if (mSlot && *mSlot == this) *mSlot = nullptr;
}

bool ClassFactory::registerClass(const PClassInfo2& info, CreateFunction create, void* context) {
  if (!create) return false;
  mClasses.push_back({info, create, context});
  return true;
}

const ClassFactory::ClassEntry* ClassFactory::entryAt(int32 index) const {
  if (index < 0 || index >= static_cast<int32>(mClasses.size())) return nullptr;
  return &mClasses[static_cast<size_t>(index)];
}

tresult PLUGIN_API ClassFactory::getFactoryInfo(PFactoryInfo* info) {
  return HostCall([&] {
    if (!info) return kInvalidArgument;
    *info = mFactoryInfo;
    return kResultOk;
  });
}

int32 PLUGIN_API ClassFactory::countClasses() {
  return HostCall(0, [&] { return static_cast<int32>(mClasses.size()); });
}

tresult PLUGIN_API ClassFactory::getClassInfo(int32 index, PClassInfo* info) {
  return HostCall([&] {
    const ClassEntry* entry = entryAt(index);
    if (!info) return kInvalidArgument;
    if (!entry) return kInvalidArgument;
    *info = PClassInfo();
    std::memcpy(info->cid, entry->info.cid, sizeof(TUID));
    info->cardinality = entry->info.cardinality;
    std::memcpy(info->category, entry->info.category, sizeof(info->category));
    std::memcpy(info->name, entry->info.name, sizeof(info->name));
    return kResultOk;
  });
}

tresult PLUGIN_API ClassFactory::getClassInfo2(int32 index, PClassInfo2* info) {
  return HostCall([&] {
    const ClassEntry* entry = entryAt(index);
    if (!info || !entry) return kInvalidArgument;
    *info = entry->info;
    return kResultOk;
  });
}

tresult PLUGIN_API ClassFactory::getClassInfoUnicode(int32 index, PClassInfoW* info) {
  return HostCall([&] {
    const ClassEntry* entry = entryAt(index);
    if (!info || !entry) return kInvalidArgument;
    const PClassInfo2& src = entry->info;
    *info = PClassInfoW();
    std::memcpy(info->cid, src.cid, sizeof(TUID));
    info->cardinality = src.cardinality;
    std::memcpy(info->category, src.category, sizeof(info->category));
    WidenField(src.name, info->name, PClassInfo::kNameSize);
    info->classFlags = src.classFlags;
    std::memcpy(info->subCategories, src.subCategories, sizeof(info->subCategories));
    WidenField(src.vendor, info->vendor, PClassInfoW::kVendorSize);
    WidenField(src.version, info->version, PClassInfoW::kVersionSize);
    WidenField(src.sdkVersion, info->sdkVersion, PClassInfoW::kVersionSize);
    return kResultOk;
  });
}

tresult PLUGIN_API ClassFactory::setHostContext(FUnknown*) {
  return kNotImplemented;
}

tresult PLUGIN_API ClassFactory::createInstance(FIDString cid, FIDString iid, void** obj) {
  return HostCall([&]() -> tresult {
    if (!obj) return kInvalidArgument;
    *obj = nullptr;
    if (!cid || !iid) return kInvalidArgument;
    for (const ClassEntry& entry : mClasses) {
      if (!FUnknownPrivate::iidEqual(entry.info.cid, cid)) continue;
      FUnknown* instance = entry.create(entry.context);
      if (!instance) return kOutOfMemory;
      // The host keeps the reference that the query adds; ours goes, so an
      // interface the object lacks leaves nothing behind.
      const tresult result = instance->queryInterface(iid, obj);
      instance->release();
      if (result != kResultOk) *obj = nullptr;
      return result;
    }
    return kNoInterface;
  });
}

tresult PLUGIN_API ClassFactory::queryInterface(const TUID iid, void** obj) {
  return HostCall([&] {
    if (!obj) return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, IPluginFactory::iid) ||
        FUnknownPrivate::iidEqual(iid, IPluginFactory2::iid) ||
        FUnknownPrivate::iidEqual(iid, IPluginFactory3::iid) ||
        FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
      addRef();
      *obj = this;
      return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
  });
}

uint32 PLUGIN_API ClassFactory::addRef() {
  return ++mRefCount;
}

bool ClassFactory::tryAddRef() {
  uint32 count = mRefCount.load(std::memory_order_acquire);
  while (count != 0)
    if (mRefCount.compare_exchange_weak(count, count + 1, std::memory_order_acq_rel)) return true;
  return false;
}

uint32 PLUGIN_API ClassFactory::release() {
  const uint32 left = mRefCount.fetch_sub(1, std::memory_order_acq_rel) - 1;
  if (left == 0) {
    if (mSlotLock) {
      std::lock_guard<std::mutex> hold(*mSlotLock);
      delete this;
    } else {
      delete this;
    }
  }
  return left;
}

} // namespace vst3binding
