// The editor window in a real X server: what it shows, what it tells an
// embedding host, and that opening and closing in every order leaves nothing
// behind.
#include "tests/platform/linux/x_fixture.h"

#include <cmath>

#include "editor/IControl.h"

namespace {

using XWindow = XEditorTest;

xcb_window_t WindowOf(IGraphicsLinux* gui) {
  return static_cast<xcb_window_t>(reinterpret_cast<uintptr_t>(gui->GetWindow()));
}

TEST_F(XWindow, ShowsTheDrawBitmapExactlyAndTellsTheHostWhoItIs) {
  OpenEditor();
  EXPECT_TRUE(ShowsDrawBitmap(mGui, "editor.png"));
  int format = 0;
  const std::string xembed = mX.Property(WindowOf(mGui), "_XEMBED_INFO", &format);
  ASSERT_EQ(format, 32);
  EXPECT_EQ(xembed, std::string(8, '\0')); // version 0, flags 0
  const std::string name = "IGraphicsLinux_vGrittleTest_vst3";
  EXPECT_EQ(mX.Property(WindowOf(mGui), "WM_CLASS"), name + '\0' + name + '\0');
  // A change reaches the screen as its dirty region, banded under the
  // request limit (a whole frame needs two bands).
  mGui->SetControlFromPlug(1, 0.9);
  mLoop.RunFor(100);
  EXPECT_TRUE(ShowsDrawBitmap(mGui));
  // Events nobody should send are ignored: a client message, and a press
  // and a key naming other windows or impossible buttons and keys.
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.window = WindowOf(mGui);
  message.format = 32;
  xcb_button_press_event_t press{};
  press.response_type = XCB_BUTTON_PRESS;
  press.event = mParent;
  press.detail = 1;
  press.event_x = 59; // over the In knob: a press that counted would begin an edit
  press.event_y = 237;
  xcb_button_press_event_t odd = press;
  odd.event = WindowOf(mGui);
  odd.detail = 9;
  xcb_key_press_event_t key{};
  key.response_type = XCB_KEY_PRESS;
  key.event = WindowOf(mGui);
  key.detail = 255;
  for (const void* e : {static_cast<const void*>(&message), static_cast<const void*>(&press),
                        static_cast<const void*>(&odd), static_cast<const void*>(&key)})
    xcb_send_event(mX.Conn(), 0, WindowOf(mGui), XCB_EVENT_MASK_NO_EVENT,
                   static_cast<const char*>(e));
  mPlug->mEvents.clear();
  mX.Sync();
  mLoop.RunFor(60);
  EXPECT_EQ(mPlug->Trail(), "");
  EXPECT_TRUE(mKeys->mKeys.empty());
  // Exposure puts back what is drawn, with no control drawing anew.
  mX.Destroy(mX.MakeWindow(kParentX + 20, kParentY + 20, 200, 150));
  mLoop.RunFor(100);
  EXPECT_TRUE(ShowsDrawBitmap(mGui));
}

TEST_F(XWindow, ScaledWindowsShowOneBilinearBlitOfTheWholeEditorAfterPartialUpdates) {
  for (double scale : {1.5, 2.0}) {
    OpenEditor(kAPIVST2, scale);
    IRECT r;
    ASSERT_TRUE(mX.Geometry(WindowOf(mGui), &r));
    EXPECT_EQ(r.W(), static_cast<int>(std::lround(350 * scale)));
    EXPECT_EQ(r.H(), static_cast<int>(std::lround(288 * scale)));
    EXPECT_TRUE(ShowsDrawBitmap(mGui, scale == 2.0 ? "editor-2x.png" : nullptr)) << scale;
    mGui->SetControlFromPlug(3, 0.2); // the Distort knob only
    mLoop.RunFor(100);
    EXPECT_TRUE(ShowsDrawBitmap(mGui)) << scale;
  }
  // Back to 1:1 while open: the window shrinks and shows the bitmap as is.
  ASSERT_TRUE(mGui->SetScaleFactor(1.0));
  EXPECT_FALSE(mGui->SetScaleFactor(0.5));
  mLoop.RunFor(100);
  mScale = 1.0;
  EXPECT_TRUE(ShowsDrawBitmap(mGui));
}

TEST_F(XWindow, OpeningWithoutAnEventLoopIsRefusedAndLeavesNothingOpen) {
  RecordingPlug plug;
  IGraphics* gui = MakePlatformGraphics(&plug, 100, 80, 0);
  plug.AttachGraphics(gui);
  const int fds = OpenDescriptors();
  EXPECT_EQ(gui->OpenWindow(reinterpret_cast<void*>(static_cast<uintptr_t>(mParent))), nullptr);
  EXPECT_FALSE(gui->WindowIsOpen());
  EXPECT_EQ(OpenDescriptors(), fds);
  // A parent that does not exist is refused the same way.
  gui->SetEventLoop(&mLoop);
  EXPECT_EQ(gui->OpenWindow(reinterpret_cast<void*>(uintptr_t{0x7ffffff})), nullptr);
  EXPECT_EQ(OpenDescriptors(), fds);
  EXPECT_EQ(mLoop.TimerCount() + mLoop.WatchCount(), 0);
  // No parent at all: a top-level window of its own, for programs without a host.
  void* window = gui->OpenWindow(nullptr);
  ASSERT_NE(window, nullptr);
  IRECT r;
  EXPECT_TRUE(mX.Geometry(static_cast<xcb_window_t>(reinterpret_cast<uintptr_t>(window)), &r));
  EXPECT_EQ(r.W(), 100);
  gui->CloseWindow();
}

TEST_F(XWindow, AParentDestroyedFirstOrAnEditorNeverClosedLeavesNothingBehind) {
  // Fonts opened by the first drawing stay in the module's cache: counted after.
  OpenEditor();
  mGui->CloseWindow();
  const int fds = OpenDescriptors();
  ASSERT_NE(mGui->OpenWindow(reinterpret_cast<void*>(static_cast<uintptr_t>(mParent))), nullptr);
  mLoop.RunFor(100);
  mX.Destroy(mParent);
  mParent = 0;
  mLoop.RunFor(150); // our window went with it; the errors that follow are ignored
  mGui->SetControlFromPlug(1, 0.1);
  mLoop.RunFor(100);
  mGui->CloseWindow();
  EXPECT_FALSE(mGui->WindowIsOpen());
  EXPECT_EQ(mLoop.TimerCount() + mLoop.WatchCount(), 0);
  EXPECT_EQ(OpenDescriptors(), fds);

  mParent = mX.MakeWindow(kParentX, kParentY, 760, 640);
  OpenEditor();
  EXPECT_EQ(mLoop.TimerCount(), 1);
  EXPECT_EQ(mLoop.WatchCount(), 1);
  mPlug.reset(); // the graphics object goes with its window still open
  EXPECT_EQ(mLoop.TimerCount() + mLoop.WatchCount(), 0);
  EXPECT_EQ(OpenDescriptors(), fds);
}

TEST_F(XWindow, FiftyOpensAndTwoEditorsAtOnceLeakNoDescriptorOrRegistration) {
  OpenEditor();
  mGui->CloseWindow();
  const int fds = OpenDescriptors();
  for (int i = 0; i < 50; ++i) {
    ASSERT_NE(mGui->OpenWindow(reinterpret_cast<void*>(static_cast<uintptr_t>(mParent))), nullptr);
    mLoop.RunFor(2);
    mGui->CloseWindow();
  }
  EXPECT_EQ(OpenDescriptors(), fds);
  EXPECT_EQ(mLoop.TimerCount() + mLoop.WatchCount(), 0);

  const xcb_window_t second = mX.MakeWindow(kParentX + 380, kParentY, 360, 300);
  RecordingPlug other;
  IGraphicsLinux* otherGui = MakeEditor(&other, 1.0);
  ASSERT_NE(mGui->OpenWindow(reinterpret_cast<void*>(static_cast<uintptr_t>(mParent))), nullptr);
  ASSERT_NE(otherGui->OpenWindow(reinterpret_cast<void*>(static_cast<uintptr_t>(second))), nullptr);
  mGui->SetControlFromPlug(1, 0.0);
  otherGui->SetControlFromPlug(1, 1.0);
  mLoop.RunFor(150);
  EXPECT_TRUE(ShowsDrawBitmap(mGui));
  EXPECT_TRUE(ShowsDrawBitmap(otherGui));
  mGui->CloseWindow();
  otherGui->CloseWindow();
  mX.Destroy(second);
  EXPECT_EQ(OpenDescriptors(), fds);
}

} // namespace
