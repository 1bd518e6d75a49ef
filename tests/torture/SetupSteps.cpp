// Setup changes between rounds, made on the user-interface thread while the
// processing thread waits, as hosts make them: deactivation, bus proposals
// and activation, odd sample rates, block sizes and sample sizes, now and
// then a terminate and a new initialize.
#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "Torture.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

void Torture::ChangeSetup() {
  Rng& rng = mUi.Random();
  mUi.NextStep();
  if (mSetup.active && rng.Percent(60)) Deactivate();
  if (mSetup.active) {
    // Hosts that activate twice.
    if (rng.Percent(5)) mUi.Call("setActive", [&] { mTarget->component->setActive(true); });
    return;
  }
  if (rng.Percent(3)) Reinitialize();
  if (rng.Percent(40)) ProposeBuses();
  if (rng.Percent(35) || !mSetup.inBusActive || !mSetup.outBusActive) ActivateBuses();
  if (rng.Percent(70)) SetupProcessing();
  if (rng.Percent(3)) {
    CountingHandler* handler = rng.Percent(50) ? nullptr : mTarget->handler;
    mUi.Call("setComponentHandler", [&] { mTarget->controller->setComponentHandler(handler); });
  }
  if (rng.Percent(92)) Activate();
}

void Torture::Deactivate() {
  mUi.Call("setActive(false)", [&] {
    mTarget->processor->setProcessing(false);
    mTarget->component->setActive(false);
  });
  mSetup.active = false;
}

// The buses come back as the plug-in first made them, switched off.
void Torture::Reinitialize() {
  tresult result = kInternalError;
  mUi.Call("terminate and initialize", [&] {
    mTarget->component->terminate();
    result = mTarget->component->initialize(mTarget->context);
    mTarget->controller->setComponentHandler(mTarget->handler);
  });
  if (result != kResultOk) mUi.Fail("initialize refused after terminate", std::to_string(result));
  mSetup.inChannels = mSetup.outChannels = 2;
  mSetup.inBusActive = mSetup.outBusActive = false;
}

void Torture::ProposeBuses() {
  Rng& rng = mUi.Random();
  SpeakerArrangement in[2] = {SpeakerArr::kStereo, SpeakerArr::kStereo};
  SpeakerArrangement out[1] = {SpeakerArr::kStereo};
  int32 numIns = 1, numOuts = 1;
  bool legal = true;
  const uint32_t roll = rng.Below(100);
  if (roll < 70) {
  } else if (roll < 85) {
    in[0] = out[0] = SpeakerArr::kMono;
  } else {
    legal = false;
    if (roll < 90)
      in[0] = SpeakerArr::kMono;
    else if (roll < 93)
      numIns = numOuts = 0;
    else if (roll < 96)
      numIns = 2;
    else
      in[0] = out[0] = SpeakerArr::k51;
  }
  tresult result = kInternalError;
  if (!mUi.Call("setBusArrangements",
                [&] { result = mTarget->processor->setBusArrangements(in, numIns, out, numOuts); }))
    return;
  if (legal && result != kResultOk)
    mUi.Fail("a legal bus arrangement refused",
             std::to_string(SpeakerArr::getChannelCount(in[0])) + " in, " +
                 std::to_string(SpeakerArr::getChannelCount(out[0])) + " out");
  if (result != kResultOk) return;
  mSetup.inChannels = SpeakerArr::getChannelCount(in[0]);
  mSetup.outChannels = SpeakerArr::getChannelCount(out[0]);
  // A bus of a new width is a new bus, switched off.
  mSetup.inBusActive = mSetup.outBusActive = false;
}

void Torture::ActivateBuses() {
  Rng& rng = mUi.Random();
  const bool in = rng.Percent(92), out = rng.Percent(92);
  tresult inResult = kInternalError, outResult = kInternalError;
  if (!mUi.Call("activateBus", [&] {
        inResult = mTarget->component->activateBus(kAudio, kInput, 0, in);
        outResult = mTarget->component->activateBus(kAudio, kOutput, 0, out);
        // Buses the effect does not have.
        if (rng.Percent(10))
          mTarget->component->activateBus(kAudio, kInput, rng.Between(1, 5), true);
        if (rng.Percent(5)) mTarget->component->activateBus(kEvent, kInput, 0, true);
      }))
    return;
  if (inResult == kResultOk) mSetup.inBusActive = in;
  if (outResult == kResultOk) mSetup.outBusActive = out;
}

void Torture::SetupProcessing() {
  static const double kRates[] = {44100.0,
                                  48000.0,
                                  88200.0,
                                  96000.0,
                                  192000.0,
                                  384000.0,
                                  22050.0,
                                  11025.0,
                                  8000.0,
                                  1.0,
                                  0.5,
                                  1e7,
                                  0.0,
                                  -44100.0,
                                  std::numeric_limits<double>::quiet_NaN(),
                                  std::numeric_limits<double>::infinity()};
  // INT_MAX frames are more than any buffer can hold: the plug-in must cope.
  static const int32 kMaxBlocks[] = {1,   2,   3,    5,    7,    13,    64, 127, 128,
                                     509, 512, 1021, 4096, 8191, 32768, 0,  -1,  INT_MAX};
  static const int32 kOddSizes[] = {2, -1};
  static const int32 kModes[] = {kRealtime, kPrefetch, kOffline, 9};
  Rng& rng = mUi.Random();
  ProcessSetup setup;
  setup.processMode = rng.Pick(kModes);
  const uint32_t sizeRoll = rng.Below(100);
  setup.symbolicSampleSize =
      sizeRoll < 45 ? kSample32 : (sizeRoll < 90 ? kSample64 : rng.Pick(kOddSizes));
  setup.maxSamplesPerBlock = rng.Pick(kMaxBlocks);
  setup.sampleRate = rng.Pick(kRates);
  tresult result = kInternalError;
  if (!mUi.Call("setupProcessing", [&] { result = mTarget->processor->setupProcessing(setup); }))
    return;
  const bool sensible =
      setup.sampleRate >= 8000.0 && setup.sampleRate <= 384000.0 && setup.maxSamplesPerBlock >= 1 &&
      setup.maxSamplesPerBlock <= 32768 &&
      (setup.symbolicSampleSize == kSample32 || setup.symbolicSampleSize == kSample64);
  if (sensible && result != kResultOk)
    mUi.Fail("a sensible setup refused", std::to_string(setup.sampleRate) + " Hz, " +
                                             std::to_string(setup.maxSamplesPerBlock) + " frames");
  if (result != kResultOk) return;
  mSetup.setUp = true;
  mSetup.use64 = setup.symbolicSampleSize == kSample64;
  mSetup.maxBlock = setup.maxSamplesPerBlock;
}

void Torture::Activate() {
  tresult result = kInternalError;
  if (!mUi.Call("setActive(true)", [&] {
        result = mTarget->component->setActive(true);
        mTarget->processor->setProcessing(true);
      }))
    return;
  mSetup.active = result == kResultOk;
}
