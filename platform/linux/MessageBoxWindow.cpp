#include "detail/MessageBoxWindow.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "detail/ExternalDialog.h"
#include "detail/KeyMap.h"
#include "detail/WidgetTheme.h"
#include "detail/XcbSession.h"
#include "lice/lice_lines.h"
#include "lice/lice_text.h"
#include "platform/linux/IGraphicsLinux.h"

namespace {

int Px(double px, double s) {
  return std::max(static_cast<int>(std::lround(px * s)), 1);
}

// Words laid into lines no wider than width; a word wider than that gets a
// line of its own. Line breaks in the text are kept.
std::vector<std::string> Wrap(LICE_IFont* font, const std::string& text, int width) {
  std::vector<std::string> lines;
  std::istringstream paragraphs(text);
  std::string paragraph;
  while (std::getline(paragraphs, paragraph)) {
    std::istringstream words(paragraph);
    std::string word, line;
    while (words >> word) {
      const std::string longer = line.empty() ? word : line + " " + word;
      int w = 0, h = 0;
      theme::Measure(font, longer.c_str(), &w, &h);
      if (w > width && !line.empty()) {
        lines.push_back(line);
        line = word;
      } else {
        line = longer;
      }
    }
    lines.push_back(line);
  }
  return lines;
}

} // namespace

MessageBoxWindow::MessageBoxWindow(IGraphicsLinux* host) : mHost(host) {
  const double s = host->GetScaleFactor();
  mFont = theme::Font(host, Px(theme::kFontPx, s));
  mBold = theme::Font(host, Px(theme::kFontPx, s), true);
  mLineH = Px(18, s);
  mPad = Px(16, s);
}

MessageBoxWindow::~MessageBoxWindow() {
  if (mGrabbed && mHost->Session()) mHost->Session()->UngrabInput();
}

void MessageBoxWindow::Layout(const char* text, const char* caption, int type) {
  const double s = mHost->GetScaleFactor();
  mCaption = caption ? caption : "";
  mLabels = MessageBoxButtons(type);
  mW = Px(340, s);
  mLines = Wrap(mFont, text ? text : "", mW - 2 * mPad);
  const int buttonW = Px(76, s), buttonH = Px(26, s), gap = Px(8, s);
  const int textTop = mPad + (mCaption.empty() ? 0 : mLineH + Px(6, s));
  const int buttonsTop = textTop + static_cast<int>(mLines.size()) * mLineH + mPad;
  mH = buttonsTop + buttonH + mPad;
  mButtons.clear();
  int x = mW - mPad - static_cast<int>(mLabels.size()) * (buttonW + gap) + gap;
  for (size_t i = 0; i < mLabels.size(); ++i, x += buttonW + gap)
    mButtons.push_back(IRECT(x, buttonsTop, x + buttonW, buttonsTop + buttonH));
}

int MessageBoxWindow::Run(const char* text, const char* caption, int type) {
  XcbSession* x = mHost->Session();
  if (!x) return 0;
  Layout(text, caption, type);
  // Centred over the editor, kept on the screen.
  int rootX = 0, rootY = 0;
  if (!mHost->WindowToRoot(0, 0, &rootX, &rootY)) return 0;
  int left = rootX + (mHost->WindowWidth() - mW) / 2,
      top = rootY + (mHost->WindowHeight() - mH) / 2;
  left = std::clamp(left, 0, std::max(x->Screen()->width_in_pixels - mW, 0));
  top = std::clamp(top, 0, std::max(x->Screen()->height_in_pixels - mH, 0));
  const uint32_t events =
      XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_KEY_PRESS;
  // Grabbed on the editor's window before the box shows: once it can be
  // seen, every key and click is already the box's.
  mGrabbed = x->GrabInput(mHost->WindowId());
  if (!mGrabbed || !mWindow.Create(x, OverlayWindow::kPopup, 0, PixelFormat(),
                                   IRECT(left, top, left + mW, top + mH), events,
                                   mHost->WindowClassName(), "_NET_WM_WINDOW_TYPE_DIALOG"))
    return 0;
  Paint();
  mWindow.Map();
  mWindow.Present();
  mHost->RunModal(this);
  return mAnswer;
}

void MessageBoxWindow::Paint() {
  LICE_IBitmap* canvas = mWindow.Canvas();
  LICE_Clear(canvas, theme::kPanel);
  LICE_DrawRect(canvas, 0, 0, mW - 1, mH - 1, theme::kPanelEdge, 1.0f, 0);
  int y = mPad;
  if (!mCaption.empty()) {
    theme::DrawLine(canvas, mBold, mCaption.c_str(), mPad, y, mW - mPad, y + mLineH,
                    theme::kAccent);
    y += mLineH + static_cast<int>(std::lround(6 * mHost->GetScaleFactor()));
  }
  for (const std::string& line : mLines) {
    theme::DrawLine(canvas, mFont, line.c_str(), mPad, y, mW - mPad, y + mLineH, theme::kText);
    y += mLineH;
  }
  for (size_t i = 0; i < mButtons.size(); ++i) {
    const IRECT& b = mButtons[i];
    const bool focus = static_cast<int>(i) == mFocus;
    LICE_FillRect(canvas, b.L, b.T, b.W(), b.H(), focus ? theme::kAccent : theme::kPanelShade, 1.0f,
                  0);
    LICE_DrawRect(canvas, b.L, b.T, b.W() - 1, b.H() - 1,
                  focus ? theme::kAccent : theme::kPanelEdge, 1.0f, 0);
    theme::DrawLine(canvas, mFont, mLabels[i], b.L, b.T, b.R, b.B,
                    focus ? theme::kAccentText : theme::kText, DT_CENTER);
  }
}

int MessageBoxWindow::ButtonAt(int rootX, int rootY) const {
  const int x = rootX - mWindow.Rect().L, y = rootY - mWindow.Rect().T;
  for (size_t i = 0; i < mButtons.size(); ++i)
    if (mButtons[i].Contains(x, y)) return static_cast<int>(i);
  return -1;
}

void MessageBoxWindow::Answer(int button) {
  mAnswer = MessageBoxAnswerForButton(button);
  mDone = true;
}

bool MessageBoxWindow::OnModalEvent(xcb_generic_event_t* event) {
  const uint8_t type = event->response_type & 0x7f;
  if (type == XCB_EXPOSE) {
    if (reinterpret_cast<xcb_expose_event_t*>(event)->window != mWindow.Id()) return false;
    mWindow.Present();
    return true;
  }
  if (type == XCB_BUTTON_RELEASE) {
    const auto* e = reinterpret_cast<xcb_button_release_event_t*>(event);
    const int button = e->detail == 1 ? ButtonAt(e->root_x, e->root_y) : -1;
    if (button >= 0) Answer(button);
    return true;
  }
  if (type == XCB_BUTTON_PRESS) return true;
  if (type != XCB_KEY_PRESS) return false;
  const auto* e = reinterpret_cast<xcb_key_press_event_t*>(event);
  const uint32_t keysym = mHost->Session()->Keysym(e->detail, e->state);
  const int n = static_cast<int>(mButtons.size());
  if (keysym == kKeysymEscape) {
    mAnswer = 0;
    mDone = true;
  } else if (keysym == kKeysymReturn || keysym == kKeysymKPEnter || keysym == ' ') {
    Answer(mFocus);
  } else if (keysym == kKeysymLeft || keysym == kKeysymRight || keysym == kKeysymTab) {
    mFocus = (mFocus + (keysym == kKeysymLeft ? n - 1 : 1)) % n;
    Paint();
    mWindow.Present();
  }
  return true;
}
