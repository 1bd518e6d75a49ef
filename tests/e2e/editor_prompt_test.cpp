// A popup menu and a text entry opened from the effect's editor while the
// host shows it through its VST 3 view, answered with real key events. The
// effect is made in this process so the test can open them on the prompt
// path; everything else goes through the view as from the bundle.
#include "editor/IControl.h"
#include "editor/IGraphics.h"
#include "editor/IPopupMenu.h"
#include "editor/ITextControl.h"
#include "effect/Grittlebox.h"
#include "effect/GrittleboxEditor.h"
#include "platform/linux/detail/KeyMap.h"
#include "tests/e2e/editor_host.h"
#include "vst3/host/HostContext.h"

using namespace Steinberg;
using namespace grittlebox;

namespace e2e {
namespace {

const std::string kPopupClass = "IGraphicsLinux_vGrittlebox_vst3";

class EditorPrompts : public EditorHostTest {
protected:
  void SetUp() override {
    EditorHostTest::SetUp();
    if (IsSkipped()) return;
    mEffect = MakePlug();
    ASSERT_NE(mEffect, nullptr);
    mContext = new vst3host::HostContext("Grittlebox Editor Test Host");
    ASSERT_EQ(mEffect->initialize(mContext), kResultOk);
    mController = mEffect;
    mController->setComponentHandler(mRecorder);
    mGui = mEffect->GetGUI();
  }
  void TearDown() override {
    CloseEditor();
    if (mEffect) {
      mController->setComponentHandler(nullptr);
      mEffect->terminate();
      mEffect->release();
    }
    mController = nullptr;
    if (mContext) mContext->release();
    EditorHostTest::TearDown();
  }

  Grittlebox* mEffect = nullptr;
  vst3host::HostContext* mContext = nullptr;
  IGraphics* mGui = nullptr;
};

TEST_F(EditorPrompts, AValueTypedIntoTheKnobsTextEntryReachesTheHostAndTheReadout) {
  OpenEditor();
  IControl* knob = mGui->GetControl(kDistortKnobControl);
  knob->DisablePrompt(false);
  RunFromLoop(mLoop, [knob] { knob->PromptUserInput(); });
  const xcb_window_t editor = EditorWindow();
  Drive([&](XDriver& x) {
    const xcb_window_t field = x.WaitForChild(editor, 3000);
    ASSERT_NE(field, 0u);
    ASSERT_TRUE(WaitForFocus(x, field, 3000));
    for (int i = 0; i < 8; ++i) x.Key(kKeysymBackSpace);
    x.Type("25");
    x.Key(kKeysymReturn);
  });
  const double typed = mEffect->GetParam(kParamDistort)->GetNormalized(25.0);
  ASSERT_FALSE(mRecorder->Records().empty());
  EXPECT_EQ(mRecorder->Records().back().kind, 'p');
  EXPECT_EQ(mRecorder->Records().back().id, 2u);
  EXPECT_DOUBLE_EQ(mRecorder->Records().back().value, typed);
  EXPECT_TRUE(
      static_cast<ITextControl*>(mGui->GetControl(kDistortReadoutControl))->TextEquals("25 %"));
  LICE_MemBitmap expected;
  HeadlessDrawing(
      1.0,
      [typed](Grittlebox* fx) {
        fx->GetGUI()->SetParameterFromPlug(kParamDistort, typed, true);
        fx->SetParameterFromGUI(kParamDistort, typed);
      },
      &expected);
  EXPECT_TRUE(ShowsPicture(&expected, "editor-after-text-entry.png"));
}

TEST_F(EditorPrompts, APopupMenuOpenedInsideTheHostsLoopIsChosenWithKeys) {
  OpenEditor();
  IPopupMenu menu;
  for (const char* item : {"Soft", "Hard", "Fold"}) menu.AddItem(item);
  IPopupMenu* chosen = nullptr;
  bool returned = false;
  RunFromLoop(mLoop, [&] {
    IRECT area(112, 68, 240, 196);
    chosen = mGui->CreateIPopupMenu(&menu, &area);
    returned = true;
  });
  Drive([&](XDriver& x) {
    IRECT shown;
    ASSERT_NE(x.WaitForPopup(kPopupClass, 3000, &shown), 0u);
    x.Key(kKeysymDown);
    x.Key(kKeysymDown);
    x.Key(kKeysymReturn);
    EXPECT_TRUE(x.PopupGone(kPopupClass, 2000));
  });
  ASSERT_TRUE(returned);
  EXPECT_EQ(chosen, &menu);
  EXPECT_EQ(menu.GetChosenItemIdx(), 1);
  // The editor is still answering: a wheel step reaches the host.
  Drive([&](XDriver& x) {
    x.Move(RootX(176), RootY(132));
    x.Click(4);
  });
  ASSERT_FALSE(mRecorder->Records().empty());
  EXPECT_EQ(mRecorder->Records().back().kind, 'p');
}

} // namespace
} // namespace e2e
