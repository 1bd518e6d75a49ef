#include "detail/PopupMenuWindow.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "detail/KeyMap.h"
#include "detail/WidgetTheme.h"
#include "detail/XcbSession.h"
#include "editor/IPopupMenu.h"
#include "lice/lice_lines.h"
#include "lice/lice_text.h"
#include "platform/linux/IGraphicsLinux.h"

namespace {

int Scaled(double px, double s) {
  return std::max(static_cast<int>(std::lround(px * s)), 1);
}

} // namespace

PopupMenuWindow::PopupMenuWindow(IGraphicsLinux* host) : mHost(host) {
  const double s = host->GetScaleFactor();
  mFont = theme::Font(host, Scaled(theme::kFontPx, s));
  mRowH = Scaled(22, s);
  mSeparatorH = Scaled(9, s);
  mPadV = Scaled(4, s);
  mCheckW = Scaled(24, s);
  mArrowW = Scaled(22, s);
  mIndentW = Scaled(12, s);
  mPadRight = Scaled(14, s);
  mMinW = Scaled(120, s);
}

PopupMenuWindow::~PopupMenuWindow() {
  Ungrab();
  CloseLevelsAbove(0);
}

IPopupMenu* PopupMenuWindow::Run(IPopupMenu* menu, int rootX, int rootY) {
  if (!mHost->Session() || !mModel.Build(menu) || mModel.NEntries(0) == 0) return nullptr;
  // Grabbed on the editor's window before the menu shows: once it can be
  // seen, every key and click is already the menu's.
  if (!Grab()) return nullptr;
  if (!OpenLevel(0, rootX, rootY, -1)) {
    Ungrab();
    return nullptr;
  }
  mHost->RunModal(this);
  Ungrab();
  CloseLevelsAbove(0);
  return mResult;
}

bool PopupMenuWindow::OpenLevel(int menu, int x, int y, int flipRightEdge) {
  auto level = std::make_unique<Level>();
  level->menu = menu;
  int w = mMinW, top = mPadV;
  for (int i = 0; i < mModel.NEntries(menu); ++i) {
    const NativeMenuEntry* entry = mModel.GetEntry(menu, i);
    level->rowTop.push_back(top);
    top += entry->mKind == NativeMenuEntry::kSeparator ? mSeparatorH : mRowH;
    int tw = 0, th = 0;
    theme::Measure(mFont, entry->mTitle.Get(), &tw, &th);
    w = std::max(w, mCheckW + entry->mIndent * mIndentW + tw + mPadRight + mArrowW);
  }
  level->rowTop.push_back(top);
  const int h = top + mPadV;
  // On the screen: a menu that would leave it on the right opens to the
  // left of its parent (or of the point), one that would leave it below
  // moves up.
  const xcb_screen_t* screen = mHost->Session()->Screen();
  const int sw = screen->width_in_pixels, sh = screen->height_in_pixels;
  if (x + w > sw) x = flipRightEdge >= 0 ? flipRightEdge - w : sw - w;
  if (y + h > sh) y = sh - h;
  x = std::max(x, 0);
  y = std::max(y, 0);
  const uint32_t events = XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
                          XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_KEY_PRESS;
  if (!level->window.Create(mHost->Session(), OverlayWindow::kPopup, 0, PixelFormat(),
                            IRECT(x, y, x + w, y + h), events, mHost->WindowClassName(),
                            "_NET_WM_WINDOW_TYPE_POPUP_MENU"))
    return false;
  Paint(*level);
  level->window.Map();
  level->window.Present();
  mLevels.push_back(std::move(level));
  return true;
}

void PopupMenuWindow::CloseLevelsAbove(size_t depth) {
  while (mLevels.size() > depth) mLevels.pop_back();
}

void PopupMenuWindow::Paint(Level& level) {
  LICE_IBitmap* canvas = level.window.Canvas();
  const int w = canvas->getWidth(), h = canvas->getHeight();
  LICE_Clear(canvas, theme::kPanel);
  for (int i = 0; i < Rows(level); ++i) PaintRow(level, i, w);
  LICE_DrawRect(canvas, 0, 0, w - 1, h - 1, theme::kPanelEdge, 1.0f, 0);
}

