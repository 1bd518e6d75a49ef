// What the host sees of the parameters: information, units, program lists,
// conversions both ways, texts, and edits reported from the plug-in.
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "ConformanceHost.h"
#include "vst3/HostText.h"

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace conformance;
using namespace vst3host;

namespace {

class ParametersTest : public EffectTest {
protected:
  void SetUp() override {
    EffectTest::SetUp();
    ASSERT_EQ(kResultOk, component->initialize(context));
    initialized = true;
  }
  std::string Text(ParamID id, double normalized) {
    String128 text;
    for (auto& unit : text) unit = u'#';
    EXPECT_EQ(kResultOk, controller->getParamStringByValue(id, normalized, text));
    return NarrowString(text);
  }
  bool Parse(ParamID id, const char* text, double* normalized) {
    String128 wide;
    WidenUtf8(text, wide, 128);
    return controller->getParamValueByString(id, wide, *normalized) == kResultOk;
  }
};

} // namespace

TEST_F(ParametersTest, BypassThenTheThreeEffectParameters) {
  ASSERT_EQ(4, controller->getParameterCount());
  ParameterInfo info = {};
  ASSERT_EQ(kResultOk, controller->getParameterInfo(0, info));
  EXPECT_EQ(kBypass, info.id);
  EXPECT_EQ("Bypass", NarrowString(info.title));
  EXPECT_EQ(1, info.stepCount);
  EXPECT_EQ(ParameterInfo::kCanAutomate | ParameterInfo::kIsList | ParameterInfo::kIsBypass,
            info.flags);
  EXPECT_EQ(0.0, info.defaultNormalizedValue);

  const char* titles[] = {"In", "Out", "Distort"};
  const char* units[] = {"dB", "dB", "%"};
  const double defaults[] = {0.5, 0.5, (50.0 - 0.01) / (100.0 - 0.01)};
  for (int32 i = 0; i < 3; ++i) {
    ASSERT_EQ(kResultOk, controller->getParameterInfo(i + 1, info));
    EXPECT_EQ(static_cast<ParamID>(i), info.id);
    EXPECT_EQ(titles[i], NarrowString(info.title));
    EXPECT_EQ(units[i], NarrowString(info.units));
    EXPECT_EQ("", NarrowString(info.shortTitle));
    EXPECT_EQ(0, info.stepCount);
    EXPECT_EQ(ParameterInfo::kCanAutomate, info.flags);
    EXPECT_EQ(kRootUnitId, info.unitId);
    EXPECT_NEAR(defaults[i], info.defaultNormalizedValue, 1e-12);
  }
  EXPECT_NE(kResultOk, controller->getParameterInfo(4, info));
  EXPECT_NE(kResultOk, controller->getParameterInfo(-1, info));
}

TEST_F(ParametersTest, ValuesConvertBothWaysAndClamp) {
  EXPECT_DOUBLE_EQ(0.5, controller->plainParamToNormalized(kIn, 0.0));
  EXPECT_DOUBLE_EQ(1.0, controller->plainParamToNormalized(kIn, 35.0));
  EXPECT_DOUBLE_EQ(0.0, controller->plainParamToNormalized(kOut, -99.0));
  EXPECT_DOUBLE_EQ(-10.0, controller->normalizedParamToPlain(kIn, 0.25));
  EXPECT_DOUBLE_EQ(100.0, controller->normalizedParamToPlain(kDistort, 1.0));
  EXPECT_DOUBLE_EQ(1.0, controller->normalizedParamToPlain(kBypass, 1.0));
  EXPECT_DOUBLE_EQ(0.3, controller->plainParamToNormalized(99, 0.3));
  EXPECT_DOUBLE_EQ(0.3, controller->normalizedParamToPlain(99, 0.3));
  for (double n : {0.0, 0.125, 0.5, 0.8, 1.0})
    EXPECT_NEAR(
        n, controller->plainParamToNormalized(kOut, controller->normalizedParamToPlain(kOut, n)),
        1e-12);
}

TEST_F(ParametersTest, ValueTextsForTheHost) {
  EXPECT_EQ("-10.00", Text(kIn, 0.25));
  EXPECT_EQ("0.00", Text(kOut, 0.5));
  EXPECT_EQ("100.00", Text(kDistort, 1.0));
  EXPECT_EQ("0.01", Text(kDistort, 0.0));
  EXPECT_EQ("off", Text(kBypass, 0.0));
  EXPECT_EQ("on", Text(kBypass, 1.0));
  String128 text;
  EXPECT_EQ(kResultFalse, controller->getParamStringByValue(7, 0.5, text));
  EXPECT_NE(kResultOk, controller->getParamStringByValue(kIn, 0.5, nullptr));
}

