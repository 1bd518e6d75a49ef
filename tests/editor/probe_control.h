#pragma once
// A control that counts its draws and records the events it receives.
#include <string>

#include "editor/IControl.h"
#include "editor/IGraphics.h"

class ProbeControl : public IControl {
public:
  ProbeControl(IPlugBase* plug, IRECT rect, int paramIdx = -1) : IControl(plug, rect, paramIdx) {}

  bool Draw(IGraphics*) override {
    ++mDraws;
    mLastDrawn = GetValue();
    return true;
  }
  void OnMouseDown(int x, int y, IMouseMod* mod) override {
    mLog += mod->R ? "D(R)" : "D";
    IControl::OnMouseDown(x, y, mod);
  }
  void OnMouseUp(int, int, IMouseMod*) override { mLog += "U"; }
  void OnMouseDrag(int, int, int dX, int dY, IMouseMod*) override {
    mLog += "M" + std::to_string(dX) + "," + std::to_string(dY);
  }
  bool OnKeyDown(int, int, int key) override {
    mLog += "K" + std::to_string(key);
    return true;
  }
  void OnMouseOver(int, int, IMouseMod*) override { mLog += "O"; }
  void OnMouseOut() override { mLog += "X"; }

  int mDraws = 0;
  double mLastDrawn = -1.0;
  std::string mLog;
};
