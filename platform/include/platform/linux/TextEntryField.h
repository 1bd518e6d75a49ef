#pragma once
// The in-place text field: a child window over a control, drawn by us, that
// edits a TextEditBuffer. What a finished entry means for the control is the
// owner's (IGraphicsLinux) business.
#include <cstdint>
#include <xcb/xcb.h>

#include "editor/IRECT.h"
#include "lice/lice.h"
#include "platform/linux/OverlayWindow.h"
#include "platform/linux/TextEditRules.h"

class IControl;
class IParam;
class LICE_IFont;
class XcbSession;

class TextEntryField {
public:
  enum EResult { kIgnored, kHandled, kCommit, kCancel };
  struct Style {
    LICE_IFont* font = nullptr;
    LICE_Pixel32 background = LICE_RGBA(255, 255, 255, 255);
    LICE_Pixel32 foreground = LICE_RGBA(0, 0, 0, 255);
    unsigned align = 0; // 0, DT_CENTER or DT_RIGHT
    int inset = 3;      // window pixels between the frame and the text
  };

  TextEntryField(IControl* control, IParam* param, const Style& style, TextEditBuffer buffer)
      : mControl(control), mParam(param), mStyle(style), mBuffer(std::move(buffer)) {}

  // A child of parent over rect (window pixels), mapped and given the focus.
  bool Open(XcbSession* x, xcb_window_t parent, const PixelFormat& format, const IRECT& rect);
  EResult OnKey(uint32_t keysym);
  void Paint();

  xcb_window_t Id() const { return mWindow.Id(); }
  const std::string& Text() const { return mBuffer.Text(); }
  IControl* Control() const { return mControl; }
  IParam* Param() const { return mParam; }
  LICE_IBitmap* Canvas() { return mWindow.Canvas(); }

private:
  IControl* mControl;
  IParam* mParam;
  Style mStyle;
  TextEditBuffer mBuffer;
  OverlayWindow mWindow;
  XcbSession* mX = nullptr;
};
