#include "effect/GrittleboxEditor.h"

#include <string>

#include "detail/ProductLink.h"
#include "editor/IGraphics.h"
#include "editor/IKnobMultiControl.h"
#include "editor/IURLControl.h"
#include "effect/Grittlebox.h"
#include "effect/GrittleboxIdentity.h"
#include "effect/ReadoutControl.h"
#include "platform/PlatformGraphics.h"
#include "vst3/IPlugVST3.h"

using namespace grittlebox;

namespace {

struct KnobLayout {
  int bitmapID;
  const char* file;
  int frames;
  int x, y;
  int paramIdx;
};

const KnobLayout kKnobs[] = {
    {kKnobInID, "resources/img/Knob_In_Frames.png", 41, 29, 207, kParamIn},
    {kKnobOutID, "resources/img/Knob_Out_Frames.png", 41, 254, 207, kParamOut},
    {kKnobDistortID, "resources/img/Knob_Distort_Frames.png", 128, 112, 68, kParamDistort},
};

struct ReadoutLayout {
  IRECT rect;
  const char* initialText;
};

// In, Out, Distort. Until a parameter changes the readouts show these texts;
// the two lower ones reach 2 pixels below the editor, their text stays inside.
const ReadoutLayout kReadouts[] = {
    {IRECT(11, 270, 111, 290), "0.00 db"},
    {IRECT(236, 270, 336, 290), "0.00 db"},
    {IRECT(128, 210, 228, 230), "50 %"},
};

const IRECT kLinkArea(254, 61, 336, 139);

IText ReadoutStyle() {
  return IText(13, &COLOR_LIGHT, "Tahoma Bold", IText::kStyleNormal, IText::kAlignCenter, 0,
               IText::kQualityNonAntiAliased);
}

} // namespace

IGraphics* MakeGraphics(IPlugVST3* plug, int w, int h, int fps) {
  PlatformIdentity identity;
  identity.productName = kEffectName;
  identity.format = "vst3";
  identity.bundleID = kBundleId;
  return MakePlatformGraphics(plug, w, h, fps, &identity);
}

IGraphics* BuildEditor(IGraphics* gui, Grittlebox* fx) {
  if (!gui || !fx) return gui;
  gui->AttachBackground(kBackgroundID, "resources/img/Grittlebox_Background.png");
  for (const KnobLayout& knob : kKnobs) {
    IBitmap strip = gui->LoadIBitmap(knob.bitmapID, knob.file, knob.frames);
    gui->AttachControl(
        new IKnobMultiControl(fx, knob.x, knob.y, knob.paramIdx, &strip, kVertical, 4.0));
  }
  gui->AttachControl(new IURLControl(fx, kLinkArea, ProductLinkAddress().c_str()));
  IText style = ReadoutStyle();
  ReadoutControl* readouts[kParamCount];
  for (int i = 0; i < kParamCount; ++i) {
    readouts[i] = new ReadoutControl(fx, kReadouts[i].rect, &style, kReadouts[i].initialText);
    if (gui->AttachControl(readouts[i]) < 0) readouts[i] = nullptr; // deleted by the refusal
  }
  fx->SetReadouts(readouts[kParamIn], readouts[kParamOut], readouts[kParamDistort]);
  return gui;
}
