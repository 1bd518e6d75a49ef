// Controls that draw more than one frame of a strip: captions of the
// parameter's value, text from glyph strips, and knobs and faders drawn from
// lines and turned bitmaps.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "editor/IBitmapTextControl.h"
#include "editor/ICaptionControl.h"
#include "editor/IFaderControl.h"
#include "editor/IKnobLineControl.h"
#include "editor/IKnobRotaterControl.h"
#include "lice/lice_lines.h"
#include "tests/editor/control_rig.h"
#include "tests/editor/golden.h"

namespace {

TEST(Caption, ShowsTheParameterTextOfItsValueWithOrWithoutTheLabel) {
  struct Case {
    int param;
    bool label;
    double value;
    const char* caption;
  } cases[] = {{RecordingPlug::kIn, true, 0.75, "10.00 dB"},
               {RecordingPlug::kIn, false, 0.75, "10.00"},
               {RecordingPlug::kMode, false, 1.0, "Fold"},
               {RecordingPlug::kDistort, true, 0.0, "0.01 %"}};
  for (const Case& c : cases) {
    ControlRig rig;
    IText style(12, &COLOR_WHITE);
    ICaptionControl* caption =
        rig.Attach(new ICaptionControl(&rig.plug, IRECT(0, 0, 64, 16), c.param, &style, c.label));
    rig.gui.SetParameterFromPlug(c.param, c.value, true);
    rig.gui.Poll();
    EXPECT_TRUE(caption->TextEquals(c.caption)) << c.caption << " is what the draw showed";
  }
}

TEST(Caption, ClicksAndDoubleClicksPromptOnlyOnceEnabled) {
  ControlRig rig;
  IText style;
  ICaptionControl* caption =
      rig.Attach(new ICaptionControl(&rig.plug, IRECT(0, 0, 64, 16), RecordingPlug::kIn, &style));
  IMouseMod left(true);
  rig.gui.OnMouseDown(5, 5, &left);
  EXPECT_EQ(rig.gui.Script().Count(HeadlessCall::kTextEntry), 0);
  caption->DisablePrompt(false);
  rig.gui.OnMouseDown(5, 5, &left);
  rig.gui.OnMouseDblClick(5, 5, &left);
  EXPECT_EQ(rig.gui.Script().Count(HeadlessCall::kTextEntry), 2);
  EXPECT_EQ(rig.gui.Script().Last(HeadlessCall::kTextEntry)->text, "0.00");
}

// Glyph frame f (space = 1) is red 4 x f: a pixel tells which glyph a cell shows.
TEST(BitmapText, CellsAdvanceFromOneCellInOrFromTheCentreAndStopAtTheFit) {
  struct Case {
    const char* str;
    IText::EAlign align;
    int charW, charH, offset, rectW;
    int left, top, advance; // where the first cell lies, and the step between cells
    std::vector<int> glyphs;
  } cases[] = {
      {"AB", IText::kAlignNear, 6, 12, 0, 60, 6, 4, 6, {34, 35}},
      {"AB", IText::kAlignCenter, 6, 12, 0, 60, 24, 4, 6, {34, 35}},
      {"AB", IText::kAlignNear, 6, 12, 2, 60, 6, 4, 8, {34, 35}},
      {"ABCDEFGHIJ", IText::kAlignFar, 6, 12, 0, 60, 6, 4, 6, {34, 35, 36, 37, 38, 39, 40, 41}},
      {"a\x01 ", IText::kAlignNear, 6, 12, 0, 60, 6, 4, 6, {1, 1, 1}}, // not in the strip
      {"A", IText::kAlignNear, 6, 16, 0, 60, 6, 2, 6, {34}},           // a cell taller than a glyph
      {"AB", IText::kAlignNear, 6, 12, 0, 11, 6, 4, 6, {}},            // no room for a character
      {"AB", IText::kAlignNear, 0, 12, 0, 60, 1, 4, 6, {}},            // cells of no width
  };
  for (const Case& c : cases) {
    ControlRig rig;
    IBitmap glyphs = rig.Strip(6, 12, 59);
    IText style;
    style.mAlign = c.align;
    rig.Attach(new IBitmapTextControl(&rig.plug, IRECT(0, 0, c.rectW, 20), &glyphs, c.str, &style,
                                      c.charW, c.charH, c.offset));
    rig.gui.Poll();
    const std::string name = std::string(c.str) + " in " + std::to_string(c.rectW);
    EXPECT_EQ(rig.FrameAt(c.left - 1, c.top + 1), 0) << name;
    const int n = static_cast<int>(c.glyphs.size());
    for (int i = 0; i <= n; ++i) {
      const int x = c.left + i * c.advance;
      EXPECT_EQ(rig.FrameAt(x, c.top), i < n ? c.glyphs[i] : 0) << name << ", cell " << i;
      EXPECT_EQ(rig.FrameAt(x, c.top - 1), 0) << name << ", above cell " << i;
      EXPECT_EQ(rig.FrameAt(x, c.top + 12), 0) << name << ", below cell " << i;
    }
  }
}

TEST(DrawnKnobs, AnglesSweepFromMinToMaxAndHoldWildValuesAtTheEnds) {
  RecordingPlug plug;
  IBitmap disc(nullptr, 16, 16); // the angle needs no pixels
  IKnobLineControl line(&plug, IRECT(0, 0, 16, 16), -1, &COLOR_WHITE, 0.0, 0.0, -2.0, 2.0);
  IKnobRotaterControl rotater(&plug, 0, 0, -1, &disc, -2.0, 2.0);
  IKnobRotatingMaskControl mask(&plug, 0, 0, -1, &disc, &disc, &disc, -120.0, 120.0);
  const struct {
    double value, share;
  } cases[] = {{0.0, 0.0}, {0.25, 0.25}, {1.0, 1.0}, {-1.0, 0.0}, {3.0, 1.0}, {NAN, 0.0}};
  for (const auto& c : cases) {
    for (IControl* knob : {static_cast<IControl*>(&line), static_cast<IControl*>(&rotater),
                           static_cast<IControl*>(&mask)})
      knob->SetValue(c.value);
    EXPECT_FLOAT_EQ(line.GetAngle(), static_cast<float>(-2.0 + 4.0 * c.share)) << c.value;
    EXPECT_DOUBLE_EQ(rotater.GetAngle(), -2.0 + 4.0 * c.share) << c.value;
    EXPECT_DOUBLE_EQ(mask.GetAngle(), -120.0 + 240.0 * c.share) << c.value;
  }
}

IBitmap Retained(IGraphics* gui, LICE_IBitmap* bitmap, int frames = 1) {
  IBitmap handle(bitmap, bitmap->getWidth(), bitmap->getHeight(), frames);
  gui->RetainBitmap(&handle);
  return handle;
}

// A disc with a pointer bar from the centre up, on a transparent surround.
LICE_IBitmap* PointerDisc(int size, LICE_Pixel32 disc, LICE_Pixel32 bar) {
  LICE_MemBitmap* bm = new LICE_MemBitmap(size, size);
  LICE_Clear(bm, 0);
  const float c = size * 0.5f;
  if (disc) LICE_FillCircle(bm, c, c, size * 0.45f, disc, 1.0f, 0, true);
  if (bar) LICE_FillRect(bm, size / 2 - 1, 2, 3, size / 2 - 2, bar, 1.0f, 0);
  return bm;
}

// The knobs drawn from lines and turned bitmaps, and a fader, some hanging past
// the editor's edges: what they draw is pinned pixel for pixel, and nothing
// may land outside.
TEST(Golden, DrawnControls) {
  RecordingPlug plug;
  IGraphicsHeadless& gui = *new IGraphicsHeadless(&plug, 120, 48);
  const IColor panel(255, 36, 30, 28);
  gui.AttachPanelBackground(&panel);
  const IColor amber(255, 255, 150, 20);
  gui.AttachControl(
      new IKnobLineControl(&plug, IRECT(4, 4, 36, 36), RecordingPlug::kIn, &amber, 4.0, 0.0));
  IBitmap rotating =
      Retained(&gui, PointerDisc(28, LICE_RGBA(110, 104, 96, 255), LICE_RGBA(255, 150, 20, 255)));
  gui.AttachControl(new IKnobRotaterControl(&plug, 40, 6, RecordingPlug::kOut, &rotating));
  IBitmap base = Retained(&gui, PointerDisc(28, LICE_RGBA(90, 84, 78, 255), 0));
  IBitmap mask = Retained(&gui, PointerDisc(28, LICE_RGBA(0, 0, 0, 255), 0));
  IBitmap top = Retained(&gui, PointerDisc(28, 0, LICE_RGBA(240, 240, 240, 255)));
  gui.AttachControl(
      new IKnobRotatingMaskControl(&plug, 100, 6, RecordingPlug::kDistort, &base, &mask, &top));
  LICE_MemBitmap* handle = new LICE_MemBitmap(10, 6);
  LICE_FillRect(handle, 0, 0, 10, 6, LICE_RGBA(200, 200, 200, 255), 1.0f, 0);
  IBitmap handleBitmap = Retained(&gui, handle);
  gui.AttachControl(new IFaderControl(&plug, 72, 20, 40, RecordingPlug::kIn, &handleBitmap));
  plug.AttachGraphics(&gui);
  gui.SetParameterFromPlug(RecordingPlug::kIn, 0.25, true);
  gui.SetParameterFromPlug(RecordingPlug::kOut, 0.75, true);
  gui.SetParameterFromPlug(RecordingPlug::kDistort, 0.9, true);
  ASSERT_TRUE(gui.Poll());
  EXPECT_EQ(CompareWithGolden(gui.GetDrawBitmap(), "drawn_controls.png"), "");
}

} // namespace
