// The Linux host's rules that need no display: key codes, text-entry
// editing, pixel layouts, double clicks, scaled dirty areas,
// dialog programs' arguments and answers, folders, and the poll loop.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include "framework/IParam.h"
#include "platform/linux/ClickTracker.h"
#include "platform/linux/PixelFormat.h"
#include "platform/linux/PollEventLoop.h"
#include "platform/linux/ScreenWriter.h"
#include "platform/linux/TextEditRules.h"
#include "platform/linux/detail/ExternalDialog.h"
#include "platform/linux/detail/KeyMap.h"
#include "platform/linux/detail/LinuxPaths.h"

namespace {

TEST(LinuxKeys, KeysymsAndHostKeysMapToEditorCodesAndOthersAreDeclined) {
  struct Case {
    uint32_t keysym;
    char16_t character;
    int virtualKey;
    int code;
  } cases[] = {
      {' ', u' ', kHostKeySpace, 0},
      {kKeysymUp, 0, kHostKeyUp, 1},
      {kKeysymDown, 0, kHostKeyDown, 2},
      {kKeysymLeft, 0, kHostKeyLeft, 3},
      {kKeysymRight, 0, kHostKeyRight, 4},
      {'0', u'0', 0, 5},
      {'9', u'9', 0, 14},
      {0xffb7 /* keypad 7 */, u'7', 0, 12},
      {'A', u'A', 0, 15},
      {'q', u'q', 0, 31},
      {'Q', u'Q', 0, 31},
      {'z', u'z', 0, 40},
      {'.', u'.', 0, kNoEditorKey},
      {kKeysymReturn, 0, kHostKeyReturn, kNoEditorKey},
      {kKeysymEscape, 0, kHostKeyEscape, kNoEditorKey},
      {0xe9 /* e acute */, u'\xe9', 0, kNoEditorKey},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EditorKeyFromKeysym(c.keysym), c.code) << std::hex << c.keysym;
    EXPECT_EQ(EditorKeyFromHostKey(c.character, c.virtualKey), c.code) << std::hex << c.keysym;
  }
  // A virtual key decides even when the character would map: F1 with 'a'.
  EXPECT_EQ(EditorKeyFromHostKey(u'a', 40), kNoEditorKey);
  // Host keys reach the text field as the same keysyms as our own window's.
  EXPECT_EQ(KeysymFromHostKey(0, kHostKeyBack), kKeysymBackSpace);
  EXPECT_EQ(KeysymFromHostKey(0, kHostKeyEnter), kKeysymReturn);
  EXPECT_EQ(KeysymFromHostKey(u'5', 0), uint32_t('5'));
  EXPECT_EQ(KeysymFromHostKey(u'\xe9', 0), 0u);
  EXPECT_EQ(CharFromKeysym(0xffae), '.');
  EXPECT_EQ(CharFromKeysym(kKeysymLeft), 0);
}

TEST(LinuxTextEntry, CharactersAreFilteredByParameterKind) {
  struct Case {
    bool hasParam;
    int kind;
    const char* allowed;
    const char* refused;
  } cases[] = {
      {true, IParam::kTypeDouble, "0123456789.-+", "aZ ,e"},
      {true, IParam::kTypeInt, "0123456789-+", ".a "},
      {true, IParam::kTypeBool, "0123456789-+", ".x"},
      {true, IParam::kTypeEnum, "0123456789-+", ".x"},
      {true, IParam::kTypeNone, "", "0a.-"},
      {false, 0, "aZ 0.~", "\t\n\x7f"},
  };
  for (const Case& c : cases) {
    const EntryCharset set = CharsetFor(c.hasParam, c.kind);
    for (const char* a = c.allowed; *a; ++a) EXPECT_TRUE(CharsetAllows(set, *a)) << c.kind << *a;
    for (const char* r = c.refused; *r; ++r) EXPECT_FALSE(CharsetAllows(set, *r)) << c.kind << *r;
  }
}

