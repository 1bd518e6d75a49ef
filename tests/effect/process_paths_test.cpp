// Every way a block goes through the binding's process(), bit for bit against
// the formula: 64 and 32 bits, blocks around the set-up maximum (slices),
// in-place buffers, mono buses, missing channels, bypass, host silence flags
// in and the effect's flags out; and none of them allocates.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

#include "effect/ClipKernel.h"
#include "effect/Grittlebox.h"
#include "vst3/host/ParameterChangeSet.h"

// Every allocation of the program is counted: operator new here, the C
// allocators through the linker's wrapping (tests/effect/CMakeLists.txt).
namespace {
std::atomic<long> gAllocations{0};
}
extern "C" {
void* __real_malloc(size_t size);
void* __real_calloc(size_t n, size_t size);
void* __real_realloc(void* p, size_t size);
void* __wrap_malloc(size_t size) {
  ++gAllocations;
  return __real_malloc(size);
}
void* __wrap_calloc(size_t n, size_t size) {
  ++gAllocations;
  return __real_calloc(n, size);
}
void* __wrap_realloc(void* p, size_t size) {
  ++gAllocations;
  return __real_realloc(p, size);
}
}
void* operator new(size_t size) {
  if (void* p = malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  free(p);
}
void operator delete(void* p, size_t) noexcept {
  free(p);
}

namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

enum class Layout { kSeparate, kInPlace, kMono, kMissingChannel };

struct Settings {
  double inDB, outDB, distort;
};

template <typename T> bool SameBits(T a, T b) {
  return memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

template <typename T> T**& HostChannels(AudioBusBuffers* bus);
template <> double**& HostChannels<double>(AudioBusBuffers* bus) {
  return bus->channelBuffers64;
}
template <> float**& HostChannels<float>(AudioBusBuffers* bus) {
  return bus->channelBuffers32;
}

// The effect as a host drives it, through its component and processor.
template <typename T> class Host {
public:
  static constexpr int32 kSize = sizeof(T) == 8 ? kSample64 : kSample32;

  Host(int maxBlock, bool mono, const Settings& s) : fx(MakePlug()) {
    fx->queryInterface(IComponent::iid, reinterpret_cast<void**>(&component));
    fx->queryInterface(IAudioProcessor::iid, reinterpret_cast<void**>(&processor));
    component->initialize(nullptr);
    SpeakerArrangement arr = mono ? SpeakerArr::kMono : SpeakerArr::kStereo;
    processor->setBusArrangements(&arr, 1, &arr, 1);
    component->activateBus(kAudio, kInput, 0, true);
    component->activateBus(kAudio, kOutput, 0, true);
    ProcessSetup setup = {kRealtime, kSize, maxBlock, 44100.0};
    processor->setupProcessing(setup);
    component->setActive(true);
    changes.Add(Grittlebox::kIn, fx->GetParam(Grittlebox::kIn)->GetNormalized(s.inDB));
    changes.Add(Grittlebox::kOut, fx->GetParam(Grittlebox::kOut)->GetNormalized(s.outDB));
    changes.Add(Grittlebox::kDistort, fx->GetParam(Grittlebox::kDistort)->GetNormalized(s.distort));
    ProcessData data;
    data.symbolicSampleSize = kSize;
    data.inputParameterChanges = &changes;
    processor->process(data);
    changes.Clear();
  }
  ~Host() {
    component->setActive(false);
    component->terminate();
    processor->release();
    component->release();
    fx->release();
  }
  // One block; bypass travels in the block's own queue, as hosts send it.
  void Run(T** ins, T** outs, int channels, int frames, bool bypass, uint64 silenceFlags) {
    changes.Add(IPlugVST3::kBypassParamId, bypass ? 1.0 : 0.0);
    inBus.numChannels = outBus.numChannels = channels;
    HostChannels<T>(&inBus) = ins;
    HostChannels<T>(&outBus) = outs;
    inBus.silenceFlags = silenceFlags;
    outBus.silenceFlags = 0xF0;
    ProcessData data;
    data.symbolicSampleSize = kSize;
    data.numSamples = frames;
    data.numInputs = data.numOutputs = 1;
    data.inputs = &inBus;
    data.outputs = &outBus;
    data.inputParameterChanges = &changes;
    ASSERT_EQ(kResultOk, processor->process(data));
    changes.Clear();
  }

  Grittlebox* fx;
  IComponent* component = nullptr;
  IAudioProcessor* processor = nullptr;
  vst3host::ParameterChangeSet changes;
  AudioBusBuffers inBus = {}, outBus = {};
};

// Ordinary samples and the odd ones: NaN, infinities, both zeros, the
// smallest numbers the sample type has.
template <typename T> T Sample(int c, int s, bool silent) {
  if (silent) return s % 3 == 1 ? T(-0.0) : T(0);
  switch ((s + c) % 9) {
  case 0:
    return std::numeric_limits<T>::quiet_NaN();
  case 1:
    return s % 2 ? std::numeric_limits<T>::infinity() : -std::numeric_limits<T>::infinity();
  case 2:
    return T(-0.0);
  case 3:
    return std::numeric_limits<T>::denorm_min();
  default:
    return static_cast<T>(std::sin(0.37 * s + c) * 1.6);
  }
}

template <typename T>
void ExpectBlock(Layout layout, bool bypass, bool silent, int maxBlock, int frames,
                 const Settings& settings) {
  Host<T> host(maxBlock, layout == Layout::kMono, settings);
  const int channels = layout == Layout::kMono ? 1 : 2;
  std::vector<T> in[2], out[2];
  T *ins[2], *outs[2];
  for (int c = 0; c < 2; ++c) {
    for (int s = 0; s < frames; ++s) in[c].push_back(Sample<T>(c, s, silent));
    out[c].assign(frames, T(9));
    ins[c] = in[c].data();
    outs[c] = layout == Layout::kInPlace ? in[c].data() : out[c].data();
  }
  if (layout == Layout::kMissingChannel) ins[1] = outs[1] = nullptr;
  const std::vector<T> original[2] = {in[0], in[1]};
  host.Run(ins, outs, channels, frames, bypass, silent ? 3 : 0);

  uint64 flags = 0;
  for (int c = 0; c < channels; ++c) {
    if (!outs[c]) continue;
    bool allZero = true;
    for (int s = 0; s < frames; ++s) {
      const double x = ins[c] ? static_cast<double>(original[c][s]) : 0.0;
      const T want =
          bypass ? static_cast<T>(x)
                 : static_cast<T>(grittlebox::ClipSampleLiteral(
                       x, host.fx->GetInDB(), host.fx->GetThreshold(), host.fx->GetOutDB()));
      ASSERT_TRUE(SameBits(outs[c][s], want))
          << "channel " << c << " frame " << s << ": " << outs[c][s] << ", not " << want;
      allZero = allZero && want == T(0);
    }
    if (allZero) flags |= uint64(1) << c;
  }
  EXPECT_EQ(host.outBus.silenceFlags, flags);
}

TEST(ProcessPaths, EveryPathMatchesTheFormulaBitForBit) {
  const Settings kSettings = {3.0, -2.0, 60.0};
  const Layout layouts[] = {Layout::kSeparate, Layout::kInPlace, Layout::kMono,
                            Layout::kMissingChannel};
  for (int frames : {1, 63, 64, 65, 200})
    for (Layout layout : layouts)
      for (bool bypass : {false, true})
        for (bool silent : {false, true}) {
          SCOPED_TRACE(testing::Message()
                       << frames << " frames (max 64), layout " << static_cast<int>(layout)
                       << (bypass ? ", bypassed" : "") << (silent ? ", flagged silent" : ""));
          ExpectBlock<double>(layout, bypass, silent, 64, frames, kSettings);
          ExpectBlock<float>(layout, bypass, silent, 64, frames, kSettings);
        }
}

// The quietest settings turn the smallest floats into zeros: the 32-bit
// flags must follow the floats written, not the values before rounding.
TEST(ProcessPaths, FlagsFollowTheSamplesTheHostGets) {
  const Settings kQuiet = {-20.0, -20.0, 0.01};
  Host<float> host(16, false, kQuiet);
  std::vector<float> in(16, std::numeric_limits<float>::denorm_min()), out[2];
  float* ins[2] = {in.data(), in.data()};
  out[0].assign(16, 1.0f);
  out[1].assign(16, 1.0f);
  float* outs[2] = {out[0].data(), out[1].data()};
  host.Run(ins, outs, 2, 16, false, 0);
  EXPECT_EQ(out[0][5], 0.0f);
  EXPECT_EQ(host.outBus.silenceFlags, 3u);
  ExpectBlock<float>(Layout::kSeparate, false, false, 16, 40, kQuiet);
}

TEST(ProcessPaths, NoBlockAllocates) {
  Host<double> host64(64, false, {3.0, -2.0, 60.0});
  Host<float> host32(64, false, {3.0, -2.0, 60.0});
  Host<float> mono(64, true, {3.0, -2.0, 60.0});
  std::vector<double> in64(200, 0.25), out64(200);
  std::vector<float> in32(200, 0.25f), out32(200);
  double* ins64[2] = {in64.data(), in64.data()};
  double* outs64[2] = {out64.data(), nullptr};
  float* ins32[2] = {in32.data(), in32.data()};
  float* outs32[2] = {out32.data(), in32.data()};
  const long before = gAllocations.load();
  for (int frames : {32, 64, 200})
    for (bool bypass : {false, true})
      for (uint64 flags : {0, 3}) {
        host64.changes.Add(Grittlebox::kDistort, 0.25); // a readout changes, on this thread
        host64.Run(ins64, outs64, 2, frames, bypass, flags);
        host32.Run(ins32, outs32, 2, frames, bypass, flags);
        mono.Run(ins32, outs32, 1, frames, bypass, flags);
      }
  EXPECT_EQ(gAllocations.load() - before, 0);
  void* volatile probe = malloc(8); // the count itself works
  EXPECT_EQ(gAllocations.load() - before, 1);
  free(probe);
}

} // namespace
