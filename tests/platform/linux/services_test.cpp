// What the Linux host offers without a window: bitmap resources, web
// addresses and folders.
#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

#include "lice/lice.h"
#include "platform/linux/IGraphicsLinux.h"
#include "platform/linux/PollEventLoop.h"
#include "platform/linux/detail/ChildProcess.h"
#include "platform/linux/detail/LinuxPaths.h"
#include "tests/editor/editor_fixture.h"

namespace {

TEST(LinuxServices, BitmapsLoadAsPngByTheirLastPathComponent) {
  RecordingPlug plug;
  IGraphicsLinux gui(&plug, 10, 10);
  gui.SetBitmapFolder(EffectArtDir().c_str());
  struct Case {
    const char* name;
    int width; // 0: not loaded
  } cases[] = {{"resources/img/Knob_In_Frames.png", 60},
               {"Grittlebox_Background.PNG", 0}, // no such file: names are case-sensitive
               {"img/Grittlebox_Background.png", 350},
               {"resources/img/", 0},
               {"Knob_In_Frames", 0},
               {"", 0},
               {nullptr, 0},
               {"resources/img/absent.png", 0}};
  for (const Case& c : cases) {
    LICE_IBitmap* bitmap = gui.OSLoadBitmap(1, c.name);
    EXPECT_EQ(bitmap ? bitmap->getWidth() : 0, c.width) << (c.name ? c.name : "null");
    delete bitmap;
  }
}

TEST(LinuxServices, WebAddressesOpenWithoutAShellAndTheOpenerIsReaped) {
  RecordingPlug plug;
  IGraphicsLinux gui(&plug, 10, 10);
  char pattern[] = "/tmp/grittlebox-opener-XXXXXX";
  const std::string dir = mkdtemp(pattern) ? pattern : "/tmp";
  const char* oldPath = getenv("PATH");
  const std::string saved = oldPath ? oldPath : "";
  setenv("PATH", dir.c_str(), 1);
  EXPECT_FALSE(gui.OpenURL("https://example.org/", nullptr, nullptr, nullptr)); // no opener
  std::ofstream(dir + "/xdg-open") << "#!/bin/sh\nprintf '%s' \"$1\" > \"" << dir << "/opened\"\n";
  chmod((dir + "/xdg-open").c_str(), 0755);
  setenv("PATH", (dir + ":/usr/bin:/bin").c_str(), 1);
  EXPECT_FALSE(gui.OpenURL(nullptr, nullptr, nullptr, nullptr));
  EXPECT_FALSE(gui.OpenURL("--help", nullptr, nullptr, nullptr));
  EXPECT_TRUE(gui.OpenURL("https://example.org/a b;$(rm -rf x)", nullptr, nullptr, nullptr));
  setenv("PATH", saved.c_str(), 1);
  const int64_t end = PollEventLoop::NowMs() + 5000;
  while (ChildrenAwaitingReap() > 0 && PollEventLoop::NowMs() < end) ReapFinishedChildren();
  EXPECT_EQ(ChildrenAwaitingReap(), 0);
  std::ifstream opened(dir + "/opened");
  std::string url((std::istreambuf_iterator<char>(opened)), std::istreambuf_iterator<char>());
  EXPECT_EQ(url, "https://example.org/a b;$(rm -rf x)");
}

TEST(LinuxServices, PathsNameTheModuleItsFolderAndTheUsersFolders) {
  RecordingPlug plug;
  IGraphicsLinux gui(&plug, 10, 10);
  WDL_String host, plugin, config("unchanged"), desktop;
  gui.HostPath(&host);
  gui.PluginPath(&plugin);
  EXPECT_EQ(std::string(host.Get()), ModuleFilePath());
  EXPECT_EQ(std::string(plugin.Get()), FolderHoldingBundle(ModuleFilePath()));
  const std::string home = getenv("HOME") ? getenv("HOME") : "";
  setenv("XDG_CONFIG_HOME", "/srv/config", 1);
  gui.AppSupportPath(&config);
  EXPECT_STREQ(config.Get(), "/srv/config");
  setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
  setenv("HOME", "/home/someone", 1);
  gui.AppSupportPath(&config);
  EXPECT_STREQ(config.Get(), "/home/someone/.config");
  gui.DesktopPath(&desktop);
  EXPECT_STREQ(desktop.Get(), "/home/someone/Desktop");
  unsetenv("XDG_CONFIG_HOME");
  setenv("HOME", home.c_str(), 1);
  // Closed: nothing to ask the user with.
  EXPECT_EQ(gui.ShowMessageBox("t", "c", 0), 0);
  WDL_String file("name.fxp");
  gui.PromptForFile(&file, kFileOpen, nullptr, nullptr);
  EXPECT_STREQ(file.Get(), "");
  EXPECT_EQ(gui.CreateIPopupMenu(nullptr, nullptr), nullptr);
  EXPECT_FALSE(gui.OnHostKeyDown(u'q', 0, 0));
}

} // namespace
