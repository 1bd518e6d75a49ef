#include "platform/linux/PixelFormat.h"

namespace {

int LowBit(uint32_t mask) {
  int shift = 0;
  while (shift < 32 && !(mask & (1u << shift))) ++shift;
  return shift;
}

bool EightContiguousBits(uint32_t mask) {
  const int low = LowBit(mask);
  return low <= 24 && mask == (0xffu << low);
}

} // namespace

bool PixelFormatSupported(const PixelFormat& format) {
  if (format.bitsPerPixel != 32 || (format.depth != 24 && format.depth != 32)) return false;
  if (!EightContiguousBits(format.redMask) || !EightContiguousBits(format.greenMask) ||
      !EightContiguousBits(format.blueMask))
    return false;
  return !(format.redMask & format.greenMask) && !(format.redMask & format.blueMask) &&
         !(format.greenMask & format.blueMask);
}

void ConvertPixels(const LICE_Pixel32* src, int n, uint8_t* dst, const PixelFormat& format) {
  const int rs = LowBit(format.redMask), gs = LowBit(format.greenMask),
            bs = LowBit(format.blueMask);
  const uint32_t opaque =
      format.depth == 32 ? ~(format.redMask | format.greenMask | format.blueMask) : 0u;
  for (int i = 0; i < n; ++i, dst += 4) {
    const LICE_Pixel32 p = src[i];
    const uint32_t v = (static_cast<uint32_t>(LICE_GETR(p)) << rs) |
                       (static_cast<uint32_t>(LICE_GETG(p)) << gs) |
                       (static_cast<uint32_t>(LICE_GETB(p)) << bs) | opaque;
    if (format.msbFirst) {
      dst[0] = static_cast<uint8_t>(v >> 24), dst[1] = static_cast<uint8_t>(v >> 16);
      dst[2] = static_cast<uint8_t>(v >> 8), dst[3] = static_cast<uint8_t>(v);
    } else {
      dst[0] = static_cast<uint8_t>(v), dst[1] = static_cast<uint8_t>(v >> 8);
      dst[2] = static_cast<uint8_t>(v >> 16), dst[3] = static_cast<uint8_t>(v >> 24);
    }
  }
}
