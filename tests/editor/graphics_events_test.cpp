// Routing of mouse and key events: hit order, capture, the host's menu and
// the begin/end notifications around a gesture.
#include <gtest/gtest.h>

#include "editor/IKnobControl.h"
#include "platform/headless/IGraphicsHeadless.h"
#include "tests/editor/editor_fixture.h"
#include "tests/editor/probe_control.h"

namespace {

// The plug-in owns the editor once attached.
struct Routing {
  RecordingPlug plug;
  IGraphicsHeadless& gui;
  ProbeControl *background, *lower, *upper, *plain;
  explicit Routing(EAPI api = kAPIVST3) : plug(api), gui(*new IGraphicsHeadless(&plug, 100, 100)) {
    gui.AttachControl(background = new ProbeControl(&plug, IRECT(0, 0, 100, 100)));
    gui.AttachControl(lower = new ProbeControl(&plug, IRECT(10, 10, 50, 50), 0));
    gui.AttachControl(upper = new ProbeControl(&plug, IRECT(30, 30, 70, 70), 1));
    gui.AttachControl(plain = new ProbeControl(&plug, IRECT(80, 80, 90, 90)));
    plug.AttachGraphics(&gui);
  }
};

TEST(GraphicsEvents, LaterControlsLieOnTopAndTheCaptureFollowsTheDrag) {
  Routing t;
  IMouseMod left(true);
  t.gui.OnMouseDown(40, 40, &left);
  EXPECT_EQ(t.gui.GetCaptureIdx(), 2);
  t.gui.OnMouseDrag(40, 40, &left); // unchanged position: not forwarded
  t.gui.OnMouseDrag(95, 5, &left);  // outside every control: still the captured one
  t.gui.OnMouseUp(95, 5, &left);
  EXPECT_EQ(t.upper->mLog, "DM55,-35U");
  EXPECT_EQ(t.lower->mLog, "");
  EXPECT_EQ(t.gui.GetCaptureIdx(), -1);
  t.gui.OnMouseDrag(20, 20, &left); // no capture: ignored
  EXPECT_EQ(t.lower->mLog, "");

  t.upper->Hide(true);
  t.gui.OnMouseDown(40, 40, &left);
  t.upper->Hide(false);
  t.upper->GrayOut(true);
  t.gui.OnMouseDown(45, 45, &left);
  EXPECT_EQ(t.lower->mLog, "DD") << "hidden and greyed controls are not hit";
  EXPECT_EQ(t.upper->mLog, "DM55,-35U");
}

TEST(GraphicsEvents, GestureSendsBeginValuesAndEnd) {
  Routing t;
  t.plug.mEvents.clear();
  IMouseMod left(true);
  t.gui.OnMouseDown(20, 20, &left);
  t.gui.OnMouseUp(20, 20, &left);
  // A mouse up without a down still closes a gesture for the host.
  t.gui.OnMouseUp(60, 60, &left);
  // Controls without a parameter never notify.
  t.gui.OnMouseDown(85, 85, &left);
  t.gui.OnMouseUp(85, 85, &left);
  EXPECT_EQ(t.plug.Trail(), "b0 e0 e1");
}

// A gesture the user could not finish (another press came while the button
// was held, or the window closed) still ends with the host, once.
TEST(GraphicsEvents, AGestureCutShortStillEndsWithTheHost) {
  Routing t;
  t.plug.mEvents.clear();
  IMouseMod left(true);
  t.gui.OnMouseDown(20, 20, &left);
  t.gui.OnMouseDown(60, 60, &left);
  t.gui.OnMouseDblClick(20, 20, &left); // and returns lower to its default: i0
  t.gui.OnMouseDown(60, 60, &left);
  t.gui.EndMouseCapture();
  t.gui.EndMouseCapture();
  t.gui.OnMouseDown(85, 85, &left); // no parameter: nothing to end
  t.gui.EndMouseCapture();
  EXPECT_EQ(t.plug.Trail(), "b0 e0 b1 e1 i0 b1 e1");
  EXPECT_EQ(t.gui.GetCaptureIdx(), -1);
}

TEST(GraphicsEvents, RightClickOnAParameterOpensTheHostMenuOnlyInVST3) {
  struct Case {
    EAPI api;
    int x, y;
    const char* trail;
    const char* lowerLog;
    const char* plainLog;
  } cases[] = {
      {kAPIVST3, 20, 20, "m0", "", ""},     // the host's menu, the control sees nothing
      {kAPIVST3, 85, 85, "", "", "D(R)"},   // no parameter: the control gets the click
      {kAPIVST2, 20, 20, "b0", "D(R)", ""}, // other formats: an ordinary right click
  };
  for (const Case& c : cases) {
    Routing t(c.api);
    t.plug.mEvents.clear();
    IMouseMod right(false, true);
    t.gui.OnMouseDown(c.x, c.y, &right);
    EXPECT_EQ(t.plug.Trail(), c.trail);
    EXPECT_EQ(t.lower->mLog, c.lowerLog);
    EXPECT_EQ(t.plain->mLog, c.plainLog);
    if (c.trail[0] == 'm') {
      EXPECT_EQ(t.gui.GetCaptureIdx(), -1);
      EXPECT_EQ(t.plug.mEvents[0].value, 20 * 1000.0 + 20);
    }
  }
}

TEST(GraphicsEvents, KeysGoToTheControlOrTheKeyCatcher) {
  Routing t;
  EXPECT_TRUE(t.gui.OnKeyDown(40, 40, 3));
  EXPECT_EQ(t.upper->mLog, "K3");
  EXPECT_FALSE(t.gui.OnKeyDown(5, 5, 0)) << "background without a key catcher: not handled";
  ProbeControl* catcher = new ProbeControl(&t.plug, IRECT());
  t.gui.AttachKeyCatcher(catcher);
  EXPECT_TRUE(t.gui.OnKeyDown(5, 5, 7));
  EXPECT_TRUE(t.gui.OnKeyDown(99, 1, 8)); // over nothing but the background
  EXPECT_EQ(catcher->mLog, "K7K8");
  EXPECT_EQ(t.background->mLog, "");
}

TEST(GraphicsEvents, MouseOverNotifiesTheOldControlWhenThePointerMoves) {
  Routing t;
  IMouseMod none;
  EXPECT_FALSE(t.gui.OnMouseOver(20, 20, &none)) << "off until enabled";
  t.gui.HandleMouseOver(true);
  t.upper->GrayOut(true);
  t.upper->SetMOWhenGrayed(true);
  EXPECT_TRUE(t.gui.OnMouseOver(20, 20, &none));
  EXPECT_TRUE(t.gui.OnMouseOver(40, 40, &none));
  EXPECT_EQ(t.lower->mLog, "OX");
  EXPECT_EQ(t.upper->mLog, "O");
  t.gui.OnMouseOut();
  EXPECT_EQ(t.gui.GetMouseOverIdx(), -1);
}

TEST(GraphicsEvents, DoubleClickRestoresTheDefaultOrActsAsADown) {
  Routing t;
  IMouseMod left(true);
  // No value ever came from the plug-in: no default, the click is ignored.
  t.plain->SetValue(0.9);
  EXPECT_FALSE(t.gui.OnMouseDblClick(85, 85, &left));
  EXPECT_DOUBLE_EQ(t.plain->GetValue(), 0.9);
  // The attach pushed In's value (0 dB, 0.5 normalized): that is the default.
  t.lower->SetValueFromUserInput(0.9);
  t.plug.mEvents.clear();
  t.gui.OnMouseDblClick(20, 20, &left);
  EXPECT_DOUBLE_EQ(t.lower->GetValue(), 0.5);
  EXPECT_EQ(t.plug.Trail(), "i0") << "no begin notification on this path";
  t.upper->SetDblAsSingleClick(true);
  EXPECT_TRUE(t.gui.OnMouseDblClick(40, 40, &left));
  EXPECT_EQ(t.gui.GetCaptureIdx(), 2);
  EXPECT_EQ(t.upper->mLog, "D");
}

TEST(GraphicsEvents, AutomationQueryNamesTheParameterUnderThePointerOnce) {
  Routing t;
  EXPECT_EQ(t.gui.GetParamIdxForPTAutomation(40, 40), 1);
  EXPECT_EQ(t.gui.GetLastClickedParamForPTAutomation(), 1);
  EXPECT_EQ(t.gui.GetLastClickedParamForPTAutomation(), -1);
  EXPECT_EQ(t.gui.GetParamIdxForPTAutomation(5, 5), -1) << "the background";
}

} // namespace
