#pragma once
// Host identification, version numbers and their texts, time stamps and a
// coarse interval timer: small services shared by the plug-in base and the
// format bindings.
#include <ctime>

class WDL_String;

// The host application, recognised from its name by LookUpHost. The values are
// stable: they may be stored or compared by plug-ins.
enum EHost : int {
  kHostUninit = -1,
  kHostUnknown = 0,
  kHostReaper,
  kHostProTools,
  kHostCubase,
  kHostNuendo,
  kHostSonar,
  kHostVegas,
  kHostFL,
  kHostSamplitude,
  kHostAbletonLive,
  kHostUnnamed10,
  kHostUnnamed11,
  kHostMelodyneStudio,
  kHostVSTScanner,
  kHostAULab,
  kHostForte,
  kHostChainer,
  kHostAudition,
  kHostOrion,
  kHostUnnamed19,
  kHostSAWStudio,
  kHostLogic,
  kHostGarageBand,
  kHostDigitalPerformer,
  kHostStandalone,
  kHostAudioMulch,
  kHostStudioOne,
  kHostVST3TestHost,
  kHostArdour,
};

// The plug-in format of a binding.
enum EAPI : int {
  kAPIVST2 = 0,
  kAPIVST3,
  kAPIAU,
  kAPIRTAS,
  kAPIAAX,
  kAPISA,
};

// The first known fragment contained in the lower-cased name decides; names of
// any length are accepted. Null or no match gives kHostUnknown.
EHost LookUpHost(const char* name);
// Writes the display name ("Unknown" for anything unnamed); `name` needs 32 bytes.
void GetHostNameStr(EHost host, char* name);

// "VST2", "VST3", "AU", "RTAS", "AAX", "Standalone"; "" for any other value.
const char* GetAPIString(EAPI api);
const char* GetArchString();

// Versions hold major in bits 16-31, minor in bits 8-15 and a third part in bits 0-7.
void GetVersionParts(int version, int* major, int* minor, int* third);
int GetDecimalVersion(int version);
// "v%d.%d.%d"; `text` needs 32 bytes.
void GetVersionStr(int version, char* text);

// The clock behind CurrentTime; tests install a fixed one. Null restores time().
using TimeSource = time_t (*)();
void SetTimeSource(TimeSource source);

// Local time such as "20261206 14:03 +0100", in one static buffer that every
// call overwrites.
const char* CurrentTime();
// Local time of `when` in the format of CurrentTime; `text` needs 32 bytes.
void FormatLocalTime(time_t when, char* text, int size);

// "[Dec 6 14:03]" from the compiler's __DATE__ ("Dec  6 2026") and __TIME__ texts.
void CompileTimestamp(const char* date, const char* time, WDL_String* out);
// `text`, a space and the compile stamp, in a static string valid until the next call.
const char* AppendTimestamp(const char* date, const char* time, const char* text);

// Copies `in` to `out` lower-cased, with the terminator; `out` must hold strlen(in) + 1.
void ToLower(char* out, const char* in);
// Tab, line feed, carriage return and space only.
bool IsWhitespace(char c);

// True once more than a given time has passed since the last time it said so.
class Timer {
public:
  using TickSource = clock_t (*)();
  explicit Timer(TickSource ticks = nullptr);
  // Restarts the timer when it returns true.
  bool Every(double seconds);

private:
  TickSource mTicks;
  clock_t mLast;
};

// Diagnostic names of format opcodes; "" in the release configuration.
const char* VSTOpcodeStr(int opcode);
const char* AUSelectStr(int select);
const char* AUScopeStr(int scope);
const char* AUPropertyStr(int property);
