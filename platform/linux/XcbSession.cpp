#include "detail/XcbSession.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <xcb/xfixes.h>

namespace {

constexpr uint32_t kCoreRequestLimit = 262140;

} // namespace

bool XcbSession::Open() {
  Close();
  int screenNumber = 0;
  mConn = xcb_connect(nullptr, &screenNumber);
  if (!mConn || xcb_connection_has_error(mConn)) {
    Close();
    return false;
  }
  const xcb_setup_t* setup = xcb_get_setup(mConn);
  xcb_screen_iterator_t it = xcb_setup_roots_iterator(setup);
  for (int i = 0; it.rem && i < screenNumber; ++i) xcb_screen_next(&it);
  mScreen = it.rem ? it.data : nullptr;
  const uint32_t maxWords = xcb_get_maximum_request_length(mConn);
  mMaxRequestBytes = std::min<uint64_t>(static_cast<uint64_t>(maxWords) * 4, kCoreRequestLimit);
  mKeysyms = xcb_key_symbols_alloc(mConn);
  if (!mScreen || !mKeysyms || mMaxRequestBytes < 1024 ||
      !FormatForVisual(mScreen->root_visual, &mRootFormat)) {
    Close();
    return false;
  }
  return true;
}

void XcbSession::Close() {
  if (mKeysyms) xcb_key_symbols_free(mKeysyms);
  if (mConn) xcb_disconnect(mConn);
  mKeysyms = nullptr;
  mConn = nullptr;
  mScreen = nullptr;
  mXFixes = -1;
}

bool XcbSession::Broken() const {
  return !mConn || xcb_connection_has_error(mConn);
}

int XcbSession::Fd() const {
  return mConn ? xcb_get_file_descriptor(mConn) : -1;
}

bool XcbSession::FindVisual(xcb_visualid_t visual, const xcb_visualtype_t** type,
                            uint8_t* depth) const {
  for (xcb_depth_iterator_t d = xcb_screen_allowed_depths_iterator(mScreen); d.rem;
       xcb_depth_next(&d)) {
    for (xcb_visualtype_iterator_t v = xcb_depth_visuals_iterator(d.data); v.rem;
         xcb_visualtype_next(&v)) {
      if (v.data->visual_id != visual) continue;
      *type = v.data;
      *depth = d.data->depth;
      return true;
    }
  }
  return false;
}

bool XcbSession::FormatForVisual(xcb_visualid_t visual, PixelFormat* format) const {
  if (!mConn || !mScreen) return false;
  const xcb_visualtype_t* type = nullptr;
  uint8_t depth = 0;
  if (!FindVisual(visual, &type, &depth) || type->_class != XCB_VISUAL_CLASS_TRUE_COLOR)
    return false;
  const xcb_setup_t* setup = xcb_get_setup(mConn);
  PixelFormat f;
  f.depth = depth;
  f.bitsPerPixel = 0;
  for (xcb_format_iterator_t it = xcb_setup_pixmap_formats_iterator(setup); it.rem;
       xcb_format_next(&it))
    if (it.data->depth == depth) f.bitsPerPixel = it.data->bits_per_pixel;
  f.msbFirst = setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
  f.redMask = type->red_mask;
  f.greenMask = type->green_mask;
  f.blueMask = type->blue_mask;
  if (!PixelFormatSupported(f)) return false;
  *format = f;
  return true;
}

xcb_atom_t XcbSession::Atom(const char* name) {
  if (!mConn || !name) return XCB_ATOM_NONE;
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      mConn, xcb_intern_atom(mConn, 0, static_cast<uint16_t>(strlen(name)), name), nullptr);
  const xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  free(reply);
  return atom;
}

uint32_t XcbSession::Keysym(uint8_t keycode, uint16_t state) {
  if (!mKeysyms) return 0;
  if (state & XCB_MOD_MASK_SHIFT) {
    const uint32_t shifted = xcb_key_symbols_get_keysym(mKeysyms, keycode, 1);
    if (shifted) return shifted;
  }
  return xcb_key_symbols_get_keysym(mKeysyms, keycode, 0);
}

uint8_t XcbSession::Keycode(uint32_t keysym) {
  if (!mKeysyms) return 0;
  xcb_keycode_t* codes = xcb_key_symbols_get_keycode(mKeysyms, keysym);
  const uint8_t code = codes ? codes[0] : 0;
  free(codes);
  return code;
}

bool XcbSession::XFixesReady() {
  if (mXFixes < 0 && mConn) {
    xcb_xfixes_query_version_reply_t* reply = xcb_xfixes_query_version_reply(
        mConn, xcb_xfixes_query_version(mConn, XCB_XFIXES_MAJOR_VERSION, 0), nullptr);
    mXFixes = reply && reply->major_version >= 4 ? 1 : 0;
    free(reply);
  }
  return mXFixes == 1;
}

void XcbSession::Sync() {
  if (!mConn) return;
  free(xcb_get_input_focus_reply(mConn, xcb_get_input_focus(mConn), nullptr));
}

bool XcbSession::GrabInput(xcb_window_t window) {
  if (!mConn) return false;
  for (int attempt = 0; attempt < 20; ++attempt) {
    xcb_grab_pointer_reply_t* pointer = xcb_grab_pointer_reply(
        mConn,
        xcb_grab_pointer(mConn, 0, window,
                         XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
                             XCB_EVENT_MASK_POINTER_MOTION,
                         XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE, XCB_NONE,
                         XCB_CURRENT_TIME),
        nullptr);
    const bool pointerOk = pointer && pointer->status == XCB_GRAB_STATUS_SUCCESS;
    free(pointer);
    xcb_grab_keyboard_reply_t* keyboard =
        xcb_grab_keyboard_reply(mConn,
                                xcb_grab_keyboard(mConn, 0, window, XCB_CURRENT_TIME,
                                                  XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                                nullptr);
    const bool keyboardOk = keyboard && keyboard->status == XCB_GRAB_STATUS_SUCCESS;
    free(keyboard);
    if (pointerOk && keyboardOk) return true;
    UngrabInput();
    timespec pause{0, 10 * 1000 * 1000};
    nanosleep(&pause, nullptr);
  }
  return false;
}

void XcbSession::UngrabInput() {
  if (!mConn) return;
  xcb_ungrab_pointer(mConn, XCB_CURRENT_TIME);
  xcb_ungrab_keyboard(mConn, XCB_CURRENT_TIME);
  xcb_flush(mConn);
}
