#include "tools/art/Badge.h"

#include "tools/art/Palette.h"
#include "tools/art/Shapes.h"
#include "tools/art/Text.h"

namespace art {

namespace {

constexpr Box kPlate{kLinkArea.l + 4, kLinkArea.t + 4, kLinkArea.r - 4, kLinkArea.b - 4};

// An open book seen from above: two pages leaning from the spine.
void AddBook(Painter& p, float cx, float top, float w, float h) {
  const float half = 0.5f * w, sag = 0.12f * h;
  const float left[8] = {cx - 0.8f, top + sag,     cx - half, top,
                         cx - half, top + h - sag, cx - 0.8f, top + h};
  const float right[8] = {cx + 0.8f, top + sag,     cx + 0.8f, top + h,
                          cx + half, top + h - sag, cx + half, top};
  AddPolygon(p, left, 4);
  AddPolygon(p, right, 4);
}

} // namespace

void DrawBadgePlate(Painter& p) {
  const float l = float(kPlate.l), t = float(kPlate.t), r = float(kPlate.r), b = float(kPlate.b);
  p.BeginShape();
  AddRoundRect(p, l + 1, t + 2, r + 1, b + 2, 6);
  p.Fill(colour::kBlack, 0.45f);
  p.BeginShape();
  AddRoundRect(p, l, t, r, b, 6);
  p.Fill(Gradient{0, t, colour::kBezelLight, 0, b, colour::kBezelDark});
  p.BeginShape();
  AddRoundRect(p, l + 1, t + 1, r - 1, b - 1, 5);
  p.Fill(Gradient{0, t, colour::kPanelTop, 0, b, colour::kPanelBottom});
  p.BeginShape();
  AddBook(p, kPlate.centreX(), t + 12, 30, 20);
  p.Fill(colour::kAccent);
}

void DrawBadgeText(Painter& p) {
  Typeface title("DejaVu Sans Bold", 11, 1);
  Typeface hint("DejaVu Sans Condensed", 9, 1);
  const float cx = kPlate.centreX();
  p.BeginShape();
  title.AddCentred(p, "MANUAL", cx, float(kPlate.t) + 38, 1.5f);
  p.Fill(colour::kLabel);
  p.BeginShape();
  hint.AddCentred(p, "CLICK TO OPEN", cx, float(kPlate.t) + 54, 0.6f);
  p.Fill(colour::kLabelDim);
}

} // namespace art
