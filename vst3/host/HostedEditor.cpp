#include "vst3/host/HostedEditor.h"

#include <cstdint>

#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

using namespace Steinberg;

namespace vst3host {

HostedEditor::HostedEditor(Vst::IEditController* controller, Linux::IRunLoop* runLoop,
                           HostFrame::ResizeFunction resize)
    : mController(controller), mFrame(new HostFrame(runLoop, std::move(resize))) {
  if (mController) mController->addRef();
}

HostedEditor::~HostedEditor() {
  Release();
  mFrame->release();
  if (mController) mController->release();
}

bool HostedEditor::Fail(const std::string& what) {
  mError = what;
  return false;
}

bool HostedEditor::Create(double scale) {
  Release();
  if (!mController) return Fail("no controller");
  mView = mController->createView(Vst::ViewType::kEditor);
  if (!mView) return Fail("the controller gives no editor view");
  if (mView->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID) != kResultOk)
    return Fail("the view does not embed in X11 windows");
  if (scale != 1.0) {
    IPlugViewContentScaleSupport* scaling = nullptr;
    if (mView->queryInterface(IPlugViewContentScaleSupport::iid,
                              reinterpret_cast<void**>(&scaling)) != kResultOk ||
        !scaling)
      return Fail("the view cannot be scaled");
    const tresult taken = scaling->setContentScaleFactor(static_cast<float>(scale));
    scaling->release();
    if (taken != kResultOk) return Fail("the view refuses the scale factor");
  }
  if (mView->setFrame(mFrame) != kResultOk) return Fail("the view refuses its frame");
  return true;
}

bool HostedEditor::Size(int* w, int* h) {
  ViewRect r;
  if (!mView || mView->getSize(&r) != kResultOk) return Fail("the view gives no size");
  *w = r.getWidth();
  *h = r.getHeight();
  return true;
}

bool HostedEditor::Attach(unsigned long parentWindow) {
  if (!mView) return Fail("no view");
  void* parent = reinterpret_cast<void*>(static_cast<uintptr_t>(parentWindow));
  if (mView->attached(parent, kPlatformTypeX11EmbedWindowID) != kResultOk)
    return Fail("the view refused to attach to the window");
  mAttached = true;
  return true;
}

void HostedEditor::Remove() {
  if (mView && mAttached) mView->removed();
  mAttached = false;
}

void HostedEditor::Release(bool skipRemove) {
  if (!mView) return;
  if (!skipRemove) Remove();
  mView->setFrame(nullptr);
  mView->release();
  mView = nullptr;
  mAttached = false;
}

} // namespace vst3host
