#pragma once
// Keys turned into the editor's key codes: 0 space, 1 up, 2 down, 3 left,
// 4 right, 5..14 the digits 0..9, 15..40 the letters A..Z in either case.
// Everything else is kNoEditorKey, which the caller declines so that the
// host keeps the key.
#include <cstdint>

constexpr int kNoEditorKey = -1;

// The host's virtual key codes and modifier bits (VST 3 numbering), as the
// format binding passes them to IGraphics::OnHostKeyDown.
enum HostVirtualKey {
  kHostKeyBack = 1,
  kHostKeyTab = 2,
  kHostKeyReturn = 4,
  kHostKeyEscape = 6,
  kHostKeySpace = 7,
  kHostKeyEnd = 9,
  kHostKeyHome = 10,
  kHostKeyLeft = 11,
  kHostKeyUp = 12,
  kHostKeyRight = 13,
  kHostKeyDown = 14,
  kHostKeyEnter = 19,
  kHostKeyDelete = 22,
};
enum HostKeyModifier { kHostShift = 1, kHostAlternate = 2, kHostCommand = 4, kHostControl = 8 };

// An X keysym (keypad digits count as digits).
int EditorKeyFromKeysym(uint32_t keysym);
// The physical key first, then the character.
int EditorKeyFromHostKey(char16_t character, int virtualKey);

// The printable ASCII character a keysym types (keypad included), or 0.
char CharFromKeysym(uint32_t keysym);

// Keysyms the text field and the menus react to.
enum : uint32_t {
  kKeysymBackSpace = 0xff08,
  kKeysymTab = 0xff09,
  kKeysymReturn = 0xff0d,
  kKeysymEscape = 0xff1b,
  kKeysymHome = 0xff50,
  kKeysymLeft = 0xff51,
  kKeysymUp = 0xff52,
  kKeysymRight = 0xff53,
  kKeysymDown = 0xff54,
  kKeysymEnd = 0xff57,
  kKeysymKPEnter = 0xff8d,
  kKeysymDelete = 0xffff,
};

// The host's virtual key as the keysym of the same key, so one handler
// serves keys from our window and keys the host passes on; 0 when none.
uint32_t KeysymFromHostKey(char16_t character, int virtualKey);
