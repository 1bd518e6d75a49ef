// Drawn editors compared pixel for pixel with committed PNGs, and text
// measuring with the project's fonts.
#include <gtest/gtest.h>

#include <cmath>

#include "editor/IBitmapControl.h"
#include "editor/IKnobMultiControl.h"
#include "editor/IPanelControl.h"
#include "editor/ITextControl.h"
#include "lice/lice.h"
#include "lice/lice_lines.h"
#include "platform/headless/IGraphicsHeadless.h"
#include "tests/editor/editor_fixture.h"
#include "tests/editor/golden.h"

namespace {

// Art made in memory and handed to the cache, so no PNG decoder or font is involved.
IBitmap Retained(IGraphics* gui, LICE_IBitmap* bitmap, int frames) {
  IBitmap handle(bitmap, bitmap->getWidth(), bitmap->getHeight(), frames);
  gui->RetainBitmap(&handle);
  return handle;
}

LICE_IBitmap* KnobStrip(int size, int frames) {
  LICE_MemBitmap* bm = new LICE_MemBitmap(size, size * frames);
  LICE_Clear(bm, 0);
  for (int f = 0; f < frames; ++f) {
    const float c = size * 0.5f, cy = f * size + c, r = size * 0.4f;
    LICE_FillCircle(bm, c, cy, r, LICE_RGBA(120, 110, 100, 255), 1.0f, 0, true);
    const double a = (-135.0 + 270.0 * f / (frames - 1)) * M_PI / 180.0;
    LICE_FLine(bm, c, cy, c + std::sin(a) * r, cy - std::cos(a) * r, LICE_RGBA(255, 140, 0, 255),
               1.0f, 0, true);
  }
  return bm;
}

TEST(Golden, BitmapEditor) {
  RecordingPlug plug;
  IGraphicsHeadless& gui = *new IGraphicsHeadless(&plug, 96, 48);
  LICE_MemBitmap* back = new LICE_MemBitmap(96, 48);
  for (int y = 0; y < 48; ++y) LICE_FillRect(back, 0, y, 96, 1, LICE_RGBA(30 + y, 24, 20, 255));
  IBitmap background = Retained(&gui, back, 1);
  IBitmap strip = Retained(&gui, KnobStrip(28, 41), 41);
  gui.AttachControl(new IBitmapControl(&plug, 0, 0, &background, IChannelBlend::kBlendClobber));
  // In at 0.5 (its default), Out at the top, Distort greyed out: three frames, two weights.
  const int params[3] = {RecordingPlug::kIn, RecordingPlug::kOut, RecordingPlug::kDistort};
  for (int i = 0; i < 3; ++i)
    gui.AttachControl(new IKnobMultiControl(&plug, 4 + 31 * i, 10, params[i], &strip));
  plug.AttachGraphics(&gui);
  gui.SetParameterFromPlug(RecordingPlug::kOut, 20.0, false);
  gui.GrayOutControl(RecordingPlug::kDistort, true);
  ASSERT_TRUE(gui.Poll());
  EXPECT_EQ(CompareWithGolden(gui.GetDrawBitmap(), "bitmap_editor.png"), "");
}

TEST(Golden, ReadoutText) {
  RecordingPlug plug;
  IGraphicsHeadless& gui = *new IGraphicsHeadless(&plug, 100, 20);
  const IColor slot(255, 20, 18, 16);
  gui.AttachPanelBackground(&slot);
  IText style = ReadoutStyle();
  gui.AttachControl(new ITextControl(&plug, IRECT(0, 0, 100, 20), &style, "-12.50 dB"));
  plug.AttachGraphics(&gui);
  ASSERT_TRUE(gui.Poll());
  EXPECT_EQ(CompareWithGolden(gui.GetDrawBitmap(), "readout_text.png"), "");
}

TEST(Text, MeasuringFitsTheRectangleToTheTextForEachAlignment) {
  RecordingPlug plug;
  IGraphicsHeadless gui(&plug, 10, 10);
  IText style = ReadoutStyle();
  char text[] = "50.00 %";
  IRECT probe(0, 0, 0, 0);
  ASSERT_TRUE(gui.MeasureIText(&style, text, &probe));
  const int w = probe.W(), h = probe.H();
  ASSERT_GT(w, 20);
  EXPECT_NEAR(h, 13, 2) << "the two-pass fit brings the line height near the size";
  struct Case {
    IText::EAlign align;
    IRECT expected;
  } cases[] = {{IText::kAlignNear, {10, 5, 10 + w, 5 + h}},
               {IText::kAlignCenter, {60 - w / 2, 5, 60 - w / 2 + w, 5 + h}},
               {IText::kAlignFar, {110 - w, 5, 110, 5 + h}}};
  for (const Case& c : cases) {
    style.mAlign = c.align;
    IRECT rect(10, 5, 110, 25);
    EXPECT_TRUE(gui.DrawIText(&style, text, &rect, true));
    EXPECT_EQ(rect, c.expected) << c.align;
  }
  char empty[] = "";
  IRECT untouched(1, 2, 3, 4);
  EXPECT_TRUE(gui.DrawIText(&style, empty, &untouched, true));
  EXPECT_EQ(untouched, IRECT(1, 2, 3, 4));
}

} // namespace
