#include "platform/linux/IGraphicsLinux.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <poll.h>

#include "detail/ChildProcess.h"
#include "detail/ModalClient.h"
#include "detail/XcbSession.h"
#include "platform/linux/OverlayWindow.h"
#include "platform/linux/PollEventLoop.h"
#include "platform/linux/TextEntryField.h"

namespace {

std::string NameOr(const char* name, const char* fallback) {
  return name && *name ? name : fallback;
}

} // namespace

IGraphics* MakePlatformGraphics(IPlugBase* plug, int w, int h, int fps,
                                const PlatformIdentity* identity) {
  return new IGraphicsLinux(plug, w, h, fps, identity);
}

IGraphicsLinux::IGraphicsLinux(IPlugBase* plug, int w, int h, int fps,
                               const PlatformIdentity* identity)
    : IGraphics(plug, w, h, fps), mWindowW(w), mWindowH(h) {
  const PlatformIdentity none;
  const PlatformIdentity& id = identity ? *identity : none;
  mProductName = NameOr(id.productName, "Plugin");
  mBundleID = NameOr(id.bundleID, "");
  mClassName = "IGraphicsLinux_v" + mProductName + "_" + NameOr(id.format, "plugin");
}

IGraphicsLinux::~IGraphicsLinux() {
  // The plug-in is going: nobody is left to tell of an unfinished gesture.
  ReleaseMouseCapture();
  CloseWindow();
  ReapFinishedChildren();
}

void IGraphicsLinux::SetEventLoop(IEventLoop* loop) {
  if (loop == mLoop) return;
  if (!mWindow) {
    mLoop = loop;
    return;
  }
  Unregister();
  mLoop = loop;
  // An open window without a loop would never repaint or answer.
  if (!mLoop || !Register(mLoop)) CloseWindow();
}

bool IGraphicsLinux::Register(IEventLoop* loop) {
  const int period = std::max(1000 / FPS(), 1);
  if (!loop->AddTimer(&mTimerLink, period)) return false;
  if (!loop->AddFdWatch(mX->Fd(), &mFdLink)) {
    loop->RemoveTimer(&mTimerLink);
    return false;
  }
  mRegistered = true;
  return true;
}

void IGraphicsLinux::Unregister() {
  if (!mRegistered || !mLoop) return;
  mLoop->RemoveTimer(&mTimerLink);
  mLoop->RemoveFdWatch(&mFdLink);
  mRegistered = false;
}

void* IGraphicsLinux::OpenWindow(void* parentView) {
  CloseWindow();
  if (!mLoop) return nullptr;
  mX = std::make_unique<XcbSession>();
  const xcb_window_t parent = static_cast<xcb_window_t>(reinterpret_cast<uintptr_t>(parentView));
  if (!mX->Open() || !CreateWindow(parent) || !Register(mLoop)) {
    CloseWindow();
    return nullptr;
  }
  // The whole editor is drawn before the window shows, so the first
  // expose finds it ready.
  IRECT all(0, 0, Width(), Height());
  Draw(&all);
  xcb_map_window(mX->Conn(), mWindow);
  xcb_flush(mX->Conn());
  mLastTickMs = PollEventLoop::NowMs();
  UpdateTooltips();
  return GetWindow();
}

