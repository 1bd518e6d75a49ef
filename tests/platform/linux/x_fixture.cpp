#include "tests/platform/linux/x_fixture.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <sys/stat.h>
#include <thread>
#include <xcb/xtest.h>

#include "editor/IKnobMultiControl.h"
#include "editor/ITextControl.h"
#include "editor/IURLControl.h"
#include "lice/lice_png.h"
#include "platform/linux/ScreenWriter.h"

namespace {

// The enumerated parameter's control: a flat box; a right-click prompts.
class ModeBox : public IControl {
public:
  ModeBox(IPlugBase* plug, IRECT rect, int param) : IControl(plug, rect, param) {
    DisablePrompt(false);
  }
  bool Draw(IGraphics* g) override {
    const IColor color(255, 60 + static_cast<int>(GetValue() * 150), 50, 40);
    return g->FillIRect(&color, &mRECT);
  }
};

} // namespace

XDriver::~XDriver() {
  if (mKeysyms) xcb_key_symbols_free(mKeysyms);
  if (mConn) xcb_disconnect(mConn);
}

bool XDriver::Connect() {
  if (!getenv("DISPLAY")) return false;
  // The virtual server now and then refuses a connection while it is still
  // letting the last test's clients go: ask again before giving up.
  for (int attempt = 0; attempt < 20; ++attempt, Pause(50)) {
    if (mConn) xcb_disconnect(mConn);
    mConn = xcb_connect(nullptr, nullptr);
    if (!xcb_connection_has_error(mConn)) break;
  }
  if (xcb_connection_has_error(mConn)) return false;
  mScreen = xcb_setup_roots_iterator(xcb_get_setup(mConn)).data;
  const xcb_query_extension_reply_t* xtest = xcb_get_extension_data(mConn, &xcb_test_id);
  mKeysyms = xcb_key_symbols_alloc(mConn);
  return mScreen && xtest && xtest->present && mKeysyms;
}

