#include "tools/art/Labels.h"

#include "tools/art/Palette.h"
#include "tools/art/Text.h"

namespace art {

namespace {

// Printed lettering: a dark offset under each label keeps it crisp on the
// grain.
template <typename AddText> void Print(Painter& p, LICE_Pixel32 c, AddText add) {
  p.BeginShape();
  add(1.0f);
  p.Fill(colour::kBlack, 0.6f);
  p.BeginShape();
  add(0.0f);
  p.Fill(c);
}

// A line under the logotype saying what the box is.
void DrawSubtitle(Painter& p) {
  Typeface sub("DejaVu Sans", 9, 1);
  Print(p, colour::kLabelDim, [&](float d) {
    sub.Add(p, "HARD CLIP DISTORTION", kLogoX + 1 + d, kLogoY + 29 + d, 1.8f);
  });
}

// The maker's name, small, balancing the logotype on the right.
void DrawMaker(Painter& p) {
  Typeface maker("DejaVu Sans Bold", 9, 1);
  const float right = float(kLinkArea.r) - 4;
  const float x = right - maker.Width("QUARTZY LANTERN", 1.6f);
  Print(p, colour::kLabelDim,
        [&](float d) { maker.Add(p, "QUARTZY LANTERN", x + d, 21 + d, 1.6f); });
}

// The scale's end values stand outside the end ticks, level with their tips.
void DrawKnobLabels(Painter& p, const KnobSpec& spec, float nameY, Typeface& name, Typeface& ends) {
  const float cx = spec.editorCentreX(), cy = spec.editorCentreY();
  Print(p, colour::kLabel,
        [&](float d) { name.AddCentred(p, spec.label, cx + d, nameY + d, 2.0f); });
  const float off = spec.tickLong * 0.7071f;
  const float y = cy + off - 0.5f * ends.LineHeight();
  const float minX = cx - off - 3.0f - ends.Width(spec.minLabel, 0.5f);
  Print(p, colour::kLabelDim, [&](float d) { ends.Add(p, spec.minLabel, minX + d, y + d, 0.5f); });
  Print(p, colour::kLabelDim,
        [&](float d) { ends.Add(p, spec.maxLabel, cx + off + 3.0f + d, y + d, 0.5f); });
}

} // namespace

void DrawLabels(Painter& p) {
  DrawSubtitle(p);
  DrawMaker(p);
  Typeface name("DejaVu Sans Bold", 10, 1);
  Typeface big("DejaVu Sans Bold", 11, 1);
  Typeface ends("DejaVu Sans", 9, 1);
  DrawKnobLabels(p, kInKnob, 191, name, ends);
  DrawKnobLabels(p, kOutKnob, 191, name, ends);
  DrawKnobLabels(p, kDistortKnob, 52, big, ends);
}

} // namespace art
