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
  if (url) mURL.Set(url);
  if (backupURL) mBackupURL.Set(backupURL);
  CopyIn(mErrMsg, sizeof(mErrMsg), errMsgOnFailure);
}

void IURLControl::OnMouseDown(int, int, IMouseMod*) {
  IGraphics* gui = GetGUI();
  if (!gui) return;
  // The error message goes where the host shows it when opening fails.
  const char* errMsg = mErrMsg[0] ? mErrMsg : nullptr;
  bool opened = false;
  if (*mURL.Get()) opened = gui->OpenURL(mURL.Get(), nullptr, nullptr, errMsg);
  if (!opened && *mBackupURL.Get()) gui->OpenURL(mBackupURL.Get(), nullptr, nullptr, errMsg);
}
