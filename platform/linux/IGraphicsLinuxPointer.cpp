// The pointer: hiding and showing the cursor, and tooltips shown once the
// pointer rests over a control that has one.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <xcb/xfixes.h>

#include "detail/WidgetTheme.h"
#include "detail/XcbSession.h"
#include "editor/IControl.h"
#include "lice/lice_lines.h"
#include "platform/linux/IGraphicsLinux.h"
#include "platform/linux/OverlayWindow.h"
#include "platform/linux/PollEventLoop.h"

namespace {

constexpr int kTooltipDelayMs = 600;

} // namespace

void IGraphicsLinux::HideMouseCursor() {
  if (CursorHidden() || !mWindow || !mX || !mX->XFixesReady()) return;
  xcb_query_pointer_reply_t* pointer =
      xcb_query_pointer_reply(mX->Conn(), xcb_query_pointer(mX->Conn(), mWindow), nullptr);
  if (!pointer) return;
  SetCursorHidden(true, pointer->root_x, pointer->root_y);
  free(pointer);
  xcb_xfixes_hide_cursor(mX->Conn(), mWindow);
  xcb_flush(mX->Conn());
}

void IGraphicsLinux::ShowMouseCursor() {
  if (!CursorHidden()) return;
  if (mX && mX->Conn() && mWindow) {
    // Back where it was hidden, as if the drag had not moved it.
    xcb_warp_pointer(mX->Conn(), XCB_NONE, mX->Root(), 0, 0, 0, 0,
                     static_cast<int16_t>(mHiddenMousePointX),
                     static_cast<int16_t>(mHiddenMousePointY));
    xcb_xfixes_show_cursor(mX->Conn(), mWindow);
    xcb_flush(mX->Conn());
  }
  SetCursorHidden(false);
}

void IGraphicsLinux::UpdateTooltips() {
  HideTooltip();
  mTooltipAreas.clear();
  if (!mWindow || !TooltipsEnabled()) return;
  for (int i = 0; i < GetNControls(); ++i) {
    IControl* control = GetControl(i);
    const char* tip = control->GetTooltip();
    if (tip && *tip && !control->IsHidden() && !control->GetTargetRECT()->Empty())
      mTooltipAreas.emplace_back(*control->GetTargetRECT(), i);
  }
}

void IGraphicsLinux::ShowTooltipIfResting() {
  if (mTooltipShown || mModal || mTooltipAreas.empty() || mPointerX < 0 ||
      PollEventLoop::NowMs() - mPointerRestMs < kTooltipDelayMs || GetCaptureIdx() >= 0)
    return;
  // The topmost area under the pointer: later controls lie on top.
  const char* tip = nullptr;
  for (auto it = mTooltipAreas.rbegin(); it != mTooltipAreas.rend() && !tip; ++it)
    if (it->first.Contains(mPointerX, mPointerY)) tip = GetControl(it->second)->GetTooltip();
  mTooltipShown = true; // once per rest, shown or not
  if (!tip) return;
  LICE_IFont* font = theme::Font(this, std::max(static_cast<int>(std::lround(12 * mScale)), 1));
  int tw = 0, th = 0;
  theme::Measure(font, tip, &tw, &th);
  const int pad = std::max(static_cast<int>(std::lround(6 * mScale)), 1);
  int rootX = 0, rootY = 0;
  const IRECT at = ToWindow(IRECT(mPointerX, mPointerY, mPointerX, mPointerY));
  if (!WindowToRoot(at.L, at.T, &rootX, &rootY)) return;
  const int w = tw + 2 * pad, h = th + pad;
  const int x = std::clamp(rootX + pad, 0, std::max(mX->Screen()->width_in_pixels - w, 0));
  int y = rootY + 3 * pad;
  if (y + h > mX->Screen()->height_in_pixels) y = rootY - pad - h;
  mTooltip = std::make_unique<OverlayWindow>();
  if (!mTooltip->Create(mX.get(), OverlayWindow::kPopup, 0, PixelFormat(),
                        IRECT(x, std::max(y, 0), x + w, std::max(y, 0) + h), 0, mClassName.c_str(),
                        "_NET_WM_WINDOW_TYPE_TOOLTIP")) {
    mTooltip.reset();
    return;
  }
  LICE_IBitmap* canvas = mTooltip->Canvas();
  LICE_Clear(canvas, theme::kPanel);
  LICE_DrawRect(canvas, 0, 0, w - 1, h - 1, theme::kAccent, 1.0f, 0);
  theme::DrawLine(canvas, font, tip, pad, 0, w - pad, h, theme::kText);
  mTooltip->Map();
  mTooltip->Present();
}

void IGraphicsLinux::HideTooltip() {
  mTooltip.reset();
  mTooltipShown = false;
}
