// The headless host: resources from its folder, screen updates, and the
// scripted answers to everything a user would be asked.
#include <gtest/gtest.h>

#include "editor/IPopupMenu.h"
#include "editor/ITextControl.h"
#include "lice/lice.h"
#include "platform/headless/IGraphicsHeadless.h"
#include "tests/editor/editor_fixture.h"

namespace {

TEST(Headless, LoadsResourcesByTheirLastPathComponentFromItsFolder) {
  RecordingPlug plug;
  IGraphicsHeadless gui(&plug, 10, 10, 0, EffectArtDir().c_str());
  struct Case {
    const char* name;
    int width; // 0: not loaded
  } cases[] = {{"resources/img/Knob_In_Frames.png", 60},
               {"Grittlebox_Background.png", 350},
               {"resources/img/", 0},
               {"", 0},
               {nullptr, 0},
               {"resources/img/absent.png", 0}};
  for (const Case& c : cases) {
    LICE_IBitmap* bitmap = gui.OSLoadBitmap(1, c.name);
    EXPECT_EQ(bitmap ? bitmap->getWidth() : 0, c.width) << (c.name ? c.name : "null");
    delete bitmap;
  }
}

TEST(Headless, AnswersFromTheScriptAndRecordsEveryRequest) {
  RecordingPlug plug;
  IGraphicsHeadless gui(&plug, 10, 10);
  HeadlessScript& script = gui.Script();

  IPopupMenu sub, menu;
  sub.AddItem("deep");
  sub.AddItem("deeper");
  menu.AddItem("one");
  menu.AddItem("off", -1, IPopupMenuItem::kDisabled | IPopupMenuItem::kChecked);
  menu.AddSeparator();
  menu.AddItem("more", &sub);
  menu.SetPrefix(1);
  script.ChooseMenuItem({3, 1});
  script.ChooseMenuItem({1}); // disabled: no choice
  IRECT area(1, 2, 3, 4);
  EXPECT_EQ(gui.CreateIPopupMenu(&menu, &area), &sub);
  EXPECT_EQ(sub.GetChosenItemIdx(), 1);
  EXPECT_EQ(gui.CreateIPopupMenu(&menu, &area), nullptr);
  EXPECT_EQ(gui.CreateIPopupMenu(&menu, &area), nullptr) << "nothing queued: dismissed";
  EXPECT_EQ(script.Last(HeadlessCall::kMenu)->text, "1: one\n[x] (-) 2: off\n--\n> 4: more\n");
  EXPECT_EQ(script.Last(HeadlessCall::kMenu)->area, area);

  script.AnswerMessageBox(6);
  EXPECT_EQ(gui.ShowMessageBox("Sure?", "Grittlebox", 4), 6);
  EXPECT_EQ(gui.ShowMessageBox("Again?", "Grittlebox", 4), 0);
  EXPECT_EQ(script.Last(HeadlessCall::kMessageBox)->detail, "Grittlebox");

  WDL_String file, dir("/presets");
  script.ChooseFile("/presets/a.fxp");
  gui.PromptForFile(&file, kFileOpen, &dir, nullptr);
  EXPECT_STREQ(file.Get(), "/presets/a.fxp");
  gui.PromptForFile(&file, kFileSave, &dir, nullptr);
  EXPECT_STREQ(file.Get(), "") << "cancelled";
  EXPECT_EQ(script.Last(HeadlessCall::kFilePrompt)->text, "/presets");

  IColor color = COLOR_BLACK;
  script.ChooseColor(COLOR_ORANGE);
  script.CancelColor();
  EXPECT_TRUE(gui.PromptForColor(&color, nullptr));
  EXPECT_FALSE(gui.PromptForColor(&color, nullptr));
  EXPECT_EQ(color, COLOR_ORANGE) << "a cancel leaves the colour";

  script.OpenURLSucceeds(false);
  EXPECT_FALSE(gui.OpenURL("https://example.org", nullptr, nullptr, nullptr));
  EXPECT_TRUE(gui.OpenURL("https://example.org", nullptr, nullptr, nullptr));
  EXPECT_FALSE(gui.OpenURL("", nullptr, nullptr, nullptr));
  EXPECT_EQ(script.Count(HeadlessCall::kOpenURL), 3);
}

TEST(Headless, TextEntriesStayOpenUntilFinishedAndAreCutToTheirLength) {
  RecordingPlug plug;
  IGraphicsHeadless& gui = *new IGraphicsHeadless(&plug, 50, 50);
  struct Entry : ITextControl {
    using ITextControl::ITextControl;
    void TextFromTextEntry(const char* text) override { SetTextFromPlug(text); }
  };
  IText style;
  Entry* entry = new Entry(&plug, IRECT(0, 0, 50, 20), &style, "");
  gui.AttachControl(entry);
  plug.AttachGraphics(&gui);
  IRECT area(0, 0, 50, 20);
  gui.CreateTextEntry(entry, &style, &area, "start", nullptr);
  EXPECT_TRUE(gui.TextEntryOpen());
  gui.FinishTextEntry("0123456789");
  EXPECT_FALSE(gui.TextEntryOpen());
  EXPECT_TRUE(entry->TextEquals("0123456")) << "seven characters by default";

  gui.Script().TypeText("ab");
  gui.CreateTextEntry(entry, &style, &area, "", nullptr); // a queued answer finishes at once
  EXPECT_TRUE(entry->TextEquals("ab"));
  gui.CreateTextEntry(entry, &style, &area, "", nullptr);
  gui.ForceEndUserEdit();
  gui.FinishTextEntry("lost");
  EXPECT_TRUE(entry->TextEquals("ab")) << "an abandoned entry changes nothing";
}

TEST(Headless, PollDrawsTheDirtyRegionAndRecordsWhatWasShown) {
  RecordingPlug plug;
  IGraphicsHeadless* gui = BuildEffectEditor(&plug);
  EXPECT_EQ(gui->OpenWindow(nullptr), gui);
  EXPECT_TRUE(gui->WindowIsOpen());
  EXPECT_TRUE(gui->Poll());
  EXPECT_EQ(gui->ScreenUpdates().back(), IRECT(0, 0, 350, 290));
  gui->ClearScreenUpdates();
  gui->SetParameterFromPlug(RecordingPlug::kIn, 10.0, false);
  EXPECT_TRUE(gui->Poll());
  ASSERT_EQ(gui->ScreenUpdates().size(), 1u);
  EXPECT_EQ(gui->ScreenUpdates()[0], IRECT(29, 207, 89, 267));
  gui->CloseWindow();
  EXPECT_FALSE(gui->WindowIsOpen());
}

} // namespace
