#pragma once
// A handle bitmap sliding along a track of len pixels: up for higher values
// when vertical, right when horizontal. A click or drag puts the handle's
// centre under the pointer.
#include "editor/IControl.h"
#include "editor/IKnobControl.h"

class IFaderControl : public IControl {
public:
  // The rectangle is the track: len pixels long, as wide (or, horizontal, as
  // high) as one frame of the handle. onlyHandle: only the handle is hit.
  IFaderControl(IPlugBase* plug, int x, int y, int len, int paramIdx, IBitmap* handle,
                EDirection direction = kVertical, bool onlyHandle = false);

  bool Draw(IGraphics* graphics) override;
  // Right button: a prompt; otherwise the handle snaps to the pointer.
  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  void OnMouseDrag(int x, int y, int dX, int dY, IMouseMod* mod) override;
  bool IsHit(int x, int y) override;
  // Sets the value that centres the handle on the pointer. A track no longer
  // than its handle has no travel: the value stays.
  virtual void SnapToMouse(int x, int y);

  int GetLength() const { return mLen; }
  // The handle's size along the track.
  int GetHandleHeadroom() const { return mHandleHeadroom; }
  // Where the handle is drawn for the current value.
  IRECT GetHandleRECT() const;

protected:
  int mLen, mHandleHeadroom;
  IBitmap mBitmap;
  EDirection mDirection;
  bool mOnlyHandle;
};
