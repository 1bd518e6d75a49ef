#pragma once
// What may be typed into a parameter's text entry, and the caret edits, kept
// apart from the window so they can be checked without a display.
#include <string>

// Per parameter kind: a double takes "0123456789.-+", bool, int and enum
// take "0123456789-+", any other kind takes nothing. An entry without a
// parameter takes any printable ASCII character.
enum class EntryCharset { kAnyPrintable, kNothing, kInteger, kNumber };

// kind is the parameter's IParam::EParamType value; hasParam false means the
// entry belongs to a control without one.
EntryCharset CharsetFor(bool hasParam, int kind);
bool CharsetAllows(EntryCharset charset, char c);

class TextEditBuffer {
public:
  // maxLength 0 puts no limit on the length. The initial text is kept whole
  // even when it breaks the rules: only typing is refused.
  TextEditBuffer(const char* initial, EntryCharset charset, int maxLength);

  // False, changing nothing, for a refused character or a full buffer.
  bool Insert(char c);
  bool Backspace();
  bool Delete();
  void Left();
  void Right();
  void Home() { mCaret = 0; }
  void End() { mCaret = static_cast<int>(mText.size()); }

  const std::string& Text() const { return mText; }
  int Caret() const { return mCaret; }

private:
  std::string mText;
  int mCaret;
  EntryCharset mCharset;
  int mMaxLength;
};
