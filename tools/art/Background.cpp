#include "tools/art/Background.h"

#include <cmath>

#include "tools/art/Badge.h"
#include "tools/art/Filters.h"
#include "tools/art/Labels.h"
#include "tools/art/Logotype.h"
#include "tools/art/Painter.h"
#include "tools/art/Palette.h"
#include "tools/art/Shapes.h"
#include "tools/art/Texture.h"
#include "tools/art/Vents.h"

namespace art {

namespace {

constexpr int kFine = 4; // supersampling of everything but the text
constexpr uint32_t kGrainSeed = 0x6B1D5EEDu;

void DrawPanel(Painter& p) {
  const float w = float(kEditorWidth), h = float(kEditorHeight);
  p.BeginShape();
  AddRoundRect(p, 0, 0, w, h, 0);
  p.Fill(Gradient{0, 0, colour::kPanelTop, 0, h, colour::kPanelBottom});
  AddBrushedGrain(p.canvas(), kFine, 5.0f, kGrainSeed);
  // A bevelled lip around the edge: lit along the top, shaded at the bottom.
  p.BeginShape();
  AddRoundRect(p, 2, 2, w - 2, h - 2, 7);
  CutRoundRect(p, 3, 3, w - 3, h - 3, 6);
  p.Fill(Gradient{0, 2, colour::kBezelLight, 0, h - 2, colour::kBezelDark}, 0.7f);
}

// Ticks on the panel around a knob: eleven, with the ends and the middle
// drawn longer.
void DrawScale(Painter& p, const KnobSpec& spec) {
  const float cx = spec.editorCentreX(), cy = spec.editorCentreY(), inner = spec.tickInner;
  for (int i = 0; i <= 10; ++i) {
    const float a = KnobAngle(i / 10.0);
    const float r1 = i == 0 || i == 5 || i == 10 ? spec.tickLong : spec.tickOuter;
    const float sx = std::sin(a), sy = -std::cos(a);
    p.BeginShape();
    AddStroke(p, cx + inner * sx, cy + inner * sy + 0.6f, cx + r1 * sx, cy + r1 * sy + 0.6f, 1.4f);
    p.Fill(colour::kBlack, 0.5f);
    p.BeginShape();
    AddStroke(p, cx + inner * sx, cy + inner * sy, cx + r1 * sx, cy + r1 * sy, 1.1f);
    p.Fill(colour::kTick, 0.9f);
  }
}

// A display window sunk into the panel: shaded along its top inside, lit
// along its lower lip. The lower slots run past the editor's bottom edge.
void DrawSlot(Painter& p, const Box& box) {
  const float l = float(box.l), t = float(box.t), r = float(box.r), b = float(box.b);
  p.BeginShape();
  AddRoundRect(p, l - 1, t - 1, r + 1, b + 1, 5);
  p.Fill(Gradient{0, t - 1, colour::kBezelDark, 0, b + 1, colour::kBezelLight}, 0.9f);
  p.BeginShape();
  AddRoundRect(p, l, t, r, b, 4);
  p.Fill(colour::kSlot);
  p.BeginShape();
  AddRoundRect(p, l, t, r, t + 4, 4);
  p.Fill(Gradient{0, t, colour::kBlack, 0, t + 4, colour::kSlot});
}

} // namespace

void DrawBackground(LICE_MemBitmap* bg) {
  LICE_MemBitmap fine(kEditorWidth * kFine, kEditorHeight * kFine);
  {
    Painter p(&fine, kFine);
    DrawPanel(p);
    DrawScale(p, kInKnob);
    DrawScale(p, kOutKnob);
    DrawScale(p, kDistortKnob);
    DrawSlot(p, kInReadout);
    DrawSlot(p, kOutReadout);
    DrawSlot(p, kDistortReadout);
    DrawBadgePlate(p);
    DrawVents(p);
    DrawLogotype(p);
  }
  bg->resize(kEditorWidth, kEditorHeight);
  Downsample(bg, 0, 0, &fine, kFine);
  Painter text(bg, 1);
  DrawLabels(text);
  DrawBadgeText(text);
}

} // namespace art
