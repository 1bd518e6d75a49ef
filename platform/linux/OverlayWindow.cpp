#include "platform/linux/OverlayWindow.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "detail/XcbSession.h"

namespace {

uint16_t Extent(int v) {
  return static_cast<uint16_t>(std::clamp(v, 1, 32767));
}

} // namespace

bool OverlayWindow::Create(XcbSession* x, EKind kind, xcb_window_t parent,
                           const PixelFormat& parentFormat, const IRECT& rect, uint32_t eventMask,
                           const char* wmClass, const char* windowType) {
  Destroy();
  if (!x || !x->Conn()) return false;
  mX = x;
  xcb_connection_t* c = x->Conn();
  mWindow = xcb_generate_id(c);
  const bool popup = kind == kPopup;
  mFormat = popup ? x->RootFormat() : parentFormat;
  // No background: every pixel is ours to paint, so nothing flashes first.
  const uint32_t mask = XCB_CW_BACK_PIXMAP | XCB_CW_BORDER_PIXEL | XCB_CW_OVERRIDE_REDIRECT |
                        XCB_CW_SAVE_UNDER | XCB_CW_EVENT_MASK;
  const uint32_t values[] = {XCB_BACK_PIXMAP_NONE, 0, popup ? 1u : 0u, popup ? 1u : 0u,
                             eventMask | XCB_EVENT_MASK_EXPOSURE};
  xcb_create_window(c, XCB_COPY_FROM_PARENT, mWindow, popup ? x->Root() : parent,
                    static_cast<int16_t>(rect.L), static_cast<int16_t>(rect.T), Extent(rect.W()),
                    Extent(rect.H()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                    popup ? x->Screen()->root_visual : XCB_COPY_FROM_PARENT, mask, values);
  if (wmClass) {
    // Instance and class, each NUL-terminated.
    std::string both = std::string(wmClass) + '\0' + wmClass + '\0';
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, mWindow, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                        static_cast<uint32_t>(both.size()), both.data());
  }
  if (windowType) {
    const xcb_atom_t type = x->Atom(windowType);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, mWindow, x->Atom("_NET_WM_WINDOW_TYPE"),
                        XCB_ATOM_ATOM, 32, 1, &type);
  }
  mGC = xcb_generate_id(c);
  xcb_create_gc(c, mGC, mWindow, 0, nullptr);
  mRect = rect;
  mCanvas.resize(std::max(rect.W(), 1), std::max(rect.H(), 1));
  return true;
}

void OverlayWindow::Destroy() {
  if (mWindow && mX && mX->Conn()) {
    xcb_free_gc(mX->Conn(), mGC);
    xcb_destroy_window(mX->Conn(), mWindow);
    xcb_flush(mX->Conn());
  }
  mWindow = 0;
  mGC = 0;
  mX = nullptr;
}

void OverlayWindow::Map() {
  if (!mWindow) return;
  const uint32_t above = XCB_STACK_MODE_ABOVE;
  xcb_configure_window(mX->Conn(), mWindow, XCB_CONFIG_WINDOW_STACK_MODE, &above);
  xcb_map_window(mX->Conn(), mWindow);
  xcb_flush(mX->Conn());
}

void OverlayWindow::MoveResize(const IRECT& rect) {
  if (!mWindow) return;
  const uint32_t values[] = {static_cast<uint32_t>(rect.L), static_cast<uint32_t>(rect.T),
                             Extent(rect.W()), Extent(rect.H())};
  xcb_configure_window(mX->Conn(), mWindow,
                       XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                           XCB_CONFIG_WINDOW_HEIGHT,
                       values);
  mRect = rect;
  mCanvas.resize(std::max(rect.W(), 1), std::max(rect.H(), 1));
}

void OverlayWindow::Present() {
  Present(IRECT(0, 0, mCanvas.getWidth(), mCanvas.getHeight()));
}

void OverlayWindow::Present(const IRECT& part) {
  if (!mWindow) return;
  mWriter.Put(mX, mWindow, mGC, mFormat, &mCanvas, part, part.L, part.T);
  xcb_flush(mX->Conn());
}
