#pragma once
// A headless editor with one control per parameter that records every
// normalized value the plug-in base pushes into it, and counts its own
// deletion: what the framework tests see of the editor.
#include <vector>

#include "editor/IControl.h"
#include "framework/IPlugBase.h"
#include "platform/headless/IGraphicsHeadless.h"

class ValueProbe : public IControl {
public:
  ValueProbe(IPlugBase* plug, int paramIdx) : IControl(plug, IRECT(0, 0, 1, 1), paramIdx) {}
  bool Draw(IGraphics*) override { return true; }
  void SetValueFromPlug(double value) override {
    mValues.push_back(value);
    IControl::SetValueFromPlug(value);
  }
  std::vector<double> mValues;
};

class ProbedGraphics : public IGraphicsHeadless {
public:
  ProbedGraphics(IPlugBase* plug, int* deleted = nullptr)
      : IGraphicsHeadless(plug, 4, 4), mDeleted(deleted) {
    for (int i = 0; i < plug->NParams(); ++i) {
      mProbes.push_back(new ValueProbe(plug, i));
      AttachControl(mProbes.back());
    }
  }
  ~ProbedGraphics() override {
    if (mDeleted) ++*mDeleted;
  }
  // The last value each parameter's control received.
  std::vector<double> LastValues() const {
    std::vector<double> last;
    for (const ValueProbe* p : mProbes)
      last.push_back(p->mValues.empty() ? -1.0 : p->mValues.back());
    return last;
  }
  void ClearValues() {
    for (ValueProbe* p : mProbes) p->mValues.clear();
  }
  std::vector<ValueProbe*> mProbes;

private:
  int* mDeleted;
};
