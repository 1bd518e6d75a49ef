#pragma once
// The host-application context handed to initialize: it tells the plug-in the
// host's name and makes nothing else.
#include <string>

#include "pluginterfaces/vst/ivsthostapplication.h"
#include "vst3/host/HostObject.h"

namespace vst3host {

class HostContext : public HostObject<Steinberg::Vst::IHostApplication> {
public:
  explicit HostContext(const std::string& name) : mName(name) {}

  Steinberg::tresult PLUGIN_API getName(Steinberg::Vst::String128 name) override;
  Steinberg::tresult PLUGIN_API createInstance(Steinberg::TUID cid, Steinberg::TUID iid,
                                               void** obj) override;

private:
  std::string mName;
};

} // namespace vst3host
