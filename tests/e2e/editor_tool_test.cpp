// grittlebox-editor: its options, and its snapshot of the bundle's editor,
// which is what the headless host draws.
#include <cstdio>
#include <memory>
#include <unistd.h>

#include "lice/lice_png.h"
#include "tests/e2e/editor_host.h"
#include "tools/common/ToolFiles.h"
#include "tools/editor/EditorOptions.h"
#include "tools/editor/EditorSession.h"

namespace e2e {
namespace {

TEST(EditorToolOptions, AcceptWhatTheToolTakesAndRefuseTheRest) {
  const struct {
    std::vector<const char*> args;
    bool ok;
    double scale;
    const char* snapshot;
  } cases[] = {
      {{}, true, 1.0, ""},
      {{"--scale", "1.5", "--snapshot", "a.png"}, true, 1.5, "a.png"},
      {{"--scale", "8"}, true, 8.0, ""},
      {{"--scale", "0.5"}, false, 1.0, ""},
      {{"--scale", "9"}, false, 1.0, ""},
      {{"--scale", "2x"}, false, 1.0, ""},
      {{"--scale", "nan"}, false, 1.0, ""},
      {{"--scale"}, false, 1.0, ""},
      {{"--snapshot"}, false, 1.0, ""},
      {{"--save-state", ""}, false, 1.0, ""},
      {{"--frobnicate"}, false, 1.0, ""},
  };
  for (const auto& c : cases) {
    std::vector<const char*> argv = {"grittlebox-editor"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    EditorOptions options;
    std::string error;
    const bool ok =
        ParseEditorOptions(static_cast<int>(argv.size()), argv.data(), &options, &error);
    const std::string line = argv.size() > 1 ? argv[1] : "(none)";
    EXPECT_EQ(ok, c.ok) << line;
    EXPECT_EQ(error.empty(), c.ok) << line;
    if (!ok) continue;
    EXPECT_EQ(options.scale, c.scale) << line;
    EXPECT_EQ(options.snapshot, c.snapshot) << line;
  }
}

using EditorTool = EditorHostTest;

TEST_F(EditorTool, SnapshotsShowTheEditorAsDrawnAndTheStateIsSavedOnExit) {
  for (double scale : {1.0, 2.0}) {
    char folder[] = "/tmp/grittlebox-tool-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    EditorOptions options;
    options.bundle = BundlePath();
    options.scale = scale;
    options.snapshot = std::string(folder) + "/shot.png";
    options.saveState = std::string(folder) + "/saved.state";
    const int stop = 0;
    EXPECT_EQ(RunEditorSession(options, &stop), 0);
    std::unique_ptr<LICE_IBitmap> shot(LICE_LoadPNG(options.snapshot.c_str()));
    ASSERT_NE(shot, nullptr);
    LICE_MemBitmap expected;
    HeadlessDrawing(scale, nullptr, &expected);
    EXPECT_EQ(shot->getWidth(), expected.getWidth());
    EXPECT_EQ(shot->getHeight(), expected.getHeight());
    int differing = 0;
    for (int y = 0; y < shot->getHeight() && y < expected.getHeight(); ++y)
      for (int x = 0; x < shot->getWidth() && x < expected.getWidth(); ++x)
        if ((LICE_GetPixel(shot.get(), x, y) & 0xffffff00u) !=
            (LICE_GetPixel(&expected, x, y) & 0xffffff00u))
          ++differing;
    EXPECT_EQ(differing, 0) << scale;
    // Three plain values and the bypass flag: 28 bytes.
    std::vector<uint8_t> state;
    ASSERT_TRUE(tools::ReadFile(options.saveState, &state));
    EXPECT_EQ(state.size(), 28u);
    unlink(options.snapshot.c_str());
    unlink(options.saveState.c_str());
    rmdir(folder);
  }
}

} // namespace
} // namespace e2e
