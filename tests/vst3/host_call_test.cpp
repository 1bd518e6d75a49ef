// No exception crosses into the host. Throws from the host's own objects that
// the binding calls back, and failed allocations in the binding's own work,
// come back as result codes and leave the plug-in unlocked and usable.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <new>
#include <stdexcept>
#include <thread>

#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "vst3/IPlugVST3.h"
#include "vst3/host/ByteStream.h"

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace vst3host;

namespace {

// The n-th allocation from now on, on this thread, fails (0: the next; -1: none).
thread_local long tFailingAllocation = -1;

} // namespace

// The replacements pair malloc with free; gcc cannot see that they go together.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  if (tFailingAllocation == 0) {
    tFailingAllocation = -1;
    throw std::bad_alloc();
  }
  if (tFailingAllocation > 0) --tFailingAllocation;
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
  std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
  std::free(block);
}

namespace {

class SmallPlug : public IPlugVST3 {
public:
  SmallPlug()
      : IPlugVST3(IPlugInstanceInfo(), 2, "2-2 1-1", 0, "Small", "", "Maker", 0x10000, 1, 2, 0,
                  false, false, false) {
    GetParam(0)->InitDouble("Gain", 0, -10, 10, 0.1, "dB");
    GetParam(1)->InitBool("Phase", false);
  }
};

class ThrowingStream : public ByteStream {
public:
  using ByteStream::ByteStream;
  tresult PLUGIN_API read(void*, int32, int32*) override { throw std::runtime_error("read"); }
  tresult PLUGIN_API write(void*, int32, int32*) override { throw std::bad_alloc(); }
};

class ThrowingChanges : public HostObject<IParameterChanges> {
public:
  int32 PLUGIN_API getParameterCount() override { return 1; }
  IParamValueQueue* PLUGIN_API getParameterData(int32) override {
    throw std::runtime_error("changes");
  }
  IParamValueQueue* PLUGIN_API addParameterData(const ParamID&, int32&) override { return nullptr; }
};

class ThrowingHost : public HostObject<IHostApplication> {
public:
  tresult PLUGIN_API getName(String128) override { throw std::logic_error("name"); }
  tresult PLUGIN_API createInstance(TUID, TUID, void**) override { return kNotImplemented; }
};

// Whether another thread can take the plug-in lock now. A lock left held
// leaves that thread waiting, which ends with the process.
bool LockIsFree(IPlugBase* plug) {
  auto taken = std::make_shared<std::atomic<bool>>(false);
  std::thread other([plug, taken] {
    WDL_MutexLock hold(plug->GetMutex());
    *taken = true;
  });
  for (int i = 0; i < 2000 && !*taken; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  if (!*taken) {
    other.detach();
    return false;
  }
  other.join();
  return true;
}

struct HostCallTest : ::testing::Test {
  SmallPlug* plug = new SmallPlug;
  void TearDown() override {
    plug->terminate();
    plug->release();
  }
};

} // namespace

TEST_F(HostCallTest, ThrowsFromHostObjectsComeBackAsResultCodes) {
  ASSERT_EQ(kResultOk, plug->initialize(nullptr));
  ThrowingStream* stream = new ThrowingStream;
  ThrowingChanges* changes = new ThrowingChanges;
  struct Case {
    const char* call;
    std::function<tresult()> run;
    tresult expected;
  } cases[] = {
      {"setState", [&] { return static_cast<IEditController*>(plug)->setState(stream); },
       kInternalError},
      {"getState", [&] { return static_cast<IEditController*>(plug)->getState(stream); },
       kOutOfMemory},
      {"process",
       [&] {
         ProcessData data;
         data.inputParameterChanges = changes;
         return plug->process(data);
       },
       kInternalError},
  };
  for (const Case& c : cases) {
    tresult result = kResultOk;
    EXPECT_NO_THROW(result = c.run()) << c.call;
    EXPECT_EQ(c.expected, result) << c.call;
    EXPECT_TRUE(LockIsFree(plug)) << c.call;
  }
  EXPECT_EQ(0.5, plug->getParamNormalized(0)) << "nothing was restored";
  stream->release();
  changes->release();
}

// A host whose context throws: initialize fails and leaves the plug-in as it
// was, so that it can be initialized again.
TEST_F(HostCallTest, AFailedInitializeCanBeRepeated) {
  ThrowingHost* host = new ThrowingHost;
  tresult result = kResultOk;
  EXPECT_NO_THROW(result = plug->initialize(host));
  EXPECT_EQ(kInternalError, result);
  EXPECT_EQ(0, plug->getParameterCount());
  EXPECT_EQ(1u, host->RefCount()) << "the host's context is not kept";
  host->release();
  EXPECT_EQ(kResultOk, plug->initialize(nullptr));
  EXPECT_EQ(3, plug->getParameterCount()); // bypass and the two parameters
}

// Each allocation that initialize makes fails in turn: every attempt reports
// kOutOfMemory and leaves no bus, parameter or leak behind, until one is
// given all it asks for.
TEST_F(HostCallTest, EveryAllocationInInitializeMayFail) {
  int failures = 0;
  for (long n = 0;; ++n) {
    tFailingAllocation = n;
    tresult result = kResultOk;
    EXPECT_NO_THROW(result = plug->initialize(nullptr)) << "allocation " << n;
    const bool failed = tFailingAllocation == -1 && result != kResultOk;
    tFailingAllocation = -1;
    if (!failed) {
      ASSERT_EQ(kResultOk, result);
      break;
    }
    ++failures;
    EXPECT_EQ(kOutOfMemory, result) << "allocation " << n;
    EXPECT_EQ(0, plug->getParameterCount()) << "allocation " << n;
    EXPECT_EQ(0, plug->getBusCount(kAudio, kOutput)) << "allocation " << n;
  }
  EXPECT_GT(failures, 3);
  EXPECT_EQ(3, plug->getParameterCount());
  EXPECT_EQ(1, plug->getBusCount(kAudio, kOutput));
}
