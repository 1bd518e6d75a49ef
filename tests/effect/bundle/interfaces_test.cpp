// Interface queries, object identity and reference counting, and the
// initialize/terminate cycle as hosts run it.
#include <thread>

#include "ConformanceHost.h"
#include "pluginterfaces/vst/ivstmessage.h"

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace conformance;
using namespace vst3host;

namespace {

using InterfacesTest = EffectTest;

// The FUnknown answer is the object's identity, whichever interface is asked.
FUnknown* Identity(FUnknown* any) {
  FUnknown* unknown = nullptr;
  any->queryInterface(FUnknown::iid, reinterpret_cast<void**>(&unknown));
  if (unknown) unknown->release();
  return unknown;
}

} // namespace

TEST_F(InterfacesTest, AnswersEveryInterfaceOfTheSingleComponent) {
  const FUID* answered[] = {&IComponent::iid,      &IAudioProcessor::iid,
                            &IEditController::iid, &IEditController2::iid,
                            &IUnitInfo::iid,       &IPluginBase::iid,
                            &FUnknown::iid,        &IProcessContextRequirements::iid};
  for (const FUID* iid : answered) {
    void* obj = nullptr;
    EXPECT_EQ(kResultOk, component->queryInterface(iid->toTUID(), &obj));
    ASSERT_NE(nullptr, obj);
    static_cast<FUnknown*>(obj)->release();
  }
  EXPECT_EQ(Identity(component), Identity(processor));
  EXPECT_EQ(Identity(component), Identity(controller));
  EXPECT_EQ(Identity(component), Identity(units));
}

TEST_F(InterfacesTest, RefusesTheConnectionPointAndUnknownInterfaces) {
  void* obj = reinterpret_cast<void*>(1);
  EXPECT_EQ(kNoInterface, component->queryInterface(IConnectionPoint::iid, &obj));
  EXPECT_EQ(nullptr, obj);
  obj = reinterpret_cast<void*>(1);
  EXPECT_EQ(kNoInterface, controller->queryInterface(IPluginFactory::iid, &obj));
  EXPECT_EQ(nullptr, obj);
  EXPECT_NE(kResultOk, component->queryInterface(IComponent::iid, nullptr));
  TUID none = {};
  EXPECT_EQ(kNoInterface, units->queryInterface(none, &obj));
}

TEST_F(InterfacesTest, OneCountServesEveryInterface) {
  // The fixture holds four references, one per interface pointer.
  EXPECT_EQ(5u, component->addRef());
  EXPECT_EQ(6u, units->addRef());
  EXPECT_EQ(5u, processor->release());
  EXPECT_EQ(4u, controller->release());
}

TEST_F(InterfacesTest, ConcurrentReleasesDeleteExactlyOnce) {
  const int perThread = 20000;
  for (int i = 0; i < 2 * perThread; ++i) component->addRef();
  auto drop = [this] {
    for (int i = 0; i < perThread; ++i) processor->release();
  };
  std::thread a(drop), b(drop);
  a.join();
  b.join();
  EXPECT_EQ(5u, component->addRef());
  component->release();
}

TEST_F(InterfacesTest, AsksForTheContextFieldsTheTimeQueriesRead) {
  IProcessContextRequirements* requirements = nullptr;
  ASSERT_EQ(kResultOk, component->queryInterface(IProcessContextRequirements::iid,
                                                 reinterpret_cast<void**>(&requirements)));
  using Need = IProcessContextRequirements::Flags;
  const uint32 flags = requirements->getProcessContextRequirements();
  for (uint32 need :
       {Need::kNeedTempo, Need::kNeedTimeSignature, Need::kNeedProjectTimeMusic,
        Need::kNeedBarPositionMusic, Need::kNeedCycleMusic, Need::kNeedTransportState})
    EXPECT_TRUE(flags & need) << need;
  EXPECT_FALSE(flags & Need::kNeedChord);
  requirements->release();
}

TEST_F(InterfacesTest, InitializeTerminateAndInitializeAgain) {
  ASSERT_EQ(kResultOk, component->initialize(context));
  EXPECT_EQ(1, component->getBusCount(kAudio, kInput));
  EXPECT_EQ(4, controller->getParameterCount());
  EXPECT_NE(kResultOk, component->initialize(context)); // twice without terminate
  EXPECT_EQ(4, controller->getParameterCount());        // nothing added twice
  ASSERT_EQ(kResultOk, component->terminate());
  EXPECT_EQ(0, component->getBusCount(kAudio, kInput));
  EXPECT_EQ(0, controller->getParameterCount());
  ASSERT_EQ(kResultOk, component->initialize(context));
  EXPECT_EQ(1, component->getBusCount(kAudio, kOutput));
  EXPECT_EQ(4, controller->getParameterCount());
  initialized = true;
}

TEST_F(InterfacesTest, InitializeWithoutAHostContextStillBuildsEverything) {
  ASSERT_EQ(kResultOk, component->initialize(nullptr));
  initialized = true;
  EXPECT_EQ(1, component->getBusCount(kAudio, kInput));
  EXPECT_EQ(4, controller->getParameterCount());
}

TEST_F(InterfacesTest, ControllerDefaultsHostsProbe) {
  EXPECT_EQ(nullptr, controller->createView("Editor")); // names are exact
  IEditController2* controller2 = nullptr;
  ASSERT_EQ(kResultOk, controller->queryInterface(IEditController2::iid,
                                                  reinterpret_cast<void**>(&controller2)));
  EXPECT_EQ(kResultFalse, controller2->openHelp(false));
  EXPECT_EQ(kResultFalse, controller2->openAboutBox(false));
  controller2->release();
  EXPECT_EQ(kInvalidArgument, controller->setComponentState(nullptr));
  TUID cid;
  EXPECT_EQ(kNotImplemented, component->getControllerClassId(cid));
  EXPECT_EQ(0u, processor->getTailSamples());
  EXPECT_EQ(0u, processor->getLatencySamples());
}
