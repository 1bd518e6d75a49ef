#include "tools/editor/HostWindow.h"

#include <cstdlib>
#include <cstring>

#include "platform/linux/detail/XcbSession.h"

namespace {

// One channel of a server pixel, by its mask, as 8 bits.
int Channel(uint32_t pixel, uint32_t mask) {
  if (!mask) return 0;
  int shift = 0;
  while (!((mask >> shift) & 1)) ++shift;
  return static_cast<int>(((pixel & mask) >> shift) & 0xff);
}

} // namespace

HostWindow::HostWindow() = default;

HostWindow::~HostWindow() {
  Close();
}

bool HostWindow::Open(int w, int h, const std::string& title) {
  Close();
  mX = std::make_unique<XcbSession>();
  if (!mX->Open()) {
    mX.reset();
    return false;
  }
  xcb_connection_t* c = mX->Conn();
  xcb_screen_t* screen = mX->Screen();
  mWindow = xcb_generate_id(c);
  const uint32_t values[] = {screen->black_pixel, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
  xcb_create_window(c, XCB_COPY_FROM_PARENT, mWindow, screen->root, 0, 0, static_cast<uint16_t>(w),
                    static_cast<uint16_t>(h), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                    XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, mWindow, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                      static_cast<uint32_t>(title.size()), title.data());
  const xcb_atom_t protocols = mX->Atom("WM_PROTOCOLS");
  mDeleteAtom = mX->Atom("WM_DELETE_WINDOW");
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, mWindow, protocols, XCB_ATOM_ATOM, 32, 1,
                      &mDeleteAtom);
  xcb_map_window(c, mWindow);
  mX->Sync();
  return true;
}

void HostWindow::Close() {
  if (mX && mWindow) {
    xcb_destroy_window(mX->Conn(), mWindow);
    mX->Sync();
  }
  mWindow = 0;
  mX.reset();
}

bool HostWindow::Resize(int w, int h) {
  if (!mX || !mWindow || w <= 0 || h <= 0) return false;
  const uint32_t size[] = {static_cast<uint32_t>(w), static_cast<uint32_t>(h)};
  xcb_configure_window(mX->Conn(), mWindow, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT,
                       size);
  mX->Sync();
  return true;
}

int HostWindow::Fd() const {
  return mX ? mX->Fd() : -1;
}

bool HostWindow::CloseRequested() {
  if (!mX) return true;
  while (xcb_generic_event_t* event = xcb_poll_for_event(mX->Conn())) {
    const uint8_t type = event->response_type & 0x7f;
    if (type == XCB_CLIENT_MESSAGE) {
      auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
      if (message->format == 32 && message->data.data32[0] == mDeleteAtom) mCloseRequested = true;
    } else if (type == XCB_DESTROY_NOTIFY &&
               reinterpret_cast<xcb_destroy_notify_event_t*>(event)->window == mWindow) {
      mCloseRequested = true;
    }
    free(event);
  }
  return mCloseRequested || mX->Broken();
}

xcb_window_t HostWindow::ViewableChild() {
  if (!mX || !mWindow) return 0;
  xcb_connection_t* c = mX->Conn();
  xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, mWindow), nullptr);
  if (!tree) return 0;
  xcb_window_t found = 0;
  const xcb_window_t* children = xcb_query_tree_children(tree);
  for (int i = 0; i < xcb_query_tree_children_length(tree) && !found; ++i) {
    xcb_get_window_attributes_reply_t* a =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, children[i]), nullptr);
    if (a && a->map_state == XCB_MAP_STATE_VIEWABLE) found = children[i];
    free(a);
  }
  free(tree);
  return found;
}

bool HostWindow::ReadPixels(xcb_window_t window, LICE_MemBitmap* out) {
  if (!mX || !window || !out) return false;
  xcb_connection_t* c = mX->Conn();
  xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr);
  if (!g) return false;
  const int w = g->width, h = g->height;
  free(g);
  xcb_get_image_reply_t* image =
      xcb_get_image_reply(c,
                          xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0,
                                        static_cast<uint16_t>(w), static_cast<uint16_t>(h), ~0u),
                          nullptr);
  if (!image) return false;
  PixelFormat format;
  const bool known = mX->FormatForVisual(image->visual, &format) && format.bitsPerPixel == 32 &&
                     xcb_get_image_data_length(image) == w * h * 4;
  if (known && out->resize(w, h)) {
    const uint8_t* bytes = xcb_get_image_data(image);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const uint8_t* p = bytes + (static_cast<size_t>(y) * w + x) * 4;
        const uint32_t pixel = format.msbFirst
                                   ? (uint32_t{p[0]} << 24) | (p[1] << 16) | (p[2] << 8) | p[3]
                                   : (uint32_t{p[3]} << 24) | (p[2] << 16) | (p[1] << 8) | p[0];
        out->getBits()[y * out->getRowSpan() + x] =
            LICE_RGBA(Channel(pixel, format.redMask), Channel(pixel, format.greenMask),
                      Channel(pixel, format.blueMask), 255);
      }
  }
  free(image);
  return known;
}
