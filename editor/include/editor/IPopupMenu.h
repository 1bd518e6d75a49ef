#pragma once
// The platform-independent model of a popup menu: items with titles, flags
// and optional submenus, the numbering prefix and the item the user chose.
#include "wdl/ptr_list.h"
#include "wdl/wdl_string.h"

class IPopupMenu;

class IPopupMenuItem {
public:
  enum Flags { kNoFlags = 0, kDisabled = 1, kTitle = 2, kChecked = 4, kSeparator = 8 };

  IPopupMenuItem(const char* text, int flags = kNoFlags) : mFlags(flags) { SetText(text); }
  IPopupMenuItem(const char* text, IPopupMenu* submenu) : mSubmenu(submenu) { SetText(text); }

  void SetText(const char* text) { mText.Set(text ? text : ""); }
  const char* GetText() const { return mText.Get(); }
  IPopupMenu* GetSubmenu() const { return mSubmenu; }
  int GetFlags() const { return mFlags; }
  bool GetEnabled() const { return !(mFlags & kDisabled); }
  bool GetChecked() const { return mFlags & kChecked; }
  bool GetIsTitle() const { return mFlags & kTitle; }
  bool GetIsSeparator() const { return mFlags & kSeparator; }
  void SetChecked(bool checked) { mFlags = checked ? (mFlags | kChecked) : (mFlags & ~kChecked); }

private:
  WDL_String mText;
  IPopupMenu* mSubmenu = nullptr; // not owned
  int mFlags = kNoFlags;
};

class IPopupMenu {
public:
  IPopupMenu() = default;
  ~IPopupMenu() { mMenuItems.Empty(true); }
  IPopupMenu(const IPopupMenu&) = delete;
  IPopupMenu& operator=(const IPopupMenu&) = delete;

  // Index -1 appends; others are held in 0..count. Takes ownership and returns
  // the item (null, with the item deleted, when the list cannot grow).
  IPopupMenuItem* AddItem(IPopupMenuItem* item, int index = -1);
  IPopupMenuItem* AddItem(const char* text, int index = -1, int flags = IPopupMenuItem::kNoFlags);
  IPopupMenuItem* AddItem(const char* text, int index, IPopupMenu* submenu);
  IPopupMenuItem* AddItem(const char* text, IPopupMenu* submenu);
  IPopupMenuItem* AddSeparator(int index = -1);

  IPopupMenuItem* GetItem(int index) const { return mMenuItems.Get(index); }
  // The item's text, or null for an index outside the menu.
  const char* GetItemText(int index) const;
  int GetNItems() const { return mMenuItems.GetSize(); }

  // 0 none, 1 "%1d: ", 2 "%02d: ", 3 "%03d: "; other values keep the prefix.
  void SetPrefix(int prefix);
  int GetPrefix() const { return mPrefix; }
  // The title an item shows: its text after the number (counted from 1) in the
  // prefix's format. text holds at least size bytes.
  void GetItemTitle(int index, char* text, int size) const;

  bool CheckItem(int index, bool checked);
  // Checks the item at index and clears every other one.
  void CheckItemAlone(int index);
  bool IsItemChecked(int index) const;

  int GetChosenItemIdx() const { return mChosenItemIdx; }
  void SetChosenItemIdx(int index) { mChosenItemIdx = index; }

private:
  int mPrefix = 0;
  int mChosenItemIdx = -1;
  WDL_PtrList<IPopupMenuItem> mMenuItems;
};
