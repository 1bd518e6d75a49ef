#include "Torture.h"

Torture::Torture(Target* target, const TortureOptions& options)
    : mTarget(target), mOptions(options), mUi("user-interface", options.seed * 2 + 1, &mFindings),
      mProcessing("processing", options.seed * 2 + 2, &mFindings),
      mWatchdog(options.timeoutSeconds, options.seed), mUiDriver(target, &mUi, ~options.seed),
      mProcessDriver(target, &mProcessing), mAgreement(target, &mUi) {
  mWatchdog.Watch(&mUi.Slot());
  mWatchdog.Watch(&mProcessing.Slot());
}

Torture::~Torture() {
  StopProcessingThread();
}

bool Torture::Run() {
  mWatchdog.Start();
  mThread = std::thread([this] { ProcessingThread(); });
  // A fresh setup first, so that most rounds process real audio.
  mSetup = RoundSetup();
  ProposeBuses();
  ActivateBuses();
  SetupProcessing();
  Activate();
  while (StepsDone() < mOptions.steps) {
    Rng& rng = mUi.Random();
    mSetup.quiet = rng.Percent(50);
    const int uiSteps = rng.Between(10, 150);
    StartRound(rng.Between(10, 150));
    mUiDriver.StartRound();
    for (int i = 0; i < uiSteps; ++i) mUiDriver.Step(mSetup);
    mUiDriver.EndRound();
    WaitForRound();

    mUi.NextStep();
    std::vector<uint8_t> state;
    if (mUiDriver.Save(&state)) {
      mUiDriver.CheckAgainstController(state);
      mAgreement.Check(mSetup, state);
    }
    ChangeSetup();
  }
  StopProcessingThread();
  Deactivate();
  mWatchdog.Stop();
  return !mFindings.Any();
}

void Torture::StartRound(int processSteps) {
  {
    std::lock_guard<std::mutex> hold(mGateLock);
    mRoundSetup = mSetup;
    mRoundProcessSteps = processSteps;
    ++mRoundStarted;
  }
  mGate.notify_all();
}

void Torture::WaitForRound() {
  std::unique_lock<std::mutex> hold(mGateLock);
  mGate.wait(hold, [this] { return mRoundFinished == mRoundStarted; });
}

void Torture::ProcessingThread() {
  uint64_t seen = 0;
  for (;;) {
    RoundSetup setup;
    int steps = 0;
    {
      std::unique_lock<std::mutex> hold(mGateLock);
      mGate.wait(hold, [&] { return mStopping || mRoundStarted > seen; });
      if (mStopping) return;
      seen = mRoundStarted;
      setup = mRoundSetup;
      steps = mRoundProcessSteps;
    }
    for (int i = 0; i < steps; ++i) mProcessDriver.Step(setup);
    {
      std::lock_guard<std::mutex> hold(mGateLock);
      mRoundFinished = seen;
    }
    mGate.notify_all();
  }
}

void Torture::StopProcessingThread() {
  if (!mThread.joinable()) return;
  {
    std::lock_guard<std::mutex> hold(mGateLock);
    mStopping = true;
  }
  mGate.notify_all();
  mThread.join();
}
