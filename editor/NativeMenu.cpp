#include "editor/NativeMenu.h"

#include "editor/IPopupMenu.h"
#include "wdl/heap_buf.h"

struct NativeMenu::Menu {
  explicit Menu(IPopupMenu* source) : mSource(source) {}
  ~Menu() { mEntries.Empty(true); }

  IPopupMenu* mSource;
  WDL_PtrList<NativeMenuEntry> mEntries;
  // Set while the menu's entries are being built: a submenu item that leads
  // back to it closes a cycle.
  bool mBeingBuilt = false;
};

namespace {

const char* const kNumberFormats[] = {"", "%1d: ", "%02d: ", "%03d: "};

// The entry an item becomes; its submenu link is made by the caller.
NativeMenuEntry* MakeEntry(const IPopupMenu* source, int index) {
  const IPopupMenuItem* item = source->GetItem(index);
  NativeMenuEntry* entry = new NativeMenuEntry;
  if (item->GetSubmenu()) {
    entry->mKind = NativeMenuEntry::kSubmenu;
  } else if (item->GetIsSeparator()) {
    entry->mKind = NativeMenuEntry::kSeparator;
    return entry;
  } else {
    entry->mIndent = item->GetIsTitle() ? 1 : 0;
    entry->mChecked = item->GetChecked();
    entry->mEnabled = item->GetEnabled();
  }
  // Numbers count every item from 1, separators and submenu items included.
  const int prefix = source->GetPrefix();
  if (prefix >= 1 && prefix <= 3) entry->mTitle.SetFormatted(32, kNumberFormats[prefix], index + 1);
  entry->mTitle.Append(item->GetText());
  return entry;
}

} // namespace

void NativeMenu::Clear() {
  mMenus.Empty(true);
}

bool NativeMenu::Fail() {
  Clear();
  return false;
}

int NativeMenu::FindMenu(const IPopupMenu* source) const {
  for (int i = 0; i < mMenus.GetSize(); ++i)
    if (mMenus.Get(i)->mSource == source) return i;
  return -1;
}

int NativeMenu::AddMenu(IPopupMenu* source) {
  Menu* menu = new Menu(source);
  if (!mMenus.Add(menu)) {
    delete menu;
    return -1;
  }
  return mMenus.GetSize() - 1;
}

// Depth first without recursion, so that a deep chain of submenus cannot
// exhaust the stack: the stack holds the menus whose entries are being
// built, and each continues at its next unbuilt item.
bool NativeMenu::Build(IPopupMenu* root) {
  Clear();
  if (!root || AddMenu(root) < 0) return false;
  WDL_TypedBuf<int> stack(256);
  const int rootMenu = 0;
  if (!stack.Add(rootMenu)) return Fail();
  mMenus.Get(rootMenu)->mBeingBuilt = true;
  while (stack.GetSize() > 0) {
    const int current = stack.Get()[stack.GetSize() - 1];
    Menu* menu = mMenus.Get(current);
    const int index = menu->mEntries.GetSize();
    if (index >= menu->mSource->GetNItems()) {
      menu->mBeingBuilt = false;
      stack.Resize(stack.GetSize() - 1, false);
      continue;
    }
    NativeMenuEntry* entry = MakeEntry(menu->mSource, index);
    if (!menu->mEntries.Add(entry)) {
      delete entry;
      return Fail();
    }
    if (entry->mKind != NativeMenuEntry::kSubmenu) continue;
    IPopupMenu* source = menu->mSource->GetItem(index)->GetSubmenu();
    int submenu = FindMenu(source);
    if (submenu >= 0 && mMenus.Get(submenu)->mBeingBuilt) {
      entry->mEnabled = false; // it would open a menu that contains it
      continue;
    }
    if (submenu < 0) {
      submenu = AddMenu(source);
      if (submenu < 0 || !stack.Add(submenu)) return Fail();
      mMenus.Get(submenu)->mBeingBuilt = true;
    }
    entry->mSubmenu = submenu;
  }
  return true;
}

int NativeMenu::NEntries(int menu) const {
  const Menu* m = GetMenu(menu);
  return m ? m->mEntries.GetSize() : 0;
}

const NativeMenuEntry* NativeMenu::GetEntry(int menu, int entry) const {
  const Menu* m = GetMenu(menu);
  return m ? m->mEntries.Get(entry) : nullptr;
}

IPopupMenu* NativeMenu::GetSourceMenu(int menu) const {
  const Menu* m = GetMenu(menu);
  return m ? m->mSource : nullptr;
}

bool NativeMenu::IsSelectable(int menu, int entry) const {
  const NativeMenuEntry* e = GetEntry(menu, entry);
  return e && e->mEnabled && e->mKind != NativeMenuEntry::kSeparator;
}

int NativeMenu::NextSelectable(int menu, int from, bool forward) const {
  const int n = NEntries(menu);
  if (n <= 0) return -1;
  const int start = (from >= 0 && from < n) ? from : (forward ? -1 : n);
  for (int step = 1; step <= n; ++step) {
    const int i = ((forward ? start + step : start - step) % n + n) % n;
    if (IsSelectable(menu, i)) return i;
  }
  return -1;
}

IPopupMenu* NativeMenu::Choose(int menu, int entry) const {
  const NativeMenuEntry* e = GetEntry(menu, entry);
  if (!e || e->mKind != NativeMenuEntry::kAction || !e->mEnabled) return nullptr;
  IPopupMenu* source = GetSourceMenu(menu);
  // The tree may have shrunk since the model was built.
  if (!source->GetItem(entry)) return nullptr;
  source->SetChosenItemIdx(entry);
  return source;
}
