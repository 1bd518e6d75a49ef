// Controller side of the editor: the views the host asks for, and the host's
// own context menu for a parameter, anchored in the first view.
#include <algorithm>
#include <cstring>

#include "detail/HostCall.h"
#include "detail/IPlugVST3View.h"
#include "pluginterfaces/vst/ivstcontextmenu.h"
#include "vst3/IPlugVST3.h"

using namespace Steinberg;
using namespace Steinberg::Vst;
using vst3binding::HostCall;

IPlugView* PLUGIN_API IPlugVST3::createView(FIDString name) {
  return HostCall(static_cast<IPlugView*>(nullptr), [&]() -> IPlugView* {
    if (!name || strcmp(name, "editor") != 0) return nullptr;
    mViews.reserve(mViews.size() + 1); // the list cannot fail to take the view below
    auto* view = new IPlugVST3View(this);
    addDependentView(view);
    return view; // the host gets the view's one reference
  });
}

void IPlugVST3::addDependentView(IPlugVST3View* view) {
  mViews.push_back(view);
}

void IPlugVST3::removeDependentView(IPlugVST3View* view) {
  auto found = std::find(mViews.begin(), mViews.end(), view);
  if (found != mViews.end()) mViews.erase(found);
}

void IPlugVST3::ResizeGraphics(int w, int h) {
  if (GetGUI() && !mViews.empty()) mViews.front()->resize(w, h);
}

void IPlugVST3::PopupHostContextMenuForParam(int paramIdx, int x, int y) {
  IComponentHandler* handler = getComponentHandler();
  if (!handler || mViews.empty() || paramIdx < 0) return;
  IComponentHandler3* handler3 = nullptr;
  if (handler->queryInterface(IComponentHandler3::iid, reinterpret_cast<void**>(&handler3)) !=
          kResultOk ||
      !handler3)
    return;
  IPlugVST3View* view = mViews.front();
  const ParamID id = static_cast<ParamID>(paramIdx);
  if (IContextMenu* menu = handler3->createContextMenu(view, &id)) {
    menu->popup(view->ToViewPixels(x), view->ToViewPixels(y));
    menu->release();
  }
  handler3->release();
}
