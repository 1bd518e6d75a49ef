#pragma once
// An editor host without a window: bitmaps load from a folder given to it,
// drawing goes to the off-screen bitmap only, DrawScreen records the regions
// it was asked to show, and every question a user would answer comes from
// the script (HeadlessScript), which also records each request.
#include <string>
#include <vector>

#include "editor/IGraphics.h"
#include "platform/headless/HeadlessScript.h"

class IGraphicsHeadless : public IGraphics {
public:
  // resourceDir holds the PNG files; a resource is found by the last path
  // component of its name.
  IGraphicsHeadless(IPlugBase* plug, int w, int h, int fps = 0, const char* resourceDir = "");

  bool DrawScreen(IRECT* region) override;
  void ForceEndUserEdit() override;
  const char* GetGUIAPI() override { return "headless"; }
  int ShowMessageBox(const char* text, const char* caption, int type) override;
  IPopupMenu* CreateIPopupMenu(IPopupMenu* menu, IRECT* area) override;
  void CreateTextEntry(IControl* control, IText* text, IRECT* area, const char* str,
                       IParam* param) override;
  void HostPath(WDL_String* path) override;
  void PluginPath(WDL_String* path) override;
  void DesktopPath(WDL_String* path) override;
  void AppSupportPath(WDL_String* path) override;
  void PromptForFile(WDL_String* file, EFileAction action, WDL_String* dir,
                     char* extensions) override;
  bool PromptForColor(IColor* color, char* prompt) override;
  bool OpenURL(const char* url, const char* windowTitle, const char* confirmMsg,
               const char* errMsgOnFailure) override;
  void* OpenWindow(void* parentView) override;
  void CloseWindow() override { mOpen = false; }
  void* GetWindow() override { return mOpen ? this : nullptr; }
  void UpdateTooltips() override;
  LICE_IBitmap* OSLoadBitmap(int ID, const char* name) override;

  HeadlessScript& Script() { return mScript; }
  // Regions DrawScreen was asked to show, in order.
  const std::vector<IRECT>& ScreenUpdates() const { return mScreenUpdates; }
  void ClearScreenUpdates() { mScreenUpdates.clear(); }
  // PNG files decoded by every headless editor of the process.
  static int DecodedBitmaps();
  // One poll of the platform timer: the dirty region drawn and shown.
  // Returns false when nothing was dirty.
  bool Poll();
  // A text entry still open: finish it as the user would.
  bool TextEntryOpen() const { return mEntryControl != nullptr; }
  void FinishTextEntry(const char* text);

private:
  std::string mResourceDir;
  HeadlessScript mScript;
  std::vector<IRECT> mScreenUpdates;
  bool mOpen = false;
  IControl* mEntryControl = nullptr;
  IParam* mEntryParam = nullptr;
};
