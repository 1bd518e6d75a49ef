#pragma once
// A small window of our own that we draw entirely ourselves: a popup
// (override-redirect, on the root, for menus, tooltips and message boxes) or
// a child of another of our windows (the text field). It owns a canvas of
// its size and puts it on screen on request.
#include <xcb/xcb.h>

#include "editor/IRECT.h"
#include "lice/lice.h"
#include "platform/linux/PixelFormat.h"
#include "platform/linux/ScreenWriter.h"

class XcbSession;

class OverlayWindow {
public:
  enum EKind { kPopup, kChild };

  OverlayWindow() = default;
  ~OverlayWindow() { Destroy(); }
  OverlayWindow(const OverlayWindow&) = delete;
  OverlayWindow& operator=(const OverlayWindow&) = delete;

  // rect is in root coordinates for a popup, in the parent's for a child
  // (which shares the parent's visual, given as parentFormat). windowType
  // names the _NET_WM_WINDOW_TYPE atom a compositor may read, or null.
  bool Create(XcbSession* x, EKind kind, xcb_window_t parent, const PixelFormat& parentFormat,
              const IRECT& rect, uint32_t eventMask, const char* wmClass, const char* windowType);
  void Destroy();
  bool IsOpen() const { return mWindow != 0; }

  void Map();
  void MoveResize(const IRECT& rect);
  // Sends the canvas (or a part of it) to the window.
  void Present();
  void Present(const IRECT& part);

  LICE_IBitmap* Canvas() { return &mCanvas; }
  xcb_window_t Id() const { return mWindow; }
  const IRECT& Rect() const { return mRect; }
  bool Contains(int x, int y) const { return mRect.Contains(x, y); }

private:
  XcbSession* mX = nullptr;
  xcb_window_t mWindow = 0;
  xcb_gcontext_t mGC = 0;
  PixelFormat mFormat;
  IRECT mRect;
  LICE_MemBitmap mCanvas;
  ScreenWriter mWriter;
};
