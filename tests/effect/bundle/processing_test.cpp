// Processing as hosts drive it: setups, sample sizes, block sizes, parameter
// queues, bypass, missing buffers, threads and the state changes around it.
#include <atomic>
#include <cmath>
#include <limits>
#include <thread>

#include "ConformanceHost.h"

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace conformance;
using namespace vst3host;

namespace {

double Ramp(int channel, int frame) {
  return std::sin(0.05 * frame + channel) * (1.5 - 0.001 * frame);
}

class ProcessingTest : public EffectTest {
protected:
  // Sets In, Out and Distort by normalized values through the queue of one block.
  void SetParams(double in, double out, double distort) {
    ParameterChangeSet changes;
    changes.Add(kIn, in);
    changes.Add(kOut, out);
    changes.Add(kDistort, distort);
    ASSERT_EQ(kResultOk, SendChanges(&changes));
    inDB = PlainFromNormalized(kIn, in);
    outDB = PlainFromNormalized(kOut, out);
    distort_ = PlainFromNormalized(kDistort, distort);
  }
  void ExpectFormula(const Block& block, int channels = 2) {
    for (int c = 0; c < channels; ++c)
      for (int s = 0; s < block.frames; ++s) {
        const double expected = ClipReference(block.In(c, s), inDB, outDB, distort_);
        if (block.use64)
          ASSERT_DOUBLE_EQ(expected, block.Out(c, s)) << "channel " << c << " frame " << s;
        else
          ASSERT_FLOAT_EQ(static_cast<float>(expected), static_cast<float>(block.Out(c, s)))
              << "channel " << c << " frame " << s;
      }
  }
  double inDB = 0.0, outDB = 0.0, distort_ = 50.0;
};

} // namespace

TEST_F(ProcessingTest, BlocksFollowTheFormulaIn64And32Bits) {
  for (bool use64 : {true, false}) {
    StartProcessing(48000.0, 256, use64);
    SetParams(0.6, 0.45, 0.3);
    Block block(2, 2, 256, use64);
    block.FillInput(Ramp);
    ASSERT_EQ(kResultOk, Run(block));
    ExpectFormula(block);
    StopProcessing();
  }
}

TEST_F(ProcessingTest, InputsAreNeverWritten) {
  for (bool use64 : {true, false}) {
    StartProcessing(44100.0, 64, use64);
    SetParams(0.9, 0.5, 0.5);
    Block block(2, 2, 64, use64);
    block.FillInput(Ramp);
    const Block before = block;
    ASSERT_EQ(kResultOk, Run(block));
    for (int c = 0; c < 2; ++c)
      for (int s = 0; s < 64; ++s) ASSERT_EQ(before.In(c, s), block.In(c, s));
    StopProcessing();
  }
}

TEST_F(ProcessingTest, VariableBlocksUpToTheMaximumAndBeyondIt) {
  for (bool use64 : {true, false}) {
    StartProcessing(44100.0, 100, use64);
    SetParams(0.55, 0.5, 0.2);
    for (int frames : {1, 2, 17, 99, 100, 37, 250, 1000, 3}) {
      Block block(2, 2, frames, use64);
      block.FillInput(Ramp);
      ASSERT_EQ(kResultOk, Run(block));
      ExpectFormula(block);
    }
    StopProcessing();
  }
}

TEST_F(ProcessingTest, SetupAcceptsSampleRatesAndBlockSizesHostsUse) {
  ASSERT_EQ(kResultOk, component->initialize(context));
  initialized = true;
  ActivateMainBuses();
  for (double rate : {1000.0, 8000.0, 44100.0, 96000.0, 384000.0, 1200000.0})
    for (int maxBlock : {1, 2, 64, 1024, 8192}) {
      ProcessSetup setup = Setup(rate, maxBlock, maxBlock % 2 == 0);
      ASSERT_EQ(kResultOk, processor->setupProcessing(setup)) << rate << " " << maxBlock;
      ASSERT_EQ(kResultOk, component->setActive(true));
      Block block(2, 2, maxBlock, maxBlock % 2 == 0);
      block.FillInput(Ramp);
      ASSERT_EQ(kResultOk, Run(block));
      ASSERT_EQ(kResultOk, component->setActive(false));
    }
}