bool IGraphicsLinux::CreateWindow(xcb_window_t parent) {
  xcb_connection_t* c = mX->Conn();
  xcb_visualid_t visual = mX->Screen()->root_visual;
  if (parent) {
    xcb_get_window_attributes_reply_t* attrs =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, parent), nullptr);
    if (!attrs) return false; // no such window
    visual = attrs->visual;
    free(attrs);
  } else {
    parent = mX->Root();
  }
  if (!mX->FormatForVisual(visual, &mFormat)) return false;
  ApplyWindowSize();
  mWindow = xcb_generate_id(c);
  const uint32_t events = XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS |
                          XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION |
                          XCB_EVENT_MASK_LEAVE_WINDOW | XCB_EVENT_MASK_KEY_PRESS |
                          XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_FOCUS_CHANGE;
  const uint32_t values[] = {XCB_BACK_PIXMAP_NONE, 0, events};
  xcb_create_window(c, XCB_COPY_FROM_PARENT, mWindow, parent, 0, 0, static_cast<uint16_t>(mWindowW),
                    static_cast<uint16_t>(mWindowH), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, visual,
                    XCB_CW_BACK_PIXMAP | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK, values);
  // Embedding hosts read this before they take the window: version 0, and
  // flags 0 because the host maps it.
  const uint32_t xembed[] = {0, 0};
  const xcb_atom_t xembedAtom = mX->Atom("_XEMBED_INFO");
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, mWindow, xembedAtom, xembedAtom, 32, 2, xembed);
  const std::string both = mClassName + '\0' + mClassName + '\0';
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, mWindow, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                      static_cast<uint32_t>(both.size()), both.data());
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, mWindow, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                      static_cast<uint32_t>(mProductName.size()), mProductName.data());
  mGC = xcb_generate_id(c);
  xcb_create_gc(c, mGC, mWindow, 0, nullptr);
  mWindowGone = false;
  return true;
}

void IGraphicsLinux::CloseWindow() {
  if (mWindow) EndMouseCapture();
  if (mTextEntry) EndTextEntry(false);
  HideTooltip();
  if (CursorHidden()) ShowMouseCursor();
  Unregister();
  if (mX && mX->Conn() && mWindow && !mWindowGone) {
    xcb_free_gc(mX->Conn(), mGC);
    xcb_destroy_window(mX->Conn(), mWindow);
    xcb_flush(mX->Conn());
  }
  mTooltip.reset();
  mX.reset(); // the connection goes, and with it anything the server still holds for us
  mWindow = 0;
  mGC = 0;
  mClicks.Reset();
  mTooltipAreas.clear();
}

void* IGraphicsLinux::GetWindow() {
  return mWindow ? reinterpret_cast<void*>(static_cast<uintptr_t>(mWindow)) : nullptr;
}

void IGraphicsLinux::ApplyWindowSize() {
  mWindowW = std::max(static_cast<int>(std::lround(Width() * mScale)), 1);
  mWindowH = std::max(static_cast<int>(std::lround(Height() * mScale)), 1);
  if (!mWindow || !mX) return;
  const uint32_t size[] = {static_cast<uint32_t>(mWindowW), static_cast<uint32_t>(mWindowH)};
  xcb_configure_window(mX->Conn(), mWindow, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT,
                       size);
}

bool IGraphicsLinux::SetScaleFactor(double scale) {
  if (!(scale >= 1.0) || scale > 8.0) return false;
  if (scale == mScale) return true;
  mScale = scale;
  ForceEndUserEdit();
  HideTooltip();
  ApplyWindowSize();
  if (mWindow) {
    PutEditorRect(IRECT(0, 0, Width(), Height()));
    xcb_flush(mX->Conn());
  }
  return true;
}

void IGraphicsLinux::Resize(int w, int h) {
  if (w == Width() && h == Height()) return;
  ForceEndUserEdit();
  HideTooltip();
  mTooltipAreas.clear(); // the controls they name are gone
  IGraphics::Resize(w, h);
  ApplyWindowSize();
  if (mWindow) xcb_flush(mX->Conn());
}

int IGraphicsLinux::EditorX(int windowX) const {
  return mScale == 1.0 ? windowX : static_cast<int>(std::floor(windowX / mScale));
}

int IGraphicsLinux::EditorY(int windowY) const {
  return mScale == 1.0 ? windowY : static_cast<int>(std::floor(windowY / mScale));
}

IRECT IGraphicsLinux::ToWindow(const IRECT& r) const {
  if (mScale == 1.0) return r;
  return IRECT(
      static_cast<int>(std::lround(r.L * mScale)), static_cast<int>(std::lround(r.T * mScale)),
      static_cast<int>(std::lround(r.R * mScale)), static_cast<int>(std::lround(r.B * mScale)));
}

