// Real pointer and key events (XTEST) reaching the editor through X: knob
// drags, the wheel, double clicks, right-clicks, keys, the popup menu, the
// text entry, and message boxes and prompts.
#include "tests/platform/linux/x_fixture.h"

#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "editor/IPopupMenu.h"
#include "platform/linux/detail/KeyMap.h"

namespace {

using XInput = XEditorTest;
const std::string kClass = "IGraphicsLinux_vGrittleTest_vst3";

double Normalized(RecordingPlug* plug, int param) {
  return plug->GetParam(param)->GetNormalized();
}

TEST_F(XInput, DraggingAKnobInformsTheHostAndMovesByTheGearing) {
  OpenEditor(kAPIVST3, 2.0); // pointer positions are divided back to editor pixels
  mPlug->mEvents.clear();
  Drive([&](XDriver& x) {
    int rx, ry;
    ToRoot(59, 237, &rx, &ry); // the In knob's centre
    x.Move(rx, ry);
    x.Button(1, true);
    for (int step = 1; step <= 6; ++step) x.Move(rx, ry - step * 10); // 30 editor pixels up
    x.Button(1, false);
  });
  // 30 pixels over a 60-pixel knob at gearing 4: an eighth of the range.
  EXPECT_NEAR(Normalized(mPlug.get(), RecordingPlug::kIn), 0.625, 1e-9);
  const std::string trail = mPlug->Trail();
  EXPECT_EQ(trail.substr(0, 5), "b0 i0");
  EXPECT_EQ(trail.substr(trail.size() - 2), "e0");
  EXPECT_EQ(trail.find("1"), std::string::npos) << trail;

  // Wheel up over Out steps it by 1 %; a double click on In restores its default.
  mPlug->mEvents.clear();
  Drive([&](XDriver& x) {
    int rx, ry;
    ToRoot(284, 237, &rx, &ry);
    x.Move(rx, ry);
    x.Click(4);
    ToRoot(59, 237, &rx, &ry);
    x.Move(rx, ry);
    x.Click(1);
    x.Click(1);
  });
  EXPECT_NEAR(Normalized(mPlug.get(), RecordingPlug::kOut), 0.51, 1e-9);
  EXPECT_NEAR(Normalized(mPlug.get(), RecordingPlug::kIn), 0.5, 1e-9);

  // A right-click on a parameter asks the host for its menu; its release
  // still ends the gesture, as every mouse up over a parameter does.
  mPlug->mEvents.clear();
  Drive([&](XDriver& x) {
    int rx, ry;
    ToRoot(59, 237, &rx, &ry);
    x.Move(rx, ry);
    x.Click(3);
  });
  EXPECT_EQ(mPlug->Trail(), "m0 e0");
  EXPECT_NEAR(Normalized(mPlug.get(), RecordingPlug::kIn), 0.5, 1e-9);
}

// A host that closes the editor while the user still holds a knob: the
// parameter's gesture is ended, or the host would go on recording it.
TEST_F(XInput, ClosingTheWindowInTheMiddleOfADragEndsTheGesture) {
  OpenEditor(kAPIVST3);
  mPlug->mEvents.clear();
  int rx, ry;
  ToRoot(59, 237, &rx, &ry); // the In knob's centre
  Drive([&](XDriver& x) {
    x.Move(rx, ry);
    x.Button(1, true);
    x.Move(rx, ry - 10);
  });
  mGui->CloseWindow();
  const std::string trail = mPlug->Trail();
  EXPECT_EQ(trail.substr(0, 5), "b0 i0") << trail;
  EXPECT_EQ(trail.substr(trail.size() - 3), " e0") << trail;
  mX.Button(1, false); // the next test finds the button up
}

TEST_F(XInput, KeysReachTheEditorMappedAndOthersAreDeclined) {
  OpenEditor();
  Drive([&](XDriver& x) {
    int rx, ry;
    ToRoot(5, 150, &rx, &ry); // over the background: the key catcher's
    x.Move(rx, ry);
    x.Type("qQ7 .");
    x.Key(kKeysymUp);
    x.Key(kKeysymReturn);
  });
  EXPECT_EQ(mKeys->mKeys, (std::vector<int>{31, 31, 12, 0, 1}));
  // Keys the host passes on: mapped ones are taken, the rest handed back.
  EXPECT_TRUE(mGui->OnHostKeyDown(u'z', 0, 0));
  EXPECT_TRUE(mGui->OnHostKeyDown(0, kHostKeyDown, 0));
  EXPECT_FALSE(mGui->OnHostKeyDown(u'.', 0, 0));
  EXPECT_FALSE(mGui->OnHostKeyDown(0, kHostKeyEscape, 0));
  EXPECT_EQ(mKeys->mKeys.back(), 2);
  mGui->AttachKeyCatcher(nullptr);
  mKeys = nullptr;
  EXPECT_FALSE(mGui->OnHostKeyDown(u'z', 0, 0)); // nobody takes it
}

TEST_F(XInput, APopupMenuIsChosenWithKeysOrThePointerAndDismissedByEscapeOrAClickOutside) {
  OpenEditor();
  int boxX, boxY;
  ToRoot(60, 32, &boxX, &boxY);
  auto openMenu = [&](XDriver& x, IRECT* menu) {
    x.Move(boxX, boxY);
    x.Click(3);
    return x.WaitForPopup(kClass, 3000, menu) != 0;
  };
  ASSERT_EQ(mPlug->GetParam(RecordingPlug::kMode)->Int(), 1);
  Drive([&](XDriver& x) {
    IRECT menu;
    ASSERT_TRUE(openMenu(x, &menu));
    x.Key(kKeysymDown); // Soft
    x.Key(kKeysymDown); // Hard, the checked one
    LICE_MemBitmap shot;
    if (x.Screenshot(x.WaitForPopup(kClass, 100), &shot)) SavePng(&shot, "menu.png");
    x.Key(kKeysymDown); // Fold
    x.Key(kKeysymReturn);
    EXPECT_TRUE(x.PopupGone(kClass, 2000));
  });
  EXPECT_EQ(mPlug->GetParam(RecordingPlug::kMode)->Int(), 2);

  Drive([&](XDriver& x) {
    IRECT menu;
    ASSERT_TRUE(openMenu(x, &menu));
    x.Key(kKeysymDown);
    x.Key(kKeysymEscape);
    EXPECT_TRUE(x.PopupGone(kClass, 2000));
    ASSERT_TRUE(openMenu(x, &menu));
    x.Move(menu.R + 100, menu.B + 100);
    x.Click(1);
    EXPECT_TRUE(x.PopupGone(kClass, 2000));
  });
  EXPECT_EQ(mPlug->GetParam(RecordingPlug::kMode)->Int(), 2);

  Drive([&](XDriver& x) {
    IRECT menu;
    ASSERT_TRUE(openMenu(x, &menu));
    // The first row lies below the top padding.
    x.Move(menu.L + 30, menu.T + 12);
    x.Click(1);
    EXPECT_TRUE(x.PopupGone(kClass, 2000));
  });
  EXPECT_EQ(mPlug->GetParam(RecordingPlug::kMode)->Int(), 0);
  // The editor went on drawing: the box shows the new value.
  EXPECT_TRUE(ShowsDrawBitmap(mGui));
}

TEST_F(XInput, SubmenusOpenToTheSideAndAnswerWithTheirOwnMenu) {
  OpenEditor();
  IPopupMenu sub;
  sub.AddItem("Gentle");
  sub.AddItem("Harsh", -1, IPopupMenuItem::kChecked);
  IPopupMenu menu;
  menu.SetPrefix(1);
  menu.AddItem("Reset", -1, IPopupMenuItem::kDisabled);
  menu.AddSeparator();
  menu.AddItem("Curves", &sub);
  menu.AddItem("Heading", -1, IPopupMenuItem::kTitle);
  std::thread user([&] {
    XDriver x;
    ASSERT_TRUE(x.Connect());
    IRECT top, side;
    ASSERT_NE(x.WaitForPopup(kClass, 3000, &top), 0u);
    x.Key(kKeysymDown); // the disabled entry and the separator are skipped
    x.Key(kKeysymRight);
    XDriver::Pause(50);
    ASSERT_NE(x.WaitForPopup(kClass, 3000, &side), 0u);
    EXPECT_GE(side.L, top.R - 4);
    LICE_MemBitmap screen;
    if (x.Screenshot(x.Conn() ? xcb_setup_roots_iterator(xcb_get_setup(x.Conn())).data->root : 0,
                     &screen)) {
      const IRECT both = top.Union(side);
      LICE_MemBitmap shot(both.W(), both.H());
      LICE_Blit(&shot, &screen, 0, 0, both.L, both.T, both.W(), both.H(), 1.0f, LICE_MODE_COPY);
      SavePng(&shot, "submenu.png");
    }
    x.Key(kKeysymLeft); // back to the menu, and in again
    x.Key(kKeysymRight);
    x.Key(kKeysymDown);
    x.Key(kKeysymReturn);
  });
  IRECT area(20, 20, 100, 44);
  IPopupMenu* chosen = mGui->CreateIPopupMenu(&menu, &area);
  user.join();
  EXPECT_EQ(chosen, &sub);
  EXPECT_EQ(sub.GetChosenItemIdx(), 1);
  EXPECT_EQ(menu.GetChosenItemIdx(), -1);
}

TEST_F(XInput, TooltipsShowAfterARestAndTheHiddenCursorReturnsWhereItWas) {
  mPlug = std::make_unique<RecordingPlug>(kAPIVST2);
  mGui = MakeEditor(mPlug.get(), 1.0);
  mGui->GetControl(1)->SetTooltip("Input gain");
  mGui->EnableTooltips(true);
  ASSERT_NE(mGui->OpenWindow(reinterpret_cast<void*>(static_cast<uintptr_t>(mParent))), nullptr);
  Drive([&](XDriver& x) {
    int rx, ry;
    ToRoot(59, 237, &rx, &ry);
    x.Move(rx, ry);
    IRECT tip;
    ASSERT_NE(x.WaitForPopup(kClass, 3000, &tip), 0u);
    EXPECT_GT(tip.T, ry);
    ToRoot(300, 20, &rx, &ry); // over a control without one
    x.Move(rx, ry);
    EXPECT_TRUE(x.PopupGone(kClass, 2000));
  });
  int rx, ry;
  ToRoot(59, 237, &rx, &ry);
  mX.Move(rx, ry);
  mGui->HideMouseCursor();
  mX.Move(rx + 120, ry - 90);
  mGui->ShowMouseCursor();
  // The warp travels on the editor's own connection: wait for the server.
  int px = -1, py = -1;
  for (int waited = 0; waited < 1000 && (px != rx || py != ry); waited += 10) {
    xcb_query_pointer_reply_t* pointer =
        xcb_query_pointer_reply(mX.Conn(), xcb_query_pointer(mX.Conn(), mParent), nullptr);
    ASSERT_NE(pointer, nullptr);
    px = pointer->root_x, py = pointer->root_y;
    free(pointer);
    XDriver::Pause(10);
  }
  EXPECT_EQ(px, rx);
  EXPECT_EQ(py, ry);
}

TEST_F(XInput, TheTextEntryFiltersWhatIsTypedAndCommitsWithReturnOrCancelsWithEscape) {
  OpenEditor();
  const xcb_window_t window =
      static_cast<xcb_window_t>(reinterpret_cast<uintptr_t>(mGui->GetWindow()));
  int knobX, knobY;
  ToRoot(176, 132, &knobX, &knobY); // the Distort knob's centre
  // A right-click on the knob opens the field; its window is returned.
  auto openField = [&](XDriver& x) {
    x.Move(knobX, knobY);
    x.Click(3);
    const xcb_window_t field = x.WaitForChild(window, 3000);
    XDriver::Pause(30); // the focus follows the map on the editor's connection
    return field;
  };
  Drive([&](XDriver& x) {
    const xcb_window_t field = openField(x);
    ASSERT_NE(field, 0u);
    for (int i = 0; i < 8; ++i) x.Key(kKeysymBackSpace);
    x.Type("7a5"); // the letter is refused
    x.Key(kKeysymLeft);
    x.Type("x.");
    LICE_MemBitmap shot;
    if (x.Screenshot(field, &shot)) SavePng(&shot, "text-entry.png");
    x.Key(kKeysymReturn);
  });
  EXPECT_FALSE(mGui->TextEntryOpen());
  EXPECT_NEAR(mPlug->GetParam(RecordingPlug::kDistort)->Value(), 7.5, 1e-9);

  Drive([&](XDriver& x) {
    ASSERT_NE(openField(x), 0u);
    for (int i = 0; i < 8; ++i) x.Key(kKeysymBackSpace);
    x.Type("42");
    x.Key(kKeysymEscape);
  });
  EXPECT_FALSE(mGui->TextEntryOpen());
  EXPECT_NEAR(mPlug->GetParam(RecordingPlug::kDistort)->Value(), 7.5, 1e-9);

  // Keys the host passes on go to an open field; the wheel abandons it.
  Drive([&](XDriver& x) { ASSERT_NE(openField(x), 0u); });
  ASSERT_TRUE(mGui->TextEntryOpen());
  for (int i = 0; i < 8; ++i) EXPECT_TRUE(mGui->OnHostKeyDown(0, kHostKeyBack, 0));
  EXPECT_TRUE(mGui->OnHostKeyDown(u'3', 0, 0));
  EXPECT_TRUE(mGui->OnHostKeyDown(u'q', 0, 0)); // refused by the field, still the field's
  EXPECT_TRUE(mGui->OnHostKeyDown(0, kHostKeyReturn, 0));
  EXPECT_NEAR(mPlug->GetParam(RecordingPlug::kDistort)->Value(), 3.0, 1e-9);
  Drive([&](XDriver& x) {
    ASSERT_NE(openField(x), 0u);
    x.Type("9");
    x.Click(5);
  });
  EXPECT_FALSE(mGui->TextEntryOpen());
  EXPECT_NEAR(mPlug->GetParam(RecordingPlug::kDistort)->Value(), 3.0 - 0.01 * 99.99, 1e-9);
}

class PathGuard {
public:
  explicit PathGuard(const std::string& path) : mOld(getenv("PATH") ? getenv("PATH") : "") {
    setenv("PATH", path.c_str(), 1);
  }
  ~PathGuard() { setenv("PATH", mOld.c_str(), 1); }

private:
  std::string mOld;
};

std::string TempDir() {
  char pattern[] = "/tmp/grittlebox-dialogs-XXXXXX";
  return mkdtemp(pattern) ? pattern : "/tmp";
}

TEST_F(XInput, MessageBoxesUseTheDialogProgramOrOurOwnWindowAndTheEditorKeepsDrawing) {
  OpenEditor();
  const std::string dir = TempDir();
  // Without a dialog program: our own box, answered with the keyboard.
  {
    PathGuard path(dir);
    std::thread user([&] {
      XDriver x;
      ASSERT_TRUE(x.Connect());
      const xcb_window_t box = x.WaitForPopup(kClass, 3000);
      ASSERT_NE(box, 0u);
      LICE_MemBitmap shot;
      if (x.Screenshot(box, &shot)) SavePng(&shot, "message-box.png");
      XDriver::Pause(200); // a few frames while the box is up
      x.Key(kKeysymRight);
      x.Key(kKeysymReturn);
    });
    mGui->SetControlFromPlug(1, 0.0);
    EXPECT_EQ(mGui->ShowMessageBox("Replace the preset \"Warm\"?", "Grittle", 3), 7);
    user.join();
    IRECT dirty;
    EXPECT_FALSE(mGui->IsDirty(&dirty)); // drawn while the box was up
    // The next box must not be mistaken for this one on its way out.
    ASSERT_TRUE(mX.PopupGone(kClass, 2000));
    std::thread escape([&] {
      XDriver x;
      ASSERT_TRUE(x.Connect());
      ASSERT_NE(x.WaitForPopup(kClass, 3000), 0u);
      x.Key(kKeysymEscape);
    });
    EXPECT_EQ(mGui->ShowMessageBox("Gone?", "", 4), 0);
    escape.join();
  }
  // A dialog program gets its arguments unsplit and answers through its output.
  const std::string script = dir + "/zenity";
  std::ofstream(script) << "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" << dir
                        << "/args\"\nsleep 0.2\necho Cancel\nexit 1\n";
  chmod(script.c_str(), 0755);
  {
    PathGuard path(dir + ":/usr/bin:/bin");
    mGui->SetControlFromPlug(1, 1.0);
    EXPECT_EQ(mGui->ShowMessageBox("it's \"quoted\" $HOME", "Cap", 3), 2);
    IRECT dirty;
    EXPECT_FALSE(mGui->IsDirty(&dirty));
  }
  std::ifstream args(dir + "/args");
  std::string all((std::istreambuf_iterator<char>(args)), std::istreambuf_iterator<char>());
  EXPECT_NE(all.find("--text=it's \"quoted\" $HOME\n"), std::string::npos) << all;
  EXPECT_NE(all.find("--extra-button=Cancel\n"), std::string::npos) << all;

  std::ofstream(script) << "#!/bin/sh\necho /srv/presets/warm.fxp\n";
  {
    PathGuard path(dir + ":/usr/bin:/bin");
    WDL_String file("warm.fxp"), folder("/srv");
    mGui->PromptForFile(&file, kFileSave, &folder, const_cast<char*>("fxp"));
    EXPECT_STREQ(file.Get(), "/srv/presets/warm.fxp");
    EXPECT_STREQ(folder.Get(), "/srv/presets/");
  }
  std::ofstream(script) << "#!/bin/sh\nkill -9 $$\n";
  {
    PathGuard path(dir + ":/usr/bin:/bin");
    WDL_String file("warm.fxp"), folder("/srv");
    mGui->PromptForFile(&file, kFileOpen, &folder, nullptr);
    EXPECT_STREQ(file.Get(), ""); // a program that dies is a cancel
    EXPECT_STREQ(folder.Get(), "/srv");
    EXPECT_EQ(mGui->ShowMessageBox("t", "c", 3), 0);
  }
  EXPECT_FALSE(mGui->PromptForColor(nullptr, nullptr));
}

} // namespace
