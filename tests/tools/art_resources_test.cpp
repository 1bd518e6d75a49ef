// Checks the committed editor art against what the editor layout needs of it:
// frame sizes and placement, transparent surrounds, values that read the
// right way, and dark readout slots.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "lice/lice.h"
#include "lice/lice_png.h"

namespace {

std::unique_ptr<LICE_IBitmap> Load(const char* name) {
  const std::string path = std::string(GRITTLEBOX_RESOURCES "/img/") + name;
  return std::unique_ptr<LICE_IBitmap>(LICE_LoadPNG(path.c_str()));
}

LICE_Pixel32 At(LICE_IBitmap* bm, int x, int y) {
  return bm->getBits()[y * bm->getRowSpan() + x];
}

// Amber to deep orange, solid: the value arc (and the glow right beside it).
bool IsAccent(LICE_Pixel32 p) {
  const int r = LICE_GETR(p), g = LICE_GETG(p), b = LICE_GETB(p);
  return LICE_GETA(p) > 200 && r > 150 && 2 * r > 3 * g && 2 * b < g;
}

bool IsPointer(LICE_Pixel32 p) {
  return LICE_GETA(p) == 255 && LICE_GETR(p) > 220 && LICE_GETG(p) > 220 && LICE_GETB(p) > 210;
}

struct KnobCase {
  const char* file;
  int frames;
  int minSize, maxSize;
  int originX, originY; // where the editor puts the frame
  int maxRight, maxBottom;
};

const KnobCase kKnobs[] = {
    {"Knob_In_Frames.png", 41, 56, 60, 29, 207, 340, 268},
    {"Knob_Out_Frames.png", 41, 56, 60, 254, 207, 340, 268},
    {"Knob_Distort_Frames.png", 128, 120, 136, 112, 68, 340, 208},
};

struct FrameStats {
  int accent = 0;
  double pointerX = 0, pointerY = 0; // mean offset of the pointer from the centre
};

FrameStats Measure(LICE_IBitmap* strip, int frame, int size) {
  FrameStats s;
  int pointer = 0;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const LICE_Pixel32 p = At(strip, x, frame * size + y);
      if (IsAccent(p)) ++s.accent;
      if (IsPointer(p)) {
        ++pointer;
        s.pointerX += x - 0.5 * size;
        s.pointerY += y - 0.5 * size;
      }
    }
  }
  if (pointer) s.pointerX /= pointer, s.pointerY /= pointer;
  return s;
}

// Runs check(knob, strip, frame size) on every committed knob strip.
template <typename Check> void ForEachStrip(Check check) {
  for (const KnobCase& k : kKnobs) {
    SCOPED_TRACE(k.file);
    auto strip = Load(k.file);
    ASSERT_TRUE(strip);
    check(k, strip.get(), strip->getWidth());
  }
}

TEST(ArtResources, KnobStripsFitTheirPlaceInTheEditor) {
  ForEachStrip([](const KnobCase& k, LICE_IBitmap* strip, int size) {
    EXPECT_EQ(strip->getHeight(), size * k.frames);
    EXPECT_GE(size, k.minSize);
    EXPECT_LE(size, k.maxSize);
    EXPECT_LE(k.originX + size, k.maxRight);
    EXPECT_LE(k.originY + size, k.maxBottom);
  });
  // The hero knob sits on the editor's middle line, above its readout.
  auto distort = Load("Knob_Distort_Frames.png");
  ASSERT_TRUE(distort);
  EXPECT_NEAR(112 + distort->getWidth() / 2.0, 178, 2);
}

// The editor blends frames over the background by their alpha: the drawing
// must stop short of the frame's edge and the knob itself be solid.
TEST(ArtResources, EveryFrameHasATransparentSurroundAndASolidKnob) {
  ForEachStrip([](const KnobCase& k, LICE_IBitmap* strip, int size) {
    for (int f = 0; f < k.frames; ++f) {
      int edgeAlpha = 0;
      for (int i = 0; i < size; ++i) {
        edgeAlpha +=
            LICE_GETA(At(strip, i, f * size)) + LICE_GETA(At(strip, i, f * size + size - 1)) +
            LICE_GETA(At(strip, 0, f * size + i)) + LICE_GETA(At(strip, size - 1, f * size + i));
      }
      EXPECT_EQ(edgeAlpha, 0) << "frame " << f;
      EXPECT_EQ(LICE_GETA(At(strip, size / 2, f * size + size / 2)), 255) << "frame " << f;
    }
  });
}

// Frame 1 is the minimum, with no value arc and the pointer down-left; the
// arc grows with the value; the middle frame points up and the last
// down-right.
TEST(ArtResources, FramesRunFromMinimumToMaximum) {
  ForEachStrip([](const KnobCase& k, LICE_IBitmap* strip, int size) {
    const FrameStats first = Measure(strip, 0, size);
    EXPECT_EQ(first.accent, 0);
    EXPECT_LT(first.pointerX, -3);
    EXPECT_GT(first.pointerY, 3);
    int previous = first.accent;
    for (int step = 1; step <= 10; ++step) {
      const int f = step * (k.frames - 1) / 10;
      const int accent = Measure(strip, f, size).accent;
      EXPECT_GT(accent, previous) << "frame " << f;
      previous = accent;
    }
    const FrameStats last = Measure(strip, k.frames - 1, size);
    EXPECT_GT(last.pointerX, 3);
    EXPECT_GT(last.pointerY, 3);
    // The two ends mirror each other about the knob's upright middle.
    const FrameStats middle = Measure(strip, (k.frames - 1) / 2, size);
    EXPECT_NEAR(middle.pointerX, 0.5 * (first.pointerX + last.pointerX), 1.5);
    EXPECT_LT(middle.pointerY, -3);
    EXPECT_NEAR(first.pointerY, last.pointerY, 1.0);
  });
}

// Light grey readout text needs a dark slot behind it, also where the lower
// slots run into the bottom edge.
TEST(ArtResources, BackgroundIsOpaqueWithDarkReadoutSlots) {
  auto bg = Load("Grittlebox_Background.png");
  ASSERT_TRUE(bg);
  ASSERT_EQ(bg->getWidth(), 350);
  ASSERT_EQ(bg->getHeight(), 288);
  for (int y = 0; y < 288; ++y)
    for (int x = 0; x < 350; ++x) ASSERT_EQ(LICE_GETA(At(bg.get(), x, y)), 255) << x << "," << y;
  const struct {
    int l, t, r, b;
  } slots[] = {{11, 270, 111, 290}, {236, 270, 336, 290}, {128, 210, 228, 230}};
  for (const auto& s : slots) {
    SCOPED_TRACE(s.l);
    int brightest = 0;
    // Inside the rounded corners and the lit lip.
    for (int y = s.t + 2; y < std::min(s.b - 2, 288); ++y)
      for (int x = s.l + 3; x < s.r - 3; ++x) {
        const LICE_Pixel32 p = At(bg.get(), x, y);
        brightest = std::max({brightest, LICE_GETR(p), LICE_GETG(p), LICE_GETB(p)});
      }
    EXPECT_LT(brightest, 24);
  }
}

} // namespace