xcb_window_t XDriver::MakeWindow(int x, int y, int w, int h) {
  const xcb_window_t window = xcb_generate_id(mConn);
  const uint32_t values[] = {mScreen->black_pixel, 1};
  xcb_create_window(mConn, XCB_COPY_FROM_PARENT, window, mScreen->root, static_cast<int16_t>(x),
                    static_cast<int16_t>(y), static_cast<uint16_t>(w), static_cast<uint16_t>(h), 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, mScreen->root_visual,
                    XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
  xcb_map_window(mConn, window);
  Sync();
  return window;
}

void XDriver::Destroy(xcb_window_t window) {
  xcb_destroy_window(mConn, window);
  Sync();
}

void XDriver::Move(int rootX, int rootY) {
  xcb_test_fake_input(mConn, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, mScreen->root,
                      static_cast<int16_t>(rootX), static_cast<int16_t>(rootY), 0);
  Sync();
}

void XDriver::Button(int button, bool down) {
  xcb_test_fake_input(mConn, down ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE,
                      static_cast<uint8_t>(button), XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
  Sync();
}

void XDriver::Click(int button) {
  Button(button, true);
  Button(button, false);
}

void XDriver::Key(uint32_t keysym) {
  xcb_keycode_t* codes = xcb_key_symbols_get_keycode(mKeysyms, keysym);
  if (!codes) return;
  const xcb_keycode_t code = codes[0];
  free(codes);
  const bool shifted = xcb_key_symbols_get_keysym(mKeysyms, code, 0) != keysym;
  xcb_keycode_t* shiftCodes = xcb_key_symbols_get_keycode(mKeysyms, 0xffe1); // Shift_L
  const xcb_keycode_t shift = shiftCodes ? shiftCodes[0] : 0;
  free(shiftCodes);
  if (shifted && shift) xcb_test_fake_input(mConn, XCB_KEY_PRESS, shift, 0, XCB_NONE, 0, 0, 0);
  xcb_test_fake_input(mConn, XCB_KEY_PRESS, code, 0, XCB_NONE, 0, 0, 0);
  xcb_test_fake_input(mConn, XCB_KEY_RELEASE, code, 0, XCB_NONE, 0, 0, 0);
  if (shifted && shift) xcb_test_fake_input(mConn, XCB_KEY_RELEASE, shift, 0, XCB_NONE, 0, 0, 0);
  Sync();
}

void XDriver::Type(const char* text) {
  for (; *text; ++text) Key(static_cast<unsigned char>(*text));
}

void XDriver::Sync() {
  free(xcb_get_input_focus_reply(mConn, xcb_get_input_focus(mConn), nullptr));
}

void XDriver::Pause(int ms) {
  timespec t{ms / 1000, (ms % 1000) * 1000000L};
  nanosleep(&t, nullptr);
}

bool XDriver::Geometry(xcb_window_t window, IRECT* rect) {
  xcb_get_geometry_reply_t* g =
      xcb_get_geometry_reply(mConn, xcb_get_geometry(mConn, window), nullptr);
  if (!g) return false;
  xcb_translate_coordinates_reply_t* t = xcb_translate_coordinates_reply(
      mConn, xcb_translate_coordinates(mConn, window, mScreen->root, 0, 0), nullptr);
  if (t) *rect = IRECT(t->dst_x, t->dst_y, t->dst_x + g->width, t->dst_y + g->height);
  free(t);
  free(g);
  return t != nullptr;
}

bool XDriver::Screenshot(xcb_window_t window, LICE_MemBitmap* out) {
  IRECT r;
  if (!Geometry(window, &r)) return false;
  xcb_get_image_reply_t* image = xcb_get_image_reply(
      mConn,
      xcb_get_image(mConn, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, static_cast<uint16_t>(r.W()),
                    static_cast<uint16_t>(r.H()), ~0u),
      nullptr);
  if (!image) return false;
  // Xvfb at depth 24: 32 bits a pixel, bytes B, G, R, X.
  const uint8_t* bytes = xcb_get_image_data(image);
  const bool ok = xcb_get_image_data_length(image) == r.W() * r.H() * 4 &&
                  xcb_get_setup(mConn)->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST;
  out->resize(r.W(), r.H());
  for (int y = 0; ok && y < r.H(); ++y)
    for (int x = 0; x < r.W(); ++x) {
      const uint8_t* p = bytes + (static_cast<size_t>(y) * r.W() + x) * 4;
      out->getBits()[y * out->getRowSpan() + x] = LICE_RGBA(p[2], p[1], p[0], 255);
    }
  free(image);
  return ok;
}

xcb_atom_t XDriver::Atom(const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      mConn, xcb_intern_atom(mConn, 0, static_cast<uint16_t>(strlen(name)), name), nullptr);
  const xcb_atom_t atom = reply ? reply->atom : 0;
  free(reply);
  return atom;
}

std::string XDriver::Property(xcb_window_t window, const char* name, int* format) {
  const xcb_atom_t atom =
      strcmp(name, "WM_CLASS") == 0 ? static_cast<xcb_atom_t>(XCB_ATOM_WM_CLASS) : Atom(name);
  xcb_get_property_reply_t* reply = xcb_get_property_reply(
      mConn, xcb_get_property(mConn, 0, window, atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 64), nullptr);
  std::string value;
  if (reply) {
    if (format) *format = reply->format;
    value.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                 static_cast<size_t>(xcb_get_property_value_length(reply)));
  }
  free(reply);
  return value;
}

xcb_window_t XDriver::FindPopup(const std::string& wmClass, IRECT* rootRect) {
  xcb_query_tree_reply_t* tree =
      xcb_query_tree_reply(mConn, xcb_query_tree(mConn, mScreen->root), nullptr);
  if (!tree) return 0;
  xcb_window_t found = 0;
  const xcb_window_t* children = xcb_query_tree_children(tree);
  // Topmost first: a submenu lies above its menu.
  for (int i = xcb_query_tree_children_length(tree) - 1; i >= 0 && !found; --i) {
    xcb_get_window_attributes_reply_t* a = xcb_get_window_attributes_reply(
        mConn, xcb_get_window_attributes(mConn, children[i]), nullptr);
    const bool popup = a && a->override_redirect && a->map_state == XCB_MAP_STATE_VIEWABLE;
    free(a);
    if (popup && Property(children[i], "WM_CLASS").compare(0, wmClass.size(), wmClass) == 0)
      found = children[i];
  }
  free(tree);
  if (found && rootRect) Geometry(found, rootRect);
  return found;
}

