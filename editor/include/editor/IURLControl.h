#pragma once
// An invisible click area that opens a web address (or a fallback one).
#include "editor/IControl.h"
#include "wdl/wdl_string.h"

class IURLControl : public IControl {
public:
  IURLControl(IPlugBase* plug, IRECT rect, const char* url, const char* backupURL = nullptr,
              const char* errMsgOnFailure = nullptr);

  bool Draw(IGraphics*) override { return true; }
  void OnMouseDown(int x, int y, IMouseMod* mod) override;

  const char* GetURL() const { return mURL.Get(); }

protected:
  // Addresses of any length: a file:// address of a deep folder must not be cut.
  WDL_String mURL;
  WDL_String mBackupURL;
  char mErrMsg[1024] = {};
};
