// Steps on the open editor, as hosts make them between its opening and its
// closing, each with a check of what it answered where the answer is known.
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "EditorDriver.h"
#include "OddValues.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

using namespace Steinberg;

namespace {

std::string Num(double v) {
  char text[40];
  snprintf(text, sizeof text, "%.9g", v);
  return text;
}

void* WindowHandle(xcb_window_t window) {
  return reinterpret_cast<void*>(static_cast<uintptr_t>(window));
}

} // namespace

// Pumping weighs most: it is where the editor draws what the processing
// thread sets.
const EditorDriver::Kind EditorDriver::kKinds[] = {
    {"run loop", 8, &EditorDriver::Pump},
    {"getSize", 5, &EditorDriver::AskSize},
    {"onSize", 6, &EditorDriver::OddSizes},
    {"onKeyDown", 8, &EditorDriver::Keys},
    {"onWheel and onFocus", 4, &EditorDriver::WheelAndFocus},
    {"setContentScaleFactor", 2, &EditorDriver::Scale},
    {"setFrame", 4, &EditorDriver::Frame},
    {"attached twice", 3, &EditorDriver::AttachTwice},
    {"removed and attached", 3, &EditorDriver::Reattach},
    {"second view", 2, &EditorDriver::SecondView},
    {"pointer", 10, &EditorDriver::Pointer},
    {"close", 4, &EditorDriver::CloseStep},
};

void EditorDriver::Step() {
  if (!On()) return;
  if (!mEditor) {
    Open();
    return;
  }
  (this->*mRng.PickWeighted(kKinds, [](const Kind& kind) { return kind.weight; }).run)();
}

// A wait of up to the editor's frame period lets its timer draw; the loop
// waits no longer than until its next timer is due.
void EditorDriver::Pump() {
  const int waitMs = mRng.Between(0, 45);
  mDriver->Call("run loop", [&] { mLoop->RunOnce(waitMs); });
  DrainOwnEvents();
}

void EditorDriver::AskSize() {
  CheckSize("getSize");
}

// The host's own idea of the size changes nothing of the editor's.
void EditorDriver::OddSizes() {
  static const ViewRect kRects[] = {ViewRect(0, 0, 0, 0),
                                    ViewRect(0, 0, -5, -5),
                                    ViewRect(10, 10, 0, 0),
                                    ViewRect(0, 0, INT32_MAX, INT32_MAX),
                                    ViewRect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX),
                                    ViewRect(0, 0, 1, 1),
                                    ViewRect(0, 0, 350, 288),
                                    ViewRect(-100, -100, 100, 100),
                                    ViewRect(0, 0, 100000, 3),
                                    ViewRect(5, 7, 705, 583)};
  Rng& rng = mRng;
  ViewRect rect = rng.Pick(kRects);
  ViewRect* given = rng.Percent(15) ? nullptr : &rect;
  IPlugView* view = mEditor->View();
  if (!mDriver->Call("canResize, checkSizeConstraint and onSize", [&] {
        view->canResize();
        view->checkSizeConstraint(given);
        if (given) rect = rng.Pick(kRects);
        view->onSize(given);
      }))
    return;
  CheckSize("onSize");
}

// Odd keys, codes and modifiers; the effect's controls take no keys, so only
// the answer itself is asked for.
void EditorDriver::Keys() {
  static const char16 kChars[] = {0,      u'a',  u'Z',    u' ',   u'0',   u'9',
                                  u'+',   u'-',  0x7F,    0xD800, 0xDFFF, 0xFFFF,
                                  0xFFFE, u'\r', u'\x1b', u'\t',  0x00E9, 0x0663};
  static const int16 kCodes[] = {0,  1,  2,  3,  4,  5,   6,  7,         8,        9,  10,
                                 11, 12, 13, 14, 15, 16,  17, 18,        19,       20, 30,
                                 40, 50, 60, 70, 80, 100, -1, INT16_MIN, INT16_MAX};
  const char16 key = mRng.Pick(kChars);
  const int16 code = mRng.Percent(60) ? 0 : mRng.Pick(kCodes);
  const int16 modifiers = static_cast<int16>(mRng.Percent(70) ? mRng.Below(16) : mRng.Next());
  IPlugView* view = mEditor->View();
  mDriver->Call("onKeyDown and onKeyUp", [&] {
    view->onKeyDown(key, code, modifiers);
    view->onKeyUp(key, code, modifiers);
  });
}

void EditorDriver::WheelAndFocus() {
  Rng& rng = mRng;
  const float distance = static_cast<float>(rng.Percent(50) ? rng.Between(-3, 3) : OddDouble(rng));
  const TBool focus = rng.Percent(50);
  IPlugView* view = mEditor->View();
  mDriver->Call("onWheel and onFocus", [&] {
    view->onWheel(distance);
    view->onFocus(focus);
  });
}

