#include "editor/IPanelControl.h"

#include "editor/IGraphics.h"

bool IPanelControl::Draw(IGraphics* graphics) {
  graphics->FillIRect(&mColor, &mRECT, &mBlend);
  return true;
}
