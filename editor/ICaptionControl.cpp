#include "editor/ICaptionControl.h"

#include <cstdio>

#include "editor/IGraphics.h"
#include "framework/IParam.h"
#include "framework/IPlugBase.h"

ICaptionControl::ICaptionControl(IPlugBase* plug, IRECT rect, int paramIdx, IText* text,
                                 bool showParamLabel)
    : ITextControl(plug, rect, text), mShowParamLabel(showParamLabel) {
  mParamIdx = paramIdx;
}

bool ICaptionControl::GetCaption(char* text) const {
  const IParam* param = mPlug && mParamIdx >= 0 ? mPlug->GetParam(mParamIdx) : nullptr;
  if (!param) return false;
  char display[IParam::kTextLength + 1] = {};
  param->GetDisplayForHost(GetValue(), true, display, true);
  if (mShowParamLabel)
    snprintf(text, kCaptionLength, "%.32s %.32s", display, param->GetLabelForHost());
  else
    snprintf(text, kCaptionLength, "%.32s", display);
  return true;
}

bool ICaptionControl::Draw(IGraphics* graphics) {
  char caption[kCaptionLength];
  if (!GetCaption(caption)) return ITextControl::Draw(graphics);
  // Kept as the control's text too, for readers of it; no dirty marks from a draw.
  mStr.Set(caption);
  if (caption[0]) graphics->DrawIText(&mText, caption, &mRECT);
  return true;
}

void ICaptionControl::OnMouseDown(int, int, IMouseMod* mod) {
  if (mod && (mod->L || mod->R)) PromptUserInput();
}

void ICaptionControl::OnMouseDblClick(int, int, IMouseMod*) {
  PromptUserInput();
}