void PopupMenuWindow::PaintRow(Level& level, int i, int w) {
  LICE_IBitmap* canvas = level.window.Canvas();
  const NativeMenuEntry& row = *mModel.GetEntry(level.menu, i);
  const int t = level.rowTop[i], b = level.rowTop[i + 1];
  const int inset = std::max(mPadV / 2, 1);
  LICE_FillRect(canvas, inset, t, w - 2 * inset, b - t, theme::kPanel, 1.0f, 0);
  if (row.mKind == NativeMenuEntry::kSeparator) {
    LICE_FillRect(canvas, mCheckW / 2, (t + b) / 2, w - mCheckW, 1, theme::kSeparator, 1.0f, 0);
    return;
  }
  const bool lit = i == level.highlight && mModel.IsSelectable(level.menu, i);
  if (lit) LICE_FillRect(canvas, inset, t, w - 2 * inset, b - t, theme::kAccent, 1.0f, 0);
  const LICE_Pixel32 ink = lit             ? theme::kAccentText
                           : !row.mEnabled ? theme::kTextDisabled
                                           : theme::kText;
  if (row.mChecked) {
    // A tick drawn in two strokes, twice for weight.
    const float cx = mCheckW * 0.5f, cy = (t + b) * 0.5f, u = mRowH / 6.0f;
    const LICE_Pixel32 tick = lit ? theme::kAccentText : theme::kAccent;
    for (float dy = 0; dy <= 1.0f; dy += 1.0f) {
      LICE_FLine(canvas, cx - u, cy + dy, cx - u * 0.3f, cy + u * 0.8f + dy, tick, 1.0f, 0, true);
      LICE_FLine(canvas, cx - u * 0.3f, cy + u * 0.8f + dy, cx + u * 1.1f, cy - u + dy, tick, 1.0f,
                 0, true);
    }
  }
  const int textL = mCheckW + row.mIndent * mIndentW;
  theme::DrawLine(canvas, mFont, row.mTitle.Get(), textL, t, w - mArrowW, b, ink);
  if (row.mKind == NativeMenuEntry::kSubmenu) {
    const int ax = w - mArrowW / 2 - mArrowW / 6, ay = (t + b) / 2, u = std::max(mRowH / 6, 2);
    LICE_FillTriangle(canvas, ax - u / 2, ay - u, ax - u / 2, ay + u, ax + u / 2 + 1, ay,
                      lit ? theme::kAccentText : theme::kTextTitle, 1.0f, 0);
  }
}

int PopupMenuWindow::RowAt(const Level& level, int rootX, int rootY) const {
  if (!level.window.Contains(rootX, rootY)) return -1;
  const int y = rootY - level.window.Rect().T;
  for (int i = 0; i < Rows(level); ++i)
    if (y >= level.rowTop[i] && y < level.rowTop[i + 1]) return i;
  return -1;
}

void PopupMenuWindow::SetHighlight(size_t depth, int row) {
  Level& level = *mLevels[depth];
  if (level.highlight == row) return;
  const int old = level.highlight;
  level.highlight = row;
  const int w = level.window.Canvas()->getWidth();
  for (int i : {old, row}) {
    if (i < 0) continue;
    PaintRow(level, i, w);
    level.window.Present(IRECT(0, level.rowTop[i], w, level.rowTop[i + 1]));
  }
}

void PopupMenuWindow::OpenSubmenu(size_t depth, int row, bool highlightFirst) {
  Level& level = *mLevels[depth];
  const int submenu = mModel.GetEntry(level.menu, row)->mSubmenu;
  if (submenu < 0) return;
  CloseLevelsAbove(depth + 1);
  const IRECT& r = level.window.Rect();
  const int overlap = std::max(mPadV / 2, 1);
  if (!OpenLevel(submenu, r.R - overlap, r.T + level.rowTop[row] - mPadV, r.L + overlap)) return;
  if (highlightFirst) SetHighlight(depth + 1, mModel.NextSelectable(submenu, -1));
}

// The submenu an entry opens, or -1 for any other entry.
int PopupMenuWindow::SubmenuOf(const Level& level, int row) const {
  const NativeMenuEntry* entry = mModel.GetEntry(level.menu, row);
  return entry && entry->mKind == NativeMenuEntry::kSubmenu ? entry->mSubmenu : -1;
}

