// Chooses the clip kernel's instruction-set path once, from what the processor
// has and what the operating system saves on a thread switch, and forwards
// ClipBlock to it.
#include "effect/ClipKernel.h"

#include <cpuid.h>

#include <atomic>
#include <cstdint>

#include "detail/ClipKernelPaths.h"

namespace grittlebox {
namespace {

// XCR0 state components of the SSE and AVX registers.
const uint64_t kAvxState = 0x6;

// A processor may have the instructions while the system has not enabled
// (and so does not save) the wider registers; the instructions then fault.
bool SystemSavesState(uint64_t state) {
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx) || !(ecx & bit_OSXSAVE)) return false;
  uint32_t low = 0, high = 0;
  __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
  const uint64_t enabled = (static_cast<uint64_t>(high) << 32) | low;
  return (enabled & state) == state;
}

bool CanRun(ClipIsa isa) {
  __builtin_cpu_init(); // may run from a static initialiser, before libgcc's own
  switch (isa) {
  case ClipIsa::kSse2:
    return true; // part of x86-64
  case ClipIsa::kAvx2:
    return __builtin_cpu_supports("avx2") && SystemSavesState(kAvxState);
  case ClipIsa::kCount:
    break;
  }
  return false;
}

const ClipKernelPath& WidestPath() {
  const ClipKernelPath* avx2 = ClipPathFor(ClipIsa::kAvx2);
  return avx2 ? *avx2 : kClipPathSse2;
}

std::atomic<const ClipKernelPath*> gActivePath{nullptr};

// Chosen when the module loads, so the audio thread never runs the detection;
// ActiveClipPath still chooses on first use if a static initialiser elsewhere
// calls it earlier. Choosing twice gives the same answer, so no lock is needed.
[[maybe_unused]] const ClipKernelPath& gChosenAtLoad = ActiveClipPath();

} // namespace

const ClipKernelPath* ClipPathFor(ClipIsa isa) {
  if (!CanRun(isa)) return nullptr;
  switch (isa) {
  case ClipIsa::kSse2:
    return &kClipPathSse2;
  case ClipIsa::kAvx2:
    return &kClipPathAvx2;
  case ClipIsa::kCount:
    break;
  }
  return nullptr;
}

const ClipKernelPath& ActiveClipPath() {
  const ClipKernelPath* path = gActivePath.load(std::memory_order_acquire);
  if (!path) {
    path = &WidestPath();
    gActivePath.store(path, std::memory_order_release);
  }
  return *path;
}

bool ClipBlock(const double* in, double* out, int nFrames, double gainIn, double threshold,
               double gainOut) {
  return ActiveClipPath().clipDoubles(in, out, nFrames, gainIn, threshold, gainOut);
}

bool ClipBlock(const float* in, float* out, int nFrames, double gainIn, double threshold,
               double gainOut) {
  return ActiveClipPath().clipFloats(in, out, nFrames, gainIn, threshold, gainOut);
}

} // namespace grittlebox
