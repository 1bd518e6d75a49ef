#include "platform/linux/TextEditRules.h"

#include <cstring>

#include "framework/IParam.h"

EntryCharset CharsetFor(bool hasParam, int kind) {
  if (!hasParam) return EntryCharset::kAnyPrintable;
  switch (kind) {
  case IParam::kTypeDouble:
    return EntryCharset::kNumber;
  case IParam::kTypeBool:
  case IParam::kTypeInt:
  case IParam::kTypeEnum:
    return EntryCharset::kInteger;
  default:
    return EntryCharset::kNothing;
  }
}

bool CharsetAllows(EntryCharset charset, char c) {
  if (c == '\0') return false;
  switch (charset) {
  case EntryCharset::kAnyPrintable:
    return c >= 0x20 && c < 0x7f;
  case EntryCharset::kNumber:
    return strchr("0123456789.-+", c) != nullptr;
  case EntryCharset::kInteger:
    return strchr("0123456789-+", c) != nullptr;
  case EntryCharset::kNothing:
  default:
    return false;
  }
}

TextEditBuffer::TextEditBuffer(const char* initial, EntryCharset charset, int maxLength)
    : mText(initial ? initial : ""), mCaret(static_cast<int>(mText.size())), mCharset(charset),
      mMaxLength(maxLength > 0 ? maxLength : 0) {}

bool TextEditBuffer::Insert(char c) {
  if (!CharsetAllows(mCharset, c)) return false;
  if (mMaxLength && static_cast<int>(mText.size()) >= mMaxLength) return false;
  mText.insert(mText.begin() + mCaret, c);
  ++mCaret;
  return true;
}

bool TextEditBuffer::Backspace() {
  if (mCaret == 0) return false;
  mText.erase(static_cast<size_t>(--mCaret), 1);
  return true;
}

bool TextEditBuffer::Delete() {
  if (mCaret >= static_cast<int>(mText.size())) return false;
  mText.erase(static_cast<size_t>(mCaret), 1);
  return true;
}

void TextEditBuffer::Left() {
  if (mCaret > 0) --mCaret;
}

void TextEditBuffer::Right() {
  if (mCaret < static_cast<int>(mText.size())) ++mCaret;
}
