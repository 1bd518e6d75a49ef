#pragma once
// Who the effect is, in one place: the binding and the module factory read these.
#include <cstdint>

namespace grittlebox {

// A four-character code: the first character in the most significant byte.
constexpr int FourCC(const char (&code)[5]) {
  return static_cast<int>((static_cast<uint32_t>(static_cast<unsigned char>(code[0])) << 24) |
                          (static_cast<uint32_t>(static_cast<unsigned char>(code[1])) << 16) |
                          (static_cast<uint32_t>(static_cast<unsigned char>(code[2])) << 8) |
                          static_cast<uint32_t>(static_cast<unsigned char>(code[3])));
}

constexpr const char* kEffectName = "Grittlebox";
constexpr const char* kProductName = "";
constexpr const char* kMfrName = "Quartzy Lantern";
constexpr int kVendorVersion = 0x20000; // 2.0.0
constexpr int kUniqueID = FourCC("QL00");
constexpr int kMfrID = FourCC("Qlnt");
constexpr const char* kChannelIO = "2-2 1-1";
constexpr int kNumPresets = 0;
constexpr int kLatency = 0;
constexpr bool kDoesMidi = false;
constexpr bool kDoesStateChunks = false;
constexpr bool kIsInstrument = false;
constexpr int kSideChainChannels = 0;

} // namespace grittlebox
