// Direct entry of a parameter value: a menu of its named values, or a text
// field whose text is converted when the user finishes it.
#include <cctype>
#include <cfloat>
#include <charconv>
#include <cstring>

#include "editor/IControl.h"
#include "editor/IGraphics.h"
#include "editor/IPopupMenu.h"
#include "framework/IParam.h"

namespace {

bool HasNamedValues(const IParam* param) {
  return param->Type() == IParam::kTypeEnum ||
         (param->Type() == IParam::kTypeBool && param->GetNDisplayTexts() > 0);
}

size_t DigitsAt(const char* s) {
  size_t n = 0;
  while (isdigit(static_cast<unsigned char>(s[n]))) ++n;
  return n;
}

// The leading decimal number of text ("12.5abc" is 12.5), 0 when there is
// none. Only plain decimals count: no "nan", "inf" or hexadecimal, which
// would reach the host as values outside any range. Independent of the
// process locale, which the host owns.
double LeadingNumber(const char* text) {
  const char* s = text;
  while (*s == ' ' || *s == '\t') ++s;
  const char* start = s;
  if (*s == '+' || *s == '-') ++s;
  const size_t whole = DigitsAt(s);
  s += whole;
  size_t fraction = 0;
  if (*s == '.') fraction = DigitsAt(s + 1), s += 1 + fraction;
  if (whole == 0 && fraction == 0) return 0.0;
  if (*s == 'e' || *s == 'E') {
    const char* e = s + 1;
    if (*e == '+' || *e == '-') ++e;
    if (const size_t digits = DigitsAt(e)) s = e + digits;
  }
  const char* first = *start == '+' ? start + 1 : start;
  double value = 0.0;
  const auto result = std::from_chars(first, s, value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range)
    return *start == '-' ? -DBL_MAX : (value != 0.0 ? value : DBL_MAX);
  return result.ec == std::errc() ? value : 0.0;
}

} // namespace

void IGraphics::PromptUserInput(IControl* control, IParam* param, IRECT* area) {
  if (!control || !param || !area) return;
  if (!HasNamedValues(param)) {
    char display[IParam::kTextLength + 1] = {};
    param->GetDisplayForHost(display, false);
    CreateTextEntry(control, control->GetText(), area, display, param);
    return;
  }
  char current[IParam::kTextLength + 1] = {};
  param->GetDisplayForHost(current, true);
  IPopupMenu menu;
  const int n = param->GetNDisplayTexts();
  for (int i = 0; i < n; ++i) {
    const char* text = param->GetDisplayTextAtIdx(i);
    const bool checked = text && strcmp(text, current) == 0;
    menu.AddItem(text, -1, checked ? IPopupMenuItem::kChecked : IPopupMenuItem::kNoFlags);
  }
  if (!CreateIPopupMenu(&menu, area)) return;
  // A menu handed back without a chosen item is no choice either.
  const int chosen = menu.GetChosenItemIdx();
  if (chosen >= 0 && chosen < n) control->SetValueFromUserInput(param->GetNormalized(chosen));
}

void IGraphics::SetFromStringAfterPrompt(IControl* control, IParam* param, char* text) {
  if (!control || !param) return;
  const char* typed = text ? text : "";
  double plain = 0.0;
  if (param->Type() == IParam::kTypeBool || param->Type() == IParam::kTypeEnum) {
    int value = 0;
    if (param->MapDisplayText(typed, &value)) plain = value;
  } else {
    plain = LeadingNumber(typed);
    if (param->GetNegateDisplay()) plain = -plain;
  }
  control->SetValueFromUserInput(param->GetNormalized(plain));
}
