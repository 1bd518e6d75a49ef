// X events of the editor window turned into editor events. X coordinates are
// already top-left origin; only a scale factor divides them back.
#include <cstdio>

#include "detail/KeyMap.h"
#include "detail/XcbSession.h"
#include "editor/IMouseMod.h"
#include "platform/linux/IGraphicsLinux.h"
#include "platform/linux/OverlayWindow.h"
#include "platform/linux/PollEventLoop.h"
#include "platform/linux/TextEntryField.h"

namespace {

IMouseMod ModFromState(uint16_t state, bool left, bool right) {
  return IMouseMod(left, right, state & XCB_MOD_MASK_SHIFT, state & XCB_MOD_MASK_CONTROL,
                   state & XCB_MOD_MASK_1);
}

} // namespace

void IGraphicsLinux::Dispatch(xcb_generic_event_t* event) {
  const uint8_t type = event->response_type & 0x7f;
  switch (type) {
  case 0: {
    // Requests on a window the host destroyed end here, among others.
    const xcb_generic_error_t* error = reinterpret_cast<xcb_generic_error_t*>(event);
    fprintf(stderr, "IGraphicsLinux: X error %d (request %d), ignored\n", error->error_code,
            error->major_code);
    return;
  }
  case XCB_EXPOSE:
    return OnExpose(reinterpret_cast<xcb_expose_event_t*>(event));
  case XCB_BUTTON_PRESS:
    return OnButtonPress(reinterpret_cast<xcb_button_press_event_t*>(event));
  case XCB_BUTTON_RELEASE:
    return OnButtonRelease(reinterpret_cast<xcb_button_release_event_t*>(event));
  case XCB_MOTION_NOTIFY:
    return OnMotion(reinterpret_cast<xcb_motion_notify_event_t*>(event));
  case XCB_LEAVE_NOTIFY: {
    const auto* e = reinterpret_cast<xcb_leave_notify_event_t*>(event);
    if (e->event != mWindow) return;
    mPointerX = mPointerY = -1;
    HideTooltip();
    OnMouseOut();
    return;
  }
  case XCB_KEY_PRESS:
    return OnKeyPress(reinterpret_cast<xcb_key_press_event_t*>(event));
  case XCB_FOCUS_OUT: {
    const auto* e = reinterpret_cast<xcb_focus_out_event_t*>(event);
    // Focus that leaves the field for another window ends it with its text.
    // Grabs (our own menus among them) only borrow the keyboard, and the
    // pointer details are only news about the window under the pointer.
    const bool leftForGood = e->detail == XCB_NOTIFY_DETAIL_ANCESTOR ||
                             e->detail == XCB_NOTIFY_DETAIL_VIRTUAL ||
                             e->detail == XCB_NOTIFY_DETAIL_NONLINEAR ||
                             e->detail == XCB_NOTIFY_DETAIL_NONLINEAR_VIRTUAL;
    if (mTextEntry && e->event == mTextEntry->Id() && e->mode == XCB_NOTIFY_MODE_NORMAL &&
        leftForGood)
      EndTextEntry(true);
    return;
  }
  case XCB_DESTROY_NOTIFY:
    if (reinterpret_cast<xcb_destroy_notify_event_t*>(event)->window == mWindow) mWindowGone = true;
    return;
  default:
    return; // anything else, malformed or unexpected, is not ours
  }
}

void IGraphicsLinux::DispatchWhileModal(xcb_generic_event_t* event) {
  const uint8_t type = event->response_type & 0x7f;
  if (type == XCB_EXPOSE || type == XCB_DESTROY_NOTIFY || type == 0) Dispatch(event);
}

void IGraphicsLinux::OnExpose(const xcb_expose_event_t* e) {
  if (mTextEntry && e->window == mTextEntry->Id()) {
    mTextEntry->Paint();
    return;
  }
  if (mTooltip && e->window == mTooltip->Id()) {
    mTooltip->Present();
    return;
  }
  if (e->window != mWindow) return;
  mExposed = mExposed.Union(IRECT(e->x, e->y, e->x + e->width, e->y + e->height));
  if (e->count > 0) return; // more of the same exposure follows
  const IRECT w = mExposed;
  mExposed.Clear();
  // The bitmap as it is: exposure is no reason to redraw controls.
  const IRECT editor(EditorX(w.L), EditorY(w.T), EditorX(w.R) + 1, EditorY(w.B) + 1);
  PutEditorRect(editor);
  xcb_flush(mX->Conn());
}

