#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "framework/IParam.h"

namespace {

IParam* DistortParam(IParam* p) {
  p->InitDouble("Distort", 50, 0.01, 100, 0.01, "%", "", 1);
  return p;
}

TEST(ParamInit, DoubleTakesPrecisionFromStepAndKeepsDefaultNormalized) {
  IParam p;
  DistortParam(&p);
  EXPECT_EQ(p.Type(), IParam::kTypeDouble);
  EXPECT_EQ(p.GetPrecision(), 2);
  EXPECT_DOUBLE_EQ(p.GetMax(), 100.0);
  EXPECT_DOUBLE_EQ(p.Value(), 50.0);
  EXPECT_DOUBLE_EQ(p.GetNormalized(), (50 - 0.01) / 99.99);
  EXPECT_STREQ(p.GetNameForHost(), "Distort");
  EXPECT_STREQ(p.GetLabelForHost(), "%");
}

TEST(ParamInit, PrecisionFollowsStepUpToSixDecimals) {
  const struct {
    double step;
    int precision;
  } cases[] = {{1, 0}, {0.5, 1}, {0.25, 2}, {0.01, 2}, {0.001, 3}, {1e-6, 6}, {1e-9, 6}};
  for (const auto& c : cases) {
    IParam p;
    p.InitDouble("x", 0, 0, 10, c.step);
    EXPECT_EQ(p.GetPrecision(), c.precision) << c.step;
  }
}

TEST(ParamInit, MaxBelowMinPlusStepIsRaised) {
  IParam p;
  p.InitDouble("x", 0, 5, 2, 0.5);
  EXPECT_DOUBLE_EQ(p.GetMax(), 5.5);
  IParam i;
  i.InitInt("n", 0, 3, 1);
  EXPECT_DOUBLE_EQ(i.GetMax(), 4.0);
}

TEST(ParamInit, ZeroShapeKeepsThePreviousShape) {
  IParam p;
  p.InitDouble("x", 0, 0, 1, 0.1, "", "", 0.0);
  EXPECT_DOUBLE_EQ(p.GetShape(), 1.0);
  p.SetShape(2.0);
  p.SetShape(0.0);
  EXPECT_DOUBLE_EQ(p.GetShape(), 2.0);
}

TEST(ParamInit, FirstInitialisationDecidesTheKind) {
  IParam p;
  p.InitInt("n", 0, 0, 10);
  p.InitDouble("n", 0, 0, 10, 0.1);
  EXPECT_EQ(p.Type(), IParam::kTypeInt);
  p.SetNormalized(0.54);
  EXPECT_DOUBLE_EQ(p.Value(), 5.4); // the step is now 0.1, still rounded to it
}

TEST(ParamInit, EnumAndBoolRanges) {
  IParam e;
  e.InitEnum("e", 2, 1);
  EXPECT_DOUBLE_EQ(e.GetMax(), 1.0);
  EXPECT_DOUBLE_EQ(e.Value(), 2.0); // the default is not clamped
  IParam b;
  b.InitBool("b", true);
  b.InitBool("b", true);
  EXPECT_EQ(b.GetNDisplayTexts(), 4); // every call appends off/on
  EXPECT_DOUBLE_EQ(b.Value(), 1.0);
}

TEST(ParamInit, LongNamesAreCutToTheirField) {
  IParam p;
  const std::string longName(100, 'n');
  p.InitDouble(longName.c_str(), 0, 0, 1, 0.1, longName.c_str(), longName.c_str());
  EXPECT_EQ(std::string(p.GetNameForHost()), std::string(31, 'n'));
  EXPECT_EQ(std::string(p.GetParamGroupForHost()), std::string(31, 'n'));
  p.SetDisplayText(0, longName.c_str());
  EXPECT_EQ(std::string(p.GetDisplayText(0)), std::string(31, 'n'));
}

TEST(ParamMapping, IntRoundsToStepHalvesUp) {
  IParam p;
  p.InitInt("n", 0, 0, 10);
  p.SetNormalized(0.54);
  EXPECT_DOUBLE_EQ(p.Value(), 5.0);
  p.SetNormalized(0.55);
  EXPECT_DOUBLE_EQ(p.Value(), 6.0);
}

TEST(ParamMapping, DoubleIsLinearAndClampedIntoRange) {
  IParam p;
  p.InitDouble("g", 0, -20, 20, 0.01);
  p.SetNormalized(0.5);
  EXPECT_EQ(p.Value(), 0.0);
  p.SetNormalized(1.2);
  EXPECT_DOUBLE_EQ(p.Value(), 20.0);
  p.SetNormalized(-0.1); // clamped to 0 rather than reaching -24
  EXPECT_DOUBLE_EQ(p.Value(), -20.0);
}

TEST(ParamMapping, NaNNormalizedLeavesTheValue) {
  IParam p;
  p.InitDouble("g", 3, -20, 20, 0.01);
  p.SetNormalized(std::numeric_limits<double>::quiet_NaN());
  EXPECT_DOUBLE_EQ(p.Value(), 3.0);
  p.Set(std::numeric_limits<double>::quiet_NaN());
  EXPECT_DOUBLE_EQ(p.Value(), 3.0);
}

TEST(ParamMapping, ShapeGivesFinerResolutionNearMin) {
  IParam p;
  p.InitDouble("s", 0, 0, 100, 0.01, "", "", 2.0);
  p.SetNormalized(0.5);
  EXPECT_DOUBLE_EQ(p.Value(), 25.0);
  EXPECT_DOUBLE_EQ(p.GetNormalized(), 0.5);
}

TEST(ParamMapping, PlainOutsideRangeNormalizesToEnds) {
  IParam p;
  p.InitDouble("g", 0, -20, 20, 0.01);
  EXPECT_DOUBLE_EQ(p.GetNormalized(-50), 0.0);
  EXPECT_DOUBLE_EQ(p.GetNormalized(50), 1.0);
  p.Set(30);
  EXPECT_DOUBLE_EQ(p.Value(), 20.0);
  p.Set(-30);
  EXPECT_DOUBLE_EQ(p.Value(), -20.0);
}

TEST(ParamMapping, DBToAmp) {
  IParam p;
  p.InitDouble("g", 20, -20, 20, 0.01);
  EXPECT_NEAR(p.DBToAmp(), 10.0, 1e-9);
}

TEST(ParamDisplay, PrintsWithPrecisionAndKeepsNegativeZero) {
  IParam p;
  p.InitDouble("g", 0, -20, 20, 0.01);
  char text[32];
  p.GetDisplayForHost(-0.004, false, text);
  EXPECT_STREQ(text, "-0.00");
  p.GetDisplayForHost(12.345, false, text);
  EXPECT_STREQ(text, "12.35");
  p.GetDisplayForHost(0.75, true, text); // normalized: 0.75 of -20..20
  EXPECT_STREQ(text, "10.00");
}

TEST(ParamDisplay, ZeroPrecisionTruncatesAndNegates) {
  IParam p;
  p.InitInt("n", 0, -10, 10);
  char text[32];
  p.GetDisplayForHost(-3.7, false, text);
  EXPECT_STREQ(text, "-3");
  p.NegateDisplay();
  p.GetDisplayForHost(4.0, false, text);
  EXPECT_STREQ(text, "-4");
}

TEST(ParamDisplay, HugeOrNaNValuesStayInsideTheBuffer) {
  IParam p;
  p.InitInt("n", 0, -10, 10);
  char text[32];
  p.GetDisplayForHost(1e300, false, text);
  EXPECT_STREQ(text, "2147483647");
  p.GetDisplayForHost(std::numeric_limits<double>::quiet_NaN(), false, text);
  EXPECT_STREQ(text, "0");
  IParam d;
  d.InitDouble("d", 0, 0, 1, 0.01);
  d.GetDisplayForHost(1e300, false, text);
  EXPECT_LT(strlen(text), 32u);
}

TEST(ParamDisplay, BoolUsesDisplayTextsAndDropsLabel) {
  IParam b;
  b.InitBool("b", false, "lbl");
  b.Set(0.7);
  char text[32];
  b.GetDisplayForHost(text);
  EXPECT_STREQ(text, "off");
  EXPECT_STREQ(b.GetLabelForHost(), "");
  b.GetDisplayForHost(1.0, false, text, false);
  EXPECT_STREQ(text, "1");
}

TEST(ParamDisplay, EmptyDisplayTextFallsBackToNumber) {
  IParam p;
  p.InitInt("n", 0, 0, 10, "u");
  p.SetDisplayText(3, "");
  p.SetDisplayText(3, "three");
  p.Set(3);
  char text[32];
  p.GetDisplayForHost(text);
  EXPECT_STREQ(text, "3");
  EXPECT_STREQ(p.GetLabelForHost(), "u");
}

TEST(ParamDisplayTexts, LookupsTakeTheFirstMatch) {
  IParam b;
  b.InitBool("b", false);
  int value = -7;
  EXPECT_TRUE(b.MapDisplayText("on", &value));
  EXPECT_EQ(value, 1);
  value = -7;
  EXPECT_FALSE(b.MapDisplayText("On", &value));
  EXPECT_EQ(value, -7);
  EXPECT_FALSE(b.MapDisplayText(nullptr, &value));
  EXPECT_STREQ(b.GetDisplayText(5), "");
  EXPECT_STREQ(b.GetDisplayTextAtIdx(1, &value), "on");
  EXPECT_EQ(value, 1);
  EXPECT_STREQ(b.GetDisplayTextAtIdx(9, &value), "");
  double lo, hi;
  b.GetBounds(&lo, &hi);
  EXPECT_EQ(lo, 0.0);
  EXPECT_EQ(hi, 1.0);
}

} // namespace
