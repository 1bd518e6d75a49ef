// The standard controls a click or drag drives: what each step of a gesture
// does to the value the host hears and to the frame shown.
#include <gtest/gtest.h>

#include <vector>

#include "editor/IBitmapOverlayControl.h"
#include "editor/IFaderControl.h"
#include "editor/IFileSelectorControl.h"
#include "editor/IInvisibleSwitchControl.h"
#include "editor/IRadioButtonsControl.h"
#include "editor/ISwitchControl.h"
#include "editor/ISwitchFramesControl.h"
#include "tests/editor/control_rig.h"

namespace {

struct Step {
  char action; // c click, d down, m drag, u up, w double click, - none
  int x, y;
  double value;         // the control's value after the step
  int frame;            // the frame shown at the probe point (0: nothing drawn)
  int px = -1, py = -1; // the probe point, when not the pointer's
};

enum Kind {
  kSwitch,
  kPopUp,
  kContact,
  kOverlay,
  kFramesSideBySide,
  kFramesStacked,
  kInvisible,
  kRadio,
  kRadioReversed,
  kRadioHorizontal,
  kFader,
  kFaderHorizontal,
  kFaderHandleOnly
};

struct Case {
  const char* name;
  Kind kind;
  int size; // a number of frames, buttons or the fader's length
  double start;
  std::vector<Step> steps;
};

const int kMode = RecordingPlug::kMode, kOn = RecordingPlug::kOnOff, kIn = RecordingPlug::kIn;

// Controls at (0, 0) with frames of 8 x 8 (16 x 8 for the frames switches).
IControl* Make(ControlRig& rig, Kind kind, int size) {
  RecordingPlug* p = &rig.plug;
  const bool frames = kind == kFramesSideBySide || kind == kFramesStacked;
  // Switches have size frames, radio buttons two, fader handles one.
  const int nFrames = kind <= kFramesStacked ? size : kind <= kRadioHorizontal ? 2 : 1;
  IBitmap b = rig.Strip(frames ? 16 : 8, 8, nFrames);
  IRECT target(20, 20, 28, 28), column(0, 0, 8, 32), row(0, 0, 32, 8);
  if (kind == kSwitch) return new ISwitchControl(p, 0, 0, kMode, &b);
  if (kind == kPopUp) return new ISwitchPopUpControl(p, 0, 0, kMode, &b);
  if (kind == kContact) return new IContactControl(p, 0, 0, kOn, &b);
  if (kind == kOverlay) return new IBitmapOverlayControl(p, 0, 0, kOn, &b, &target);
  if (kind == kFramesSideBySide) return new ISwitchFramesControl(p, 0, 0, kIn, &b, true);
  if (kind == kFramesStacked) return new ISwitchFramesControl(p, 0, 0, kIn, &b);
  if (kind == kInvisible) return new IInvisibleSwitchControl(p, IRECT(0, 0, 8, 8), kOn);
  if (kind == kRadio) return new IRadioButtonsControl(p, column, kMode, size, &b);
  if (kind == kRadioReversed)
    return new IRadioButtonsControl(p, column, kMode, size, &b, kVertical, true);
  if (kind == kRadioHorizontal)
    return new IRadioButtonsControl(p, row, kMode, size, &b, kHorizontal);
  if (kind == kFader) return new IFaderControl(p, 0, 0, size, kIn, &b);
  if (kind == kFaderHorizontal) return new IFaderControl(p, 0, 0, size, kIn, &b, kHorizontal);
  if (kind == kFaderHandleOnly) return new IFaderControl(p, 0, 0, size, kIn, &b, kVertical, true);
  return nullptr;
}

void Act(IGraphicsHeadless& gui, const Step& s) {
  IMouseMod left(true);
  if (s.action == 'c' || s.action == 'd') gui.OnMouseDown(s.x, s.y, &left);
  if (s.action == 'm') gui.OnMouseDrag(s.x, s.y, &left);
  if (s.action == 'c' || s.action == 'u') gui.OnMouseUp(s.x, s.y, &left);
  if (s.action == 'w') gui.OnMouseDblClick(s.x, s.y, &left);
}

double LastValueSent(const RecordingPlug& plug) {
  for (auto e = plug.mEvents.rbegin(); e != plug.mEvents.rend(); ++e)
    if (e->what == 'i') return e->value;
  return -1.0;
}

void RunGesture(const Case& c) {
  ControlRig rig;
  IControl* control = rig.Attach(Make(rig, c.kind, c.size));
  rig.gui.Script().ChooseMenuItem({2}); // for the popup switch
  control->SetValue(c.start);
  rig.gui.Poll();
  for (size_t i = 0; i < c.steps.size(); ++i) {
    const Step& s = c.steps[i];
    Act(rig.gui, s);
    EXPECT_NEAR(control->GetValue(), s.value, 1e-12) << c.name << ", step " << i;
    const double sent = LastValueSent(rig.plug);
    if (sent >= 0.0) {
      EXPECT_EQ(sent, control->GetValue()) << c.name << ", step " << i;
    }
    EXPECT_EQ(rig.FrameAt(s.px < 0 ? s.x : s.px, s.py < 0 ? s.y : s.py), s.frame)
        << c.name << ", step " << i;
  }
}

TEST(ControlFamily, GesturesSetTheValueTheHostHearsAndTheFrameShown) {
  const Case cases[] = {
      {"switch steps a frame and wraps",
       kSwitch,
       3,
       0.5,
       {{'c', 2, 2, 1.0, 3}, {'c', 2, 2, 0.0, 1}, {'w', 2, 2, 0.5, 2}}},
      {"a one-frame switch toggles", kSwitch, 1, 0.0, {{'c', 2, 2, 1.0, 1}, {'c', 2, 2, 0.0, 1}}},
      {"popup switch takes the chosen value", kPopUp, 3, 0.0, {{'d', 2, 2, 1.0, 3}}},
      {"contact returns to 0 on release",
       kContact,
       2,
       0.0,
       {{'d', 2, 2, 1.0, 2}, {'u', 2, 2, 0.0, 1}}},
      {"overlay is hit in its target area while off",
       kOverlay,
       2,
       0.0,
       {{'c', 24, 24, 1.0, 2, 2, 2}, {'c', 24, 24, 1.0, 2, 2, 2}, {'c', 2, 2, 0.0, 0}}},
      {"frames side by side",
       kFramesSideBySide,
       4,
       0.5,
       {{'c', 1, 2, 0.0, 1}, {'c', 13, 2, 1.0, 4}, {'c', 6, 2, 1.0 / 3, 2}}},
      {"frames stacked", kFramesStacked, 4, 0.0, {{'c', 2, 5, 2.0 / 3, 3}}},
      {"one frame of frames toggles", kFramesStacked, 1, 0.0, {{'c', 2, 2, 1.0, 1}}},
      {"invisible switch", kInvisible, 1, 1.0, {{'c', 2, 2, 0.0, 0}, {'c', 2, 2, 1.0, 0}}},
      {"radio buttons spread from the top",
       kRadio,
       3,
       0.5,
       {{'-', 2, 14, 0.5, 2}, {'c', 2, 26, 1.0, 2}, {'-', 2, 14, 1.0, 1}, {'c', 2, 9, 1.0, 0}}},
      {"reversed radio buttons start at the bottom",
       kRadioReversed,
       3,
       0.5,
       {{'c', 2, 26, 0.0, 2}}},
      {"horizontal radio buttons",
       kRadioHorizontal,
       2,
       0.0,
       {{'c', 26, 2, 1.0, 2}, {'-', 2, 2, 1.0, 1}}},
      {"one radio button stands for 0", kRadio, 1, 0.5, {{'c', 2, 2, 0.0, 2}}},
      {"vertical fader snaps its handle to the pointer",
       kFader,
       40,
       0.5,
       {{'d', 2, 4, 1.0, 1},
        {'m', 2, 20, 0.5, 1, 2, 18},
        {'-', 2, 2, 0.5, 0},
        {'m', 2, 100, 0.0, 1, 2, 34},
        {'u', 2, 100, 0.0, 0, 2, 2}}},
      {"horizontal fader", kFaderHorizontal, 40, 0.0, {{'d', 20, 2, 0.5, 1, 18, 2}}},
      {"a fader no longer than its handle keeps its value",
       kFader,
       8,
       0.25,
       {{'d', 2, 7, 0.25, 1}}},
      {"a handle-only fader is hit on its handle alone",
       kFaderHandleOnly,
       40,
       1.0,
       {{'c', 2, 30, 1.0, 0}, {'c', 2, 6, 0.9375, 1, 2, 4}}},
  };
  for (const Case& c : cases) RunGesture(c);
}

TEST(ControlFamily, FrameSlicesTileTheRectangleWhateverItsWidth) {
  ControlRig rig;
  IBitmap strip = rig.Strip(7, 8, 4);
  ISwitchFramesControl* frames =
      rig.Attach(new ISwitchFramesControl(&rig.plug, 0, 0, kIn, &strip, true));
  int last = 0;
  for (int x = 0; x < 7; ++x) {
    const int j = frames->SliceAt(x, 2);
    EXPECT_TRUE(frames->SliceRECT(j).Contains(x, 2)) << x;
    EXPECT_TRUE(j == last || j == last + 1) << x;
    last = j;
  }
  EXPECT_EQ(last, 3);
  EXPECT_EQ(frames->SliceAt(7, 2), -1);
}

// A host that repaints while its file prompt is up, as a windowed one does.
class RepaintingHost : public IGraphicsHeadless {
public:
  using IGraphicsHeadless::IGraphicsHeadless;
  void PromptForFile(WDL_String* file, EFileAction action, WDL_String* dir,
                     char* extensions) override {
    Poll();
    mFrameWhilePrompting = GetPoint(2, 2).R / 4;
    IGraphicsHeadless::PromptForFile(file, action, dir, extensions);
  }
  int mFrameWhilePrompting = -1;
};

TEST(FileSelector, PromptsStepsTheValueAndIsDirtyOnceMoreAfterwards) {
  RecordingPlug plug;
  RepaintingHost& gui = *new RepaintingHost(&plug, 16, 16);
  gui.AttachPanelBackground(&COLOR_BLACK);
  IBitmap strip = FrameStrip(&gui, 8, 8, 1);
  IFileSelectorControl* selector = new IFileSelectorControl(
      &plug, IRECT(0, 0, 8, 8), RecordingPlug::kOnOff, &strip, kFileOpen, "/presets", "fxp fxb");
  gui.AttachControl(selector);
  plug.AttachGraphics(&gui);
  selector->SetValue(0.0);
  while (gui.Poll()) {
  }
  const char* chosen[] = {"/presets/a.fxp", ""};
  for (int i = 0; i < 2; ++i) {
    gui.Script().ChooseFile(chosen[i]);
    IMouseMod left(true);
    gui.OnMouseDown(2, 2, &left);
    EXPECT_EQ(gui.mFrameWhilePrompting, 1) << "the selecting frame shows during the prompt";
    const HeadlessCall* prompt = gui.Script().Last(HeadlessCall::kFilePrompt);
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->text, "/presets");
    EXPECT_EQ(prompt->detail, "fxp fxb");
    WDL_String file;
    selector->GetLastSelectedFileForPlug(&file);
    EXPECT_STREQ(file.Get(), chosen[i]);
    EXPECT_EQ(selector->GetValue(), i == 0 ? 1.0 : 0.0) << "it steps even when cancelled";
    EXPECT_EQ(LastValueSent(plug), selector->GetValue());
    EXPECT_TRUE(gui.Poll());
    EXPECT_EQ(gui.GetPoint(2, 2), COLOR_BLACK) << "and is gone after it";
    EXPECT_TRUE(gui.Poll()) << "done: dirty once more";
    EXPECT_FALSE(gui.Poll());
  }
}

} // namespace