TEST_F(ProcessingTest, SetupRefusesWhatCannotBeProcessedAndKeepsTheOldSetup) {
  StartProcessing(48000.0, 32, true);
  SetParams(0.5, 0.5, 0.5);
  const ProcessSetup bad[] = {{kRealtime, 2, 32, 48000.0},
                              {kRealtime, -1, 32, 48000.0},
                              {kRealtime, kSample64, 0, 48000.0},
                              {kRealtime, kSample64, -8, 48000.0},
                              {kRealtime, kSample32, 32, 0.0},
                              {kRealtime, kSample32, 32, -44100.0},
                              {kRealtime, kSample32, 32, std::numeric_limits<double>::quiet_NaN()},
                              {kRealtime, kSample32, 32, std::numeric_limits<double>::infinity()}};
  for (ProcessSetup setup : bad) EXPECT_EQ(kResultFalse, processor->setupProcessing(setup));
  EXPECT_EQ(kResultOk, processor->canProcessSampleSize(kSample32));
  EXPECT_EQ(kResultOk, processor->canProcessSampleSize(kSample64));
  EXPECT_EQ(kResultFalse, processor->canProcessSampleSize(2));
  EXPECT_EQ(kResultFalse, processor->canProcessSampleSize(-1));
  Block block(2, 2, 32, true);
  block.FillInput(Ramp);
  ASSERT_EQ(kResultOk, Run(block));
  ExpectFormula(block);
}

TEST_F(ProcessingTest, ZeroSamplesWithoutBuffersStillDeliverParameterChanges) {
  StartProcessing();
  ParameterChangeSet changes;
  changes.Add(kIn, 0.75);
  ASSERT_EQ(kResultOk, SendChanges(&changes));
  EXPECT_DOUBLE_EQ(0.75, controller->getParamNormalized(kIn));
  ProcessData empty; // no buffers, no changes, no context at all
  EXPECT_EQ(kResultOk, processor->process(empty));
}

TEST_F(ProcessingTest, MissingBusesAndChannelsCountAsDisconnected) {
  for (bool use64 : {true, false}) {
    StartProcessing(44100.0, 64, use64);
    SetParams(0.5, 0.5, 0.5);
    Block block(2, 2, 64, use64);
    block.FillInput(Ramp);
    ProcessData data = block.Data();
    data.numInputs = 0; // no input bus: silence in, silence out
    data.inputs = nullptr;
    ASSERT_EQ(kResultOk, processor->process(data));
    for (int s = 0; s < 64; ++s) ASSERT_EQ(0.0, block.Out(1, s));

    block.inBus.channelBuffers64 = nullptr; // a bus without channel lists
    block.inBus.channelBuffers32 = nullptr;
    data = block.Data();
    ASSERT_EQ(kResultOk, processor->process(data));
    for (int s = 0; s < 64; ++s) ASSERT_EQ(0.0, block.Out(0, s));

    Block partial(2, 2, 64, use64); // one null channel among real ones
    partial.FillInput(Ramp);
    if (use64)
      partial.inPtr64[1] = nullptr;
    else
      partial.inPtr32[1] = nullptr;
    if (use64)
      partial.outPtr64[0] = nullptr;
    else
      partial.outPtr32[0] = nullptr;
    ASSERT_EQ(kResultOk, Run(partial));
    for (int s = 0; s < 64; ++s) ASSERT_EQ(0.0, partial.Out(1, s));

    data = block.Data();
    data.outputs = nullptr; // nowhere to write: nothing is written
    data.numOutputs = 1;
    ASSERT_EQ(kResultOk, processor->process(data));
    StopProcessing();
  }
}

TEST_F(ProcessingTest, ProcessingBeforeAnySetupIsSafeAndSilent) {
  ASSERT_EQ(kResultOk, component->initialize(context));
  initialized = true;
  for (bool use64 : {true, false}) {
    Block block(2, 2, 300, use64);
    block.FillInput(Ramp);
    ASSERT_EQ(kResultOk, Run(block));
    for (int s = 0; s < 300; ++s) ASSERT_EQ(0.0, block.Out(0, s));
  }
}

