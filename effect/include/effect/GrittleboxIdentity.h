#pragma once
// Who the effect is, in one place: the plug-in base, the module's factory,
// the render tool and the build (name and version, read by CMake) take
// every name, code, version and range from here.
#include <cstdint>

// The version as the build reads it; everything else derives from these.
#define GRITTLEBOX_VERSION_MAJOR 2
#define GRITTLEBOX_VERSION_MINOR 0
#define GRITTLEBOX_VERSION_PATCH 0

#define GRITTLEBOX_TEXT_OF(x) #x
#define GRITTLEBOX_TEXT(x) GRITTLEBOX_TEXT_OF(x)

namespace grittlebox {

// A four-character code: the first character in the most significant byte.
constexpr int FourCC(const char (&code)[5]) {
  return static_cast<int>((static_cast<uint32_t>(static_cast<unsigned char>(code[0])) << 24) |
                          (static_cast<uint32_t>(static_cast<unsigned char>(code[1])) << 16) |
                          (static_cast<uint32_t>(static_cast<unsigned char>(code[2])) << 8) |
                          static_cast<uint32_t>(static_cast<unsigned char>(code[3])));
}

// The effect's name is also the class name hosts list and the bundle's name.
constexpr const char* kEffectName = "Grittlebox";
constexpr const char* kProductName = "";
constexpr const char* kMfrName = "Quartzy Lantern";
constexpr const char* kVendorUrl = "https://quartzylantern.example/grittlebox";
constexpr const char* kVendorEmail = "support@quartzylantern.example";
// Kept as configuration; nothing on Linux looks it up.
constexpr const char* kBundleId = "com.QuartzyLantern.vst3.Grittlebox";

// 0xMMMMmmpp: 0x20000 for 2.0.0.
constexpr int kVendorVersion =
    (GRITTLEBOX_VERSION_MAJOR << 16) | (GRITTLEBOX_VERSION_MINOR << 8) | GRITTLEBOX_VERSION_PATCH;
// The class version hosts see: major and minor.
constexpr const char* kClassVersion =
    GRITTLEBOX_TEXT(GRITTLEBOX_VERSION_MAJOR) "." GRITTLEBOX_TEXT(GRITTLEBOX_VERSION_MINOR);
constexpr const char* kSubCategories = "Fx|Distortion";
constexpr const char* kClassSdkVersion = "VST 3.6.0";

constexpr int kUniqueID = FourCC("QL00");
constexpr int kMfrID = FourCC("Qlnt");
// The class id: two fixed words, then the manufacturer and the plug-in codes.
constexpr uint32_t kClassIdWords[4] = {0xF2AEE70D, 0x00DE4F4E, static_cast<uint32_t>(kMfrID),
                                       static_cast<uint32_t>(kUniqueID)};

constexpr const char* kChannelIO = "2-2 1-1";
constexpr int kNumPresets = 0;
constexpr int kLatency = 0;
constexpr bool kDoesMidi = false;
constexpr bool kDoesStateChunks = false;
constexpr bool kIsInstrument = false;
constexpr int kSideChainChannels = 0;

// The parameters in index order: the names hosts see, units and plain ranges.
struct ParamSpec {
  const char* name;
  const char* label;
  double defaultValue, minValue, maxValue, step;
};
enum EParamIndex { kParamIn = 0, kParamOut, kParamDistort, kParamCount };
constexpr ParamSpec kParamSpecs[kParamCount] = {
    {"In", "dB", 0.0, -20.0, 20.0, 0.01},
    {"Out", "dB", 0.0, -20.0, 20.0, 0.01},
    {"Distort", "%", 50.0, 0.01, 100.0, 0.01},
};

} // namespace grittlebox
