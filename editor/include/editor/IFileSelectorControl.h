#pragma once
// A click area that asks the user for a file to open or save. The control's
// value steps (0, 1, 0, ...) after every prompt so the plug-in hears of it;
// the plug-in reads the chosen file with GetLastSelectedFileForPlug. While
// the prompt is up the control shows the first frame of its bitmap.
#include "editor/IControl.h"
#include "editor/IGraphics.h"
#include "wdl/wdl_string.h"

class IFileSelectorControl : public IControl {
public:
  enum EFileSelectorState { kFSNone = 0, kFSSelecting, kFSDone };

  // extensions: the allowed file types, separated by spaces.
  IFileSelectorControl(IPlugBase* plug, IRECT rect, int paramIdx, IBitmap* bitmap,
                       EFileAction action, const char* dir = "", const char* extensions = "");

  bool Draw(IGraphics* graphics) override;
  // Ignored while a prompt of this control is up.
  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  // Also true once after a prompt has ended, so the control is drawn without
  // its selecting frame; the state then returns to idle.
  bool IsDirty() override;

  void GetLastSelectedFileForPlug(WDL_String* file) const;
  void SetLastSelectedFileFromPlug(const char* file);
  EFileSelectorState GetState() const { return mState; }

protected:
  IBitmap mBitmap;
  WDL_String mDir, mFile, mExtensions;
  EFileAction mFileAction;
  EFileSelectorState mState = kFSNone;
};
