#include "editor/IFileSelectorControl.h"

#include <cstring>

#include "wdl/heap_buf.h"

IFileSelectorControl::IFileSelectorControl(IPlugBase* plug, IRECT rect, int paramIdx,
                                           IBitmap* bitmap, EFileAction action, const char* dir,
                                           const char* extensions)
    : IControl(plug, rect, paramIdx), mDir(dir ? dir : ""),
      mExtensions(extensions ? extensions : ""), mFileAction(action) {
  if (bitmap) mBitmap = *bitmap;
}

bool IFileSelectorControl::Draw(IGraphics* graphics) {
  if (mState != kFSSelecting) return true;
  return graphics->DrawBitmap(&mBitmap, &mRECT, 1, &mBlend);
}

void IFileSelectorControl::OnMouseDown(int, int, IMouseMod*) {
  IGraphics* gui = GetGUI();
  if (!gui || mState == kFSSelecting) return;
  mState = kFSSelecting;
  SetDirty(false);
  // The prompt takes its extensions as a writable text: it gets a copy.
  const int length = mExtensions.GetLength();
  WDL_HeapBuf extensions(64);
  char* copy = static_cast<char*>(extensions.Resize(length + 1, false));
  if (copy) memcpy(copy, mExtensions.Get(), static_cast<size_t>(length) + 1);
  gui->PromptForFile(&mFile, mFileAction, &mDir, copy);
  double value = GetValue() + 1.0;
  if (value > 1.0) value = 0.0;
  SetValue(value);
  mState = kFSDone;
  SetDirty(true);
}

bool IFileSelectorControl::IsDirty() {
  if (IControl::IsDirty()) return true;
  if (mState != kFSDone) return false;
  mState = kFSNone;
  return true;
}

void IFileSelectorControl::GetLastSelectedFileForPlug(WDL_String* file) const {
  if (file) file->Set(mFile.Get());
}

void IFileSelectorControl::SetLastSelectedFileFromPlug(const char* file) {
  mFile.Set(file ? file : "");
}
