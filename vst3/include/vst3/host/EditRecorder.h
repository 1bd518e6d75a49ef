#pragma once
// The component handler a host gives the controller: it records every edit
// the plug-in reports (begin, perform with the value, end) and, as
// IComponentHandler3, every context menu the plug-in asks for and where it
// popped up. A listener sees each record as it arrives.
#include <functional>
#include <vector>

#include "pluginterfaces/vst/ivstcontextmenu.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "vst3/host/HostObject.h"

namespace vst3host {

class EditRecorder : public HostObject<Steinberg::Vst::IComponentHandler>,
                     public Steinberg::Vst::IComponentHandler3 {
public:
  struct Record {
    char kind; // 'b' begin, 'p' perform, 'e' end, 'm' context menu shown, 'r' restart
    Steinberg::Vst::ParamID id;
    double value; // perform: the normalized value; restart: the flags
    int x, y;     // context menu: where it popped up, in view pixels
  };
  using Listener = std::function<void(const Record&)>;

  // offerMenus false: a host without IComponentHandler3.
  explicit EditRecorder(bool offerMenus = true) : mOfferMenus(offerMenus) {}

  void SetListener(Listener listener) { mListener = std::move(listener); }
  const std::vector<Record>& Records() const { return mRecords; }
  void Clear() { mRecords.clear(); }
  // Context menus made and not yet released by the plug-in.
  int MenusAlive() const { return mMenusAlive; }

  Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID id) override;
  Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id,
                                            Steinberg::Vst::ParamValue value) override;
  Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID id) override;
  Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) override;
  Steinberg::Vst::IContextMenu* PLUGIN_API
  createContextMenu(Steinberg::IPlugView* view, const Steinberg::Vst::ParamID* id) override;

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override {
    return HostObject<Steinberg::Vst::IComponentHandler>::addRef();
  }
  Steinberg::uint32 PLUGIN_API release() override {
    return HostObject<Steinberg::Vst::IComponentHandler>::release();
  }

private:
  class Menu;
  void Add(const Record& record);

  bool mOfferMenus;
  Listener mListener;
  std::vector<Record> mRecords;
  int mMenusAlive = 0;
};

} // namespace vst3host
