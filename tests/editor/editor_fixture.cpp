#include "tests/editor/editor_fixture.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "editor/IBitmapControl.h"
#include "editor/IKnobMultiControl.h"
#include "editor/ITextControl.h"
#include "editor/IURLControl.h"
#include "lice/lice.h"
#include "lice/lice_lines.h"
#include "lice/lice_png.h"
#include "platform/headless/IGraphicsHeadless.h"

RecordingPlug::RecordingPlug(EAPI api)
    : IPlugBase(kNumParams, "2-2 1-1", 0, "Recording", "Recording", "Tests", 0x10000, 0x52637264,
                0x54657374, 0, false, false, false, api) {
  GetParam(kIn)->InitDouble("In", 0.0, -20.0, 20.0, 0.01, "dB");
  GetParam(kOut)->InitDouble("Out", 0.0, -20.0, 20.0, 0.01, "dB");
  GetParam(kDistort)->InitDouble("Distort", 50.0, 0.01, 100.0, 0.01, "%");
  GetParam(kMode)->InitEnum("Mode", 1, 3);
  GetParam(kMode)->SetDisplayText(0, "Soft");
  GetParam(kMode)->SetDisplayText(1, "Hard");
  GetParam(kMode)->SetDisplayText(2, "Fold");
  GetParam(kOnOff)->InitBool("Active", true);
}

void RecordingPlug::OnParamChange(int paramIdx) {
  if (paramIdx < 0 || paramIdx >= 3 || !mReadouts[paramIdx]) return;
  char text[64];
  snprintf(text, sizeof(text), "%.2f %s", GetParam(paramIdx)->Value(),
           GetParam(paramIdx)->GetLabelForHost());
  mReadouts[paramIdx]->SetTextFromPlug(text);
}

std::string RecordingPlug::Trail() const {
  std::string out;
  for (const Event& e : mEvents) {
    if (!out.empty()) out += ' ';
    out += e.what + std::to_string(e.paramIdx);
  }
  return out;
}

namespace {

LICE_MemBitmap* MakeBackground() {
  LICE_MemBitmap* bm = new LICE_MemBitmap(350, 288);
  for (int y = 0; y < 288; ++y)
    LICE_FillRect(bm, 0, y, 350, 1, LICE_RGBA(40 + y / 8, 30, 28 + (y * 7) % 11, 255));
  return bm;
}

// Knob frames: a disc on a transparent surround with a pointer turning from
// -135 to +135 degrees over the strip.
LICE_MemBitmap* MakeStrip(int size, int frames) {
  LICE_MemBitmap* bm = new LICE_MemBitmap(size, size * frames);
  LICE_Clear(bm, 0);
  const float c = size * 0.5f, r = size * 0.42f;
  for (int f = 0; f < frames; ++f) {
    const float cy = f * size + c;
    LICE_FillCircle(bm, c, cy, r, LICE_RGBA(90, 86, 80, 255), 1.0f, 0, true);
    const double a = (-135.0 + 270.0 * f / (frames - 1)) * M_PI / 180.0;
    LICE_FLine(bm, c, cy, c + std::sin(a) * r, cy - std::cos(a) * r, LICE_RGBA(255, 150, 20, 255),
               1.0f, 0, true);
  }
  return bm;
}

bool WriteArt(const std::string& dir) {
  struct Art {
    const char* file;
    LICE_MemBitmap* bitmap;
  } art[] = {{"Grittlebox_Background.png", MakeBackground()},
             {"Knob_In_Frames.png", MakeStrip(60, 41)},
             {"Knob_Out_Frames.png", MakeStrip(60, 41)},
             {"Knob_Distort_Frames.png", MakeStrip(128, 128)}};
  bool ok = true;
  for (const Art& a : art) {
    ok = ok && LICE_WritePNG((dir + "/" + a.file).c_str(), a.bitmap, true);
    delete a.bitmap;
  }
  return ok;
}

} // namespace

const std::string& EffectArtDir() {
  static const std::string dir = [] {
    char pattern[] = "/tmp/grittlebox-editor-art-XXXXXX";
    const char* made = mkdtemp(pattern);
    std::string path = made ? made : "/tmp";
    if (!WriteArt(path)) fprintf(stderr, "could not write the test art to %s\n", path.c_str());
    return path;
  }();
  return dir;
}

IText ReadoutStyle() {
  IText text(13, &COLOR_LIGHT, "Tahoma Bold", IText::kStyleNormal, IText::kAlignCenter, 0,
             IText::kQualityNonAntiAliased);
  return text;
}

IGraphicsHeadless* BuildEffectEditor(RecordingPlug* plug) {
  IGraphicsHeadless* gui = new IGraphicsHeadless(plug, 350, 288, 0, EffectArtDir().c_str());
  gui->AttachBackground(kBackgroundID, "resources/img/Grittlebox_Background.png");
  struct Knob {
    int id, frames, x, y, param;
    const char* file;
  } knobs[] = {{kKnobInID, 41, 29, 207, RecordingPlug::kIn, "resources/img/Knob_In_Frames.png"},
               {kKnobOutID, 41, 254, 207, RecordingPlug::kOut, "resources/img/Knob_Out_Frames.png"},
               {kKnobDistortID, 128, 112, 68, RecordingPlug::kDistort,
                "resources/img/Knob_Distort_Frames.png"}};
  for (const Knob& k : knobs) {
    IBitmap strip = gui->LoadIBitmap(k.id, k.file, k.frames);
    gui->AttachControl(new IKnobMultiControl(plug, k.x, k.y, k.param, &strip));
  }
  gui->AttachControl(new IURLControl(plug, IRECT(254, 61, 336, 139), "https://example.org/manual"));
  IText style = ReadoutStyle();
  const IRECT readouts[3] = {{11, 270, 111, 290}, {236, 270, 336, 290}, {128, 210, 228, 230}};
  const char* initial[3] = {"0.00 db", "0.00 db", "50 %"};
  for (int i = 0; i < 3; ++i) {
    plug->mReadouts[i] = new ITextControl(plug, readouts[i], &style, initial[i]);
    gui->AttachControl(plug->mReadouts[i]);
  }
  plug->AttachGraphics(gui);
  return gui;
}
