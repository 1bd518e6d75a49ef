#include "tools/art/Vents.h"

#include "tools/art/Palette.h"
#include "tools/art/Shapes.h"

namespace art {

namespace {

// The badge's plate mirrored about the Distort knob's centre line.
constexpr int kMirror = 2 * int(kDistortKnob.editorCentreX());
constexpr Box kGrille{kMirror - (kLinkArea.r - 4), kLinkArea.t + 4, kMirror - (kLinkArea.l + 4),
                      kLinkArea.b - 4};

} // namespace

// Each slot is sunk into the panel, and the heat inside glows faintly at its
// bottom.
void DrawVents(Painter& p) {
  const float l = float(kGrille.l) + 4, r = float(kGrille.r) - 4;
  for (int i = 0; i < 6; ++i) {
    const float t = float(kGrille.t) + 8 + 10.5f * float(i), b = t + 5;
    p.BeginShape();
    AddRoundRect(p, l - 0.8f, t - 0.8f, r + 0.8f, b + 0.8f, 3.3f);
    p.Fill(Gradient{0, t - 1, colour::kBezelDark, 0, b + 1, colour::kBezelLight}, 0.9f);
    p.BeginShape();
    AddRoundRect(p, l, t, r, b, 2.5f);
    p.Fill(Gradient{0, t + 1, colour::kSlot, 0, b, colour::kEmber});
  }
}

} // namespace art
