// What a host reads before creating anything: the module's entry points,
// the factory and the class information, in all three forms.
#include <cstring>

#include "ConformanceHost.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "vst3/HostText.h"

using namespace Steinberg;
using namespace conformance;
using namespace vst3host;

namespace {

const unsigned char kClassId[16] = {0xF2, 0xAE, 0xE7, 0x0D, 0x00, 0xDE, 0x4F, 0x4E,
                                    'Q',  'l',  'n',  't',  'Q',  'L',  '0',  '0'};

IPluginFactory3* Factory3(IPluginFactory* factory) {
  IPluginFactory3* f3 = nullptr;
  factory->queryInterface(IPluginFactory3::iid, reinterpret_cast<void**>(&f3));
  return f3;
}

} // namespace

TEST(Factory, DescribesTheVendorWithUnicodeClassStrings) {
  ASSERT_TRUE(Module().Factory()) << Module().Error();
  PFactoryInfo info;
  ASSERT_EQ(kResultOk, Module().Factory()->getFactoryInfo(&info));
  EXPECT_STREQ("Quartzy Lantern", info.vendor);
  EXPECT_EQ(PFactoryInfo::kUnicode, info.flags);
  EXPECT_NE(0, info.url[0]);
  EXPECT_NE(nullptr, strchr(info.email, '@'));
}

TEST(Factory, OffersOneAudioEffectClassInEveryForm) {
  IPluginFactory* factory = Module().Factory();
  ASSERT_TRUE(factory) << Module().Error();
  ASSERT_EQ(1, factory->countClasses());

  PClassInfo info;
  ASSERT_EQ(kResultOk, factory->getClassInfo(0, &info));
  EXPECT_EQ(0, memcmp(kClassId, info.cid, 16));
  EXPECT_STREQ(kVstAudioEffectClass, info.category);
  EXPECT_STREQ("Grittlebox", info.name);
  EXPECT_EQ(PClassInfo::kManyInstances, info.cardinality);

  IPluginFactory2* f2 = nullptr;
  ASSERT_EQ(kResultOk,
            factory->queryInterface(IPluginFactory2::iid, reinterpret_cast<void**>(&f2)));
  PClassInfo2 info2;
  ASSERT_EQ(kResultOk, f2->getClassInfo2(0, &info2));
  EXPECT_STREQ("Fx|Distortion", info2.subCategories);
  EXPECT_EQ(static_cast<uint32>(Vst::kSimpleModeSupported), info2.classFlags);
  EXPECT_STREQ("", info2.vendor);
  EXPECT_STREQ("2.0", info2.version);
  EXPECT_STREQ("VST 3.6.0", info2.sdkVersion);
  f2->release();

  IPluginFactory3* f3 = Factory3(factory);
  ASSERT_TRUE(f3);
  PClassInfoW wide;
  ASSERT_EQ(kResultOk, f3->getClassInfoUnicode(0, &wide));
  EXPECT_EQ(0, memcmp(kClassId, wide.cid, 16));
  EXPECT_EQ("Grittlebox", NarrowString(wide.name, PClassInfo::kNameSize));
  EXPECT_EQ("2.0", NarrowString(wide.version, PClassInfoW::kVersionSize));
  EXPECT_EQ("", NarrowString(wide.vendor, PClassInfoW::kVendorSize));
  EXPECT_STREQ("Fx|Distortion", wide.subCategories);
  EXPECT_EQ(kNotImplemented, f3->setHostContext(nullptr));
  f3->release();

  EXPECT_NE(kResultOk, factory->getClassInfo(1, &info));
}

TEST(Factory, RepeatedRequestsShareOneFactoryUntilItsLastRelease) {
  Module().Unload(); // this test holds the only references; others reload it
  HostModule module;
  ASSERT_TRUE(module.Load(BundlePath())) << module.Error();
  IPluginFactory* first = module.TakeFactory();
  IPluginFactory* second = module.GetFactoryFunction()();
  EXPECT_EQ(first, second); // the same object, one more reference
  EXPECT_EQ(1u, second->release());
  EXPECT_EQ(0u, first->release());

  // Released to zero, the next request makes a new factory with identical information.
  IPluginFactory* again = module.GetFactoryFunction()();
  ASSERT_TRUE(again);
  ASSERT_EQ(1, again->countClasses());
  PClassInfo info;
  ASSERT_EQ(kResultOk, again->getClassInfo(0, &info));
  EXPECT_EQ(0, memcmp(kClassId, info.cid, 16));
  EXPECT_STREQ("Grittlebox", info.name);
  PFactoryInfo factoryInfo;
  ASSERT_EQ(kResultOk, again->getFactoryInfo(&factoryInfo));
  EXPECT_STREQ("Quartzy Lantern", factoryInfo.vendor);
  EXPECT_EQ(0u, again->release());
}

TEST(Factory, CreationRefusesUnknownClassesAndInterfaces) {
  IPluginFactory* factory = Module().Factory();
  ASSERT_TRUE(factory) << Module().Error();
  TUID unknown = {};
  void* obj = reinterpret_cast<void*>(1);
  EXPECT_NE(kResultOk, factory->createInstance(unknown, Vst::IComponent::iid, &obj));
  EXPECT_EQ(nullptr, obj);
  PClassInfo info;
  ASSERT_EQ(kResultOk, factory->getClassInfo(0, &info));
  obj = reinterpret_cast<void*>(1);
  EXPECT_EQ(kNoInterface, factory->createInstance(info.cid, IPluginFactory::iid, &obj));
  EXPECT_EQ(nullptr, obj);
  EXPECT_NE(kResultOk, factory->createInstance(info.cid, Vst::IComponent::iid, nullptr));
  ASSERT_EQ(kResultOk, factory->createInstance(info.cid, Vst::IAudioProcessor::iid, &obj));
  EXPECT_EQ(0u, static_cast<Vst::IAudioProcessor*>(obj)->release());
}

TEST(Module, EntryAndExitBalance) {
  HostModule module;
  ASSERT_TRUE(module.Load(BundlePath())) << module.Error();
  EXPECT_TRUE(module.Entry()(module.Handle()));
  EXPECT_TRUE(module.Exit()());
  EXPECT_TRUE(module.Entry()(nullptr)); // records nothing
  module.Unload();                      // the loader's own exit balances its entry
}

TEST(Module, LoadingRefusesMissingBundlesWithAReason) {
  HostModule module;
  EXPECT_FALSE(module.Load("/nonexistent/Nothing.vst3"));
  EXPECT_FALSE(module.Error().empty());
  EXPECT_EQ(nullptr, module.Factory());
  EXPECT_EQ("/a/B.vst3/Contents/x86_64-linux/B.so", HostModule::ModuleFileOfBundle("/a/B.vst3/"));
}