void IGraphicsLinux::OnButtonPress(const xcb_button_press_event_t* e) {
  if (e->event != mWindow) return;
  const int x = EditorX(e->event_x), y = EditorY(e->event_y);
  mPrevX = x, mPrevY = y;
  HideTooltip();
  // A click beside the text field takes the focus from it, as on any desktop.
  if (mTextEntry && e->detail != 4 && e->detail != 5) EndTextEntry(true);
  switch (e->detail) {
  case 1: {
    IMouseMod mod = ModFromState(e->state, true, false);
    if (mClicks.Press(e->time, e->event_x, e->event_y))
      OnMouseDblClick(x, y, &mod);
    else
      OnMouseDown(x, y, &mod);
    return;
  }
  case 3: {
    IMouseMod mod = ModFromState(e->state, false, true);
    mClicks.Reset();
    OnMouseDown(x, y, &mod);
    return;
  }
  case 4:
  case 5: {
    if (mTextEntry) EndTextEntry(false);
    IMouseMod mod = ModFromState(e->state, true, false);
    OnMouseWheel(x, y, &mod, e->detail == 4 ? 1 : -1);
    return;
  }
  default:
    return;
  }
}

void IGraphicsLinux::OnButtonRelease(const xcb_button_release_event_t* e) {
  if (e->event != mWindow || (e->detail != 1 && e->detail != 3)) return;
  IMouseMod mod = ModFromState(e->state, e->detail == 1, e->detail == 3);
  mPrevX = EditorX(e->event_x), mPrevY = EditorY(e->event_y);
  OnMouseUp(mPrevX, mPrevY, &mod);
}

void IGraphicsLinux::OnMotion(const xcb_motion_notify_event_t* e) {
  if (e->event != mWindow) return;
  const int x = EditorX(e->event_x), y = EditorY(e->event_y);
  mPrevX = x, mPrevY = y;
  const bool left = e->state & XCB_BUTTON_MASK_1, right = e->state & XCB_BUTTON_MASK_3;
  if (left || right) {
    if (mTextEntry) return;
    IMouseMod mod = ModFromState(e->state, left, right);
    OnMouseDrag(x, y, &mod);
    return;
  }
  if (x != mPointerX || y != mPointerY) {
    mPointerX = x;
    mPointerY = y;
    mPointerRestMs = PollEventLoop::NowMs();
    HideTooltip();
  }
  IMouseMod mod = ModFromState(e->state, true, false);
  OnMouseOver(x, y, &mod);
}

void IGraphicsLinux::OnKeyPress(const xcb_key_press_event_t* e) {
  if (!mX) return;
  HandleKeysym(mX->Keysym(e->detail, e->state));
}

bool IGraphicsLinux::HandleKeysym(uint32_t keysym) {
  if (mTextEntry) {
    switch (mTextEntry->OnKey(keysym)) {
    case TextEntryField::kCommit:
      EndTextEntry(true);
      return true;
    case TextEntryField::kCancel:
      EndTextEntry(false);
      return true;
    case TextEntryField::kHandled:
      return true;
    case TextEntryField::kIgnored:
    default:
      return false;
    }
  }
  const int key = EditorKeyFromKeysym(keysym);
  if (key == kNoEditorKey) return false;
  return OnKeyDown(mPrevX, mPrevY, key);
}

bool IGraphicsLinux::OnHostKeyDown(char16_t character, int virtualKey, int) {
  if (!mWindow) return false;
  if (mTextEntry) return HandleKeysym(KeysymFromHostKey(character, virtualKey));
  const int key = EditorKeyFromHostKey(character, virtualKey);
  if (key == kNoEditorKey) return false;
  return OnKeyDown(mPrevX, mPrevY, key);
}
