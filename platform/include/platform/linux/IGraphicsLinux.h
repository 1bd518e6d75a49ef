#pragma once
// The editor's platform host on Linux: an X11 window (through xcb) inside the
// host's window, driven by the host's event loop.
//
// How a format binding uses it (the VST 3 view, or a stand-alone program):
//   IGraphics* gui = MakePlatformGraphics(plug, w, h, fps, &identity);
//   ...build the controls, plug->AttachGraphics(gui)...
//   gui->SetEventLoop(loop);              // before every OpenWindow
//   gui->SetScaleFactor(s);               // optional; window is round(w*s) x round(h*s)
//   gui->OpenWindow((void*)(uintptr_t)parentWindowId);   // null when refused
//   gui->OnHostKeyDown(character, virtualKey, modifiers); // keys the host passes on
//   gui->CloseWindow();                   // before the loop or the parent go
// OpenWindow with a null parent opens a top-level window (stand-alone use).
// The loop must outlive the open window; SetEventLoop(null) closes it.
//
// Every call runs on the loop's thread. Menus, message boxes and file
// prompts are modal: they run a nested loop on our own connection (the
// editor keeps repainting) and return when the user has answered.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include <xcb/xcb.h>

#include "editor/IGraphics.h"
#include "lice/lice.h"
#include "platform/IEventLoop.h"
#include "platform/PlatformGraphics.h"
#include "platform/linux/ClickTracker.h"
#include "platform/linux/ScreenWriter.h"
#include "platform/linux/TextEntryField.h"

class ModalClient;
class OverlayWindow;
class XcbSession;

class IGraphicsLinux : public IGraphics {
public:
  IGraphicsLinux(IPlugBase* plug, int w, int h, int fps = 0,
                 const PlatformIdentity* identity = nullptr);
  ~IGraphicsLinux() override;

  bool DrawScreen(IRECT* region) override;
  void ForceEndUserEdit() override;
  void Resize(int w, int h) override;
  const char* GetGUIAPI() override { return "X11"; }
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
  bool PromptForColor(IColor*, char*) override { return false; }
  bool OpenURL(const char* url, const char* windowTitle, const char* confirmMsg,
               const char* errMsgOnFailure) override;
  // parentView carries the host's X11 window id.
  void* OpenWindow(void* parentView) override;
  void CloseWindow() override;
  // Our window's id as a pointer-sized value, or null while closed.
  void* GetWindow() override;
  void HideMouseCursor() override;
  void ShowMouseCursor() override;
  void UpdateTooltips() override;
  LICE_IBitmap* OSLoadBitmap(int ID, const char* name) override;

  void SetEventLoop(IEventLoop* loop) override;
  bool SetScaleFactor(double scale) override;
  double GetScaleFactor() const override { return mScale; }
  bool OnHostKeyDown(char16_t character, int virtualKey, int modifiers) override;

  // "IGraphicsLinux_v<product>_<format>": the WM class of every window.
  const char* WindowClassName() const { return mClassName.c_str(); }
  const std::string& BundleID() const { return mBundleID; }
  // Bitmaps load from this folder instead of the bundle's resources
  // (tests, tools); empty restores the bundle.
  void SetBitmapFolder(const char* folder) { mBitmapFolder = folder ? folder : ""; }
  int WindowWidth() const { return mWindowW; }
  int WindowHeight() const { return mWindowH; }
  bool TextEntryOpen() const { return mTextEntry != nullptr; }
  bool ModalOpen() const { return mModal; }

  // For the modal parts of this host (menus, message boxes, prompts).
  XcbSession* Session() const { return mX.get(); }
  xcb_window_t WindowId() const { return mWindow; }
  // Runs until the client is done, the window goes or the connection
  // breaks; false for the latter two and when another modal is running.
  bool RunModal(ModalClient* client, int extraFd = -1);
  // Window pixels of an editor rectangle, and root coordinates of a window point.
  IRECT ToWindow(const IRECT& editorRect) const;
  bool WindowToRoot(int x, int y, int* rootX, int* rootY);

private:
  // The loop calls these from the host: nothing may leave them by an
  // exception (memory running out while drawing, say).
  class TimerLink : public IEventLoopTimer {
  public:
    explicit TimerLink(IGraphicsLinux* owner) : mOwner(owner) {}
    void OnTimer() override {
      Guarded([this] { mOwner->OnFrameTimer(); });
    }

  private:
    IGraphicsLinux* mOwner;
  };
  class FdLink : public IEventLoopFdHandler {
  public:
    explicit FdLink(IGraphicsLinux* owner) : mOwner(owner) {}
    void OnFdReady(int) override {
      Guarded([this] { mOwner->DrainEvents(); });
    }

  private:
    IGraphicsLinux* mOwner;
  };
  template <class F> static void Guarded(F f) {
    try {
      f();
    } catch (...) {
      ReportFailure();
    }
  }
  static void ReportFailure();

  bool CreateWindow(xcb_window_t parent);
  bool Register(IEventLoop* loop);
  void Unregister();
  void ApplyWindowSize();
  void OnFrameTimer();
  // Draws and shows what is dirty; the tooltip and child reaping ride along.
  void Tick();
  void DrainEvents();
  void Dispatch(xcb_generic_event_t* event);
  // Modal loops pass on what the editor window must still see.
  void DispatchWhileModal(xcb_generic_event_t* event);
  void OnButtonPress(const xcb_button_press_event_t* e);
  void OnButtonRelease(const xcb_button_release_event_t* e);
  void OnMotion(const xcb_motion_notify_event_t* e);
  void OnKeyPress(const xcb_key_press_event_t* e);
  void OnExpose(const xcb_expose_event_t* e);
  bool HandleKeysym(uint32_t keysym);
  void EndTextEntry(bool commit);
  IRECT EntryRect(const IRECT& area, const TextEntryField::Style& look, int chars) const;
  // The editor rectangle shown in the window: scaled when not 1:1.
  void PutEditorRect(const IRECT& editorRect);
  void ShowTooltipIfResting();
  void HideTooltip();
  int EditorX(int windowX) const;
  int EditorY(int windowY) const;

  std::string mClassName;
  std::string mProductName;
  std::string mBundleID;
  std::string mBitmapFolder;
  IEventLoop* mLoop = nullptr;
  bool mRegistered = false;
  TimerLink mTimerLink{this};
  FdLink mFdLink{this};
  std::unique_ptr<XcbSession> mX;
  xcb_window_t mWindow = 0;
  xcb_gcontext_t mGC = 0;
  PixelFormat mFormat;
  bool mWindowGone = false; // destroyed with its parent
  double mScale = 1.0;
  int mWindowW, mWindowH;
  ScreenWriter mWriter;
  LICE_MemBitmap mScaled;
  IRECT mExposed;
  ClickTracker mClicks;
  bool mModal = false;
  int64_t mLastTickMs = 0;
  std::unique_ptr<TextEntryField> mTextEntry;
  // Tooltip areas (editor pixels) and the control each belongs to.
  std::vector<std::pair<IRECT, int>> mTooltipAreas;
  std::unique_ptr<OverlayWindow> mTooltip;
  int mPrevX = 0, mPrevY = 0;         // last mouse event, editor pixels: keys go there
  int mPointerX = -1, mPointerY = -1; // resting pointer for tooltips, -1 outside
  int64_t mPointerRestMs = 0;
  bool mTooltipShown = false;
};
