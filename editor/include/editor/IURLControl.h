#pragma once
// An invisible click area that opens a web address (or a fallback one).
#include "editor/IControl.h"

class IURLControl : public IControl {
public:
  IURLControl(IPlugBase* plug, IRECT rect, const char* url, const char* backupURL = nullptr,
              const char* errMsgOnFailure = nullptr);

  bool Draw(IGraphics*) override { return true; }
  void OnMouseDown(int x, int y, IMouseMod* mod) override;

  const char* GetURL() const { return mURL; }

protected:
  char mURL[256] = {};
  char mBackupURL[256] = {};
  char mErrMsg[1024] = {};
};
