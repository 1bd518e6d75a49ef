#include "tools/art/Preview.h"

#include <cmath>

#include "lice/lice_text.h"
#include "tools/art/Palette.h"

namespace art {

namespace {

// The frame a film-strip knob shows for a normalized value.
void BlitKnob(LICE_IBitmap* dest, LICE_IBitmap* strip, const KnobSpec& spec, double value) {
  const int frame = int(std::lround(value * (spec.frameCount - 1)));
  LICE_Blit(dest, strip, spec.originX, spec.originY, 0, frame * spec.frameSize, spec.frameSize,
            spec.frameSize, 1.0f, LICE_MODE_COPY | LICE_MODE_USE_ALPHA);
}

// The editor's readout style and call: 13 px bold, not antialiased, centred
// and drawn from the slot's top.
void DrawReadouts(LICE_IBitmap* editor) {
  LICE_CachedFont font;
  font.SetFromHFont(CreateFont(13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH,
                               "Tahoma Bold"),
                    LICE_FONT_FLAG_OWNS_HFONT);
  font.SetTextColor(colour::kReadoutText);
  font.SetBkMode(TRANSPARENT);
  const struct {
    Box box;
    const char* text;
  } readouts[] = {{kInReadout, "0.00 dB"}, {kOutReadout, "0.00 dB"}, {kDistortReadout, "50 %"}};
  for (const auto& r : readouts) {
    RECT rect{r.box.l, r.box.t, r.box.r, r.box.b};
    font.DrawText(editor, r.text, -1, &rect, DT_CENTER | DT_NOCLIP);
  }
}

} // namespace

void ComposePreview(ArtSet* art, int scale, LICE_MemBitmap* out) {
  LICE_MemBitmap editor(kEditorWidth, kEditorHeight);
  LICE_Blit(&editor, &art->background, 0, 0, nullptr, 1.0f, LICE_MODE_COPY);
  BlitKnob(&editor, &art->inKnob, kInKnob, 0.5);
  BlitKnob(&editor, &art->outKnob, kOutKnob, 0.5);
  // Distort's default of 50 % on its 0.01 .. 100 range.
  BlitKnob(&editor, &art->distortKnob, kDistortKnob, (50.0 - 0.01) / (100.0 - 0.01));
  DrawReadouts(&editor);
  out->resize(kEditorWidth * scale, kEditorHeight * scale);
  LICE_ScaledBlit(out, &editor, 0, 0, out->getWidth(), out->getHeight(), 0, 0, float(kEditorWidth),
                  float(kEditorHeight), 1.0f, LICE_MODE_COPY | LICE_MODE_FILTER_BILINEAR);
}

void ComposeKnobSheet(ArtSet* art, LICE_MemBitmap* out) {
  const KnobSpec* specs[3] = {&kInKnob, &kOutKnob, &kDistortKnob};
  LICE_MemBitmap* strips[3] = {&art->inKnob, &art->outKnob, &art->distortKnob};
  constexpr int kValues = 5, kCell = 140, kScale = 2;
  LICE_MemBitmap sheet(kValues * kCell, 3 * kCell);
  LICE_Clear(&sheet, colour::kBlack);
  LICE_MemBitmap cell(kCell, kCell);
  for (int k = 0; k < 3; ++k) {
    const KnobSpec& s = *specs[k];
    // The background around the knob, centred in the cell.
    const int left = int(s.editorCentreX()) - kCell / 2, top = int(s.editorCentreY()) - kCell / 2;
    for (int v = 0; v < kValues; ++v) {
      LICE_Clear(&cell, colour::kBlack);
      LICE_Blit(&cell, &art->background, 0, 0, left, top, kCell, kCell, 1.0f, LICE_MODE_COPY);
      const int frame = v * (s.frameCount - 1) / (kValues - 1);
      LICE_Blit(&cell, strips[k], s.originX - left, s.originY - top, 0, frame * s.frameSize,
                s.frameSize, s.frameSize, 1.0f, LICE_MODE_COPY | LICE_MODE_USE_ALPHA);
      LICE_Blit(&sheet, &cell, v * kCell, k * kCell, nullptr, 1.0f, LICE_MODE_COPY);
    }
  }
  out->resize(sheet.getWidth() * kScale, sheet.getHeight() * kScale);
  LICE_ScaledBlit(out, &sheet, 0, 0, out->getWidth(), out->getHeight(), 0, 0,
                  float(sheet.getWidth()), float(sheet.getHeight()), 1.0f,
                  LICE_MODE_COPY | LICE_MODE_FILTER_BILINEAR);
}

} // namespace art