TEST_F(ParametersTest, TextsTurnBackIntoValues) {
  double n = -1.0;
  ASSERT_TRUE(Parse(kIn, "-10", &n));
  EXPECT_DOUBLE_EQ(0.25, n);
  ASSERT_TRUE(Parse(kDistort, "100", &n));
  EXPECT_DOUBLE_EQ(1.0, n);
  ASSERT_TRUE(Parse(kOut, "50", &n)); // clamped to the range
  EXPECT_DOUBLE_EQ(1.0, n);
  ASSERT_TRUE(Parse(kBypass, "on", &n));
  EXPECT_DOUBLE_EQ(1.0, n);
  ASSERT_TRUE(Parse(kBypass, "off", &n));
  EXPECT_DOUBLE_EQ(0.0, n);
  EXPECT_FALSE(Parse(kBypass, "maybe", &n));
  EXPECT_FALSE(Parse(12345, "1", &n));
  EXPECT_FALSE(Parse(kIn, "nan", &n)); // no value to set: the host must not get one
  EXPECT_FALSE(Parse(kDistort, "-nan", &n));
  EXPECT_NE(kResultOk, controller->getParamValueByString(kIn, nullptr, n));
  // Texts that are not UTF-16 at all (lone surrogates, the fuzzer's finds
  // among them) are refused, never thrown out of the plug-in.
  for (ParamID id : {kIn, kBypass})
    for (std::u16string text : {std::u16string{0xDF3C}, std::u16string{0xDCDC, u'5'}}) {
      tresult result = kResultOk;
      EXPECT_NO_THROW(result = controller->getParamValueByString(id, text.data(), n));
      EXPECT_NE(kResultOk, result);
    }
  for (double v : {0.0, 0.2, 0.5, 0.75, 1.0}) { // text of a value reads back as that value
    ASSERT_TRUE(Parse(kIn, Text(kIn, v).c_str(), &n));
    EXPECT_NEAR(v, n, 0.0005);
  }
}

TEST_F(ParametersTest, SettingValuesThroughTheController) {
  EXPECT_EQ(kResultOk, controller->setParamNormalized(kDistort, 0.25));
  EXPECT_DOUBLE_EQ(0.25, controller->getParamNormalized(kDistort));
  EXPECT_EQ(kResultOk, controller->setParamNormalized(kIn, 3.0)); // clamped
  EXPECT_DOUBLE_EQ(1.0, controller->getParamNormalized(kIn));
  EXPECT_EQ(kResultFalse, controller->setParamNormalized(42, 0.5));
  EXPECT_EQ(0.0, controller->getParamNormalized(42));
  EXPECT_NE(kResultOk,
            controller->setParamNormalized(kOut, std::numeric_limits<double>::quiet_NaN()));
  EXPECT_DOUBLE_EQ(0.5, controller->getParamNormalized(kOut));
}

TEST_F(ParametersTest, OneRootUnitAndNoProgramList) {
  EXPECT_EQ(1, units->getUnitCount());
  UnitInfo unit = {};
  ASSERT_EQ(kResultOk, units->getUnitInfo(0, unit));
  EXPECT_EQ(kRootUnitId, unit.id);
  EXPECT_EQ(kNoParentUnitId, unit.parentUnitId);
  EXPECT_EQ(kNoProgramListId, unit.programListId);
  EXPECT_EQ("Root Unit", NarrowString(unit.name));
  EXPECT_EQ(kResultFalse, units->getUnitInfo(1, unit));
  EXPECT_EQ(kResultFalse, units->getUnitInfo(-1, unit));

  // Without presets there is no program list, and count and list agree.
  EXPECT_EQ(0, units->getProgramListCount());
  ProgramListInfo list = {};
  EXPECT_EQ(kResultFalse, units->getProgramListInfo(0, list));
  EXPECT_EQ(kResultFalse, units->getProgramListInfo(1, list));
  String128 name;
  ASSERT_EQ(kResultOk, units->getProgramName(0x70727374, 0, name));
  EXPECT_EQ("", NarrowString(name));
  EXPECT_EQ(kResultFalse, units->getProgramName(5, 0, name));
  EXPECT_EQ(kRootUnitId, units->getSelectedUnit());
  EXPECT_EQ(kNotImplemented, units->selectUnit(0));
}

TEST_F(ParametersTest, TheComponentHandlerIsHeldUntilReplaced) {
  RecordingHandler* handler = new RecordingHandler;
  ASSERT_EQ(kResultOk, controller->setComponentHandler(handler));
  EXPECT_EQ(2u, handler->RefCount());
  ASSERT_EQ(kResultOk, controller->setComponentHandler(nullptr));
  EXPECT_EQ(1u, handler->RefCount());
  ASSERT_EQ(kResultOk, controller->setComponentHandler(handler));
  ASSERT_EQ(kResultOk, component->terminate()); // terminate lets go of it too
  initialized = false;
  EXPECT_EQ(1u, handler->RefCount());
  handler->release();
}