// A scale the view takes while attached makes it ask the host to follow.
void EditorDriver::Scale() {
  const double kInf = std::numeric_limits<double>::infinity();
  static const double kScales[] = {1.0, 1.5, 2.0, 1.25, 8.0, 0.0, -1.0, NAN, kInf, 9.0, 0.999};
  const double scale = mRng.Pick(kScales);
  const bool sane = scale >= 1.0 && scale <= 8.0;
  IPlugView* view = mEditor->View();
  const int requests = mEditor->Frame()->ResizeRequests();
  tresult result = kInternalError;
  bool scalable = false;
  if (!mDriver->Call("setContentScaleFactor", [&] {
        IPlugViewContentScaleSupport* scaling = nullptr;
        if (view->queryInterface(IPlugViewContentScaleSupport::iid,
                                 reinterpret_cast<void**>(&scaling)) != kResultOk ||
            !scaling)
          return;
        scalable = true;
        result = scaling->setContentScaleFactor(static_cast<float>(scale));
        scaling->release();
      }))
    return;
  if (!scalable) {
    mDriver->Fail("the view cannot be scaled", "no IPlugViewContentScaleSupport");
    return;
  }
  if (sane != (result == kResultOk))
    mDriver->Fail(sane ? "a content scale refused" : "an odd content scale taken",
                  Num(scale) + " answered " + std::to_string(result));
  if (result == kResultOk) {
    const double taken = static_cast<float>(scale);
    const bool followed = mEditor->Frame()->ResizeRequests() > requests;
    if (taken != mScale && mEditor->Attached() && mFramed && !followed)
      mDriver->Fail("the host was not asked to follow a new scale",
                    Num(mScale) + " to " + Num(taken));
    mScale = taken;
  }
  CheckSize("setContentScaleFactor");
}

void EditorDriver::Frame() {
  IPlugFrame* frame = mFramed ? nullptr : mEditor->Frame();
  IPlugView* view = mEditor->View();
  if (mDriver->Call("setFrame", [&] { view->setFrame(frame); })) mFramed = frame != nullptr;
}

void EditorDriver::AttachTwice() {
  if (!mEditor->Attached()) {
    Reattach();
    return;
  }
  IPlugView* view = mEditor->View();
  tresult result = kInternalError;
  if (!mDriver->Call("attached again", [&] {
        result = view->attached(WindowHandle(mParent), kPlatformTypeX11EmbedWindowID);
      }))
    return;
  if (result == kResultOk)
    mDriver->Fail("a view attached twice", "the second attached answered ok");
}

// Removed (sometimes twice), offered a parent it cannot use, attached again.
void EditorDriver::Reattach() {
  Rng& rng = mRng;
  IPlugView* view = mEditor->View();
  if (mEditor->Attached() && !mDriver->Call("removed", [&] {
        mEditor->Remove();
        if (rng.Percent(30)) view->removed();
      }))
    return;
  if (mLoop->Registered() != 0)
    mDriver->Fail("a removed editor left handlers in the run loop",
                  std::to_string(mLoop->Registered()));
  CheckGestures("removed");
  if (rng.Percent(30)) {
    static const char* const kTypes[] = {kPlatformTypeX11EmbedWindowID, "HWND", "NSView", "",
                                         nullptr};
    // No such window, no window at all, or a platform the view does not know.
    const uint32_t roll = rng.Below(3);
    void* parent = roll == 0   ? WindowHandle(0x7ffffff0u)
                   : roll == 1 ? nullptr
                               : WindowHandle(mParent);
    const char* type = roll == 2 ? rng.Pick(kTypes) : kPlatformTypeX11EmbedWindowID;
    if (roll == 2 && type == kTypes[0]) type = "HWND";
    tresult result = kInternalError;
    if (!mDriver->Call("attached to no usable parent",
                       [&] { result = view->attached(parent, type); }))
      return;
    if (result == kResultOk || mLoop->Registered() != 0)
      mDriver->Fail("a view attached to no usable parent",
                    std::string(type ? type : "(null type)") + ", answered " +
                        std::to_string(result));
    if (result == kResultOk) mDriver->Call("removed", [&] { view->removed(); });
  }
  if (Attach("attached after removed")) CheckSize("attached after removed");
}

