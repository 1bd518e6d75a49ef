// Hosts that do things in awkward orders, open editors often or several at
// once, or offer no run loop: nothing crashes, stalls or is left behind
// (descriptors, run-loop registrations, and memory under the sanitizers).
#include "effect/Grittlebox.h"
#include "tests/e2e/editor_host.h"

using namespace Steinberg;

namespace e2e {
namespace {

using EditorLifecycle = EditorHostTest;

TEST_F(EditorLifecycle, AParentDestroyedFirstOrAViewNeverRemovedLeavesNothingBehind) {
  LoadEffect();
  // The first opening fills the module's bitmap and font caches: counted after.
  OpenEditor();
  CloseEditor();
  const int fds = OpenDescriptors();
  const struct {
    bool destroyParentFirst;
    bool remove;
  } orders[] = {{true, true}, {false, false}, {true, false}};
  for (const auto& order : orders) {
    OpenEditor();
    if (order.destroyParentFirst) {
      mX.Destroy(mParent);
      mLoop->RunFor(150); // the editor learns that its window went with the parent
    }
    mEditor->Release(!order.remove);
    EXPECT_EQ(mLoop->Registered(), 0) << order.destroyParentFirst << order.remove;
    EXPECT_EQ(OpenDescriptors(), fds) << order.destroyParentFirst << order.remove;
    if (order.destroyParentFirst) mParent = mX.MakeWindow(kParentX, kParentY, 760, 640);
  }
  // The effect still opens an editor afterwards, which shows what it should.
  OpenEditor();
  LICE_MemBitmap expected;
  HeadlessDrawing(1.0, nullptr, &expected);
  EXPECT_TRUE(ShowsPicture(&expected));
}

TEST_F(EditorLifecycle, FiftyOpeningsAndTwoInstancesAtOnceLeakNothing) {
  LoadEffect();
  OpenEditor();
  CloseEditor();
  const int fds = OpenDescriptors();
  const int made = mLoop->RegistrationsMade();
  for (int i = 0; i < 50; ++i) {
    OpenEditor();
    CloseEditor();
  }
  EXPECT_EQ(mLoop->Registered(), 0);
  EXPECT_EQ(mLoop->RegistrationsMade() - made, 100); // a timer and a descriptor watch each
  EXPECT_EQ(OpenDescriptors(), fds);

  // A second instance with its own editor beside the first, both live.
  vst3host::HostedPlugin second("Grittlebox Editor Test Host");
  ASSERT_TRUE(second.Load(BundlePath()) && second.Start(2, 44100.0, 512, true)) << second.Error();
  auto* secondRecorder = new vst3host::EditRecorder();
  second.Controller()->setComponentHandler(secondRecorder);
  const xcb_window_t secondParent = mX.MakeWindow(420, 40, 400, 340);
  {
    vst3host::HostedEditor secondEditor(second.Controller(), mLoop);
    OpenEditor();
    ASSERT_TRUE(secondEditor.Create() && secondEditor.Attach(secondParent)) << secondEditor.Error();
    ASSERT_NE(mX.WaitForChild(secondParent, 3000), 0u);
    // The second instance's Distort moves; the first editor does not follow.
    Drive([&](XDriver& x) {
      x.Move(420 + 176, 40 + 132);
      x.Click(4);
    });
    EXPECT_TRUE(mRecorder->Records().empty());
    ASSERT_EQ(secondRecorder->Records().size(), 1u);
    EXPECT_EQ(secondRecorder->Records()[0].id, 2u);
    LICE_MemBitmap expected;
    HeadlessDrawing(1.0, nullptr, &expected);
    EXPECT_TRUE(ShowsPicture(&expected));
    EXPECT_EQ(mLoop->Registered(), 4);
    CloseEditor();
  }
  second.Controller()->setComponentHandler(nullptr);
  secondRecorder->release();
  mX.Destroy(secondParent);
  EXPECT_EQ(mLoop->Registered(), 0);
  EXPECT_EQ(OpenDescriptors(), fds);
}

TEST_F(EditorLifecycle, AHostWithoutARunLoopIsRefusedWithNothingOpen) {
  LoadEffect();
  OpenEditor();
  CloseEditor();
  const int fds = OpenDescriptors();
  // Neither the frame nor the host context offers a run loop.
  vst3host::HostedEditor editor(mController, nullptr);
  ASSERT_TRUE(editor.Create()) << editor.Error();
  EXPECT_FALSE(editor.Attach(mParent));
  EXPECT_EQ(mX.WaitForChild(mParent, 300), 0u);
  EXPECT_EQ(OpenDescriptors(), fds);
  // The same view opens once the host has a loop to give.
  editor.Release();
  OpenEditor();
  EXPECT_EQ(mLoop->Registered(), 2);
}

} // namespace
} // namespace e2e
