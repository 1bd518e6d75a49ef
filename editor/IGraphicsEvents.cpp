// Routing of mouse and key events to the controls.
#include "editor/IControl.h"
#include "editor/IGraphics.h"
#include "framework/IPlugBase.h"

namespace {

// Controls may read the modifiers without checking for null.
IMouseMod* OrNone(IMouseMod* mod, IMouseMod* none) {
  return mod ? mod : none;
}

} // namespace

int IGraphics::FindTopmost(int x, int y, bool mouseOver) const {
  for (int i = mControls.GetSize() - 1; i >= 0; --i) {
    IControl* control = mControls.Get(i);
    if (control->IsHidden()) continue;
    if (control->IsGrayed() && !(mouseOver && control->GetMOWhenGrayed())) continue;
    if (control->IsHit(x, y)) return i;
  }
  return -1;
}

int IGraphics::GetMouseControlIdx(int x, int y, bool mouseOver) {
  return mMouseCapture >= 0 ? mMouseCapture : FindTopmost(x, y, mouseOver);
}

void IGraphics::ReleaseMouseCapture() {
  mMouseCapture = mMouseX = mMouseY = -1;
}

void IGraphics::EndMouseCapture() {
  const IControl* control = mControls.Get(mMouseCapture);
  ReleaseMouseCapture();
  if (control && mPlug && control->ParamIdx() >= 0)
    mPlug->EndInformHostOfParamChange(control->ParamIdx());
}

void IGraphics::OnMouseDown(int x, int y, IMouseMod* mod) {
  IMouseMod none;
  mod = OrNone(mod, &none);
  EndMouseCapture();
  const int c = FindTopmost(x, y, false);
  if (c < 0) return;
  mMouseCapture = c;
  mMouseX = x;
  mMouseY = y;
  IControl* control = mControls.Get(c);
  const int paramIdx = control->ParamIdx();
  if (mPlug && paramIdx >= 0 && mod->R && mPlug->GetAPI() == kAPIVST3) {
    // The host shows its own menu for the parameter; the control never sees the click.
    ReleaseMouseCapture();
    mPlug->PopupHostContextMenuForParam(paramIdx, x, y);
    return;
  }
  if (mPlug && paramIdx >= 0) mPlug->BeginInformHostOfParamChange(paramIdx);
  control->OnMouseDown(x, y, mod);
}

void IGraphics::OnMouseUp(int x, int y, IMouseMod* mod) {
  IMouseMod none;
  mod = OrNone(mod, &none);
  const int c = GetMouseControlIdx(x, y, false);
  ReleaseMouseCapture();
  IControl* control = mControls.Get(c);
  if (!control) return;
  const int paramIdx = control->ParamIdx();
  control->OnMouseUp(x, y, mod);
  // Sent even when no begin was: hosts close a gesture they never saw open.
  if (mPlug && paramIdx >= 0) mPlug->EndInformHostOfParamChange(paramIdx);
}

void IGraphics::OnMouseDrag(int x, int y, IMouseMod* mod) {
  IMouseMod none;
  mod = OrNone(mod, &none);
  IControl* control = mControls.Get(mMouseCapture);
  if (!control || (x == mMouseX && y == mMouseY)) return;
  const int dX = x - mMouseX, dY = y - mMouseY;
  mMouseX = x;
  mMouseY = y;
  control->OnMouseDrag(x, y, dX, dY, mod);
}

bool IGraphics::OnMouseDblClick(int x, int y, IMouseMod* mod) {
  IMouseMod none;
  mod = OrNone(mod, &none);
  EndMouseCapture();
  const int c = FindTopmost(x, y, false);
  IControl* control = mControls.Get(c);
  if (!control) return false;
  if (control->GetDblAsSingleClick()) {
    mMouseCapture = c;
    mMouseX = x;
    mMouseY = y;
    control->OnMouseDown(x, y, mod);
    return true;
  }
  control->OnMouseDblClick(x, y, mod);
  return false;
}

void IGraphics::OnMouseWheel(int x, int y, IMouseMod* mod, int d) {
  IMouseMod none;
  if (IControl* control = mControls.Get(GetMouseControlIdx(x, y, false)))
    control->OnMouseWheel(x, y, OrNone(mod, &none), d);
}

bool IGraphics::OnMouseOver(int x, int y, IMouseMod* mod) {
  if (!mHandleMouseOver) return false;
  IMouseMod none;
  const int c = GetMouseControlIdx(x, y, true);
  IControl* control = mControls.Get(c);
  if (!control) return true;
  mMouseX = x;
  mMouseY = y;
  control->OnMouseOver(x, y, OrNone(mod, &none));
  if (mMouseOver != c)
    if (IControl* previous = mControls.Get(mMouseOver)) previous->OnMouseOut();
  mMouseOver = c;
  return true;
}

void IGraphics::OnMouseOut() {
  for (int i = 0; i < mControls.GetSize(); ++i) mControls.Get(i)->OnMouseOut();
  mMouseOver = -1;
}

bool IGraphics::OnKeyDown(int x, int y, int key) {
  int c = GetMouseControlIdx(x, y, false);
  if (c < 0) c = 0;
  IControl* control = c == 0 ? mKeyCatcher : mControls.Get(c);
  return control && control->OnKeyDown(x, y, key);
}

void IGraphics::OnGUIIdle() {
  for (int i = 0; i < mControls.GetSize(); ++i) mControls.Get(i)->OnGUIIdle();
}

int IGraphics::GetParamIdxForPTAutomation(int x, int y) {
  const int c = GetMouseControlIdx(x, y, false);
  mLastClickedParam = c > 0 ? mControls.Get(c)->ParamIdx() : -1;
  return mLastClickedParam;
}

int IGraphics::GetLastClickedParamForPTAutomation() {
  const int param = mLastClickedParam;
  mLastClickedParam = -1;
  return param;
}
