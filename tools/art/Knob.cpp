#include "tools/art/Knob.h"

#include <algorithm>
#include <cmath>

#include "tools/art/Filters.h"
#include "tools/art/Painter.h"
#include "tools/art/Shapes.h"

namespace art {

namespace {

constexpr int kFine = 4; // supersampling of the knob drawing
const LICE_Pixel32 kGrounds[2] = {colour::kBlack, colour::kWhite};

// The knob's parts that do not turn with the value, drawn once.
class KnobParts {
public:
  explicit KnobParts(const KnobSpec& spec);

  const KnobSpec& spec;
  const int fineSize;
  LICE_MemBitmap under[2]; // shadow and arc groove, over each ground
  LICE_MemBitmap body;     // rim and cap, transparent around
  LICE_MemBitmap sheen;    // the light's soft reflection on the cap

private:
  void DrawUnder(LICE_MemBitmap* canvas);
  void DrawBody(Painter& p);
  void DrawSheen(Painter& p);
  // Draws parts over black and over white and unmattes them into a layer of
  // the same fine size.
  template <typename Draw> void MakeLayer(LICE_MemBitmap* layer, Draw draw);
};

KnobParts::KnobParts(const KnobSpec& s) : spec(s), fineSize(s.frameSize * kFine) {
  for (int g = 0; g < 2; ++g) {
    under[g].resize(fineSize, fineSize);
    LICE_Clear(&under[g], kGrounds[g]);
    DrawUnder(&under[g]);
  }
  MakeLayer(&body, [this](Painter& p) { DrawBody(p); });
  MakeLayer(&sheen, [this](Painter& p) { DrawSheen(p); });
}

template <typename Draw> void KnobParts::MakeLayer(LICE_MemBitmap* layer, Draw draw) {
  LICE_MemBitmap grounds[2];
  for (int g = 0; g < 2; ++g) {
    grounds[g].resize(fineSize, fineSize);
    LICE_Clear(&grounds[g], kGrounds[g]);
    Painter p(&grounds[g], kFine);
    draw(p);
  }
  layer->resize(fineSize, fineSize);
  UnmatteDownsample(&grounds[0], &grounds[1], 1, layer, 0, 0);
}

// A blurred disc painted over the canvas: shadows and reflections.
void PaintSoftDisc(Painter& p, float cx, float cy, float r, float blur, LICE_Pixel32 c,
                   float alpha) {
  LICE_MemBitmap spot(p.canvas()->getWidth(), p.canvas()->getHeight());
  LICE_Clear(&spot, colour::kBlack);
  Painter s(&spot, p.scale());
  s.BeginShape();
  AddDisc(s, cx, cy, r);
  s.Fill(colour::kWhite);
  SoftBlur(&spot, int(blur * float(p.scale())));
  p.FillThrough(&spot, c, alpha);
}

// A soft shadow falls down and to the right of the body; the value arc runs
// in a dark groove cut into the panel.
void KnobParts::DrawUnder(LICE_MemBitmap* canvas) {
  const float cx = spec.centreX, cy = spec.centreY, r = spec.bodyRadius;
  Painter p(canvas, kFine);
  PaintSoftDisc(p, cx + 0.08f * r, cy + 0.14f * r, 1.02f * r, 0.22f * r, colour::kBlack, 0.75f);
  p.BeginShape();
  AddArc(p, cx, cy, spec.trackRadius, spec.trackWidth + 1.0f, -kSweep, kSweep, true);
  p.Fill(colour::kBezelLight, 0.35f);
  p.BeginShape();
  AddArc(p, cx, cy - 0.35f, spec.trackRadius, spec.trackWidth, -kSweep, kSweep, true);
  p.Fill(colour::kTrack);
}

// A disc in a dark outline, shaded along the diagonal from the light.
void AddShadedDisc(Painter& p, float cx, float cy, float r, float outlineAlpha,
                   LICE_Pixel32 nearLight, LICE_Pixel32 farLight) {
  const float d = 0.7071f * r;
  p.BeginShape();
  AddDisc(p, cx, cy, r + 0.7f);
  p.Fill(colour::kBezelDark, outlineAlpha);
  p.BeginShape();
  AddDisc(p, cx, cy, r);
  p.Fill(Gradient{cx - d, cy - d, nearLight, cx + d, cy + d, farLight});
}

// The rim is a convex bevel, bright where the light strikes it; the cap
// inside it is dished, so its gradient runs the other way, more gently.
void KnobParts::DrawBody(Painter& p) {
  AddShadedDisc(p, spec.centreX, spec.centreY, spec.bodyRadius, 0.9f, colour::kRimLight,
                colour::kRimDark);
  AddShadedDisc(p, spec.centreX, spec.centreY, spec.capRadius, 0.6f, colour::kCapShaded,
                colour::kCapLit);
}

void KnobParts::DrawSheen(Painter& p) {
  const float c = spec.capRadius;
  PaintSoftDisc(p, spec.centreX - 0.3f * c, spec.centreY - 0.38f * c, 0.42f * c, 0.35f * c,
                colour::kWhite, 0.16f);
}

// The parts that turn: glow, value arc and pointer.
class KnobFrame {
public:
  explicit KnobFrame(KnobParts& parts)
      : mParts(parts), mPainters{Painter(&mFine[0], kFine), Painter(&mFine[1], kFine)} {}
  void Draw(double value, LICE_IBitmap* strip, int top);

private:
  void MakeGlow(float angle);
  void DrawArc(Painter& p, float angle);
  void DrawGrip(Painter& p, float angle);
  void DrawPointer(Painter& p, float angle);

