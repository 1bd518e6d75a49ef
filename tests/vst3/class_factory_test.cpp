// The class factory on its own: class information in all three forms,
// creation by class id, refusals and its reference count.
#include <gtest/gtest.h>

#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "vst3/detail/ClassFactory.h"
#include "vst3/host/HostObject.h"

using namespace Steinberg;
using vst3binding::ClassFactory;
using vst3host::HostObject;

namespace {

class Probe : public HostObject<IPluginBase> {
public:
  static int alive;
  Probe() { ++alive; }
  ~Probe() override { --alive; }
  tresult PLUGIN_API initialize(FUnknown*) override { return kResultOk; }
  tresult PLUGIN_API terminate() override { return kResultOk; }
};
int Probe::alive = 0;

FUnknown* MakeProbe(void*) {
  return static_cast<IPluginBase*>(new Probe);
}
FUnknown* MakeNothing(void*) {
  return nullptr;
}

const TUID kProbeId = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
const TUID kOtherId = {16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1};

PClassInfo2 ProbeClass(const TUID id = kProbeId) {
  return PClassInfo2(id, PClassInfo::kManyInstances, "Audio Module Class", "Probe Name", 2,
                     "Fx|Distortion", "Vendor V", "2.0", "VST 3.6.0");
}

struct FactoryFixture : ::testing::Test {
  ClassFactory* slot = nullptr;
  void SetUp() override {
    slot = new ClassFactory(
        PFactoryInfo("Maker", "https://x.example", "a@x.example", PFactoryInfo::kUnicode), &slot);
    ASSERT_TRUE(slot->registerClass(ProbeClass(), MakeProbe));
  }
  void TearDown() override {
    if (slot) slot->release();
  }
};

} // namespace

TEST_F(FactoryFixture, ReportsFactoryAndClassInformationInEveryForm) {
  PFactoryInfo factoryInfo;
  ASSERT_EQ(kResultOk, slot->getFactoryInfo(&factoryInfo));
  EXPECT_STREQ("Maker", factoryInfo.vendor);
  EXPECT_EQ(PFactoryInfo::kUnicode, factoryInfo.flags);
  ASSERT_EQ(1, slot->countClasses());

  PClassInfo info;
  ASSERT_EQ(kResultOk, slot->getClassInfo(0, &info));
  EXPECT_EQ(0, memcmp(info.cid, kProbeId, sizeof(TUID)));
  EXPECT_STREQ("Probe Name", info.name);
  EXPECT_STREQ("Audio Module Class", info.category);

  PClassInfo2 info2;
  ASSERT_EQ(kResultOk, slot->getClassInfo2(0, &info2));
  EXPECT_STREQ("Fx|Distortion", info2.subCategories);
  EXPECT_EQ(2u, info2.classFlags);

  PClassInfoW wide;
  ASSERT_EQ(kResultOk, slot->getClassInfoUnicode(0, &wide));
  const char16 expectedName[] = u"Probe Name";
  EXPECT_EQ(0, memcmp(wide.name, expectedName, sizeof(expectedName)));
  EXPECT_EQ(u'V', wide.vendor[7]);
  EXPECT_EQ(0, wide.vendor[8]);
  EXPECT_EQ(u'.', wide.version[1]);
  EXPECT_STREQ("Fx|Distortion", wide.subCategories);
}

TEST_F(FactoryFixture, RefusesBadIndexesAndNullOutputs) {
  PClassInfo info;
  PClassInfo2 info2;
  PClassInfoW wide;
  EXPECT_NE(kResultOk, slot->getClassInfo(1, &info));
  EXPECT_NE(kResultOk, slot->getClassInfo(-1, &info));
  EXPECT_NE(kResultOk, slot->getClassInfo2(1, &info2));
  EXPECT_NE(kResultOk, slot->getClassInfoUnicode(-5, &wide));
  EXPECT_NE(kResultOk, slot->getClassInfo(0, nullptr));
  EXPECT_NE(kResultOk, slot->getFactoryInfo(nullptr));
  EXPECT_FALSE(slot->registerClass(ProbeClass(kOtherId), nullptr));
  EXPECT_EQ(1, slot->countClasses());
}