xcb_window_t XDriver::WaitForPopup(const std::string& wmClass, int timeoutMs, IRECT* rootRect) {
  for (int waited = 0; waited <= timeoutMs; waited += 10, Pause(10))
    if (xcb_window_t w = FindPopup(wmClass, rootRect)) return w;
  return 0;
}

bool XDriver::PopupGone(const std::string& wmClass, int timeoutMs) {
  for (int waited = 0; waited <= timeoutMs; waited += 10, Pause(10))
    if (!FindPopup(wmClass, nullptr)) return true;
  return false;
}

bool XDriver::Viewable(xcb_window_t window) {
  xcb_get_window_attributes_reply_t* a =
      xcb_get_window_attributes_reply(mConn, xcb_get_window_attributes(mConn, window), nullptr);
  const bool viewable = a && a->map_state == XCB_MAP_STATE_VIEWABLE;
  free(a);
  return viewable;
}

xcb_window_t XDriver::WaitForChild(xcb_window_t parent, int timeoutMs) {
  for (int waited = 0; waited <= timeoutMs; waited += 10, Pause(10)) {
    xcb_query_tree_reply_t* tree =
        xcb_query_tree_reply(mConn, xcb_query_tree(mConn, parent), nullptr);
    const xcb_window_t child =
        tree && xcb_query_tree_children_length(tree) ? xcb_query_tree_children(tree)[0] : 0;
    free(tree);
    if (child) return child;
  }
  return 0;
}

void XEditorTest::SetUp() {
  if (!mX.Connect()) GTEST_SKIP() << "no X display with XTEST (the X tests run under xvfb-run)";
  mParent = mX.MakeWindow(kParentX, kParentY, 760, 640);
  // The pointer starts away from the editor, so no test begins over a control.
  mX.Move(1000, 760);
}

void XEditorTest::TearDown() {
  mPlug.reset(); // deletes the editor, which closes its window
  if (mParent) mX.Destroy(mParent);
}

IGraphicsLinux* XEditorTest::MakeEditor(RecordingPlug* plug, double scale) {
  PlatformIdentity id;
  id.productName = "GrittleTest";
  id.format = "vst3";
  IGraphicsLinux* gui = static_cast<IGraphicsLinux*>(MakePlatformGraphics(plug, 350, 288, 0, &id));
  gui->SetBitmapFolder(EffectArtDir().c_str());
  gui->AttachBackground(kBackgroundID, "resources/img/Grittlebox_Background.png");
  struct Knob {
    int id, frames, x, y, param;
    const char* file;
  } knobs[] = {{kKnobInID, 41, 29, 207, RecordingPlug::kIn, "Knob_In_Frames.png"},
               {kKnobOutID, 41, 254, 207, RecordingPlug::kOut, "Knob_Out_Frames.png"},
               {kKnobDistortID, 128, 112, 68, RecordingPlug::kDistort, "Knob_Distort_Frames.png"}};
  for (const Knob& k : knobs) {
    IBitmap strip = gui->LoadIBitmap(k.id, k.file, k.frames);
    IControl* knob = new IKnobMultiControl(plug, k.x, k.y, k.param, &strip);
    knob->DisablePrompt(false);
    gui->AttachControl(knob);
  }
  gui->AttachControl(new IURLControl(plug, IRECT(254, 61, 336, 139), "https://example.org/"));
  IText style = ReadoutStyle();
  const IRECT readouts[3] = {{11, 270, 111, 288}, {236, 270, 336, 288}, {128, 210, 228, 230}};
  for (int i = 0; i < 3; ++i) {
    plug->mReadouts[i] = new ITextControl(plug, readouts[i], &style, "0.00 dB");
    gui->AttachControl(plug->mReadouts[i]);
  }
  gui->AttachControl(new ModeBox(plug, IRECT(20, 20, 100, 44), RecordingPlug::kMode));
  gui->AttachKeyCatcher(mKeys = new KeyRecorder(plug));
  plug->AttachGraphics(gui);
  gui->SetEventLoop(&mLoop);
  gui->SetScaleFactor(scale);
  return gui;
}

