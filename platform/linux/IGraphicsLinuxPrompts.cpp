// Direct entry of a value: the popup menu, and the in-place text entry (at
// most one at a time, over the control's area, ended with its text by Return
// or focus loss, abandoned by Escape, the wheel, ForceEndUserEdit or the
// window closing).
#include <algorithm>
#include <cmath>

#include "detail/PopupMenuWindow.h"
#include "detail/WidgetTheme.h"
#include "detail/XcbSession.h"
#include "editor/IControl.h"
#include "framework/IParam.h"
#include "lice/lice_text.h"
#include "platform/linux/IGraphicsLinux.h"
#include "platform/linux/TextEntryField.h"

namespace {

unsigned AlignFlags(IText::EAlign align) {
  return align == IText::kAlignCenter ? DT_CENTER : align == IText::kAlignFar ? DT_RIGHT : 0;
}

} // namespace

IRECT IGraphicsLinux::EntryRect(const IRECT& area, const TextEntryField::Style& look,
                                int chars) const {
  // Grown about its centre to hold the entry length and a line of the font,
  // then kept inside the window.
  int w = 0, h = 0;
  theme::Measure(look.font, std::string(static_cast<size_t>(chars) + 1, '0').c_str(), &w, &h);
  const int width = std::max(area.W(), w + 2 * look.inset);
  const int height = std::max(area.H(), h + look.inset);
  const int l = std::clamp((area.L + area.R - width) / 2, 0, std::max(mWindowW - width, 0));
  const int t = std::clamp((area.T + area.B - height) / 2, 0, std::max(mWindowH - height, 0));
  return IRECT(l, t, l + width, t + height).Intersect(IRECT(0, 0, mWindowW, mWindowH));
}

IPopupMenu* IGraphicsLinux::CreateIPopupMenu(IPopupMenu* menu, IRECT* area) {
  ReleaseMouseCapture();
  if (!menu || !mWindow || mWindowGone || mModal) return nullptr;
  HideTooltip();
  // Just below the area, as a context menu opens under the pointer.
  const IRECT at = ToWindow(area ? IRECT(area->L, area->B + 4, area->L + 1, area->B + 5)
                                 : IRECT(mPrevX, mPrevY, mPrevX + 1, mPrevY + 1));
  int rootX = 0, rootY = 0;
  if (!WindowToRoot(at.L, at.T, &rootX, &rootY)) return nullptr;
  PopupMenuWindow popup(this);
  return popup.Run(menu, rootX, rootY);
}

void IGraphicsLinux::CreateTextEntry(IControl* control, IText* text, IRECT* area, const char* str,
                                     IParam* param) {
  if (!control || !area || mTextEntry || !mWindow || mWindowGone || mModal) return;
  IText style = text ? *text : IText();
  // The style's font at 0.9 of its size, but never below a readable 13
  // pixels, scaled with the window.
  style.mSize = static_cast<int>(std::max(style.mSize * 0.9, 13.0) * mScale);
  style.mCached = nullptr;
  TextEntryField::Style look;
  look.font = CacheFont(&style);
  // Colours the editor never chose give way to the host's dark look.
  const bool chosen = style.mTextEntryBGColor != DEFAULT_TEXT_ENTRY_BGCOLOR ||
                      style.mTextEntryFGColor != DEFAULT_TEXT_ENTRY_FGCOLOR;
  look.background = chosen ? LiceColor(&style.mTextEntryBGColor) : theme::kPanelShade;
  look.foreground = chosen ? LiceColor(&style.mTextEntryFGColor) : theme::kText;
  look.align = AlignFlags(style.mAlign);
  look.inset = std::max(static_cast<int>(std::lround(4 * mScale)), 1);
  const EntryCharset charset = CharsetFor(param != nullptr, param ? param->Type() : 0);
  const int maxLength = param ? control->GetTextEntryLength() : 0;
  const IRECT rect = EntryRect(ToWindow(*area), look, std::max(maxLength, 4));
  if (rect.W() < 4 || rect.H() < 4) return;
  auto field = std::make_unique<TextEntryField>(control, param, look,
                                                TextEditBuffer(str, charset, maxLength));
  if (!field->Open(mX.get(), mWindow, mFormat, rect)) return;
  mTextEntry = std::move(field);
}

void IGraphicsLinux::EndTextEntry(bool commit) {
  // Taken out first: what the value change runs may open another entry.
  std::unique_ptr<TextEntryField> field = std::move(mTextEntry);
  if (!field) return;
  IControl* control = field->Control();
  IParam* param = field->Param();
  std::string text = field->Text();
  field.reset();
  if (mWindow && !mWindowGone && mX)
    xcb_set_input_focus(mX->Conn(), XCB_INPUT_FOCUS_PARENT, mWindow, XCB_CURRENT_TIME);
  if (commit) {
    if (param)
      SetFromStringAfterPrompt(control, param, &text[0]);
    else
      control->TextFromTextEntry(text.c_str());
  }
  // The control shows again where the field was.
  control->SetDirty(false);
}

void IGraphicsLinux::ForceEndUserEdit() {
  EndTextEntry(false);
}
