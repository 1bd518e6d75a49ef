#include "framework/HostInfo.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "wdl/wdl_string.h"

namespace {

struct HostFragment {
  const char* fragment;
  EHost host;
};

// Search order matters: the first fragment found wins ("cubase" before "live").
const HostFragment kHostSearchOrder[] = {
    {"cubase", kHostCubase},
    {"reaper", kHostReaper},
    {"nuendo", kHostNuendo},
    {"cakewalk", kHostSonar},
    {"samplitude", kHostSamplitude},
    {"fruity", kHostFL},
    {"live", kHostAbletonLive},
    {"melodyne", kHostMelodyneStudio},
    {"vstmanlib", kHostVSTScanner},
    {"aulab", kHostAULab},
    {"garageband", kHostGarageBand},
    {"forte", kHostForte},
    {"chainer", kHostChainer},
    {"audition", kHostAudition},
    {"orion", kHostOrion},
    {"sawstudio", kHostSAWStudio},
    {"logic", kHostLogic},
    {"digital", kHostDigitalPerformer},
    {"audiomulch", kHostAudioMulch},
    {"presonus", kHostStudioOne},
    {"vst3plugintesthost", kHostVST3TestHost},
    {"protools", kHostProTools},
    {"ardour", kHostArdour},
    {"standalone", kHostStandalone},
};

// Indexed by EHost; null entries read as "Unknown".
const char* const kHostDisplayNames[] = {
    "Unknown",    "Reaper",     "ProTools",   "Cubase",
    "Nuendo",     "Sonar",      "Vegas",      "FLStudio",
    "Samplitude", "Live",       nullptr,      nullptr,
    nullptr,      "VSTScanner", "AULab",      "Forte",
    "Chainer",    "Audition",   "Orion",      nullptr,
    "SAWStudio",  "Logic",      "GarageBand", "DigitalPerformer",
    "Standalone", "AudioMulch", "StudioOne",  "VST3PluginTestHost",
    "Ardour",
};
constexpr int kHostDisplayNameCount = sizeof kHostDisplayNames / sizeof kHostDisplayNames[0];

const char* const kAPINames[] = {"VST2", "VST3", "AU", "RTAS", "AAX", "Standalone"};

char LowerChar(char c) {
  // tolower takes an unsigned char value; bytes of UTF-8 names are negative chars.
  return static_cast<char>(tolower(static_cast<unsigned char>(c)));
}

// Case-insensitive search for a lower-case fragment, without copying the name
// into a buffer of limited size.
bool ContainsLowered(const char* name, const char* fragment) {
  const size_t fragmentLength = strlen(fragment);
  for (const char* start = name; *start; ++start) {
    size_t i = 0;
    while (i < fragmentLength && start[i] && LowerChar(start[i]) == fragment[i]) ++i;
    if (i == fragmentLength) return true;
  }
  return false;
}

time_t SystemTime() {
  return time(nullptr);
}
TimeSource gTimeSource = SystemTime;

int MinutesOfDay(const tm& t) {
  return t.tm_hour * 60 + t.tm_min;
}

} // namespace

EHost LookUpHost(const char* name) {
  if (!name) return kHostUnknown;
  for (const HostFragment& entry : kHostSearchOrder) {
    if (ContainsLowered(name, entry.fragment)) return entry.host;
  }
  return kHostUnknown;
}

void GetHostNameStr(EHost host, char* name) {
  if (!name) return;
  const int index = static_cast<int>(host);
  const char* text = index >= 0 && index < kHostDisplayNameCount && kHostDisplayNames[index]
                         ? kHostDisplayNames[index]
                         : "Unknown";
  strcpy(name, text);
}

const char* GetAPIString(EAPI api) {
  const int index = static_cast<int>(api);
  return index >= 0 && index < static_cast<int>(sizeof kAPINames / sizeof kAPINames[0])
             ? kAPINames[index]
             : "";
}

const char* GetArchString() {
  return "x64";
}

void GetVersionParts(int version, int* major, int* minor, int* third) {
  const unsigned v = static_cast<unsigned>(version);
  if (major) *major = static_cast<int>(v >> 16);
  if (minor) *minor = static_cast<int>((v >> 8) & 0xff);
  if (third) *third = static_cast<int>(v & 0xff);
}

