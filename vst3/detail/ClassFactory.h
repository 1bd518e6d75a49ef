#pragma once
// The module's class factory: factory interfaces 1, 2 and 3 over a list of
// registered classes. The distribution's SDK copy has none; this one keeps
// its own thread-safe reference count and, on the last release, deletes itself
// and clears the slot that the module keeps it in.
#include <atomic>
#include <mutex>
#include <vector>

#include "pluginterfaces/base/ipluginbase.h"

namespace vst3binding {

class ClassFactory : public Steinberg::IPluginFactory3 {
public:
  using CreateFunction = Steinberg::FUnknown* (*)(void* context);

  // slot, when given, is cleared when the last reference goes; slotLock, when
  // given, is held while clearing it and deleting, so that whoever hands out
  // the slot's factory under the same lock never sees a dying one.
  ClassFactory(const Steinberg::PFactoryInfo& info, ClassFactory** slot = nullptr,
               std::mutex* slotLock = nullptr);
  virtual ~ClassFactory();

  bool registerClass(const Steinberg::PClassInfo2& info, CreateFunction create,
                     void* context = nullptr);

  // IPluginFactory
  Steinberg::tresult PLUGIN_API getFactoryInfo(Steinberg::PFactoryInfo* info) override;
  Steinberg::int32 PLUGIN_API countClasses() override;
  Steinberg::tresult PLUGIN_API getClassInfo(Steinberg::int32 index,
                                             Steinberg::PClassInfo* info) override;
  Steinberg::tresult PLUGIN_API createInstance(Steinberg::FIDString cid, Steinberg::FIDString iid,
                                               void** obj) override;
  // IPluginFactory2
  Steinberg::tresult PLUGIN_API getClassInfo2(Steinberg::int32 index,
                                              Steinberg::PClassInfo2* info) override;
  // IPluginFactory3
  Steinberg::tresult PLUGIN_API getClassInfoUnicode(Steinberg::int32 index,
                                                    Steinberg::PClassInfoW* info) override;
  Steinberg::tresult PLUGIN_API setHostContext(Steinberg::FUnknown* context) override;

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override;
  Steinberg::uint32 PLUGIN_API release() override;
  // Adds a reference unless the count has already reached zero.
  bool tryAddRef();

private:
  struct ClassEntry {
    Steinberg::PClassInfo2 info;
    CreateFunction create;
    void* context;
  };
  const ClassEntry* entryAt(Steinberg::int32 index) const;

  std::atomic<Steinberg::uint32> mRefCount{1};
  Steinberg::PFactoryInfo mFactoryInfo;
  std::vector<ClassEntry> mClasses;
  ClassFactory** mSlot;
  std::mutex* mSlotLock;
};

} // namespace vst3binding
