// What the processing thread writes while the user-interface thread polls and
// draws: texts never read torn, values never lost. Meant to run under
// ThreadSanitizer as well.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "editor/ITextControl.h"
#include "editor/SharedText.h"
#include "platform/headless/IGraphicsHeadless.h"
#include "tests/editor/editor_fixture.h"
#include "tests/editor/probe_control.h"

namespace {

// Remembers the text of its last draw.
struct ProbeText : ITextControl {
  using ITextControl::ITextControl;
  bool Draw(IGraphics* graphics) override {
    GetTextCopy(mLastDrawn);
    return ITextControl::Draw(graphics);
  }
  char mLastDrawn[SharedText::kCapacity + 1] = {};
};

TEST(SharedText, LongTextsAreCutOnACharacterBoundary) {
  const std::string a63(63, 'a');
  struct Case {
    std::string in;
    size_t kept;
  } cases[] = {{"", 0},
               {"0.00 dB", 7},
               {a63, 63},
               {a63 + "b", 63},
               {std::string(62, 'a') + "\xC3\xA9", 62},            // é would straddle the cut
               {std::string(61, 'a') + "\xC3\xA9" + "x", 63},      // é fits whole
               {std::string(60, 'a') + "\xE2\x82\xAC" + "x", 63}}; // € fits whole
  for (const Case& c : cases) {
    SharedText text(c.in.c_str());
    char out[SharedText::kCapacity + 1];
    EXPECT_EQ(static_cast<size_t>(text.Get(out)), c.kept);
    EXPECT_EQ(std::string(out), c.in.substr(0, c.kept));
    EXPECT_TRUE(text.Equals(c.in.c_str())) << "compares as stored";
    EXPECT_FALSE(text.Set(c.in.c_str())) << "the same text again is no change";
  }
}

TEST(SharedText, AReaderNeverSeesHalfOfOneTextAndHalfOfAnother) {
  // Texts of different lengths and characters: any mix of two is detectable.
  const std::string texts[3] = {std::string(63, 'x'), "12.50 dB", std::string(40, '7')};
  SharedText shared(texts[0].c_str());
  std::atomic<bool> stop{false}, started{false};
  std::thread writer([&] {
    started = true;
    for (int i = 0; !stop.load(std::memory_order_relaxed); ++i) shared.Set(texts[i % 3].c_str());
  });
  while (!started.load()) std::this_thread::yield();
  int torn = 0;
  char out[SharedText::kCapacity + 1];
  for (int i = 0; i < 2000000; ++i) {
    shared.Get(out);
    torn += out != texts[0] && out != texts[1] && out != texts[2];
  }
  stop = true;
  writer.join();
  EXPECT_EQ(torn, 0);
}

TEST(Threads, ValuesAndReadoutsFromTheProcessingThreadAreAlwaysDrawnInTheEnd) {
  RecordingPlug plug;
  IGraphicsHeadless& gui = *new IGraphicsHeadless(&plug, 60, 40);
  ProbeControl* knob = new ProbeControl(&plug, IRECT(0, 0, 30, 30), RecordingPlug::kIn);
  IText style;
  ProbeText* readout = new ProbeText(&plug, IRECT(0, 30, 60, 40), &style, "");
  gui.AttachControl(knob);
  gui.AttachControl(readout);
  plug.AttachGraphics(&gui);

  const int kSteps = 20000;
  std::atomic<bool> done{false};
  std::thread processing([&] {
    char text[32];
    for (int i = 1; i <= kSteps; ++i) {
      gui.SetParameterFromPlug(RecordingPlug::kIn, i / double(kSteps), true);
      snprintf(text, sizeof(text), "%d", i);
      readout->SetTextFromPlug(text);
    }
    done = true;
  });
  int polls = 0;
  while (!done.load()) polls += gui.Poll();
  processing.join();
  // Whatever the interleaving, a pass that ran while the last value or text
  // arrived left the control dirty: polling until clean ends with both drawn.
  while (gui.Poll()) ++polls;
  EXPECT_EQ(knob->mLastDrawn, 1.0);
  EXPECT_STREQ(readout->mLastDrawn, std::to_string(kSteps).c_str());
  EXPECT_GT(polls, 0);
}

} // namespace