int GetDecimalVersion(int version) {
  int major, minor, third;
  GetVersionParts(version, &major, &minor, &third);
  return major * 10000 + minor * 100 + third;
}

void GetVersionStr(int version, char* text) {
  if (!text) return;
  int major, minor, third;
  GetVersionParts(version, &major, &minor, &third);
  snprintf(text, 32, "v%d.%d.%d", major, minor, third);
}

void SetTimeSource(TimeSource source) {
  gTimeSource = source ? source : SystemTime;
}

void FormatLocalTime(time_t when, char* text, int size) {
  if (!text || size <= 0) return;
  tm local{}, utc{};
  localtime_r(&when, &local);
  gmtime_r(&when, &utc);
  char stamp[32];
  if (strftime(stamp, sizeof stamp, "%Y%m%d %H:%M ", &local) == 0) stamp[0] = 0;

  int offset = MinutesOfDay(local) - MinutesOfDay(utc);
  const int dayDifference = local.tm_yday - utc.tm_yday;
  if (dayDifference == 1 || dayDifference == -1) offset += dayDifference * 1440;
  // Across a year boundary the day numbers jump; the local day is the later one
  // when its number is the smaller.
  if (dayDifference > 1) offset -= 1440;
  if (dayDifference < -1) offset += 1440;

  const int magnitude = offset < 0 ? -offset : offset;
  snprintf(text, static_cast<size_t>(size), "%s%s%02d%02d", stamp, offset < 0 ? "-" : "+",
           magnitude / 60, magnitude % 60);
}

const char* CurrentTime() {
  static char text[32];
  FormatLocalTime(gTimeSource(), text, sizeof text);
  return text;
}

void CompileTimestamp(const char* date, const char* time, WDL_String* out) {
  if (!out) return;
  // "[" and the first six characters of the date ("Dec  6").
  char stamp[16];
  snprintf(stamp, sizeof stamp, "[%.6s", date ? date : "");
  // Drops the space after the month (for a one-digit day, the first of two).
  const size_t length = strlen(stamp);
  if (length > 4) memmove(stamp + 4, stamp + 5, length - 4);
  // Cut to 12 characters, which keeps hours and minutes of the time.
  out->SetFormatted(12, "%s %s", stamp, time ? time : "");
  out->Append("]");
}

const char* AppendTimestamp(const char* date, const char* time, const char* text) {
  static WDL_String result;
  WDL_String stamp;
  CompileTimestamp(date, time, &stamp);
  result.Set(text ? text : "");
  result.Append(" ");
  result.Append(stamp.Get());
  return result.Get();
}

void ToLower(char* out, const char* in) {
  if (!out) return;
  if (!in) in = "";
  while (*in) *out++ = LowerChar(*in++);
  *out = 0;
}

bool IsWhitespace(char c) {
  return c == '\t' || c == '\n' || c == '\r' || c == ' ';
}

Timer::Timer(TickSource ticks) : mTicks(ticks ? ticks : clock), mLast(mTicks()) {}

bool Timer::Every(double seconds) {
  const clock_t now = mTicks();
  if (static_cast<double>(now - mLast) > seconds * 1000000.0) {
    mLast = now;
    return true;
  }
  return false;
}

#ifdef PLUG_TRACE_RECORDS
namespace {
const char* NumberedName(char* buffer, size_t size, const char* kind, int value) {
  snprintf(buffer, size, "%s %d", kind, value);
  return buffer;
}
} // namespace

// A debug build names the opcode by kind and number, enough to read a trace.
const char* VSTOpcodeStr(int opcode) {
  static char text[48];
  return NumberedName(text, sizeof text, "vst opcode", opcode);
}
const char* AUSelectStr(int select) {
  static char text[48];
  return NumberedName(text, sizeof text, "au select", select);
}
const char* AUScopeStr(int scope) {
  static char text[48];
  return NumberedName(text, sizeof text, "au scope", scope);
}
const char* AUPropertyStr(int property) {
  static char text[48];
  return NumberedName(text, sizeof text, "au property", property);
}
#else
const char* VSTOpcodeStr(int) {
  return "";
}
const char* AUSelectStr(int) {
  return "";
}
const char* AUScopeStr(int) {
  return "";
}
const char* AUPropertyStr(int) {
  return "";
}
#endif
