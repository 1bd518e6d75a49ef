// Direct entry of a value: the popup menu, and the in-place text entry (at
// most one at a time, over the control's area, ended with its text by Return
// or focus loss, abandoned by Escape, the wheel, ForceEndUserEdit or the
// window closing).
#include <algorithm>
#include <cmath>

#include "editor/IControl.h"
#include "framework/IParam.h"
#include "lice/lice_text.h"
#include "platform/linux/IGraphicsLinux.h"
#include "platform/linux/PopupMenuWindow.h"
#include "platform/linux/TextEntryField.h"
#include "platform/linux/XcbSession.h"

namespace {

unsigned AlignFlags(IText::EAlign align) {
  return align == IText::kAlignCenter ? DT_CENTER : align == IText::kAlignFar ? DT_RIGHT : 0;
}

} // namespace

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
  // The field's own size of the style's font, scaled with the window.
  style.mSize = std::max(static_cast<int>(style.mSize * 0.9 * mScale), 2);
  style.mCached = nullptr;
  TextEntryField::Style look;
  look.font = CacheFont(&style);
  look.background = LiceColor(&style.mTextEntryBGColor);
  look.foreground = LiceColor(&style.mTextEntryFGColor);
  look.align = AlignFlags(style.mAlign);
  look.inset = std::max(static_cast<int>(std::lround(3 * mScale)), 1);
  const EntryCharset charset = CharsetFor(param != nullptr, param ? param->Type() : 0);
  const int maxLength = param ? control->GetTextEntryLength() : 0;
  IRECT rect = ToWindow(*area).Intersect(IRECT(0, 0, mWindowW, mWindowH));
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
