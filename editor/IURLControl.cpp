#include "editor/IURLControl.h"

#include <cstdio>

#include "editor/IGraphics.h"

namespace {

void CopyIn(char* field, size_t size, const char* text) {
  if (text && *text) snprintf(field, size, "%s", text);
}

} // namespace

IURLControl::IURLControl(IPlugBase* plug, IRECT rect, const char* url, const char* backupURL,
                         const char* errMsgOnFailure)
    : IControl(plug, rect) {
  CopyIn(mURL, sizeof(mURL), url);
  CopyIn(mBackupURL, sizeof(mBackupURL), backupURL);
  CopyIn(mErrMsg, sizeof(mErrMsg), errMsgOnFailure);
}

void IURLControl::OnMouseDown(int, int, IMouseMod*) {
  IGraphics* gui = GetGUI();
  if (!gui) return;
  // The error message goes where the host shows it when opening fails.
  const char* errMsg = mErrMsg[0] ? mErrMsg : nullptr;
  bool opened = false;
  if (mURL[0]) opened = gui->OpenURL(mURL, nullptr, nullptr, errMsg);
  if (!opened && mBackupURL[0]) gui->OpenURL(mBackupURL, nullptr, nullptr, errMsg);
}
