#pragma once
// Shared by the editor tests and the editor benchmark: a plug-in whose binding
// records what the editor tells the host, procedurally made art written as
// PNG files, and an editor laid out like the effect's.
#include <string>
#include <vector>

#include "editor/IText.h"
#include "framework/IPlugBase.h"

class IGraphicsHeadless;
class ITextControl;

class RecordingPlug : public IPlugBase {
public:
  enum { kIn, kOut, kDistort, kMode, kOnOff, kNumParams };

  explicit RecordingPlug(EAPI api = kAPIVST3);

  struct Event {
    char what; // 'b' begin, 'i' inform, 'e' end, 'm' host menu
    int paramIdx;
    double value;
  };
  void BeginInformHostOfParamChange(int idx) override { mEvents.push_back({'b', idx, 0.0}); }
  void InformHostOfParamChange(int idx, double v) override { mEvents.push_back({'i', idx, v}); }
  void EndInformHostOfParamChange(int idx) override { mEvents.push_back({'e', idx, 0.0}); }
  void PopupHostContextMenuForParam(int idx, int x, int y) override {
    mEvents.push_back({'m', idx, x * 1000.0 + y});
  }
  // Like the effect: a parameter change rewrites its readout.
  void OnParamChange(int paramIdx) override;
  void InformHostOfProgramChange() override {}
  int GetSamplePos() override { return 0; }
  double GetTempo() override { return 120.0; }
  void GetTimeSig(int* n, int* d) override { *n = *d = 4; }
  void GetTime(ITimeInfo*) override {}
  void ResizeGraphics(int w, int h) override { mResized = w * 10000 + h; }
  bool SendMidiMsg(IMidiMsg*) override { return false; }

  // The events as text, e.g. "b0 i0 e0"; values are left out.
  std::string Trail() const;

  std::vector<Event> mEvents;
  ITextControl* mReadouts[3] = {};
  int mResized = 0;
};

// The effect's art, made procedurally: a 350 x 288 background and knob strips
// of 41, 41 and 128 frames of 60, 60 and 128 pixels. Written once per process;
// returns the folder.
const std::string& EffectArtDir();
// Resource IDs the effect-like editor uses.
enum { kBackgroundID = 104, kKnobInID = 101, kKnobOutID = 102, kKnobDistortID = 103 };

// The readout style: "Tahoma Bold" 13 px, light grey, centred, not antialiased.
IText ReadoutStyle();

// 350 x 288: background (clobber), three knobs (blend none), the link area
// and three readouts, attached to the plug-in.
IGraphicsHeadless* BuildEffectEditor(RecordingPlug* plug);
