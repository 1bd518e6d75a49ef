#pragma once
// Reference counting and interface queries for the host's own small objects.
// Each starts with one reference, owned by whoever made it.
#include <atomic>

#include "pluginterfaces/base/funknown.h"

namespace vst3host {

template <class Interface> class HostObject : public Interface {
public:
  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override {
    if (!obj) return Steinberg::kInvalidArgument;
    if (Steinberg::FUnknownPrivate::iidEqual(iid, Interface::iid) ||
        Steinberg::FUnknownPrivate::iidEqual(iid, Steinberg::FUnknown::iid)) {
      addRef();
      *obj = static_cast<Interface*>(this);
      return Steinberg::kResultOk;
    }
    *obj = nullptr;
    return Steinberg::kNoInterface;
  }
  Steinberg::uint32 PLUGIN_API addRef() override { return ++mRefCount; }
  Steinberg::uint32 PLUGIN_API release() override {
    const Steinberg::uint32 left = mRefCount.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) delete this;
    return left;
  }
  Steinberg::uint32 RefCount() const { return mRefCount.load(); }

protected:
  virtual ~HostObject() = default;

private:
  std::atomic<Steinberg::uint32> mRefCount{1};
};

} // namespace vst3host