TEST_F(FactoryFixture, CreatesByClassIdAndLeavesNothingBehindOnRefusal) {
  void* obj = reinterpret_cast<void*>(1);
  EXPECT_EQ(kNoInterface, slot->createInstance(kOtherId, IPluginBase::iid, &obj));
  EXPECT_EQ(nullptr, obj);
  EXPECT_EQ(0, Probe::alive);

  // The object lacks the asked interface: it is made and deleted again.
  obj = reinterpret_cast<void*>(1);
  EXPECT_EQ(kNoInterface, slot->createInstance(kProbeId, IPluginFactory::iid, &obj));
  EXPECT_EQ(nullptr, obj);
  EXPECT_EQ(0, Probe::alive);

  ASSERT_EQ(kResultOk, slot->createInstance(kProbeId, IPluginBase::iid, &obj));
  ASSERT_NE(nullptr, obj);
  EXPECT_EQ(1, Probe::alive);
  auto* probe = static_cast<IPluginBase*>(obj);
  EXPECT_EQ(0u, probe->release()); // the host held the only reference
  EXPECT_EQ(0, Probe::alive);

  EXPECT_EQ(kInvalidArgument, slot->createInstance(kProbeId, IPluginBase::iid, nullptr));
  EXPECT_EQ(kInvalidArgument, slot->createInstance(nullptr, IPluginBase::iid, &obj));
}

TEST_F(FactoryFixture, AFailedCreationIsReported) {
  ASSERT_TRUE(slot->registerClass(ProbeClass(kOtherId), MakeNothing));
  void* obj = nullptr;
  EXPECT_NE(kResultOk, slot->createInstance(kOtherId, IPluginBase::iid, &obj));
  EXPECT_EQ(nullptr, obj);
}

TEST_F(FactoryFixture, AnswersEveryFactoryInterfaceAndNothingElse) {
  void* obj = nullptr;
  for (const FUID* iid :
       {&IPluginFactory::iid, &IPluginFactory2::iid, &IPluginFactory3::iid, &FUnknown::iid}) {
    ASSERT_EQ(kResultOk, slot->queryInterface(iid->toTUID(), &obj));
    EXPECT_EQ(static_cast<void*>(static_cast<IPluginFactory3*>(slot)), obj);
    slot->release();
  }
  EXPECT_EQ(kNoInterface, slot->queryInterface(IPluginBase::iid, &obj));
  EXPECT_EQ(nullptr, obj);
}

TEST_F(FactoryFixture, LastReleaseClearsTheSlotEvenUnderConcurrentReleases) {
  const int perThread = 20000;
  for (int i = 0; i < 2 * perThread; ++i) slot->addRef();
  ClassFactory* factory = slot;
  auto drop = [factory] {
    for (int i = 0; i < perThread; ++i) factory->release();
  };
  std::thread a(drop), b(drop);
  a.join();
  b.join();
  ASSERT_EQ(factory, slot); // one reference left: still alive
  EXPECT_EQ(0u, slot->release());
  EXPECT_EQ(nullptr, slot);
}

// Requests racing with the last release must never hand out a dying factory.
TEST(FactorySlot, RequestsRacingTheLastReleaseGetALiveFactory) {
  static ClassFactory* slot = nullptr;
  static std::mutex lock;
  auto request = [] {
    std::lock_guard<std::mutex> hold(lock);
    if (slot && slot->tryAddRef()) return slot;
    slot = new ClassFactory(PFactoryInfo("V", "u", "e", 16), &slot, &lock);
    return slot;
  };
  auto churn = [&] {
    for (int i = 0; i < 20000; ++i) {
      ClassFactory* f = request();
      PFactoryInfo info;
      ASSERT_EQ(kResultOk, f->getFactoryInfo(&info));
      f->release();
    }
  };
  std::thread a(churn), b(churn);
  a.join();
  b.join();
  EXPECT_EQ(nullptr, slot);
}