TEST(LinuxTextEntry, EditsAtTheCaretWithinTheLength) {
  TextEditBuffer b("12", EntryCharset::kNumber, 7);
  EXPECT_EQ(b.Caret(), 2);
  EXPECT_FALSE(b.Insert('x'));
  b.Home();
  EXPECT_TRUE(b.Insert('-'));
  b.End();
  for (char c : std::string(".5678")) b.Insert(c);
  EXPECT_EQ(b.Text(), "-12.567"); // the eighth character is refused
  EXPECT_FALSE(b.Insert('9'));
  b.Left();
  b.Left();
  EXPECT_TRUE(b.Backspace());
  EXPECT_TRUE(b.Delete());
  EXPECT_EQ(b.Text(), "-12.7");
  EXPECT_EQ(b.Caret(), 4);
  b.Home();
  EXPECT_FALSE(b.Backspace());
  b.Left();
  EXPECT_EQ(b.Caret(), 0);
  b.End();
  EXPECT_FALSE(b.Delete());
  b.Right();
  EXPECT_EQ(b.Caret(), 5);
  // An initial text over the limit stays whole; only typing is refused.
  TextEditBuffer longer("123456789", EntryCharset::kInteger, 7);
  EXPECT_EQ(longer.Text(), "123456789");
  EXPECT_FALSE(longer.Insert('1'));
  TextEditBuffer unlimited("", EntryCharset::kAnyPrintable, 0);
  for (int i = 0; i < 50; ++i) unlimited.Insert('a');
  EXPECT_EQ(unlimited.Text().size(), 50u);
}

TEST(LinuxPixels, OurWordBecomesEachServerLayout) {
  const LICE_Pixel32 p = LICE_RGBA(0x11, 0x22, 0x33, 0x80); // R, G, B, A
  struct Case {
    PixelFormat format;
    uint8_t bytes[4];
  } cases[] = {
      {{24, 32, false, 0xff0000, 0xff00, 0xff}, {0x33, 0x22, 0x11, 0x00}},
      {{24, 32, true, 0xff0000, 0xff00, 0xff}, {0x00, 0x11, 0x22, 0x33}},
      {{32, 32, false, 0xff0000, 0xff00, 0xff}, {0x33, 0x22, 0x11, 0xff}},
      {{32, 32, true, 0xff0000, 0xff00, 0xff}, {0xff, 0x11, 0x22, 0x33}},
      {{24, 32, false, 0xff, 0xff00, 0xff0000}, {0x11, 0x22, 0x33, 0x00}},
      {{32, 32, false, 0xff000000, 0xff0000, 0xff00}, {0xff, 0x33, 0x22, 0x11}},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(PixelFormatSupported(c.format));
    uint8_t out[8] = {};
    const LICE_Pixel32 two[2] = {p, p};
    ConvertPixels(two, 2, out, c.format);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(out[i], c.bytes[i % 4]) << c.format.redMask << " " << i;
  }
  const PixelFormat refused[] = {{16, 16, false, 0xf800, 0x7e0, 0x1f},
                                 {24, 24, false, 0xff0000, 0xff00, 0xff},
                                 {30, 32, false, 0x3ff00000, 0xffc00, 0x3ff},
                                 {24, 32, false, 0xff0000, 0xff0000, 0xff}};
  for (const PixelFormat& f : refused) EXPECT_FALSE(PixelFormatSupported(f)) << f.depth;
}

TEST(LinuxScreen, BandsStayUnderTheRequestLimitAndScaledAreasCoverTheFilter) {
  EXPECT_EQ(ScreenWriter::RowsPerBand(350, 262140), 187); // a 350 x 288 frame takes two
  EXPECT_EQ(ScreenWriter::RowsPerBand(100000, 262140), 1);
  EXPECT_EQ(ScaledDirtyRect(IRECT(10, 20, 30, 40), 1.5, 525, 432), IRECT(13, 28, 47, 62));
  EXPECT_EQ(ScaledDirtyRect(IRECT(0, 0, 350, 288), 2.0, 700, 576), IRECT(0, 0, 700, 576));
  EXPECT_TRUE(ScaledDirtyRect(IRECT(400, 0, 500, 10), 2.0, 700, 576).Empty());
  EXPECT_EQ(ScaledDirtyRect(IRECT(-2147483647, 0, 2147483647, 5), 2.0, 700, 576),
            IRECT(0, 0, 700, 12));
}

