#include "vst3/host/EditRecorder.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace vst3host {

// A host menu with no items of its own: popping it up is what is recorded.
class EditRecorder::Menu : public HostObject<IContextMenu> {
public:
  Menu(EditRecorder* owner, ParamID id) : mOwner(owner), mId(id) {
    mOwner->addRef();
    ++mOwner->mMenusAlive;
  }
  int32 PLUGIN_API getItemCount() override { return 0; }
  tresult PLUGIN_API getItem(int32, Item&, IContextMenuTarget** target) override {
    if (target) *target = nullptr;
    return kResultFalse;
  }
  tresult PLUGIN_API addItem(const Item&, IContextMenuTarget*) override { return kResultOk; }
  tresult PLUGIN_API removeItem(const Item&, IContextMenuTarget*) override { return kResultOk; }
  tresult PLUGIN_API popup(UCoord x, UCoord y) override {
    mOwner->Add({'m', mId, 0.0, x, y});
    return kResultOk;
  }

private:
  ~Menu() override {
    --mOwner->mMenusAlive;
    mOwner->release();
  }
  EditRecorder* mOwner;
  ParamID mId;
};

void EditRecorder::Add(const Record& record) {
  mRecords.push_back(record);
  if (mListener) mListener(record);
}

tresult PLUGIN_API EditRecorder::beginEdit(ParamID id) {
  Add({'b', id, 0.0, 0, 0});
  return kResultOk;
}

tresult PLUGIN_API EditRecorder::performEdit(ParamID id, ParamValue value) {
  Add({'p', id, value, 0, 0});
  return kResultOk;
}

tresult PLUGIN_API EditRecorder::endEdit(ParamID id) {
  Add({'e', id, 0.0, 0, 0});
  return kResultOk;
}

tresult PLUGIN_API EditRecorder::restartComponent(int32 flags) {
  Add({'r', 0, static_cast<double>(flags), 0, 0});
  return kResultOk;
}

IContextMenu* PLUGIN_API EditRecorder::createContextMenu(IPlugView*, const ParamID* id) {
  return new Menu(this, id ? *id : kNoParamId);
}

tresult PLUGIN_API EditRecorder::queryInterface(const TUID iid, void** obj) {
  if (obj && mOfferMenus && FUnknownPrivate::iidEqual(iid, IComponentHandler3::iid)) {
    addRef();
    *obj = static_cast<IComponentHandler3*>(this);
    return kResultOk;
  }
  return HostObject<IComponentHandler>::queryInterface(iid, obj);
}

} // namespace vst3host