bool IGraphicsLinux::WindowToRoot(int x, int y, int* rootX, int* rootY) {
  if (!mWindow || !mX) return false;
  xcb_translate_coordinates_reply_t* reply = xcb_translate_coordinates_reply(
      mX->Conn(),
      xcb_translate_coordinates(mX->Conn(), mWindow, mX->Root(), static_cast<int16_t>(x),
                                static_cast<int16_t>(y)),
      nullptr);
  if (!reply) return false;
  *rootX = reply->dst_x;
  *rootY = reply->dst_y;
  free(reply);
  return true;
}

bool IGraphicsLinux::DrawScreen(IRECT* region) {
  if (!mWindow || mWindowGone || !region) return false;
  PutEditorRect(*region);
  xcb_flush(mX->Conn());
  return true;
}

void IGraphicsLinux::PutEditorRect(const IRECT& editorRect) {
  LICE_IBitmap* bitmap = GetDrawBitmap();
  const IRECT r = editorRect.Intersect(IRECT(0, 0, Width(), Height()));
  if (!bitmap || r.Empty()) return;
  if (mScale == 1.0) {
    mWriter.Put(mX.get(), mWindow, mGC, mFormat, bitmap, r, r.L, r.T);
    return;
  }
  const IRECT d = ScaledDirtyRect(r, mScale, mWindowW, mWindowH);
  if (d.Empty()) return;
  ScaleForWindow(bitmap, mScale, d, &mScaled);
  mWriter.Put(mX.get(), mWindow, mGC, mFormat, &mScaled, IRECT(0, 0, d.W(), d.H()), d.L, d.T);
}

void IGraphicsLinux::ReportFailure() {
  fprintf(stderr, "IGraphicsLinux: an editor callback failed and was abandoned\n");
}

void IGraphicsLinux::OnFrameTimer() {
  if (!mWindow) return;
  Tick();
  DrainEvents();
}

void IGraphicsLinux::Tick() {
  mLastTickMs = PollEventLoop::NowMs();
  ReapFinishedChildren();
  if (!mWindow || mWindowGone) return;
  IRECT dirty;
  if (IsDirty(&dirty)) Draw(&dirty);
  ShowTooltipIfResting();
}

void IGraphicsLinux::DrainEvents() {
  while (mX && mX->Conn()) {
    xcb_generic_event_t* event = xcb_poll_for_event(mX->Conn());
    if (!event) break;
    Dispatch(event);
    free(event);
  }
  // A server that went away leaves a descriptor that is always readable.
  if (mX && mX->Broken()) {
    fprintf(stderr, "IGraphicsLinux: X connection lost, closing the editor window\n");
    CloseWindow();
  }
}

bool IGraphicsLinux::RunModal(ModalClient* client, int extraFd) {
  if (mModal || !client || !mWindow) return false;
  mModal = true;
  const int period = std::max(1000 / FPS(), 1);
  while (mX && !mX->Broken() && !mWindowGone && !client->ModalDone()) {
    xcb_flush(mX->Conn());
    pollfd fds[2] = {{mX->Fd(), POLLIN, 0}, {extraFd, POLLIN, 0}};
    const int64_t wait = mLastTickMs + period - PollEventLoop::NowMs();
    poll(fds, extraFd >= 0 ? 2 : 1, static_cast<int>(std::clamp<int64_t>(wait, 0, period)));
    if (extraFd >= 0 && fds[1].revents) client->OnModalFdReady();
    while (xcb_generic_event_t* event = xcb_poll_for_event(mX->Conn())) {
      if (!client->OnModalEvent(event)) DispatchWhileModal(event);
      free(event);
    }
    if (PollEventLoop::NowMs() - mLastTickMs >= period) Tick();
  }
  mModal = false;
  // A broken connection is closed by the next descriptor callback, once the
  // client has let go of its windows.
  return client->ModalDone();
}
