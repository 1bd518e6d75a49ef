#include "vst3/host/HostFrame.h"

using namespace Steinberg;

namespace vst3host {

HostFrame::HostFrame(Linux::IRunLoop* runLoop, ResizeFunction resize)
    : mRunLoop(runLoop), mResize(std::move(resize)) {
  if (mRunLoop) mRunLoop->addRef();
}

HostFrame::~HostFrame() {
  if (mRunLoop) mRunLoop->release();
}

tresult PLUGIN_API HostFrame::queryInterface(const TUID iid, void** obj) {
  if (obj && mRunLoop && FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid))
    return mRunLoop->queryInterface(iid, obj);
  return HostObject<IPlugFrame>::queryInterface(iid, obj);
}

tresult PLUGIN_API HostFrame::resizeView(IPlugView* view, ViewRect* newSize) {
  if (!view || !newSize) return kInvalidArgument;
  ++mResizeRequests;
  if (mResize && !mResize(newSize->getWidth(), newSize->getHeight())) return kResultFalse;
  mLastSize = *newSize;
  view->onSize(newSize);
  return kResultOk;
}

} // namespace vst3host