TEST_F(ProcessingTest, AnUnknownSampleSizeInTheDataIsRefusedUntouched) {
  StartProcessing();
  Block block(2, 2, 16, true);
  block.FillInput(Ramp);
  block.out64[0].assign(16, 7.0);
  ProcessData data = block.Data();
  data.symbolicSampleSize = 5;
  EXPECT_NE(kResultOk, processor->process(data));
  EXPECT_EQ(7.0, block.Out(0, 15));
}

TEST_F(ProcessingTest, TheDataSaysWhichSampleSizeItCarries) {
  StartProcessing(44100.0, 64, false); // set up for 32 bits, then handed 64
  SetParams(0.5, 0.5, 0.5);
  Block block(2, 2, 64, true);
  block.FillInput(Ramp);
  ASSERT_EQ(kResultOk, Run(block));
  ExpectFormula(block);
}

TEST_F(ProcessingTest, ProcessingFromAnotherThreadThanTheSetup) {
  StartProcessing(44100.0, 128, true);
  SetParams(0.7, 0.4, 0.6);
  Block block(2, 2, 128, true);
  block.FillInput(Ramp);
  tresult result = kResultFalse;
  std::thread audio([&] { result = Run(block); });
  audio.join();
  ASSERT_EQ(kResultOk, result);
  ExpectFormula(block);
}

TEST_F(ProcessingTest, TheLastPointOfAQueueWins) {
  StartProcessing(44100.0, 64, true);
  SetParams(0.5, 0.5, 0.5);
  ParameterChangeSet changes;
  changes.Add(kIn, 0.1, 0);
  changes.Add(kIn, 0.9, 10);
  changes.Add(kIn, 0.625, 40);
  Block block(2, 2, 64, true);
  block.FillInput(Ramp);
  ASSERT_EQ(kResultOk, Run(block, &changes));
  inDB = PlainFromNormalized(kIn, 0.625);
  ExpectFormula(block);
  EXPECT_DOUBLE_EQ(0.625, controller->getParamNormalized(kIn));
}

TEST_F(ProcessingTest, UnknownIdsEmptyQueuesAndNonFiniteValuesAreSkipped) {
  StartProcessing();
  SetParams(0.25, 0.5, 0.5);
  ParameterChangeSet changes;
  changes.Add(77, 0.5);
  changes.Add(kOut, std::numeric_limits<double>::quiet_NaN());
  int32 index = 0;
  changes.addParameterData(kDistort, index); // a queue with no point
  ASSERT_EQ(kResultOk, SendChanges(&changes));
  EXPECT_DOUBLE_EQ(0.5, controller->getParamNormalized(kOut));
  EXPECT_DOUBLE_EQ(0.5, controller->getParamNormalized(kDistort));
  EXPECT_DOUBLE_EQ(0.25, controller->getParamNormalized(kIn));
}

TEST_F(ProcessingTest, BypassThroughTheQueuePassesTheSameBlockThrough) {
  StartProcessing(44100.0, 64, true);
  SetParams(0.9, 0.9, 0.7);
  for (bool use64 : {true, false}) {
    ParameterChangeSet changes;
    changes.Add(kBypass, 0.51);
    Block block(2, 2, 64, use64);
    block.FillInput(Ramp);
    ASSERT_EQ(kResultOk, Run(block, &changes));
    for (int c = 0; c < 2; ++c)
      for (int s = 0; s < 64; ++s) ASSERT_EQ(block.In(c, s), block.Out(c, s));
    EXPECT_EQ(1.0, controller->getParamNormalized(kBypass));
  }
  ParameterChangeSet off;
  off.Add(kBypass, 0.5); // exactly one half is not bypassed
  Block block(2, 2, 64, true);
  block.FillInput(Ramp);
  ASSERT_EQ(kResultOk, Run(block, &off));
  EXPECT_EQ(0.0, controller->getParamNormalized(kBypass));
  ExpectFormula(block);
}

