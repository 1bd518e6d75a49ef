#pragma once
// One automatable parameter: its plain value, range, curve and display rules.
// Hosts and controls speak normalized values (0..1); the plug-in reads plain ones.
#include <atomic>

#include "wdl/heap_buf.h"

class IParam {
public:
  enum EParamType { kTypeNone = 0, kTypeBool, kTypeInt, kTypeEnum, kTypeDouble };

  static const int kTextLength = 32;

  IParam() : mDisplayTexts(4096) {}
  IParam(const IParam&) = delete;
  IParam& operator=(const IParam&) = delete;

  // The first initialisation decides the kind; later ones keep it.
  void InitBool(const char* name, bool defaultVal, const char* label = "", const char* group = "");
  void InitEnum(const char* name, int defaultVal, int nEnums, const char* label = "",
                const char* group = "");
  void InitInt(const char* name, int defaultVal, int minVal, int maxVal, const char* label = "",
               const char* group = "");
  void InitDouble(const char* name, double defaultVal, double minVal, double maxVal, double step,
                  const char* label = "", const char* group = "", double shape = 1.0);

  void SetShape(double shape);
  void SetDisplayText(int value, const char* text);
  void SetCanAutomate(bool canAutomate) { mCanAutomate = canAutomate; }
  void NegateDisplay() { mNegateDisplay = true; }

  // Plain value clamped into the range; a NaN leaves the value as it was.
  void Set(double plain);
  void SetNormalized(double normalized);

  double Value() const { return mValue.load(std::memory_order_relaxed); }
  bool Bool() const { return Value() >= 0.5; }
  int Int() const { return static_cast<int>(Value()); }
  double DBToAmp() const;

  double GetNormalized() const { return GetNormalized(Value()); }
  double GetNormalized(double plain) const;

  // text holds at least kTextLength characters.
  void GetDisplayForHost(double value, bool normalized, char* text,
                         bool withDisplayText = true) const;
  void GetDisplayForHost(char* text, bool withDisplayText = true) const {
    GetDisplayForHost(Value(), false, text, withDisplayText);
  }

  const char* GetNameForHost() const { return mName; }
  const char* GetLabelForHost() const;
  const char* GetParamGroupForHost() const { return mParamGroup; }
  const char* GetDisplayText(int value) const;
  int GetNDisplayTexts() const { return mDisplayTexts.GetSize(); }
  const char* GetDisplayTextAtIdx(int idx, int* value = nullptr) const;
  bool MapDisplayText(const char* text, int* value) const;

  EParamType Type() const { return mType; }
  double GetMin() const { return mMin; }
  double GetMax() const { return mMax; }
  double GetStep() const { return mStep; }
  double GetShape() const { return mShape; }
  double GetDefault() const { return mDefault; }
  double GetDefaultNormalized() const { return GetNormalized(mDefault); }
  int GetPrecision() const { return mDisplayPrecision; }
  bool GetCanAutomate() const { return mCanAutomate; }
  bool GetNegateDisplay() const { return mNegateDisplay; }
  void GetBounds(double* lo, double* hi) const;

private:
  struct DisplayText {
    int mValue;
    char mText[kTextLength];
  };

  void SetNames(const char* name, const char* label, const char* group);
  void SetRange(double defaultVal, double minVal, double maxVal, double step);
  const DisplayText* FindDisplayText(int value) const;

  EParamType mType = kTypeNone;
  // Written under the plug-in lock, read without it by the host's controller
  // and the editor: atomic, so a reader gets one whole value, never a race.
  std::atomic<double> mValue{0.0};
  double mMin = 0.0;
  double mMax = 1.0;
  double mStep = 1.0;
  double mShape = 1.0;
  double mDefault = 0.0;
  int mDisplayPrecision = 0;
  char mName[kTextLength] = {};
  char mLabel[kTextLength] = {};
  char mParamGroup[kTextLength] = {};
  bool mNegateDisplay = false;
  bool mCanAutomate = true;
  WDL_TypedBuf<DisplayText> mDisplayTexts;
};
