#include "tests/e2e/editor_host.h"

#include <atomic>
#include <cmath>
#include <dirent.h>
#include <sys/stat.h>
#include <thread>

#include "editor/IGraphics.h"
#include "effect/Grittlebox.h"
#include "effect/GrittleboxEditor.h"
#include "lice/lice_png.h"
#include "lice/lice_resources.h"
#include "platform/headless/IGraphicsHeadless.h"
#include "platform/linux/ScreenWriter.h"

using namespace Steinberg;
using namespace vst3host;

namespace e2e {

std::string BundlePath() {
  const char* env = getenv("GRITTLEBOX_BUNDLE");
  return env && *env ? env : GRITTLEBOX_BUILT_BUNDLE;
}

std::string BundleResources() {
  return BundlePath() + "/Contents/Resources/";
}

int OpenDescriptors() {
  int n = 0;
  if (DIR* dir = opendir("/proc/self/fd")) {
    while (readdir(dir)) ++n;
    closedir(dir);
  }
  return n;
}

void HeadlessDrawing(double scale, const std::function<void(Grittlebox*)>& prepare,
                     LICE_MemBitmap* out) {
  Grittlebox fx{IPlugInstanceInfo()};
  auto* gui = new IGraphicsHeadless(&fx, grittlebox::kEditorWidth, grittlebox::kEditorHeight, 0,
                                    BundleResources().c_str());
  fx.AttachGraphics(BuildEditor(gui, &fx));
  if (prepare) prepare(&fx);
  IRECT all(0, 0, gui->Width(), gui->Height());
  gui->Draw(&all);
  const int w = static_cast<int>(std::lround(gui->Width() * scale));
  const int h = static_cast<int>(std::lround(gui->Height() * scale));
  out->resize(w, h);
  if (scale == 1.0)
    LICE_Blit(out, gui->GetDrawBitmap(), 0, 0, nullptr, 1.0f, LICE_MODE_COPY);
  else
    ScaleForWindow(gui->GetDrawBitmap(), scale, IRECT(0, 0, w, h), out);
}

bool WaitForFocus(XDriver& x, xcb_window_t window, int timeoutMs) {
  for (int waited = 0; waited <= timeoutMs; waited += 10, XDriver::Pause(10)) {
    xcb_get_input_focus_reply_t* focus =
        xcb_get_input_focus_reply(x.Conn(), xcb_get_input_focus(x.Conn()), nullptr);
    const bool focused = focus && focus->focus == window;
    free(focus);
    if (focused) return true;
  }
  return false;
}

namespace {

class OneShot : public HostObject<Linux::ITimerHandler> {
public:
  OneShot(HostRunLoop* loop, std::function<void()> what) : mLoop(loop), mWhat(std::move(what)) {}
  void PLUGIN_API onTimer() override {
    addRef(); // the loop lets go of us below
    mLoop->unregisterTimer(this);
    if (mWhat) mWhat();
    mWhat = nullptr;
    release();
  }

private:
  HostRunLoop* mLoop;
  std::function<void()> mWhat;
};

} // namespace

void RunFromLoop(HostRunLoop* loop, std::function<void()> what) {
  auto* shot = new OneShot(loop, std::move(what));
  loop->registerTimer(shot, 1);
  shot->release(); // the loop holds it until it has run
}

void EditorHostTest::SetUp() {
  if (!mX.Connect()) GTEST_SKIP() << "no X display with XTEST (the X tests run under xvfb-run)";
  mParent = mX.MakeWindow(kParentX, kParentY, 760, 640);
  mX.Move(1000, 760); // away from the editor
  // Effects made in this process find the bundle's PNG files as the bundle does.
  LICE_SetResourceFolderOverride(BundleResources().c_str());
  mLoop = new HostRunLoop();
  mRecorder = new EditRecorder();
}

void EditorHostTest::TearDown() {
  CloseEditor();
  if (mController) mController->setComponentHandler(nullptr);
  mPlugin.reset();
  if (mRecorder) mRecorder->release();
  if (mLoop) mLoop->release();
  if (mParent) mX.Destroy(mParent);
  LICE_SetResourceFolderOverride(nullptr);
}

void EditorHostTest::LoadEffect() {
  mPlugin = std::make_unique<HostedPlugin>("Grittlebox Editor Test Host");
  ASSERT_TRUE(mPlugin->Load(BundlePath()) && mPlugin->Start(2, 44100.0, 512, true))
      << mPlugin->Error();
  mController = mPlugin->Controller();
  mController->setComponentHandler(mRecorder);
}

void EditorHostTest::OpenEditor(double scale) {
  mScale = scale;
  mEditor = std::make_unique<HostedEditor>(mController, mLoop);
  ASSERT_TRUE(mEditor->Create(scale)) << mEditor->Error();
  ASSERT_TRUE(mEditor->Attach(mParent)) << mEditor->Error();
  const xcb_window_t window = EditorWindow();
  ASSERT_NE(window, 0u);
  // The test's own connection may otherwise send pointer events before the
  // server has handled the editor's map request.
  ASSERT_TRUE(mLoop->RunUntil([&] { return mX.Viewable(window); }, 5000))
      << "the editor's window was never shown";
  mLoop->RunFor(150); // the first exposure answered
}

void EditorHostTest::CloseEditor() {
  mEditor.reset();
}

xcb_window_t EditorHostTest::EditorWindow(int timeoutMs) {
  return mX.WaitForChild(mParent, timeoutMs);
}

void EditorHostTest::Drive(const std::function<void(XDriver&)>& script, int timeoutMs) {
  std::atomic<bool> done{false};
  std::thread driver([&] {
    XDriver x;
    if (x.Connect()) script(x);
    done = true;
  });
  const bool finished = mLoop->RunUntil([&] { return done.load(); }, timeoutMs);
  if (!finished) mLoop->RunUntil([&] { return done.load(); }, 60000);
  driver.join();
  mLoop->RunFor(100); // what the last events caused is on screen
  EXPECT_TRUE(finished) << "the script did not finish in time";
}

int EditorHostTest::RootX(int x) const {
  return kParentX + static_cast<int>(x * mScale);
}

int EditorHostTest::RootY(int y) const {
  return kParentY + static_cast<int>(y * mScale);
}

void EditorHostTest::SaveShot(LICE_IBitmap* bitmap, const char* name) {
  mkdir(E2E_SHOT_DIR, 0755);
  LICE_WritePNG((std::string(E2E_SHOT_DIR) + "/" + name).c_str(), bitmap, false);
}

namespace {

// How many pixels of the shot differ in colour from the picture (the window
// is opaque whatever the drawing's alpha), and where the first one is.
int DifferingPixels(LICE_IBitmap* shot, LICE_IBitmap* expected, int* firstX, int* firstY) {
  int differing = 0;
  for (int y = 0; y < shot->getHeight(); ++y)
    for (int x = 0; x < shot->getWidth(); ++x) {
      const LICE_Pixel32 a = LICE_GetPixel(shot, x, y), b = LICE_GetPixel(expected, x, y);
      if ((a & 0xffffff00u) != (b & 0xffffff00u) && differing++ == 0) *firstX = x, *firstY = y;
    }
  return differing;
}

} // namespace

// A slow machine (or a sanitizer) may not have drawn everything yet: the
// window gets a few seconds of its run loop to come to the picture.
::testing::AssertionResult EditorHostTest::ShowsPicture(LICE_IBitmap* expected, const char* name) {
  LICE_MemBitmap shot;
  int differing = 0, firstX = -1, firstY = -1;
  for (int waited = 0;; waited += 50) {
    if (!mX.Screenshot(EditorWindow(), &shot))
      return ::testing::AssertionFailure() << "no screenshot of the editor window";
    if (shot.getWidth() != expected->getWidth() || shot.getHeight() != expected->getHeight())
      return ::testing::AssertionFailure()
             << "window " << shot.getWidth() << " x " << shot.getHeight() << ", picture "
             << expected->getWidth() << " x " << expected->getHeight();
    differing = DifferingPixels(&shot, expected, &firstX, &firstY);
    if (!differing || waited >= 3000) break;
    mLoop->RunFor(50);
  }
  if (name) SaveShot(&shot, name);
  if (differing)
    return ::testing::AssertionFailure()
           << differing << " pixels differ, the first at " << firstX << ", " << firstY;
  return ::testing::AssertionSuccess();
}

} // namespace e2e
