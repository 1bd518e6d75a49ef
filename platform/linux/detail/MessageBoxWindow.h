#pragma once
// The message box we draw ourselves when the desktop has no dialog program:
// caption, wrapped text and the buttons of the type, centred over the editor,
// answered by a click on a button, Return (the highlighted button, first at
// the start), Left/Right/Tab to move, or Escape (no answer).
#include <string>
#include <vector>

#include "ModalClient.h"
#include "platform/linux/OverlayWindow.h"

class IGraphicsLinux;
class LICE_IFont;

class MessageBoxWindow : public ModalClient {
public:
  explicit MessageBoxWindow(IGraphicsLinux* host);
  ~MessageBoxWindow() override;

  // The answer code of the button (1, 7 or 2), or 0 without one.
  int Run(const char* text, const char* caption, int type);

  bool OnModalEvent(xcb_generic_event_t* event) override;
  bool ModalDone() override { return mDone; }

private:
  void Layout(const char* text, const char* caption, int type);
  void Paint();
  int ButtonAt(int rootX, int rootY) const;
  void Answer(int button);

  IGraphicsLinux* mHost;
  OverlayWindow mWindow;
  LICE_IFont* mFont;
  LICE_IFont* mBold;
  std::string mCaption;
  std::vector<std::string> mLines;
  std::vector<const char*> mLabels;
  std::vector<IRECT> mButtons; // canvas pixels
  int mLineH = 0, mPad = 0, mW = 0, mH = 0;
  int mFocus = 0;
  int mAnswer = 0;
  bool mDone = false;
  bool mGrabbed = false;
};