void PopupMenuWindow::Choose(size_t depth, int row) {
  if (SubmenuOf(*mLevels[depth], row) >= 0) {
    OpenSubmenu(depth, row, true);
    return;
  }
  if (IPopupMenu* chosen = mModel.Choose(mLevels[depth]->menu, row)) {
    mResult = chosen;
    mDone = true;
  }
}

void PopupMenuWindow::OnPointer(int rootX, int rootY, bool press, bool release) {
  // The deepest level under the pointer wins: submenus overlap their parent.
  for (size_t d = mLevels.size(); d-- > 0;) {
    if (!mLevels[d]->window.Contains(rootX, rootY)) continue;
    const int row = RowAt(*mLevels[d], rootX, rootY);
    if (press) mPressedInside = true;
    const bool focusable = mModel.IsSelectable(mLevels[d]->menu, row);
    SetHighlight(d, focusable ? row : -1);
    const int submenu = focusable ? SubmenuOf(*mLevels[d], row) : -1;
    if (submenu >= 0) {
      if (mLevels.size() <= d + 1 || mLevels[d + 1]->menu != submenu) OpenSubmenu(d, row, false);
    } else if (!release) {
      CloseLevelsAbove(d + 1);
    }
    // The release of the click that opened the menu chooses nothing unless
    // the pointer travelled to an entry first.
    if (release && focusable && submenu < 0 && (mPressedInside || mPointerMoved)) Choose(d, row);
    return;
  }
  if (press) mDone = true; // a click outside dismisses
}

void PopupMenuWindow::OnKey(uint32_t keysym) {
  const size_t depth = mLevels.size() - 1;
  Level& level = *mLevels[depth];
  switch (keysym) {
  case kKeysymEscape:
    mDone = true;
    return;
  case kKeysymUp:
  case kKeysymDown:
    SetHighlight(depth, mModel.NextSelectable(level.menu, level.highlight, keysym == kKeysymDown));
    return;
  case kKeysymRight:
    if (SubmenuOf(level, level.highlight) >= 0) OpenSubmenu(depth, level.highlight, true);
    return;
  case kKeysymLeft:
    if (depth > 0) CloseLevelsAbove(depth);
    return;
  case kKeysymReturn:
  case kKeysymKPEnter:
    if (level.highlight >= 0) Choose(depth, level.highlight);
    return;
  default:
    return;
  }
}

bool PopupMenuWindow::OnModalEvent(xcb_generic_event_t* event) {
  const uint8_t type = event->response_type & 0x7f;
  switch (type) {
  case XCB_EXPOSE: {
    const auto* e = reinterpret_cast<xcb_expose_event_t*>(event);
    for (auto& level : mLevels)
      if (level->window.Id() == e->window) {
        level->window.Present();
        return true;
      }
    return false;
  }
  case XCB_MOTION_NOTIFY: {
    const auto* e = reinterpret_cast<xcb_motion_notify_event_t*>(event);
    mPointerMoved = true;
    OnPointer(e->root_x, e->root_y, false, false);
    return true;
  }
  case XCB_BUTTON_PRESS:
  case XCB_BUTTON_RELEASE: {
    const auto* e = reinterpret_cast<xcb_button_press_event_t*>(event);
    if (e->detail >= 4 && e->detail <= 7) return true; // the wheel chooses nothing
    OnPointer(e->root_x, e->root_y, type == XCB_BUTTON_PRESS, type == XCB_BUTTON_RELEASE);
    return true;
  }
  case XCB_KEY_PRESS: {
    const auto* e = reinterpret_cast<xcb_key_press_event_t*>(event);
    OnKey(mHost->Session()->Keysym(e->detail, e->state));
    return true;
  }
  default:
    return false;
  }
}

bool PopupMenuWindow::Grab() {
  mGrabbed = mHost->Session()->GrabInput(mHost->WindowId());
  return mGrabbed;
}

void PopupMenuWindow::Ungrab() {
  if (mGrabbed && mHost->Session()) mHost->Session()->UngrabInput();
  mGrabbed = false;
}
