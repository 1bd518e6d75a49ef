#include "framework/IParam.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// Names are cut to fit their 32-byte fields rather than overrunning them.
void CopyText(char* field, const char* text) {
  snprintf(field, IParam::kTextLength, "%s", text ? text : "");
}

// Truncation toward zero that stays defined for NaN and values beyond int.
int TruncateToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(v);
}

} // namespace

void IParam::SetNames(const char* name, const char* label, const char* group) {
  CopyText(mName, name);
  CopyText(mLabel, label);
  CopyText(mParamGroup, group);
}

void IParam::SetRange(double defaultVal, double minVal, double maxVal, double step) {
  mDefault = defaultVal;
  mValue.store(defaultVal, std::memory_order_relaxed);
  mMin = minVal;
  mMax = maxVal > minVal + step ? maxVal : minVal + step;
  mStep = step;
}

void IParam::InitBool(const char* name, bool defaultVal, const char* label, const char* group) {
  if (mType == kTypeNone) mType = kTypeBool;
  SetNames(name, label, group);
  SetRange(defaultVal ? 1.0 : 0.0, 0.0, 1.0, 1.0);
  mShape = 1.0;
  mDisplayPrecision = 0;
  SetDisplayText(0, "off");
  SetDisplayText(1, "on");
}

void IParam::InitEnum(const char* name, int defaultVal, int nEnums, const char* label,
                      const char* group) {
  if (mType == kTypeNone) mType = kTypeEnum;
  SetNames(name, label, group);
  SetRange(defaultVal, 0.0, nEnums < 2 ? 1.0 : static_cast<double>(nEnums) - 1.0, 1.0);
  mShape = 1.0;
  mDisplayPrecision = 0;
}

void IParam::InitInt(const char* name, int defaultVal, int minVal, int maxVal, const char* label,
                     const char* group) {
  if (mType == kTypeNone) mType = kTypeInt;
  SetNames(name, label, group);
  SetRange(defaultVal, minVal, maxVal, 1.0);
  mShape = 1.0;
  mDisplayPrecision = 0;
}

void IParam::InitDouble(const char* name, double defaultVal, double minVal, double maxVal,
                        double step, const char* label, const char* group, double shape) {
  if (mType == kTypeNone) mType = kTypeDouble;
  SetNames(name, label, group);
  SetRange(defaultVal, minVal, maxVal, step);
  SetShape(shape);
  // As many decimals as the step needs, at most six.
  int precision = 0;
  for (double s = step; precision < 6 && s != std::floor(s); s *= 10.0) ++precision;
  mDisplayPrecision = precision;
}

void IParam::SetShape(double shape) {
  if (shape != 0.0) mShape = shape;
}

void IParam::SetDisplayText(int value, const char* text) {
  DisplayText record{};
  record.mValue = value;
  CopyText(record.mText, text);
  mDisplayTexts.Add(record);
}

void IParam::Set(double plain) {
  if (std::isnan(plain)) return;
  mValue.store(plain < mMin ? mMin : (plain > mMax ? mMax : plain), std::memory_order_relaxed);
}

void IParam::SetNormalized(double normalized) {
  // Hosts and controls may overshoot or send garbage; the value stays inside the range.
  if (std::isnan(normalized)) return;
  if (normalized < 0.0) normalized = 0.0;
  if (normalized > 1.0) normalized = 1.0;
  double v = (mMax - mMin) * std::pow(normalized, mShape) + mMin;
  if (mType != kTypeDouble) v = std::floor(v / mStep + 0.5) * mStep;
  mValue.store(v < mMax ? v : mMax, std::memory_order_relaxed);
}

double IParam::GetNormalized(double plain) const {
  if (plain < mMin) plain = mMin;
  if (plain > mMax) plain = mMax;
  return std::pow((plain - mMin) / (mMax - mMin), 1.0 / mShape);
}

double IParam::DBToAmp() const {
  return std::exp(Value() * 0.1151292546497);
}

const IParam::DisplayText* IParam::FindDisplayText(int value) const {
  const DisplayText* records = mDisplayTexts.Get();
  for (int i = 0; i < mDisplayTexts.GetSize(); ++i)
    if (records[i].mValue == value) return &records[i];
  return nullptr;
}

void IParam::GetDisplayForHost(double value, bool normalized, char* text,
                               bool withDisplayText) const {
  if (normalized) value = (mMax - mMin) * std::pow(value, mShape) + mMin;
  if (withDisplayText) {
    const DisplayText* record = FindDisplayText(TruncateToInt(value));
    if (record && record->mText[0]) {
      strcpy(text, record->mText);
      return;
    }
  }
  if (mNegateDisplay) value = -value;
  if (mDisplayPrecision == 0)
    snprintf(text, kTextLength, "%d", TruncateToInt(value));
  else
    snprintf(text, kTextLength, "%.*f", mDisplayPrecision, value);
}

const char* IParam::GetDisplayText(int value) const {
  const DisplayText* record = FindDisplayText(value);
  return record ? record->mText : "";
}

const char* IParam::GetLabelForHost() const {
  return GetDisplayText(TruncateToInt(Value()))[0] ? "" : mLabel;
}

const char* IParam::GetDisplayTextAtIdx(int idx, int* value) const {
  if (idx < 0 || idx >= mDisplayTexts.GetSize()) return "";
  const DisplayText& record = mDisplayTexts.Get()[idx];
  if (value) *value = record.mValue;
  return record.mText;
}

bool IParam::MapDisplayText(const char* text, int* value) const {
  if (!text) return false;
  const DisplayText* records = mDisplayTexts.Get();
  for (int i = 0; i < mDisplayTexts.GetSize(); ++i) {
    if (strcmp(records[i].mText, text) == 0) {
      *value = records[i].mValue;
      return true;
    }
  }
  return false;
}

void IParam::GetBounds(double* lo, double* hi) const {
  *lo = mMin;
  *hi = mMax;
}
