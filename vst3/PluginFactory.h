#pragma once
// The module's class factory: factory interfaces 1, 2 and 3 over a list of
// registered classes. The distribution's SDK copy has none; this one keeps
// its own thread-safe reference count and, on the last release, deletes itself
// and clears the slot that the module entry keeps it in.
#include <atomic>
#include <mutex>
#include <vector>

#include "pluginterfaces/base/ipluginbase.h"

namespace Steinberg {

class CPluginFactory : public IPluginFactory3 {
public:
  using CreateFunction = FUnknown* (*)(void* context);

  // slot, when given, is cleared when the last reference goes; slotLock, when
  // given, is held while clearing it and deleting, so that whoever hands out
  // the slot's factory under the same lock never sees a dying one.
  CPluginFactory(const PFactoryInfo& info, CPluginFactory** slot = nullptr,
                 std::mutex* slotLock = nullptr);
  virtual ~CPluginFactory();

  bool registerClass(const PClassInfo2& info, CreateFunction create, void* context = nullptr);

  // IPluginFactory
  tresult PLUGIN_API getFactoryInfo(PFactoryInfo* info) override;
  int32 PLUGIN_API countClasses() override;
  tresult PLUGIN_API getClassInfo(int32 index, PClassInfo* info) override;
  tresult PLUGIN_API createInstance(FIDString cid, FIDString iid, void** obj) override;
  // IPluginFactory2
  tresult PLUGIN_API getClassInfo2(int32 index, PClassInfo2* info) override;
  // IPluginFactory3
  tresult PLUGIN_API getClassInfoUnicode(int32 index, PClassInfoW* info) override;
  tresult PLUGIN_API setHostContext(FUnknown* context) override;

  tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override;
  uint32 PLUGIN_API addRef() override;
  uint32 PLUGIN_API release() override;
  // Adds a reference unless the count has already reached zero.
  bool tryAddRef();

private:
  struct ClassEntry {
    PClassInfo2 info;
    CreateFunction create;
    void* context;
  };
  const ClassEntry* entryAt(int32 index) const;

  std::atomic<uint32> mRefCount{1};
  PFactoryInfo mFactoryInfo;
  std::vector<ClassEntry> mClasses;
  CPluginFactory** mSlot;
  std::mutex* mSlotLock;
};

} // namespace Steinberg
