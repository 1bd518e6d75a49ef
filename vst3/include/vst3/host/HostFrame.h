#pragma once
// The frame a host gives a plug-in's view (IPlugFrame): resize requests go
// to whoever shows the view, and the host's run loop is found through it.
// A frame made without a run loop is a host that offers none.
#include <functional>

#include "pluginterfaces/gui/iplugview.h"
#include "vst3/host/HostObject.h"

namespace vst3host {

class HostFrame : public HostObject<Steinberg::IPlugFrame> {
public:
  // Answers w x h view pixels with true when the host's window took that size.
  using ResizeFunction = std::function<bool(int w, int h)>;

  // runLoop may be null; the frame holds a reference to it.
  explicit HostFrame(Steinberg::Linux::IRunLoop* runLoop, ResizeFunction resize = nullptr);

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  // Resizes the host's window, then tells the view its new size (onSize).
  Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView* view,
                                           Steinberg::ViewRect* newSize) override;

  int ResizeRequests() const { return mResizeRequests; }
  const Steinberg::ViewRect& LastSize() const { return mLastSize; }

private:
  ~HostFrame() override;

  Steinberg::Linux::IRunLoop* mRunLoop;
  ResizeFunction mResize;
  int mResizeRequests = 0;
  Steinberg::ViewRect mLastSize;
};

} // namespace vst3host