void XEditorTest::OpenEditor(EAPI api, double scale) {
  mScale = scale;
  mPlug = std::make_unique<RecordingPlug>(api);
  mGui = MakeEditor(mPlug.get(), scale);
  ASSERT_NE(mGui->OpenWindow(reinterpret_cast<void*>(static_cast<uintptr_t>(mParent))), nullptr);
  // Requests from two connections reach the server in no set order: on a busy
  // machine the pointer events of a test could otherwise come before the map.
  const xcb_window_t window =
      static_cast<xcb_window_t>(reinterpret_cast<uintptr_t>(mGui->GetWindow()));
  ASSERT_TRUE(mLoop.RunUntil([&] { return mX.Viewable(window); }, 5000))
      << "the editor's window was never shown";
  mLoop.RunFor(120);
}

void XEditorTest::ToRoot(int x, int y, int* rootX, int* rootY) const {
  *rootX = kParentX + static_cast<int>(x * mScale);
  *rootY = kParentY + static_cast<int>(y * mScale);
}

void XEditorTest::Drive(const std::function<void(XDriver&)>& script, int timeoutMs) {
  std::atomic<bool> done{false};
  std::thread driver([&] {
    XDriver x;
    if (x.Connect()) script(x);
    done = true;
  });
  const bool finished = mLoop.RunUntil([&] { return done.load(); }, timeoutMs);
  if (!finished) mLoop.RunUntil([&] { return done.load(); }, 60000);
  driver.join();
  // What the last events caused is drawn before the test looks.
  mLoop.RunFor(80);
  EXPECT_TRUE(finished) << "the script did not finish in time";
}

void XEditorTest::SavePng(LICE_IBitmap* bitmap, const char* name) {
  const char* dir = getenv("GRITTLEBOX_SCREENSHOTS");
  const std::string folder = dir && *dir ? dir : "/tmp/grittlebox-linux-host-shots";
  mkdir(folder.c_str(), 0755);
  LICE_WritePNG((folder + "/" + name).c_str(), bitmap, false);
}

bool XEditorTest::ShowsDrawBitmap(IGraphicsLinux* gui, const char* savePng) {
  LICE_MemBitmap shot;
  if (!mX.Screenshot(static_cast<xcb_window_t>(reinterpret_cast<uintptr_t>(gui->GetWindow())),
                     &shot))
    return false;
  if (savePng) SavePng(&shot, savePng);
  // The window shows the draw bitmap 1:1 or scaled as one whole window.
  LICE_MemBitmap expected(gui->WindowWidth(), gui->WindowHeight());
  if (gui->GetScaleFactor() == 1.0)
    LICE_Blit(&expected, gui->GetDrawBitmap(), 0, 0, nullptr, 1.0f, LICE_MODE_COPY);
  else
    ScaleForWindow(gui->GetDrawBitmap(), gui->GetScaleFactor(),
                   IRECT(0, 0, expected.getWidth(), expected.getHeight()), &expected);
  if (shot.getWidth() != expected.getWidth() || shot.getHeight() != expected.getHeight())
    return false;
  int differing = 0;
  for (int y = 0; y < shot.getHeight(); ++y)
    for (int x = 0; x < shot.getWidth(); ++x) {
      const LICE_Pixel32 a = LICE_GetPixel(&shot, x, y), b = LICE_GetPixel(&expected, x, y);
      if ((a & 0xffffff00u) != (b & 0xffffff00u) && differing++ == 0)
        ADD_FAILURE() << "first difference at " << x << ", " << y;
    }
  return differing == 0;
}

int XEditorTest::OpenDescriptors() {
  int n = 0;
  if (DIR* dir = opendir("/proc/self/fd")) {
    while (readdir(dir)) ++n;
    closedir(dir);
  }
  return n;
}
