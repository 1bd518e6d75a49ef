// The module-wide bitmap and font caches, missing bitmaps, and bitmap
// drawing given hostile offsets, sizes and frames.
#include <gtest/gtest.h>

#include "editor/IBitmapControl.h"
#include "editor/IKnobMultiControl.h"
#include "editor/ITextControl.h"
#include "editor/ModuleCaches.h"
#include "lice/lice.h"
#include "lice/lice_text.h"
#include "platform/headless/IGraphicsHeadless.h"
#include "tests/editor/editor_fixture.h"

namespace {

TEST(Caches, ASecondEditorDecodesNoBitmapAndCreatesNoFont) {
  RecordingPlug first;
  IGraphicsHeadless* a = BuildEffectEditor(&first);
  a->Poll(); // draws the readouts: their font now exists
  const int decoded = IGraphicsHeadless::DecodedBitmaps();
  const int bitmaps = BitmapCache().Added(), fonts = FontCache().Added();

  RecordingPlug second;
  IGraphicsHeadless* b = BuildEffectEditor(&second);
  b->Poll();
  EXPECT_EQ(IGraphicsHeadless::DecodedBitmaps(), decoded);
  EXPECT_EQ(BitmapCache().Added(), bitmaps);
  EXPECT_EQ(FontCache().Added(), fonts);
  EXPECT_EQ(a->LoadIBitmap(kKnobInID, "x").mData, b->LoadIBitmap(kKnobInID, "other/name.png").mData)
      << "keyed by ID alone";

  // Styles that differ only in colour share one font.
  IText red = ReadoutStyle(), blue = ReadoutStyle();
  red.mColor = COLOR_RED;
  blue.mColor = COLOR_BLUE;
  EXPECT_EQ(b->CacheFont(&red), b->CacheFont(&blue));
  EXPECT_EQ(FontCache().Added(), fonts);
}

TEST(Caches, OutliveTheEditorsAndAreReleasedOnlyWhenAsked) {
  {
    RecordingPlug plug;
    BuildEffectEditor(&plug)->Poll();
  } // the editor is gone; its bitmaps and fonts stay for the next one
  EXPECT_GE(BitmapCache().Size(), 4);
  EXPECT_GE(FontCache().Size(), 1);
  EXPECT_GT(LICE_CachedFont::LiveFontCount(), 0);

  ReleaseModuleCaches();
  EXPECT_EQ(BitmapCache().Size(), 0);
  EXPECT_EQ(FontCache().Size(), 0);
  EXPECT_EQ(LICE_CachedFont::LiveFontCount(), 0);

  // A later editor fills them again.
  RecordingPlug plug;
  IGraphicsHeadless* gui = BuildEffectEditor(&plug);
  gui->Poll();
  EXPECT_EQ(BitmapCache().Size(), 4);
  EXPECT_NE(gui->GetPoint(60, 237), gui->GetPoint(5, 237)) << "the In knob is drawn";
}

TEST(Caches, AMissingBitmapDrawsNothingAndTheEditorStillOpens) {
  RecordingPlug plug;
  IGraphicsHeadless& gui = *new IGraphicsHeadless(&plug, 40, 40, 0, EffectArtDir().c_str());
  gui.AttachBackground(9104, "resources/img/missing_background.png");
  IBitmap missing = gui.LoadIBitmap(9101, "resources/img/missing_knob.png", 41);
  EXPECT_EQ(missing.mData, nullptr);
  gui.AttachControl(new IKnobMultiControl(&plug, 5, 5, RecordingPlug::kIn, &missing));
  gui.AttachControl(new IBitmapControl(&plug, 5, 5, &missing));
  plug.AttachGraphics(&gui);
  EXPECT_EQ(*gui.GetControl(0)->GetRECT(), IRECT(0, 0, 40, 40))
      << "the background spans the editor";
  EXPECT_TRUE(gui.Poll());
  IRECT dest(0, 0, 40, 40);
  EXPECT_FALSE(gui.DrawBitmap(&missing, &dest, 3));
  EXPECT_EQ(gui.GetPoint(10, 10), COLOR_TRANSPARENT);
  EXPECT_EQ(BitmapCache().Find(9101), nullptr) << "nothing is cached for it";
}

// The draw region is set by the drawing pass; here the tests set it.
struct RegionHost : IGraphicsHeadless {
  using IGraphicsHeadless::IGraphicsHeadless;
  void SetRegion(const IRECT& r) { mDrawRECT = r; }
};

// A 4 x 12 strip of three frames, each a different colour.
struct StripRig {
  RecordingPlug plug;
  RegionHost gui{&plug, 16, 16};
  LICE_MemBitmap strip{4, 12};
  IBitmap handle{&strip, 4, 12, 3};
  StripRig() {
    gui.PrepDraw();
    for (int f = 0; f < 3; ++f) LICE_FillRect(&strip, 0, f * 4, 4, 4, LICE_RGBA(f + 1, 0, 0, 255));
    LICE_Clear(gui.GetDrawBitmap(), 0);
  }
  // Counts drawn pixels and reports the frame seen (red channel) or -1 for several.
  int Drawn(int* frame) {
    int n = 0;
    *frame = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const int r = gui.GetPoint(x, y).R;
        if (!r) continue;
        ++n;
        *frame = *frame == 0 || *frame == r ? r : -1;
      }
    return n;
  }
};

