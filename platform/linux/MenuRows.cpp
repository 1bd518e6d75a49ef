#include "platform/linux/MenuRows.h"

#include "editor/IPopupMenu.h"

std::vector<MenuRow> BuildMenuRows(const IPopupMenu* menu) {
  std::vector<MenuRow> rows;
  if (!menu) return rows;
  char title[1024];
  for (int i = 0; i < menu->GetNItems(); ++i) {
    const IPopupMenuItem* item = menu->GetItem(i);
    MenuRow row;
    if (item->GetIsSeparator()) {
      row.separator = true;
    } else {
      menu->GetItemTitle(i, title, sizeof(title));
      row.title = title;
      row.submenu = item->GetSubmenu();
      // A submenu entry has no action, so its flags mean nothing.
      if (!row.submenu) {
        row.checked = item->GetChecked();
        row.enabled = item->GetEnabled();
        row.indented = item->GetIsTitle();
      }
    }
    rows.push_back(row);
  }
  return rows;
}

bool RowChoosable(const MenuRow& row) {
  return !row.separator && row.enabled && !row.submenu;
}

bool RowFocusable(const MenuRow& row) {
  return !row.separator && row.enabled;
}

int StepHighlight(const std::vector<MenuRow>& rows, int from, int step) {
  const int n = static_cast<int>(rows.size());
  if (n == 0) return -1;
  int i = from < 0 ? (step > 0 ? -1 : n) : from;
  for (int tries = 0; tries < n; ++tries) {
    i = ((i + (step > 0 ? 1 : -1)) % n + n) % n;
    if (RowFocusable(rows[i])) return i;
  }
  return -1;
}
