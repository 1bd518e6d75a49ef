#pragma once
// A popup menu as the rows a menu window shows: numbered titles, separators,
// submenu entries, checks, disabled and indented (title) entries, and how
// the keyboard moves between them.
#include <string>
#include <vector>

class IPopupMenu;

struct MenuRow {
  std::string title; // with the menu's numbering
  IPopupMenu* submenu = nullptr;
  bool separator = false;
  bool checked = false;
  bool enabled = true;
  bool indented = false; // the title flag: one level in
};

std::vector<MenuRow> BuildMenuRows(const IPopupMenu* menu);
// An entry that ends the menu when chosen.
bool RowChoosable(const MenuRow& row);
// An entry the highlight may rest on: choosable ones and submenus.
bool RowFocusable(const MenuRow& row);
// The next focusable row from `from` in the direction of step (+1 down, -1
// up), wrapping round; from -1 starts before the first (or after the last).
// -1 when no row is focusable.
int StepHighlight(const std::vector<MenuRow>& rows, int from, int step);
