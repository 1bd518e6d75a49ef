// The effect's editor from the built bundle in a real parent window: what
// it shows at each content scale, and what real pointer and key events make
// the host receive.
#include <climits>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "effect/Grittlebox.h"
#include "effect/detail/ProductLink.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"
#include "tests/e2e/editor_host.h"

using namespace Steinberg;
using vst3host::EditRecorder;

namespace e2e {
namespace {

using EditorInHost = EditorHostTest;

const Vst::ParamID kIn = 0, kOut = 1, kDistort = 2;
// The knobs' centres and heights, editor pixels.
const int kDistortX = 176, kDistortY = 132, kDistortH = 128;
const int kInX = 59, kInY = 237, kOutX = 284, kOutY = 237;
const double kDistortDefault = (50.0 - 0.01) / 99.99;

std::string Trail(const std::vector<EditRecorder::Record>& records) {
  std::string trail;
  for (const EditRecorder::Record& r : records)
    trail += (trail.empty() ? "" : " ") + std::string(1, r.kind) + std::to_string(r.id);
  return trail;
}

// Sets a value in the headless drawing as a change from the host would.
std::function<void(Grittlebox*)> WithValue(int param, double normalized) {
  return [=](Grittlebox* fx) {
    fx->GetGUI()->SetParameterFromPlug(param, normalized, true);
    fx->SetParameterFromGUI(param, normalized);
  };
}

TEST_F(EditorInHost, ShowsTheHeadlessDrawingPixelForPixelAtEveryScale) {
  LoadEffect();
  for (double scale : {1.0, 1.5, 2.0}) {
    OpenEditor(scale);
    const int w = static_cast<int>(std::lround(350 * scale));
    const int h = static_cast<int>(std::lround(288 * scale));
    int viewW = 0, viewH = 0;
    ASSERT_TRUE(mEditor->Size(&viewW, &viewH));
    EXPECT_EQ(viewW, w);
    EXPECT_EQ(viewH, h);
    IRECT window;
    ASSERT_TRUE(mX.Geometry(EditorWindow(), &window));
    EXPECT_EQ(window.W(), w);
    EXPECT_EQ(window.H(), h);
    LICE_MemBitmap expected;
    HeadlessDrawing(scale, nullptr, &expected);
    const std::string name = "editor-scale-" + std::to_string(scale).substr(0, 3) + ".png";
    EXPECT_TRUE(ShowsPicture(&expected, name.c_str())) << scale;
    CloseEditor();
  }
  // A scale that changes while the editor is open: the host is asked for the
  // new size and the window shows the new blit.
  OpenEditor(1.0);
  IPlugViewContentScaleSupport* scaling = nullptr;
  ASSERT_EQ(mEditor->View()->queryInterface(IPlugViewContentScaleSupport::iid,
                                            reinterpret_cast<void**>(&scaling)),
            kResultOk);
  EXPECT_EQ(scaling->setContentScaleFactor(0.5f), kResultFalse);
  EXPECT_EQ(scaling->setContentScaleFactor(2.0f), kResultOk);
  scaling->release();
  mScale = 2.0;
  mLoop->RunFor(150);
  EXPECT_EQ(mEditor->Frame()->ResizeRequests(), 1);
  EXPECT_EQ(mEditor->Frame()->LastSize().getWidth(), 700);
  EXPECT_EQ(mEditor->Frame()->LastSize().getHeight(), 576);
  LICE_MemBitmap expected;
  HeadlessDrawing(2.0, nullptr, &expected);
  EXPECT_TRUE(ShowsPicture(&expected));
}

TEST_F(EditorInHost, DraggingDistortUpByItsHeightSendsAQuarterOfTheRangeAndTheReadoutFollows) {
  LoadEffect();
  OpenEditor();
  Drive([&](XDriver& x) {
    x.Move(RootX(kDistortX), RootY(kDistortY));
    x.Button(1, true);
    for (int step = 1; step <= 8; ++step)
      x.Move(RootX(kDistortX), RootY(kDistortY - step * kDistortH / 8));
    x.Button(1, false);
  });
  const std::vector<EditRecorder::Record>& records = mRecorder->Records();
  ASSERT_GE(records.size(), 3u);
  EXPECT_EQ(records.front().kind, 'b');
  EXPECT_EQ(records.back().kind, 'e');
  double previous = kDistortDefault;
  for (size_t i = 1; i + 1 < records.size(); ++i) {
    EXPECT_EQ(records[i].kind, 'p');
    EXPECT_EQ(records[i].id, kDistort);
    EXPECT_GT(records[i].value, previous); // every step up raises it
    previous = records[i].value;
  }
  // Gearing 4: one knob height is a quarter of the range.
  const double last = records[records.size() - 2].value;
  EXPECT_NEAR(last, kDistortDefault + 0.25, 1e-12);
  EXPECT_DOUBLE_EQ(mController->getParamNormalized(kDistort), last);
  Vst::String128 text = {};
  ASSERT_EQ(mController->getParamStringByValue(kDistort, last, text), kResultOk);
  // The knob and the readout on screen are the headless drawing of that value.
  LICE_MemBitmap expected;
  HeadlessDrawing(1.0, WithValue(kDistort, last), &expected);
  EXPECT_TRUE(ShowsPicture(&expected, "editor-after-drag.png"));
  EXPECT_LT(mLoop->LongestCallbackMs(), 1000) << "a callback held the host's thread";
}

TEST_F(EditorInHost, WheelDoubleClickRightClickAndKeysReachTheHostAsTheyShould) {
  LoadEffect();
  OpenEditor();
  // One wheel step up over In: a hundredth of the range, no gesture.
  Drive([&](XDriver& x) {
    x.Move(RootX(kInX), RootY(kInY));
    x.Click(4);
  });
  EXPECT_EQ(Trail(mRecorder->Records()), "p0");
  EXPECT_NEAR(mController->getParamNormalized(kIn), 0.51, 1e-12);
  mRecorder->Clear();

  // Distort moved off its default, then a double click brings it back.
  Drive([&](XDriver& x) {
    x.Move(RootX(kDistortX), RootY(kDistortY));
    x.Click(5);
    XDriver::Pause(600);
    x.Click(1);
    x.Click(1);
  });
  EXPECT_EQ(Trail(mRecorder->Records()), "p2 b2 e2 p2 e2");
  EXPECT_DOUBLE_EQ(mRecorder->Records()[3].value, kDistortDefault);
  EXPECT_DOUBLE_EQ(mController->getParamNormalized(kDistort), kDistortDefault);
  mRecorder->Clear();

  // A right click on Out asks the host for its menu at that point; the knob
  // stays. The release still ends a gesture, as every mouse up over a
  // parameter control does.
  Drive([&](XDriver& x) {
    x.Move(RootX(kOutX), RootY(kOutY));
    x.Click(3);
  });
  ASSERT_EQ(Trail(mRecorder->Records()), "m1 e1");
  EXPECT_EQ(mRecorder->Records()[0].x, kOutX);
  EXPECT_EQ(mRecorder->Records()[0].y, kOutY);
  EXPECT_EQ(mRecorder->MenusAlive(), 0);
  EXPECT_DOUBLE_EQ(mController->getParamNormalized(kOut), 0.5);
  mRecorder->Clear();

  // The effect takes no keys: the host gets every one back, and keys typed
  // into the window change nothing.
  IPlugView* view = mEditor->View();
  for (char16 key : {u'a', u' ', u'7'}) {
    EXPECT_EQ(view->onKeyDown(key, 0, 0), kResultFalse) << static_cast<int>(key);
    EXPECT_EQ(view->onKeyUp(key, 0, 0), kResultFalse) << static_cast<int>(key);
  }
  Drive([&](XDriver& x) { x.Type("a 7"); });
  EXPECT_TRUE(mRecorder->Records().empty());
  LICE_MemBitmap expected;
  HeadlessDrawing(1.0, WithValue(kIn, 0.51), &expected);
  EXPECT_TRUE(ShowsPicture(&expected));
}

TEST_F(EditorInHost, TheLinkAreaOpensTheConfiguredPageOrTheBundledManual) {
  LoadEffect();
  OpenEditor();
  // A stand-in for the desktop's opener records what it was asked to open.
  char folder[] = "/tmp/grittlebox-e2e-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string opened = std::string(folder) + "/opened";
  const std::string opener = std::string(folder) + "/xdg-open";
  std::ofstream(opener) << "#!/bin/sh\nprintf '%s' \"$1\" > " << opened << ".part && mv " << opened
                        << ".part " << opened << "\n";
  chmod(opener.c_str(), 0755);
  const std::string path = getenv("PATH") ? getenv("PATH") : "";
  setenv("PATH", (std::string(folder) + ":" + path).c_str(), 1);
  Drive([&](XDriver& x) {
    x.Move(RootX(300), RootY(100));
    x.Click(1);
  });
  struct stat st;
  mLoop->RunUntil([&] { return stat(opened.c_str(), &st) == 0; }, 5000);
  setenv("PATH", path.c_str(), 1);
  std::string address;
  std::getline(std::ifstream(opened), address);
  EXPECT_TRUE(mRecorder->Records().empty()); // the link has no parameter
  if (*GRITTLEBOX_URL) {
    EXPECT_EQ(address, GRITTLEBOX_URL);
  } else {
    char manual[PATH_MAX];
    ASSERT_NE(realpath((BundleResources() + "manual/index.html").c_str(), manual), nullptr);
    EXPECT_EQ(address, grittlebox::FileAddress(manual));
  }
  unlink(opened.c_str());
  unlink(opener.c_str());
  rmdir(folder);
}

} // namespace
} // namespace e2e
