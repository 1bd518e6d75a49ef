#include "tools/art/Logotype.h"

#include "tools/art/Palette.h"
#include "tools/art/Shapes.h"
#include "tools/art/Text.h"
#include "tools/art/Texture.h"

namespace art {

namespace {

constexpr const char* kName = "GRITTLEBOX";
constexpr uint32_t kWearSeed = 0x0B5CE7E5u;

// Pinholes knocked out of the letters, like paint worn off a box that has
// been on the road.
void Wear(Painter& p, float l, float t, float r, float b) {
  Random rng(kWearSeed);
  for (int i = 0; i < 180; ++i) {
    const float x = l + (r - l) * 0.5f * (rng.Signed() + 1.0f);
    const float y = t + (b - t) * 0.5f * (rng.Signed() + 1.0f);
    CutDisc(p, x, y, 0.3f + 0.2f * (rng.Signed() + 1.0f));
  }
}

} // namespace

void DrawLogotype(Painter& p) {
  Typeface logo("DejaVu Sans Condensed Bold", 26, p.scale());
  const float x = kLogoX, y = kLogoY, spacing = 1.5f;
  const float w = logo.Width(kName, spacing), h = logo.LineHeight();
  // The same holes go through the shadow, so that they show the panel.
  p.BeginShape();
  logo.Add(p, kName, x + 1, y + 1.5f, spacing);
  Wear(p, x, y + 0.2f * h, x + w, y + 0.9f * h);
  p.Fill(colour::kBlack, 0.7f);
  p.BeginShape();
  logo.Add(p, kName, x, y, spacing);
  Wear(p, x, y + 0.2f * h, x + w, y + 0.9f * h);
  p.Fill(Gradient{0, y + 6, colour::kAccentHot, 0, y + 26, colour::kAccentDeep});
}

} // namespace art
