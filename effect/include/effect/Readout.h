#pragma once
// Where the effect writes its value texts: the editor's readouts
// (ReadoutControl). An effect without an editor has nowhere to show them.
class Readout {
public:
  virtual ~Readout() {}
  // Called on whichever thread notifies a parameter, the audio thread included:
  // implementations must neither block nor allocate.
  virtual void SetTextFromPlug(const char* text) = 0;
};