  KnobParts& mParts;
  LICE_MemBitmap mFine[2], mGlow, mFineGlow;
  Painter mPainters[2]; // one per ground, kept so their masks are made once
};

void KnobFrame::Draw(double value, LICE_IBitmap* strip, int top) {
  const KnobSpec& spec = mParts.spec;
  const float angle = KnobAngle(value);
  const bool glows = spec.glow > 0 && value > 0;
  if (glows) MakeGlow(angle);
  for (int g = 0; g < 2; ++g) {
    LICE_Copy(&mFine[g], &mParts.under[g]);
    Painter& p = mPainters[g];
    if (glows) p.FillThrough(&mFineGlow, colour::kAccent, float(spec.glow * (0.35 + 0.5 * value)));
    if (value > 0) DrawArc(p, angle);
    LICE_Blit(&mFine[g], &mParts.body, 0, 0, nullptr, 1.0f, LICE_MODE_COPY | LICE_MODE_USE_ALPHA);
    DrawGrip(p, angle);
    DrawPointer(p, angle);
    LICE_Blit(&mFine[g], &mParts.sheen, 0, 0, nullptr, 1.0f, LICE_MODE_COPY | LICE_MODE_USE_ALPHA);
  }
  UnmatteDownsample(&mFine[0], &mFine[1], kFine, strip, 0, top);
}

// The lit arc warms the groove around it, more as the knob turns up. The
// blur works on the final pixel grid, then the mask is scaled up smoothly.
void KnobFrame::MakeGlow(float angle) {
  const KnobSpec& spec = mParts.spec;
  const int size = spec.frameSize;
  mGlow.resize(size, size);
  LICE_Clear(&mGlow, colour::kBlack);
  {
    Painter g(&mGlow, 1);
    g.BeginShape();
    AddArc(g, spec.centreX, spec.centreY, spec.trackRadius, spec.trackWidth, -kSweep, angle, true);
    g.Fill(colour::kWhite);
  }
  SoftBlur(&mGlow, int(spec.trackWidth * 1.6f));
  mFineGlow.resize(size * kFine, size * kFine);
  LICE_ScaledBlit(&mFineGlow, &mGlow, 0, 0, size * kFine, size * kFine, 0, 0, float(size),
                  float(size), 1.0f, LICE_MODE_COPY | LICE_MODE_FILTER_BILINEAR);
}

void KnobFrame::DrawArc(Painter& p, float angle) {
  const KnobSpec& spec = mParts.spec;
  const float cx = spec.centreX, cy = spec.centreY, r = spec.trackRadius;
  p.BeginShape();
  AddArc(p, cx, cy, r, spec.trackWidth - 0.4f, -kSweep, angle, true);
  p.Fill(Gradient{cx, cy - r, colour::kAccent, cx, cy + r, colour::kAccentDeep});
  p.BeginShape();
  AddArc(p, cx, cy, r, spec.trackWidth * 0.4f, -kSweep, angle, true);
  p.Fill(colour::kAccentHot, 0.45f);
}

// Grooves knurled into the rim turn with the knob; each catches the light on
// one side.
void KnobFrame::DrawGrip(Painter& p, float angle) {
  const KnobSpec& spec = mParts.spec;
  const float cx = spec.centreX, cy = spec.centreY;
  const float r0 = spec.capRadius + 1.2f, r1 = spec.bodyRadius - 0.6f;
  const int count = int(spec.bodyRadius * 0.9f);
  const float width = spec.bodyRadius > 30 ? 1.1f : 0.8f;
  const float offsets[2] = {0.0f, 1.1f * width / r1};
  const LICE_Pixel32 colours[2] = {colour::kBlack, colour::kWhite};
  const float alphas[2] = {0.45f, 0.14f};
  for (int side = 0; side < 2; ++side) {
    p.BeginShape();
    for (int i = 0; i < count; ++i) {
      const float a = angle + offsets[side] + 6.2831853f * float(i) / float(count);
      const float sx = std::sin(a), sy = -std::cos(a);
      AddStroke(p, cx + r0 * sx, cy + r0 * sy, cx + r1 * sx, cy + r1 * sy, width);
    }
    p.Fill(colours[side], alphas[side]);
  }
}

void KnobFrame::DrawPointer(Painter& p, float angle) {
  const KnobSpec& spec = mParts.spec;
  const float cx = spec.centreX, cy = spec.centreY;
  const float sx = std::sin(angle), sy = -std::cos(angle);
  const float r0 = spec.capRadius * 0.3f, r1 = spec.bodyRadius - 1.6f;
  const float width = std::max(1.8f, spec.bodyRadius * 0.11f);
  p.BeginShape();
  AddStroke(p, cx + r0 * sx + 0.5f, cy + r0 * sy + 0.8f, cx + r1 * sx + 0.5f, cy + r1 * sy + 0.8f,
            width + 0.6f);
  p.Fill(colour::kBlack, 0.5f);
  p.BeginShape();
  AddStroke(p, cx + r0 * sx, cy + r0 * sy, cx + r1 * sx, cy + r1 * sy, width);
  p.Fill(colour::kPointer);
}

} // namespace

void DrawKnobStrip(const KnobSpec& spec, LICE_MemBitmap* strip) {
  strip->resize(spec.frameSize, spec.frameSize * spec.frameCount);
  KnobParts parts(spec);
  KnobFrame frame(parts);
  for (int i = 0; i < spec.frameCount; ++i)
    frame.Draw(double(i) / double(spec.frameCount - 1), strip, i * spec.frameSize);
}

} // namespace art
