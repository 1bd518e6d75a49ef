#pragma once
// The editor view a VST 3 host embeds in its window: the plug-in's graphics
// object opens its X11 window inside the host's (platform type
// "X11EmbedWindowID"), driven by the host's run loop. The view draws nothing
// itself; it reports the editor's size (times the host's content scale),
// passes keys on and carries resize requests to the host's frame.
//
// Lifetime: the controller makes a view for createView("editor") and keeps
// it in its view list; the view holds a reference to the controller, and
// when the host's last reference goes it leaves that list (where terminate
// has emptied it, there is nothing to remove) and lets go of the controller.
#include <atomic>
#include <memory>

#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"
#include "public.sdk/source/common/pluginview.h"

class IGraphics;
class IPlugVST3;

namespace vst3binding {
class RunLoopEventLoop;
}

class IPlugVST3View : public Steinberg::CPluginView,
                      public Steinberg::IPlugViewContentScaleSupport {
public:
  explicit IPlugVST3View(IPlugVST3* plug);

  Steinberg::tresult PLUGIN_API isPlatformTypeSupported(Steinberg::FIDString type) override;
  Steinberg::tresult PLUGIN_API attached(void* parent, Steinberg::FIDString type) override;
  Steinberg::tresult PLUGIN_API removed() override;
  Steinberg::tresult PLUGIN_API onKeyDown(Steinberg::char16 key, Steinberg::int16 keyCode,
                                          Steinberg::int16 modifiers) override;
  Steinberg::tresult PLUGIN_API onKeyUp(Steinberg::char16 key, Steinberg::int16 keyCode,
                                        Steinberg::int16 modifiers) override;
  Steinberg::tresult PLUGIN_API getSize(Steinberg::ViewRect* size) override;
  Steinberg::tresult PLUGIN_API onSize(Steinberg::ViewRect* newSize) override;
  Steinberg::tresult PLUGIN_API setContentScaleFactor(ScaleFactor factor) override;

  // Asks the host, through the frame, to make the view w x h editor pixels.
  void resize(int w, int h);
  // Editor pixels to view pixels (the host's coordinates).
  int ToViewPixels(int editorPixels) const;
  bool IsOpen() const { return mOpen; }
  double ContentScale() const { return mScale; }

  // One count for both interfaces, thread-safe.
  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override;
  Steinberg::uint32 PLUGIN_API release() override;

private:
  ~IPlugVST3View() override;
  IGraphics* Graphics() const;
  Steinberg::tresult Open(void* parent, Steinberg::FIDString type);
  void Close();
  Steinberg::tresult SetScale(double factor);
  Steinberg::ViewRect ScaledRect(int w, int h) const;

  IPlugVST3* mPlug;
  bool mExpectingResize = false;
  bool mOpen = false;
  double mScale = 1.0;
  // Whether the editor took the last key the host passed down: the key's
  // release gets the same answer.
  bool mLastKeyTaken = false;
  std::unique_ptr<vst3binding::RunLoopEventLoop> mEventLoop;
  std::atomic<Steinberg::uint32> mRefCount{1};
};
