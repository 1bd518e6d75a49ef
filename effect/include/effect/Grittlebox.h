#pragma once
// Grittlebox: a stereo hard clipper. The input gain drives the signal into a
// symmetric threshold that falls as Distort rises; the clipped signal is
// divided by the threshold to return to full scale, then scaled by the output
// gain.
#include "effect/GrittleboxBinding.h"
#include "effect/GrittleboxIdentity.h"
#include "effect/Readout.h"

class Grittlebox : public GrittleboxBinding {
public:
  enum EParams {
    kIn = grittlebox::kParamIn,
    kOut = grittlebox::kParamOut,
    kDistort = grittlebox::kParamDistort,
    kNumParams = grittlebox::kParamCount
  };

  explicit Grittlebox(IPlugInstanceInfo instanceInfo);
  ~Grittlebox() override;

  // Hosts call this whenever a parameter changes (automation, editor, state
  // restore): refresh the derived value and the readout.
  void OnParamChange(int paramIdx) override;
  // Nothing to clear: the clipper keeps no history.
  void Reset() override;
  // Two channels, input to output; the input buffers are never written and
  // may be the outputs' own. 32-bit blocks are clipped without a conversion
  // pass, to the same floats as the 64-bit processing rounded.
  void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) override;
  void ProcessSingleReplacing(float** inputs, float** outputs, int nFrames) override;
  // Zero in, the same zero out, for as long as the gains and the threshold
  // are positive and finite.
  bool PassesSilence() override;

  // Writes the value text of one parameter into a readout.
  void SetParamText(int paramIdx, Readout* readout);
  // The editor hands over its readouts here; they keep their text until the
  // next change. Null shows nothing for that parameter.
  void SetReadouts(Readout* in, Readout* out, Readout* distort);

  // Effects alive in this module, for the module's exit hook.
  static int LiveInstances();

  double GetInDB() const { return mInDB; }
  double GetOutDB() const { return mOutDB; }
  double GetThreshold() const { return mThreshold; }

private:
  template <typename Sample> void Clip(Sample** inputs, Sample** outputs, int nFrames);

  double mInDB = 0.0;
  double mOutDB = 0.0;
  double mThreshold = 1.0;
  // Amplitudes of mInDB and mOutDB, kept with them so that processing needs
  // no exponential; the same values the formula computes per sample.
  double mGainIn = 1.0;
  double mGainOut = 1.0;
  Readout* mInReadout = nullptr;
  Readout* mOutReadout = nullptr;
  Readout* mDistortReadout = nullptr;
};

// The module's creation hook: constructions are serialised by a process-wide
// lock. Returns null if the instance could not be made.
Grittlebox* MakePlug();
