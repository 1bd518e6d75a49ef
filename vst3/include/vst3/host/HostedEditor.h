#pragma once
// A plug-in's editor view as a Linux host drives it: createView("editor"),
// the content scale, the frame (with the host's run loop, or none), then
// attached() to a parent X11 window, removed() and the release. Each step
// reports a refusal as false with a reason in Error().
#include <string>

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "vst3/host/HostFrame.h"

namespace vst3host {

class HostedEditor {
public:
  // runLoop may be null: the host then offers its views none.
  HostedEditor(Steinberg::Vst::IEditController* controller, Steinberg::Linux::IRunLoop* runLoop,
               HostFrame::ResizeFunction resize = nullptr);
  ~HostedEditor();
  HostedEditor(const HostedEditor&) = delete;
  HostedEditor& operator=(const HostedEditor&) = delete;

  // Creates the view and gives it the frame and, when not 1, the scale.
  bool Create(double scale = 1.0);
  // The view's size in view pixels; false when it gives none.
  bool Size(int* w, int* h);
  bool Attach(unsigned long parentWindow);
  void Remove();
  // Lets go of the view (removing it first unless skipRemove); the frame stays.
  void Release(bool skipRemove = false);

  Steinberg::IPlugView* View() const { return mView; }
  HostFrame* Frame() const { return mFrame; }
  bool Attached() const { return mAttached; }
  const std::string& Error() const { return mError; }

private:
  bool Fail(const std::string& what);

  Steinberg::Vst::IEditController* mController;
  HostFrame* mFrame;
  Steinberg::IPlugView* mView = nullptr;
  bool mAttached = false;
  std::string mError;
};

} // namespace vst3host
