#include "framework/HostInfo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "wdl/wdl_string.h"

namespace {

TEST(LookUpHost, FindsFragmentsCaseInsensitively) {
  EXPECT_EQ(LookUpHost("Cubase 8"), kHostCubase);
  EXPECT_EQ(LookUpHost("Ableton Live 9"), kHostAbletonLive);
  EXPECT_EQ(LookUpHost("REAPER64"), kHostReaper);
  EXPECT_EQ(LookUpHost("Ardour 8.4"), kHostArdour);
  EXPECT_EQ(LookUpHost("VST3PluginTestHost"), kHostVST3TestHost);
  EXPECT_EQ(LookUpHost("Fruity Wrapper"), kHostFL);
}

TEST(LookUpHost, TheEarlierFragmentInSearchOrderWins) {
  // "cubase" is searched before "live", "live" before "logic".
  EXPECT_EQ(LookUpHost("Cubase Live Edition"), kHostCubase);
  EXPECT_EQ(LookUpHost("logic live"), kHostAbletonLive);
  // "digital" comes before "protools" and "standalone".
  EXPECT_EQ(LookUpHost("ProTools digital standalone"), kHostDigitalPerformer);
  EXPECT_EQ(LookUpHost("protools standalone"), kHostProTools);
}

TEST(LookUpHost, UnknownNamesGiveUnknown) {
  EXPECT_EQ(LookUpHost("Studio One"), kHostUnknown);
  EXPECT_EQ(LookUpHost(""), kHostUnknown);
  EXPECT_EQ(LookUpHost(nullptr), kHostUnknown);
  EXPECT_EQ(LookUpHost("Cuba se"), kHostUnknown);
}

TEST(LookUpHost, AcceptsNamesOfAnyLength) {
  std::string longName(100000, 'x');
  EXPECT_EQ(LookUpHost(longName.c_str()), kHostUnknown);
  longName += "Bitwig presonus";
  EXPECT_EQ(LookUpHost(longName.c_str()), kHostStudioOne);
}

TEST(LookUpHost, NonAsciiBytesAreHarmless) {
  EXPECT_EQ(LookUpHost("\xc3\x89\xff\x80 Reaper"), kHostReaper);
}

TEST(GetHostNameStr, WritesDisplayNames) {
  char name[32];
  GetHostNameStr(kHostSonar, name);
  EXPECT_STREQ(name, "Sonar");
  GetHostNameStr(kHostVegas, name);
  EXPECT_STREQ(name, "Vegas");
  GetHostNameStr(kHostVST3TestHost, name);
  EXPECT_STREQ(name, "VST3PluginTestHost");
  GetHostNameStr(kHostArdour, name);
  EXPECT_STREQ(name, "Ardour");
}

TEST(GetHostNameStr, UnnamedAndOutOfRangeValuesAreUnknown) {
  char name[32];
  for (int host : {-1, 0, 10, 11, 12, 19, 29, 1000}) {
    GetHostNameStr(static_cast<EHost>(host), name);
    EXPECT_STREQ(name, "Unknown") << host;
  }
}

TEST(HostNames, EveryFragmentMapsBackToItsDisplayName) {
  struct Case {
    const char* name;
    const char* display;
  } cases[] = {
      {"samplitude", "Samplitude"}, {"vstmanlib", "VSTScanner"}, {"aulab", "AULab"},
      {"garageband", "GarageBand"}, {"sawstudio", "SAWStudio"},  {"audiomulch", "AudioMulch"},
      {"orion", "Orion"},           {"audition", "Audition"},    {"chainer", "Chainer"}};
  for (const Case& c : cases) {
    char name[32];
    GetHostNameStr(LookUpHost(c.name), name);
    EXPECT_STREQ(name, c.display) << c.name;
  }
}

TEST(APIAndArch, NamesFollowTheTable) {
  EXPECT_STREQ(GetAPIString(kAPIVST2), "VST2");
  EXPECT_STREQ(GetAPIString(kAPIVST3), "VST3");
  EXPECT_STREQ(GetAPIString(kAPISA), "Standalone");
  EXPECT_STREQ(GetAPIString(static_cast<EAPI>(6)), "");
  EXPECT_STREQ(GetAPIString(static_cast<EAPI>(-1)), "");
  EXPECT_STREQ(GetArchString(), "x64");
}

TEST(Versions, PartsDecimalAndText) {
  int major = -1, minor = -1, third = -1;
  GetVersionParts(0x10203, &major, &minor, &third);
  EXPECT_EQ(major, 1);
  EXPECT_EQ(minor, 2);
  EXPECT_EQ(third, 3);
  EXPECT_EQ(GetDecimalVersion(0x10203), 10203);
  EXPECT_EQ(GetDecimalVersion(0x20000), 20000);
  char text[32];
  GetVersionStr(0x20000, text);
  EXPECT_STREQ(text, "v2.0.0");
  GetVersionStr(0x0A0B0C, text);
  EXPECT_STREQ(text, "v10.11.12");
}

TEST(Versions, MajorIsTakenUnsigned) {
  int major = 0;
  GetVersionParts(static_cast<int>(0xFFFF0000u), &major, nullptr, nullptr);
  EXPECT_EQ(major, 65535);
  char text[32];
  GetVersionStr(-1, text);
  EXPECT_STREQ(text, "v65535.255.255");
}

// Time stamps depend on the time zone; each test pins one.
class TimeStamps : public ::testing::Test {
protected:
  void SetUp() override {
    const char* tz = getenv("TZ");
    mHadZone = tz != nullptr;
    if (tz) mOldZone = tz;
  }
  void TearDown() override {
    if (mHadZone)
      setenv("TZ", mOldZone.c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
    SetTimeSource(nullptr);
  }
  static void UseZone(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
  }
  static std::string Format(time_t when) {
    char text[32];
    FormatLocalTime(when, text, sizeof text);
    return text;
  }

private:
  bool mHadZone = false;
  std::string mOldZone;
};

// 2026-12-06 13:03:00 UTC.
constexpr time_t kDecember6 = 1796562180;
// 2026-12-31 23:30:00 UTC and 2027-01-01 00:30:00 UTC.
constexpr time_t kNewYearsEve = 1798759800;
constexpr time_t kNewYearsDay = 1798763400;

TEST_F(TimeStamps, LocalTimeWithPositiveOffset) {
  UseZone("UTC-1");
  EXPECT_EQ(Format(kDecember6), "20261206 14:03 +0100");
}

TEST_F(TimeStamps, NegativeAndHalfHourOffsets) {
  UseZone("UTC+5");
  EXPECT_EQ(Format(kDecember6), "20261206 08:03 -0500");
  UseZone("UTC-5:30");
  EXPECT_EQ(Format(kDecember6), "20261206 18:33 +0530");
  UseZone("UTC0");
  EXPECT_EQ(Format(kDecember6), "20261206 13:03 +0000");
}

TEST_F(TimeStamps, OffsetsAcrossDayAndYearBoundaries) {
  UseZone("UTC-2");
  EXPECT_EQ(Format(kNewYearsEve), "20270101 01:30 +0200");
  UseZone("UTC+3");
  EXPECT_EQ(Format(kNewYearsDay), "20261231 21:30 -0300");
  UseZone("UTC-14");
  EXPECT_EQ(Format(kDecember6), "20261207 03:03 +1400");
}

time_t FixedClock() {
  return kDecember6;
}

TEST_F(TimeStamps, CurrentTimeReadsTheInstalledClockIntoOneBuffer) {
  UseZone("UTC-1");
  SetTimeSource(FixedClock);
  const char* first = CurrentTime();
  EXPECT_STREQ(first, "20261206 14:03 +0100");
  EXPECT_EQ(CurrentTime(), first);
  SetTimeSource(nullptr);
  EXPECT_EQ(strlen(CurrentTime()), strlen("20261206 14:03 +0100"));
}

TEST(CompileTimestamp, OneDigitDayDropsOneSpace) {
  WDL_String out;
  CompileTimestamp("Dec  6 2026", "14:03:22", &out);
  EXPECT_STREQ(out.Get(), "[Dec 6 14:03]");
}

TEST(CompileTimestamp, TwoDigitDayLosesTheSpaceAfterTheMonth) {
  WDL_String out;
  CompileTimestamp("Dec 16 2026", "09:15:00", &out);
  EXPECT_STREQ(out.Get(), "[Dec16 09:15]");
}

TEST(CompileTimestamp, ShortOrMissingTextsStayInBounds) {
  WDL_String out;
  CompileTimestamp("", "", &out);
  EXPECT_STREQ(out.Get(), "[ ]");
  CompileTimestamp(nullptr, nullptr, &out);
  EXPECT_STREQ(out.Get(), "[ ]");
  CompileTimestamp("Dec", "1", &out);
  EXPECT_STREQ(out.Get(), "[Dec 1]");
}

TEST(AppendTimestamp, PrefixesTheTextAndReusesOneString) {
  const char* first = AppendTimestamp("Jan  2 2027", "07:08:09", "built");
  EXPECT_STREQ(first, "built [Jan 2 07:08]");
  const char* second = AppendTimestamp("Jan  2 2027", "07:08:09", "v2.0.0");
  EXPECT_STREQ(second, "v2.0.0 [Jan 2 07:08]");
}

TEST(TextHelpers, ToLowerCopiesWithTerminator) {
  char out[16];
  memset(out, '#', sizeof out);
  ToLower(out, "AbC 9\xc3");
  EXPECT_STREQ(out, "abc 9\xc3");
  ToLower(out, "");
  EXPECT_STREQ(out, "");
}

TEST(TextHelpers, WhitespaceIsTabNewlineReturnAndSpaceOnly) {
  for (int c = 0; c < 256; ++c) {
    const bool expected = c == 9 || c == 10 || c == 13 || c == 32;
    EXPECT_EQ(IsWhitespace(static_cast<char>(c)), expected) << c;
  }
}

clock_t gTicks = 0;
clock_t FakeTicks() {
  return gTicks;
}

TEST(Timer, FiresOnlyAfterMoreThanThePeriodAndRestarts) {
  gTicks = 1000;
  Timer timer(FakeTicks);
  gTicks += 500000;
  EXPECT_FALSE(timer.Every(0.5)) << "exactly the period is not more";
  gTicks += 1;
  EXPECT_TRUE(timer.Every(0.5));
  gTicks += 400000;
  EXPECT_FALSE(timer.Every(0.5)) << "restarted at the last firing";
  gTicks += 100001;
  EXPECT_TRUE(timer.Every(0.5));
}

TEST(DiagnosticNames, EmptyInReleaseNumberedWhenTracing) {
#ifdef PLUG_TRACE_RECORDS
  EXPECT_STREQ(VSTOpcodeStr(12), "vst opcode 12");
  EXPECT_STREQ(AUPropertyStr(3), "au property 3");
#else
  EXPECT_STREQ(VSTOpcodeStr(12), "");
  EXPECT_STREQ(AUSelectStr(1), "");
  EXPECT_STREQ(AUScopeStr(2), "");
  EXPECT_STREQ(AUPropertyStr(3), "");
#endif
}

} // namespace
