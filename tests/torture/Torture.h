#pragma once
// The torture run: rounds of concurrent calls, as hosts make them. Between
// rounds the user-interface thread changes the setup (activation, buses,
// sample rate, block size, sample size) while the processing thread waits,
// and checks that audio, controller and saved state agree. During a round the
// processing thread sends blocks while the user-interface thread makes
// controller and state calls.
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "Agreement.h"
#include "Driver.h"
#include "Findings.h"
#include "ProcessDriver.h"
#include "Round.h"
#include "Target.h"
#include "UiDriver.h"
#include "Watchdog.h"

struct TortureOptions {
  uint64_t seed = 1;
  uint64_t steps = 20000;
  double timeoutSeconds = 30.0;
};

class Torture {
public:
  Torture(Target* target, const TortureOptions& options);
  ~Torture();
  Torture(const Torture&) = delete;
  Torture& operator=(const Torture&) = delete;

  // Runs every step; true when nothing was found.
  bool Run();
  uint64_t StepsDone() const { return mUi.Steps() + mProcessing.Steps(); }
  const Findings& Found() const { return mFindings; }
  int EditorOpens() const { return mUiDriver.EditorOpens(); }

private:
  void ProcessingThread();
  void StartRound(int processSteps);
  void WaitForRound();
  void StopProcessingThread();

  // Setup changes between rounds (SetupSteps.cpp).
  void ChangeSetup();
  void Deactivate();
  void Reinitialize();
  void ProposeBuses();
  void ActivateBuses();
  void SetupProcessing();
  void Activate();

  Target* mTarget;
  TortureOptions mOptions;
  Findings mFindings;
  Driver mUi;
  Driver mProcessing;
  Watchdog mWatchdog;
  UiDriver mUiDriver;
  ProcessDriver mProcessDriver;
  Agreement mAgreement;
  RoundSetup mSetup;

  // The processing thread waits here between rounds.
  std::thread mThread;
  std::mutex mGateLock;
  std::condition_variable mGate;
  uint64_t mRoundStarted = 0;
  uint64_t mRoundFinished = 0;
  int mRoundProcessSteps = 0;
  RoundSetup mRoundSetup;
  bool mStopping = false;
};
