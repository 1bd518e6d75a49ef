// The popup-menu model, prompting for a value and converting what was typed.
#include <gtest/gtest.h>

#include <cstring>

#include "editor/IPopupMenu.h"
#include "platform/headless/IGraphicsHeadless.h"
#include "tests/editor/editor_fixture.h"
#include "tests/editor/probe_control.h"

namespace {

TEST(PopupMenu, InsertingNumberingAndChecking) {
  IPopupMenu menu;
  menu.AddItem("a");
  menu.AddItem("b");
  menu.AddItem("c", 0);
  menu.AddItem("d", 10); // past the end: appended
  menu.AddSeparator(1);
  EXPECT_EQ(menu.GetNItems(), 5);
  const char* order[] = {"c", "", "a", "b", "d"};
  for (int i = 0; i < 5; ++i) EXPECT_STREQ(menu.GetItemText(i), order[i]);
  EXPECT_TRUE(menu.GetItem(1)->GetIsSeparator());
  EXPECT_EQ(menu.GetItemText(5), nullptr);

  char title[32];
  menu.SetPrefix(2);
  menu.SetPrefix(5); // refused: keeps 2
  menu.GetItemTitle(3, title, sizeof(title));
  EXPECT_STREQ(title, "04: b");

  menu.CheckItemAlone(2);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(menu.IsItemChecked(i), i == 2);
  EXPECT_TRUE(menu.CheckItem(4, true));
  EXPECT_FALSE(menu.CheckItem(9, true));
  EXPECT_FALSE(menu.IsItemChecked(-1));
  menu.CheckItemAlone(-1);
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(menu.IsItemChecked(i));
  menu.GetItem(2)->SetChecked(true);
  EXPECT_TRUE(menu.GetItem(2)->GetEnabled()) << "checking leaves the other flags";
}

struct PromptRig {
  RecordingPlug plug;
  IGraphicsHeadless& gui = *new IGraphicsHeadless(&plug, 100, 100);
  ProbeControl* control[RecordingPlug::kNumParams];
  PromptRig() {
    for (int i = 0; i < RecordingPlug::kNumParams; ++i) {
      control[i] = new ProbeControl(&plug, IRECT(0, 10 * i, 40, 10 * i + 10), i);
      control[i]->DisablePrompt(false);
      gui.AttachControl(control[i]);
    }
    plug.AttachGraphics(&gui);
  }
  IParam* Param(int i) { return plug.GetParam(i); }
};

TEST(Prompt, EnumsShowAMenuWithTheCurrentValueChecked) {
  PromptRig t;
  t.gui.Script().ChooseMenuItem({2});
  IMouseMod right(false, true);
  t.control[RecordingPlug::kMode]->OnMouseDown(5, 35, &right); // a right click prompts
  const HeadlessCall* menu = t.gui.Script().Last(HeadlessCall::kMenu);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->text, "Soft\n[x] Hard\nFold\n");
  EXPECT_EQ(menu->area, IRECT(0, 30, 40, 40)) << "named values open over the control";
  EXPECT_EQ(t.Param(RecordingPlug::kMode)->Int(), 2);

  t.gui.Script().DismissMenu();
  t.control[RecordingPlug::kMode]->PromptUserInput();
  EXPECT_EQ(t.Param(RecordingPlug::kMode)->Int(), 2) << "no choice, no change";
  EXPECT_EQ(t.gui.Script().Count(HeadlessCall::kMenu), 2);
}

TEST(Prompt, OtherKindsOpenATextEntryCentredOnTheControl) {
  PromptRig t;
  t.control[RecordingPlug::kIn]->PromptUserInput();
  const HeadlessCall* entry = t.gui.Script().Last(HeadlessCall::kTextEntry);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->text, "0.00");
  EXPECT_EQ(entry->area, IRECT(5, -3, 35, 13));
  EXPECT_TRUE(t.gui.TextEntryOpen());
  t.gui.FinishTextEntry("12.5abc");
  EXPECT_DOUBLE_EQ(t.Param(RecordingPlug::kIn)->Value(), 12.5);

  t.control[RecordingPlug::kIn]->DisablePrompt(true);
  t.control[RecordingPlug::kIn]->PromptUserInput();
  EXPECT_EQ(t.gui.Script().Count(HeadlessCall::kTextEntry), 1) << "prompting disabled";
}

TEST(Prompt, TypedTextBecomesAValue) {
  struct Case {
    int param;
    const char* typed;
    double plain;
  } cases[] = {
      {RecordingPlug::kIn, "12.5abc", 12.5}, {RecordingPlug::kIn, " -3e1", -20.0},
      {RecordingPlug::kIn, "abc", 0.0},      {RecordingPlug::kIn, "nan", 0.0},
      {RecordingPlug::kIn, "inf", 0.0},      {RecordingPlug::kIn, "1e999", 20.0},
      {RecordingPlug::kIn, ".5", 0.5},       {RecordingPlug::kIn, "", 0.0},
      {RecordingPlug::kDistort, "-5", 0.01}, {RecordingPlug::kMode, "Fold", 2.0},
      {RecordingPlug::kMode, "fold", 0.0},   {RecordingPlug::kOnOff, "junk", 0.0},
  };
  for (const Case& c : cases) {
    PromptRig t;
    // Start away from every expected value, so each conversion is a change.
    t.Param(c.param)->SetNormalized(0.6);
    t.control[c.param]->SetValue(0.6);
    char typed[32];
    snprintf(typed, sizeof(typed), "%s", c.typed);
    t.gui.SetFromStringAfterPrompt(t.control[c.param], t.Param(c.param), typed);
    EXPECT_NEAR(t.Param(c.param)->Value(), c.plain, 1e-9) << c.typed;
  }
  PromptRig t;
  t.control[RecordingPlug::kIn]->SetValue(0.6);
  t.Param(RecordingPlug::kIn)->NegateDisplay();
  char typed[] = "7";
  t.gui.SetFromStringAfterPrompt(t.control[RecordingPlug::kIn], t.Param(RecordingPlug::kIn), typed);
  EXPECT_DOUBLE_EQ(t.Param(RecordingPlug::kIn)->Value(), -7.0) << "a negated display is undone";
}

} // namespace
