// Base control behaviour and the controls the effect uses.
#include <gtest/gtest.h>

#include <cmath>

#include "editor/IBitmapControl.h"
#include "editor/IKnobMultiControl.h"
#include "editor/IPanelControl.h"
#include "editor/ITextControl.h"
#include "editor/IURLControl.h"
#include "lice/lice.h"
#include "platform/headless/IGraphicsHeadless.h"
#include "tests/editor/editor_fixture.h"

namespace {

struct KnobRig {
  RecordingPlug plug;
  IGraphicsHeadless& gui = *new IGraphicsHeadless(&plug, 100, 100);
  IKnobMultiControl* knob;
  KnobRig() {
    // A 40-pixel-high knob without art: the geometry is all a drag needs.
    IBitmap strip(nullptr, 40, 40 * 41, 41);
    gui.AttachControl(knob = new IKnobMultiControl(&plug, 0, 0, RecordingPlug::kIn, &strip));
    plug.AttachGraphics(&gui);
  }
};

TEST(Knob, DragMovesByDistanceOverHeightAndGearingTenTimesFinerWithModifiers) {
  struct Case {
    int dY;
    IMouseMod mod;
    double expected;
  } cases[] = {
      {-40, IMouseMod(true), 0.5 + 0.25},                      // one height up: a quarter
      {-40, IMouseMod(true, false, true), 0.5 + 0.025},        // shift: forty heights
      {-40, IMouseMod(true, false, false, true), 0.5 + 0.025}, // control
      {80, IMouseMod(true), 0.0},                              // clamped at the bottom
      {-400, IMouseMod(true), 1.0},                            // and at the top
  };
  for (const Case& c : cases) {
    KnobRig t;
    IMouseMod mod = c.mod;
    t.plug.mEvents.clear();
    t.gui.OnMouseDown(10, 10, &mod);
    t.gui.OnMouseDrag(10, 10 + c.dY, &mod);
    t.gui.OnMouseUp(10, 10 + c.dY, &mod);
    EXPECT_NEAR(t.knob->GetValue(), c.expected, 1e-12) << c.dY;
    EXPECT_EQ(t.plug.Trail(), "b0 i0 e0");
    EXPECT_NEAR(t.plug.mEvents[1].value, c.expected, 1e-12) << "the host gets the clamped value";
  }
}

TEST(Knob, AKnobAtTheTopStillSendsItsValueOnEveryDragStep) {
  KnobRig t;
  t.knob->SetValue(1.0);
  IMouseMod left(true);
  t.gui.OnMouseDown(10, 10, &left);
  t.gui.OnMouseDrag(10, 5, &left);
  t.gui.OnMouseDrag(10, 1, &left);
  EXPECT_EQ(t.plug.Trail(), "b0 i0 i0");
  EXPECT_EQ(t.plug.mEvents[2].value, 1.0);
}

TEST(Knob, ANaNValueIsHeldAtTheLowClampBeforeItReachesTheHost) {
  KnobRig t;
  t.knob->SetValue(NAN);
  t.knob->SetDirty(true);
  EXPECT_EQ(t.knob->GetValue(), 0.0);
  ASSERT_EQ(t.plug.Trail(), "i0");
  EXPECT_EQ(t.plug.mEvents[0].value, 0.0);
  // And no value for "no parameter" reaches the controls without one.
  IControl* unbound =
      t.gui.GetControl(t.gui.AttachControl(new IPanelControl(&t.plug, IRECT(), &COLOR_RED)));
  t.gui.SetParameterFromPlug(-1, 0.25, true);
  t.gui.SetParameterFromPlug(-1, 0.75, true);
  EXPECT_EQ(unbound->GetValue(), 0.0);
}

TEST(Knob, WheelStepsLandExactlyOnTheClamps) {
  struct Case {
    double start, clampHi;
    int d;
    bool fine;
    double expected;
  } cases[] = {
      {0.995, 1.0, 1, false, 1.0}, {0.795, 0.8, 1, false, 0.8}, {0.003, 1.0, -1, false, 0.0},
      {0.5, 1.0, 1, true, 0.501},  {0.5, 1.0, -3, false, 0.47},
  };
  for (const Case& c : cases) {
    KnobRig t;
    t.gui.ClampControl(RecordingPlug::kIn, 0.0, c.clampHi, true);
    t.knob->SetValue(c.start);
    IMouseMod mod(false, false, c.fine);
    t.gui.OnMouseWheel(10, 10, &mod, c.d);
    EXPECT_NEAR(t.knob->GetValue(), c.expected, 1e-12);
    if (c.expected == c.clampHi) {
      EXPECT_EQ(t.knob->GetValue(), c.clampHi);
    }
  }
}

TEST(BitmapControl, FrameFollowsTheValueAndHoldsTheEnds) {
  struct Case {
    double value;
    int frames, expected;
  } cases[] = {{0.5, 41, 21},   {1.0, 41, 41}, {0.0, 41, 1},   {0.0124, 41, 1},
               {0.0126, 41, 2}, {-3.0, 41, 1}, {7.0, 41, 41},  {NAN, 41, 1},
               {0.7, 1, 1},     {0.7, 0, 1},   {1.0, 128, 128}};
  for (const Case& c : cases)
    EXPECT_EQ(FrameForValue(c.value, c.frames), c.expected) << c.value << " of " << c.frames;
}

TEST(Control, GreyingOutWeighsADrawAtAQuarterAndIgnoresClicks) {
  RecordingPlug plug;
  IGraphicsHeadless& gui = *new IGraphicsHeadless(&plug, 8, 8);
  gui.AttachPanelBackground(&COLOR_BLACK);
  IPanelControl* panel = new IPanelControl(&plug, IRECT(0, 0, 8, 8), &COLOR_WHITE);
  gui.AttachControl(panel);
  plug.AttachGraphics(&gui);
  panel->GrayOut(true);
  EXPECT_FLOAT_EQ(panel->GetBlend()->mWeight, 0.25f);
  EXPECT_EQ(gui.GetMouseControlIdx(4, 4), 0) << "a click goes past it";
  gui.Poll();
  const IColor drawn = gui.GetPoint(4, 4);
  EXPECT_NEAR(drawn.R, 64, 1);
  panel->GrayOut(false);
  EXPECT_FLOAT_EQ(panel->GetBlend()->mWeight, 1.0f);
  gui.Poll();
  EXPECT_EQ(gui.GetPoint(4, 4), COLOR_WHITE);
}

TEST(Control, ValueDisplayControlShowsTheParameterTextAfterAUserChange) {
  KnobRig t;
  IText style;
  ITextControl* display = new ITextControl(&t.plug, IRECT(0, 50, 60, 60), &style, "");
  ITextControl* name = new ITextControl(&t.plug, IRECT(0, 60, 60, 70), &style, "");
  t.gui.AttachControl(display);
  t.gui.AttachControl(name);
  t.knob->SetValDisplayControl(display);
  t.knob->SetNameDisplayControl(name);
  t.knob->SetValueFromUserInput(0.75);
  EXPECT_TRUE(display->TextEquals("10.00 dB"));
  EXPECT_TRUE(name->TextEquals("In"));
}

TEST(TextControl, TheSameTextDoesNotMarkItDirty) {
  RecordingPlug plug;
  IText style;
  ITextControl text(&plug, IRECT(0, 0, 10, 10), &style, "50 %");
  text.SetClean();
  text.SetTextFromPlug("50 %");
  EXPECT_FALSE(text.IsDirty());
  text.SetTextFromPlug("51 %");
  EXPECT_TRUE(text.IsDirty());
  EXPECT_TRUE(text.TextEquals("51 %"));
}

TEST(URLControl, OpensTheAddressThenTheFallbackAndNothingWhenBothAreEmpty) {
  // A file:// address of a deep folder is opened whole, not cut.
  const std::string deep = "file:///" + std::string(300, 'd') + "/index.html";
  struct Case {
    const char *url, *backup;
    bool firstOpens;
    const char* opened; // the addresses asked for, separated by spaces
  } cases[] = {{"https://a", "https://b", true, "https://a"},
               {"https://a", "https://b", false, "https://a https://b"},
               {"", "https://b", true, "https://b"},
               {"", "", true, ""},
               {deep.c_str(), "", true, deep.c_str()}};
  for (const Case& c : cases) {
    RecordingPlug plug;
    IGraphicsHeadless& gui = *new IGraphicsHeadless(&plug, 10, 10);
    gui.AttachControl(new IURLControl(&plug, IRECT(0, 0, 10, 10), c.url, c.backup, "offline"));
    plug.AttachGraphics(&gui);
    gui.Script().OpenURLSucceeds(c.firstOpens);
    IMouseMod right(false, true); // any button
    gui.OnMouseDown(5, 5, &right);
    std::string opened;
    for (const HeadlessCall& call : gui.Script().Calls()) {
      if (call.kind != HeadlessCall::kOpenURL) continue;
      opened += (opened.empty() ? "" : " ") + call.text;
      EXPECT_EQ(call.detail, "offline");
    }
    EXPECT_EQ(opened, c.opened);
  }
}

} // namespace
