// Opening and closing the editor, and the X side the host keeps for it: a
// connection of our own, the parent window the view is attached to, and the
// run loop that drives the view's timer and X events.
#include "EditorDriver.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <set>
#include <string>

using namespace Steinberg;
using vst3host::HostedEditor;
using vst3host::HostRunLoop;

namespace {

const int kRoundPercent = 2;
const int kParentW = 760, kParentH = 640;
// Larger than any screen the editor is meant for: a size past it is nonsense.
const int kMaxSide = 4096;

std::string Num(double v) {
  char text[40];
  snprintf(text, sizeof text, "%.9g", v);
  return text;
}

std::string Size(int w, int h) {
  return std::to_string(w) + " x " + std::to_string(h);
}

} // namespace

EditorDriver::EditorDriver(Target* target, Driver* driver, uint64_t seed)
    : mTarget(target), mDriver(driver), mRng(seed) {
  if (!ConnectX()) {
    printf("torture: %s: editor steps are off\n",
           getenv("DISPLAY") ? "the X server of DISPLAY refused us" : "no DISPLAY");
    fflush(stdout);
    return;
  }
  mLoop = new HostRunLoop();
}

EditorDriver::~EditorDriver() {
  Close();
  if (mLoop) mLoop->release();
  if (mConn) {
    if (mParent) xcb_destroy_window(mConn, mParent);
    xcb_disconnect(mConn);
  }
}

bool EditorDriver::ConnectX() {
  if (!getenv("DISPLAY")) return false;
  xcb_connection_t* conn = xcb_connect(nullptr, nullptr);
  const xcb_screen_t* screen =
      xcb_connection_has_error(conn) ? nullptr : xcb_setup_roots_iterator(xcb_get_setup(conn)).data;
  if (!screen) {
    xcb_disconnect(conn);
    return false;
  }
  mConn = conn;
  mRoot = screen->root;
  mParent = xcb_generate_id(mConn);
  // Override-redirect: no window manager gets between us and the size we set.
  const uint32_t values[] = {screen->black_pixel, 1};
  xcb_create_window(mConn, XCB_COPY_FROM_PARENT, mParent, screen->root, 0, 0, kParentW, kParentH, 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                    XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
  xcb_map_window(mConn, mParent);
  xcb_flush(mConn);
  return true;
}

bool EditorDriver::StartRound() {
  return mRng.Percent(kRoundPercent) && On();
}

// The frame's answer to the view's resize requests: the parent follows.
bool EditorDriver::ResizeParent(int w, int h) {
  if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide) {
    mDriver->Fail("the editor asked for an impossible size", Size(w, h));
    return false;
  }
  const uint32_t size[] = {static_cast<uint32_t>(w), static_cast<uint32_t>(h)};
  xcb_configure_window(mConn, mParent, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size);
  xcb_flush(mConn);
  return true;
}

int EditorDriver::ChildWindows() {
  xcb_query_tree_reply_t* tree =
      xcb_query_tree_reply(mConn, xcb_query_tree(mConn, mParent), nullptr);
  const int children = tree ? xcb_query_tree_children_length(tree) : -1;
  free(tree);
  return children;
}

xcb_window_t EditorDriver::EditorWindow() {
  xcb_query_tree_reply_t* tree =
      xcb_query_tree_reply(mConn, xcb_query_tree(mConn, mParent), nullptr);
  const xcb_window_t window =
      tree && xcb_query_tree_children_length(tree) > 0 ? xcb_query_tree_children(tree)[0] : 0;
  free(tree);
  return window;
}

// Our connection asks for no events; what comes is the odd error reply.
void EditorDriver::DrainOwnEvents() {
  while (xcb_generic_event_t* event = xcb_poll_for_event(mConn)) free(event);
}