TEST(LinuxScreen, ScalingIsBilinearHeldAtTheEdgesAndEveryPartMatchesTheWhole) {
  LICE_MemBitmap ramp(2, 1);
  ramp.getBits()[0] = LICE_RGBA(0, 0, 0, 0);
  ramp.getBits()[1] = LICE_RGBA(255, 255, 255, 0);
  LICE_MemBitmap out;
  ScaleForWindow(&ramp, 2.0, IRECT(0, 0, 4, 2), &out);
  const int reds[4] = {0, 64, 191, 255};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(LICE_GETR(LICE_GetPixel(&out, x, y)), reds[x]) << x;
      EXPECT_EQ(LICE_GETA(LICE_GetPixel(&out, x, y)), 255);
    }
  LICE_MemBitmap noise(7, 5);
  uint32_t seed = 12345;
  for (int i = 0; i < 7 * 5; ++i) noise.getBits()[i] = seed = seed * 1664525u + 1013904223u;
  for (double s : {1.5, 2.0, 3.25}) {
    const int w = static_cast<int>(7 * s), h = static_cast<int>(5 * s);
    LICE_MemBitmap whole, part;
    ScaleForWindow(&noise, s, IRECT(0, 0, w, h), &whole);
    const IRECT r(3, 2, w - 1, h - 3);
    ScaleForWindow(&noise, s, r, &part);
    for (int y = r.T; y < r.B; ++y)
      for (int x = r.L; x < r.R; ++x)
        ASSERT_EQ(LICE_GetPixel(&part, x - r.L, y - r.T), LICE_GetPixel(&whole, x, y)) << s;
  }
}

TEST(LinuxClicks, ASecondPressSoonAndCloseIsADoubleClick) {
  struct Case {
    uint32_t dt;
    int dx, dy;
    bool isDouble;
  } cases[] = {{100, 0, 0, true},
               {400, 4, -4, true},
               {401, 0, 0, false},
               {10, 5, 0, false},
               {10, 0, -5, false}};
  for (const Case& c : cases) {
    ClickTracker clicks;
    EXPECT_FALSE(clicks.Press(0xfffffff0u, 50, 50)); // across the clock's wrap
    EXPECT_EQ(clicks.Press(0xfffffff0u + c.dt, 50 + c.dx, 50 + c.dy), c.isDouble) << c.dt;
  }
  ClickTracker triple;
  triple.Press(0, 0, 0);
  EXPECT_TRUE(triple.Press(100, 0, 0));
  EXPECT_FALSE(triple.Press(200, 0, 0)); // starts afresh
}

TEST(LinuxDialogs, ArgumentsAndAnswersOfTheDialogPrograms) {
  const DialogProgram zenity{DialogTool::kZenity, "/usr/bin/zenity"};
  const DialogProgram kdialog{DialogTool::kKDialog, "/usr/bin/kdialog"};
  using V = std::vector<std::string>;
  EXPECT_EQ(MessageBoxArgv(zenity, "-rf /", "Save?", 3),
            (V{"/usr/bin/zenity", "--question", "--no-markup", "--title=Save?", "--text= -rf /",
               "--ok-label=Yes", "--cancel-label=No", "--extra-button=Cancel"}));
  EXPECT_EQ(MessageBoxArgv(zenity, "t", "c", 0),
            (V{"/usr/bin/zenity", "--info", "--no-markup", "--title=c", "--text=t"}));
  EXPECT_EQ(MessageBoxArgv(kdialog, "t", "c", 1),
            (V{"/usr/bin/kdialog", "--title", "c", "--yesno", "t", "--yes-label", "OK",
               "--no-label", "Cancel"}));
  struct Answer {
    DialogTool tool;
    int type;
    bool exited;
    int code;
    const char* output;
    int answer;
  } answers[] = {
      {DialogTool::kZenity, 3, true, 0, "", 1},         {DialogTool::kZenity, 3, true, 1, "", 7},
      {DialogTool::kZenity, 3, true, 1, "Cancel\n", 2}, {DialogTool::kZenity, 4, true, 1, "", 7},
      {DialogTool::kZenity, 0, true, 1, "", 0},         {DialogTool::kZenity, 3, false, 0, "", 0},
      {DialogTool::kZenity, 3, true, 255, "", 0},       {DialogTool::kKDialog, 3, true, 2, "", 2},
      {DialogTool::kKDialog, 4, true, 2, "", 0},        {DialogTool::kKDialog, 1, true, 1, "", 7}};
  for (const Answer& a : answers)
    EXPECT_EQ(MessageBoxAnswer(a.tool, a.type, a.exited, a.code, a.output), a.answer)
        << a.type << " " << a.code;
  EXPECT_EQ(FilePromptArgv(zenity, kFileSave, "/tmp/a.fxp", "fxp  fxb"),
            (V{"/usr/bin/zenity", "--file-selection", "--save", "--confirm-overwrite",
               "--filename=/tmp/a.fxp", "--file-filter=*.fxp *.fxb"}));
  EXPECT_EQ(FilePromptArgv(kdialog, kFileOpen, "", nullptr),
            (V{"/usr/bin/kdialog", "--getopenfilename", "."}));
  EXPECT_EQ(FilePromptAnswer(true, 0, "/home/u/x.fxp\n"), "/home/u/x.fxp");
  EXPECT_EQ(FilePromptAnswer(true, 0, "relative\n"), "");
  EXPECT_EQ(FilePromptAnswer(true, 1, "/home/u/x.fxp\n"), "");
  EXPECT_EQ(FilePromptAnswer(false, 0, "/home/u/x.fxp\n"), "");
}

