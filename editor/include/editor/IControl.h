#pragma once
// One rectangular element of an editor: it draws itself into the graphics
// core's bitmap, reacts to the events routed to it and usually mirrors one
// parameter as a normalized value in 0..1.
//
// Values, dirty and redraw flags are atomics: the processing thread stores
// them through SetValueFromPlug while the user-interface thread polls and
// draws. Dirty and redraw share one word so that SetClean (dirty = redraw,
// redraw = false) is one step a concurrent request cannot fall between: a
// value or text stored while a pass runs is always drawn by a later pass.
// Everything else runs on the user-interface thread.
#include <atomic>

#include "editor/IBitmap.h"
#include "editor/IChannelBlend.h"
#include "editor/IMouseMod.h"
#include "editor/IRECT.h"
#include "editor/IText.h"
#include "wdl/heap_buf.h"

class IGraphics;
class IPlugBase;
class ITextControl;

class IControl {
public:
  IControl(IPlugBase* plug, IRECT rect, int paramIdx = -1,
           IChannelBlend::EBlendMethod blendMethod = IChannelBlend::kBlendNone);
  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  // Virtual operations, in the order of the virtual table.
  virtual ~IControl() {}
  virtual void OnMouseDown(int x, int y, IMouseMod* mod);
  virtual void OnMouseUp(int x, int y, IMouseMod* mod) { (void)x, (void)y, (void)mod; }
  virtual void OnMouseDrag(int x, int y, int dX, int dY, IMouseMod* mod) {
    (void)x, (void)y, (void)dX, (void)dY, (void)mod;
  }
  virtual void OnMouseDblClick(int x, int y, IMouseMod* mod);
  virtual void OnMouseWheel(int x, int y, IMouseMod* mod, int d);
  virtual bool OnKeyDown(int x, int y, int key) {
    (void)x, (void)y, (void)key;
    return false;
  }
  virtual void OnMouseOver(int x, int y, IMouseMod* mod) { (void)x, (void)y, (void)mod; }
  virtual void OnMouseOut() {}
  virtual bool Draw(IGraphics* graphics) = 0;
  virtual void SetValueFromPlug(double value);
  virtual void TextFromTextEntry(const char* text) { (void)text; }
  virtual void Hide(bool hide);
  virtual void GrayOut(bool gray);
  virtual bool IsHit(int x, int y) { return mTargetRECT.Contains(x, y); }
  virtual void SetDirty(bool pushParamToPlug = true);
  virtual void SetClean();
  virtual bool IsDirty() { return mFlags.load(std::memory_order_acquire) & kDirty; }
  virtual void OnGUIIdle() {}
  virtual void SetAuxParamValueFromPlug(int auxParamIdx, double value);

  // A value the user set through a text entry or a menu.
  void SetValueFromUserInput(double value);

  // Direct entry of this control's parameter: a menu of its named values over
  // the control, or a small text field centred on it.
  void PromptUserInput();
  void PromptUserInput(IRECT* area);

  // Further parameters the control follows.
  struct AuxParam {
    double mValue; // shared with the processing thread: use the accessors
    int mParamIdx;
  };
  void AddAuxParam(int paramIdx);
  int AuxParamIdx(int paramIdx) const;
  AuxParam* GetAuxParam(int idx);
  int NAuxParams() const { return mAuxParams.GetSize(); }
  double GetAuxParamValue(int idx) const;
  void SetAllAuxParamsFromGUI();

  int ParamIdx() const { return mParamIdx; }
  IPlugBase* GetPlug() const { return mPlug; }
  // The editor this control belongs to, once attached to the plug-in.
  IGraphics* GetGUI() const;
  const IRECT* GetRECT() const { return &mRECT; }
  const IRECT* GetTargetRECT() const { return &mTargetRECT; }
  void SetTargetArea(IRECT rect) { mTargetRECT = rect; }
  IText* GetText() { return &mText; }
  void SetTextEntryLength(int length) { mTextEntryLength = length; }
  int GetTextEntryLength() const { return mTextEntryLength; }

  double GetValue() const { return mValue.load(std::memory_order_relaxed); }
  void SetValue(double value) { mValue.store(value, std::memory_order_relaxed); }
  double GetDefaultValue() const { return mDefaultValue.load(std::memory_order_relaxed); }
  void Clamp(double lo, double hi) {
    mClampLo = lo;
    mClampHi = hi;
  }
  bool IsHidden() const { return mHide.load(std::memory_order_relaxed); }
  bool IsGrayed() const { return mGrayed; }
  bool NeedsRedraw() const { return mFlags.load(std::memory_order_acquire) & kRedraw; }
  // Asks to stay dirty for one more drawing pass.
  void Redraw() { mFlags.fetch_or(kRedraw, std::memory_order_acq_rel); }
  const IChannelBlend* GetBlend() const { return &mBlend; }

  void DisablePrompt(bool disable) { mDisablePrompt = disable; }
  bool IsPromptDisabled() const { return mDisablePrompt; }
  void SetDblAsSingleClick(bool dblAsSingle) { mDblAsSingleClick = dblAsSingle; }
  bool GetDblAsSingleClick() const { return mDblAsSingleClick; }
  void SetMOWhenGrayed(bool allow) { mMOWhenGrayed = allow; }
  bool GetMOWhenGrayed() const { return mMOWhenGrayed; }
  void SetValDisplayControl(ITextControl* control) { mValDisplayControl = control; }
  void SetNameDisplayControl(ITextControl* control) { mNameDisplayControl = control; }
  void SetTooltip(const char* tooltip) { mTooltip = tooltip; }
  const char* GetTooltip() const { return mTooltip; }

protected:
  enum : unsigned { kDirty = 1, kRedraw = 2 };
  void MarkDirty() { mFlags.fetch_or(kDirty, std::memory_order_acq_rel); }
  void UpdateDisplayControls();

  int mTextEntryLength = 7;
  IText mText;
  IPlugBase* mPlug;
  IRECT mRECT, mTargetRECT;
  int mParamIdx;
  WDL_TypedBuf<AuxParam> mAuxParams;
  std::atomic<double> mValue{0.0};
  std::atomic<double> mDefaultValue{-1.0};
  double mClampLo = 0.0, mClampHi = 1.0;
  std::atomic<unsigned> mFlags{kDirty}; // dirty, redraw
  std::atomic<bool> mHide{false};
  bool mGrayed = false;
  bool mDisablePrompt = true;
  bool mDblAsSingleClick = false;
  bool mMOWhenGrayed = false;
  IChannelBlend mBlend;
  ITextControl* mValDisplayControl = nullptr;
  ITextControl* mNameDisplayControl = nullptr;
  const char* mTooltip = nullptr;
};
