// What a platform host shows for an IPopupMenu and how a choice maps back.
#include <gtest/gtest.h>

#include <string>

#include "editor/IPopupMenu.h"
#include "editor/NativeMenu.h"

namespace {

// "Soft", a separator, "Hard", "Fold" (checked), "Section" (title),
// "Off" (disabled), then a submenu item "More" and five plain items: twelve.
void FillMenu(IPopupMenu* menu, IPopupMenu* submenu) {
  menu->AddItem("Soft");
  menu->AddSeparator();
  menu->AddItem("Hard");
  menu->AddItem("Fold", -1, IPopupMenuItem::kChecked);
  menu->AddItem("Section", -1, IPopupMenuItem::kTitle);
  menu->AddItem("Off", -1, IPopupMenuItem::kDisabled);
  menu->AddItem("More", submenu);
  for (int i = 0; i < 5; ++i) menu->AddItem(("Item " + std::to_string(i + 8)).c_str());
}

std::string Title(const NativeMenu& model, int menu, int entry) {
  const NativeMenuEntry* e = model.GetEntry(menu, entry);
  return e ? e->mTitle.Get() : "(none)";
}

TEST(NativeMenu, EntriesAreNumberedCountingEveryItemAndShowTheirFlags) {
  IPopupMenu sub, menu;
  FillMenu(&menu, &sub);
  menu.SetPrefix(2);
  NativeMenu model(&menu);
  ASSERT_EQ(model.NEntries(0), 12);
  using E = NativeMenuEntry;
  struct Case {
    int entry;
    const char* title;
    E::EKind kind;
    int indent;
    bool checked, enabled;
  } cases[] = {{0, "01: Soft", E::kAction, 0, false, true},
               {1, "", E::kSeparator, 0, false, true},
               {2, "03: Hard", E::kAction, 0, false, true},
               {3, "04: Fold", E::kAction, 0, true, true},
               {4, "05: Section", E::kAction, 1, false, true},
               {5, "06: Off", E::kAction, 0, false, false},
               {6, "07: More", E::kSubmenu, 0, false, true},
               {11, "12: Item 12", E::kAction, 0, false, true}};
  for (const Case& c : cases) {
    const NativeMenuEntry* e = model.GetEntry(0, c.entry);
    ASSERT_NE(e, nullptr);
    EXPECT_STREQ(e->mTitle.Get(), c.title);
    EXPECT_EQ(e->mKind, c.kind) << c.title;
    EXPECT_EQ(e->mIndent, c.indent) << c.title;
    EXPECT_EQ(e->mChecked, c.checked) << c.title;
    EXPECT_EQ(e->mEnabled, c.enabled) << c.title;
  }
  EXPECT_EQ(model.GetEntry(0, 12), nullptr);
  EXPECT_EQ(model.GetEntry(-1, 0), nullptr);
  const char* formats[][2] = {
      {"Hard", "Item 12"}, {"3: Hard", "12: Item 12"}, {}, {"003: Hard", "012: Item 12"}};
  for (int prefix : {0, 1, 3}) {
    menu.SetPrefix(prefix);
    model.Build(&menu);
    EXPECT_EQ(Title(model, 0, 2), formats[prefix][0]);
    EXPECT_EQ(Title(model, 0, 11), formats[prefix][1]);
  }
  EXPECT_FALSE(model.Build(nullptr));
  EXPECT_EQ(model.NMenus(), 0) << "a null root leaves an empty model";
}

TEST(NativeMenu, SubmenusAreBuiltOnceWithTheirOwnPrefixAndCyclesAreCut) {
  IPopupMenu root, shared, inner;
  shared.SetPrefix(2);
  shared.AddItem("A");
  shared.AddItem("B", &inner);
  inner.AddItem("Deep");
  inner.AddItem("Back up", &root); // leads back to the root: a cycle
  inner.AddItem("Self", &inner);   // contains itself
  root.AddItem("First", &shared);
  root.AddItem("Again", &shared); // the same submenu from a second item
  NativeMenu model(&root);
  ASSERT_EQ(model.NMenus(), 3);
  EXPECT_EQ(model.GetSourceMenu(0), &root);
  EXPECT_EQ(model.GetEntry(0, 0)->mSubmenu, 1);
  EXPECT_EQ(model.GetEntry(0, 1)->mSubmenu, 1);
  EXPECT_EQ(model.GetSourceMenu(1), &shared);
  EXPECT_EQ(Title(model, 1, 1), "02: B");
  EXPECT_EQ(model.GetEntry(1, 1)->mSubmenu, 2);
  EXPECT_EQ(Title(model, 2, 0), "Deep");
  for (int cut : {1, 2}) {
    const NativeMenuEntry* e = model.GetEntry(2, cut);
    EXPECT_EQ(e->mKind, NativeMenuEntry::kSubmenu);
    EXPECT_EQ(e->mSubmenu, -1) << "opens nothing";
    EXPECT_FALSE(e->mEnabled);
    EXPECT_FALSE(model.IsSelectable(2, cut));
  }
}

TEST(NativeMenu, ChoosingAnActionReportsItsOwnMenuAndPosition) {
  IPopupMenu sub, menu;
  sub.AddItem("Sub 1");
  sub.AddItem("Sub 2");
  FillMenu(&menu, &sub);
  NativeMenu model(&menu);
  struct Case {
    int menu, entry;
    IPopupMenu* expected; // null: no choice
  } cases[] = {{0, 0, &menu},    {0, 3, &menu},   {0, 4, &menu},
               {1, 1, &sub},     {0, 1, nullptr}, // separator
               {0, 5, nullptr},                   // disabled
               {0, 6, nullptr},                   // opens a submenu
               {0, 12, nullptr}, {2, 0, nullptr}, {-1, 0, nullptr}};
  for (const Case& c : cases) {
    menu.SetChosenItemIdx(-1);
    sub.SetChosenItemIdx(-1);
    EXPECT_EQ(model.Choose(c.menu, c.entry), c.expected) << c.menu << "/" << c.entry;
    EXPECT_EQ(menu.GetChosenItemIdx(), c.expected == &menu ? c.entry : -1);
    EXPECT_EQ(sub.GetChosenItemIdx(), c.expected == &sub ? c.entry : -1);
  }
}

TEST(NativeMenu, TheHighlightSkipsSeparatorsAndDisabledEntriesAndWraps) {
  IPopupMenu sub, menu;
  FillMenu(&menu, &sub);
  NativeMenu model(&menu);
  struct Case {
    int from;
    bool forward;
    int expected;
  } cases[] = {{-1, true, 0}, {0, true, 2},  {4, true, 6},   {11, true, 0}, {-1, false, 11},
               {2, false, 0}, {6, false, 4}, {0, false, 11}, {99, true, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(model.NextSelectable(0, c.from, c.forward), c.expected)
        << c.from << (c.forward ? " forward" : " backward");

  IPopupMenu dead;
  dead.AddSeparator();
  dead.AddItem("Off", -1, IPopupMenuItem::kDisabled);
  model.Build(&dead);
  EXPECT_EQ(model.NextSelectable(0, -1, true), -1);
  EXPECT_EQ(model.NextSelectable(0, 0, false), -1);
  IPopupMenu empty;
  model.Build(&empty);
  EXPECT_EQ(model.NextSelectable(0, -1, true), -1);
}

} // namespace