TEST(LinuxPaths, BundleAndDesktopFolders) {
  EXPECT_EQ(FolderHoldingBundle("/usr/lib/vst3/G.vst3/Contents/x86_64-linux/G.so"),
            "/usr/lib/vst3/");
  EXPECT_EQ(FolderHoldingBundle("/opt/build/tests/test_x"), "/opt/build/tests/");
  EXPECT_EQ(FolderHoldingBundle("/a/Contents/x86_64-linux/G.so"), "/a/Contents/x86_64-linux/");
  EXPECT_EQ(FolderHoldingBundle("G.so"), "");
  const char* dirs =
      "# comment\nXDG_MUSIC_DIR=\"$HOME/Music\"\n  XDG_DESKTOP_DIR=\"$HOME/Bureau\"\n";
  EXPECT_EQ(DesktopFromUserDirs(dirs, "/home/u"), "/home/u/Bureau");
  EXPECT_EQ(DesktopFromUserDirs("XDG_DESKTOP_DIR=\"/srv/desk\"", "/home/u"), "/srv/desk");
  EXPECT_EQ(DesktopFromUserDirs("XDG_DESKTOP_DIR=\"desk\"", "/home/u"), "");
  EXPECT_EQ(DesktopFromUserDirs("XDG_MUSIC_DIR=\"$HOME/M\"", "/home/u"), "");
  EXPECT_NE(ModuleFilePath().find("test_platform_linux_rules"), std::string::npos);
}

class CountingTimer : public IEventLoopTimer {
public:
  void OnTimer() override {
    ++mFired;
    if (mRemoveOther) mLoop->RemoveTimer(mRemoveOther);
  }
  int mFired = 0;
  PollEventLoop* mLoop = nullptr;
  IEventLoopTimer* mRemoveOther = nullptr;
};

class PipeReader : public IEventLoopFdHandler {
public:
  void OnFdReady(int fd) override {
    char c;
    while (read(fd, &c, 1) == 1) mRead += c;
  }
  std::string mRead;
};

TEST(LinuxPollLoop, TimersAndDescriptorWatchesRunOnTheLoopThreadUntilRemoved) {
  PollEventLoop loop;
  EXPECT_FALSE(loop.RunOnce(0)); // empty: nothing to wait for
  CountingTimer fast, removed;
  fast.mLoop = &loop;
  fast.mRemoveOther = &removed; // removed from inside a callback of the same pass
  ASSERT_TRUE(loop.AddTimer(&fast, 5));
  EXPECT_FALSE(loop.AddTimer(&fast, 5));
  ASSERT_TRUE(loop.AddTimer(&removed, 5));
  int fds[2];
  ASSERT_EQ(pipe2(fds, O_NONBLOCK), 0);
  PipeReader reader;
  ASSERT_TRUE(loop.AddFdWatch(fds[0], &reader));
  EXPECT_FALSE(loop.AddFdWatch(fds[0], &reader));
  ASSERT_EQ(write(fds[1], "hi", 2), 2);
  EXPECT_TRUE(loop.RunUntil([&] { return fast.mFired >= 4 && reader.mRead == "hi"; }, 2000));
  EXPECT_LE(removed.mFired, 1);
  EXPECT_EQ(loop.TimerCount(), 1);
  loop.RemoveTimer(&fast);
  loop.RemoveFdWatch(&reader);
  EXPECT_EQ(loop.TimerCount() + loop.WatchCount(), 0);
  const int fired = fast.mFired;
  ASSERT_EQ(write(fds[1], "x", 1), 1);
  loop.RunFor(30);
  EXPECT_EQ(fast.mFired, fired);
  EXPECT_EQ(reader.mRead, "hi");
  close(fds[0]);
  close(fds[1]);
}

} // namespace