TEST_F(ProcessingTest, BypassThroughTheControllerReachesTheProcessor) {
  StartProcessing(44100.0, 64, true);
  SetParams(0.9, 0.9, 0.7);
  EXPECT_EQ(kResultOk, controller->setParamNormalized(kBypass, 1.0));
  EXPECT_EQ(1.0, controller->getParamNormalized(kBypass));
  Block block(2, 2, 64, true);
  block.FillInput(Ramp);
  ASSERT_EQ(kResultOk, Run(block));
  for (int s = 0; s < 64; ++s) ASSERT_EQ(block.In(0, s), block.Out(0, s));

  // A new setup (sample rate change, project reload) keeps the bypass.
  ProcessSetup setup = Setup(96000.0, 64, true);
  ASSERT_EQ(kResultOk, processor->setupProcessing(setup));
  EXPECT_EQ(1.0, controller->getParamNormalized(kBypass));

  EXPECT_EQ(kResultOk, controller->setParamNormalized(kBypass, 0.0));
  ASSERT_EQ(kResultOk, Run(block));
  ExpectFormula(block);
}

// A value the host sets through the controller is the value the next block
// plays, whichever way the values came before.
TEST_F(ProcessingTest, ControllerValuesAreTheValuesThatPlay) {
  StartProcessing(44100.0, 64, true);
  SetParams(0.5, 0.5, 0.5);
  const ParamID ids[] = {kIn, kOut, kDistort};
  const double values[] = {0.8, 0.3, 0.6};
  for (int i = 0; i < 3; ++i)
    ASSERT_EQ(kResultOk, controller->setParamNormalized(ids[i], values[i]));
  inDB = PlainFromNormalized(kIn, 0.8);
  outDB = PlainFromNormalized(kOut, 0.3);
  distort_ = PlainFromNormalized(kDistort, 0.6);
  Block block(2, 2, 64, true);
  block.FillInput(Ramp);
  ASSERT_EQ(kResultOk, Run(block));
  ExpectFormula(block);
}

// Blocks with changes on the processing thread while the controller sets
// values and bypass on another. Every block, though longer than the set-up
// maximum and so processed in slices, is wholly bypassed or wholly clipped;
// afterwards the audio follows the values the controller reads. Under
// ThreadSanitizer this also shows that the values cross without a race.
TEST_F(ProcessingTest, ControllerAndProcessingThreadsAgreeOnEveryValue) {
  StartProcessing(44100.0, 64, true);
  SetParams(0.8, 0.3, 0.4);
  std::atomic<bool> halfBypassed{false};
  std::thread audio([&] {
    for (int i = 0; i < 400; ++i) {
      ParameterChangeSet changes;
      changes.Add(kIn, i % 2 ? 0.75 : 0.9);
      if (i % 7 == 0) changes.Add(kBypass, i % 14 ? 1.0 : 0.0);
      Block block(2, 2, 256, true);
      block.FillInput(Ramp);
      Run(block, &changes);
      int passed = 0; // channel 1 of the ramp has no zero sample to pass by chance
      for (int s = 0; s < 256; ++s) passed += block.In(1, s) == block.Out(1, s);
      if (passed != 0 && passed != 256) halfBypassed = true;
    }
  });
  for (int i = 0; i < 400; ++i) {
    controller->setParamNormalized(kOut, i % 2 ? 0.25 : 0.4);
    controller->setParamNormalized(kDistort, i % 3 ? 0.2 : 0.6);
    controller->setParamNormalized(kIn, i % 5 ? 0.85 : 0.95);
    if (i % 11 == 0) controller->setParamNormalized(kBypass, i % 22 ? 1.0 : 0.0);
    controller->getParamNormalized(kBypass);
  }
  audio.join();
  EXPECT_FALSE(halfBypassed);

  ASSERT_EQ(kResultOk, controller->setParamNormalized(kBypass, 0.0));
  inDB = PlainFromNormalized(kIn, controller->getParamNormalized(kIn));
  outDB = PlainFromNormalized(kOut, controller->getParamNormalized(kOut));
  distort_ = PlainFromNormalized(kDistort, controller->getParamNormalized(kDistort));
  Block block(2, 2, 64, true);
  block.FillInput(Ramp);
  ASSERT_EQ(kResultOk, Run(block));
  ExpectFormula(block);
}

