#include "editor/IGraphics.h"

#include "editor/IBitmapControl.h"
#include "editor/IControl.h"
#include "editor/IPanelControl.h"
#include "framework/IParam.h"
#include "framework/IPlugBase.h"
#include "lice/lice.h"

IGraphics::IGraphics(IPlugBase* plug, int w, int h, int fps)
    : mPlug(plug), mWidth(w), mHeight(h), mFPS(fps > 0 ? fps : 25) {}

IGraphics::~IGraphics() {
  DeleteControlsAndBitmaps();
  delete mKeyCatcher;
  mKeyCatcher = nullptr;
}

void IGraphics::DeleteControlsAndBitmaps() {
  mControls.Empty(true);
  delete mDrawBitmap;
  delete mTmpBitmap;
  mDrawBitmap = nullptr;
  mTmpBitmap = nullptr;
}

void IGraphics::AttachBackground(int ID, const char* name) {
  IBitmap bitmap = LoadIBitmap(ID, name, 1);
  // A background that did not load still spans the editor, so the drawing
  // passes that start from it reach every control.
  if (!bitmap.mData) bitmap = IBitmap(nullptr, mWidth, mHeight, 1);
  IControl* background = new IBitmapControl(mPlug, 0, 0, -1, &bitmap, IChannelBlend::kBlendClobber);
  if (!mControls.Insert(0, background)) delete background;
}

void IGraphics::AttachPanelBackground(const IColor* color) {
  IControl* background = new IPanelControl(mPlug, IRECT(0, 0, mWidth, mHeight), color);
  if (!mControls.Insert(0, background)) delete background;
}

int IGraphics::AttachControl(IControl* control) {
  if (!control) return -1;
  if (!mControls.Add(control)) {
    delete control;
    return -1;
  }
  return mControls.GetSize() - 1;
}

void IGraphics::AttachKeyCatcher(IControl* control) {
  if (control == mKeyCatcher) return;
  delete mKeyCatcher;
  mKeyCatcher = control;
}

void IGraphics::PrepDraw() {
  delete mDrawBitmap;
  delete mTmpBitmap;
  mDrawBitmap = new LICE_SysBitmap(mWidth > 0 ? mWidth : 0, mHeight > 0 ? mHeight : 0);
  mTmpBitmap = new LICE_MemBitmap(0, 0, 4);
}

LICE_Pixel32* IGraphics::GetBits() {
  return mDrawBitmap ? mDrawBitmap->getBits() : nullptr;
}

void IGraphics::Resize(int w, int h) {
  mWidth = w;
  mHeight = h;
  ReleaseMouseCapture();
  // The indices of the old controls mean nothing any more.
  mMouseOver = -1;
  DeleteControlsAndBitmaps();
  PrepDraw();
  if (mPlug) mPlug->ResizeGraphics(w, h);
}

bool IGraphics::MeasureIText(IText* text, char* str, IRECT* rect) {
  return DrawIText(text, str, rect, true);
}

void IGraphics::SetParameterFromPlug(int paramIdx, double value, bool normalized) {
  // Controls without a parameter (-1) must not take another's value.
  if (paramIdx < 0) return;
  if (!normalized) {
    const IParam* param = mPlug ? mPlug->GetParam(paramIdx) : nullptr;
    if (!param) return;
    value = param->GetNormalized(value);
  }
  for (int i = 0; i < mControls.GetSize(); ++i) {
    IControl* control = mControls.Get(i);
    if (control->ParamIdx() == paramIdx) control->SetValueFromPlug(value);
    const int aux = control->AuxParamIdx(paramIdx);
    if (aux >= 0) control->SetAuxParamValueFromPlug(aux, value);
  }
}

void IGraphics::SetControlFromPlug(int controlIdx, double normalizedValue) {
  if (IControl* control = mControls.Get(controlIdx)) control->SetValueFromPlug(normalizedValue);
}

void IGraphics::SetAllControlsDirty() {
  for (int i = 0; i < mControls.GetSize(); ++i) mControls.Get(i)->SetDirty(false);
}

void IGraphics::HideControl(int paramIdx, bool hide) {
  for (int i = 0; i < mControls.GetSize(); ++i)
    if (mControls.Get(i)->ParamIdx() == paramIdx) mControls.Get(i)->Hide(hide);
}

void IGraphics::GrayOutControl(int paramIdx, bool gray) {
  for (int i = 0; i < mControls.GetSize(); ++i)
    if (mControls.Get(i)->ParamIdx() == paramIdx) mControls.Get(i)->GrayOut(gray);
}

void IGraphics::ClampControl(int paramIdx, double lo, double hi, bool normalized) {
  if (!normalized) {
    const IParam* param = mPlug ? mPlug->GetParam(paramIdx) : nullptr;
    if (!param) return;
    lo = param->GetNormalized(lo);
    hi = param->GetNormalized(hi);
  }
  for (int i = 0; i < mControls.GetSize(); ++i)
    if (mControls.Get(i)->ParamIdx() == paramIdx) mControls.Get(i)->Clamp(lo, hi);
}

void IGraphics::SetParameterFromGUI(int paramIdx, double normalizedValue) {
  for (int i = 0; i < mControls.GetSize(); ++i)
    if (mControls.Get(i)->ParamIdx() == paramIdx)
      mControls.Get(i)->SetValueFromUserInput(normalizedValue);
}

void IGraphics::SetStrictDrawing(bool strict) {
  mStrict = strict;
  SetAllControlsDirty();
}

bool IGraphics::IsDirty(IRECT* region) {
  bool dirty = false;
  for (int i = 0; i < mControls.GetSize(); ++i) {
    IControl* control = mControls.Get(i);
    if (!control->IsDirty()) continue;
    if (region) *region = region->Union(*control->GetRECT());
    dirty = true;
  }
  return dirty;
}

void IGraphics::DrawStrict(IRECT* region) {
  mDrawRECT = region ? *region : IRECT();
  for (int i = 0; i < mControls.GetSize(); ++i) {
    IControl* control = mControls.Get(i);
    if (!control->IsHidden() && mDrawRECT.Intersects(*control->GetRECT())) control->Draw(this);
  }
  for (int i = 0; i < mControls.GetSize(); ++i) mControls.Get(i)->SetClean();
}

void IGraphics::DrawLoose() {
  IControl* background = mControls.Get(0);
  if (background->IsDirty()) {
    mDrawRECT = *background->GetRECT();
    background->Draw(this);
    background->SetClean();
    for (int i = 1; i < mControls.GetSize(); ++i) {
      IControl* control = mControls.Get(i);
      if (control->IsHidden()) continue;
      control->Draw(this);
      control->SetClean();
    }
    return;
  }
  for (int i = 1; i < mControls.GetSize(); ++i) {
    IControl* dirty = mControls.Get(i);
    if (!dirty->IsDirty()) continue;
    mDrawRECT = *dirty->GetRECT();
    for (int j = 0; j < mControls.GetSize(); ++j) {
      IControl* control = mControls.Get(j);
      if (control->IsHidden()) continue;
      if (j == i || control->GetRECT()->Intersects(mDrawRECT)) control->Draw(this);
    }
    dirty->SetClean();
  }
}

bool IGraphics::Draw(IRECT* region) {
  if (mControls.GetSize() == 0) return true;
  if (mStrict)
    DrawStrict(region);
  else
    DrawLoose();
  return DrawScreen(region);
}
