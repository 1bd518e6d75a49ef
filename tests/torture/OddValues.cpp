#include "OddValues.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

const double kOddNormalized[] = {0.0,     1.0,   0.5,  -0.0,  0.49999999999, 0.50000000001, 1e-310,
                                 -1e-310, -0.5,  1.5,  2.0,   -1.0,          1e308,         -1e308,
                                 kInf,    -kInf, kNaN, -kNaN, 1.0 + 1e-15,   -1e-15};

const double kOddDouble[] = {0.0,  -0.0,  1.0,  -1.0, 1e-320, -1e-320,  1e300, -1e300,
                             kInf, -kInf, kNaN, 4.0,  -4.0,   0.999999, 1e6};

const ParamID kForeignIds[] = {0x70727374 /* prst */, 3, 4, 0x7FFFFFFF, 0xFFFFFFFF, 0x80000000};

// Texts other than numbers, as UTF-16 units (0 ends each list).
const char16_t* const kOddTexts[] = {
    u"",
    u" ",
    u"-",
    u".",
    u"+",
    u"e5",
    u"5e",
    u"nan",
    u"NaN",
    u"-nan",
    u"inf",
    u"-inf",
    u"infinity",
    u"1e999",
    u"-1e999",
    u"1e-999",
    u"0x1p3",
    u"1,5",
    u"+5",
    u"\t7\n",
    u"  3",
    u"3  ",
    u"on",
    u"off",
    u"On",
    u"OFF",
    u"12.5 dB",
    u"50 %",
    u"\u0663",
    u"\uFF13",
    u"\u00E9",
    u"\u00A0"
    u"1",
    u"\U0001F3B8",
    u"-0",
    u"0000000000000000000001",
};

// Lone and reversed surrogates: not UTF-16 at all.
const char16_t kBrokenUnits[][3] = {
    {0xD800, 0, 0},    {0xDC00, 0, 0},    {0xDF3C, 0, 0},
    {0xDBFF, u'5', 0}, {u'5', 0xDCDC, 0}, {0xDC00, 0xD800, 0},
};

std::vector<TChar> FromUnits(const char16_t* units) {
  std::vector<TChar> text;
  for (; *units; ++units) text.push_back(static_cast<TChar>(*units));
  text.push_back(0);
  return text;
}

std::vector<TChar> FromAscii(const std::string& ascii) {
  std::vector<TChar> text(ascii.begin(), ascii.end());
  text.push_back(0);
  return text;
}

} // namespace

double NormalizedValue(Rng& rng) {
  return rng.Percent(75) ? rng.Unit() : rng.Pick(kOddNormalized);
}

double OddDouble(Rng& rng) {
  return rng.Percent(50) ? rng.Uniform(-30.0, 130.0) : rng.Pick(kOddDouble);
}

ParamID ParamId(Rng& rng, const EffectModel& model) {
  const uint32_t roll = rng.Below(100);
  if (roll < 70) return model.values[rng.Below(static_cast<uint32_t>(model.values.size()))].id;
  if (roll < 85) return model.bypassId;
  if (roll < 95) return rng.Pick(kForeignIds);
  return static_cast<ParamID>(rng.Next());
}

std::vector<TChar> HostText(Rng& rng, const EffectModel& model) {
  const uint32_t roll = rng.Below(100);
  if (roll < 40) {
    const EffectModel::Value& value =
        model.values[rng.Below(static_cast<uint32_t>(model.values.size()))];
    char number[64];
    snprintf(number, sizeof number, rng.Percent(50) ? "%.2f" : "%.17g",
             rng.Uniform(value.lo - 10.0, value.hi + 10.0));
    return FromAscii(number);
  }
  if (roll < 75) return FromUnits(rng.Pick(kOddTexts));
  if (roll < 88) return FromUnits(rng.Pick(kBrokenUnits));
  // Long texts: up to a String128 and well past it.
  const size_t length = rng.Percent(50) ? 127 : static_cast<size_t>(rng.Between(128, 700));
  std::vector<TChar> text(length + 1, 0);
  for (size_t i = 0; i < length; ++i) text[i] = static_cast<TChar>(rng.Percent(90) ? u'9' : u'.');
  return text;
}
