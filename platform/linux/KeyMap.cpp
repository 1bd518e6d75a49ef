#include "detail/KeyMap.h"

namespace {

int EditorKeyFromChar(uint32_t c) {
  if (c == ' ') return 0;
  if (c >= '0' && c <= '9') return 5 + static_cast<int>(c - '0');
  if (c >= 'A' && c <= 'Z') return 15 + static_cast<int>(c - 'A');
  if (c >= 'a' && c <= 'z') return 15 + static_cast<int>(c - 'a');
  return kNoEditorKey;
}

} // namespace

int EditorKeyFromKeysym(uint32_t keysym) {
  switch (keysym) {
  case kKeysymUp:
    return 1;
  case kKeysymDown:
    return 2;
  case kKeysymLeft:
    return 3;
  case kKeysymRight:
    return 4;
  default:
    break;
  }
  if (keysym >= 0xffb0 && keysym <= 0xffb9) return 5 + static_cast<int>(keysym - 0xffb0);
  // Latin-1 keysyms are their characters.
  return keysym < 0x80 ? EditorKeyFromChar(keysym) : kNoEditorKey;
}

int EditorKeyFromHostKey(char16_t character, int virtualKey) {
  switch (virtualKey) {
  case kHostKeySpace:
    return 0;
  case kHostKeyUp:
    return 1;
  case kHostKeyDown:
    return 2;
  case kHostKeyLeft:
    return 3;
  case kHostKeyRight:
    return 4;
  case 0:
    return EditorKeyFromChar(character);
  default:
    return kNoEditorKey;
  }
}

char CharFromKeysym(uint32_t keysym) {
  if (keysym >= 0x20 && keysym < 0x7f) return static_cast<char>(keysym);
  if (keysym >= 0xffb0 && keysym <= 0xffb9) return static_cast<char>('0' + (keysym - 0xffb0));
  switch (keysym) {
  case 0xffab: // keypad +
    return '+';
  case 0xffad: // keypad -
    return '-';
  case 0xffae: // keypad decimal
    return '.';
  default:
    return 0;
  }
}

uint32_t KeysymFromHostKey(char16_t character, int virtualKey) {
  switch (virtualKey) {
  case kHostKeyBack:
    return kKeysymBackSpace;
  case kHostKeyTab:
    return kKeysymTab;
  case kHostKeyReturn:
  case kHostKeyEnter:
    return kKeysymReturn;
  case kHostKeyEscape:
    return kKeysymEscape;
  case kHostKeySpace:
    return ' ';
  case kHostKeyEnd:
    return kKeysymEnd;
  case kHostKeyHome:
    return kKeysymHome;
  case kHostKeyLeft:
    return kKeysymLeft;
  case kHostKeyUp:
    return kKeysymUp;
  case kHostKeyRight:
    return kKeysymRight;
  case kHostKeyDown:
    return kKeysymDown;
  case kHostKeyDelete:
    return kKeysymDelete;
  case 0:
    return character >= 0x20 && character < 0x7f ? character : 0;
  default:
    return 0;
  }
}