void EditorDriver::Open() {
  const double kInf = std::numeric_limits<double>::infinity();
  static const double kScales[] = {1.0, 1.0,  1.0, 1.5, 2.0, 1.25,  0.0, -1.0,
                                   NAN, kInf, 0.5, 9.0, 1e9, -kInf, -0.0};
  const double scale = mRng.Pick(kScales);
  const bool sane = scale >= 1.0 && scale <= 8.0;
  mEditor = std::make_unique<HostedEditor>(mTarget->controller, mLoop,
                                           [this](int w, int h) { return ResizeParent(w, h); });
  ++mOpens;
  mScale = 1.0;
  mFramed = false;
  bool created = false;
  if (!mDriver->Call("createView", [&] { created = mEditor->Create(scale); })) {
    Close();
    return;
  }
  IPlugView* view = mEditor->View();
  if (!view) {
    mDriver->Fail("no editor view", "createView(\"editor\"): " + mEditor->Error());
    Close();
    return;
  }
  if (created != sane)
    mDriver->Fail(sane ? "a content scale refused" : "an odd content scale taken",
                  Num(scale) + (created ? "" : ": " + mEditor->Error()));
  if (created) {
    mScale = static_cast<float>(scale);
  } else {
    // A refused scale leaves the view as it was: the host goes on without one.
    tresult framed = kResultFalse;
    if (!mDriver->Call("setFrame", [&] { framed = view->setFrame(mEditor->Frame()); })) {
      Close();
      return;
    }
    if (framed != kResultOk) mDriver->Fail("the view refuses its frame", std::to_string(framed));
  }
  mFramed = true;
  // As hosts do: the container is sized for the view before it is attached.
  int w = 0, h = 0;
  if (mDriver->Call("getSize", [&] { mEditor->Size(&w, &h); }) && w > 0 && h > 0 && w <= kMaxSide &&
      h <= kMaxSide)
    ResizeParent(w, h);
  CheckSize("createView");
  if (Attach("attached")) CheckSize("attached");
}

bool EditorDriver::Attach(const char* call) {
  bool attached = false;
  if (!mDriver->Call(call, [&] { attached = mEditor->Attach(mParent); })) return false;
  // Without a frame the view finds no run loop (our host context offers none).
  if (attached != mFramed)
    mDriver->Fail(mFramed ? "the editor did not open" : "the editor opened without a run loop",
                  std::string(call) + ": " + (attached ? "ok" : mEditor->Error()));
  return attached;
}

void EditorDriver::CheckSize(const char* after) {
  int w = 0, h = 0;
  bool sized = false;
  if (!mDriver->Call("getSize", [&] { sized = mEditor->Size(&w, &h); })) return;
  if (!sized) {
    mDriver->Fail("the editor gives no size", std::string("after ") + after);
    return;
  }
  if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide) {
    mDriver->Fail("the editor's size is impossible", Size(w, h) + " after " + after);
    return;
  }
  if (mScale == 1.0 && mBaseW == 0) {
    mBaseW = w;
    mBaseH = h;
  }
  const int wantW = static_cast<int>(std::lround(mBaseW * mScale));
  const int wantH = static_cast<int>(std::lround(mBaseH * mScale));
  if (mBaseW > 0 && (w != wantW || h != wantH))
    mDriver->Fail("the editor's size does not follow its scale",
                  Size(w, h) + " at scale " + Num(mScale) + ", not " + Size(wantW, wantH) +
                      ", after " + after);
}

void EditorDriver::Close() {
  if (mEditor) CloseAs(0);
}

// how: 0 removed then released, 1 released without removed, 2 removed twice.
void EditorDriver::CloseAs(int how) {
  mDriver->Call("removed and release", [&] {
    IPlugView* view = mEditor->View();
    if (how == 2 && view) {
      view->removed();
      view->removed();
    }
    mEditor->Release(how != 0);
    mEditor.reset();
  });
  mEditor.reset();
  if (mLoop->Registered() != 0)
    mDriver->Fail("a closed editor left handlers in the run loop",
                  std::to_string(mLoop->Registered()) + " after close " + std::to_string(how));
  // The editor's own connection destroyed its window; the server may take a
  // moment to get to it.
  int children = ChildWindows();
  for (int wait = 0; children > 0 && wait < 100; ++wait) {
    timespec nap{0, 5000000};
    nanosleep(&nap, nullptr);
    children = ChildWindows();
  }
  if (children > 0) // -1: the server could not tell
    mDriver->Fail("a closed editor left its window",
                  std::to_string(children) + " after close " + std::to_string(how));
  CheckGestures(how == 1 ? "released without removed" : "removed and released");
  DrainOwnEvents();
}

void EditorDriver::CheckGestures(const char* after) {
  const std::set<Vst::ParamID> open = mTarget->handler->TakeOpenGestures();
  if (open.empty()) return;
  std::string ids;
  for (Vst::ParamID id : open) ids += " " + std::to_string(id);
  mDriver->Fail("a gesture left open when the editor closed", std::string(after) + ": id" + ids);
}
