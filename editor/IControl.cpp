#include "editor/IControl.h"

#include <cstdio>

#include "editor/IGraphics.h"
#include "editor/ITextControl.h"
#include "framework/IParam.h"
#include "framework/IPlugBase.h"

namespace {

// Relaxed atomics on the plain double of an aux record: the record lives in
// a relocatable buffer, so it cannot hold a std::atomic.
double LoadRelaxed(const double* v) {
  double out;
  __atomic_load(v, &out, __ATOMIC_RELAXED);
  return out;
}

void StoreRelaxed(double* v, double value) {
  __atomic_store(v, &value, __ATOMIC_RELAXED);
}

} // namespace

IControl::IControl(IPlugBase* plug, IRECT rect, int paramIdx,
                   IChannelBlend::EBlendMethod blendMethod)
    : mPlug(plug), mRECT(rect), mTargetRECT(rect), mParamIdx(paramIdx), mAuxParams(64),
      mBlend(blendMethod) {}

IGraphics* IControl::GetGUI() const {
  return mPlug ? dynamic_cast<IGraphics*>(mPlug->GetGUI()) : nullptr;
}

void IControl::SetValueFromPlug(double value) {
  if (mDefaultValue.load(std::memory_order_relaxed) < 0.0) {
    mDefaultValue.store(value, std::memory_order_relaxed);
    mValue.store(value, std::memory_order_relaxed);
    return;
  }
  if (value == mValue.load(std::memory_order_relaxed)) return;
  mValue.store(value, std::memory_order_relaxed);
  SetDirty(false);
  Redraw();
}

void IControl::SetValueFromUserInput(double value) {
  if (value == mValue.load(std::memory_order_relaxed)) return;
  mValue.store(value, std::memory_order_relaxed);
  SetDirty(true);
  Redraw();
}

void IControl::SetDirty(bool pushParamToPlug) {
  const double v = mValue.load(std::memory_order_relaxed);
  // A NaN (a parameter of no range, say) would pass both bounds and reach the host.
  const double clamped = v != v || v < mClampLo ? mClampLo : (mClampHi < v ? mClampHi : v);
  mValue.store(clamped, std::memory_order_relaxed);
  MarkDirty();
  if (!pushParamToPlug || !mPlug || mParamIdx < 0) return;
  mPlug->SetParameterFromGUI(mParamIdx, GetValue());
  UpdateDisplayControls();
}

void IControl::UpdateDisplayControls() {
  const IParam* param = mPlug->GetParam(mParamIdx);
  if (!param) return;
  if (mValDisplayControl) {
    char display[IParam::kTextLength + 1] = {};
    param->GetDisplayForHost(display, true);
    char text[2 * IParam::kTextLength + 2];
    snprintf(text, sizeof(text), "%.32s %.32s", display, param->GetLabelForHost());
    mValDisplayControl->SetTextFromPlug(text);
  }
  if (mNameDisplayControl) mNameDisplayControl->SetTextFromPlug(param->GetNameForHost());
}

void IControl::SetClean() {
  unsigned flags = mFlags.load(std::memory_order_relaxed);
  while (!mFlags.compare_exchange_weak(flags, (flags & kRedraw) ? kDirty : 0u,
                                       std::memory_order_acq_rel, std::memory_order_relaxed)) {
  }
}

void IControl::Hide(bool hide) {
  mHide.store(hide, std::memory_order_relaxed);
  Redraw();
  SetDirty(false);
}

void IControl::GrayOut(bool gray) {
  mGrayed = gray;
  mBlend.mWeight = gray ? 0.25f : 1.0f;
  SetDirty(false);
}

void IControl::OnMouseDown(int, int, IMouseMod* mod) {
  if (mod && mod->R) PromptUserInput();
}

void IControl::OnMouseDblClick(int, int, IMouseMod*) {
  const double def = mDefaultValue.load(std::memory_order_relaxed);
  if (def < 0.0) return;
  mValue.store(def, std::memory_order_relaxed);
  SetDirty(true);
}

void IControl::OnMouseWheel(int, int, IMouseMod* mod, int d) {
  const bool fine = mod && (mod->C || mod->S);
  SetValue(GetValue() + d * (fine ? 0.001 : 0.01));
  SetDirty(true);
}

void IControl::PromptUserInput() {
  if (mParamIdx < 0 || mDisablePrompt || !mPlug) return;
  IParam* param = mPlug->GetParam(mParamIdx);
  if (!param) return;
  IRECT area = mRECT;
  if (param->GetNDisplayTexts() == 0) {
    const int cx = static_cast<int>(mRECT.MW()), cy = static_cast<int>(mRECT.MH());
    area = IRECT(cx - 15, cy - 8, cx + 15, cy + 8);
  }
  PromptUserInput(&area);
}

void IControl::PromptUserInput(IRECT* area) {
  if (mParamIdx < 0 || mDisablePrompt || !mPlug) return;
  IGraphics* gui = GetGUI();
  IParam* param = mPlug->GetParam(mParamIdx);
  if (!gui || !param) return;
  gui->PromptUserInput(this, param, area);
  Redraw();
}

void IControl::AddAuxParam(int paramIdx) {
  mAuxParams.Add(AuxParam{0.0, paramIdx});
}

int IControl::AuxParamIdx(int paramIdx) const {
  for (int i = 0; i < mAuxParams.GetSize(); ++i)
    if (mAuxParams.Get()[i].mParamIdx == paramIdx) return i;
  return -1;
}

IControl::AuxParam* IControl::GetAuxParam(int idx) {
  return idx >= 0 && idx < mAuxParams.GetSize() ? mAuxParams.Get() + idx : nullptr;
}

double IControl::GetAuxParamValue(int idx) const {
  return idx >= 0 && idx < mAuxParams.GetSize() ? LoadRelaxed(&mAuxParams.Get()[idx].mValue) : 0.0;
}

void IControl::SetAuxParamValueFromPlug(int auxParamIdx, double value) {
  AuxParam* aux = GetAuxParam(auxParamIdx);
  if (!aux || LoadRelaxed(&aux->mValue) == value) return;
  StoreRelaxed(&aux->mValue, value);
  SetDirty(false);
  Redraw();
}

void IControl::SetAllAuxParamsFromGUI() {
  if (!mPlug) return;
  for (int i = 0; i < mAuxParams.GetSize(); ++i)
    mPlug->SetParameterFromGUI(mAuxParams.Get()[i].mParamIdx, GetAuxParamValue(i));
}
