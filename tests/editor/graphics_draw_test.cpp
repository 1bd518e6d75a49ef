// The dirty region and the two drawing passes of the graphics core.
#include <gtest/gtest.h>

#include "platform/headless/IGraphicsHeadless.h"
#include "tests/editor/editor_fixture.h"
#include "tests/editor/probe_control.h"

namespace {

// Background 0..100 x 0..100, then a, b overlapping, c apart, d hidden over a.
struct Layout {
  RecordingPlug plug;
  IGraphicsHeadless gui{&plug, 100, 100};
  ProbeControl* probe[5];
  Layout() {
    const IRECT rects[5] = {
        {0, 0, 100, 100}, {10, 10, 30, 30}, {25, 25, 50, 50}, {70, 70, 90, 90}, {12, 12, 20, 20}};
    for (int i = 0; i < 5; ++i) gui.AttachControl(probe[i] = new ProbeControl(&plug, rects[i]));
    probe[4]->Hide(true);
    gui.PrepDraw();
    while (gui.Poll()) { // every control starts dirty; hiding asks for one more pass
    }
    Reset();
  }
  void Reset() {
    for (ProbeControl* p : probe) p->mDraws = 0;
    gui.ClearScreenUpdates();
  }
  std::string Draws() const {
    std::string s;
    for (ProbeControl* p : probe) s += std::to_string(p->mDraws);
    return s;
  }
};

TEST(GraphicsDraw, DirtyRegionIsTheUnionOfDirtyControlRectangles) {
  Layout t;
  IRECT region;
  EXPECT_FALSE(t.gui.IsDirty(&region));
  EXPECT_TRUE(region.Empty());
  t.probe[1]->SetDirty(false);
  t.probe[3]->SetDirty(false);
  EXPECT_TRUE(t.gui.IsDirty(&region));
  EXPECT_EQ(region, IRECT(10, 10, 90, 90));

  // A dirty control with an empty rectangle still counts as dirty.
  RecordingPlug plug;
  IGraphicsHeadless gui(&plug, 10, 10);
  gui.AttachControl(new ProbeControl(&plug, IRECT()));
  IRECT none;
  EXPECT_TRUE(gui.IsDirty(&none));
  EXPECT_TRUE(none.Empty());
}

TEST(GraphicsDraw, StrictPassDrawsVisibleControlsInTheRegionAndCleansEveryControl) {
  Layout t;
  t.probe[4]->SetDirty(false); // hidden: never drawn, still cleaned
  IRECT region(26, 26, 40, 40);
  EXPECT_TRUE(t.gui.Draw(&region));
  EXPECT_EQ(t.Draws(), "11100"); // background, a (ends at 30) and b; not c, not hidden d
  ASSERT_EQ(t.gui.ScreenUpdates().size(), 1u);
  EXPECT_EQ(t.gui.ScreenUpdates()[0], region);
  for (ProbeControl* p : t.probe) EXPECT_FALSE(p->IsDirty());
}

TEST(GraphicsDraw, TouchingEdgesIntersect) {
  const IRECT a(10, 10, 30, 30);
  EXPECT_TRUE(a.Intersects(IRECT(30, 30, 40, 40))); // right edge meets left edge
  EXPECT_FALSE(a.Intersects(IRECT(31, 10, 40, 30)));
  EXPECT_FALSE(a.Intersects(IRECT()));
  EXPECT_EQ(a.Intersect(IRECT(20, 0, 50, 15)), IRECT(20, 10, 30, 15));
}

TEST(GraphicsDraw, LoosePassRedrawsWhatOverlapsEachDirtyControl) {
  Layout t;
  t.gui.SetStrictDrawing(false); // marks everything dirty
  IRECT region;
  t.gui.Draw(&region);
  EXPECT_EQ(t.Draws(), "11110"); // background dirty: all visible controls
  EXPECT_TRUE(t.probe[4]->IsDirty()) << "hidden controls are not cleaned in this branch";
  t.probe[4]->SetClean();

  t.Reset();
  t.probe[2]->SetDirty(false);
  t.gui.Draw(&region);
  EXPECT_EQ(t.Draws(), "11100"); // b, and what overlaps b: background and a
  EXPECT_FALSE(t.probe[2]->IsDirty());
}

TEST(GraphicsDraw, RedrawRequestKeepsAControlDirtyForOneMorePass) {
  Layout t;
  t.probe[1]->SetValueFromPlug(0.5); // first value: becomes the default, nothing else
  EXPECT_FALSE(t.probe[1]->IsDirty());
  t.probe[1]->SetValueFromPlug(0.7);
  EXPECT_TRUE(t.gui.Poll());
  EXPECT_TRUE(t.probe[1]->IsDirty());
  EXPECT_TRUE(t.gui.Poll());
  EXPECT_FALSE(t.gui.Poll());
}

TEST(GraphicsDraw, EmptyEditorReportsSuccessWithoutTouchingTheScreen) {
  RecordingPlug plug;
  IGraphicsHeadless gui(&plug, 10, 10);
  IRECT region(0, 0, 10, 10);
  EXPECT_TRUE(gui.Draw(&region));
  EXPECT_TRUE(gui.ScreenUpdates().empty());
}

} // namespace
