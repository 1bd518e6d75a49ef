#include "detail/IPlugVST3View.h"

#include <cmath>
#include <cstring>

#include "detail/HostCall.h"
#include "detail/RunLoopEventLoop.h"
#include "editor/IGraphics.h"
#include "vst3/IPlugVST3.h"

using namespace Steinberg;
using vst3binding::HostCall;
using vst3binding::RunLoopEventLoop;

namespace {

// The platform host refuses larger factors; so does the view, before the host
// sizes a window for one.
constexpr double kMaxScale = 8.0;

} // namespace

IPlugVST3View::IPlugVST3View(IPlugVST3* plug) : mPlug(plug) {
  mPlug->addRef();
}

IPlugVST3View::~IPlugVST3View() {
  // A host that releases the view without removing it first still gets the
  // window, its timer and its descriptor watch taken back.
  Close();
  mPlug->removeDependentView(this);
  mPlug->release();
}

tresult PLUGIN_API IPlugVST3View::queryInterface(const TUID iid, void** obj) {
  return HostCall([&]() -> tresult {
    if (obj && FUnknownPrivate::iidEqual(iid, IPlugViewContentScaleSupport::iid)) {
      addRef();
      *obj = static_cast<IPlugViewContentScaleSupport*>(this);
      return kResultOk;
    }
    return CPluginView::queryInterface(iid, obj);
  });
}

uint32 PLUGIN_API IPlugVST3View::addRef() {
  return ++mRefCount;
}

uint32 PLUGIN_API IPlugVST3View::release() {
  const uint32 left = mRefCount.fetch_sub(1, std::memory_order_acq_rel) - 1;
  if (left == 0) delete this;
  return left;
}

IGraphics* IPlugVST3View::Graphics() const {
  return mPlug->GetGUI();
}

tresult PLUGIN_API IPlugVST3View::isPlatformTypeSupported(FIDString type) {
  return HostCall([&] {
    if (!Graphics() || !type) return kResultFalse;
    return strcmp(type, kPlatformTypeX11EmbedWindowID) == 0 ? kResultOk : kResultFalse;
  });
}

tresult PLUGIN_API IPlugVST3View::attached(void* parent, FIDString type) {
  bool finished = false;
  const tresult result = HostCall([&] {
    const tresult opened = Open(parent, type);
    finished = true;
    return opened;
  });
  if (!finished) Close(); // a throw part-way: nothing may stay open
  return result;
}

tresult IPlugVST3View::Open(void* parent, FIDString type) {
  IGraphics* gui = Graphics();
  if (!gui || !parent || mOpen) return kResultFalse;
  if (!type || strcmp(type, kPlatformTypeX11EmbedWindowID) != 0) return kResultFalse;
  // The plug-in has one editor: while another of its views shows it, this
  // one cannot.
  if (gui->WindowIsOpen()) return kResultFalse;
  Linux::IRunLoop* runLoop = RunLoopEventLoop::Find(plugFrame, mPlug->getHostContext());
  if (!runLoop) return kResultFalse; // nothing would ever repaint or answer
  mEventLoop = std::make_unique<RunLoopEventLoop>(runLoop);
  runLoop->release();
  gui->SetScaleFactor(mScale);
  gui->SetEventLoop(mEventLoop.get());
  if (!gui->OpenWindow(parent)) {
    gui->SetEventLoop(nullptr);
    mEventLoop.reset();
    return kResultFalse;
  }
  mOpen = true;
  CPluginView::attached(parent, type);
  mPlug->OnGUIOpen();
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3View::removed() {
  return HostCall([&] {
    Close();
    return CPluginView::removed();
  });
}

void IPlugVST3View::Close() {
  if (!mOpen) return;
  mOpen = false;
  IGraphics* gui = Graphics();
  mPlug->OnGUIClose();
  if (gui) {
    gui->CloseWindow();
    gui->SetEventLoop(nullptr);
  }
  mEventLoop.reset(); // unregisters anything the window left behind
}

tresult PLUGIN_API IPlugVST3View::onKeyDown(char16 key, int16 keyCode, int16 modifiers) {
  return HostCall([&] {
    IGraphics* gui = Graphics();
    mLastKeyTaken = mOpen && gui && gui->OnHostKeyDown(key, keyCode, modifiers);
    return mLastKeyTaken ? kResultTrue : kResultFalse;
  });
}

tresult PLUGIN_API IPlugVST3View::onKeyUp(char16, int16, int16) {
  const bool taken = mOpen && mLastKeyTaken;
  mLastKeyTaken = false;
  return taken ? kResultTrue : kResultFalse;
}

ViewRect IPlugVST3View::ScaledRect(int w, int h) const {
  return ViewRect(0, 0, ToViewPixels(w), ToViewPixels(h));
}

int IPlugVST3View::ToViewPixels(int editorPixels) const {
  return mScale == 1.0 ? editorPixels : static_cast<int>(std::lround(editorPixels * mScale));
}

tresult PLUGIN_API IPlugVST3View::getSize(ViewRect* size) {
  return HostCall([&] {
    IGraphics* gui = Graphics();
    if (!gui || !size) return kResultFalse;
    *size = ScaledRect(gui->Width(), gui->Height());
    return kResultOk;
  });
}

tresult PLUGIN_API IPlugVST3View::onSize(ViewRect* newSize) {
  return HostCall([&] {
    if (newSize) {
      rect = *newSize;
      if (mExpectingResize) {
        mExpectingResize = false;
        mPlug->OnWindowResize();
      }
    }
    return kResultOk;
  });
}

tresult PLUGIN_API
IPlugVST3View::setContentScaleFactor(IPlugViewContentScaleSupport::ScaleFactor factor) {
  return HostCall([&] { return SetScale(factor); });
}

tresult IPlugVST3View::SetScale(double factor) {
  const double scale = factor;
  if (!(scale >= 1.0) || scale > kMaxScale) return kResultFalse;
  if (scale == mScale) return kResultOk;
  mScale = scale;
  IGraphics* gui = Graphics();
  if (mOpen && gui) {
    gui->SetScaleFactor(mScale);
    // The host's container must follow the window, which has already grown.
    if (plugFrame) {
      ViewRect r = ScaledRect(gui->Width(), gui->Height());
      plugFrame->resizeView(this, &r);
    }
  }
  return kResultOk;
}

void IPlugVST3View::resize(int w, int h) {
  if (!plugFrame) return; // no host to ask yet: the request is dropped
  mExpectingResize = true;
  ViewRect r = ScaledRect(w, h);
  plugFrame->resizeView(this, &r);
}
