#pragma once
// What a platform host shows for an IPopupMenu, decided once for every
// platform: each menu of the tree as a list of entries (numbered title,
// indentation, check mark, enabled state, separator, submenu), how the
// highlight moves between entries, and how a chosen entry maps back to the
// IPopupMenu that holds it.
//
// Entries correspond one to one with the items of their IPopupMenu, so an
// entry's position is the item's index. Every submenu is built once, however
// many items open it, and an item whose submenu would contain itself (directly
// or further down) opens nothing: the menus form a finite tree a host can walk
// without recursing forever. The model reads the IPopupMenu tree when it is
// built and must be built again after the tree changes.
#include "wdl/ptr_list.h"
#include "wdl/wdl_string.h"

class IPopupMenu;

struct NativeMenuEntry {
  enum EKind { kAction, kSubmenu, kSeparator };

  EKind mKind = kAction;
  // The item's text after its number in the menu's prefix format; separators
  // have none.
  WDL_String mTitle;
  // Levels of indentation: items with the title flag sit one level in.
  int mIndent = 0;
  bool mChecked = false;
  // Disabled actions, and submenu items cut to break a cycle, are shown greyed.
  bool mEnabled = true;
  // For submenu entries: the menu (NativeMenu index) the entry opens, -1 when
  // it was cut.
  int mSubmenu = -1;
};

class NativeMenu {
public:
  NativeMenu() = default;
  explicit NativeMenu(IPopupMenu* root) { Build(root); }
  ~NativeMenu() { Clear(); }
  NativeMenu(const NativeMenu&) = delete;
  NativeMenu& operator=(const NativeMenu&) = delete;

  // Builds the model of root and its submenus. False, leaving the model empty,
  // for a null root or when memory runs out.
  bool Build(IPopupMenu* root);
  void Clear();

  // Menu 0 is the root; submenus follow in the order they are first met.
  int NMenus() const { return mMenus.GetSize(); }
  int NEntries(int menu) const;
  // Null outside the model.
  const NativeMenuEntry* GetEntry(int menu, int entry) const;
  IPopupMenu* GetSourceMenu(int menu) const;

  // Entries the highlight can rest on: enabled ones that are not separators
  // (actions to choose and submenus to open).
  bool IsSelectable(int menu, int entry) const;
  // The first selectable entry after from (forward) or before it (backward),
  // wrapping round the menu; from outside the menu starts at its first entry
  // (forward) or its last (backward). -1 when the menu has none.
  int NextSelectable(int menu, int from, bool forward = true) const;

  // Choosing an entry: sets its IPopupMenu's chosen index to the entry's
  // position and returns that menu. Anything but an enabled action (a
  // separator, a submenu, a disabled entry, a position outside the model)
  // is no choice: null, and nothing changes.
  IPopupMenu* Choose(int menu, int entry) const;

private:
  struct Menu;
  int FindMenu(const IPopupMenu* source) const;
  int AddMenu(IPopupMenu* source);
  bool Fail();
  const Menu* GetMenu(int menu) const { return mMenus.Get(menu); }

  WDL_PtrList<Menu> mMenus;
};
