#pragma once
// The user-interface thread: controller, state and information calls in a
// seeded random order, each followed by checks of what it answered. In quiet
// rounds it is the only writer of values, and then also checks exactly that
// a value set is the value read and a state restored is the state saved.
#include <cstdint>
#include <string>
#include <vector>

#include "Driver.h"
#include "EditorDriver.h"
#include "HostObjects.h"
#include "Round.h"
#include "Target.h"

class UiDriver {
public:
  UiDriver(Target* target, Driver* driver, uint64_t editorSeed)
      : mTarget(target), mDriver(driver), mEditor(target, driver, editorSeed) {}

  // A round may have the editor open for some of its steps; it is closed
  // again when the round ends, as the processing thread finishes its blocks.
  void StartRound();
  void Step(const RoundSetup& round);
  void EndRound();
  int EditorOpens() const { return mEditor.Opens(); }

  // The saved state through a plain stream; false (a finding made) when it is
  // refused or not a valid state of the effect.
  bool Save(std::vector<uint8_t>* bytes);
  // What is wrong with a saved state ("" when it is a valid one).
  std::string StateProblem(const std::vector<uint8_t>& bytes) const;
  // What the controller answers for each parameter must be what a state
  // saved just before holds (while nothing else writes values).
  void CheckAgainstController(const std::vector<uint8_t>& bytes);

private:
  using StepFunction = void (UiDriver::*)(const RoundSetup&);
  struct Kind {
    const char* name;
    int weight;
    StepFunction run;
  };
  static const Kind kKinds[];

  // Values and texts (UiDriver.cpp).
  void SetValue(const RoundSetup& round);
  void GetValue(const RoundSetup& round);
  void Convert(const RoundSetup& round);
  void ValueToText(const RoundSetup& round);
  void TextToValue(const RoundSetup& round);
  void AskInfo(const RoundSetup& round);
  void CreateView(const RoundSetup& round);
  void EditorStep(const RoundSetup& round);
  int Weight(const Kind& kind) const;
  // Saved states (StateSteps.cpp).
  void SaveState(const RoundSetup& round);
  void RestoreState(const RoundSetup& round);
  void ComponentState(const RoundSetup& round);

  bool KnownId(Steinberg::Vst::ParamID id) const;
  std::vector<uint8_t> CanonicalState();
  void CheckRestored(const RoundSetup& round, const std::vector<uint8_t>& before,
                     const std::vector<uint8_t>* expectPrefix, Steinberg::tresult result);

  Target* mTarget;
  Driver* mDriver;
  // The last few states saved, for restores of a state the plug-in made.
  std::vector<std::vector<uint8_t>> mSnapshots;
  EditorDriver mEditor;
  bool mEditorRound = false;
};