TEST(DrawBitmap, FramesOffsetsAndSizesFromCallersStayInsideBothBitmaps) {
  struct Case {
    IRECT region, dest;
    int state, frames;
    int pixels, frame;
  } cases[] = {
      {{0, 0, 16, 16}, {2, 2, 6, 6}, 2, 3, 16, 2},    // frame 2 whole
      {{0, 0, 16, 16}, {2, 2, 6, 6}, 1, 3, 16, 1},    // state 1: top of the strip
      {{0, 0, 16, 16}, {2, 2, 6, 6}, 3, 3, 16, 3},    // the last frame
      {{0, 0, 16, 16}, {2, 2, 6, 6}, 99, 3, 16, 3},   // past the strip: the last frame
      {{0, 0, 16, 16}, {2, 2, 6, 6}, 2, 0, 16, 1},    // no frame count: one frame
      {{4, 4, 16, 16}, {2, 2, 6, 6}, 1, 3, 4, 1},     // cut by the draw region
      {{0, 0, 16, 16}, {-3, -3, 1, 1}, 1, 3, 1, 1},   // partly off the canvas
      {{0, 0, 16, 16}, {14, 14, 40, 40}, 3, 3, 4, 3}, // larger than the bitmap
      {{0, 0, 16, 16}, {6, 6, 2, 2}, 1, 3, 0, 0},     // negative size
      {{0, 0, 16, 16}, {2, 2, 6, 6}, -5, 3, 16, 1},   // negative state
      {{}, {2, 2, 6, 6}, 1, 3, 0, 0},                 // empty draw region
  };
  for (const Case& c : cases) {
    StripRig t;
    t.handle.N = c.frames;
    t.gui.SetRegion(c.region);
    IRECT dest = c.dest;
    t.gui.DrawBitmap(&t.handle, &dest, c.state);
    int frame;
    EXPECT_EQ(t.Drawn(&frame), c.pixels) << c.dest.L << "," << c.state;
    EXPECT_EQ(frame, c.frame) << c.dest.L << "," << c.state;
  }
  StripRig t;
  t.gui.SetRegion(IRECT(0, 0, 16, 16));
  IRECT dest(0, 0, 16, 16);
  EXPECT_TRUE(t.gui.DrawBitmap(&t.handle, &dest, 1 << 30, -(1 << 30)));
  int frame;
  EXPECT_EQ(t.Drawn(&frame), 0) << "a source offset far outside the bitmap draws nothing";
  EXPECT_FALSE(t.gui.ForcePixel(&COLOR_RED, 16, 0));
  EXPECT_FALSE(t.gui.ForcePixel(&COLOR_RED, -1, 3));
  EXPECT_EQ(t.gui.GetPoint(-1, 100), COLOR_TRANSPARENT);
}

} // namespace
