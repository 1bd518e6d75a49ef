#pragma once
// One connection to the X server, opened for one editor window and closed
// with it: the screen, the key table, the largest request the server takes
// and the pixel layouts of its visuals. Nothing here is process-wide, so
// editors (and the host) never share X state, and no error handler is
// installed: xcb reports errors as events, which the owner logs and ignores.
#include <cstdint>
#include <vector>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include "platform/linux/PixelFormat.h"

class XcbSession {
public:
  XcbSession() = default;
  ~XcbSession() { Close(); }
  XcbSession(const XcbSession&) = delete;
  XcbSession& operator=(const XcbSession&) = delete;

  // Connects to the display named by DISPLAY. False, with nothing left open,
  // when there is no server or it reports a layout we cannot draw.
  bool Open();
  void Close();
  bool IsOpen() const { return mConn != nullptr; }
  // The server went away or broke the connection.
  bool Broken() const;

  xcb_connection_t* Conn() const { return mConn; }
  xcb_screen_t* Screen() const { return mScreen; }
  xcb_window_t Root() const { return mScreen ? mScreen->root : 0; }
  int Fd() const;
  // Bytes in one put-image request, kept under the core limit of 262,140
  // bytes so that each band is a modest request even with big requests.
  uint32_t MaxRequestBytes() const { return mMaxRequestBytes; }
  void SetMaxRequestBytes(uint32_t bytes) { mMaxRequestBytes = bytes; }

  // The layout of a visual of this screen; false when it is not one we draw.
  bool FormatForVisual(xcb_visualid_t visual, PixelFormat* format) const;
  const PixelFormat& RootFormat() const { return mRootFormat; }

  xcb_atom_t Atom(const char* name);
  // The keysym of a key event's keycode, with Shift choosing the second
  // column when it has one.
  uint32_t Keysym(uint8_t keycode, uint16_t state);
  // The first keycode that types the keysym, or 0.
  uint8_t Keycode(uint32_t keysym);

  // Cursor hiding needs the XFixes extension, asked for once.
  bool XFixesReady();
  // Pointer and keyboard to the window until UngrabInput (menus, our own
  // message box). Retried briefly: another client may hold a grab for a
  // moment. False when the grab cannot be had.
  bool GrabInput(xcb_window_t window);
  void UngrabInput();
  // Round trip: every request sent before has been handled.
  void Sync();

private:
  bool FindVisual(xcb_visualid_t visual, const xcb_visualtype_t** type, uint8_t* depth) const;

  xcb_connection_t* mConn = nullptr;
  xcb_screen_t* mScreen = nullptr;
  xcb_key_symbols_t* mKeysyms = nullptr;
  uint32_t mMaxRequestBytes = 0;
  PixelFormat mRootFormat;
  int mXFixes = -1; // -1 not asked, 0 missing, 1 ready
};
