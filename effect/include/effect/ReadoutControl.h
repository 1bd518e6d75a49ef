#pragma once
// The editor's text readouts are where the effect writes its value texts:
// an ITextControl already takes text from any thread without tearing,
// blocking or allocating, which is what a Readout must do.
#include "editor/ITextControl.h"
#include "effect/Readout.h"

class ReadoutControl : public ITextControl, public Readout {
public:
  ReadoutControl(IPlugBase* plug, IRECT rect, IText* text, const char* str)
      : ITextControl(plug, rect, text, str) {}

  void SetTextFromPlug(const char* text) override { ITextControl::SetTextFromPlug(text); }
};
