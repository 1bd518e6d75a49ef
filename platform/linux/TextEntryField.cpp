#include "platform/linux/TextEntryField.h"

#include <algorithm>
#include <string>

#include "detail/KeyMap.h"
#include "detail/WidgetTheme.h"
#include "detail/XcbSession.h"
#include "lice/lice_lines.h"
#include "lice/lice_text.h"

bool TextEntryField::Open(XcbSession* x, xcb_window_t parent, const PixelFormat& format,
                          const IRECT& rect) {
  mX = x;
  const uint32_t events = XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_FOCUS_CHANGE;
  if (!mWindow.Create(x, OverlayWindow::kChild, parent, format, rect, events, nullptr, nullptr))
    return false;
  mWindow.Map();
  xcb_set_input_focus(x->Conn(), XCB_INPUT_FOCUS_PARENT, mWindow.Id(), XCB_CURRENT_TIME);
  Paint();
  return true;
}

TextEntryField::EResult TextEntryField::OnKey(uint32_t keysym) {
  switch (keysym) {
  case kKeysymReturn:
  case kKeysymKPEnter:
    return kCommit;
  case kKeysymEscape:
    return kCancel;
  case kKeysymBackSpace:
    mBuffer.Backspace();
    break;
  case kKeysymDelete:
    mBuffer.Delete();
    break;
  case kKeysymLeft:
    mBuffer.Left();
    break;
  case kKeysymRight:
    mBuffer.Right();
    break;
  case kKeysymHome:
    mBuffer.Home();
    break;
  case kKeysymEnd:
    mBuffer.End();
    break;
  default: {
    const char c = CharFromKeysym(keysym);
    if (!c) return kIgnored; // modifiers, function keys: not the field's
    // A refused character is still the field's key: it must not reach the host.
    mBuffer.Insert(c);
    break;
  }
  }
  Paint();
  return kHandled;
}

void TextEntryField::Paint() {
  LICE_IBitmap* canvas = mWindow.Canvas();
  const int w = canvas->getWidth(), h = canvas->getHeight();
  LICE_Clear(canvas, mStyle.background);
  const std::string& text = mBuffer.Text();
  int textW = 0, lineH = 0, caretW = 0;
  theme::Measure(mStyle.font, text.c_str(), &textW, &lineH);
  theme::Measure(mStyle.font, text.substr(0, mBuffer.Caret()).c_str(), &caretW, &lineH);
  if (lineH <= 0) lineH = h - 2 * mStyle.inset;
  const int innerL = mStyle.inset, innerR = w - mStyle.inset;
  int textL = innerL;
  if (mStyle.align == DT_CENTER) textL = (w - textW) / 2;
  if (mStyle.align == DT_RIGHT) textL = innerR - textW;
  // Text wider than the field scrolls so that the caret stays in sight.
  if (textL + caretW > innerR - 1) textL = innerR - 1 - caretW;
  if (textL + caretW < innerL) textL = innerL - caretW;
  theme::DrawLine(canvas, mStyle.font, text.c_str(), textL, 0, textL + textW + 1, h,
                  mStyle.foreground);
  const int caretX = std::clamp(textL + caretW, innerL, innerR - 1);
  const int caretT = std::max((h - lineH) / 2, 1);
  LICE_FillRect(canvas, caretX, caretT, 1, std::min(lineH, h - 2 * caretT), mStyle.foreground, 1.0f,
                0);
  // The frame last: scrolled text must not cover it.
  LICE_DrawRect(canvas, 0, 0, w - 1, h - 1, theme::kAccent, 1.0f, 0);
  mWindow.Present();
}