TEST_F(ProcessingTest, SilentOutputsAreFlagged) {
  StartProcessing(44100.0, 32, true);
  SetParams(0.5, 0.5, 0.5);
  Block block(2, 2, 32, true);
  block.outBus.silenceFlags = 0;
  ASSERT_EQ(kResultOk, Run(block)); // silence in gives silence out
  EXPECT_EQ(3u, block.outBus.silenceFlags);
  block.FillInput(Ramp);
  ASSERT_EQ(kResultOk, Run(block));
  EXPECT_EQ(0u, block.outBus.silenceFlags);
  block.in64[1].assign(32, 0.0);
  ASSERT_EQ(kResultOk, Run(block));
  EXPECT_EQ(2u, block.outBus.silenceFlags);
}

TEST_F(ProcessingTest, AnInactiveOutputBusIsNotWritten) {
  StartProcessing(44100.0, 32, true);
  ASSERT_EQ(kResultOk, component->activateBus(kAudio, kOutput, 0, false));
  Block block(2, 2, 32, true);
  block.FillInput(Ramp);
  block.out64[0].assign(32, 7.0);
  ASSERT_EQ(kResultOk, Run(block));
  EXPECT_EQ(7.0, block.Out(0, 0));
  ASSERT_EQ(kResultOk, component->activateBus(kAudio, kOutput, 0, true));
  ASSERT_EQ(kResultOk, Run(block));
  EXPECT_NE(7.0, block.Out(0, 0));
}

TEST_F(ProcessingTest, MonoBusesProcessTheirOneChannel) {
  ASSERT_EQ(kResultOk, component->initialize(context));
  initialized = true;
  SpeakerArrangement mono = SpeakerArr::kMono;
  ASSERT_EQ(kResultOk, processor->setBusArrangements(&mono, 1, &mono, 1));
  ActivateMainBuses();
  ProcessSetup setup = Setup(44100.0, 64, false);
  ASSERT_EQ(kResultOk, processor->setupProcessing(setup));
  ASSERT_EQ(kResultOk, component->setActive(true));
  active = true;
  SetParams(0.6, 0.5, 0.4);
  Block block(1, 1, 64, false);
  block.FillInput(Ramp);
  ASSERT_EQ(kResultOk, Run(block));
  ExpectFormula(block, 1);
}

TEST_F(ProcessingTest, ActivationAndProcessingStatesInEveryOrderHostsUse) {
  ASSERT_EQ(kResultOk, component->initialize(context));
  initialized = true;
  ProcessSetup setup = Setup(44100.0, 64, true);
  Block block(2, 2, 64, true);
  block.FillInput(Ramp);
  // setup, active, processing on, off, inactive — then again, and the odd orders.
  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(kResultOk, processor->setupProcessing(setup));
    EXPECT_EQ(kResultOk, component->setActive(true));
    processor->setProcessing(true);
    EXPECT_EQ(kResultOk, Run(block));
    processor->setProcessing(false);
    EXPECT_EQ(kResultOk, component->setActive(false));
  }
  EXPECT_EQ(kResultOk, component->setActive(false)); // inactive twice
  processor->setProcessing(true);                    // processing without activation
  EXPECT_EQ(kResultOk, Run(block));
  EXPECT_EQ(kResultOk, component->setActive(true));
  EXPECT_EQ(kResultOk, component->setActive(true));
  ASSERT_EQ(kResultOk, processor->setupProcessing(setup)); // setup while active
  EXPECT_EQ(kResultOk, Run(block));
  EXPECT_EQ(kResultOk, component->terminate()); // terminate while active
  initialized = false;
  EXPECT_EQ(kResultOk, Run(block)); // a stray block after terminate
  ASSERT_EQ(kResultOk, component->initialize(context));
  initialized = true;
  EXPECT_EQ(kResultOk, Run(block));
}
