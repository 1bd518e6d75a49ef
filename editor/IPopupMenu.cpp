#include "editor/IPopupMenu.h"

#include <cstdio>

IPopupMenuItem* IPopupMenu::AddItem(IPopupMenuItem* item, int index) {
  if (!item) return nullptr;
  const int at = index == -1 ? GetNItems() : index;
  if (!mMenuItems.Insert(at, item)) {
    delete item;
    return nullptr;
  }
  return item;
}

IPopupMenuItem* IPopupMenu::AddItem(const char* text, int index, int flags) {
  return AddItem(new IPopupMenuItem(text, flags), index);
}

IPopupMenuItem* IPopupMenu::AddItem(const char* text, int index, IPopupMenu* submenu) {
  return AddItem(new IPopupMenuItem(text, submenu), index);
}

IPopupMenuItem* IPopupMenu::AddItem(const char* text, IPopupMenu* submenu) {
  return AddItem(new IPopupMenuItem(text, submenu), -1);
}

IPopupMenuItem* IPopupMenu::AddSeparator(int index) {
  return AddItem(new IPopupMenuItem("", IPopupMenuItem::kSeparator), index);
}

const char* IPopupMenu::GetItemText(int index) const {
  const IPopupMenuItem* item = GetItem(index);
  return item ? item->GetText() : nullptr;
}

void IPopupMenu::SetPrefix(int prefix) {
  if (prefix >= 0 && prefix <= 3) mPrefix = prefix;
}

void IPopupMenu::GetItemTitle(int index, char* text, int size) const {
  if (!text || size <= 0) return;
  const char* itemText = GetItemText(index);
  if (!itemText) itemText = "";
  static const char* const kFormats[] = {"%s", "%1d: %s", "%02d: %s", "%03d: %s"};
  if (mPrefix == 0)
    snprintf(text, static_cast<size_t>(size), "%s", itemText);
  else
    snprintf(text, static_cast<size_t>(size), kFormats[mPrefix], index + 1, itemText);
}

bool IPopupMenu::CheckItem(int index, bool checked) {
  IPopupMenuItem* item = GetItem(index);
  if (item) item->SetChecked(checked);
  return item != nullptr;
}

void IPopupMenu::CheckItemAlone(int index) {
  for (int i = 0; i < GetNItems(); ++i) GetItem(i)->SetChecked(i == index);
}

bool IPopupMenu::IsItemChecked(int index) const {
  const IPopupMenuItem* item = GetItem(index);
  return item && item->GetChecked();
}
