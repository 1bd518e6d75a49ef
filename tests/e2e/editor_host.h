#pragma once
// A test host that shows the effect's editor the way a Linux VST 3 host
// does: the effect (from the built bundle, or made in this process when a
// test must reach inside it) initialised with a recording component handler,
// its view attached to a real parent window under an X server, driven by a
// run loop of ours, while a driver on another thread plays the user with
// XTEST. Without a display the tests skip.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "lice/lice.h"
#include "tests/platform/linux/x_fixture.h"
#include "vst3/host/EditRecorder.h"
#include "vst3/host/HostRunLoop.h"
#include "vst3/host/HostedEditor.h"
#include "vst3/host/HostedPlugin.h"

class Grittlebox;

namespace e2e {

// The built bundle and the folder of its PNG files.
std::string BundlePath();
std::string BundleResources();
// Open descriptors of this process.
int OpenDescriptors();

// The editor as the headless host draws it from the bundle's PNG files,
// after prepare() has changed the effect, at window scale s (a whole-window
// bilinear blit as the platform host makes it).
void HeadlessDrawing(double scale, const std::function<void(Grittlebox*)>& prepare,
                     LICE_MemBitmap* out);

// Waits until the window is mapped on screen and has the input focus, as a
// text field has once the user can type into it.
bool WaitForFocus(XDriver& x, xcb_window_t window, int timeoutMs);

// Runs a function once, from inside the host's run loop, as a host calls
// its plug-ins' handlers.
void RunFromLoop(vst3host::HostRunLoop* loop, std::function<void()> what);

class EditorHostTest : public ::testing::Test {
protected:
  static constexpr int kParentX = 40, kParentY = 40;

  void SetUp() override;
  void TearDown() override;

  // The effect from the bundle, initialised, with our handler.
  void LoadEffect();
  // A view of the current effect, created at the scale and attached to mParent.
  void OpenEditor(double scale = 1.0);
  void CloseEditor();
  // The effect's window inside mParent, once viewable; 0 when none.
  xcb_window_t EditorWindow(int timeoutMs = 3000);
  // Runs the script on a thread of its own (with its own driver) while this
  // thread runs the host's loop; a modal menu or prompt runs inside the loop.
  void Drive(const std::function<void(XDriver&)>& script, int timeoutMs = 10000);
  // Root coordinates of an editor point at the open scale.
  int RootX(int x) const;
  int RootY(int y) const;
  // The screenshot of the editor window equals the expected picture; saved
  // beside the build as name when given.
  ::testing::AssertionResult ShowsPicture(LICE_IBitmap* expected, const char* name = nullptr);
  static void SaveShot(LICE_IBitmap* bitmap, const char* name);

  XDriver mX;
  xcb_window_t mParent = 0;
  vst3host::HostRunLoop* mLoop = nullptr;
  vst3host::EditRecorder* mRecorder = nullptr;
  std::unique_ptr<vst3host::HostedPlugin> mPlugin;
  Steinberg::Vst::IEditController* mController = nullptr;
  std::unique_ptr<vst3host::HostedEditor> mEditor;
  double mScale = 1.0;
};

} // namespace e2e