// The effect has one editor: a second view cannot show it while the first does.
void EditorDriver::SecondView() {
  Vst::IEditController* controller = mTarget->controller;
  IPlugView* other = nullptr;
  tresult result = kInternalError;
  const bool firstShows = mEditor->Attached();
  if (!mDriver->Call("second view", [&] {
        other = controller->createView(Vst::ViewType::kEditor);
        if (!other) return;
        other->setFrame(mEditor->Frame());
        result = other->attached(WindowHandle(mParent), kPlatformTypeX11EmbedWindowID);
      }))
    return;
  if (!other) {
    mDriver->Fail("no editor view", "the second createView(\"editor\") answered null");
    return;
  }
  if (firstShows && result == kResultOk)
    mDriver->Fail("two views show the editor at once", "the second attached answered ok");
  mDriver->Call("second view removed and released", [&] {
    if (result == kResultOk) other->removed();
    other->setFrame(nullptr);
    other->release();
  });
  if (!firstShows && mLoop->Registered() != 0)
    mDriver->Fail("a closed editor left handlers in the run loop",
                  std::to_string(mLoop->Registered()) + " after the second view");
}

void EditorDriver::CloseStep() {
  CloseAs(static_cast<int>(mRng.Below(3)));
}

void EditorDriver::SendPointer(xcb_window_t window, uint8_t type, uint8_t button, int x, int y,
                               uint16_t state) {
  // Every core event is 32 bytes; button, motion and crossing events share
  // the layout of a button press up to the state field.
  char bytes[32] = {};
  auto* event = reinterpret_cast<xcb_button_press_event_t*>(bytes);
  event->response_type = type;
  event->detail = button;
  event->time = XCB_CURRENT_TIME;
  event->root = mRoot;
  event->event = window;
  event->event_x = static_cast<int16_t>(x);
  event->event_y = static_cast<int16_t>(y);
  event->state = state;
  event->same_screen = 1;
  if (type == XCB_LEAVE_NOTIFY) {
    auto* leave = reinterpret_cast<xcb_leave_notify_event_t*>(bytes);
    leave->mode = XCB_NOTIFY_MODE_NORMAL;
    leave->same_screen_focus = 1;
  }
  const uint32_t mask = type == XCB_BUTTON_PRESS     ? XCB_EVENT_MASK_BUTTON_PRESS
                        : type == XCB_BUTTON_RELEASE ? XCB_EVENT_MASK_BUTTON_RELEASE
                        : type == XCB_MOTION_NOTIFY  ? XCB_EVENT_MASK_POINTER_MOTION
                                                     : XCB_EVENT_MASK_LEAVE_WINDOW;
  xcb_send_event(mConn, 0, window, mask, bytes);
}

// Drags (sometimes left unfinished, as when a host closes the editor under
// the user's hand), wheel turns, double clicks, hovering and leaving,
// anywhere but the upper right quarter, where the product link would start a
// browser.
void EditorDriver::Pointer() {
  const xcb_window_t window = EditorWindow();
  if (!window || mBaseW == 0) return;
  const int w = static_cast<int>(std::lround(mBaseW * mScale));
  const int h = static_cast<int>(std::lround(mBaseH * mScale));
  int x = static_cast<int>(mRng.Below(static_cast<uint32_t>(w)));
  int y = static_cast<int>(mRng.Below(static_cast<uint32_t>(h)));
  if (x >= w / 2 && y < h / 2) y += h / 2;
  const uint16_t keys = mRng.Percent(20) ? XCB_MOD_MASK_SHIFT : 0;
  switch (mRng.Below(5)) {
  case 0: {
    SendPointer(window, XCB_BUTTON_PRESS, 1, x, y, keys);
    for (int moves = mRng.Between(1, 5); moves > 0; --moves) {
      y += mRng.Between(-40, 40);
      SendPointer(window, XCB_MOTION_NOTIFY, 0, x, y, keys | XCB_BUTTON_MASK_1);
    }
    if (mRng.Percent(75))
      SendPointer(window, XCB_BUTTON_RELEASE, 1, x, y, keys | XCB_BUTTON_MASK_1);
    break;
  }
  case 1: {
    const uint8_t button = mRng.Percent(50) ? 4 : 5;
    SendPointer(window, XCB_BUTTON_PRESS, button, x, y, keys);
    SendPointer(window, XCB_BUTTON_RELEASE, button, x, y, keys);
    break;
  }
  case 2:
    for (int click = 0; click < 2; ++click) {
      SendPointer(window, XCB_BUTTON_PRESS, 1, x, y, keys);
      SendPointer(window, XCB_BUTTON_RELEASE, 1, x, y, keys | XCB_BUTTON_MASK_1);
    }
    break;
  case 3:
    SendPointer(window, XCB_MOTION_NOTIFY, 0, x, y, keys);
    break;
  default:
    SendPointer(window, XCB_LEAVE_NOTIFY, 0, x, y, 0);
    break;
  }
  xcb_flush(mConn);
  mDriver->Call("run loop", [&] { mLoop->RunOnce(5); });
  DrainOwnEvents();
}
